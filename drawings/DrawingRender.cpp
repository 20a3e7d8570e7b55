#include "drawings/DrawingRender.h"

#include "drawings/PictureWidget.h"

#include <QCoreApplication>
#include <QPoint>

#include <cstdlib>
#include <vector>

namespace DrawingRender {

using DrawingFile::PointRecord;

namespace {

bool drawsLine(qint16 code) {
    return code == DrawingFile::StrokeNext || code == DrawingFile::StrokeEnd;
}

constexpr int FuseSize = 17;
constexpr int FuseDepth = 50;
constexpr int FuseMinimumStep = 2;
constexpr int MassSize = 30;
constexpr int MassDepth = 80;

} // namespace

void drawLines(PictureSurface &picture, const QList<PointRecord> &records) {
    int previousX = 0;
    int previousY = 0;
    for (const PointRecord &record : records) {
        if (drawsLine(record.code)) {
            picture.line(previousX, previousY, record.x, record.y, ZoColors::Black);
        }
        previousX = record.x;
        previousY = record.y;
    }
}

void drawFused(PictureSurface &picture, const QList<PointRecord> &records) {
    int previousX = 0;
    int previousY = 0;
    for (const PointRecord &record : records) {
        const int dx = std::abs(record.x - previousX);
        const int dy = std::abs(record.y - previousY);
        if (dx <= FuseMinimumStep || dy <= FuseMinimumStep) {
            continue;
        }
        if (drawsLine(record.code)) {
            stampBlot(picture, record.x, record.y, FuseSize, FuseDepth);
        }
        previousX = record.x;
        previousY = record.y;
    }
}

void drawMassCentre(PictureSurface &picture, qint16 count, const QList<PointRecord> &records) {
    if (count < 1) {
        return;
    }
    qint64 sumX = 0;
    qint64 sumY = 0;
    for (const PointRecord &record : records) {
        sumX += record.x;
        sumY += record.y;
    }
    const double cx = DrawingFile::roundHalfToEven(double(sumX) / count);
    const double cy = DrawingFile::roundHalfToEven(double(sumY) / count);
    stampBlot(picture, cx, cy, MassSize, MassDepth);
}

void stampBlot(PictureSurface &picture, double cx, double cy, int size, int depth) {
    if (size <= 0) {
        return;
    }
    const QPoint centre = picture.toPixel(cx, cy);
    const int half = size / 2;
    const int x0 = centre.x() - half;
    const int y0 = centre.y() - half;
    // The first pass reads the picture as it was and the second writes, so no cell of this stamp
    // sees another cell's new colour.
    std::vector<qint64> colours(std::size_t(size) * std::size_t(size), -1);
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) {
            const qint64 existing = picture.pixel(x0 + j, y0 + i);
            if (existing < 0) {
                continue; // outside the picture
            }
            const int d = std::abs(x0 + j - centre.x()) + std::abs(y0 + i - centre.y());
            const qint64 g = qint64(DrawingFile::roundHalfToEven(double(depth) / size * (size - d)));
            const qint64 grey = g + 256 * g + 65536 * g;
            colours[std::size_t(i) * size + j] = existing > grey ? existing - grey : 0;
        }
    }
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) {
            const qint64 colour = colours[std::size_t(i) * size + j];
            if (colour >= 0) {
                picture.setPixel(x0 + j, y0 + i, ZoColor(colour & 0xFFFFFF));
            }
        }
    }
}

void showFileError(PictureSurface &picture, const QString &path) {
    picture.setPrintPosition(0, 0);
    picture.setFontSize(9);
    picture.print(QCoreApplication::translate("DrawingRender", "File error:"));
    picture.print(path);
    const double left = picture.scaleLeft();
    const double top = picture.scaleTop();
    const double right = left + picture.scaleWidth();
    const double bottom = top + picture.scaleHeight();
    picture.line(left, top, right, bottom, ZoColors::Black);
    picture.line(right, top, left, bottom, ZoColors::Black);
}

void render(PictureSurface &picture, const DrawingFile::Contents &contents, const QString &path, Mode mode) {
    switch (mode) {
    case Mode::Lines:
        drawLines(picture, contents.records);
        break;
    case Mode::Fuse:
        drawFused(picture, contents.records);
        break;
    case Mode::MassCentre:
        // The count decides first: below 1 nothing is read further, so nothing can fail.
        if (contents.countRead && contents.count < 1) {
            return;
        }
        if (contents.ok()) {
            drawMassCentre(picture, contents.count, contents.records);
        }
        break;
    }
    if (!contents.ok()) {
        showFileError(picture, path);
    }
}

void render(PictureSurface &picture, const QString &path, Mode mode) {
    render(picture, DrawingFile::read(path), path, mode);
}

void render(PictureSurface &picture, const std::optional<QByteArray> &stored, const QString &name,
            Mode mode) {
    DrawingFile::Contents contents;
    if (stored) {
        contents = DrawingFile::parse(*stored);
    } else {
        contents.error =
            QCoreApplication::translate("DrawingRender", "the study holds no drawing of that name");
    }
    render(picture, contents, name, mode);
}

} // namespace DrawingRender
