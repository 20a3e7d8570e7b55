#include "drawings/DrawingView.h"

#include "drawings/DrawingFile.h"

DrawingView::DrawingView(QWidget *parent) : PictureWidget(parent) {
    surface().setBackColor(ZoColors::White);
    surface().setForeColor(ZoColors::Black);
    surface().setScale(0, 0, DrawingFile::CanvasUnits, DrawingFile::CanvasUnits);
    surface().clear();
}

void DrawingView::redraw() {
    surface().clear();
    if (m_painter) {
        m_painter(surface());
    }
}

void DrawingView::imageResized() {
    redraw();
}
