#include "imaging/GridAim.h"

#include "imaging/ImagingMath.h"
#include "imaging/ImagingState.h"

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
