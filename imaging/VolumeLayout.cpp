#include "imaging/VolumeLayout.h"
#include "imaging/ParallelJobs.h"

#include <algorithm>
#include <cmath>

namespace VolumeLayout {

namespace {

double dot(const Vec3 &a, const Vec3 &b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

double norm(const Vec3 &a) {
    return std::sqrt(dot(a, a));
}

Vec3 scaled(const Vec3 &a, double s) {
    return {a[0] * s, a[1] * s, a[2] * s};
}

constexpr double Pi = 3.14159265358979323846;

// The voxels an axis of `count` voxels `spacing` apart has once resampled to `newSpacing`, covering
// the same extent up to its last voxel: a spacing taken from positions written to a few decimals
// falls a little short of the whole multiple it stands for, so a hundredth of a voxel short still
// counts as reaching it. In double, so no claim overflows, and held to what an int and the layout can
// take (the loader refuses such volumes before they come here).
double resampledCount(double count, double spacing, double newSpacing) {
    const double wanted = std::floor((count - 1) * spacing / newSpacing + 1e-2) + 1;
    return std::isfinite(wanted) ? std::clamp(wanted, 1.0, double(MaxVoxels)) : double(MaxVoxels);
}

// For each layout axis, the source axis nearest to it (the permutation with the largest sum of
// |cosines|, six to try), and the cosines between them.
struct Assignment {
    std::array<int, 3> source{0, 1, 2};
    std::array<std::array<double, 3>, 3> cosine{};
};

Assignment assignAxes(const Affine &affine) {
    Assignment result;
    for (int l = 0; l < 3; ++l) {
        for (int s = 0; s < 3; ++s) {
            result.cosine[l][s] = dot(LayoutAxes[l], affine.direction(s));
        }
    }
    std::array<int, 3> perm{0, 1, 2};
    double bestScore = -1;
    do {
        const double score = std::abs(result.cosine[0][perm[0]]) + std::abs(result.cosine[1][perm[1]]) +
                             std::abs(result.cosine[2][perm[2]]);
        if (score > bestScore + 1e-9) {
            bestScore = score;
            result.source = perm;
        }
    } while (std::next_permutation(perm.begin(), perm.end()));
    return result;
}

// Resamples one axis of the volume to a new spacing (trilinear along that axis is linear), keeping
// the first voxel's position and covering the same extent.
ScannerVolume resampleAxis(const ScannerVolume &in, int axis, double newSpacing) {
    const double oldSpacing = in.affine.spacing(axis);
    const int oldCount = in.dims[axis];
    const int newCount =
        int(std::min(resampledCount(oldCount, oldSpacing, newSpacing), double(MaxAxisVoxels)));
    ScannerVolume out;
    out.dims = in.dims;
    out.dims[axis] = newCount;
    out.affine = in.affine;
    out.affine.axes[axis] = scaled(in.affine.direction(axis), newSpacing);
    out.voxels.resize(static_cast<std::size_t>(out.dims[0]) * out.dims[1] * out.dims[2]);
    std::array<int, 3> n{};
    for (n[2] = 0; n[2] < out.dims[2]; ++n[2]) {
        for (n[1] = 0; n[1] < out.dims[1]; ++n[1]) {
            for (n[0] = 0; n[0] < out.dims[0]; ++n[0]) {
                const double t = n[axis] * newSpacing / oldSpacing;
                const int lower = std::min(int(std::floor(t)), oldCount - 1);
                const int upper = std::min(lower + 1, oldCount - 1);
                const double f = t - lower;
                std::array<int, 3> a = n;
                std::array<int, 3> b = n;
                a[axis] = lower;
                b[axis] = upper;
                const double v = in.voxels[in.index(a[0], a[1], a[2])] * (1 - f) +
                                 in.voxels[in.index(b[0], b[1], b[2])] * f;
                out.voxels[out.index(n[0], n[1], n[2])] = static_cast<std::uint8_t>(std::lround(v));
            }
        }
    }
    return out;
}

} // namespace

Vec3 Affine::map(double i, double j, double k) const {
    Vec3 p = origin;
    for (int c = 0; c < 3; ++c) {
        p[c] += i * axes[0][c] + j * axes[1][c] + k * axes[2][c];
    }
    return p;
}

// The inverse of the affine's 3 x 3 part, row by row; false when it is singular.
bool invertAxes(const Affine &affine, std::array<Vec3, 3> &inverse) {
    // Columns of the matrix are the axis steps.
    const auto m = [&](int row, int column) { return affine.axes[std::size_t(column)][std::size_t(row)]; };
    const double det = m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) -
                       m(0, 1) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
                       m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
    if (std::abs(det) < 1e-12) {
        return false;
    }
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            // Cofactor of (c, r) over the determinant.
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            inverse[std::size_t(r)][std::size_t(c)] = (m(r1, c1) * m(r2, c2) - m(r1, c2) * m(r2, c1)) / det;
        }
    }
    return true;
}

