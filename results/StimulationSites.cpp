#include "results/StimulationSites.h"

#include "brain/BrainError.h"
#include "brain/Normalise.h"
#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "imaging/StoredCalibration.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
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

QString number(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

} // namespace

Vec3 toRas(const Vec3 &lps) {
    return {-lps[0], -lps[1], lps[2]};
}

Sites aim(ImagingState &state, const VolumeLayout::Affine &affine, double depthMm) {
    Sites sites;
    sites.depthMm = depthMm;
    for (int cell = 0; cell < GridCells::Count; ++cell) {
        // The depth of the aiming itself only moves the view's target; the scalp point is the same.
        aimAtCell(state, cell, 0);
        Site &site = sites.cells[std::size_t(cell)];
        site.cell = cell;
        site.found = state.scalpFound;
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
        if (site.found) {
            checkDepth(depthMm, length, cell);
        } else { // no point at all rather than a made-up one
            const double none = std::nan("");
            site.scalp = site.target = site.scalpVoxel = site.targetVoxel = {none, none, none};
        }
    }
    return sites;
}

void checkDepth(double depthMm, double length, int cell) {
    // A target past the head centre would lie on the other side of the head.
    if (depthMm > length) {
        throw ImagingError(QCoreApplication::translate("StimulationSites",
                                                       "A depth of %1 mm reaches past the head centre, "
                                                       "%2 mm beneath the scalp at cell %3.")
                               .arg(depthMm)
                               .arg(length, 0, 'f', 1)
                               .arg(cell));
    }
}

QList<qint32> missingCells(const Sites &sites) {
    QList<qint32> cells;
    for (const Site &site : sites.cells) {
        if (!site.found) {
            cells << site.cell;
        }
    }
    return cells;
}

void setBrainSpace(Sites &sites, const std::array<double, 16> &subjectToMni, const BrainSpace &space) {
    for (Site &site : sites.cells) {
        if (!site.found) { // no target to carry: the cell's columns stay empty
            continue;
        }
        site.mni = Normalise::apply(subjectToMni, site.target);
        site.area = space.area(*site.mni);
        site.brainDistance = space.brainDistance(site.scalp, site.target, subjectToMni);
    }
}

std::optional<SubjectNormalisation::Record> normalisationOf(const QSqlDatabase &db,
                                                            const SubjectCalibration::Record &calibration) {
    std::optional<SubjectNormalisation::Record> record =
        SubjectNormalisation::read(db, calibration.subjectId);
    if (record && record->fingerprint != calibration.fingerprint) {
        throw BrainError(QCoreApplication::translate("StimulationSites",
                                                     "Subject %1 was normalised on another series than the "
                                                     "one calibrated; normalise it again")
                             .arg(calibration.subjectId));
    }
    return record;
}

bool addBrainSpace(Sites &sites, const QSqlDatabase &db, const SubjectCalibration::Record &calibration,
                   const QString &atlasOverride) {
    const std::optional<SubjectNormalisation::Record> record = normalisationOf(db, calibration);
    if (!record) {
        return false;
    }
    setBrainSpace(sites, record->subjectToMni, BrainSpace(BrainTemplate::find({}, atlasOverride)));
    return true;
}

void setCounts(Sites &sites, const PhospheneMap::Counts &counts) {
    for (Site &site : sites.cells) {
        site.counts = counts.cells[std::size_t(site.cell)];
    }
}

QByteArray tsv(const Sites &sites) {
    QString text =
        QStringLiteral("cell\trow\tcolumn\tscalp_x\tscalp_y\tscalp_z\ttarget_x\ttarget_y\ttarget_z\t"
                       "stimuli\tyes\tno\tdoubt\trate\tmni_x\tmni_y\tmni_z\tarea\tbrain_distance\n");
    for (const Site &s : sites.cells) {
        QStringList fields{QString::number(s.cell), QString::number(GridCells::row(s.cell)),
                           QString::number(GridCells::column(s.cell))};
        for (const Vec3 *p : {&s.scalp, &s.target}) {
            for (double v : *p) {
                fields << (s.found ? number(v, 2) : QString());
            }
        }
        const PhospheneMap::CellCounts &c = s.counts;
        fields << QString::number(c.stimuli) << QString::number(c.yes) << QString::number(c.no)
               << QString::number(c.doubt) << (c.stimuli > 0 ? number(c.rate(), 4) : QString());
        for (std::size_t a = 0; a < 3; ++a) {
            fields << (s.mni ? number((*s.mni)[a], 2) : QString());
        }
        // A label text is the atlas's own: tabs and line breaks in it would break the table.
        fields << QString(s.area).replace(QRegularExpression(QStringLiteral("[\\t\\r\\n]")),
                                          QStringLiteral(" "))
               << (s.brainDistance ? number(*s.brainDistance, 2) : QString());
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
    if (out.voxels.empty() || !VolumeLayout::invertAxes(out.affine, inverse)) {
        return out;
    }
    // Only the voxels of the balls are visited: the box each ball covers in index space.
    std::unordered_map<std::size_t, double> nearest;
    for (const Site &site : sites.cells) {
        if (site.counts.stimuli <= 0 || !site.found) {
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
    m_loader.setWritesPictures(false); // only computed from: no picture is ever shown
}

bool SubjectMr::load(const SubjectCalibration::Record &record, QString *error) {
    m_record = record;
    if (!StoredCalibration::loadCalibrated(m_loader, record, error)) {
        return false;
    }
    m_seriesInterslice = m_state.Interslice;
    return calibrate(record, error);
}

bool SubjectMr::calibrate(const SubjectCalibration::Record &record, QString *error) {
    m_record = record;
    // A record without interslice falls back to the state's: the series' own, not the one an earlier
    // record left there.
    m_state.Interslice = m_seriesInterslice;
    try {
        StoredCalibration::apply(m_state, record);
        const QString refused = gridRefusal(m_state);
        if (!refused.isEmpty()) {
            if (error) {
                *error = QCoreApplication::translate("StimulationSites", "Subject %1: %2")
                             .arg(record.subjectId)
                             .arg(refused);
            }
            return false;
        }
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
