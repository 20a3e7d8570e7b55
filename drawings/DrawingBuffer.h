#pragma once

#include "drawings/DrawingFile.h"

#include <QLineF>
#include <QList>

#include <optional>

// The drawing being entered on the canvas: stroke points at the positions the pointing device gave,
// in canvas units, at most DrawingFile::MaxPoints of them. Pen down, move and up come from the
// mouse or the tablet alike. When the buffer is full, further input is ignored until it is emptied.
class DrawingBuffer {
public:
    struct Point {
        qint16 code = DrawingFile::StrokeStart;
        float x = 0;
        float y = 0;
    };

    // Empties the buffer and lifts the pen.
    void clear();

    // The pen touches: the next recorded point starts a stroke.
    void penDown();
    // The pen moves while down: records the point. Returns the segment to draw live, from the new
    // position to the last recorded point, when the point continues a stroke.
    std::optional<QLineF> penMove(float x, float y);
    // The pen lifts: a stroke that recorded at least one point gets its end point, a copy of the
    // last one. A press and release without movement records nothing.
    void penUp();

    int count() const { return int(m_points.size()); }
    bool isFull() const { return count() >= DrawingFile::MaxPoints; }
    const Point &at(int index) const { return m_points.at(index); }

    // The points as a drawing file stores them: coordinates rounded half to even.
    QList<DrawingFile::PointRecord> records() const;

private:
    QList<Point> m_points;
    bool m_penDown = false;
    bool m_strokeStartPending = false;
};
