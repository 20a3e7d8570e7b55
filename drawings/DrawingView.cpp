#include "drawings/DrawingView.h"

#include "drawings/DrawingFile.h"

#include <QMouseEvent>

namespace {

int button(Qt::MouseButtons buttons) {
    if (buttons & Qt::LeftButton) {
        return 1;
    }
    if (buttons & Qt::RightButton) {
        return 2;
    }
    return buttons & Qt::MiddleButton ? 4 : 0;
}

} // namespace

DrawingView::DrawingView(Look look, QWidget *parent) : PictureWidget(parent), m_look(look) {
    setMouseTracking(true);
    if (look == Look::Drawing) {
        setUpForDrawing(surface());
    } else {
        surface().setBackColor(ZoColors::Black);
        surface().clear();
    }
}

void DrawingView::setUpForDrawing(PictureSurface &picture) {
    picture.setBackColor(ZoColors::White);
    picture.setForeColor(ZoColors::Black);
    picture.setScale(0, 0, DrawingFile::CanvasUnits, DrawingFile::CanvasUnits);
    picture.clear();
}

void DrawingView::redraw() {
    if (m_look == Look::Drawing) {
        surface().clear();
    }
    if (m_painter) {
        m_painter(surface());
    }
    update();
}

void DrawingView::mousePressEvent(QMouseEvent *event) {
    emit mouseDown(button(event->button()), surface().fromPixel(event->position()));
}

void DrawingView::mouseMoveEvent(QMouseEvent *event) {
    emit mouseMove(button(event->buttons()), surface().fromPixel(event->position()));
}
