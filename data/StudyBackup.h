#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Copies of a file study, made while the program holds it: File > Back up study..., the rolling
// backup kept on opening a study, and `zokorvane-tool backup`. A backup is itself a study that opens.
// A server study is backed up by the server (pg_dump) and is refused here.
namespace StudyBackup {

// Writes a consistent copy of the open study to `target` (SQLite's VACUUM INTO, on the study's own
// connection, between two transactions: a save in progress on another thread is waited for through
// Study::writeGate, never copied half done). The copy is made under a hidden name beside the target and
// renamed onto it once complete, so a full disk or any other failure leaves no partial file, and the study
// itself is only read. Throws StudyError ("Cannot write TARGET: REASON").
void write(const QSqlDatabase &db, const QString &target);

// The rolling backup: at most one a day, named "<study>-YYYY-MM-DD.sqlite", in `folder`; the
// oldest beyond `keep` removed. What it did.
struct Rolling {
    QString written;     // "" when today's backup existed already
    QStringList removed; // the old backups removed
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
