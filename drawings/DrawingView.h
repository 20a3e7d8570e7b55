#pragma once

#include "drawings/PictureWidget.h"

#include <functional>

// A picture area that shows stored drawings: white, 12.9 x 12.9 units with the origin at the
// top-left corner, like the canvas they were drawn on. What it shows is drawn by the host's
// painter function, which runs on a clear picture at every repaint request and again whenever the
// picture changes size (the drawing units then fall on other pixels).
class DrawingView : public PictureWidget {
    Q_OBJECT
public:
    explicit DrawingView(QWidget *parent = nullptr);

    void setPainter(std::function<void(PictureSurface &)> painter) { m_painter = std::move(painter); }
    // Clears the picture and runs the painter.
    void redraw();

protected:
    void imageResized() override;

private:
    std::function<void(PictureSurface &)> m_painter;
};
