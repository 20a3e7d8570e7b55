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

template <typename T> std::optional<T> numero(const QVariant &value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    return T(value.toLongLong());
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
    for (const StimulusStore::Punto &punto : StimulusStore::pointsOfExperiment(db, idPaciente, pasada)) {
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
            if (StimulusStore::cellOfPoint(puntos.value(1).toInt(), puntos.value(2).toInt(), filaCentro,
                                           columnaCentro) == celda) {
                mostrado = ShownPoint{puntos.value(0).toInt(), std::nullopt};
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
            {mostrado->idPunto, pasada},
            QCoreApplication::translate("ExperimentReview", "Cannot read the stimuli of the point"));
    if (estimulo.next()) {
        StoredStimulus e;
        e.id = estimulo.value(0).toInt();
        e.hayfosfeno = numero<qint16>(estimulo.value(1));
        e.observaciones = texto(estimulo.value(2));
        e.intensidad = numero<qint16>(estimulo.value(3));
        e.color = texto(estimulo.value(4));
        e.fecha = fecha(estimulo.value(5));
        e.TipoBobina = numero<qint16>(estimulo.value(6));
        e.PulsoTipo = numero<qint16>(estimulo.value(7));
        e.PulsoFase = numero<qint16>(estimulo.value(8));
        e.orientacion = numero<qint16>(estimulo.value(9));
        e.NumeroPulsos = numero<qint32>(estimulo.value(10));
        e.PulsoFrecuencia = numero<qint32>(estimulo.value(11));
        e.PulsoIntensidad = numero<qint32>(estimulo.value(12));
        e.archivopuntos = texto(estimulo.value(13));
        mostrado->estimulo = e;
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
