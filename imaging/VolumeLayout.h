#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// Volumes as scanners write them, and the one layout the program holds every volume in.
//
// Patient coordinates are DICOM's: millimetres, +x towards the subject's left, +y towards the back
// of the head (posterior), +z towards the top of the head (superior), "LPS".
//
// The program's layout, the one a series of lateral (sagittal) slices gives and the planning
// geometry assumes:
//   - columns (x) run from the face to the back of the head: anterior to posterior;
//   - rows (y) run from the top of the head down: superior to inferior;
//   - slices (z) run from the subject's left to right;
//   - voxels are square in the slice plane (the in-plane pixel size); the spacing between slices
//     is the series' own.
// NIfTI's axis codes (which name the direction an index grows towards, in RAS terms) call it P, I, R.
namespace VolumeLayout {

using Vec3 = std::array<double, 3>;
// The voxel to patient transform: patient = origin + i * axes[0] + j * axes[1] + k * axes[2], each
// axis vector being the step of one voxel along that index in mm (direction times spacing).
struct Affine {
    Vec3 origin{0, 0, 0};
    std::array<Vec3, 3> axes{Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}};

    Vec3 map(double i, double j, double k) const;
    double spacing(int axis) const;
    Vec3 direction(int axis) const; // unit vector
};

// The inverse of the affine's 3 x 3 part (its axis steps as columns), row by row: voxel = inverse x
// (point - origin). False when it is singular.
bool invertAxes(const Affine &affine, std::array<Vec3, 3> &inverse);

// 8-bit voxels in index order (i fastest, then j, then k) with their placement in patient space.
struct ScannerVolume {
    std::array<int, 3> dims{0, 0, 0};
    std::vector<std::uint8_t> voxels;
    Affine affine;

    std::size_t index(int i, int j, int k) const {
        return (static_cast<std::size_t>(k) * dims[1] + j) * dims[0] + i;
    }
    bool empty() const { return voxels.empty(); }
};

// The three orientations a series is named by, after its slice normal.
enum class Orientation { Sagittal, Axial, Coronal };
QString orientationName(Orientation orientation); // "sagittal", "axial", "coronal"
// The orientation whose normal lies nearest to the given slice normal (patient coordinates).
Orientation orientationOfNormal(const Vec3 &normal);
// "axial", or "axial (oblique, 10.0 degrees)" when the normal is more than 0.5 degrees off the axis.
QString describeOrientation(const Vec3 &normal);

// The unit directions of the program's layout in patient coordinates: P, I, R.
inline constexpr std::array<Vec3, 3> LayoutAxes{Vec3{0, 1, 0}, Vec3{0, 0, -1}, Vec3{-1, 0, 0}};

// What bringing a volume into the layout did.
struct Oriented {
    ScannerVolume volume;          // in the layout; affine places it in patient space
    double pixelMm = 0;            // in-plane size of a voxel (columns and rows)
    double sliceMm = 0;            // spacing between slices (subject's left to right)
    std::array<int, 3> source{};   // for each layout axis, the source axis it came from
    std::array<bool, 3> flipped{}; // whether that source axis was reversed
    bool resampled = false;        // some axis was resampled to the in-plane pixel size
};

// Brings a volume into the layout: each layout axis takes the source axis nearest to it (so an
// oblique series goes to the nearest of sagittal, axial and coronal, and keeps its tilt in the
// affine), reversed where it points the other way. The pixel size is the smallest spacing of the
// source axes that end up in the slice plane; a slice-plane axis whose spacing differs from it by
// more than 1% is resampled to it (trilinear). The axis across the head keeps its spacing. The
// voxels are moved on up to `threads` threads.
Oriented toLayout(ScannerVolume source, int threads = 1);

// How the voxels of a volume of these dims and affine move into the layout (toLayout's first step,
// before any resampling): the layout's dims and affine, and for each layout axis its source axis,
// whether it is reversed and its step in the source (in voxels).
struct Reorder {
    std::array<int, 3> dims{};
    Affine affine;
    std::array<int, 3> source{};
    std::array<bool, 3> flipped{};
    std::array<std::ptrdiff_t, 3> stride{};
    std::ptrdiff_t start = 0; // the source voxel that becomes the layout's first
    bool identity = false;    // the volume is in the layout already
    // Calls row(to, from) for every row of the layout, on up to `threads` threads: `to` the index of
    // its first voxel in the layout, `from` that voxel's in the source; along the row the source
    // index moves by stride[0].
    void forEachRow(int threads, const std::function<void(std::size_t, std::ptrdiff_t)> &row) const;
};
Reorder reorder(const std::array<int, 3> &dims, const Affine &affine);
// The order that leaves a volume as it is.
Reorder keepOrder(const std::array<int, 3> &dims, const Affine &affine);

// The volume as a series of pictures carries no orientation: these are the affines that the
// "Images as lateral slices" box chooses for such pictures. Lateral: pictures are already in the
// layout (columns to the back, rows down, first picture the subject's left side). Not lateral:
// axial pictures as scanners show them (columns from the subject's right to left, rows from the
// face to the back, first picture the lowest).
Affine picturesAffine(bool lateral, double pixelMm, double sliceMm);

// What an MR head series can reach. A header that claims more is damaged or hostile, and is refused
// before anything is set aside for it.
inline constexpr int MinAxisVoxels = 2;    // along each axis of the volume in the layout
inline constexpr int MaxAxisVoxels = 4096; // along any axis, as stored or in the layout
inline constexpr std::int64_t MaxVoxels = std::int64_t(512) << 20;
inline constexpr double MinSpacingMm = 0.01; // between the centres of neighbouring voxels
inline constexpr double MaxSpacingMm = 100;
inline constexpr double MaxSpacingRatio = 100; // the largest spacing over the smallest

// Why a volume of these sizes (voxels along each axis, as stored) placed by this affine is beyond an
// MR head series: an axis of more than MaxAxisVoxels or none, more than MaxVoxels in all, a spacing
// that is not a finite number between MinSpacingMm and MaxSpacingMm, spacings further apart than
// MaxSpacingRatio. "" when it is within them. Every product is taken in 64 bits, so no claim
// overflows. Readers call it before they allocate; an axis of one voxel (a single slice) passes here.
QString sizeProblem(const std::array<std::int64_t, 3> &dims, const Affine &affine);

// sizeProblem, and then the volume as toLayout would make it: each axis from MinAxisVoxels to
// MaxAxisVoxels voxels after the in-plane resampling, at most MaxVoxels in all. The loader calls it
// before toLayout, which takes only volumes that pass.
QString layoutProblem(const std::array<std::int64_t, 3> &dims, const Affine &affine);

} // namespace VolumeLayout
