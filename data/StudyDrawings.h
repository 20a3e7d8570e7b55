#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// The drawings of a study's stimuli, kept inside the study: the table `drawing`, one row per
// stimulus that has a drawing (stimulus_id = estimulo.id), holding the drawing exactly as the
// drawing file format writes it (the count, then "code x y" lines). A drawing is written and
// deleted in the same transaction as its stimulus.
//
// The folder "<study>_puntos" of earlier versions and of legacy Access studies is only read, when
// such a study is brought in, and written only by an explicit export. Names read from rows are
// never used as paths unless they stay inside the folder meant.
namespace StudyDrawings {

// The statement that creates the table.
QString createStatement();

// The drawing of a stimulus, as stored; nothing when it has none.
std::optional<QByteArray> load(const QSqlDatabase &db, int stimulusId);
// Stores (or replaces) the drawing of a stimulus. Throws StudyError.
void store(const QSqlDatabase &db, int stimulusId, const QByteArray &text);
// Deletes the drawing of a stimulus, if any. Throws StudyError.
void remove(const QSqlDatabase &db, int stimulusId);

// The file a stored name stands for in a drawing folder: the name without the "p\" prefix of the
// first version, which must be a plain file name (no folder part, not "." or ".."); "" otherwise.
QString fileInFolder(const QString &folder, const QString &archivopuntos);

struct CopyReport {
    int copied = 0;
    QStringList missing; // names no readable regular file answered to (links, empty or oversized files
                         // and unreadable ones included), each with the reason
    QStringList refused; // names that would lead outside the folder
};

// Copies the drawing file of every stimulus that names one and has no stored drawing yet from the
// folder into the table, byte for byte. Runs inside the caller's transaction; throws StudyError
// when the engine fails. The folder is only read.
[[nodiscard]] CopyReport copyFromFolder(const QSqlDatabase &db, const QString &folder);

struct ExportReport {
    int written = 0;
    QStringList refused;  // stored names that are not plain file names
    QStringList repeated; // names a drawing written before already took (the first one is kept)
};

// Writes every stored drawing into the folder as a file named by its stimulus's archivopuntos. The
// folder must be new or empty (never a link): the files are made new in a hidden folder beside it,
// which takes its place once complete, so nothing already there is written through or replaced and a
// failure leaves the folder as it was. Throws StudyError naming the folder or file and the reason.
[[nodiscard]] ExportReport exportToFolder(const QSqlDatabase &db, const QString &folder);

} // namespace StudyDrawings
