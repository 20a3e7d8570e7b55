#include "brain/BrainSpace.h"

#include "brain/BrainError.h"
#include "brain/Normalise.h"
#include "imaging/NiftiFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

// A label text is a few kilobytes; more is not one.
constexpr qint64 MaxLabelBytes = qint64{1} << 20;

} // namespace

BrainSpace::Grid BrainSpace::load(const QString &path, bool labels) {
    Grid grid;
    QString error;
    if (!(labels ? NiftiFiles::readLabels(path, grid.volume, &error)
                 : NiftiFiles::read(path, grid.volume, &error))) {
        throw BrainError(error);
    }
    if (!VolumeLayout::invertAxes(grid.volume.affine, grid.inverse)) {
        throw BrainError(
            QCoreApplication::translate("BrainSpace", "%1: its voxels are not placed in space").arg(path));
    }
    return grid;
}

std::array<int, 3> BrainSpace::Grid::voxel(const Vec3 &mni) const {
    // MNI RAS to the program's patient space (LPS), then to the voxel.
    const Vec3 lps{-mni[0], -mni[1], mni[2]};
    Vec3 d{};
    for (std::size_t a = 0; a < 3; ++a) {
        d[a] = lps[a] - volume.affine.origin[a];
    }
    std::array<int, 3> index{};
    for (std::size_t r = 0; r < 3; ++r) {
        const double v = inverse[r][0] * d[0] + inverse[r][1] * d[1] + inverse[r][2] * d[2];
        index[r] = std::isfinite(v) && std::abs(v) < 1e6 ? int(std::lround(v)) : -1;
    }
    return index;
}

int BrainSpace::Grid::valueAt(const std::array<int, 3> &i) const {
    for (std::size_t a = 0; a < 3; ++a) {
        if (i[a] < 0 || i[a] >= volume.dims[a]) {
            return 0;
        }
    }
    return volume.voxels[volume.index(i[0], i[1], i[2])];
}

BrainSpace::BrainSpace(const BrainTemplate &tpl)
    : m_atlasGrid(load(tpl.atlas, true)), m_brainGrid(load(tpl.brain, false)) {
    m_brodmann = tpl.atlasLabels.isEmpty() &&
                 QFileInfo(tpl.atlas).fileName().startsWith(QLatin1String("brodmann"), Qt::CaseInsensitive);
    if (!tpl.atlasLabels.isEmpty()) {
        QFile file(tpl.atlasLabels);
        if (!QFileInfo(tpl.atlasLabels).isFile() || QFileInfo(tpl.atlasLabels).size() > MaxLabelBytes ||
            !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            throw BrainError(QCoreApplication::translate("BrainSpace", "The atlas labels %1 cannot be read")
                                 .arg(tpl.atlasLabels));
        }
        // "number name [more]" per line, as mricron writes them.
        static const QRegularExpression line(QStringLiteral("^\\s*(\\d{1,3})\\s+(\\S+)"));
        while (!file.atEnd()) {
            const QRegularExpressionMatch m = line.match(QString::fromUtf8(file.readLine(4096)));
            if (m.hasMatch()) {
                m_labels.insert(m.captured(1).toInt(), m.captured(2));
            }
        }
    }
}

QString BrainSpace::area(const Vec3 &mni) const {
    const std::array<int, 3> at = m_atlasGrid.voxel(mni);
    int label = m_atlasGrid.valueAt(at);
    if (label == 0) {
        // The nearest labelled voxel within reach, measured in millimetres on the atlas's grid.
        const VolumeLayout::Affine &a = m_atlasGrid.volume.affine;
        std::array<int, 3> reach{};
        for (std::size_t k = 0; k < 3; ++k) {
            reach[k] = int(std::ceil(AreaReachMm / std::max(a.spacing(int(k)), 0.1)));
        }
        double best = std::numeric_limits<double>::infinity();
        for (int dk = -reach[2]; dk <= reach[2]; ++dk) {
            for (int dj = -reach[1]; dj <= reach[1]; ++dj) {
                for (int di = -reach[0]; di <= reach[0]; ++di) {
                    const int value = m_atlasGrid.valueAt({at[0] + di, at[1] + dj, at[2] + dk});
                    if (value == 0) {
                        continue;
                    }
                    const Vec3 p = a.map(at[0] + di, at[1] + dj, at[2] + dk);
                    const double d = std::hypot(p[0] + mni[0], p[1] + mni[1], p[2] - mni[2]);
                    if (d <= AreaReachMm && d < best) {
                        best = d;
                        label = value;
                    }
                }
            }
        }
    }
    if (label == 0) {
        return {};
    }
    if (m_brodmann) {
        return QStringLiteral("BA%1").arg(label);
    }
    return m_labels.value(label, QString::number(label));
}

std::optional<double> BrainSpace::brainDistance(const Vec3 &scalp, const Vec3 &target,
                                                const std::array<double, 16> &subjectToMni) const {
    const Vec3 d{target[0] - scalp[0], target[1] - scalp[1], target[2] - scalp[2]};
    const double length = std::hypot(d[0], d[1], d[2]);
    if (!(length > 0)) {
        return std::nullopt;
    }
    // Steps of a quarter millimetre: the brain's edge found to within that.
    constexpr double Step = 0.25;
    for (double t = 0; t <= MaxBrainDistanceMm; t += Step) {
        const Vec3 p{scalp[0] + d[0] * t / length, scalp[1] + d[1] * t / length,
                     scalp[2] + d[2] * t / length};
        if (m_brainGrid.valueAt(m_brainGrid.voxel(Normalise::apply(subjectToMni, p))) > 0) {
            return t;
        }
    }
    return std::nullopt;
}
