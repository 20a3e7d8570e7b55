#pragma once

// The controls tests find by name, and Qt Test's clicks and keys.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWidget>

// The named control of a window; a missing one ends the run, since every later check would fail.
template <typename T> T *child(QWidget *w, const char *name) {
    T *found = w->findChild<T *>(name);
    if (!found) {
        qFatal("no control %s", name);
    }
    return found;
}

// The text of a named label, such as a status bar panel of the main window ("Panel1").
inline QString labelText(QWidget *w, const char *name) {
    return child<QLabel>(w, name)->text();
}

// Shows a window and waits until it is on screen; false when it never is.
inline bool exposed(QWidget *w) {
    w->show();
    return QTest::qWaitForWindowExposed(w);
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
