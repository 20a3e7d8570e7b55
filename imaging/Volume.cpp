#include "imaging/Volume.h"

#include <algorithm>
#include <cmath>
#include <cstring>

void Volume::append(const QImage &slice) {
    if (m_closed || slice.isNull()) {
        return;
    }
    const QImage grey = slice.convertToFormat(QImage::Format_Grayscale8);
    if (m_slices == 0) {
        m_width = grey.width();
        m_height = grey.height();
    }
    const std::size_t start = m_voxels.size();
    m_voxels.resize(start + static_cast<std::size_t>(m_width) * m_height, 0);
    const int copyWidth = std::min(m_width, grey.width());
    const int copyHeight = std::min(m_height, grey.height());
    for (int y = 0; y < copyHeight; ++y) {
        std::memcpy(&m_voxels[start + static_cast<std::size_t>(y) * m_width], grey.constScanLine(y),
                    copyWidth);
    }
    ++m_slices;
}

void Volume::append(int width, int height, int slices, std::vector<std::uint8_t> &&voxels) {
    if (m_closed || slices <= 0 || voxels.size() != static_cast<std::size_t>(width) * height * slices ||
        (m_slices > 0 && (width != m_width || height != m_height))) {
        return;
    }
    m_width = width;
    m_height = height;
    if (m_voxels.empty()) {
        m_voxels = std::move(voxels);
    } else {
        m_voxels.insert(m_voxels.end(), voxels.begin(), voxels.end());
    }
    m_slices += slices;
}

void Volume::close() {
    if (m_closed) {
        return;
    }
    m_closed = true;
    // Four partial counts, so that runs of one value (the air) do not wait on each other's increment.
    std::array<std::array<std::size_t, 256>, 4> partial{};
    const std::size_t size = m_voxels.size();
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        ++partial[0][m_voxels[i]];
        ++partial[1][m_voxels[i + 1]];
        ++partial[2][m_voxels[i + 2]];
        ++partial[3][m_voxels[i + 3]];
    }
    for (; i < size; ++i) {
        ++partial[0][m_voxels[i]];
    }
    std::array<std::size_t, 256> histogram{};
    for (int v = 0; v < 256; ++v) {
        histogram[v] = partial[0][v] + partial[1][v] + partial[2][v] + partial[3][v];
    }
    const std::size_t wanted = (m_voxels.size() * 99 + 99) / 100;
    std::size_t seen = 0;
    int p99 = 0;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[v];
        if (seen >= wanted) {
            p99 = v;
            break;
        }
    }
    m_airLevel = std::max(1, p99 / 8);
}

QImage Volume::cutZ(int z) const {
    if (!m_closed || z < 0 || z >= m_slices) {
        return {};
    }
    QImage image(m_width, m_height, QImage::Format_Grayscale8);
    for (int y = 0; y < m_height; ++y) {
        std::memcpy(image.scanLine(y), &m_voxels[(static_cast<std::size_t>(z) * m_height + y) * m_width],
                    m_width);
    }
    return image;
}

QImage Volume::cutY(int y) const {
    if (!m_closed || y < 0 || y >= m_height) {
        return {};
    }
    QImage image(m_width, m_slices, QImage::Format_Grayscale8);
    for (int z = 0; z < m_slices; ++z) {
        std::memcpy(image.scanLine(m_slices - 1 - z),
                    &m_voxels[(static_cast<std::size_t>(z) * m_height + y) * m_width], m_width);
    }
    return image;
}

