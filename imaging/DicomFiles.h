#pragma once

#include "imaging/VolumeLayout.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The DICOM side of the imaging library, on DCMTK: finding the series of a folder and decoding one
// into a volume placed in patient space. DCMTK's own log is limited to errors.
//
// Files are recognised by their content, whatever their name (the "DICM" preamble, or a data set
// that parses without one). Files that are not images (DICOMDIR, reports, anything not DICOM) are
// skipped and counted. Images are grouped into series by SeriesInstanceUID, orientation and size;
// within a series slices are ordered by their position along the slice normal, then
// InstanceNumber, then file name. Enhanced (multi-frame) MR files give one slice per frame, placed by
// their per-frame functional groups.
//
// Decoding takes every file once: the first window of each file (or the min-max window when there
// is none or its width is below 1), MONOCHROME1 shown as meant, colour turned to grey, 8 bits.
// Uncompressed data in any byte order, deflate, RLE, JPEG and JPEG-LS decode; JPEG 2000 cannot be
// decoded by Debian's DCMTK and is refused with a message naming the file.
namespace DicomFiles {

struct Slice {
    QString path;
    int frame = 0; // frame within the file
    bool hasPosition = false;
    VolumeLayout::Vec3 position{0, 0, 0};
    int instance = 0;
};

struct Series {
    QString uid;
    QString description; // SeriesDescription, else the modality and series number
    QString number;      // SeriesNumber
    int rows = 0;
    int columns = 0;
    double rowSpacing = 0;    // mm between rows (PixelSpacing's first value)
    double columnSpacing = 0; // mm between columns (its second value)
    double sliceSpacing = 0;  // SpacingBetweenSlices, else SliceThickness; used without positions
    double positionGap = 0;   // the median distance between consecutive slice positions (0: none)
    bool hasOrientation = false;
    VolumeLayout::Vec3 rowDirection{1, 0, 0};    // direction of increasing column index
    VolumeLayout::Vec3 columnDirection{0, 1, 0}; // direction of increasing row index
    std::vector<Slice> slices;                   // in position order
    // Files whose pixel size or distance to the next slice differs from the series' by more than 1%,
    // and the text that says how; empty when the series is regular.
    int irregularFiles = 0;
    QString irregularity;

    VolumeLayout::Vec3 normal() const;
    // "sagittal", "axial (oblique, 10.0 degrees)"...; "unknown" without ImageOrientationPatient.
    QString orientation() const;
    // "3: T1 SAG (120 images, sagittal)"
    QString label() const;
};

struct Scan {
    std::vector<Series> series; // by series number, then description
    int filesSeen = 0;
    int skippedFiles = 0;       // not images of any series
    QStringList skippedReasons; // "NAME: reason", the first few
    // Of the skipped files, the images whose header cannot be right (sizes beyond a head series, more
    // pixel data claimed than the file holds, a damaged pixel size): "PATH: reason", every one.
    QStringList refused;
    // The series with the most images (the first of them on a tie); -1 when there is none.
    int largestSeries() const;
};

// Reads the headers of every file of the folder (not its subfolders), on every core.
Scan scanFolder(const QString &folder);

// Decodes the series into a volume, its voxels in file order (i column, j row, k slice in position
// order) with the affine of the series. Runs on `threads` threads; progress(done, total) is called on
// the calling thread. A series beyond a head series' sizes (VolumeLayout::sizeProblem) is refused
// before its voxels are set aside, naming its first file. Files that cannot be decoded (pixel data
// shorter than the header says among them) are listed in *failures with the reason and leave a black
// slice; false when no slice could be decoded.
bool decodeSeries(const Series &series, VolumeLayout::ScannerVolume &volume, QStringList *failures,
                  int threads = 1, const std::function<void(int done, int total)> &progress = {});

} // namespace DicomFiles
