#pragma once

#include "drawings/PictureSurface.h"

#include <QImage>
#include <QWidget>

// A picture area on screen: a persistent backing image that repaints copy, drawn on through a
// PictureSurface. The image follows the widget's size, also while the widget is hidden (a window
// may draw before it is shown); resizing keeps what was drawn, top-left aligned, and fills new
// space with the back colour.
class PictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget *parent = nullptr);

    PictureSurface &surface() { return m_surface; }
    const PictureSurface &surface() const { return m_surface; }
    // The backing image, at the widget's current size.
    const QImage &image();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Called after the backing image changed size, before anything is drawn on the new one.
    virtual void imageResized() {}
    // Brings the backing image to the widget's size (it does so itself before every drawing call).
    void syncImageSize();

private:
    QImage m_image;
    PictureSurface m_surface;
};
