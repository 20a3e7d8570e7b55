#include "results/StimulationSites.h"

#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "imaging/StoredCalibration.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace StimulationSites {

namespace {

double distance(const Vec3 &a, const Vec3 &b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

Vec3 voxel(const ImagingMath::VoxelPoint &p) {
    return {double(p.x), double(p.y), double(p.z)};
}

Vec3 world(const VolumeLayout::Affine &affine, const Vec3 &v) {
    return toRas(affine.map(v[0], v[1], v[2]));
}

// The inverse of the affine's 3 x 3 part, row by row; false when it is singular.
bool invert(const VolumeLayout::Affine &affine, std::array<Vec3, 3> &inverse) {
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

QString number(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

} // namespace

Vec3 toRas(const Vec3 &lps) {
    return {-lps[0], -lps[1], lps[2]};
}

void applyCalibration(ImagingState &state, const SubjectCalibration::Record &record) {
    state.InicializaResonancia();
    for (qint16 which = 1; which <= 3; ++which) {
        const SubjectCalibration::Landmark &p = record.landmarks[std::size_t(which - 1)];
        state.PonReferencia(p.x, p.y, p.z, which);
    }
    state.PonCalibracion(record.distance, record.interslice > 0 ? record.interslice : state.Interslice,
                         state.OrigenZ);
}

Sites aim(ImagingState &state, const VolumeLayout::Affine &affine, double depthMm) {
    Sites sites;
    sites.depthMm = depthMm;
    for (int cell = 0; cell < GridCells::Count; ++cell) {
        // The depth of the aiming itself only moves the view's target; the scalp point is the same.
        aimAtCell(state, cell, 0);
        Site &site = sites.cells[std::size_t(cell)];
        site.cell = cell;
        site.scalpVoxel = voxel(state.PuntoExterno);
        const Vec3 centreVoxel = voxel(state.PuntoCentro);
        site.scalp = world(affine, site.scalpVoxel);
        sites.centre = world(affine, centreVoxel);
        // The affine keeps straight lines straight: the share of the way to the centre is the same
        // in voxels as in millimetres.
        const double length = distance(site.scalp, sites.centre);
        const double share = length > 0 ? depthMm / length : 0.0;
        for (std::size_t a = 0; a < 3; ++a) {
            site.targetVoxel[a] = site.scalpVoxel[a] + share * (centreVoxel[a] - site.scalpVoxel[a]);
        }
        site.target = world(affine, site.targetVoxel);
    }
    return sites;
}

void setCounts(Sites &sites, const PhospheneMap::Counts &counts) {
    for (Site &site : sites.cells) {
        site.counts = counts.cells[std::size_t(site.cell)];
    }
}

QByteArray tsv(const Sites &sites) {
    QString text =
        QStringLiteral("cell\trow\tcolumn\tscalp_x\tscalp_y\tscalp_z\ttarget_x\ttarget_y\ttarget_z\t"
                       "stimuli\tyes\tno\tdoubt\trate\n");
    for (const Site &s : sites.cells) {
        QStringList fields{QString::number(s.cell), QString::number(GridCells::row(s.cell)),
                           QString::number(GridCells::column(s.cell))};
        for (const Vec3 *p : {&s.scalp, &s.target}) {
            for (double v : *p) {
                fields << number(v, 2);
            }
        }
        const PhospheneMap::CellCounts &c = s.counts;
        fields << QString::number(c.stimuli) << QString::number(c.yes) << QString::number(c.no)
               << QString::number(c.doubt) << (c.stimuli > 0 ? number(c.rate(), 4) : QString());
        text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

VolumeLayout::ScannerVolume overlay(const Sites &sites, const VolumeLayout::ScannerVolume &volume) {
    VolumeLayout::ScannerVolume out;
    out.dims = volume.dims;
    out.affine = volume.affine;
    out.voxels.assign(std::size_t(out.dims[0]) * out.dims[1] * out.dims[2], 0);
    std::array<Vec3, 3> inverse{};
    if (out.voxels.empty() || !invert(out.affine, inverse)) {
        return out;
    }
    // Only the voxels of the balls are visited: the box each ball covers in index space.
    std::unordered_map<std::size_t, double> nearest;
    for (const Site &site : sites.cells) {
        if (site.counts.stimuli <= 0) {
            continue;
        }
        const auto value = std::uint8_t(1 + std::lround(100 * site.counts.rate()));
        const Vec3 centre = out.affine.map(site.targetVoxel[0], site.targetVoxel[1], site.targetVoxel[2]);
        std::array<int, 3> low{}, high{};
        for (std::size_t a = 0; a < 3; ++a) {
            const double reach = BallRadiusMm * std::hypot(inverse[a][0], inverse[a][1], inverse[a][2]);
            low[a] = std::max(0, int(std::floor(site.targetVoxel[a] - reach)));
            high[a] = std::min(out.dims[a] - 1, int(std::ceil(site.targetVoxel[a] + reach)));
        }
        for (int k = low[2]; k <= high[2]; ++k) {
            for (int j = low[1]; j <= high[1]; ++j) {
                for (int i = low[0]; i <= high[0]; ++i) {
                    const double d = distance(out.affine.map(i, j, k), centre);
                    if (d > BallRadiusMm) {
                        continue;
                    }
                    const std::size_t index = out.index(i, j, k);
                    const auto found = nearest.find(index);
                    if (found == nearest.end() || d < found->second) {
                        nearest[index] = d;
                        out.voxels[index] = value;
                    }
                }
            }
        }
    }
    return out;
}

SubjectMr::SubjectMr() {
    m_loader.setThreads(QThread::idealThreadCount());
}

bool SubjectMr::load(const SubjectCalibration::Record &record, QString *error) {
    m_record = record;
    if (!StoredCalibration::loadCalibrated(m_loader, record, error)) {
        return false;
    }
    try {
        applyCalibration(m_state, record);
    } catch (const ImagingError &e) {
        if (error) {
            *error = e.message();
        }
        return false;
    }
    return true;
}

Sites SubjectMr::sites(double depthMm, const PhospheneMap::Counts &counts) {
    Sites result = aim(m_state, volume().affine, depthMm);
    setCounts(result, counts);
    return result;
}

} // namespace StimulationSites
