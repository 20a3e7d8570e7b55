#pragma once

#include "drawings/PictureSurface.h"

#include <QtGlobal>

class ImagingState;

// Drawing of the MR pictures: a cut of the volume or its 3D side view, then the landmarks and the
// planning points on top, in the picture's units, one unit per voxel. No widget code: everything
// draws on a PictureSurface, so the windows call it from their repaints and tests on plain images.
//
// The cut sets the picture's scale to the cut's size, top-left aligned and keeping the voxels'
// proportions (the side views stretch the slice axis by the slice spacing, Incremento); the marks
// drawn afterwards land on the voxels they name. With no volume the picture keeps what it showed
// and the marks go to the points' current places.
namespace SliceRendering {

inline constexpr ZoColor Green = 0x00C000;
inline constexpr ZoColor Blue = 0xC00000;
inline constexpr ZoColor Yellow = 0x00FFFF;
inline constexpr ZoColor Red = 0x0000FF;

// View 0: the cut at constant z (a slice as loaded, u = x, v = y). View 1: the cut at constant y
// seen from the side (u = x, v = number of slices - z).
enum View { VistaCorteZ = 0, VistaLateral = 1 };

// A "+" of half-size r.
void DibujaCruz(PictureSurface &picture, qint16 x, qint16 y, qint16 r, ZoColor color);
// An "X" of half-size r.
void DibujaAspa(PictureSurface &picture, qint16 x, qint16 y, qint16 r, ZoColor color);
// A ring of radius r (fill style transparent).
void DibujaCirculo(PictureSurface &picture, qint16 x, qint16 y, qint16 r, ZoColor color);
// A crosshair over the whole picture: lines from 0 to 500 units, one unit left of and above the point.
void DibujaMira(PictureSurface &picture, qint16 x, qint16 y, ZoColor color);
void DibujaAspaVerde(PictureSurface &picture, qint16 x, qint16 y);
void DibujaCruzAzul(PictureSurface &picture, qint16 x, qint16 y);
void DibujaMiraAmarilla(PictureSurface &picture, qint16 x, qint16 y);
void DibujaLineaAzul(PictureSurface &picture, qint16 x1, qint16 y1, qint16 x2, qint16 y2);

// The cut at slice `index` (view 0) or row `index` (view 1).
void DibujaCorte(const ImagingState &state, PictureSurface &picture, qint32 index, int view);
// The side cut through the target's row with the centre (blue cross), the ray and the target (green X).
void DibujaVistaResonancia(const ImagingState &state, PictureSurface &picture);
// The 3D side rendering (u = z, v = y) with the yellow crosshair at the inner point.
void Dibuja3D(const ImagingState &state, PictureSurface &picture, qint16 umbralMinimo, qint16 umbralMaximo);
// The three landmarks: a yellow ring when on the shown slice, else a cross (yellow for landmark 1,
// red for the others); and the green line between landmarks 1 and 2.
void DibujaReferencias(const ImagingState &state, PictureSurface &picture, qint16 frame);

// Sets the scale so that a content of width x height units fills the picture from its top-left
// corner as far as it can while one unit across measures stretchU against stretchV units down.
void ajustaEscala(PictureSurface &picture, double width, double height, double stretchU, double stretchV);

} // namespace SliceRendering
