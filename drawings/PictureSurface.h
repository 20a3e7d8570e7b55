#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>

#include <functional>

class QPainter;

// Colours of the picture calls are packed 24-bit values with red in the low byte
// (0x00BBGGRR), as every colour the program stores or compares.
using ZoColor = quint32;

namespace ZoColors {
inline constexpr ZoColor Black = 0x000000;
inline constexpr ZoColor White = 0xFFFFFF;
inline constexpr ZoColor Red = 0x0000FF;

QColor toQColor(ZoColor color);
ZoColor fromQColor(const QColor &color);
} // namespace ZoColors

// How closed figures (circles) are filled, with the values the picture areas always had.
enum class FillStyle {
    Solid = 0,
    Transparent = 1,
    HorizontalLine = 2,
    VerticalLine = 3,
    UpwardDiagonal = 4,
    DownwardDiagonal = 5,
    Cross = 6,
    DiagonalCross = 7,
};

// The drawing calls of a picture area on a paint device: a user scale, line, circle, point set and
// get, text at a print position. It draws either on an image (then pixels can be read back and set
// one by one, which the drawing renderer's blots need) or through a painter the caller holds, such
// as one on a QPrinter for the subject report.
//
// User coordinates map to device pixels by the scale: pixel = floor((x - left) * pixels / width).
class PictureSurface {
public:
    // Draws on the image. The image must outlive the surface; it may be replaced by another image
    // of any size (the surface reads its size at every call).
    explicit PictureSurface(QImage *image);
    // Draws through a painter that is already active on a device of the given pixel size, in the
    // painter's current coordinates (a page transform stays in force). Pixel reads answer -1
    // (unknown), as for a point outside the picture.
    PictureSurface(QPainter *painter, QSize pixelSize);

    PictureSurface(const PictureSurface &) = delete;
    PictureSurface &operator=(const PictureSurface &) = delete;

    // Called after every drawing call, so that a widget can schedule a repaint.
    void setChangedCallback(std::function<void()> callback) { m_changed = std::move(callback); }
    // Called before every call that depends on the image, so that a widget can bring its image to
    // its current size first.
    void setPrepareCallback(std::function<void()> callback) { m_prepare = std::move(callback); }

    QSize pixelSize() const;

    // User scale: the top-left corner is (left, top) and the whole area measures width x height.
    // The default is one unit per pixel with the origin at the top-left corner.
    void setScale(double left, double top, double width, double height);
    double scaleLeft() const { return m_left; }
    double scaleTop() const { return m_top; }
    double scaleWidth() const;
    double scaleHeight() const;

    // Device pixel of a point in user coordinates, and back (the pixel's top-left corner).
    QPoint toPixel(double x, double y) const;
    QPointF fromPixel(QPointF pixel) const;

    void setForeColor(ZoColor color) { m_foreColor = color; }
    ZoColor backColor() const { return m_backColor; }
    void setBackColor(ZoColor color) { m_backColor = color; }
    void setFillStyle(FillStyle style) { m_fillStyle = style; }
    void setFillColor(ZoColor color) { m_fillColor = color; }
    void setFontSize(double points) { m_fontSize = points; }

    // Print position (user coordinates) where the next line of text begins.
    double currentX() const { return m_currentX; }
    double currentY() const { return m_currentY; }
    void setPrintPosition(double x, double y);

    // Fills the whole area with the back colour and moves the print position to (0, 0).
    void clear();
    // One-pixel line between two points, in the fore colour.
    void line(double x1, double y1, double x2, double y2);
    void line(double x1, double y1, double x2, double y2, ZoColor color);
    // Circle of the given radius (in horizontal units) around a centre, filled by the fill style.
    void circle(double cx, double cy, double radius);
    void circle(double cx, double cy, double radius, ZoColor color);
    // Colour of the pixel under a point, or -1 outside the area or without an image.
    qint64 point(double x, double y) const;
    // Draws the image stretched over the rectangle whose top-left corner is (x, y) and whose size
    // is width x height, in user coordinates (the imaging library's cuts and 3D views).
    void drawImage(double x, double y, double width, double height, const QImage &image);
    // Prints one line of text with its top at the print position, in the fore colour and the font
    // size, then moves the print position to the start of the next line.
    void print(const QString &text);

    // The same operations on device pixels, for procedures that work cell by cell.
    qint64 pixel(int px, int py) const;
    void setPixel(int px, int py, ZoColor color);

private:
    template <typename Paint> void paint(Paint &&paint);
    void changed();

    QImage *m_image = nullptr;
    QPainter *m_painter = nullptr;
    QSize m_painterSize;
    bool m_userScale = false;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
    ZoColor m_foreColor = ZoColors::Black;
    ZoColor m_backColor = ZoColors::White;
    ZoColor m_fillColor = ZoColors::Black;
    FillStyle m_fillStyle = FillStyle::Transparent;
    double m_fontSize = 8.25;
    double m_currentX = 0;
    double m_currentY = 0;
    std::function<void()> m_changed;
    std::function<void()> m_prepare;
};
