#include "data/Query.h"

#include "data/ServerStudy.h"
#include "data/StudyError.h"

#include <QCoreApplication>
#include <QSqlError>

#include <cmath>

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

void finished(const QSqlQuery &query) {
    if (query.lastError().isValid()) {
        throw StudyError(QCoreApplication::translate("Query", "The study could not be read to its end"),
                         query.lastError());
    }
}

qint64 integerWithin(const QVariant &value, const char *table, const char *column, qint64 minimum,
                     qint64 maximum) {
    if (value.isNull()) {
        return 0;
    }
    bool whole = false;
    qint64 number = 0;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        // A real is whole only without a fraction; converting it would round it silently.
        const double real = value.toDouble();
        whole = std::isfinite(real) && std::trunc(real) == real && std::abs(real) < 9.0e18;
        number = whole ? qint64(real) : 0;
    } else {
        number = value.toLongLong(&whole);
    }
    if (!whole || number < minimum || number > maximum) {
        throw StudyError(QCoreApplication::translate("Query",
                                                     "The study holds %1 in the column %2 of the table "
                                                     "%3, where only whole numbers from %4 to %5 fit")
                             .arg(value.toString(), QLatin1String(column), QLatin1String(table))
                             .arg(minimum)
                             .arg(maximum));
    }
    return number;
}

} // namespace Query
