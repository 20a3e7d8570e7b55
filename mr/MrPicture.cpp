#include "mr/MrPicture.h"

#include <QMouseEvent>

namespace {

int boton(Qt::MouseButtons buttons) {
    if (buttons & Qt::LeftButton) {
        return 1;
    }
    if (buttons & Qt::RightButton) {
        return 2;
    }
    return buttons & Qt::MiddleButton ? 4 : 0;
}

} // namespace

MrPicture::MrPicture(QWidget *parent) : PictureWidget(parent) {
    setMouseTracking(true);
    surface().setBackColor(ZoColors::Black);
}

void MrPicture::redraw() {
    if (m_drawing) {
        m_drawing(surface());
    }
    update();
}

void MrPicture::imageResized() {
    redraw();
}

void MrPicture::mousePressEvent(QMouseEvent *event) {
    emit mouseDown(boton(event->button()), surface().fromPixel(event->position()));
}

void MrPicture::mouseMoveEvent(QMouseEvent *event) {
    emit mouseMove(boton(event->buttons()), surface().fromPixel(event->position()));
}