QImage Volume::render3D(int cutColumn, int low, int high) const {
    if (!m_closed || m_slices == 0) {
        return {};
    }
    const int start = (cutColumn >= 0 && cutColumn < m_width) ? cutColumn : 0;
    // Depth of the first matching voxel of every ray, -1 where the ray hits nothing. The depth is
    // refined between the last voxel before the hit and the hit by where the intensity crosses the
    // lower threshold, which smooths the staircase of a voxel surface.
    const double crossing = std::max(low, m_airLevel + 1);
    std::vector<float> depth(static_cast<std::size_t>(m_slices) * m_height, -1.0f);
    for (int z = 0; z < m_slices; ++z) {
        for (int y = 0; y < m_height; ++y) {
            const std::uint8_t *row = &m_voxels[(static_cast<std::size_t>(z) * m_height + y) * m_width];
            for (int x = start; x < m_width; ++x) {
                if (matches(row[x], low, high)) {
                    double d = x;
                    if (x > start && row[x] > row[x - 1]) {
                        d = x - 1 + std::clamp((crossing - row[x - 1]) / (row[x] - row[x - 1]), 0.0, 1.0);
                    }
                    depth[static_cast<std::size_t>(y) * m_slices + z] = static_cast<float>(d);
                    break;
                }
            }
        }
    }
    auto depthAt = [&](int z, int y, double fallback) {
        if (z < 0 || y < 0 || z >= m_slices || y >= m_height) {
            return fallback;
        }
        const double d = depth[static_cast<std::size_t>(y) * m_slices + z];
        return d < 0 ? fallback : d;
    };
    // Normals from depth differences two pixels apart on each side, z scaled by the slice spacing.
    const double zStep = m_increment > 0 ? m_increment : 1.0;
    QImage image(m_slices, m_height, QImage::Format_Grayscale8);
    image.fill(0);
    for (int y = 0; y < m_height; ++y) {
        uchar *line = image.scanLine(y);
        for (int z = 0; z < m_slices; ++z) {
            const double d = depth[static_cast<std::size_t>(y) * m_slices + z];
            if (d < 0) {
                continue;
            }
            const double gz =
                (depthAt(z + 2, y, d) + depthAt(z + 1, y, d) - depthAt(z - 1, y, d) - depthAt(z - 2, y, d)) /
                (6.0 * zStep);
            const double gy =
                (depthAt(z, y + 2, d) + depthAt(z, y + 1, d) - depthAt(z, y - 1, d) - depthAt(z, y - 2, d)) /
                6.0;
            const double facing = 1.0 / std::sqrt(1.0 + gz * gz + gy * gy);
            const double near = 1.0 - 0.5 * (d - start) / std::max(1, m_width - start);
            const double shade = (0.15 + 0.85 * facing) * near;
            line[z] = static_cast<uchar>(std::clamp(shade * 255.0, 0.0, 255.0));
        }
    }
    return image;
}

int Volume::centralColumn(int y, int z) const {
    if (!m_closed || y < 0 || z < 0 || y >= m_height || z >= m_slices) {
        return 0;
    }
    const std::uint8_t *row = &m_voxels[(static_cast<std::size_t>(z) * m_height + y) * m_width];
    auto head = [&](int x) { return row[x] > m_airLevel; };
    int first = -1;
    for (int x = 0; x + 1 < m_width; ++x) {
        if (head(x) && head(x + 1)) {
            first = x;
            break;
        }
    }
    if (first < 0) {
        return 0;
    }
    int last = first;
    for (int x = m_width - 1; x > first; --x) {
        if (head(x) && head(x - 1)) {
            last = x;
            break;
        }
    }
    return static_cast<int>(std::nearbyint((first + last) / 2.0));
}

bool Volume::searchLine(const std::array<int, 3> &a, const std::array<int, 3> &b, int low, int high,
                        std::array<int, 6> &out) const {
    if (!m_closed || a == b) {
        return false;
    }
    const double dx = b[0] - a[0];
    const double dy = b[1] - a[1];
    const double dz = b[2] - a[2];
    // The voxels the line passes, sampled every half voxel of its length from A out to where it
    // leaves the volume; consecutive samples in the same voxel count once.
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double step = 0.5 / length;
    std::vector<std::array<int, 3>> samples;
    const int limit = 4 * (m_width + m_height + m_slices) + static_cast<int>(2 * length);
    for (int t = 0; t <= limit; ++t) {
        const std::array<int, 3> p = {static_cast<int>(std::nearbyint(a[0] + dx * t * step)),
                                      static_cast<int>(std::nearbyint(a[1] + dy * t * step)),
                                      static_cast<int>(std::nearbyint(a[2] + dz * t * step))};
        if (contains(p[0], p[1], p[2])) {
            if (samples.empty() || samples.back() != p) {
                samples.push_back(p);
            }
        } else if (!samples.empty()) {
            break;
        }
    }
    auto match = [&](int i) {
        const auto &p = samples[static_cast<std::size_t>(i)];
        return matches(at(p[0], p[1], p[2]), low, high);
    };
    int i = static_cast<int>(samples.size()) - 1;
    while (i >= 0 && !(match(i) && (i == 0 || match(i - 1)))) {
        --i;
    }
    if (i < 0) {
        return false;
    }
    const auto scalp = samples[static_cast<std::size_t>(i)];
    int j = i;
    while (j >= 0 && match(j)) {
        --j;
    }
    const int runEnd = j + 1;
    while (j >= 0 && !match(j)) {
        --j;
    }
    const auto inner = samples[static_cast<std::size_t>(j >= 0 ? j : runEnd)];
    out = {scalp[0], scalp[1], scalp[2], inner[0], inner[1], inner[2]};
    return true;
}
