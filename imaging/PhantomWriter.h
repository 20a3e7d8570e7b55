#pragma once

#include <QString>

// A synthetic MR head series with known geometry, for tests and the demo: an ellipsoidal head with a
// bright scalp shell, a dark skull shell and a brain (grey rim, whiter core), in air.
//
// The slices are written as uncompressed DICOM MR images (explicit little endian, 12 bits stored)
// named slice0001.dcm, slice0002.dcm, ... in slice order, with PixelSpacing, SliceThickness,
// SpacingBetweenSlices, ImagePositionPatient (one slice spacing apart along the normal, the middle
// slice through the origin), ImageOrientationPatient, a window and modality MR.
namespace Phantom {

struct Options {
    int slices = 100;
    int size = 256;            // columns and rows
    double spacing = 1.0;      // mm between pixel centres
    double thickness = 2.0;    // mm between slice centres
    bool monochrome1 = false;  // store the same picture as MONOCHROME1 (inverted values)
    double windowWidth = 1024; // 0 writes a window of width 0
};

// Where the head lies, in voxel units (x column, y row, z slice). A voxel is head when
// ((x - cx) / rx)^2 + ((y - cy) / ry)^2 + ((z - cz) / rz)^2 <= 1; the scalp is the outer shell
// down to ScalpInner of that scale, the skull down to SkullInner, the brain inside.
struct Geometry {
    double cx = 0, cy = 0, cz = 0;
    double rx = 0, ry = 0, rz = 0;
    static constexpr double ScalpInner = 0.88;
    static constexpr double SkullInner = 0.80;
    // Stored values before the window: the window (centre 512) maps them to about 250, 20, 130, 175.
    static constexpr int Scalp = 1000;
    static constexpr int Skull = 80;
    static constexpr int GreyMatter = 520;
    static constexpr int WhiteMatter = 700;

    // The scale of a voxel: 1 on the scalp surface, below 1 inside.
    double scale(double x, double y, double z) const;
    // Distance from the centre to the scalp surface along a direction in voxel units.
    double scalpDistance(double dx, double dy, double dz) const;
};

Geometry geometry(const Options &options);

// Writes the series into the directory (created if needed). False with *error set on failure.
bool write(const QString &directory, const Options &options, QString *error = nullptr);

} // namespace Phantom
