#include "drawings/DrawingShape.h"

#include <QPointF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

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

namespace {

// Marks, in a row-major MaskSide x MaskSide mask, the samples whose centre lies inside the closed
// polygon (non-zero winding), scanning each row of samples for the polygon's crossings.
void fillPolygon(uchar *mask, const QList<QPoint> &polygon) {
    const qsizetype n = polygon.size();
    if (n < 3) {
        return;
    }
    std::vector<std::pair<double, int>> crossings; // x and the edge's direction
    for (int row = 0; row < MaskSide; ++row) {
        const double y = (row + 0.5) / SamplesPerUnit;
        crossings.clear();
        for (qsizetype i = 0; i < n; ++i) {
            const QPoint &a = polygon[i];
            const QPoint &b = polygon[(i + 1) % n];
            if ((a.y() <= y) != (b.y() <= y)) {
                const double x = a.x() + (y - a.y()) * (b.x() - a.x()) / double(b.y() - a.y());
                crossings.emplace_back(x, b.y() > a.y() ? 1 : -1);
            }
        }
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].second;
            if (winding == 0) {
                continue;
            }
            // Samples whose centre lies between this crossing and the next.
            const int first = std::max(0, int(std::ceil(crossings[i].first * SamplesPerUnit - 0.5)));
            const int last =
                std::min(MaskSide - 1, int(std::ceil(crossings[i + 1].first * SamplesPerUnit - 0.5)) - 1);
            if (first <= last) {
                const int count = last - first + 1;
                std::memset(mask + std::ptrdiff_t{row} * MaskSide + first, 255, std::size_t(count));
            }
        }
    }
}

// Marks the samples whose centre lies within half a unit of the segment from a to b (a line one unit
// wide with round ends).
void strokeSegment(uchar *mask, QPointF a, QPointF b) {
    constexpr double half = 0.5;
    const int x0 = std::max(0, int(std::floor((std::min(a.x(), b.x()) - half) * SamplesPerUnit)));
    const int x1 = std::min(MaskSide - 1, int(std::ceil((std::max(a.x(), b.x()) + half) * SamplesPerUnit)));
    const int y0 = std::max(0, int(std::floor((std::min(a.y(), b.y()) - half) * SamplesPerUnit)));
    const int y1 = std::min(MaskSide - 1, int(std::ceil((std::max(a.y(), b.y()) + half) * SamplesPerUnit)));
    const QPointF d = b - a;
    const double length2 = QPointF::dotProduct(d, d);
    for (int row = y0; row <= y1; ++row) {
        for (int column = x0; column <= x1; ++column) {
            const QPointF p((column + 0.5) / SamplesPerUnit, (row + 0.5) / SamplesPerUnit);
            const double t =
                length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / length2, 0.0, 1.0) : 0.0;
            const QPointF nearest = a + t * d;
            const QPointF away = p - nearest;
            if (QPointF::dotProduct(away, away) <= half * half) {
                mask[row * MaskSide + column] = 255;
            }
        }
    }
}

} // namespace

QImage coverage(const QList<DrawingFile::PointRecord> &records) {
    QImage image(MaskSide, MaskSide, QImage::Format_Grayscale8);
    image.fill(0);
    // A grey image of these sizes has no padding between rows: one block of MaskSide x MaskSide.
    uchar *mask = image.bits();
    for (const QList<QPoint> &stroke : strokes(records)) {
        fillPolygon(mask, stroke);
        for (qsizetype i = 0; i < stroke.size(); ++i) {
            strokeSegment(mask, stroke[i], stroke[std::min(i + 1, stroke.size() - 1)]);
        }
    }
    return image;
}

Figures measure(const QList<DrawingFile::PointRecord> &records, QImage *maskOut) {
    Figures f;
    const QImage mask = coverage(records);
    if (maskOut) {
        *maskOut = mask;
    }
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
    qint64 covered = 0;
    for (int y = 0; y < mask.height(); ++y) {
        const uchar *line = mask.constScanLine(y);
        covered += std::count_if(line, line + mask.width(), [](uchar v) { return v != 0; });
    }
    f.area = double(covered) / (SamplesPerUnit * SamplesPerUnit);
    return f;
}

} // namespace DrawingShape
