#include "drawings/DrawingCanvas.h"

#include "drawings/DrawingRender.h"

#include <QMouseEvent>

namespace {

// Button and Shift arguments as the pointing-device events have always given them.
qint16 buttonCode(Qt::MouseButtons buttons) {
    qint16 code = 0;
    if (buttons & Qt::LeftButton) {
        code |= 1;
    }
    if (buttons & Qt::RightButton) {
        code |= 2;
    }
    if (buttons & Qt::MiddleButton) {
        code |= 4;
    }
    return code;
}

qint16 shiftCode(Qt::KeyboardModifiers modifiers) {
    qint16 code = 0;
    if (modifiers & Qt::ShiftModifier) {
        code |= 1;
    }
    if (modifiers & Qt::ControlModifier) {
        code |= 2;
    }
    if (modifiers & Qt::AltModifier) {
        code |= 4;
    }
    return code;
}

} // namespace

DrawingCanvas::DrawingCanvas(QWidget *parent) : PictureWidget(parent) {
    setObjectName(QStringLiteral("Picture1"));
    setCursor(Qt::CrossCursor);
    surface().setBackColor(ZoColors::White);
    surface().setForeColor(ZoColors::Black);
    surface().setScale(0, 0, DrawingFile::CanvasUnits, DrawingFile::CanvasUnits);
    surface().clear();
}

void DrawingCanvas::Picture1_MouseDown(qint16, qint16, float, float) {
    m_buffer.penDown();
}

void DrawingCanvas::Picture1_MouseMove(qint16, qint16, float X, float Y) {
    // A resize not yet applied to the picture repaints the buffer; that must happen before this
    // point joins the buffer, or the point would be drawn twice, rounded and exact.
    syncImageSize();
    if (const auto segment = m_buffer.penMove(X, Y)) {
        surface().line(segment->x1(), segment->y1(), segment->x2(), segment->y2(), ZoColors::Black);
    }
}

void DrawingCanvas::Picture1_MouseUp(qint16, qint16, float, float) {
    m_buffer.penUp();
}

void DrawingCanvas::Picture1_Paint() {
    surface().clear();
    DrawingRender::drawLines(surface(), m_buffer.records());
}

void DrawingCanvas::Comienza() {
    m_buffer.clear();
    surface().clear();
}

bool DrawingCanvas::GuardarDibujo(const QString &path) const {
    return DrawingFile::write(path, m_buffer.records());
}

QPointF DrawingCanvas::toCanvas(QPointF widgetPosition) const {
    return surface().fromPixel(widgetPosition);
}

void DrawingCanvas::mousePressEvent(QMouseEvent *event) {
    const QPointF at = toCanvas(event->position());
    Picture1_MouseDown(buttonCode(event->buttons()), shiftCode(event->modifiers()), float(at.x()),
                       float(at.y()));
}

void DrawingCanvas::mouseMoveEvent(QMouseEvent *event) {
    const QPointF at = toCanvas(event->position());
    Picture1_MouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()), float(at.x()),
                       float(at.y()));
}

void DrawingCanvas::mouseReleaseEvent(QMouseEvent *event) {
    const QPointF at = toCanvas(event->position());
    Picture1_MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), float(at.x()),
                     float(at.y()));
}

// Pen tablets reach the canvas through the toolkit's tablet events, whatever the platform's
// driver (WinTab, Windows Ink, XInput, macOS). Their positions arrive in widget coordinates, so the
// driver packets, their scaling over 12000 units and the proximity toggle of the Windows tablet
// interface have no counterpart here: press, move and release map to pen down, move and up.
// Accepting the event keeps the toolkit from synthesizing a mouse event from it, which would
// record every stroke twice.
void DrawingCanvas::tabletEvent(QTabletEvent *event) {
    const QPointF at = toCanvas(event->position());
    switch (event->type()) {
    case QEvent::TabletPress:
        Picture1_MouseDown(0, 0, float(at.x()), float(at.y()));
        break;
    case QEvent::TabletMove:
        Picture1_MouseMove(0, 0, float(at.x()), float(at.y()));
        break;
    case QEvent::TabletRelease:
        Picture1_MouseUp(0, 0, float(at.x()), float(at.y()));
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void DrawingCanvas::imageResized() {
    // The scale stays 12.9 units across the new size, so the drawing is laid out again.
    Picture1_Paint();
}
