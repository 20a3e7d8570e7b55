#include "imaging/GridAim.h"

#include "core/GridCells.h"
#include "imaging/ImagingError.h"
#include "imaging/ImagingMath.h"
#include "imaging/ImagingState.h"

#include <QCoreApplication>
#include <QStringList>

void ArcosDeCelda(qint32 cell, qint16 &arcoH, qint16 &arcoV) {
    const qint32 column = cell % 10;
    const qint32 row = (cell - column) / 10;
    arcoH = ImagingMath::Estrecha16(20 * qint64(column) - 80);
    arcoV = ImagingMath::Estrecha16(20 * qint64(row) - 20);
}

GridAim aimAtCell(ImagingState &state, qint32 cell, double depth) {
    GridAim aim;
    ArcosDeCelda(cell, aim.arcH, aim.arcV);
    state.ArcosAAngulos(aim.arcH, aim.arcV, aim.angleH, aim.angleV);
    state.PonParametros(depth, aim.angleH, aim.angleV, 0, 255);
    state.ApuntaConAngulos();
    return aim;
}

QString gridRefusal(ImagingState &state) {
    const ImagingMath::Vector3 &a = state.Referencia1, &b = state.Referencia2;
    if (a.x == b.x && a.y == b.y && a.z == b.z) {
        return QCoreApplication::translate(
            "GridAim", "Landmarks 1 and 2 are the same point: they give the MR no scale.");
    }
    try {
        double h = 0, v = 0;
        state.ArcosAAngulos(0, 0, h, v); // refuses an Ilion at the head centre
    } catch (const ImagingError &e) {
        return e.message();
    }
    // Aimed with no angle, the line runs from the centre through the Ilion: the Ilion has to lie near
    // the scalp it meets. Inside the head by more than a fifth of the way from the centre, the 20 mm
    // arcs would wrap the grid around the head; a little off the skin (up to half as far again) only
    // shrinks it.
    state.PonParametros(0, 0, 0, 0, 255);
    state.ApuntaConAngulos();
    const double scalp =
        ImagingMath::Distancia3D(state.PuntoCentro.x, state.PuntoCentro.y, state.PuntoCentro.z,
                                 state.PuntoExterno.x, state.PuntoExterno.y, state.PuntoExterno.z);
    if (!state.scalpFound || state.Radio < 0.8 * scalp || state.Radio > 1.5 * scalp) {
        return QCoreApplication::translate("GridAim",
                                           "The Ilion point (%1, %2, %3) is not on the scalp: the grid "
                                           "would wrap around the head or aim at nothing. Mark it on the "
                                           "skin at the back of the head.")
            .arg(state.PuntoIlion.x)
            .arg(state.PuntoIlion.y)
            .arg(state.PuntoIlion.z);
    }
    return QString();
}

QList<qint32> cellsWithoutScalp(ImagingState &state) {
    QList<qint32> cells;
    for (qint32 cell = 0; cell < GridCells::Count; ++cell) {
        aimAtCell(state, cell, state.Profundidad);
        if (!state.scalpFound) {
            cells << cell;
        }
    }
    return cells;
}

QString noScalpWarning(const QList<qint32> &cells) {
    if (cells.isEmpty()) {
        return QString();
    }
    QStringList names;
    for (qint32 cell : cells) {
        names << QString::number(cell);
    }
    return QCoreApplication::translate("GridAim", "The aiming meets no scalp at cells %1 (the field of view "
                                                  "cuts the head there); they are left empty.")
        .arg(names.join(QStringLiteral(", ")));
}