double Affine::spacing(int axis) const {
    return norm(axes[axis]);
}

Vec3 Affine::direction(int axis) const {
    const double s = spacing(axis);
    return s > 0 ? scaled(axes[axis], 1.0 / s) : Vec3{0, 0, 0};
}

QString orientationName(Orientation orientation) {
    switch (orientation) {
    case Orientation::Sagittal:
        return QStringLiteral("sagittal");
    case Orientation::Axial:
        return QStringLiteral("axial");
    case Orientation::Coronal:
        return QStringLiteral("coronal");
    }
    return {};
}

Orientation orientationOfNormal(const Vec3 &normal) {
    const double x = std::abs(normal[0]);
    const double y = std::abs(normal[1]);
    const double z = std::abs(normal[2]);
    if (x >= y && x >= z) {
        return Orientation::Sagittal;
    }
    return z >= y ? Orientation::Axial : Orientation::Coronal;
}

QString describeOrientation(const Vec3 &normal) {
    const Orientation o = orientationOfNormal(normal);
    const double length = norm(normal);
    if (length <= 0) {
        return orientationName(o);
    }
    const int axis = o == Orientation::Sagittal ? 0 : (o == Orientation::Coronal ? 1 : 2);
    const double off = std::acos(std::min(1.0, std::abs(normal[axis]) / length)) * 180.0 / Pi;
    if (off <= 0.5) {
        return orientationName(o);
    }
    return QStringLiteral("%1 (oblique, %2 degrees)").arg(orientationName(o)).arg(off, 0, 'f', 1);
}

namespace {

// The assignment of source axes to layout axes that keeps them nearest: the permutation with the
// largest sum of |cosines| (six to try), where cosine[l][s] is that of layout axis l and source axis s.
std::array<int, 3> nearestAxes(const std::array<std::array<double, 3>, 3> &cosine) {
    std::array<int, 3> best{0, 1, 2};
    std::array<int, 3> perm{0, 1, 2};
    double bestScore = -1;
    do {
        const double score =
            std::abs(cosine[0][perm[0]]) + std::abs(cosine[1][perm[1]]) + std::abs(cosine[2][perm[2]]);
        if (score > bestScore + 1e-9) {
            bestScore = score;
            best = perm;
        }
    } while (std::next_permutation(perm.begin(), perm.end()));
    return best;
}

} // namespace

