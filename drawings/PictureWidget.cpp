#include "drawings/PictureWidget.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

PictureWidget::PictureWidget(QWidget *parent)
    : QWidget(parent), m_image(QSize(1, 1), QImage::Format_RGB32), m_surface(&m_image) {
    m_image.fill(Qt::white);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface.setChangedCallback([this] { update(); });
    m_surface.setPrepareCallback([this] { syncImageSize(); });
}

const QImage &PictureWidget::image() {
    syncImageSize();
    return m_image;
}

QSize PictureWidget::sizeHint() const {
    return QSize(200, 200);
}

void PictureWidget::paintEvent(QPaintEvent *event) {
    syncImageSize();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image, event->rect());
}

void PictureWidget::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    syncImageSize();
}

void PictureWidget::syncImageSize() {
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (wanted == m_image.size()) {
        return;
    }
    QImage image(wanted, QImage::Format_RGB32);
    image.fill(ZoColors::toQColor(m_surface.backColor()));
    QPainter painter(&image);
    painter.drawImage(0, 0, m_image);
    painter.end();
    m_image = image;
    imageResized();
    update();
}
