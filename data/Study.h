#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// A study is one SQLite file holding the tables paciente, puntoestimulacion and estimulo; its
// drawings live in the directory named after the file without extension plus "_puntos".
namespace Study {

// The three tables every study has, in the case the rest of the program writes them.
const QStringList &tablas();

// Result of opening a study: a usable connection, or the reason it could not be opened (then
// nothing was changed, no file was created and no connection is left behind).
struct Opened {
    QSqlDatabase db;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Opens an existing study for this program alone: the file stays locked until close(), so a
// second program, this one or any other SQLite client, cannot read or write it meanwhile.
Opened open(const QString &path);

// Closes the connection and releases its lock. Harmless on a connection that is not open.
void close(QSqlDatabase &db);

// Creates a new, empty study with its indexes. Refuses an existing file; on failure nothing is
// left behind. Throws StudyError.
void create(const QString &path);

// Tables among paciente, puntoestimulacion and estimulo that the database lacks (names compared
// regardless of case).
QStringList missingTables(const QSqlDatabase &db);

// True when the file starts like a Jet (Access) database, whatever its name.
bool isAccessFile(const QString &path);

// Directory of the study's drawings: the path without extension followed by "_puntos".
QString drawingDirectory(const QString &studyPath);

} // namespace Study