Reorder reorder(const std::array<int, 3> &dims, const Affine &affine) {
    std::array<std::array<double, 3>, 3> cosine{};
    for (int l = 0; l < 3; ++l) {
        for (int s = 0; s < 3; ++s) {
            cosine[l][s] = dot(LayoutAxes[l], affine.direction(s));
        }
    }
    const std::array<int, 3> best = nearestAxes(cosine);
    // Each layout axis walks its source axis with a fixed stride (negative when reversed), from the
    // source voxel that becomes the layout's first; the affine follows so every voxel keeps its place.
    const std::array<std::ptrdiff_t, 3> sourceStride{1, std::ptrdiff_t(dims[0]),
                                                     std::ptrdiff_t(dims[0]) * dims[1]};
    Reorder r;
    std::array<double, 3> first{};
    for (int l = 0; l < 3; ++l) {
        const bool flipped = cosine[l][best[l]] < 0;
        r.source[l] = best[l];
        r.flipped[l] = flipped;
        r.dims[l] = dims[best[l]];
        r.stride[l] = flipped ? -sourceStride[best[l]] : sourceStride[best[l]];
        r.start += flipped ? sourceStride[best[l]] * (r.dims[l] - 1) : 0;
        const Vec3 &axis = affine.axes[best[l]];
        r.affine.axes[l] = flipped ? scaled(axis, -1) : axis;
        first[best[l]] = flipped ? r.dims[l] - 1 : 0;
    }
    r.affine.origin = affine.map(first[0], first[1], first[2]);
    r.identity = r.start == 0 && r.stride == sourceStride;
    return r;
}

Reorder keepOrder(const std::array<int, 3> &dims, const Affine &affine) {
    Reorder r;
    r.dims = dims;
    r.affine = affine;
    r.source = {0, 1, 2};
    r.stride = {1, std::ptrdiff_t(dims[0]), std::ptrdiff_t(dims[0]) * dims[1]};
    r.identity = true;
    return r;
}

void Reorder::forEachRow(int threads, const std::function<void(std::size_t, std::ptrdiff_t)> &row) const {
    // The outer loop follows the source's slices where a layout axis comes from them, so the reads
    // stay within one source slice at a time.
    const int outer = source[1] == 2 ? 1 : 2;
    const int middle = 3 - outer;
    ParallelJobs::run(
        std::size_t(dims[outer]), threads,
        [&](std::size_t a) {
            for (int b = 0; b < dims[middle]; ++b) {
                std::array<std::size_t, 3> at{};
                at[outer] = a;
                at[middle] = std::size_t(b);
                row((at[2] * std::size_t(dims[1]) + at[1]) * std::size_t(dims[0]),
                    start + std::ptrdiff_t(a) * stride[outer] + b * stride[middle]);
            }
        },
        [](std::size_t) {});
}

Oriented toLayout(ScannerVolume source, int threads) {
    Oriented result;
    const Reorder r = reorder(source.dims, source.affine);
    result.source = r.source;
    result.flipped = r.flipped;
    ScannerVolume &out = result.volume;
    out.dims = r.dims;
    out.affine = r.affine;
    if (r.identity) {
        out.voxels = std::move(source.voxels);
    } else {
        out.voxels.resize(source.voxels.size());
        const std::uint8_t *from = source.voxels.data();
        const std::ptrdiff_t step = r.stride[0];
        const std::ptrdiff_t width = r.dims[0];
        // Steps by value: the byte stores cannot change them.
        r.forEachRow(threads, [&, step, width](std::size_t to, std::ptrdiff_t at) {
            const std::uint8_t *row = from + at;
            std::uint8_t *target = out.voxels.data() + to;
            if (step == 1) {
                std::copy_n(row, width, target);
            } else if (step == -1) { // a row read backwards
                std::reverse_copy(row - (width - 1), row + 1, target);
            } else {
                for (std::ptrdiff_t i = 0; i < width; ++i) {
                    target[i] = row[i * step];
                }
            }
        });
    }

    // Square pixels in the slice plane.
    const double pixel = std::min(out.affine.spacing(0), out.affine.spacing(1));
    for (int axis = 0; axis < 2; ++axis) {
        if (std::abs(out.affine.spacing(axis) - pixel) > 0.01 * pixel) {
            out = resampleAxis(out, axis, pixel);
            result.resampled = true;
        }
    }
    result.pixelMm = pixel;
    result.sliceMm = out.affine.spacing(2);
    return result;
}

