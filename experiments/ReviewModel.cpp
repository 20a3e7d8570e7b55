#include "experiments/ReviewModel.h"

#include "core/GridCells.h"

#include <algorithm>

#include <QCoreApplication>

namespace ReviewModel {

Editing editing(bool editar) {
    return {editar,
            editar,
            editar,
            !editar,
            editar,
            editar ? QCoreApplication::translate("ReviewModel", "Edit experiments")
                   : QCoreApplication::translate("ReviewModel", "View experiments")};
}

Shown shown(const std::optional<ExperimentReview::ShownPoint> &punto) {
    Shown s;
    if (!punto || !punto->stimulus) {
        return s;
    }
    const ExperimentReview::StoredStimulus &e = *punto->stimulus;
    s.found = true;
    s.pointId = punto->pointId;
    s.stimulusId = e.id;
    // An answer outside Yes, No and Doubt shows as "No".
    if (e.hayfosfeno && *e.hayfosfeno >= Answer::Yes && *e.hayfosfeno <= Answer::Doubt) {
        s.answer = *e.hayfosfeno;
    }
    s.notes = e.observaciones.value_or(QString());
    if (e.intensidad) {
        s.brightness = QString::number(*e.intensidad);
    }
    s.colour = e.color.value_or(QString());
    s.date = e.fecha.value_or(QString());
    s.coil = e.TipoBobina;
    s.pulseType = e.PulsoTipo;
    s.phase = e.PulsoFase;
    s.orientation = e.orientacion;
    const auto text = [](const std::optional<qint32> &value) {
        return value ? std::optional<QString>(QString::number(*value)) : std::nullopt;
    };
    s.pulses = text(e.NumeroPulsos);
    s.frequency = text(e.PulsoFrecuencia);
    s.pulseIntensity = text(e.PulsoIntensidad);
    s.drawing = e.archivopuntos.value_or(QString());
    return s;
}

bool dataShown(bool found, int answer) {
    return found && answer != Answer::No;
}

int centreCell(int filaCentro, int columnaCentro) {
    return GridCells::cellAt(0, 0, filaCentro, columnaCentro);
}

} // namespace ReviewModel
