#pragma once

#include <QString>

// A synthetic MR head series with known geometry, for tests and the demo: an ellipsoidal head with a
// bright scalp shell, a dark skull shell and a brain (grey rim, whiter core), in air, with a nose at
// the front and a bright mark inside the left side of the brain, so a flipped axis shows.
//
// The head is defined in the scanner's patient space (millimetres, DICOM's LPS) and sampled on the
// grid of the chosen orientation, centred on the origin: `size` x `size` pixels of `spacing` mm in
// the slice plane, `slices` slices `thickness` mm apart. Its extent along each body axis is a fixed
// fraction of the grid's extent along it (see Geometry), so the same options in any orientation of
// a cube grid write the same head.
//
// Slices are uncompressed DICOM MR images (explicit little endian, 12 bits stored) with PixelSpacing,
// SliceThickness, SpacingBetweenSlices, ImagePositionPatient, ImageOrientationPatient, a window and
// modality MR, named slice0001.dcm, slice0002.dcm... in slice order, or by their SOP instance UID
// without extension (and with their instance numbers shuffled) when names are shuffled; or, multi-frame,
// one enhanced MR file "enhanced.dcm" whose frames carry their positions in per-frame functional
// groups (in shuffled order when names are shuffled).
//
// A tilt turns the whole acquisition, head and slices together, about the images' row direction: the
// pictures stay the same, the orientation and positions written become oblique, as when a
// technologist aligns the slices with a head that lies tilted in the scanner.
namespace Phantom {

enum class Orientation { Sagittal, Axial, Coronal };

struct Options {
    int slices = 100;
    int size = 256;            // columns and rows
    double spacing = 1.0;      // mm between pixel centres
    double thickness = 2.0;    // mm between slice centres
    bool monochrome1 = false;  // store the same picture as MONOCHROME1 (inverted values)
    double windowWidth = 1024; // 0 writes a window of width 0
    Orientation orientation = Orientation::Sagittal;
    double tiltDegrees = 0;
    bool shuffleNames = false;
    bool multiFrame = false; // one enhanced MR file holding every slice as a frame
    // Single-frame files only: false leaves out the placement (ImagePositionPatient,
    // ImageOrientationPatient, SliceLocation), or the slice spacing (SliceThickness, SpacingBetweenSlices).
    bool placed = true;
    bool spaced = true;
    // Single-frame files only. Each slice windowed on its own, as scanners auto-window: its window
    // spans its own values (its width 0.6 to 1.4 times their range, from slice to slice), and the air
    // holds faint noise (stored 0 to 3), so a slice outside the head carries a window a few values wide.
    bool ownWindows = false;
    // Single-frame files only. Each slice rescaled on its own: slice k stores its values divided by
    // 1 + k % 3 (rounded), saying so in RescaleSlope, so one stored value means three in the volume.
    bool ownRescale = false;
    // Several volumes in one series: every position written `volumes` times, instance numbers running
    // on. As echoes, each volume says its EchoNumbers and is darker than the one before (values
    // divided by the echo number); else nothing tells them apart but their repeated positions (an
    // fMRI series). Names: slice0001.dcm... for the first volume, slice0001-2.dcm... for the second.
    int volumes = 1;
    bool echoes = false;
    int seriesNumber = 1; // SeriesNumber, as the scanner numbers the series of an exam
    // Marks the files as a Siemens mosaic (ImageType ...\MOSAIC, NumberOfImagesInMosaic 4).
    bool mosaic = false;
};

// Where the head lies in the volume the loader builds from a sagittal series of these options,
// in voxel units (x column from the face back, y row from the top down, z slice from the subject's
// left to right). A voxel is head when ((x - cx) / rx)^2 + ((y - cy) / ry)^2 + ((z - cz) / rz)^2 <= 1;
// the scalp is the outer shell down to ScalpInner of that scale, the skull down to SkullInner, the
// brain inside. The nose stands in front of the face (small x), below the centre; the side mark lies
// in the left half (small z).
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
    static constexpr int Mark = 1000;

    // The scale of a voxel: 1 on the scalp surface, below 1 inside.
    double scale(double x, double y, double z) const;
};

Geometry geometry(const Options &options);

// Writes the series into the directory (created if needed). False with *error set on failure.
bool write(const QString &directory, const Options &options, QString *error = nullptr);

} // namespace Phantom
