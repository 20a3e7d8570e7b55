#include "experiments/StimulusStore.h"

#include "core/GridCells.h"
#include "data/Query.h"
#include "data/SharedQueries.h"
#include "data/StudyDrawings.h"
#include "data/StudyError.h"
#include "data/SubjectLock.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QVariant>

namespace StimulusStore {

namespace {

using Query::run;

// Text columns hold "" rather than null when the operator left a field empty; Qt binds a null
// QString as null.
QString texto(const QString &valor) {
    return valor.isNull() ? QStringLiteral("") : valor;
}

void step(const Checkpoint &checkpoint, const char *name) {
    if (checkpoint) {
        checkpoint(name);
    }
}

// The subject's first point at (fila, columna) in ID order, as the recording window looks it up.
struct PuntoLeido {
    int id = 0;
    int n_on = 0, n_off = 0, n_dudas = 0;
    int pasadas = 0;
};

std::optional<PuntoLeido> buscaPunto(const QSqlDatabase &db, int idPaciente, qint16 fila, qint16 columna) {
    QSqlQuery query =
        run(db,
            QStringLiteral("SELECT ID, n_on, n_off, n_dudas, pasadas FROM puntoestimulacion "
                           "WHERE Id_paciente = ? AND fila = ? AND columna = ? ORDER BY ID LIMIT 1"),
            {idPaciente, fila, columna},
            QCoreApplication::translate("StimulusStore", "Cannot read the stimulation points"));
    if (!query.next()) {
        return std::nullopt;
    }
    return PuntoLeido{Query::integer(query.value(0), "puntoestimulacion", "ID"),
                      Query::integer<qint16>(query.value(1), "puntoestimulacion", "n_on"),
                      Query::integer<qint16>(query.value(2), "puntoestimulacion", "n_off"),
                      Query::integer<qint16>(query.value(3), "puntoestimulacion", "n_dudas"),
                      Query::integer(query.value(4), "puntoestimulacion", "pasadas")};
}

} // namespace

UpdatedPoint AnyadeEstimuloAPuntoEstimulacion(const QSqlDatabase &db, int idPaciente, qint16 fila,
                                              qint16 columna, bool si, bool no, bool duda, int pasada) {
    std::optional<PuntoLeido> punto = buscaPunto(db, idPaciente, fila, columna);
    const bool nuevo = !punto;
    if (nuevo) {
        punto = PuntoLeido{i_dameUltimoValorIdPuntosEstimulos(db) + 1, 0, 0, 0, 0};
    }
    UpdatedPoint result{punto->id, !nuevo && punto->pasadas > pasada};
    const int n_on = punto->n_on + (si ? 1 : 0);
    const int n_off = punto->n_off + (no ? 1 : 0);
    const int n_dudas = punto->n_dudas + (duda ? 1 : 0);
    if (nuevo) {
        run(db,
            QStringLiteral(
                "INSERT INTO puntoestimulacion (ID, Numero, Id_paciente, fila, columna, estado, n_on, "
                "n_off, n_dudas, pasadas) VALUES (?, ?, ?, ?, ?, 0, ?, ?, ?, ?)"),
            {punto->id, i_dameUltimoNumeroPuntosEstimulos(db, idPaciente) + 1, idPaciente, fila, columna,
             n_on, n_off, n_dudas, pasada},
            QCoreApplication::translate("StimulusStore", "Cannot store the stimulation point"));
    } else {
        run(db,
            QStringLiteral(
                "UPDATE puntoestimulacion SET n_on = ?, n_off = ?, n_dudas = ?, pasadas = ? WHERE ID = ?"),
            {n_on, n_off, n_dudas, pasada, punto->id},
            QCoreApplication::translate("StimulusStore", "Cannot store the stimulation point"));
    }
    return result;
}

int AnyadeNuevoEstimulo(const QSqlDatabase &db, int idPunto, const QString &color, qint16 intensidad,
                        qint16 hayfosfeno, qint16 pasada, const QString &observaciones,
                        const QString &archivopuntos, qint16 orientacion, const QDateTime &fecha,
                        quint8 TipoBobina, quint8 PulsoTipo, qint32 NumeroPulsos, qint32 PulsoFrecuencia,
                        qint32 PulsoIntensidad, quint8 PulsoFase) {
    const int id = i_dameUltimoValorIdEstimulo(db) + 1;
    run(db,
        QStringLiteral(
            "INSERT INTO estimulo (id, color, intensidad, hayfosfeno, pasada, observaciones, "
            "archivopuntos, id_puntoestimulo, orientacion, fecha, TipoBobina, PulsoTipo, NumeroPulsos, "
            "PulsoFrecuencia, PulsoIntensidad, PulsoFase) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {id, texto(color), intensidad, hayfosfeno, pasada, texto(observaciones), texto(archivopuntos),
         idPunto, orientacion, fecha.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), TipoBobina, PulsoTipo,
         NumeroPulsos, PulsoFrecuencia, PulsoIntensidad, PulsoFase},
        QCoreApplication::translate("StimulusStore", "Cannot store the stimulus"));
    return id;
}

