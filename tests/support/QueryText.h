#pragma once

#include <QLatin1Char>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

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
            values << (query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
        }
        rows << values.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('\n'));
}
