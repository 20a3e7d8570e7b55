#pragma once

#include "brain/BrainSpace.h"
#include "data/SubjectCalibration.h"
#include "data/SubjectNormalisation.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"
#include "imaging/SeriesLoader.h"
#include "imaging/VolumeLayout.h"
#include "results/PhospheneMap.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// The stimulation sites of a calibrated subject in the scanner's space: for every grid cell the
// point where the aiming meets the scalp (as `plan` and the associated MR window find it) and the
// target, the chosen depth beneath it on the straight line to the head centre, in the coordinates
// of the exported volume (NIfTI world: RAS+, millimetres), with the cell's stimuli and answers.
//
// The associated MR window places its target by moving each axis by its own fraction of the way to
// the centre; that view keeps its formula, the sites take the straight line, which can lie a few mm
// less deep than the view's target.
namespace StimulationSites {

using Vec3 = VolumeLayout::Vec3;

// A ball of this radius around each target marks it in the overlay.
inline constexpr double BallRadiusMm = 5.0;

struct Site {
    int cell = -1;
    // False when the cell's aiming meets no scalp (the field of view cuts the head there): the cell
    // has no scalp point nor target, and every output leaves it empty rather than make one up.
    bool found = true;
    Vec3 scalp{0, 0, 0};       // RAS mm
    Vec3 target{0, 0, 0};      // RAS mm
    Vec3 scalpVoxel{0, 0, 0};  // in the volume as held (x column, y row, z slice)
    Vec3 targetVoxel{0, 0, 0}; // the same, between voxels
    PhospheneMap::CellCounts counts;
    // In the template's space, for a normalised subject (addBrainSpace): the target in MNI (RAS mm),
    // the atlas area there ("" when none) and the millimetres from the scalp point along the aiming
    // line to the template's brain carried into the subject's space.
    std::optional<Vec3> mni;
    QString area;
    std::optional<double> brainDistance;
};

struct Sites {
    double depthMm = 0;
    Vec3 centre{0, 0, 0}; // the head centre, RAS mm
    std::array<Site, GridCells::Count> cells{};
};

// A position of the program's patient space (DICOM LPS) in NIfTI's world (RAS), and back: x and y
// change sign.
Vec3 toRas(const Vec3 &lps);

// Aims at the 50 cells from the calibrated state whose volume the affine places (the loader's
// layout). Counts stay empty. Throws ImagingError when the grid cannot be placed.
Sites aim(ImagingState &state, const VolumeLayout::Affine &affine, double depthMm);

// Refuses a depth past the head centre, which lies `length` mm beneath the scalp at the cell: throws
// ImagingError saying so.
void checkDepth(double depthMm, double length, int cell);

// The cells whose aiming met no scalp, in order.
QList<qint32> missingCells(const Sites &sites);

// Gives every site its place in the template's space through the subject -> MNI affine.
void setBrainSpace(Sites &sites, const std::array<double, 16> &subjectToMni, const BrainSpace &space);

// The subject's stored normalisation, when it was computed on the calibration's series; nothing when
// the subject has none. Throws StudyError, and BrainError for a normalisation of another series.
std::optional<SubjectNormalisation::Record> normalisationOf(const QSqlDatabase &db,
                                                            const SubjectCalibration::Record &calibration);

// setBrainSpace for a normalised subject, with the template and atlas found as BrainTemplate::find
// finds them (looked for only then); a subject that is not normalised keeps the columns empty. False
// when it is not normalised. Throws StudyError, BrainError.
bool addBrainSpace(Sites &sites, const QSqlDatabase &db, const SubjectCalibration::Record &calibration,
                   const QString &atlasOverride = {});

// Gives every site its cell's counts.
void setCounts(Sites &sites, const PhospheneMap::Counts &counts);

// The table: header "cell, row, column, scalp_x, ..., rate" tab-separated, one line per cell;
// coordinates with two decimals (empty for a cell whose aiming met no scalp), the rate with four and
// empty for a cell without stimuli; then "mni_x, mni_y, mni_z, area, brain_distance", empty for a
// subject that is not normalised.
QByteArray tsv(const Sites &sites);

// The overlay on the grid of the volume (same dimensions and affine): within BallRadiusMm of each
// target that has stimuli (and was found), 1 + the cell's phosphene rate in percent (rounded); 0 elsewhere.
// Where two balls meet, the nearer target wins.
VolumeLayout::ScannerVolume overlay(const Sites &sites, const VolumeLayout::ScannerVolume &volume);

// A subject's MR brought back from the study alone: the series loaded as the calibration names it,
// the state calibrated, the sites aimed.
class SubjectMr {
public:
    SubjectMr();
    // Loads the record's series and applies its calibration; false with *error telling why (also when
    // the landmarks cannot place a grid on it).
    bool load(const SubjectCalibration::Record &record, QString *error = nullptr);
    // Applies another calibration of the series already loaded (another subject's landmarks on a
    // shared series); false with *error telling why the landmarks cannot place a grid on it.
    bool calibrate(const SubjectCalibration::Record &record, QString *error = nullptr);
    // The sites at this depth (mm) under the counts given. Throws ImagingError.
    Sites sites(double depthMm, const PhospheneMap::Counts &counts);

    const SubjectCalibration::Record &record() const { return m_record; }
    // The volume as held, placed in patient space.
    const VolumeLayout::ScannerVolume &volume() const { return m_loader.layout().volume; }
    ImagingState &state() { return m_state; }
    SeriesLoader &loader() { return m_loader; }

private:
    ImagingLibrary m_library;
    ImagingState m_state{m_library};
    SeriesLoader m_loader{m_state};
    SubjectCalibration::Record m_record;
    // The series' own slice spacing as the loader left it: what a record without one falls back to,
    // not the interslice an earlier record left in the state.
    double m_seriesInterslice = 0;
};

} // namespace StimulationSites
