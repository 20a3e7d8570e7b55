#include "brain/Normalise.h"

#include "brain/BrainError.h"
#include "brain/Registration.h"
#include "data/StudyError.h"
#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"
#include "imaging/NiftiFiles.h"
#include "imaging/SeriesLoader.h"
#include "imaging/StoredCalibration.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Normalise {

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("Normalise", text);
}

// Patient space (LPS) and NIfTI's world (RAS) differ in the signs of x and y: F M F carries an affine
// of one into the other, either way.
std::array<double, 16> flipXY(const std::array<double, 16> &m) {
    const std::array<double, 4> f{-1, -1, 1, 1};
    std::array<double, 16> out{};
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) {
            out[r * 4 + c] = f[r] * m[r * 4 + c] * f[c];
        }
    }
    return out;
}

// The mutual information a registered head reaches against the template, measured with these
// settings: Colin 27 against itself -1.93; itself turned by 10 degrees, scaled by 6 %, shifted by
// 20 mm, with noise, on a 2.5 mm grid -1.72; its other acquisition (ch2better, 0.5 mm) -0.97; a
// uniform cube of head size -0.31; noise 0.00. The head of another person reaches less than the same
// head's other acquisition, so the limit lies between the cube and that acquisition, nearer the
// cube. A value above this is no head's.
constexpr double MaxMetric = -0.5;

} // namespace

Job prepare(const QSqlDatabase &db, qint32 subjectId, const BrainTemplate &tpl) {
    const std::optional<SubjectCalibration::Record> calibration = SubjectCalibration::read(db, subjectId);
    if (!calibration) {
        throw BrainError(tr("Subject %1 has no MR calibration: accept the point selection on the subject's "
                            "MR first")
                             .arg(subjectId));
    }
    return Job{*calibration, tpl};
}

// Named through an alias: lupdate would take a qualified return type for the context of the texts below.
using Record = SubjectNormalisation::Record;

Record compute(const Job &job, const Control &control, std::optional<SubjectAiming::Record> *aiming) {
    const auto report = [&](int percent, const QString &stage) {
        if (control.progress) {
            control.progress(percent, stage);
        }
    };
    const auto cancelled = [&] { return control.cancel && control.cancel->load(); };
    const BrainError cancelError(tr("The normalisation was cancelled; nothing was stored."));

    report(0, tr("Loading the series"));
    ImagingLibrary library;
    ImagingState state(library);
    SeriesLoader loader(state);
    loader.setWritesPictures(false); // registered, never shown
    QString error;
    if (!StoredCalibration::loadCalibrated(loader, job.calibration, &error)) {
        throw BrainError(error);
    }
    const VolumeLayout::ScannerVolume &subject = loader.layout().volume;
    if (aiming) {
        // The series is loaded anyway: the group map will not have to load it again.
        aiming->reset();
        try {
            StoredCalibration::apply(state, job.calibration);
            if (gridRefusal(state).isEmpty()) {
                *aiming = StoredCalibration::aiming(state, subject.affine, job.calibration);
            }
        } catch (const ImagingError &) {
            // No grid on this series: nothing to store, as the sites would refuse it too.
        }
    }
    if (cancelled()) {
        throw cancelError;
    }
    report(5, tr("Loading the template"));
    VolumeLayout::ScannerVolume head;
    if (!NiftiFiles::read(job.templ.head, head, &error)) {
        throw BrainError(tr("The template is not a volume: %1").arg(error));
    }
    for (int d : head.dims) {
        if (d < 16) {
            throw BrainError(tr("The template %1 is not a head volume (%2 x %3 x %4 voxels)")
                                 .arg(job.templ.head)
                                 .arg(head.dims[0])
                                 .arg(head.dims[1])
                                 .arg(head.dims[2]));
        }
    }
    SubjectNormalisation::Record record;
    record.subjectId = job.calibration.subjectId;
    record.templateName = job.templ.name;
    record.templateSha256 = job.templ.headSha256();
    record.fingerprint = job.calibration.fingerprint;

    const Registration::Outcome outcome = Registration::affine(
        head, subject, [&](int percent, const QString &stage) { report(10 + percent * 85 / 100, stage); },
        control.cancel);
    if (outcome.cancelled || cancelled()) {
        throw cancelError;
    }
    // fixedToMoving carries template points to subject points (both LPS); the subject -> MNI affine
    // in RAS is its inverse, with the signs of x and y turned.
    record.subjectToMni = flipXY(inverse(outcome.fixedToMoving));
    record.metric = outcome.metric;
    const Parts parts = decompose(record.subjectToMni);
    for (double s : parts.scales) {
        if (!(s >= MinScale && s <= MaxScale)) {
            throw BrainError(tr("The registration did not find a head: its scales %1, %2, %3 lie outside "
                                "%4 to %5; nothing was stored.")
                                 .arg(parts.scales[0], 0, 'f', 2)
                                 .arg(parts.scales[1], 0, 'f', 2)
                                 .arg(parts.scales[2], 0, 'f', 2)
                                 .arg(MinScale)
                                 .arg(MaxScale));
        }
    }
    if (!(outcome.metric <= MaxMetric)) {
        throw BrainError(tr("The registration did not find a head: the mutual information %1 is above %2; "
                            "nothing was stored.")
                             .arg(outcome.metric, 0, 'f', 3)
                             .arg(MaxMetric));
    }
    record.accepted = QDateTime::currentDateTimeUtc();
    const QString why = SubjectNormalisation::problem(record);
    if (!why.isEmpty()) {
        throw BrainError(tr("The registration gave no usable affine (%1); nothing was stored.").arg(why));
    }
    report(100, tr("Done"));
    return record;
}

