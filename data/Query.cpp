#include "data/Query.h"

#include "data/StudyError.h"

#include <QSqlError>

namespace Query {

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values, const QString &what) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        throw StudyError(what, query.lastError());
    }
    for (const QVariant &value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        throw StudyError(what, query.lastError());
    }
    return query;
}

} // namespace Query
