#include "data/StudyBackup.h"

#include "core/IniFile.h"
#include "core/SafeWrite.h"
#include "data/ServerStudy.h"
#include "data/Study.h"
#include "data/StudyError.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace StudyBackup {

namespace {

// The characters of the study's identity that go into a rolling backup's name.
constexpr qsizetype ShortId = 8;

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

namespace {

// The identity the study keeps, "" when it has none that the program would have made: one row, 8
// or 32 lowercase hex digits (anything else, a NUL, a '/', would make other files' names), made for
// the study at this path. A row kept before the path was (no path column, or none in it) is taken
// and given this path.
struct Stored {
    QString id;
    QString why;           // why the row in the study is not taken, "" when there is none or it is taken
    bool pathless = false; // taken, but kept without the study's path
};
Stored storedIdentity(const QSqlDatabase &db) {
    static const QRegularExpression Hex(QStringLiteral("^([0-9a-f]{8}|[0-9a-f]{32})$"));
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT * FROM study_identity"))) {
        return {};
    }
    QStringList ids, paths;
    while (query.next()) {
        ids << query.value(0).toString();
        paths << (query.record().count() > 1 ? query.value(1).toString() : QString());
    }
    const QString here = QFileInfo(db.databaseName()).absoluteFilePath();
    if (ids.isEmpty()) {
        return {};
    }
    if (ids.size() > 1) {
        return {QString(), QCoreApplication::translate("StudyBackup", "the study held %1 backup identities")
                               .arg(ids.size())};
    }
    if (!Hex.match(ids.first()).hasMatch()) {
        return {QString(), QCoreApplication::translate(
                               "StudyBackup", "its backup identity was not 8 or 32 lowercase hex digits")};
    }
    if (!paths.first().isEmpty() && paths.first() != here) {
        return {QString(), QCoreApplication::translate(
                               "StudyBackup", "its backup identity was made for the study at %1; this copy "
                                              "gets its own")
                               .arg(QDir::toNativeSeparators(paths.first()))};
    }
    return {ids.first(), QString(), paths.first().isEmpty()};
}

// Keeps `id` as the study's one identity, made for the study at its path.
void keepIdentity(const QSqlDatabase &db, const QString &id) {
    QSqlQuery query(db);
    const auto check = [&](bool done) {
        if (!done) {
            throw StudyError(QCoreApplication::translate("StudyBackup", "Cannot keep the study's identity"),
                             query.lastError());
        }
    };
    check(query.exec(
        QStringLiteral("CREATE TABLE IF NOT EXISTS study_identity (id TEXT NOT NULL, path TEXT)")));
    check(query.exec(QStringLiteral("DELETE FROM study_identity")));
    check(query.exec(QStringLiteral("SELECT * FROM study_identity")));
    if (query.record().count() < 2) { // kept by an earlier version: the id alone
        check(query.exec(QStringLiteral("ALTER TABLE study_identity ADD COLUMN path TEXT")));
    }
    check(query.prepare(QStringLiteral("INSERT INTO study_identity (id, path) VALUES (?, ?)")));
    query.addBindValue(id);
    query.addBindValue(QFileInfo(db.databaseName()).absoluteFilePath());
    check(query.exec());
}

} // namespace

QString identity(const QSqlDatabase &db, QString *replaced) {
    if (ServerStudy::isServer(db)) {
        return {};
    }
    Stored stored = storedIdentity(db);
    if (!stored.id.isEmpty() && !stored.pathless) {
        return stored.id;
    }
    // Made once, on the first backup: 128 random bits, so two studies never share one.
    Transaction transaction(db);
    stored = storedIdentity(db);
    if (stored.pathless) {
        keepIdentity(db, stored.id);
    } else if (stored.id.isEmpty()) {
        quint64 bits[2];
        QRandomGenerator::system()->fillRange(bits);
        stored.id = QStringLiteral("%1%2")
                        .arg(bits[0], 16, 16, QLatin1Char('0'))
                        .arg(bits[1], 16, 16, QLatin1Char('0'));
        keepIdentity(db, stored.id);
        if (replaced && !stored.why.isEmpty()) {
            *replaced =
                QCoreApplication::translate("StudyBackup", "A new backup identity was made for %1: %2.")
                    .arg(QDir::toNativeSeparators(db.databaseName()), stored.why);
        }
    }
    transaction.commit();
    return stored.id;
}

QString rollingName(const QString &studyPath, const QString &id, const QDate &day) {
    return QStringLiteral("%1-%2-%3.sqlite")
        .arg(QFileInfo(studyPath).completeBaseName(), day.toString(Qt::ISODate), id.left(ShortId));
}

bool isRollingName(const QString &name, const QString &studyPath, const QString &id) {
    const QString prefix = QFileInfo(studyPath).completeBaseName() + QLatin1Char('-');
    const QString suffix = QLatin1Char('-') + id.left(ShortId) + QStringLiteral(".sqlite");
    const qsizetype dateLength = 10;
    return id.size() >= ShortId && name.size() == prefix.size() + dateLength + suffix.size() &&
           name.startsWith(prefix) && name.endsWith(suffix) &&
           QDate::fromString(name.mid(prefix.size(), dateLength), Qt::ISODate).isValid();
}

