#pragma once

#include <QImage>
#include <QSize>

#include <array>
#include <cstdint>
#include <vector>

// One MR volume: 8-bit grey slices stacked in append order, x column, y row, z slice.
//
// Slices keep the size of the first one appended; a later slice of another size is placed at the
// top-left corner, cut or padded with black. Once closed the volume is read-only and can be cut,
// rendered and searched.
//
// What counts as head: a voxel brighter than the air level, which closing sets to one eighth of the
// volume's 99th-percentile intensity (at least 1). Scanner noise in the air stays below it, the scalp
// and brain lie above it, and compact bone (dark on MR) mostly below.
class Volume {
public:
    bool isClosed() const { return m_closed; }
    // Appends one slice; the image is taken as grey levels. Ignored once closed or for a null image.
    void append(const QImage &slice);
    // Appends `slices` slices of width x height voxels at once (x fastest, then y, then z), taking
    // the buffer over; ignored once closed, or when the size does not match the slices already there.
    void append(int width, int height, int slices, std::vector<std::uint8_t> &&voxels);
    void close();

    int width() const { return m_width; }
    int height() const { return m_height; }
    int slices() const { return m_slices; }
    void setIncrement(double increment) { m_increment = increment; }

    std::uint8_t at(int x, int y, int z) const {
        return m_voxels[(static_cast<std::size_t>(z) * m_height + y) * m_width + x];
    }
    bool contains(int x, int y, int z) const {
        return x >= 0 && y >= 0 && z >= 0 && x < m_width && y < m_height && z < m_slices;
    }

    // The cut at slice z: width x height pixels, pixel (x, y) = voxel (x, y, z).
    QImage cutZ(int z) const;
    // The cut at row y seen from the side: width x slices pixels, pixel (x, slices - 1 - z) = voxel
    // (x, y, z), so slice 0 is the bottom row and a voxel point's side-view v (slices - z) is the
    // lower edge of its pixel.
    QImage cutY(int y) const;
    // Side rendering seen along x from column 0: slices x height pixels, pixel (z, y). Each ray starts
    // at the cut column (none when it lies outside the volume) and stops at the first voxel within
    // [low, high] brighter than the air level; the surface is shaded by the angle of its normal
    // (from the depth map, z scaled by the increment) and darkened with depth. Rays that hit nothing
    // stay black.
    QImage render3D(int cutColumn, int low, int high) const;

    // Column of the head's centre on row y of slice z: the midpoint between the first and the last
    // head voxel of the row that begin a run of two head voxels; 0 when the row holds no head.
    int centralColumn(int y, int z) const;

    // Searches the line from A through B, continued to the volume's edge, voxel by voxel (sampled every
    // half voxel). Walking back from the
    // edge towards A, the scalp point is the first voxel that matches (within [low, high] and
    // brighter than the air level) and is followed inwards by another match, so a lone noise voxel
    // in the air is passed over. The inner point is the first match after the scalp's run has been
    // left (the inner side of the skull); when there is no such match before A, the inner point is
    // the inner end of the scalp's run. Returns false, leaving the outputs alone, when A equals B or
    // nothing matches.
    bool searchLine(const std::array<int, 3> &a, const std::array<int, 3> &b, int low, int high,
                    std::array<int, 6> &out) const;

private:
    bool matches(std::uint8_t v, int low, int high) const { return v > m_airLevel && v >= low && v <= high; }

    bool m_closed = false;
    int m_width = 0;
    int m_height = 0;
    int m_slices = 0;
    int m_airLevel = 1;
    double m_increment = 1.0;
    std::vector<std::uint8_t> m_voxels;
};
