#include "data/SharedQueries.h"

#include "data/Query.h"

#include "data/StudyError.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QVariant>

#include <initializer_list>
#include <limits>

namespace {

// Runs a query expected to return at most one row and gives its first column, or a null
// QVariant when there is no row.
QVariant firstValue(const QSqlDatabase &db, const QString &sql, std::initializer_list<QVariant> values = {}) {
    QSqlQuery query =
        Query::run(db, sql, values, QCoreApplication::translate("SharedQueries", "Cannot read the study"));
    return query.next() ? query.value(0) : QVariant();
}

// The largest value of table.column that the query gives, 0 when there is none. One below the
// largest int at most, so the next number ("largest + 1") is one too.
int largest(const char *table, const char *column, const QSqlDatabase &db, const QString &sql,
            std::initializer_list<QVariant> values = {}) {
    return int(Query::integerWithin(firstValue(db, sql, values), table, column,
                                    std::numeric_limits<int>::min(), std::numeric_limits<int>::max() - 1));
}

} // namespace

bool HayPacientes(const QSqlDatabase &db) {
    return !firstValue(db, QLatin1String(SqlText::HayPacientes)).isNull();
}

int UltimaPasada(const QSqlDatabase &db, int idPaciente) {
    return largest("puntoestimulacion", "pasadas", db, QLatin1String(SqlText::UltimaPasada), {idPaciente});
}

QString DameRutaResonancias(const QSqlDatabase &db, int idPaciente) {
    return firstValue(db, QLatin1String(SqlText::DameRutaResonancias), {idPaciente}).toString();
}

void PonRutaResonancias(const QSqlDatabase &db, int idPaciente, const QString &ruta) {
    Transaction transaction(db);
    Query::run(db, QStringLiteral("UPDATE paciente SET RutaResonancias = ? WHERE ID = ?"), {ruta, idPaciente},
               QCoreApplication::translate("SharedQueries", "Cannot store the MR directory of the subject"))
        .finish();
    transaction.commit();
}

int UltimoIdPaciente(const QSqlDatabase &db) {
    return largest("paciente", "ID", db, QLatin1String(SqlText::UltimoIdPaciente));
}

int i_dameUltimoValorIdPuntosEstimulos(const QSqlDatabase &db) {
    return largest("puntoestimulacion", "ID", db, QLatin1String(SqlText::UltimoIdPunto));
}

int i_dameUltimoValorIdEstimulo(const QSqlDatabase &db) {
    return largest("estimulo", "id", db, QLatin1String(SqlText::UltimoIdEstimulo));
}

int i_dameUltimoNumeroPuntosEstimulos(const QSqlDatabase &db, int idPaciente) {
    return largest("puntoestimulacion", "Numero", db, QLatin1String(SqlText::UltimoNumeroPunto),
                   {idPaciente});
}
