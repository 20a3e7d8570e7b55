#include "data/Query.h"

#include "data/ServerStudy.h"
#include "data/StudyError.h"

#include <QSqlError>

namespace Query {

QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values, const QString &what) {
    QSqlQuery query(db);
    // Forward only reads rows as they come; the server driver then streams them and refuses any
    // other statement on the connection until the last row, so there the rows are fetched whole
    // (callers read other rows while they walk a result).
    query.setForwardOnly(!ServerStudy::isServer(db));
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
