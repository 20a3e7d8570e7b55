#include "results/GroupMap.h"

#include "brain/BrainError.h"
#include "brain/BrainSpace.h"
#include "brain/Normalise.h"
#include "data/Query.h"
#include "data/SubjectAiming.h"
#include "data/SubjectCalibration.h"
#include "imaging/ImagingError.h"
#include "imaging/StoredCalibration.h"
#include "results/PhospheneMap.h"
#include "results/StimulationSites.h"

#include <QCoreApplication>
#include <QMap>
#include <QSet>
#include <QSqlQuery>

#include <cmath>
#include <map>
#include <memory>

namespace GroupMap {

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("GroupMap", text);
}

QList<qint32> allSubjects(const QSqlDatabase &db) {
    QSqlQuery query = Query::run(db, QStringLiteral("SELECT ID FROM paciente ORDER BY ID"), {},
                                 tr("Cannot read the subjects"));
    QList<qint32> ids;
    while (query.next()) {
        ids << Query::integer<qint32>(query.value(0), "paciente", "ID");
    }
    return ids;
}

// Adds a ball of the radius around the point (MNI RAS mm) to the pooled sums of the grid.
void pool(const VolumeLayout::ScannerVolume &grid, const std::array<VolumeLayout::Vec3, 3> &inverse,
          const VolumeLayout::Vec3 &mni, double radius, int stimuli, int yes, std::vector<int> &stimuliSum,
          std::vector<int> &yesSum) {
    const VolumeLayout::Vec3 lps{-mni[0], -mni[1], mni[2]};
    VolumeLayout::Vec3 d{};
    for (std::size_t a = 0; a < 3; ++a) {
        d[a] = lps[a] - grid.affine.origin[a];
    }
    std::array<int, 3> low{}, high{};
    for (std::size_t a = 0; a < 3; ++a) {
        const double centre = inverse[a][0] * d[0] + inverse[a][1] * d[1] + inverse[a][2] * d[2];
        const double reach = radius * std::hypot(inverse[a][0], inverse[a][1], inverse[a][2]);
        if (!std::isfinite(centre) || std::abs(centre) > 1e6) {
            return;
        }
        low[a] = std::max(0, int(std::floor(centre - reach)));
        high[a] = std::min(grid.dims[a] - 1, int(std::ceil(centre + reach)));
    }
    for (int k = low[2]; k <= high[2]; ++k) {
        for (int j = low[1]; j <= high[1]; ++j) {
            for (int i = low[0]; i <= high[0]; ++i) {
                const VolumeLayout::Vec3 p = grid.affine.map(i, j, k);
                if (std::hypot(p[0] - lps[0], p[1] - lps[1], p[2] - lps[2]) <= radius) {
                    const std::size_t index = grid.index(i, j, k);
                    stimuliSum[index] += stimuli;
                    yesSum[index] += yes;
                }
            }
        }
    }
}

// The rate and counts volumes on the template's grid: every target's ball of the radius pooled.
void poolInto(Result &result, const VolumeLayout::ScannerVolume &grid, double radius) {
    std::array<VolumeLayout::Vec3, 3> inverse{};
    VolumeLayout::invertAxes(grid.affine, inverse);
    const std::size_t voxels = grid.voxels.size();
    std::vector<int> stimuliSum(voxels, 0), yesSum(voxels, 0);
    for (const Target &t : std::as_const(result.targets)) {
        pool(grid, inverse, t.mni, radius, t.stimuli, t.yes, stimuliSum, yesSum);
    }
    for (VolumeLayout::ScannerVolume *out : {&result.rate, &result.counts}) {
        out->dims = grid.dims;
        out->affine = grid.affine;
        out->voxels.assign(voxels, 0);
    }
    for (std::size_t i = 0; i < voxels; ++i) {
        if (stimuliSum[i] > 0) {
            result.rate.voxels[i] = std::uint8_t(1 + std::lround(100.0 * yesSum[i] / stimuliSum[i]));
            result.counts.voxels[i] = std::uint8_t(std::min(stimuliSum[i], 255));
        }
    }
}

// The series loaded for the subjects whose aiming is not stored, by series: several subjects (or
// sessions) calibrated on the same series share one load.
using LoadedSeries =
    std::map<std::tuple<QString, int, QString>, std::unique_ptr<StimulationSites::SubjectMr>>;

// The subject's aiming found on its series as the calibration names it, loaded once; nothing, with
// why, when the series cannot be loaded or the calibration places no grid on it. Throws ImagingError.
std::optional<SubjectAiming::Record>
aimOnSeries(LoadedSeries &loaded, const SubjectCalibration::Record &calibration, QString &why) {
    auto &mr = loaded[{calibration.series, calibration.seriesNumber, calibration.fingerprint}];
    if (!mr) {
        auto fresh = std::make_unique<StimulationSites::SubjectMr>();
        if (!fresh->load(calibration, &why)) {
            return std::nullopt;
        }
        mr = std::move(fresh);
    } else if (!mr->calibrate(calibration, &why)) {
        return std::nullopt;
    }
    return StoredCalibration::aiming(mr->state(), mr->volume().affine, calibration);
}

