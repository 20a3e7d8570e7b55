#pragma once

#include "drawings/PictureWidget.h"

#include <QPointF>

#include <functional>

// A picture area of the MR windows: the picture widget, redrawn by its window's drawing procedure
// whenever its backing image changes size, reporting the mouse in the picture's own units.
class MrPicture : public PictureWidget {
    Q_OBJECT

public:
    explicit MrPicture(QWidget *parent = nullptr);

    // The window's drawing procedure; called by redraw() and after every resize.
    void setDrawing(std::function<void(PictureSurface &)> drawing) { m_drawing = std::move(drawing); }
    void redraw();

    QSize sizeHint() const override { return QSize(300, 300); }

signals:
    // Button 1 is the left one, 2 the right one, 0 none (a move with no button held).
    void mouseDown(int button, QPointF at);
    void mouseMove(int button, QPointF at);

protected:
    void imageResized() override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    std::function<void(PictureSurface &)> m_drawing;
};
