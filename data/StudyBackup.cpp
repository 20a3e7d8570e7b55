#include "data/StudyBackup.h"

#include "core/IniFile.h"
#include "data/ServerStudy.h"
#include "data/Study.h"
#include "data/StudyError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace StudyBackup {

namespace {

sqlite3 *handleOf(const QSqlDatabase &db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return nullptr;
    }
    return *static_cast<sqlite3 *const *>(handle.data());
}

// Runs VACUUM INTO on the connection; SQLite's error text, "" on success.
QString vacuumInto(sqlite3 *handle, const QString &file) {
    char *quoted = sqlite3_mprintf("VACUUM INTO %Q", file.toUtf8().constData());
    char *message = nullptr;
    QString error;
    if (sqlite3_exec(handle, quoted, nullptr, nullptr, &message) != SQLITE_OK) {
        error = QString::fromUtf8(message ? message : sqlite3_errmsg(handle));
    }
    sqlite3_free(message);
    sqlite3_free(quoted);
    return error;
}

} // namespace

void write(const QSqlDatabase &db, const QString &target) {
    const auto fail = [&target](const QString &reason) {
        throw StudyError(
            QCoreApplication::translate("StudyBackup", "Cannot write %1: %2").arg(target, reason));
    };
    if (ServerStudy::isServer(db)) {
        fail(QCoreApplication::translate("StudyBackup",
                                         "a server study is backed up by its server (pg_dump)"));
    }
    sqlite3 *handle = handleOf(db);
    if (!handle || !db.isOpen()) {
        fail(QCoreApplication::translate("StudyBackup", "no study is open"));
    }
    const QFileInfo info(target);
    if (!info.dir().exists()) {
        fail(QCoreApplication::translate("StudyBackup", "the folder does not exist"));
    }
    Study::removeLeftovers(info, QStringLiteral("backing-up"));
    const QString working = Study::workingName(info, QStringLiteral("backing-up"));
    QFile::remove(working);
    QString error;
    {
        // Between two saves: a save running on another thread finishes first, and none starts.
        const std::lock_guard<QRecursiveMutex> between(Study::writeGate(db));
        error = vacuumInto(handle, working);
    }
    if (!error.isEmpty()) {
        QFile::remove(working);
        fail(error);
    }
    // On disk before it takes the name, so a crash never leaves a backup that is not whole.
    QFile written(working);
    if (!written.open(QIODevice::ReadWrite) || ::fsync(written.handle()) != 0) {
        const QString why = written.errorString();
        QFile::remove(working);
        fail(why);
    }
    written.close();
    if (std::rename(QFile::encodeName(working).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(working);
        fail(why);
    }
}

Rolling rolling(const QSqlDatabase &db, const QString &studyPath, const QString &folder, int keep,
                const QDate &today) {
    Rolling done;
    if (keep < 1) {
        return done;
    }
    const QString base = QFileInfo(studyPath).completeBaseName();
    QDir dir(folder);
    if (!dir.exists() && !QDir().mkpath(folder)) {
        throw StudyError(
            QCoreApplication::translate("StudyBackup", "Cannot create the backup folder %1").arg(folder));
    }
    const QString name = QStringLiteral("%1-%2.sqlite").arg(base, today.toString(Qt::ISODate));
    if (!dir.exists(name)) {
        write(db, dir.filePath(name));
        done.written = dir.filePath(name);
    }
    // The date in the name orders the backups; the newest `keep` stay.
    QStringList backups =
        dir.entryList({base + QStringLiteral("-\?\?\?\?-\?\?-\?\?.sqlite")}, QDir::Files, QDir::Name);
    while (backups.size() > keep) {
        const QString oldest = backups.takeFirst();
        if (dir.remove(oldest)) {
            done.removed << dir.filePath(oldest);
        }
    }
    return done;
}

Settings settings(const QString &configPath, const QString &studyPath) {
    Settings s;
    const QString studyFolder = QFileInfo(studyPath).absolutePath();
    const QString folder =
        LeeIni(configPath, QStringLiteral("Backups"), QStringLiteral("Folder"), QStringLiteral("backups"))
            .trimmed();
    s.folder = QDir(studyFolder).absoluteFilePath(folder.isEmpty() ? QStringLiteral("backups") : folder);
    bool ok = false;
    const int keep =
        LeeIni(configPath, QStringLiteral("Backups"), QStringLiteral("Keep"), QStringLiteral("7"))
            .trimmed()
            .toInt(&ok);
    s.keep = ok && keep >= 0 ? keep : 7;
    return s;
}

} // namespace StudyBackup