namespace {

// What already has the target's name: the study itself (under any name, through a link or a hard
// link) is never written over, nor a link, nor any file but one of this study's own rolling backups.
// True when the target is one of those backups, false when nothing has the name; `fail` throws.
template <typename Fail>
bool mayReplace(const QSqlDatabase &db, const QString &target, const struct stat &study, const Fail &fail) {
    const QByteArray to = QFile::encodeName(target);
    struct stat there;
    if (::stat(to.constData(), &there) == 0 && there.st_dev == study.st_dev && there.st_ino == study.st_ino) {
        fail(QCoreApplication::translate("StudyBackup", "it is the study itself"));
    }
    if (::lstat(to.constData(), &there) != 0) {
        return false;
    }
    if (S_ISLNK(there.st_mode)) {
        fail(SafeWrite::linkRefused());
    }
    // Read only: a study without an identity yet has no rolling backups, and a refusal changes nothing.
    const QString id = storedIdentity(db).id;
    if (!S_ISREG(there.st_mode) || id.isEmpty() ||
        !isRollingName(QFileInfo(target).fileName(), db.databaseName(), id)) {
        fail(QCoreApplication::translate("StudyBackup",
                                         "a file of that name exists and is not a backup of this study; a "
                                         "backup never replaces another file"));
    }
    return true;
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
    struct stat study;
    if (::stat(QFile::encodeName(db.databaseName()).constData(), &study) != 0) {
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    const QByteArray to = QFile::encodeName(target);
    const bool replace = mayReplace(db, target, study, fail);
    Study::removeLeftovers(info, QStringLiteral("backing-up"));
    const QString working = Study::workingName(info, QStringLiteral("backing-up"));
    const QString journal = working + QStringLiteral("-journal");
    const auto removeWorking = [&] {
        QFile::remove(working);
        QFile::remove(journal);
    };
    removeWorking();
    // Made new and empty with the study's permissions, never wider, before the engine fills it
    // (VACUUM INTO takes an empty file and keeps its mode; its journal takes the same).
    const mode_t mode = study.st_mode & 0666;
    const int fd = ::open(QFile::encodeName(working).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    const bool narrowed = ::fchmod(fd, mode) == 0;
    ::close(fd);
    if (!narrowed) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        removeWorking();
        fail(why);
    }
    // SQLite refuses a VACUUM inside an open transaction, so a save in progress is never copied half
    // done: the copy is taken between two saves.
    const QString error = vacuumInto(handle, working);
    if (!error.isEmpty()) {
        removeWorking();
        fail(error);
    }
    // On disk before it takes the name, so a crash never leaves a backup that is not whole.
    QFile written(working);
    if (!written.open(QIODevice::ReadWrite) || ::fsync(written.handle()) != 0) {
        const QString why = written.errorString();
        removeWorking();
        fail(why);
    }
    written.close();
    const int renamed =
        replace ? (std::rename(QFile::encodeName(working).constData(), to.constData()) == 0 ? 0 : errno)
                : SafeWrite::renameKeepingTarget(working, target);
    if (renamed != 0) {
        removeWorking();
        fail(QString::fromLocal8Bit(std::strerror(renamed)));
    }
    QFile::remove(journal);
}

Rolling rolling(const QSqlDatabase &db, const QString &studyPath, const QString &folder, int keep,
                const QDate &today) {
    Rolling done;
    if (keep < 1) {
        return done;
    }
    QDir dir(folder);
    if (!dir.exists() && !QDir().mkpath(folder)) {
        throw StudyError(
            QCoreApplication::translate("StudyBackup", "Cannot create the backup folder %1").arg(folder));
    }
    const QString id = identity(db, &done.replaced);
    // What killed runs left while writing this study's backups of any day (their hidden files and
    // journals), so they do not wait for a run that writes that day again.
    const QString working = QStringLiteral(".backing-up-");
    for (const QString &entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const qsizetype at = entry.lastIndexOf(working);
        if (entry.startsWith(QLatin1Char('.')) && at > 1 &&
            isRollingName(entry.mid(1, at - 1), studyPath, id)) {
            Study::removeLeftovers(QFileInfo(dir.filePath(entry.mid(1, at - 1))),
                                   QStringLiteral("backing-up"));
        }
    }
    const QString name = rollingName(studyPath, id, today);
    struct stat there;
    if (::lstat(QFile::encodeName(dir.filePath(name)).constData(), &there) != 0) {
        write(db, dir.filePath(name));
        done.written = dir.filePath(name);
    }
    // This study's own backups, matched by exact name (its name, a date, its identity); the date in
    // the name orders them, and the newest `keep` stay.
    QStringList backups;
    for (const QString &entry : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (isRollingName(entry, studyPath, id)) {
            backups << entry;
        }
    }
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