// One row per atlas area the targets reach, with the subjects and cells that reach it.
QList<AreaRow> areaRows(const QList<Target> &targets) {
    QMap<QString, AreaRow> areas;
    QMap<QString, QSet<qint32>> areaSubjects;
    for (const Target &t : targets) {
        if (t.area.isEmpty()) {
            continue;
        }
        AreaRow &row = areas[t.area];
        row.area = t.area;
        areaSubjects[t.area].insert(t.subjectId);
        ++row.cells;
        row.stimuli += t.stimuli;
        row.yes += t.yes;
        row.no += t.no;
        row.doubt += t.doubt;
    }
    QList<AreaRow> rows;
    for (AreaRow &row : areas) {
        row.subjects = int(areaSubjects[row.area].size());
        row.rate = row.stimuli > 0 ? double(row.yes) / row.stimuli : 0.0;
        rows << row;
    }
    return rows;
}

} // namespace

Result compute(const QSqlDatabase &db, const Options &options, const BrainTemplate &tpl) {
    const BrainSpace space(tpl);
    Result result;
    const QList<qint32> subjects = options.subjects.isEmpty() ? allSubjects(db) : options.subjects;
    LoadedSeries loaded;
    for (const qint32 id : subjects) {
        const std::optional<SubjectCalibration::Record> calibration = SubjectCalibration::read(db, id);
        if (!calibration) {
            result.leftOut << tr("subject %1 (no MR calibration)").arg(id);
            continue;
        }
        std::optional<SubjectNormalisation::Record> normalisation;
        try {
            normalisation = StimulationSites::normalisationOf(db, *calibration);
        } catch (const BrainError &e) {
            result.leftOut << tr("subject %1 (%2)").arg(id).arg(e.message());
            continue;
        }
        if (!normalisation) {
            result.leftOut << tr("subject %1 (not normalised)").arg(id);
            continue;
        }
        const PhospheneMap::Counts counts = PhospheneMap::count(db, {options.filter, {id}});
        if (counts.total() - counts.offGrid <= 0) {
            result.subjects << id; // nothing to pool: the aiming is not needed
            continue;
        }
        try {
            // The aiming stored for this very calibration; the series is loaded only without one (a
            // subject calibrated and normalised by an earlier version, or marked again since).
            std::optional<SubjectAiming::Record> aiming = SubjectAiming::readFor(db, *calibration);
            if (!aiming) {
                QString why;
                aiming = aimOnSeries(loaded, *calibration, why);
                if (!aiming) {
                    result.leftOut << tr("subject %1 (%2)").arg(id).arg(why);
                    continue;
                }
                result.seriesLoaded << id;
            }
            // As the sites take it: the target the depth beneath the scalp point on the line to the
            // head centre, a depth past the centre refused, a cell that meets no scalp left out.
            for (int cell = 0; cell < SubjectAiming::Cells; ++cell) {
                const SubjectAiming::Cell &c = aiming->cells[std::size_t(cell)];
                if (c.found) {
                    StimulationSites::checkDepth(options.depthMm, c.reach, cell);
                }
            }
            for (int cell = 0; cell < SubjectAiming::Cells; ++cell) {
                const SubjectAiming::Cell &c = aiming->cells[std::size_t(cell)];
                const PhospheneMap::CellCounts &n = counts.cells[std::size_t(cell)];
                if (n.stimuli <= 0 || !c.found) { // nothing pooled, or no scalp met
                    continue;
                }
                Target t;
                t.subjectId = id;
                t.cell = cell;
                const VolumeLayout::Vec3 target{c.scalp[0] + options.depthMm * c.toward[0],
                                                c.scalp[1] + options.depthMm * c.toward[1],
                                                c.scalp[2] + options.depthMm * c.toward[2]};
                t.mni = Normalise::apply(normalisation->subjectToMni, target);
                t.area = space.area(t.mni);
                t.stimuli = n.stimuli;
                t.yes = n.yes;
                t.no = n.no;
                t.doubt = n.doubt;
                result.targets << t;
            }
            result.subjects << id;
        } catch (const ImagingError &e) {
            result.leftOut << tr("subject %1 (%2)").arg(id).arg(e.message());
        }
    }

    poolInto(result, space.brain(), options.radiusMm);
    result.areas = areaRows(result.targets);
    return result;
}

QStringList countTexts(const AreaRow &row) {
    return {QString::number(row.subjects), QString::number(row.cells), QString::number(row.stimuli),
            QString::number(row.yes),      QString::number(row.no),    QString::number(row.doubt)};
}

QByteArray areasTsv(const QList<AreaRow> &areas) {
    QString text = QStringLiteral("area\tsubjects\tcells\tstimuli\tyes\tno\tdoubt\trate\n");
    for (const AreaRow &row : areas) {
        text += (QStringList{QString(row.area).replace(QLatin1Char('\t'), QLatin1Char(' '))} +
                 countTexts(row) + QStringList{QString::number(row.rate, 'f', 4)})
                    .join(QLatin1Char('\t')) +
                QLatin1Char('\n');
    }
    return text.toUtf8();
}

} // namespace GroupMap
