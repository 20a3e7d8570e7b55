#include "imaging/ImagingMath.h"

#include "imaging/ImagingError.h"

#include <cmath>
#include <limits>

namespace ImagingMath {

namespace {

const QString OverflowText = QStringLiteral("Overflow");

template <typename Int> Int roundChecked(double value) {
    // std::nearbyint rounds halves to even in the default rounding mode.
    const double r = std::nearbyint(value);
    if (!(r >= std::numeric_limits<Int>::min() && r <= std::numeric_limits<Int>::max())) {
        throw ImagingError(OverflowText);
    }
    return static_cast<Int>(r);
}

} // namespace

qint16 Redondea16(double value) {
    return roundChecked<qint16>(value);
}

qint32 Redondea32(double value) {
    return roundChecked<qint32>(value);
}

qint16 Estrecha16(qint64 value) {
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max()) {
        throw ImagingError(OverflowText);
    }
    return static_cast<qint16>(value);
}

VoxelPoint RedondeaPunto(const Vector3 &p) {
    return {Redondea16(p.x), Redondea16(p.y), Redondea16(p.z)};
}

double Distancia2D(double x1, double y1, double x2, double y2) {
    return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

double Distancia3D(double x1, double y1, double z1, double x2, double y2, double z2) {
    return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1) + (z2 - z1) * (z2 - z1));
}

qint16 DistanciaVoxels(const VoxelPoint &p, const VoxelPoint &q) {
    return Redondea16(Distancia3D(p.x, p.y, p.z, q.x, q.y, q.z));
}

bool EsCero(double x) {
    return -Epsilon < x && x < Epsilon;
}

bool EsPositivo(double x) {
    return x > Epsilon;
}

bool NoEsNegativo(double x) {
    return x > -Epsilon;
}

double Pi() {
    return 4.0 * std::atan(1.0);
}

double Angulo(double a, double b) {
    if (EsCero(b)) {
        if (EsCero(a)) {
            return 0.0;
        }
        return EsPositivo(a) ? Pi() / 2 : -Pi() / 2;
    }
    if (EsPositivo(b)) {
        return std::atan(a / b);
    }
    return NoEsNegativo(a) ? std::atan(a / b) + Pi() : std::atan(a / b) - Pi();
}

void AngulosVector(const Vector3 &p, double &a1, double &a2, double &a3) {
    a1 = Angulo(p.y, p.z);
    a2 = Angulo(p.z, p.x);
    a3 = Angulo(p.y, p.x);
}

namespace {

// The rotations about one axis: the point's coordinates (c, s) in the plane across it are put at the
// angle angulo + actual, at their distance from the axis; nothing moves for a zero angle.
void rotateInPlane(double &c, double &s, double angulo, double actual) {
    if (EsCero(angulo)) {
        return;
    }
    const double r = std::sqrt(c * c + s * s);
    const double t = angulo + actual;
    c = r * std::cos(t);
    s = r * std::sin(t);
}

} // namespace

void RotaX(Vector3 &p, double angulo, double actual) {
    rotateInPlane(p.z, p.y, angulo, actual);
}

void RotaY(Vector3 &p, double angulo, double actual) {
    rotateInPlane(p.x, p.z, angulo, actual);
}

void RotaZ(Vector3 &p, double angulo, double actual) {
    rotateInPlane(p.x, p.y, angulo, actual);
}

void RotaAlrededor(const Vector3 &c, Vector3 &p, double ax, double ay, double az) {
    p = {p.x - c.x, p.y - c.y, p.z - c.z};
    double a1 = 0;
    double a2 = 0;
    double a3 = 0;
    AngulosVector(p, a1, a2, a3);
    RotaX(p, ax, a1);
    RotaY(p, ay, a2);
    RotaZ(p, az, a3);
    p = {p.x + c.x, p.y + c.y, p.z + c.z};
}

} // namespace ImagingMath
