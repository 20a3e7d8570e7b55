#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <limits>

namespace Query {

// Prepares the statement, binds the values in order and runs it (forward only on a file study). Throws
// StudyError whose text is `what` followed by the engine's description when either step fails.
QSqlQuery run(const QSqlDatabase &db, const QString &sql, const QVariantList &values, const QString &what);

// After the rows of a query were walked (next() gave false): throws StudyError ("The study could not
// be read to its end" and the engine's description) when the walk ended on a read error rather than
// at the last row, so a read that stops early never passes for the whole table.
void finished(const QSqlQuery &query);

// A whole number read from the study, checked against [minimum, maximum]: null reads as 0, as it
// always has; anything else that is not a whole number in the range is refused with a StudyError
// naming the table and the column, never cut or wrapped into the field that receives it.
qint64 integerWithin(const QVariant &value, const char *table, const char *column, qint64 minimum,
                     qint64 maximum);

// The same for a field of type T: Query::integer<qint16>(query.value(0), "puntoestimulacion", "fila").
template <typename T = int> T integer(const QVariant &value, const char *table, const char *column) {
    return static_cast<T>(
        integerWithin(value, table, column, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

} // namespace Query
