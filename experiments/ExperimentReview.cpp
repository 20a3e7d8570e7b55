#include "experiments/ExperimentReview.h"
#include "data/Query.h"

#include "data/StudyError.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QVariant>

#include <cstdlib>

namespace ExperimentReview {

namespace {

using Query::run;

// A number of the estimulo row, absent when null; refused when the field cannot hold it.
template <typename T> std::optional<T> numero(const QVariant &value, const char *columna) {
    if (value.isNull()) {
        return std::nullopt;
    }
    return Query::integer<T>(value, "estimulo", columna);
}

std::optional<QString> texto(const QVariant &value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    return value.toString();
}

// The date as the study keeps it; a date the driver hands over typed is written the same way.
std::optional<QString> fecha(const QVariant &value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    if (value.typeId() == QMetaType::QDateTime) {
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return value.toString();
}

// The stored pulse numbers are absolute values; computed wide so that no value overflows.
qint64 absoluto(qint32 value) {
    return std::llabs(qint64(value));
}

QVariantList valoresParametros(const StimulusStore::Parameters &p) {
    return {p.TipoBobina,
            p.PulsoTipo,
            absoluto(p.NumeroPulsos),
            absoluto(p.PulsoFrecuencia),
            absoluto(p.PulsoIntensidad),
            p.PulsoFase};
}

const QString SetParametros = QStringLiteral("TipoBobina = ?, PulsoTipo = ?, NumeroPulsos = ?, "
                                             "PulsoFrecuencia = ?, PulsoIntensidad = ?, PulsoFase = ?");

int escribe(const QSqlDatabase &db, const QString &sql, const QVariantList &values) {
    Transaction transaction(db);
    QSqlQuery query =
        run(db, sql, values,
            QCoreApplication::translate("ExperimentReview", "Cannot store the corrected stimuli"));
    const int filas = query.numRowsAffected();
    query.finish();
    transaction.commit();
    return filas;
}

} // namespace

QList<int> cellsOfExperiment(const QSqlDatabase &db, int idPaciente, int pasada, int filaCentro,
                             int columnaCentro) {
    QList<int> celdas;
    for (const StimulusStore::Point &punto : StimulusStore::pointsOfExperiment(db, idPaciente, pasada)) {
        const int celda = StimulusStore::cellOfPoint(punto.fila, punto.columna, filaCentro, columnaCentro);
        if (celda >= 0 && !celdas.contains(celda)) {
            celdas << celda;
        }
    }
    return celdas;
}

std::optional<ShownPoint> pointAtCell(const QSqlDatabase &db, int idPaciente, int celda, int filaCentro,
                                      int columnaCentro, int pasada) {
    std::optional<ShownPoint> mostrado;
    {
        QSqlQuery puntos =
            run(db,
                QStringLiteral("SELECT ID, fila, columna FROM puntoestimulacion "
                               "WHERE Id_paciente = ? ORDER BY Numero, ID"),
                {idPaciente},
                QCoreApplication::translate("ExperimentReview", "Cannot read the stimulation points"));
        while (puntos.next()) {
            if (StimulusStore::cellOfPoint(
                    Query::integer<qint16>(puntos.value(1), "puntoestimulacion", "fila"),
                    Query::integer<qint16>(puntos.value(2), "puntoestimulacion", "columna"), filaCentro,
                    columnaCentro) == celda) {
                mostrado =
                    ShownPoint{Query::integer(puntos.value(0), "puntoestimulacion", "ID"), std::nullopt};
                break;
            }
        }
    }
    if (!mostrado) {
        return mostrado;
    }
    QSqlQuery estimulo =
        run(db,
            QStringLiteral("SELECT id, hayfosfeno, observaciones, intensidad, color, fecha, TipoBobina, "
                           "PulsoTipo, PulsoFase, orientacion, NumeroPulsos, PulsoFrecuencia, "
                           "PulsoIntensidad, archivopuntos FROM estimulo "
                           "WHERE id_puntoestimulo = ? AND pasada = ? ORDER BY id LIMIT 1"),
            {mostrado->pointId, pasada},
            QCoreApplication::translate("ExperimentReview", "Cannot read the stimuli of the point"));
    if (estimulo.next()) {
        StoredStimulus e;
        e.id = Query::integer(estimulo.value(0), "estimulo", "id");
        e.hayfosfeno = numero<qint16>(estimulo.value(1), "hayfosfeno");
        e.observaciones = texto(estimulo.value(2));
        e.intensidad = numero<qint16>(estimulo.value(3), "intensidad");
        e.color = texto(estimulo.value(4));
        e.fecha = fecha(estimulo.value(5));
        e.TipoBobina = numero<qint16>(estimulo.value(6), "TipoBobina");
        e.PulsoTipo = numero<qint16>(estimulo.value(7), "PulsoTipo");
        e.PulsoFase = numero<qint16>(estimulo.value(8), "PulsoFase");
        e.orientacion = numero<qint16>(estimulo.value(9), "orientacion");
        e.NumeroPulsos = numero<qint32>(estimulo.value(10), "NumeroPulsos");
        e.PulsoFrecuencia = numero<qint32>(estimulo.value(11), "PulsoFrecuencia");
        e.PulsoIntensidad = numero<qint32>(estimulo.value(12), "PulsoIntensidad");
        e.archivopuntos = texto(estimulo.value(13));
        mostrado->stimulus = e;
    }
    return mostrado;
}

int applyToPerception(const QSqlDatabase &db, int idPunto, int pasada, const Perception &percepcion,
                      const StimulusStore::Parameters &parametros) {
    // Text columns hold "" rather than null for an empty field, as the recording window stores them.
    QVariantList values{percepcion.observaciones.isNull() ? QStringLiteral("") : percepcion.observaciones,
                        percepcion.intensidad,
                        percepcion.color.isNull() ? QStringLiteral("") : percepcion.color};
    values << valoresParametros(parametros) << parametros.orientacion << idPunto << pasada;
    return escribe(db,
                   QStringLiteral("UPDATE estimulo SET observaciones = ?, intensidad = ?, color = ?, ") +
                       SetParametros +
                       QStringLiteral(", orientacion = ? WHERE id_puntoestimulo = ? AND pasada = ?"),
                   values);
}

int applyToExperiment(const QSqlDatabase &db, int idPaciente, int pasada,
                      const StimulusStore::Parameters &parametros) {
    return escribe(db,
                   QStringLiteral("UPDATE estimulo SET ") + SetParametros +
                       QStringLiteral(" WHERE pasada = ? AND id_puntoestimulo IN "
                                      "(SELECT ID FROM puntoestimulacion WHERE Id_paciente = ?)"),
                   valoresParametros(parametros) << pasada << idPaciente);
}

int applyToSubject(const QSqlDatabase &db, int idPaciente, const StimulusStore::Parameters &parametros) {
    return escribe(db,
                   QStringLiteral("UPDATE estimulo SET ") + SetParametros +
                       QStringLiteral(" WHERE id_puntoestimulo IN "
                                      "(SELECT ID FROM puntoestimulacion WHERE Id_paciente = ?)"),
                   valoresParametros(parametros) << idPaciente);
}

} // namespace ExperimentReview