DeletedEntry BorraEstimuloAPuntoEstimulacion(const QSqlDatabase &db, int idPaciente, qint16 fila,
                                             qint16 columna, int pasada) {
    DeletedEntry borrado;
    std::optional<PuntoLeido> punto = buscaPunto(db, idPaciente, fila, columna);
    if (!punto) {
        return borrado;
    }
    QSqlQuery estimulo =
        run(db,
            QStringLiteral("SELECT id, hayfosfeno, archivopuntos FROM estimulo "
                           "WHERE id_puntoestimulo = ? AND pasada = ? ORDER BY id LIMIT 1"),
            {punto->id, pasada},
            QCoreApplication::translate("StimulusStore", "Cannot read the stimuli of the point"));
    if (estimulo.next()) {
        const int id = Query::integer(estimulo.value(0), "estimulo", "id");
        const int respuesta = Query::integer<qint16>(estimulo.value(1), "estimulo", "hayfosfeno");
        borrado.archivopuntos = estimulo.value(2).toString();
        borrado.stimulusId = id;
        estimulo.finish();
        punto->n_on -= respuesta == Answer::Yes ? 1 : 0;
        punto->n_off -= respuesta == Answer::No ? 1 : 0;
        punto->n_dudas -= respuesta == Answer::Doubt ? 1 : 0;
        run(db, QStringLiteral("UPDATE puntoestimulacion SET n_on = ?, n_off = ?, n_dudas = ? WHERE ID = ?"),
            {punto->n_on, punto->n_off, punto->n_dudas, punto->id},
            QCoreApplication::translate("StimulusStore", "Cannot store the stimulation point"));
        run(db, QStringLiteral("DELETE FROM estimulo WHERE id = ?"), {id},
            QCoreApplication::translate("StimulusStore", "Cannot delete the stimulus"));
        StudyDrawings::remove(db, id);
        borrado.stimulusDeleted = true;
    }
    if (punto->n_on == 0 && punto->n_off == 0 && punto->n_dudas == 0) {
        run(db, QStringLiteral("DELETE FROM puntoestimulacion WHERE ID = ?"), {punto->id},
            QCoreApplication::translate("StimulusStore", "Cannot delete the stimulation point"));
        borrado.pointDeleted = true;
    }
    return borrado;
}

