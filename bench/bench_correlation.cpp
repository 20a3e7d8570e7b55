// Compares a volume the program holds (as `load-series --export-volume` writes it) with another
// conversion of the same series (dcm2niix's NIfTI): each voxel of the first is matched with the
// voxel of the second nearest the same place in the scanner's space. Prints the correlation of
// their values over the whole volume and, per slice of the first, the ratio of its mean brightness
// to the second's, as the least and greatest ratio over the median one: slices windowed alike give
// ratios near 1.
//
// usage: zk-bench-correlation HELD.nii[.gz] OTHER.nii[.gz]

#include "imaging/NiftiFiles.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// The voxel of the volume at a place in the scanner's space (the inverse of its affine), or false
// outside it.
bool voxelAt(const VolumeLayout::ScannerVolume &v, const VolumeLayout::Vec3 &p, std::array<int, 3> &ijk) {
    const auto &a = v.affine.axes;
    const double m[3][3] = {
        {a[0][0], a[1][0], a[2][0]}, {a[0][1], a[1][1], a[2][1]}, {a[0][2], a[1][2], a[2][2]}};
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    const double d[3] = {p[0] - v.affine.origin[0], p[1] - v.affine.origin[1], p[2] - v.affine.origin[2]};
    for (int axis = 0; axis < 3; ++axis) {
        double c[3][3];
        for (int r = 0; r < 3; ++r) {
            for (int col = 0; col < 3; ++col) {
                c[r][col] = col == axis ? d[r] : m[r][col];
            }
        }
        const double num = c[0][0] * (c[1][1] * c[2][2] - c[1][2] * c[2][1]) -
                           c[0][1] * (c[1][0] * c[2][2] - c[1][2] * c[2][0]) +
                           c[0][2] * (c[1][0] * c[2][1] - c[1][1] * c[2][0]);
        ijk[std::size_t(axis)] = int(std::lround(num / det));
        if (ijk[std::size_t(axis)] < 0 || ijk[std::size_t(axis)] >= v.dims[std::size_t(axis)]) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zk-bench-correlation HELD.nii[.gz] OTHER.nii[.gz]\n");
        return 2;
    }
    VolumeLayout::ScannerVolume held, other;
    QString error;
    if (!NiftiFiles::read(QString::fromLocal8Bit(argv[1]), held, &error) ||
        !NiftiFiles::read(QString::fromLocal8Bit(argv[2]), other, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    double n = 0, sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    std::vector<double> ratios;
    for (int k = 0; k < held.dims[2]; ++k) {
        double sliceA = 0, sliceB = 0;
        for (int j = 0; j < held.dims[1]; ++j) {
            for (int i = 0; i < held.dims[0]; ++i) {
                std::array<int, 3> o{};
                if (!voxelAt(other, held.affine.map(i, j, k), o)) {
                    continue;
                }
                const double a = held.voxels[held.index(i, j, k)];
                const double b = other.voxels[other.index(o[0], o[1], o[2])];
                n += 1;
                sa += a, sb += b, saa += a * a, sbb += b * b, sab += a * b;
                sliceA += a, sliceB += b;
            }
        }
        if (sliceB > 0 && sliceA > 0) {
            ratios.push_back(sliceA / sliceB);
        }
    }
    const double correlation = (n * sab - sa * sb) / std::sqrt((n * saa - sa * sa) * (n * sbb - sb * sb));
    std::printf("correlation over %.0f voxels: %.4f\n", n, correlation);
    if (!ratios.empty()) {
        std::vector<double> sorted = ratios;
        std::sort(sorted.begin(), sorted.end());
        const double median = sorted[sorted.size() / 2];
        std::printf("slice brightness against the other conversion, over the median slice: %.2fx to %.2fx "
                    "(%zu slices with content)\n",
                    sorted.front() / median, sorted.back() / median, sorted.size());
    }
    return 0;
}
