#pragma once

#include "drawings/DrawingBuffer.h"
#include "drawings/PictureWidget.h"

#include <QString>

// The canvas Picture1 of the recording window, where the operator draws the figure the subject
// perceived: white, 12.9 x 12.9 units with the origin at the top-left corner, black strokes.
//
// The pen operations are public because the mouse and the tablet both call them, with positions
// in canvas units; Button and Shift are passed along as the pointing device gave them and unused.
class DrawingCanvas : public PictureWidget {
    Q_OBJECT
public:
    explicit DrawingCanvas(QWidget *parent = nullptr);

    void Picture1_MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void Picture1_MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void Picture1_MouseUp(qint16 Button, qint16 Shift, float X, float Y);
    // Redraws the whole buffer on a clear canvas, at positions rounded half to even as the file
    // stores them (strokes drawn live use the exact positions).
    void Picture1_Paint();

    // Starts a new drawing: empty buffer, pen up, clear canvas.
    void Comienza();
    // Writes the drawing to the file at the path, replacing it. False when the file could not be
    // written; the caller reports it.
    [[nodiscard]] bool GuardarDibujo(const QString &path) const;

    const DrawingBuffer &buffer() const { return m_buffer; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void tabletEvent(QTabletEvent *event) override;
    void imageResized() override;

private:
    QPointF toCanvas(QPointF widgetPosition) const;

    DrawingBuffer m_buffer;
};
