#pragma once

#include <QList>
#include <QString>

class ImagingState;

// Aiming the MR planning at a cell of the stimulation grid (10 x row + column, row 0 at the
// bottom): each grid step is an arc of 20 mm on the scalp, cell 14 (row 1, column 4) lies in the
// Ilion direction, and the arcs become angles of the ray about the head centre.
struct GridAim {
    qint16 arcH = 0;   // mm
    qint16 arcV = 0;   // mm
    double angleH = 0; // degrees
    double angleV = 0; // degrees
};

// The scalp arcs of a cell: 20 x column - 80 and 20 x row - 20 mm.
void ArcosDeCelda(qint32 cell, qint16 &arcoH, qint16 &arcoV);

// Turns the cell's arcs into angles, sets the depth (voxels below the scalp) with thresholds 0 and
// 255, and aims: PuntoExterno, PuntoInterno and PuntoTarget then belong to the cell. Throws
// ImagingError when the head radius is 0 or a point overflows.
GridAim aimAtCell(ImagingState &state, qint32 cell, double depth);

// Why the calibrated state cannot place a grid, "" when it can: the two calibration landmarks at
// one point (no scale), the Ilion at the head centre, or the Ilion not on the scalp (inside the
// head, or off it: the scalp on its line from the centre lies elsewhere), which would wrap the grid
// around the head or aim it at nothing. Aims along the Ilion's line to find out. Throws ImagingError
// when a point overflows.
QString gridRefusal(ImagingState &state);

// The cells whose aiming meets no scalp (the field of view cuts the head there), in order. Throws
// ImagingError.
QList<qint32> cellsWithoutScalp(ImagingState &state);

// The warning that names the cells whose aiming meets no scalp, "" when there are none.
QString noScalpWarning(const QList<qint32> &cells);
