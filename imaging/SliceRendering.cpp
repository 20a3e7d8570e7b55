#include "imaging/SliceRendering.h"

#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingMath.h"
#include "imaging/ImagingState.h"

#include <QImage>

#include <algorithm>

namespace SliceRendering {

namespace {

// The slice spacing in pixel units, the side views' stretch of the slice axis.
double sliceStretch(const ImagingState &state) {
    return state.Incremento > 0 ? state.Incremento : 1.0;
}

// Draws the library's picture with the scale set to its size; nothing when there is no picture.
void showPicture(PictureSurface &picture, const QImage &image, double stretchU, double stretchV) {
    if (image.isNull()) {
        return;
    }
    ajustaEscala(picture, image.width(), image.height(), stretchU, stretchV);
    picture.clear();
    picture.drawImage(0, 0, image.width(), image.height(), image);
}

} // namespace

void ajustaEscala(PictureSurface &picture, double width, double height, double stretchU, double stretchV) {
    const QSize pixels = picture.pixelSize();
    if (pixels.isEmpty() || width <= 0 || height <= 0) {
        return;
    }
    // Pixels per unit across; down it is that times stretchV / stretchU.
    const double ratio = stretchV / stretchU;
    const double across = std::min(pixels.width() / width, pixels.height() / (height * ratio));
    picture.setScale(0, 0, pixels.width() / across, pixels.height() / (across * ratio));
}

void DibujaCruz(PictureSurface &picture, qint16 x, qint16 y, qint16 r, ZoColor color) {
    picture.line(x - r, y, x + r, y, color);
    picture.line(x, y - r, x, y + r, color);
}

void DibujaAspa(PictureSurface &picture, qint16 x, qint16 y, qint16 r, ZoColor color) {
    picture.line(x - r, y - r, x + r, y + r, color);
    picture.line(x - r, y + r, x + r, y - r, color);
}

void DibujaCirculo(PictureSurface &picture, qint16 x, qint16 y, qint16 r, ZoColor color) {
    picture.setFillStyle(FillStyle::Transparent);
    picture.circle(x, y, r, color);
}

void DibujaMira(PictureSurface &picture, qint16 x, qint16 y, ZoColor color) {
    picture.line(x - 1, 0, x - 1, 500, color);
    picture.line(0, y - 1, 500, y - 1, color);
}

void DibujaAspaVerde(PictureSurface &picture, qint16 x, qint16 y) {
    DibujaAspa(picture, x, y, 8, Green);
}

void DibujaCruzAzul(PictureSurface &picture, qint16 x, qint16 y) {
    DibujaCruz(picture, x, y, 8, Blue);
}

void DibujaMiraAmarilla(PictureSurface &picture, qint16 x, qint16 y) {
    DibujaMira(picture, x, y, Yellow);
}

void DibujaLineaAzul(PictureSurface &picture, qint16 x1, qint16 y1, qint16 x2, qint16 y2) {
    picture.line(x1, y1, x2, y2, Blue);
}

void DibujaCorte(const ImagingState &state, PictureSurface &picture, qint32 index, int view) {
    QImage image;
    if (view == VistaCorteZ) {
        state.library()._d2_crea_corte_z(state.VolumenActual, index, &image);
        showPicture(picture, image, 1, 1);
    } else {
        state.library()._d2_crea_corte_y(state.VolumenActual, index, &image);
        showPicture(picture, image, 1, sliceStretch(state));
    }
}

void DibujaVistaResonancia(const ImagingState &state, PictureSurface &picture) {
    DibujaCorte(state, picture, state.PuntoTarget.y, VistaLateral);
    qint16 cu = 0, cv = 0, tu = 0, tv = 0;
    state.PuntoAVista(state.PuntoCentro, cu, cv);
    state.PuntoAVista(state.PuntoTarget, tu, tv);
    DibujaCruzAzul(picture, cu, cv);
    DibujaLineaAzul(picture, cu, cv, tu, tv);
    DibujaAspaVerde(picture, tu, tv);
}

void Dibuja3D(const ImagingState &state, PictureSurface &picture, qint16 umbralMinimo, qint16 umbralMaximo) {
    QImage image;
    state.library()._d2_crea3D_2(state.VolumenActual, 500, 1, umbralMinimo, umbralMaximo, 0, &image);
    showPicture(picture, image, sliceStretch(state), 1);
    DibujaMiraAmarilla(picture, state.PuntoInterno.z, state.PuntoInterno.y);
}

void DibujaReferencias(const ImagingState &state, PictureSurface &picture, qint16 frame) {
    using ImagingMath::Redondea16;
    picture.setFillStyle(FillStyle::Solid);
    picture.setFillColor(Yellow);
    const auto mark = [&](const ImagingMath::Vector3 &p, ZoColor crossColor) {
        const qint16 x = Redondea16(p.x);
        const qint16 y = Redondea16(p.y);
        if (p.z == frame) {
            DibujaCirculo(picture, x, y, 5, Yellow);
        } else {
            DibujaCruz(picture, x, y, 5, crossColor);
        }
    };
    mark(state.Referencia1, Yellow);
    mark(state.Referencia2, Red);
    mark(state.ReferenciaIlion, Red);
    picture.line(Redondea16(state.Referencia1.x), Redondea16(state.Referencia1.y),
                 Redondea16(state.Referencia2.x), Redondea16(state.Referencia2.y), Green);
}

} // namespace SliceRendering
