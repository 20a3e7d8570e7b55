#include "drawings/DrawingShape.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace DrawingShape {

QList<QList<QPoint>> strokes(const QList<DrawingFile::PointRecord> &records) {
    QList<QList<QPoint>> result;
    for (const DrawingFile::PointRecord &r : records) {
        if (r.code == DrawingFile::StrokeStart || result.isEmpty()) {
            result.append(QList<QPoint>());
            if (r.code != DrawingFile::StrokeStart) {
                result.last() << QPoint(0, 0);
            }
        }
        result.last() << QPoint(r.x, r.y);
    }
    return result;
}

QImage coverage(const QList<DrawingFile::PointRecord> &records) {
    // Painted in grey on a 32-bit image (the painter's fastest target), then kept as 8 bits.
    QImage image(MaskSide, MaskSide, QImage::Format_RGB32);
    image.fill(Qt::black);
    if (!records.isEmpty()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.scale(SamplesPerUnit, SamplesPerUnit);
        QPainterPath outline;
        outline.setFillRule(Qt::WindingFill);
        QPainterPath lines;
        for (const QList<QPoint> &stroke : strokes(records)) {
            QPolygonF polygon;
            for (const QPoint &p : stroke) {
                polygon << QPointF(p);
            }
            outline.addPolygon(polygon);
            outline.closeSubpath();
            lines.addPolygon(polygon);
        }
        painter.fillPath(outline, Qt::white);
        painter.strokePath(lines, QPen(Qt::white, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    return image.convertToFormat(QImage::Format_Grayscale8);
}

Figures measure(const QList<DrawingFile::PointRecord> &records) {
    Figures f;
    if (records.isEmpty()) {
        return f;
    }
    f.points = int(records.size());
    f.left = f.right = records.first().x;
    f.top = f.bottom = records.first().y;
    double sumX = 0, sumY = 0;
    for (const DrawingFile::PointRecord &r : records) {
        sumX += r.x;
        sumY += r.y;
        f.left = std::min<int>(f.left, r.x);
        f.right = std::max<int>(f.right, r.x);
        f.top = std::min<int>(f.top, r.y);
        f.bottom = std::max<int>(f.bottom, r.y);
        if (r.code == DrawingFile::StrokeStart) {
            ++f.strokes;
        }
    }
    if (records.first().code != DrawingFile::StrokeStart) {
        ++f.strokes;
    }
    f.centreX = sumX / f.points;
    f.centreY = sumY / f.points;
    const QImage mask = coverage(records);
    qint64 covered = 0;
    for (int y = 0; y < mask.height(); ++y) {
        const uchar *line = mask.constScanLine(y);
        covered += std::count_if(line, line + mask.width(), [](uchar v) { return v != 0; });
    }
    f.area = double(covered) / (SamplesPerUnit * SamplesPerUnit);
    return f;
}

} // namespace DrawingShape