SavedEntry saveEntry(const QSqlDatabase &db, int idPaciente, qint16 fila, qint16 columna, int pasada,
                     const Entry &entrada, const QList<DrawingFile::PointRecord> &dibujo,
                     const Checkpoint &checkpoint) {
    const SubjectLock subject(db, idPaciente);
    Transaction transaction(db);
    SavedEntry guardado;
    const UpdatedPoint punto = AnyadeEstimuloAPuntoEstimulacion(
        db, idPaciente, fila, columna, entrada.hayfosfeno == Answer::Yes, entrada.hayfosfeno == Answer::No,
        entrada.hayfosfeno == Answer::Doubt, pasada);
    guardado.pointId = punto.pointId;
    guardado.laterExperiment = punto.laterExperiment;
    step(checkpoint, "point");

    const bool conDibujo = entrada.hayfosfeno != Answer::No;
    if (conDibujo) {
        // The name joins three numbers without a separator, so two stimuli can meet on one name
        // (subject 1, point 11 and subject 11, point 1); an export writes one file per name, so a
        // name another stimulus already has gets this stimulus's id after it.
        guardado.archivopuntos = DrawingFile::storedName(idPaciente, punto.pointId, pasada);
        QSqlQuery usado =
            run(db, QStringLiteral("SELECT 1 FROM estimulo WHERE archivopuntos IN (?, ?) LIMIT 1"),
                {guardado.archivopuntos, QStringLiteral("p\\") + guardado.archivopuntos},
                QCoreApplication::translate("StimulusStore", "Cannot read the stimuli"));
        if (usado.next()) {
            guardado.archivopuntos += QLatin1Char('-') + QString::number(i_dameUltimoValorIdEstimulo(db) + 1);
        }
    }
    const Parameters &p = entrada.parameters;
    guardado.stimulusId =
        AnyadeNuevoEstimulo(db, punto.pointId, entrada.color, entrada.intensidad, entrada.hayfosfeno,
                            qint16(pasada), entrada.observaciones, guardado.archivopuntos,
                            qint16(p.orientacion), entrada.fecha, quint8(p.TipoBobina), quint8(p.PulsoTipo),
                            p.NumeroPulsos, p.PulsoFrecuencia, p.PulsoIntensidad, quint8(p.PulsoFase));
    step(checkpoint, "stimulus");

    if (conDibujo) {
        StudyDrawings::store(db, guardado.stimulusId, DrawingFile::format(dibujo));
        step(checkpoint, "drawing");
    }
    transaction.commit();
    return guardado;
}

DeletedEntry deleteEntry(const QSqlDatabase &db, int idPaciente, qint16 fila, qint16 columna, int pasada,
                         const Checkpoint &checkpoint) {
    const SubjectLock subject(db, idPaciente);
    Transaction transaction(db);
    const DeletedEntry borrado = BorraEstimuloAPuntoEstimulacion(db, idPaciente, fila, columna, pasada);
    step(checkpoint, "delete");
    transaction.commit();
    return borrado;
}

int cellOfPoint(int fila, int columna, int filaCentro, int columnaCentro) {
    return GridCells::cellAt(fila, columna, filaCentro, columnaCentro);
}

Point pointOfCell(int celda, int filaCentro, int columnaCentro) {
    const GridCells::Offset punto = GridCells::offsetOf(celda, filaCentro, columnaCentro);
    return Point{qint16(punto.row), qint16(punto.column)};
}

QList<Point> pointsOfExperiment(const QSqlDatabase &db, int idPaciente, int pasada) {
    QSqlQuery query =
        run(db,
            QStringLiteral("SELECT DISTINCT p.fila, p.columna FROM puntoestimulacion p "
                           "JOIN estimulo e ON e.id_puntoestimulo = p.ID "
                           "WHERE p.Id_paciente = ? AND e.pasada = ?"),
            {idPaciente, pasada},
            QCoreApplication::translate("StimulusStore", "Cannot read the points of the experiment"));
    QList<Point> puntos;
    while (query.next()) {
        puntos << Point{Query::integer<qint16>(query.value(0), "puntoestimulacion", "fila"),
                        Query::integer<qint16>(query.value(1), "puntoestimulacion", "columna")};
    }
    Query::finished(query);
    return puntos;
}

std::optional<qint64> wholeNumberInRange(const QString &texto, qint64 minimo, qint64 maximo) {
    bool ok = false;
    const qint64 valor = texto.trimmed().toLongLong(&ok);
    if (!ok || valor < minimo || valor > maximo) {
        return std::nullopt;
    }
    return valor;
}

} // namespace StimulusStore
