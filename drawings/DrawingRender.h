#pragma once

#include "drawings/DrawingFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class PictureSurface;

// Drawing a stored drawing into a picture area, in the picture's own user coordinates (the
// picture areas that show drawings use the canvas scale, so no scaling happens here).
namespace DrawingRender {

// The display choices "Lines", "Fuse" and "Mass center" of the viewer and the comparison window.
enum class Mode { Lines = 0, Fuse = 1, MassCentre = 2 };

// Reads the file and draws it. On any error while opening or reading the file, what was drawn
// before the error stays and the error display follows (showFileError).
void render(PictureSurface &picture, const QString &path, Mode mode);
// The same on contents read already; the path is only printed by the error display.
void render(PictureSurface &picture, const DrawingFile::Contents &contents, const QString &path, Mode mode);
// A drawing kept in the study (nothing when the stimulus has none stored), shown under its name.
void render(PictureSurface &picture, const std::optional<QByteArray> &stored, const QString &name, Mode mode);

// Strokes in black: from the previous point, starting at (0, 0), a line to every point whose code
// continues or ends a stroke; every point becomes the previous one.
void drawLines(PictureSurface &picture, const QList<DrawingFile::PointRecord> &records);
// Overlapping drawings darken each other: a blot of size 17 and depth 50 at every point that
// continues or ends a stroke, skipping points that moved 2 units or less on either axis from the
// last point that was not skipped.
void drawFused(PictureSurface &picture, const QList<DrawingFile::PointRecord> &records);
// One blot of size 30 and depth 80 at the mean position, the sums divided by the count of the
// file's first line (not by the records read). Nothing for a count below 1.
void drawMassCentre(PictureSurface &picture, qint16 count, const QList<DrawingFile::PointRecord> &records);

// Darkens a size x size block of pixels around the pixel of (cx, cy): each pixel's packed colour
// loses the grey round(depth / size * (size - d)) per channel, d being its Manhattan distance in
// pixels from the centre, and becomes black when it would not stay above that grey. The result is
// a diamond, darkest at the centre; stamps accumulate.
void stampBlot(PictureSurface &picture, double cx, double cy, int size, int depth);

// "File error:" and the path at the top-left corner in 9-point text, and the two diagonals of the
// whole picture in black.
void showFileError(PictureSurface &picture, const QString &path);

} // namespace DrawingRender
