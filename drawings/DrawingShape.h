#pragma once

#include "drawings/DrawingFile.h"

#include <QImage>
#include <QList>

// What a drawing covers, in canvas units, for analysis: its figures (points, strokes, centre, bounds,
// area) and the mask of the canvas it covers.
//
// A perception drawing is the outline of what the subject saw, so a stroke covers the region its
// outline closes (the stroke closed back to its first point, filled by the non-zero rule, each
// stroke on its own) and the line itself, one unit wide. The mask samples the canvas (13 x 13 units from the
// origin) SamplesPerUnit times per unit on each axis; what lies outside the canvas is not covered.
namespace DrawingShape {

inline constexpr int SamplesPerUnit = 4;
inline constexpr int CanvasSide = 13;                        // units, the canvas rounded up
inline constexpr int MaskSide = CanvasSide * SamplesPerUnit; // samples
static_assert(MaskSide % 4 == 0, "an 8-bit mask row is then one block, without padding");

struct Figures {
    int points = 0;     // point records
    int strokes = 0;    // strokes: a record that starts one, or a first record that continues from (0, 0)
    double centreX = 0; // mean position of the records
    double centreY = 0;
    int left = 0; // bounds of the records
    int top = 0;
    int right = 0;
    int bottom = 0;
    double area = 0; // covered area in square units
};

// The strokes as polylines: each starts at a StrokeStart record; records before the first start
// continue from (0, 0), as the lines display draws them.
QList<QList<QPoint>> strokes(const QList<DrawingFile::PointRecord> &records);

// The covered samples as a MaskSide x MaskSide 8-bit image, 255 where covered and 0 elsewhere.
QImage coverage(const QList<DrawingFile::PointRecord> &records);

// The figures of a drawing; every figure 0 for a drawing without records. The coverage measured goes
// to *mask when given.
Figures measure(const QList<DrawingFile::PointRecord> &records, QImage *mask = nullptr);

} // namespace DrawingShape
