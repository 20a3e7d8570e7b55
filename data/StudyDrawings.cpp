#include "data/StudyDrawings.h"

#include "core/SafeWrite.h"
#include "data/Query.h"
#include "data/StudyError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

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
        named.append({rows.value(0).toInt(), rows.value(1).toString()});
    }
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
        const QFileInfo info(path);
        if (!info.exists()) {
            report.missing << QStringLiteral("%1 (stimulus %2)").arg(name).arg(id);
            continue;
        }
        QFile file(path);
        if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
            report.refused << QStringLiteral("%1 (stimulus %2): cannot be read").arg(name).arg(id);
            continue;
        }
        store(db, id, file.readAll());
        ++report.copied;
    }
    return report;
}

ExportReport exportToFolder(const QSqlDatabase &db, const QString &folder) {
    ExportReport report;
    if (!QDir().mkpath(folder)) {
        throw StudyError(
            QCoreApplication::translate("StudyDrawings", "Cannot create the folder %1.").arg(folder));
    }
    QSqlQuery rows = run(db,
                         QStringLiteral("SELECT e.id, e.archivopuntos, d.points FROM drawing d "
                                        "JOIN estimulo e ON e.id = d.stimulus_id ORDER BY e.id"),
                         {}, QCoreApplication::translate("StudyDrawings", "Cannot read the drawings"));
    while (rows.next()) {
        const int id = rows.value(0).toInt();
        const QString name = rows.value(1).toString();
        const QString path = fileInFolder(folder, name);
        if (path.isEmpty()) {
            report.refused << QStringLiteral("%1 (stimulus %2)").arg(name).arg(id);
            continue;
        }
        QString why;
        if (!SafeWrite::writeBytes(path, rows.value(2).toString().toLatin1(), &why)) {
            throw StudyError(why);
        }
        ++report.written;
    }
    return report;
}

} // namespace StudyDrawings
