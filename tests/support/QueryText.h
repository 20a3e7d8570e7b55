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