QString sizeProblem(const std::array<std::int64_t, 3> &dims, const Affine &affine) {
    const std::array<double, 3> spacing{affine.spacing(0), affine.spacing(1), affine.spacing(2)};
    for (int axis = 0; axis < 3; ++axis) {
        if (dims[axis] < 1 || dims[axis] > MaxAxisVoxels) {
            return QStringLiteral("%1 x %2 x %3 voxels: an axis of a head series holds 1 to %4")
                .arg(dims[0])
                .arg(dims[1])
                .arg(dims[2])
                .arg(MaxAxisVoxels);
        }
    }
    if (double(dims[0]) * double(dims[1]) * double(dims[2]) > double(MaxVoxels)) {
        return QStringLiteral("%1 x %2 x %3 voxels: more than a head series holds (%4)")
            .arg(dims[0])
            .arg(dims[1])
            .arg(dims[2])
            .arg(MaxVoxels);
    }
    const auto [low, high] = std::minmax({spacing[0], spacing[1], spacing[2]});
    if (!std::isfinite(low) || !std::isfinite(high) || low < MinSpacingMm || high > MaxSpacingMm) {
        return QStringLiteral("voxels of %1 x %2 x %3 mm: a spacing must be from %4 to %5 mm")
            .arg(spacing[0], 0, 'g', 6)
            .arg(spacing[1], 0, 'g', 6)
            .arg(spacing[2], 0, 'g', 6)
            .arg(MinSpacingMm)
            .arg(MaxSpacingMm);
    }
    if (high > MaxSpacingRatio * low) {
        return QStringLiteral("voxels of %1 x %2 x %3 mm: one spacing is more than %4 times another")
            .arg(spacing[0], 0, 'g', 6)
            .arg(spacing[1], 0, 'g', 6)
            .arg(spacing[2], 0, 'g', 6)
            .arg(MaxSpacingRatio);
    }
    return {};
}

QString layoutProblem(const std::array<std::int64_t, 3> &dims, const Affine &affine) {
    const QString stored = sizeProblem(dims, affine);
    if (!stored.isEmpty()) {
        return stored;
    }
    // The layout's axes from the source's, the two in the slice plane resampled to the smaller
    // spacing of them, as toLayout does it.
    const std::array<int, 3> source = assignAxes(affine).source;
    std::array<double, 3> out{};
    const double pixel = std::min(affine.spacing(source[0]), affine.spacing(source[1]));
    for (int l = 0; l < 3; ++l) {
        const double spacing = affine.spacing(source[l]);
        out[l] = l < 2 && std::abs(spacing - pixel) > 0.01 * pixel
                     ? resampledCount(double(dims[source[l]]), spacing, pixel)
                     : double(dims[source[l]]);
    }
    if (std::any_of(out.begin(), out.end(),
                    [](double n) { return n < MinAxisVoxels || n > MaxAxisVoxels; }) ||
        out[0] * out[1] * out[2] > double(MaxVoxels)) {
        return QStringLiteral("%1 x %2 x %3 voxels once in the program's layout: each axis must hold %4 to "
                              "%5, and all of them at most %6")
            .arg(out[0])
            .arg(out[1])
            .arg(out[2])
            .arg(MinAxisVoxels)
            .arg(MaxAxisVoxels)
            .arg(MaxVoxels);
    }
    return {};
}

Affine picturesAffine(bool lateral, double pixelMm, double sliceMm) {
    Affine affine;
    if (lateral) {
        affine.axes = {scaled(LayoutAxes[0], pixelMm), scaled(LayoutAxes[1], pixelMm),
                       scaled(LayoutAxes[2], sliceMm)};
    } else {
        affine.axes = {Vec3{pixelMm, 0, 0}, Vec3{0, pixelMm, 0}, Vec3{0, 0, sliceMm}};
    }
    return affine;
}

} // namespace VolumeLayout
