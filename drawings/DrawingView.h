#pragma once

#include "drawings/PictureWidget.h"

#include <QPointF>

#include <functional>

// A picture area whose host draws what it shows: the host's painter runs at every redraw() and again
// whenever the backing image changes size (the picture's units then fall on other pixels). The mouse
// is reported in the picture's units. Two looks:
// - Drawing, for stored drawings: white, 12.9 x 12.9 units from the top-left corner like the canvas
//   they were drawn on, cleared before each painting.
// - Image, for the MR pictures: black, painted over what it showed; the painter scales the picture to
//   its image and clears it when it has one, so with nothing to show the last picture stays.
class DrawingView : public PictureWidget {
    Q_OBJECT

public:
    enum class Look { Drawing, Image };

    explicit DrawingView(QWidget *parent = nullptr) : DrawingView(Look::Drawing, parent) {}
    explicit DrawingView(Look look, QWidget *parent = nullptr);

    // Gives a picture the drawing look: the canvas scale, cleared to white.
    static void setUpForDrawing(PictureSurface &picture);

    void setPainter(std::function<void(PictureSurface &)> painter) { m_painter = std::move(painter); }
    // Runs the painter, on a clear picture in the drawing look.
    void redraw();

    QSize sizeHint() const override { return QSize(300, 300); }

signals:
    // Button 1 is the left one, 2 the right one, 4 the middle one, 0 none (a move with no button held).
    void mouseDown(int button, QPointF at);
    void mouseMove(int button, QPointF at);

protected:
    void imageResized() override { redraw(); }
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    Look m_look;
    std::function<void(PictureSurface &)> m_painter;
};
