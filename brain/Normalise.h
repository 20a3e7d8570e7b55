#pragma once

#include "brain/BrainTemplate.h"
#include "data/SubjectAiming.h"
#include "data/SubjectCalibration.h"
#include "data/SubjectNormalisation.h"

#include <QSqlDatabase>
#include <QString>

#include <array>
#include <atomic>
#include <functional>
#include <optional>

// Normalising a calibrated subject: a 12-parameter affine from the subject's calibrated series (its
// scanner space, RAS mm) to the template head, found by registration (Mattes mutual information, a
// multi-resolution pyramid, moments initialisation). A result that is not a head's is refused.
namespace Normalise {

struct Control {
    std::function<void(int percent, const QString &stage)> progress; // may be empty
    const std::atomic_bool *cancel = nullptr;                        // set: stop, refused as cancelled
};

// What compute needs, read from the study on the calling thread (a connection stays on its thread).
struct Job {
    SubjectCalibration::Record calibration;
    BrainTemplate templ;
};

// Reads the subject's calibration. Throws BrainError when the subject has none, StudyError when the
// study cannot be read.
Job prepare(const QSqlDatabase &db, qint32 subjectId, const BrainTemplate &tpl);

// Loads the calibration's series, registers it to the template and checks the result; safe on a
// worker thread (no database). Throws BrainError naming the reason when refused: the series is not
// the calibrated one, the template is not a volume, a scale outside MinScale..MaxScale, a metric
// above MaxMetric, cancelled. With `aiming`, also aims at the grid's cells on the series loaded, to be
// stored with the normalisation (SubjectNormalisation::write); left empty when the calibration
// places no grid on it.
SubjectNormalisation::Record compute(const Job &job, const Control &control,
                                     std::optional<SubjectAiming::Record> *aiming = nullptr);

// A registered head's scale along each axis lies in this range.
inline constexpr double MinScale = 0.7;
inline constexpr double MaxScale = 1.4;

// The affine's parts, for the operator: scales along x, y, z, rotations about them (degrees,
// x then y then z), shears and the shift (mm).
struct Parts {
    std::array<double, 3> scales{};
    std::array<double, 3> rotations{};
    std::array<double, 3> shift{};
};
Parts decompose(const std::array<double, 16> &matrix);

// A point through a row-major 4 x 4 affine.
std::array<double, 3> apply(const std::array<double, 16> &matrix, const std::array<double, 3> &point);
// The inverse of an affine whose last row is 0 0 0 1.
std::array<double, 16> inverse(const std::array<double, 16> &matrix);

} // namespace Normalise
