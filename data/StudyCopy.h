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
// order, every value as the engine stores it (text as its bytes, not as Qt decodes them; dates to
// the second as "yyyy-MM-dd HH:mm:ss", booleans 0/1, the as-entered numbers a server keeps as text
// read as numbers, null apart), so a value changed on the way never sums the same.
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

// Copies into a new file or an empty server database. Every value is checked first: one the target
// cannot hold exactly (text that is not valid UTF-8, a NUL in text or text in a number column of a
// server...) is refused naming the table, the row's key and the column, before anything is written.
// Into a server, the tables and rows are written in one transaction; into a file, under a working
// name put in place when complete. Before that is committed, counts and checksums of every table
// are compared with the source. Throws StudyError when the source cannot be opened, the target is
// not new or empty, a value is refused or the copy differs; the target is then left as it was
// (an empty database, or no file).
Report copy(const QString &source, const QString &target, const Progress &progress = {});

} // namespace StudyCopy
