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
template <typename T> std::optional<T> number(const QVariant &value, const char *column) {
    if (value.isNull()) {
        return std::nullopt;
    }
    return Query::integer<T>(value, "estimulo", column);
}

std::optional<QString> text(const QVariant &value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    return value.toString();
}

// The date as the study keeps it; a date the driver hands over typed is written the same way.
std::optional<QString> dateText(const QVariant &value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    if (value.typeId() == QMetaType::QDateTime) {
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return value.toString();
}

// The stored pulse numbers are absolute values; computed wide so that no value overflows.
qint64 absolute(qint32 value) {
    return std::llabs(qint64(value));
}

QVariantList parameterValues(const StimulusStore::Parameters &p) {
    return {p.TipoBobina,
            p.PulsoTipo,
            absolute(p.NumeroPulsos),
            absolute(p.PulsoFrecuencia),
            absolute(p.PulsoIntensidad),
            p.PulsoFase};
}

const QString SetParameters = QStringLiteral("TipoBobina = ?, PulsoTipo = ?, NumeroPulsos = ?, "
                                             "PulsoFrecuencia = ?, PulsoIntensidad = ?, PulsoFase = ?");

int update(const QSqlDatabase &db, const QString &sql, const QVariantList &values) {
    Transaction transaction(db);
    QSqlQuery query =
        run(db, sql, values,
            QCoreApplication::translate("ExperimentReview", "Cannot store the corrected stimuli"));
    const int rows = query.numRowsAffected();
    query.finish();
    transaction.commit();
    return rows;
}

} // namespace

QList<int> cellsOfExperiment(const QSqlDatabase &db, int idPaciente, int pasada, int filaCentro,
                             int columnaCentro) {
    QList<int> cells;
    for (const StimulusStore::Point &point : StimulusStore::pointsOfExperiment(db, idPaciente, pasada)) {
        const int cell = StimulusStore::cellOfPoint(point.fila, point.columna, filaCentro, columnaCentro);
        if (cell >= 0 && !cells.contains(cell)) {
            cells << cell;
        }
    }
    return cells;
}

std::optional<ShownPoint> pointAtCell(const QSqlDatabase &db, int idPaciente, int cell, int filaCentro,
                                      int columnaCentro, int pasada) {
    std::optional<ShownPoint> shown;
    {
        QSqlQuery points =
            run(db,
                QStringLiteral("SELECT ID, fila, columna FROM puntoestimulacion "
                               "WHERE Id_paciente = ? ORDER BY Numero, ID"),
                {idPaciente},
                QCoreApplication::translate("ExperimentReview", "Cannot read the stimulation points"));
        while (points.next()) {
            if (StimulusStore::cellOfPoint(
                    Query::integer<qint16>(points.value(1), "puntoestimulacion", "fila"),
                    Query::integer<qint16>(points.value(2), "puntoestimulacion", "columna"), filaCentro,
                    columnaCentro) == cell) {
                shown = ShownPoint{Query::integer(points.value(0), "puntoestimulacion", "ID"), std::nullopt};
                break;
            }
        }
    }
    if (!shown) {
        return shown;
    }
    QSqlQuery stimulus =
        run(db,
            QStringLiteral("SELECT id, hayfosfeno, observaciones, intensidad, color, fecha, TipoBobina, "
                           "PulsoTipo, PulsoFase, orientacion, NumeroPulsos, PulsoFrecuencia, "
                           "PulsoIntensidad, archivopuntos FROM estimulo "
                           "WHERE id_puntoestimulo = ? AND pasada = ? ORDER BY id LIMIT 1"),
            {shown->pointId, pasada},
            QCoreApplication::translate("ExperimentReview", "Cannot read the stimuli of the point"));
    if (stimulus.next()) {
        StoredStimulus e;
        e.id = Query::integer(stimulus.value(0), "estimulo", "id");
        e.hayfosfeno = number<qint16>(stimulus.value(1), "hayfosfeno");
        e.observaciones = text(stimulus.value(2));
        e.intensidad = number<qint16>(stimulus.value(3), "intensidad");
        e.color = text(stimulus.value(4));
        e.fecha = dateText(stimulus.value(5));
        e.TipoBobina = number<qint16>(stimulus.value(6), "TipoBobina");
        e.PulsoTipo = number<qint16>(stimulus.value(7), "PulsoTipo");
        e.PulsoFase = number<qint16>(stimulus.value(8), "PulsoFase");
        e.orientacion = number<qint16>(stimulus.value(9), "orientacion");
        e.NumeroPulsos = number<qint32>(stimulus.value(10), "NumeroPulsos");
        e.PulsoFrecuencia = number<qint32>(stimulus.value(11), "PulsoFrecuencia");
        e.PulsoIntensidad = number<qint32>(stimulus.value(12), "PulsoIntensidad");
        e.archivopuntos = text(stimulus.value(13));
        shown->stimulus = e;
    }
    return shown;
}

int applyToPerception(const QSqlDatabase &db, int idPunto, int pasada, const Perception &perception,
                      const StimulusStore::Parameters &parameters) {
    // Text columns hold "" rather than null for an empty field, as the recording window stores them.
    QVariantList values{perception.observaciones.isNull() ? QStringLiteral("") : perception.observaciones,
                        perception.intensidad,
                        perception.color.isNull() ? QStringLiteral("") : perception.color};
    values << parameterValues(parameters) << parameters.orientacion << idPunto << pasada;
    return update(db,
                  QStringLiteral("UPDATE estimulo SET observaciones = ?, intensidad = ?, color = ?, ") +
                      SetParameters +
                      QStringLiteral(", orientacion = ? WHERE id_puntoestimulo = ? AND pasada = ?"),
                  values);
}

int applyToExperiment(const QSqlDatabase &db, int idPaciente, int pasada,
                      const StimulusStore::Parameters &parameters) {
    return update(db,
                  QStringLiteral("UPDATE estimulo SET ") + SetParameters +
                      QStringLiteral(" WHERE pasada = ? AND id_puntoestimulo IN "
                                     "(SELECT ID FROM puntoestimulacion WHERE Id_paciente = ?)"),
                  parameterValues(parameters) << pasada << idPaciente);
}

int applyToSubject(const QSqlDatabase &db, int idPaciente, const StimulusStore::Parameters &parameters) {
    return update(db,
                  QStringLiteral("UPDATE estimulo SET ") + SetParameters +
                      QStringLiteral(" WHERE id_puntoestimulo IN "
                                     "(SELECT ID FROM puntoestimulacion WHERE Id_paciente = ?)"),
                  parameterValues(parameters) << idPaciente);
}

} // namespace ExperimentReview
