#include "drawings/DrawingBuffer.h"

void DrawingBuffer::clear() {
    m_points.clear();
    m_penDown = false;
    m_strokeStartPending = false;
}

void DrawingBuffer::penDown() {
    if (!isFull()) {
        m_penDown = true;
        m_strokeStartPending = true;
    }
}

std::optional<QLineF> DrawingBuffer::penMove(float x, float y) {
    if (!m_penDown || isFull()) {
        return std::nullopt;
    }
    std::optional<QLineF> segment;
    Point point{DrawingFile::StrokeStart, x, y};
    if (m_strokeStartPending) {
        m_strokeStartPending = false;
    } else {
        const Point &last = m_points.last();
        segment = QLineF(x, y, last.x, last.y);
        point.code = DrawingFile::StrokeNext;
    }
    m_points.append(point);
    return segment;
}

void DrawingBuffer::penUp() {
    if (!m_penDown || isFull()) {
        return;
    }
    m_penDown = false;
    if (!m_strokeStartPending) {
        const Point last = m_points.last();
        m_points.append(Point{DrawingFile::StrokeEnd, last.x, last.y});
    }
}

QList<DrawingFile::PointRecord> DrawingBuffer::records() const {
    QList<DrawingFile::PointRecord> result;
    result.reserve(m_points.size());
    for (const Point &point : m_points) {
        result.append({point.code, DrawingFile::toUnit(point.x), DrawingFile::toUnit(point.y)});
    }
    return result;
}
