#include "drawings/PictureSurface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace ZoColors {

QColor toQColor(ZoColor color) {
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

ZoColor fromQColor(const QColor &color) {
    return ZoColor(color.red()) | (ZoColor(color.green()) << 8) | (ZoColor(color.blue()) << 16);
}

} // namespace ZoColors

namespace {

Qt::BrushStyle brushStyle(FillStyle style) {
    switch (style) {
    case FillStyle::Solid:
        return Qt::SolidPattern;
    case FillStyle::Transparent:
        return Qt::NoBrush;
    case FillStyle::HorizontalLine:
        return Qt::HorPattern;
    case FillStyle::VerticalLine:
        return Qt::VerPattern;
    case FillStyle::UpwardDiagonal:
        return Qt::BDiagPattern;
    case FillStyle::DownwardDiagonal:
        return Qt::FDiagPattern;
    case FillStyle::Cross:
        return Qt::CrossPattern;
    case FillStyle::DiagonalCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::NoBrush;
}

// Pixel coordinates far outside any device are clamped so that a stray value (a drawing file
// holding 32767) cannot overflow the integer arithmetic of the raster engine.
int clampedPixel(double value) {
    constexpr double Limit = 1 << 20;
    if (!(value > -Limit)) {
        return -int(Limit);
    }
    if (value > Limit) {
        return int(Limit);
    }
    // A whole number of pixels computed through the scale (5 * 258 / 12.9) may come out a hair
    // below the integer; it still names that pixel.
    return int(std::floor(value + 1e-9));
}

} // namespace

PictureSurface::PictureSurface(QImage *image) : m_image(image) {}

PictureSurface::PictureSurface(QPainter *painter, QSize pixelSize)
    : m_painter(painter), m_painterSize(pixelSize) {}

QSize PictureSurface::pixelSize() const {
    if (m_prepare) {
        m_prepare();
    }
    return m_image ? m_image->size() : m_painterSize;
}

void PictureSurface::setScale(double left, double top, double width, double height) {
    if (width == 0 || height == 0) {
        return;
    }
    m_userScale = true;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
}

double PictureSurface::scaleWidth() const {
    return m_userScale ? m_width : pixelSize().width();
}

double PictureSurface::scaleHeight() const {
    return m_userScale ? m_height : pixelSize().height();
}

QPoint PictureSurface::toPixel(double x, double y) const {
    const QSize size = pixelSize();
    if (!m_userScale) {
        return QPoint(clampedPixel(x), clampedPixel(y));
    }
    return QPoint(clampedPixel((x - m_left) * size.width() / m_width),
                  clampedPixel((y - m_top) * size.height() / m_height));
}

QPointF PictureSurface::fromPixel(QPointF pixel) const {
    const QSize size = pixelSize();
    if (!m_userScale || size.isEmpty()) {
        return pixel;
    }
    return QPointF(m_left + pixel.x() * m_width / size.width(), m_top + pixel.y() * m_height / size.height());
}

void PictureSurface::setPrintPosition(double x, double y) {
    m_currentX = x;
    m_currentY = y;
}

template <typename Paint> void PictureSurface::paint(Paint &&paint) {
    if (m_prepare) {
        m_prepare();
    }
    if (m_painter) {
        m_painter->save();
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        paint(*m_painter);
        m_painter->restore();
    } else if (m_image && !m_image->isNull()) {
        QPainter painter(m_image);
        paint(painter);
    } else {
        return;
    }
    changed();
}

void PictureSurface::changed() {
    if (m_changed) {
        m_changed();
    }
}

void PictureSurface::clear() {
    if (m_prepare) {
        m_prepare();
    }
    const QColor back = ZoColors::toQColor(m_backColor);
    if (m_image) {
        m_image->fill(back);
        changed();
    } else {
        paint([&](QPainter &p) { p.fillRect(QRect(QPoint(0, 0), m_painterSize), back); });
    }
    setPrintPosition(0, 0);
}

void PictureSurface::line(double x1, double y1, double x2, double y2) {
    line(x1, y1, x2, y2, m_foreColor);
}

void PictureSurface::line(double x1, double y1, double x2, double y2, ZoColor color) {
    const QPoint from = toPixel(x1, y1);
    const QPoint to = toPixel(x2, y2);
    paint([&](QPainter &p) {
        p.setPen(QPen(ZoColors::toQColor(color), 0));
        p.drawLine(from, to);
    });
}

void PictureSurface::circle(double cx, double cy, double radius) {
    circle(cx, cy, radius, m_foreColor);
}

void PictureSurface::circle(double cx, double cy, double radius, ZoColor color) {
    const QPoint centre = toPixel(cx, cy);
    const double perUnit = pixelSize().width() / scaleWidth();
    const int r = int(std::lround(std::fabs(radius * perUnit)));
    paint([&](QPainter &p) {
        p.setPen(QPen(ZoColors::toQColor(color), 0));
        p.setBrush(QBrush(ZoColors::toQColor(m_fillColor), brushStyle(m_fillStyle)));
        p.drawEllipse(centre, r, r);
    });
}

void PictureSurface::drawImage(double x, double y, double width, double height, const QImage &image) {
    if (image.isNull()) {
        return;
    }
    const QPoint from = toPixel(x, y);
    const QPoint to = toPixel(x + width, y + height);
    paint([&](QPainter &p) { p.drawImage(QRect(from, to - QPoint(1, 1)), image); });
}

qint64 PictureSurface::point(double x, double y) const {
    const QPoint at = toPixel(x, y);
    return pixel(at.x(), at.y());
}

qint64 PictureSurface::pixel(int px, int py) const {
    if (!m_image || !m_image->valid(px, py)) {
        return -1;
    }
    return ZoColors::fromQColor(m_image->pixelColor(px, py));
}

void PictureSurface::setPixel(int px, int py, ZoColor color) {
    if (m_image) {
        if (m_image->valid(px, py)) {
            m_image->setPixelColor(px, py, ZoColors::toQColor(color));
            changed();
        }
        return;
    }
    paint([&](QPainter &p) {
        p.setPen(QPen(ZoColors::toQColor(color), 0));
        p.drawPoint(px, py);
    });
}

void PictureSurface::print(const QString &text) {
    const QPoint at = toPixel(m_currentX, m_currentY);
    double lineHeight = 0;
    paint([&](QPainter &p) {
        QFont font = p.font();
        font.setPointSizeF(m_fontSize > 0 ? m_fontSize : 8.25);
        p.setFont(font);
        p.setPen(ZoColors::toQColor(m_foreColor));
        const QFontMetricsF metrics(font, p.device());
        p.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
        lineHeight = metrics.height();
    });
    // The next line starts at the left edge, one text height lower.
    const QPointF below = fromPixel(QPointF(0, at.y() + lineHeight));
    setPrintPosition(m_userScale ? m_left : 0, below.y());
}
