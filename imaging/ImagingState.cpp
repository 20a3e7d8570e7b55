#include "imaging/ImagingState.h"

#include "imaging/ImagingError.h"
#include "imaging/ImagingLibrary.h"

#include <algorithm>

#include <QCoreApplication>

using namespace ImagingMath;

ImagingState::ImagingState(ImagingLibrary &library) : m_library(library) {
    InicializaResonancia();
}

void ImagingState::InicializaResonancia() {
    Distancia12 = 200.0;
    OrigenZ = 1.0;
    Referencia1 = {246, 121, 42};
    Referencia2 = {25, 97, 42};
    ReferenciaIlion = {0, 0, 0};
    // An empty list has no bounds; it is taken as the single-entry listing of an empty directory.
    const qint16 m = Redondea16((std::max<qsizetype>(SerieImagenes.size(), 1) - 1) / 2.0);
    const VoxelPoint start{10, 10, m};
    PuntoIlion = start;
    PuntoCentro = start;
    PuntoExterno = start;
    PuntoInterno = start;
    PuntoTarget = start;
    Radio = 0;
    Profundidad = 0;
    AnguloHorizontal = 0;
    AnguloVertical = 0;
    UmbralMinimo = 0;
    UmbralMaximo = 0;
    scalpFound = false;
}

double ImagingState::MmPorPixel() const {
    if (MmPixelFijo > 0) {
        return MmPixelFijo;
    }
    const double d =
        Distancia3D(Referencia1.x, Referencia1.y, Referencia1.z, Referencia2.x, Referencia2.y, Referencia2.z);
    return d <= 0 ? 1.0 : Distancia12 / d;
}

void ImagingState::PonEspaciado(double interslice, double mmPorPixel, double frameCero) {
    Interslice = interslice;
    MmPixelFijo = mmPorPixel;
    FrameCero = frameCero;
    if (mmPorPixel > 0) {
        Incremento = interslice / mmPorPixel;
    }
}

void ImagingState::sendIncrement() {
    Incremento = Interslice / MmPorPixel();
    m_library._d2_setIncremento(VolumenActual, Incremento);
}

void ImagingState::PonCalibracion(double distancia, double interslice, double origenZ) {
    Distancia12 = distancia;
    Interslice = interslice;
    OrigenZ = origenZ;
    sendIncrement();
    CalculaCentro();
    Radio = DistanciaVoxels(PuntoCentro, PuntoIlion);
}

void ImagingState::DameCalibracion(double &distancia, double &interslice, double &origenZ,
                                   double &mmPixelFijo, double &frameCero) const {
    distancia = Distancia12;
    interslice = Interslice;
    origenZ = OrigenZ;
    mmPixelFijo = MmPixelFijo;
    frameCero = FrameCero;
}

void ImagingState::PonReferencia(double x, double y, double z, qint16 cual) {
    sendIncrement();
    switch (cual) {
    case 1:
        Referencia1 = {x, y, z};
        break;
    case 2:
        Referencia2 = {x, y, z};
        break;
    case 3:
        ReferenciaIlion = {x, y, z};
        break;
    default:
        break;
    }
}

void ImagingState::CalculaCentro() {
    PuntoIlion = RedondeaPunto(ReferenciaIlion);
    const qint32 cx = m_library._d2_dame_posicion_central(VolumenActual, PuntoIlion.y, PuntoIlion.z);
    PuntoCentro = {Estrecha16(cx), PuntoIlion.y, PuntoIlion.z};
}

void ImagingState::PonParametros(double profundidad, double horizontal, double vertical, qint16 umbralMinimo,
                                 qint16 umbralMaximo) {
    Profundidad = profundidad;
    AnguloHorizontal = horizontal;
    AnguloVertical = vertical;
    UmbralMinimo = umbralMinimo;
    UmbralMaximo = umbralMaximo;
    ColocaTarget();
}

void ImagingState::ApuntaConAngulos() {
    Vector3 p{double(PuntoIlion.x), double(PuntoIlion.y), double(PuntoIlion.z)};
    const Vector3 c{double(PuntoCentro.x), double(PuntoCentro.y), double(PuntoCentro.z)};
    RotaAlrededor(c, p, 0, AnguloHorizontal * Pi() / 180, -AnguloVertical * Pi() / 180);
    const qint32 a[3] = {PuntoCentro.x, PuntoCentro.y, PuntoCentro.z};
    const qint32 b[3] = {Redondea32(p.x), Redondea32(p.y), Redondea32(p.z)};
    BuscaSuperficie(a, b);
}

void ImagingState::BuscaSuperficie(const qint32 a[3], const qint32 b[3]) {
    qint32 out[6] = {0, 0, 0, 0, 0, 0};
    scalpFound = m_library._d2_dameUmbral3D(VolumenActual, a, b, UmbralMinimo, UmbralMaximo, out);
    qint32 size[3] = {0, 0, 0};
    m_library._d2_dimensiones(VolumenActual, size[0], size[1], size[2]);
    for (int axis = 0; axis < 3 && scalpFound; ++axis) {
        scalpFound = out[axis] > 0 && out[axis] < size[axis] - 1;
    }
    PuntoExterno = {Estrecha16(out[0]), Estrecha16(out[1]), Estrecha16(out[2])};
    PuntoInterno = {Estrecha16(out[3]), Estrecha16(out[4]), Estrecha16(out[5])};
    ColocaTarget();
}

void ImagingState::ColocaTarget() {
    const VoxelPoint &e = PuntoExterno;
    const VoxelPoint &c = PuntoCentro;
    const double dxy = Distancia2D(c.x, c.y, e.x, e.y);
    const double dxz = Distancia2D(c.x, c.z, e.x, e.z);
    auto place = [&](qint16 outer, qint16 centre, double d) -> qint16 {
        if (outer == centre) {
            return outer;
        }
        return Redondea16(outer - (outer - centre) * Profundidad / d);
    };
    PuntoTarget = {place(e.x, c.x, dxy), place(e.y, c.y, dxy), place(e.z, c.z, dxz)};
}

void ImagingState::ArcosAAngulos(qint16 arcoH, qint16 arcoV, double &anguloH, double &anguloV) const {
    const double r = MmPorPixel() * Radio;
    if (!EsPositivo(r)) {
        throw ImagingError(QCoreApplication::translate(
            "ImagingState", "The Ilion point lies at the head centre: the head radius is 0, "
                            "so the grid cannot be placed on the MR."));
    }
    anguloH = arcoH * 360.0 / (2 * Pi() * r);
    anguloV = arcoV * 360.0 / (2 * Pi() * r);
}

qint16 ImagingState::InvierteCorte(qint16 z) const {
    qint32 x = 0;
    qint32 y = 0;
    qint32 slices = 0;
    m_library._d2_dimensiones(VolumenActual, x, y, slices);
    return Estrecha16(qint64(slices) - z);
}

void ImagingState::PuntoAVista(const VoxelPoint &p, qint16 &u, qint16 &v) const {
    u = p.x;
    v = InvierteCorte(p.z);
}
