#include "data/StudyDrawings.h"

#include "core/ConfinedRead.h"
#include "core/SafeWrite.h"
#include "data/Query.h"
#include "data/Study.h"
#include "data/StudyError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace StudyDrawings {

using Query::run;

QString createStatement() {
    return QStringLiteral("CREATE TABLE drawing (stimulus_id INTEGER PRIMARY KEY, points TEXT NOT NULL)");
}

std::optional<QByteArray> load(const QSqlDatabase &db, int stimulusId) {
    QSqlQuery query =
        run(db, QStringLiteral("SELECT points FROM drawing WHERE stimulus_id = ?"), {stimulusId},
            QCoreApplication::translate("StudyDrawings", "Cannot read the drawing"));
    if (!query.next()) {
        return std::nullopt;
    }
    return query.value(0).toString().toLatin1();
}

void store(const QSqlDatabase &db, int stimulusId, const QByteArray &text) {
    run(db,
        QStringLiteral(
            "INSERT INTO drawing (stimulus_id, points) VALUES (?, ?) ON CONFLICT (stimulus_id) DO UPDATE SET "
            "points = excluded.points"),
        {stimulusId, QString::fromLatin1(text)},
        QCoreApplication::translate("StudyDrawings", "Cannot store the drawing"));
}

void remove(const QSqlDatabase &db, int stimulusId) {
    run(db, QStringLiteral("DELETE FROM drawing WHERE stimulus_id = ?"), {stimulusId},
        QCoreApplication::translate("StudyDrawings", "Cannot delete the drawing"));
}

QString fileInFolder(const QString &folder, const QString &archivopuntos) {
    QString name = archivopuntos;
    if (name.startsWith(QLatin1String("p\\"))) {
        name = name.mid(2);
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QChar(0)) ||
        name.contains(QLatin1Char(':'))) {
        return {};
    }
    return QDir(folder).filePath(name);
}

CopyReport copyFromFolder(const QSqlDatabase &db, const QString &folder) {
    CopyReport report;
    QSqlQuery rows = run(db,
                         QStringLiteral("SELECT e.id, e.archivopuntos FROM estimulo e "
                                        "WHERE e.archivopuntos IS NOT NULL AND e.archivopuntos <> '' AND "
                                        "NOT EXISTS (SELECT 1 FROM drawing d WHERE d.stimulus_id = e.id) "
                                        "ORDER BY e.id"),
                         {}, QCoreApplication::translate("StudyDrawings", "Cannot read the stimuli"));
    QList<std::pair<int, QString>> named;
    while (rows.next()) {
        named.append({Query::integer(rows.value(0), "estimulo", "id"), rows.value(1).toString()});
    }
    Query::finished(rows);
    rows.finish();
    for (const auto &[id, name] : named) {
        const QString path = fileInFolder(folder, name);
        if (path.isEmpty()) {
            report.refused << QStringLiteral("%1 (stimulus %2): not a file name inside %3")
                                  .arg(name)
                                  .arg(id)
                                  .arg(folder);
            continue;
        }
        // Read without following a link out of the folder; whatever cannot be read (a link, an empty
        // or oversized file, a device) is told as missing, and the other drawings still come in.
        const ConfinedRead::File file = ConfinedRead::fromFolder(folder, QFileInfo(path).fileName());
        if (!file.ok()) {
            report.missing << QStringLiteral("%1 (stimulus %2: %3)").arg(name).arg(id).arg(file.refused);
            continue;
        }
        store(db, id, file.bytes);
        ++report.copied;
    }
    return report;
}

ExportReport exportToFolder(const QSqlDatabase &db, const QString &folder) {
    const QFileInfo target(QDir::cleanPath(QDir(folder).absolutePath()));
    const QString shown = QDir::toNativeSeparators(folder);
    const auto refuse = [&shown](const QString &why) {
        throw StudyError(
            QCoreApplication::translate("StudyDrawings", "Cannot export into %1: %2").arg(shown, why));
    };
    // A new or empty folder, never a link: nothing already there is replaced or written through.
    struct stat there;
    const bool exists = ::lstat(QFile::encodeName(target.filePath()).constData(), &there) == 0;
    if (exists && S_ISLNK(there.st_mode)) {
        refuse(SafeWrite::linkRefused());
    }
    if (exists && !S_ISDIR(there.st_mode)) {
        refuse(QCoreApplication::translate("StudyDrawings", "it is a file, not a folder"));
    }
    if (exists && !QDir(target.filePath())
                       .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        refuse(QCoreApplication::translate("StudyDrawings",
                                           "the folder is not empty. Choose a new or empty folder."));
    }
    if (!QDir().mkpath(target.absolutePath())) {
        throw StudyError(QCoreApplication::translate("StudyDrawings", "Cannot create the folder %1.")
                             .arg(QDir::toNativeSeparators(target.absolutePath())));
    }
    // The drawings go into a hidden folder of this process, which takes the folder's place once
    // complete; what a killed export left is cleared by the next one. Files and folder get the
    // study's permissions, never wider.
    Study::removeLeftovers(target, QStringLiteral("exporting-drawings"));
    const QString working = Study::workingName(target, QStringLiteral("exporting-drawings"));
    QDir(working).removeRecursively();
    struct stat study;
    const mode_t fileMode =
        ::stat(QFile::encodeName(db.databaseName()).constData(), &study) == 0 ? study.st_mode & 0666 : 0600;
    const mode_t folderMode = fileMode | 0700 | ((fileMode & 0044) >> 2);
    if (::mkdir(QFile::encodeName(working).constData(), 0700) != 0) {
        refuse(QString::fromLocal8Bit(std::strerror(errno)));
    }
    ExportReport report;
    try {
        QSqlQuery rows = run(db,
                             QStringLiteral("SELECT e.id, e.archivopuntos, d.points FROM drawing d "
                                            "JOIN estimulo e ON e.id = d.stimulus_id ORDER BY e.id"),
                             {}, QCoreApplication::translate("StudyDrawings", "Cannot read the drawings"));
        QSet<QString> written;
        while (rows.next()) {
            const int id = Query::integer(rows.value(0), "estimulo", "id");
            const QString name = rows.value(1).toString();
            const QString path = fileInFolder(working, name);
            if (path.isEmpty()) {
                report.refused << QStringLiteral("%1 (stimulus %2)").arg(name).arg(id);
                continue;
            }
            const QString file = QFileInfo(path).fileName();
            if (written.contains(file)) {
                report.repeated << QStringLiteral("%1 (stimulus %2)").arg(name).arg(id);
                continue;
            }
            const QString why = SafeWrite::writeNew(path, rows.value(2).toString().toLatin1(), int(fileMode));
            if (!why.isEmpty()) {
                throw StudyError(
                    SafeWrite::failure(QDir::toNativeSeparators(QDir(folder).filePath(file)), why));
            }
            written.insert(file);
            ++report.written;
        }
        Query::finished(rows);
        rows.finish();
        if (::chmod(QFile::encodeName(working).constData(), folderMode) != 0 ||
            (exists && ::rmdir(QFile::encodeName(target.filePath()).constData()) != 0)) {
            refuse(QString::fromLocal8Bit(std::strerror(errno)));
        }
        if (const int error = SafeWrite::renameKeepingTarget(working, target.filePath())) {
            refuse(QString::fromLocal8Bit(std::strerror(error)));
        }
    } catch (...) {
        QDir(working).removeRecursively();
        throw;
    }
    return report;
}

} // namespace StudyDrawings
