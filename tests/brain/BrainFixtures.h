#pragma once

#include "brain/BrainTemplate.h"
#include "brain/Normalise.h"
#include "imaging/NiftiFiles.h"
#include "imaging/StoredCalibration.h"

#include <QString>

#include <array>
#include <cmath>
#include <random>

// Heads made from the template: the template's voxels resampled onto another grid through a known
// subject -> MNI affine, with noise, written as NIfTI.
namespace BrainFixtures {

using Vec3 = VolumeLayout::Vec3;
using Matrix = std::array<double, 16>;

// A rigid-plus-scale affine: rotations (degrees) about x, y, z applied in that order, then scales,
// then the shift (mm).
inline Matrix affine(const Vec3 &degrees, const Vec3 &scales, const Vec3 &shift) {
    const double k = 3.14159265358979 / 180;
    const double cx = std::cos(degrees[0] * k), sx = std::sin(degrees[0] * k);
    const double cy = std::cos(degrees[1] * k), sy = std::sin(degrees[1] * k);
    const double cz = std::cos(degrees[2] * k), sz = std::sin(degrees[2] * k);
    // R = Rz Ry Rx
    const std::array<double, 9> r{cz * cy,
                                  cz * sy * sx - sz * cx,
                                  cz * sy * cx + sz * sx,
                                  sz * cy,
                                  sz * sy * sx + cz * cx,
                                  sz * sy * cx - cz * sx,
                                  -sy,
                                  cy * sx,
                                  cy * cx};
    Matrix m{};
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            m[i * 4 + j] = r[i * 3 + j] * scales[j];
        }
        m[i * 4 + 3] = shift[i];
    }
    m[15] = 1;
    return m;
}

// Trilinear sample of a volume at a patient (LPS) point; 0 outside.
inline double sample(const VolumeLayout::ScannerVolume &v, const std::array<Vec3, 3> &inverse,
                     const Vec3 &lps) {
    Vec3 d{lps[0] - v.affine.origin[0], lps[1] - v.affine.origin[1], lps[2] - v.affine.origin[2]};
    double idx[3];
    for (std::size_t r = 0; r < 3; ++r) {
        idx[r] = inverse[r][0] * d[0] + inverse[r][1] * d[1] + inverse[r][2] * d[2];
    }
    const int i0 = int(std::floor(idx[0])), j0 = int(std::floor(idx[1])), k0 = int(std::floor(idx[2]));
    if (i0 < 0 || j0 < 0 || k0 < 0 || i0 + 1 >= v.dims[0] || j0 + 1 >= v.dims[1] || k0 + 1 >= v.dims[2]) {
        return 0;
    }
    const double fi = idx[0] - i0, fj = idx[1] - j0, fk = idx[2] - k0;
    double value = 0;
    for (int c = 0; c < 8; ++c) {
        const int di = c & 1, dj = (c >> 1) & 1, dk = (c >> 2) & 1;
        value += (di ? fi : 1 - fi) * (dj ? fj : 1 - fj) * (dk ? fk : 1 - fk) *
                 v.voxels[v.index(i0 + di, j0 + dj, k0 + dk)];
    }
    return value;
}

// The template head seen through `subjectToMni` on an axial grid of `voxelMm` (LPS placement), with
// Gaussian noise of `noise` (more than 0) grey levels.
inline VolumeLayout::ScannerVolume headFromTemplate(const VolumeLayout::ScannerVolume &tpl,
                                                    const Matrix &subjectToMni, double voxelMm,
                                                    double noise) {
    std::array<Vec3, 3> inverse{};
    VolumeLayout::invertAxes(tpl.affine, inverse);
    VolumeLayout::ScannerVolume out;
    const int n = int(std::lround(230 / voxelMm));
    out.dims = {n, n, int(std::lround(200 / voxelMm))};
    out.affine.origin = {-115, -115, -95};
    out.affine.axes = {Vec3{voxelMm, 0, 0}, Vec3{0, voxelMm, 0}, Vec3{0, 0, voxelMm}};
    out.voxels.assign(std::size_t(out.dims[0]) * out.dims[1] * out.dims[2], 0);
    std::mt19937 random(7);
    std::normal_distribution<double> gauss(0, noise);
    for (int k = 0; k < out.dims[2]; ++k) {
        for (int j = 0; j < out.dims[1]; ++j) {
            for (int i = 0; i < out.dims[0]; ++i) {
                const Vec3 lps = out.affine.map(i, j, k);
                const Vec3 mni = Normalise::apply(subjectToMni, {-lps[0], -lps[1], lps[2]});
                const double value = sample(tpl, inverse, {-mni[0], -mni[1], mni[2]}) + gauss(random);
                out.voxels[out.index(i, j, k)] = std::uint8_t(std::clamp(std::lround(value), 0L, 255L));
            }
        }
    }
    return out;
}

// A job for the volume written as NIfTI at `path`, as a calibration of subject 1 would name it.
inline Normalise::Job jobFor(const QString &path, const BrainTemplate &tpl) {
    Normalise::Job job;
    job.calibration.subjectId = 1;
    job.calibration.series = path;
    job.calibration.fingerprint = StoredCalibration::niftiFingerprint(path);
    job.templ = tpl;
    return job;
}

} // namespace BrainFixtures
