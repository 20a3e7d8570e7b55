#pragma once

#include <QDateTime>
#include <QLatin1Char>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

// What a query reads, as text to compare: values joined by '|', rows by '\n', a null as "<null>";
// an engine error as its message.
inline QString queryText(const QSqlDatabase &db, const QString &sql) {
    QSqlQuery query(db);
    if (!query.exec(sql)) {
        return query.lastError().text();
    }
    QStringList rows;
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i) {
            // Dates and booleans as SQLite keeps them, so one expected text serves both engines.
            const QVariant value = query.value(i);
            if (query.isNull(i)) {
                values << QStringLiteral("<null>");
            } else if (value.typeId() == QMetaType::QDateTime) {
                values << value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            } else if (value.typeId() == QMetaType::Bool) {
                values << QString::number(int(value.toBool()));
            } else {
                values << value.toString();
            }
        }
        rows << values.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('\n'));
}

// The rows that break what every save keeps, "0" in a whole study: a stimulus that names a drawing
// the study lacks or has a drawing it does not name, a drawing without its stimulus, a point whose
// counters disagree with its stimuli.
inline QString brokenRows(const QSqlDatabase &db) {
    return queryText(
        db,
        QStringLiteral("SELECT (SELECT COUNT(*) FROM estimulo e LEFT JOIN drawing d ON d.stimulus_id = e.id "
                       "WHERE (e.archivopuntos <> '') <> (d.stimulus_id IS NOT NULL)) + (SELECT COUNT(*) "
                       "FROM drawing d LEFT JOIN estimulo e ON e.id = d.stimulus_id WHERE e.id IS NULL) + "
                       "(SELECT COUNT(*) FROM puntoestimulacion p WHERE n_on + n_off + n_dudas <> (SELECT "
                       "COUNT(*) FROM estimulo e WHERE e.id_puntoestimulo = p.ID))"));
}
