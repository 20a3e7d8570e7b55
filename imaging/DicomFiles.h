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
// a series is then split into its volumes: by echo number, temporal position, diffusion b-value and
// direction and image type, and, where positions still repeat, the n-th image at each position into
// the n-th volume (fMRI and DTI series that say nothing else). Within a volume slices are ordered by
// their position along the slice normal, then InstanceNumber, then file name, and each is given its
// place on the volume's regular grid of slices, so a missing slice leaves its place empty. Enhanced
// (multi-frame) MR files give one slice per frame, placed by their per-frame functional groups.
// Siemens mosaics (fMRI and diffusion, many slices tiled in one picture) are recognised and refused.
//
// Decoding reads every file once, keeping its stored values as 16-bit codes with the rescale that
// makes them modality values (two bytes a voxel; each code is rescaled and windowed once, through a
// lookup table). One window then turns the whole volume into 8 bits alike in every slice: the window every
// file of the volume carries when they all carry the same one, else the volume's own (GreyWindow.h: its least
// value to its 99.5th percentile, as for NIfTI volumes), as scanners window each slice on its own.
// MONOCHROME1 is shown as meant; a colour image is refused, saying so. Uncompressed data in any byte order,
// deflate, RLE, JPEG and JPEG-LS decode; JPEG 2000 cannot be decoded by Debian's DCMTK and is refused with a
// message naming the file.
namespace DicomFiles {

struct Slice {
    QString path;
    int frame = 0; // frame within the file
    bool hasPosition = false;
    VolumeLayout::Vec3 position{0, 0, 0};
    int instance = 0;
    double pixelSpacing[2] = {0, 0};
    QString volumeKey; // echo, temporal position, diffusion and image type, as read
    int volume = 0;    // the volume of its series it belongs to
    int place = 0;     // its place on the volume's grid of slices, from 0
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
    int places = 0;           // slices of the volume's regular grid, the empty places among them
    int emptyPlaces = 0;      // places no file fills (missing slices)
    bool hasOrientation = false;
    VolumeLayout::Vec3 rowDirection{1, 0, 0};    // direction of increasing column index
    VolumeLayout::Vec3 columnDirection{0, 1, 0}; // direction of increasing row index
    // Every image of the series, volume after volume, each volume in position order.
    std::vector<Slice> slices;
    int volumes = 1;         // volumes the series holds (echoes, time points, directions...)
    QStringList volumeNames; // what tells each apart ("echo 2", "repeat 3"); empty for one volume
    int mosaicImages = 0;    // a Siemens mosaic: the images tiled in each picture (-1: not said)
    // Files whose pixel size or distance to the next slice differs from the series' by more than 1%,
    // and the text that says how; empty when the series is regular.
    int irregularFiles = 0;
    QString irregularity;

    // One volume of the series (from 0) as a series of its own, placed and checked: what
    // decodeSeries takes.
    Series volume(int index) const;
    VolumeLayout::Vec3 normal() const;
    // "sagittal", "axial (oblique, 10.0 degrees)"...; "unknown" without ImageOrientationPatient.
    QString orientation() const;
    // "3: T1 SAG (120 images, sagittal)", "7: DTI (930 images in 31 volumes, axial)"
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
    // The series a load takes unless told: of those of one volume that are not mosaics, the one
    // with most images (an anatomical series: a 3D acquisition or a full stack of slices), else the
    // series with most images; the first of them on a tie; -1 when there is none.
    int preferredSeries() const;
    // The series the scanner numbered so (SeriesNumber), the preferred one of them by the same rule
    // when one number holds several (a localizer's planes); -1 when none is.
    int seriesNumbered(const QString &number) const;
};

// Reads the headers of every file of the folder (not its subfolders), on `threads` threads (every
// core when 0). A file whose header cannot be read in the memory there is, is refused, named.
Scan scanFolder(const QString &folder, int threads = 0);

// Decodes the first volume of the series (the whole series when it is one volume: see
// Series::volume) into a volume, its voxels in file order (i column, j row, k the slice's place)
// with the affine of the series, or, with `inLayout` and a placed series, already brought into the
// layout (VolumeLayout::reorder; the loader's way, which saves moving the volume once more); an empty place
// stays black. A mosaic or a colour image is refused. Runs on `threads` threads; progress(done, total) is
// called on the calling thread. A series beyond a head series' sizes (VolumeLayout::sizeProblem) is refused
// before its voxels are set aside, naming its first file. Files that cannot be decoded (pixel data shorter
// than the header says among them) are listed in *failures with the reason and leave a black slice; false
// when no slice could be decoded.
bool decodeSeries(const Series &series, VolumeLayout::ScannerVolume &volume, QStringList *failures,
                  int threads = 1, const std::function<void(int done, int total)> &progress = {},
                  bool inLayout = false);

} // namespace DicomFiles
