#pragma once

#include <QFileInfo>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

// A study is one SQLite file holding the tables paciente, puntoestimulacion and estimulo, and the
// drawings of its stimuli (StudyDrawings.h). Its schema carries a version (PRAGMA user_version);
// opening a study of an earlier version brings it up to date.
namespace Study {

// The version of the schema this program writes. 0: drawings as files in "<name>_puntos"; 1: drawings
// inside the study; 2: the subjects' MR calibrations (SubjectCalibration.h), and the subject's age,
// height and weight typed with a decimal comma ("1,63") read as the numbers they are, other text
// there kept as it was (a server keeps those columns as text); 3: the subjects' normalisations to the
// template's space (SubjectNormalisation.h); 4: the aiming of the subjects' grid cells on their
// calibrated series (SubjectAiming.h).
inline constexpr int CurrentVersion = 4;

// The three tables every study has, in the case the rest of the program writes them.
const QStringList &tables();

// Result of opening a study: a usable connection, or the reason it could not be opened (then
// nothing was changed, no file was created and no connection is left behind).
struct Opened {
    QSqlDatabase db;
    QString error;
    QStringList notes;           // what bringing an earlier version up to date did, for the operator
    bool passwordNeeded = false; // a server that asked for a password none gave
    QString readOnly;            // why the study may only be read ("" when it may be changed)
    bool ok() const { return error.isEmpty(); }
};

// Opens an existing study for this program alone: the file stays locked until close(), so a
// second program, this one or any other SQLite client, cannot read or write it meanwhile. A file
// that is refused is not written. A study of an earlier version is brought up to date (a backup copy
// beside it first; its drawing folder copied in and left as it was), and the notes say what was done.
//
// A location starting "postgresql://" names a server study (ServerStudy.h): several stations use it
// at once, so it is not locked; the password, when given, is used for that connection only.
[[nodiscard]] Opened open(const QString &path, const QString &password = QString());

// Closes the connection and releases its lock. Harmless on a connection that is not open.
void close(QSqlDatabase &db);

// Creates a new, empty study with its indexes: a file, or the tables of a server study in an empty
// database (refused when it has tables). Refuses an existing file; on failure (or when the
// process is killed) nothing is left under the name, and what a killed creation left is cleared by
// the next one. Throws StudyError, naming the study shownAs when given (a caller that creates a
// working file names the file the user asked for).
void create(const QString &path, const QString &shownAs = QString());

// Makes a new study at target that is filled before anyone sees it (an import, a copy): created
// under a working name beside it (what says by whom, e.g. "importing"; what a killed process left
// is cleared first), opened and handed to fill, closed, and put in place by a hard link, which
// refuses a file made meanwhile under the name. On failure nothing is left under either name.
// Throws StudyError, and whatever fill throws.
void createFilled(const QString &target, const QString &what,
                  const std::function<void(QSqlDatabase &)> &fill);

// Runs the statements of a new study's schema (tables, indexes, version) inside the caller's
// transaction, so that a copy can make the tables and fill them all or nothing. Throws StudyError.
void createTables(QSqlDatabase &db);

// Tables among paciente, puntoestimulacion and estimulo that the database lacks (names compared
// regardless of case); throws StudyError when the tables cannot be read.
[[nodiscard]] QStringList missingTables(const QSqlDatabase &db);

// A hidden name beside the target for a file or folder being made by this process ("what" says by what, e.g.
// "creating"), and the removal of those left by processes that no longer run.
QString workingName(const QFileInfo &target, const QString &what);
void removeLeftovers(const QFileInfo &target, const QString &what);

// True when the file starts like a Jet (Access) database, whatever its name.
[[nodiscard]] bool isAccessFile(const QString &path);

// The drawing folder of earlier versions and legacy studies: the path without extension followed by
// "_puntos". Only read (migration, import) and written by an explicit export.
QString drawingDirectory(const QString &studyPath);

} // namespace Study