Parts decompose(const std::array<double, 16> &m) {
    // The linear part A = R S (S upper triangular, by Gram-Schmidt on the columns): the scales are the
    // diagonal of S, the rotation R read as x, then y, then z.
    std::array<std::array<double, 3>, 3> col{};
    for (std::size_t c = 0; c < 3; ++c) {
        for (std::size_t r = 0; r < 3; ++r) {
            col[c][r] = m[r * 4 + c];
        }
    }
    const auto dot = [](const std::array<double, 3> &a, const std::array<double, 3> &b) {
        return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    };
    Parts parts;
    std::array<std::array<double, 3>, 3> q{};
    for (std::size_t c = 0; c < 3; ++c) {
        std::array<double, 3> v = col[c];
        for (std::size_t k = 0; k < c; ++k) {
            const double p = dot(col[c], q[k]);
            for (std::size_t r = 0; r < 3; ++r) {
                v[r] -= p * q[k][r];
            }
        }
        const double n = std::sqrt(dot(v, v));
        parts.scales[c] = n;
        for (std::size_t r = 0; r < 3; ++r) {
            q[c][r] = n > 0 ? v[r] / n : 0;
        }
    }
    // R = [q0 q1 q2] as columns; R = Rz Ry Rx.
    const double deg = 180.0 / std::numbers::pi;
    parts.rotations[1] = std::asin(std::clamp(-q[0][2], -1.0, 1.0)) * deg;
    parts.rotations[0] = std::atan2(q[1][2], q[2][2]) * deg;
    parts.rotations[2] = std::atan2(q[0][1], q[0][0]) * deg;
    parts.shift = {m[3], m[7], m[11]};
    return parts;
}

std::array<double, 3> apply(const std::array<double, 16> &m, const std::array<double, 3> &p) {
    return {m[0] * p[0] + m[1] * p[1] + m[2] * p[2] + m[3], m[4] * p[0] + m[5] * p[1] + m[6] * p[2] + m[7],
            m[8] * p[0] + m[9] * p[1] + m[10] * p[2] + m[11]};
}

std::array<double, 16> inverse(const std::array<double, 16> &m) {
    const double a = m[0], b = m[1], c = m[2], d = m[4], e = m[5], f = m[6], g = m[8], h = m[9], i = m[10];
    const double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    const double k = det != 0 ? 1.0 / det : 0.0;
    const std::array<double, 9> inv{(e * i - f * h) * k, (c * h - b * i) * k, (b * f - c * e) * k,
                                    (f * g - d * i) * k, (a * i - c * g) * k, (c * d - a * f) * k,
                                    (d * h - e * g) * k, (b * g - a * h) * k, (a * e - b * d) * k};
    std::array<double, 16> out{};
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t col = 0; col < 3; ++col) {
            out[r * 4 + col] = inv[r * 3 + col];
        }
        out[r * 4 + 3] = -(inv[r * 3] * m[3] + inv[r * 3 + 1] * m[7] + inv[r * 3 + 2] * m[11]);
    }
    out[15] = 1;
    return out;
}

} // namespace Normalise
