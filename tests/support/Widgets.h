#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

// The named control of a window; a missing one ends the run, since every later check would fail.
template <typename T> T *child(QWidget *w, const char *name) {
    T *found = w->findChild<T *>(name);
    if (!found) {
        qFatal("no control %s", name);
    }
    return found;
}

// Pixels of an area of an image that have the given colour.
inline int pixelsOf(const QImage &image, const QRect &area, QRgb colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}
