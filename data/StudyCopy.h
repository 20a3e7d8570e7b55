#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>

// Copies a study between the engines (a file and a server, either way, or file to file): every
// row of the subjects, points, stimuli and drawings, into a new study, then checks the copy.
namespace StudyCopy {

// What a table holds, engine aside: its row count and a checksum (SHA-256) over its rows in key
// order, every value written the same way on both engines (dates to the second as
// "yyyy-MM-dd HH:mm:ss", booleans 0/1, numbers as their shortest exact text, null apart).
struct TableSum {
    qint64 rows = 0;
    QByteArray checksum;
    friend bool operator==(const TableSum &, const TableSum &) = default;
};
std::map<QString, TableSum> summary(const QSqlDatabase &db);

struct Report {
    std::map<QString, TableSum> tables; // of the copy, equal to those of the source
};

// Told after each table: its name and the rows copied.
using Progress = std::function<void(const QString &table, qint64 rows)>;

// Creates the target (Study::create: a new file, or the tables in an empty server database), copies
// every row in one transaction, then compares counts and checksums of every table. Throws
// StudyError when the source cannot be opened, the target is not new or empty, or the copy differs
// (a target whose copy failed is left empty on a server, and removed when it is a file).
Report copy(const QString &source, const QString &target, const Progress &progress = {});

} // namespace StudyCopy
