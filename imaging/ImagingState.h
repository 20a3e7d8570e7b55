#pragma once

#include "imaging/ImagingMath.h"

#include <QStringList>

class ImagingLibrary;

// The one imaging state of the application: the loaded volume, the calibration, the landmarks and
// the planning points, with the operations that compute on them. The state calls the imaging
// library it is given for the head centre, the surface search and the slice spacing.
//
// Rounding goes to the nearest integer with halves to even; a result outside 16 bits throws
// ImagingError("Overflow"), which the windows show.
class ImagingState {
public:
    using VoxelPoint = ImagingMath::VoxelPoint;
    using Vector3 = ImagingMath::Vector3;

    explicit ImagingState(ImagingLibrary &library);

    ImagingLibrary &library() const { return m_library; }

    // Kept by InicializaResonancia.
    qint32 VolumenActual = 0;
    QStringList SerieImagenes;
    double Interslice = 0;
    double MmPixelFijo = 0;
    double FrameCero = 0;
    double Incremento = 0;
    bool DialogoAceptado = false;

    // Reset by InicializaResonancia.
    double Distancia12 = 200.0;
    double OrigenZ = 1.0;
    Vector3 Referencia1{246, 121, 42};
    Vector3 Referencia2{25, 97, 42};
    Vector3 ReferenciaIlion{0, 0, 0};
    VoxelPoint PuntoIlion{10, 10, 0};
    VoxelPoint PuntoCentro{10, 10, 0};
    VoxelPoint PuntoExterno{10, 10, 0};
    VoxelPoint PuntoInterno{10, 10, 0};
    VoxelPoint PuntoTarget{10, 10, 0};
    double Radio = 0;
    double Profundidad = 0;
    double AnguloHorizontal = 0;
    double AnguloVertical = 0;
    qint16 UmbralMinimo = 0;
    qint16 UmbralMaximo = 0;
    // Whether the last surface search met the scalp: false when the line met nothing, or only the
    // edge of the volume (a field of view that cuts the head there); PuntoExterno then names no scalp.
    bool scalpFound = false;

    // Sets the defaults; the planning points go to (10, 10, m), m being half the index range of
    // SerieImagenes, rounded.
    void InicializaResonancia();
    // The fixed mm per pixel when there is one, else Distancia12 over the voxel distance of the two
    // calibration landmarks (z unscaled), 1.0 when they coincide.
    double MmPorPixel() const;
    void PonEspaciado(double interslice, double mmPorPixel, double frameCero);
    void PonCalibracion(double distancia, double interslice, double origenZ);
    void DameCalibracion(double &distancia, double &interslice, double &origenZ, double &mmPixelFijo,
                         double &frameCero) const;
    // cual 1, 2 or 3 sets Referencia1, Referencia2 or ReferenciaIlion; the slice spacing is first
    // recomputed with the landmarks as they were.
    void PonReferencia(double x, double y, double z, qint16 cual);
    void CalculaCentro();
    void PonParametros(double profundidad, double horizontal, double vertical, qint16 umbralMinimo,
                       qint16 umbralMaximo);
    void ApuntaConAngulos();
    void BuscaSuperficie(const qint32 a[3], const qint32 b[3]);
    void ColocaTarget();
    // Turns arcs on the scalp (mm) into angles (degrees) on a circle of the head's radius. Throws
    // ImagingError when the radius is 0 (the Ilion landmark at the head centre), leaving the angles
    // unchanged.
    void ArcosAAngulos(qint16 arcoH, qint16 arcoV, double &anguloH, double &anguloV) const;
    // Number of slices minus z.
    qint16 InvierteCorte(qint16 z) const;
    // Side-view coordinates of a voxel point: u = x, v = InvierteCorte(z).
    void PuntoAVista(const VoxelPoint &p, qint16 &u, qint16 &v) const;

private:
    void sendIncrement();

    ImagingLibrary &m_library;
};
