#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Copies of a file study, made while the program holds it: File > Back up study..., the rolling
// backup kept on opening a study, and `zokorvane-tool backup`. A backup is itself a study that opens.
// A server study is backed up by the server (pg_dump) and is refused here.
namespace StudyBackup {

// The study's identity: a random id kept in the study (the table study_identity: one row, the id and
// the study's path when it was made), made on first use, so the backups of two studies of the same
// name never take each other's place. An identity that is not one the program makes (8 or 32
// lowercase hex digits, one row), or that was made for a study at another path (a plain copy of the
// file), is replaced by a new one, and *replaced (when given) says so. "" for a server study. Throws
// StudyError.
QString identity(const QSqlDatabase &db, QString *replaced = nullptr);

// Writes a consistent copy of the open study to `target` (SQLite's VACUUM INTO, on the study's own
// connection, between two transactions: SQLite refuses it while a save is in progress, so a save is
// never copied half done). The copy is made under a hidden name beside the target and
// renamed onto it once complete, so a full disk or any other failure leaves no partial file, and the study
// itself is only read. The backup has the study's permissions. It never replaces the study itself
// (whatever the path, link or hard link that names it), a symbolic link, or any existing file but one of
// this study's own rolling backups. Throws StudyError ("Cannot write TARGET: REASON").
void write(const QSqlDatabase &db, const QString &target);

// The name of the study's rolling backup of a day: "<study>-YYYY-MM-DD-<first 8 of its identity>.sqlite",
// and whether a file name is one of them (matched exactly, whatever characters the study's name holds).
QString rollingName(const QString &studyPath, const QString &id, const QDate &day);
[[nodiscard]] bool isRollingName(const QString &name, const QString &studyPath, const QString &id);

// The rolling backup: at most one a day, named by rollingName in `folder`; this study's oldest beyond
// `keep` removed, nobody else's. What it did.
struct Rolling {
    QString written;     // "" when today's backup existed already
    QStringList removed; // the old backups removed
    QString replaced;    // why the study's identity was replaced, "" when it was kept
};
Rolling rolling(const QSqlDatabase &db, const QString &studyPath, const QString &folder, int keep,
                const QDate &today = QDate::currentDate());

// The rolling backup's settings in config.ini (section [Backups]): Folder (default: "backups"
// beside the study; a relative folder is taken from the study's folder), Keep (default 7, 0 turns
// the rolling backup off).
struct Settings {
    QString folder;
    int keep = 7;
};
Settings settings(const QString &configPath, const QString &studyPath);

} // namespace StudyBackup
