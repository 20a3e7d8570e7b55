#pragma once

#include "data/SubjectAiming.h"
#include "data/SubjectCalibration.h"
#include "imaging/DicomFiles.h"
#include "imaging/VolumeLayout.h"

#include <QString>

class ImagingState;
class SeriesLoader;

// A subject's stored MR calibration (data/SubjectCalibration.h) and the imaging side: the fingerprint
// that recognises a series on any station, and the calibration taken from and put into the imaging
// state, as the point selection window leaves it when accepted.
namespace StoredCalibration {

// A DICOM series: "dicom:" SeriesInstanceUID ":" image count.
QString dicomFingerprint(const DicomFiles::Series &series);
// A NIfTI file: "nifti-sha256:" the SHA-256 of its header (348 bytes for NIfTI-1, 540 for NIfTI-2,
// decompressed when the file is gzipped); "" (with *error when given) when no header can be read.
QString niftiFingerprint(const QString &path, QString *error = nullptr);

// What the loader built its volume from, after a load from `source` (a folder, or a NIfTI file)
// with the folder's series `series` (-1: the largest): the series' number in the folder's list (0
// first; 0 for a NIfTI file) and its fingerprint ("" when it has none, e.g. pictures).
struct Loaded {
    int seriesNumber = 0;
    QString fingerprint;
};
Loaded loaded(SeriesLoader &loader, const QString &source, int series);

// Loads the series the record names into the loader and checks it is the one calibrated (its
// fingerprint); false with *error (when given) telling why: no volume could be built, or the series
// under that name is another one (a folder replaced, another export).
bool loadCalibrated(SeriesLoader &loader, const SubjectCalibration::Record &record, QString *error = nullptr);

// The folder's series with that fingerprint, -1 when none has it.
int findSeries(const DicomFiles::Scan &scan, const QString &fingerprint);

// True when the voxel position lies in the volume of the state (0 <= x < columns and so on).
bool insideVolume(const ImagingState &state, const SubjectCalibration::Landmark &voxel);

// Puts the calibration into the state as the point selection left it when accepted: the defaults
// first, then the three landmarks, the distance, the interslice (the series' own when the record has
// none) and the record's zero frame. The one routine for every road back from the study (the
// associated MR window, the sites, the exports). Throws ImagingError naming the subject and the
// column when a landmark lies outside the volume, or the head centre cannot be found.
void apply(ImagingState &state, const SubjectCalibration::Record &record);

// The aiming of every cell as the study keeps it (data/SubjectAiming.h), from the state calibrated
// with `record` (apply(), and no gridRefusal) on the volume the affine places (the loader's layout):
// the scalp point the cell's aiming meets, in RAS mm, and the straight line from there to the head
// centre. Throws ImagingError when a point overflows, or a cell meets the scalp at the head centre.
SubjectAiming::Record aiming(ImagingState &state, const VolumeLayout::Affine &affine,
                             const SubjectCalibration::Record &record);

// The state's calibration as a record of the subject (accepted now).
SubjectCalibration::Record recordOf(const ImagingState &state, qint32 subjectId, const QString &series,
                                    const Loaded &loaded);

} // namespace StoredCalibration
