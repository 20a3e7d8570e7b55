#pragma once

#include <QtGlobal>

// The small vector library of the MR planning: distances, angles with a tolerance, rotations of a
// point about the axes, and the rounding every voxel coordinate goes through.
namespace ImagingMath {

// Values closer to zero than this count as zero.
inline constexpr double Epsilon = 1e-12;

// A point of the volume: x column, y row, z slice (0 for the first slice appended).
struct VoxelPoint {
    qint16 x = 0;
    qint16 y = 0;
    qint16 z = 0;
    friend bool operator==(const VoxelPoint &, const VoxelPoint &) = default;
};

// A point or vector in voxel units, before rounding.
struct Vector3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

// Nearest integer, halves to the even neighbour; throws ImagingError("Overflow") outside 16 bits.
qint16 Redondea16(double value);
// The same for 32-bit results.
qint32 Redondea32(double value);
// Narrows a 32-bit value to 16 bits; throws ImagingError("Overflow") when it does not fit.
qint16 Estrecha16(qint64 value);
VoxelPoint RedondeaPunto(const Vector3 &p);

double Distancia2D(double x1, double y1, double x2, double y2);
double Distancia3D(double x1, double y1, double z1, double x2, double y2, double z2);
// Distance of two voxel points, rounded to 16 bits.
qint16 DistanciaVoxels(const VoxelPoint &p, const VoxelPoint &q);

bool EsCero(double x);
bool EsPositivo(double x);
bool NoEsNegativo(double x);
double Pi();

// Angle of the vector (b, a) in (-pi, pi], with the tolerance of EsCero on both components.
double Angulo(double a, double b);
// a1 = Angulo(y, z), a2 = Angulo(z, x), a3 = Angulo(y, x).
void AngulosVector(const Vector3 &p, double &a1, double &a2, double &a3);

// Each rotation sets the point on its circle about the axis at angle (angulo + actual), keeping its
// distance to the axis; an angle that EsCero leaves the point untouched.
void RotaX(Vector3 &p, double angulo, double actual); // z = r cos t, y = r sin t
void RotaY(Vector3 &p, double angulo, double actual); // x = r cos t, z = r sin t
void RotaZ(Vector3 &p, double angulo, double actual); // x = r cos t, y = r sin t
// Turns p about the centre c by ax, ay, az (radians) in that order. The starting angles of all
// three rotations are taken before the first one, so a second rotation starts from the angle the
// point had before the first.
void RotaAlrededor(const Vector3 &c, Vector3 &p, double ax, double ay, double az);

} // namespace ImagingMath
