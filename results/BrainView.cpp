#include "results/BrainView.h"

#include "brain/BrainError.h"
#include "brain/Normalise.h"
#include "imaging/NiftiFiles.h"
#include "results/StimulationSites.h"

#include <QCoreApplication>

namespace BrainView {

Head::Head(const BrainTemplate &tpl) {
    VolumeLayout::ScannerVolume stored;
    QString why;
    if (!NiftiFiles::read(tpl.head, stored, &why)) {
        throw BrainError(
            QCoreApplication::translate("BrainView", "The template is not a volume: %1").arg(why));
    }
    why = VolumeLayout::layoutProblem({stored.dims[0], stored.dims[1], stored.dims[2]}, stored.affine);
    if (!why.isEmpty()) {
        throw BrainError(
            QCoreApplication::translate("BrainView", "The template is not a volume: %1").arg(why));
    }
    const VolumeLayout::Oriented head = VolumeLayout::toLayout(std::move(stored));
    const VolumeLayout::Affine &a = head.volume.affine;
    std::array<double, 16> toLps{};
    for (int row = 0; row < 3; ++row) {
        for (int axis = 0; axis < 3; ++axis) {
            toLps[std::size_t(row) * 4 + std::size_t(axis)] = a.axes[std::size_t(axis)][std::size_t(row)];
        }
        toLps[std::size_t(row) * 4 + 3] = a.origin[std::size_t(row)];
    }
    toLps[15] = 1;
    m_toVoxel = Normalise::inverse(toLps);
    m_view = SitesPicture::View(head.volume, head.pixelMm > 0 ? head.sliceMm / head.pixelMm : 1.0);
}

VolumeLayout::Vec3 Head::voxelOf(const VolumeLayout::Vec3 &mni) const {
    // RAS and LPS differ in the signs of x and y, both ways.
    return Normalise::apply(m_toVoxel, StimulationSites::toRas(mni));
}

QList<SitesPicture::Mark> Head::marks(const QList<GroupMap::Target> &targets) const {
    QList<SitesPicture::Mark> marks;
    marks.reserve(targets.size());
    for (const GroupMap::Target &t : targets) {
        PhospheneMap::CellCounts counts;
        counts.stimuli = t.stimuli;
        counts.yes = t.yes;
        counts.no = t.no;
        counts.doubt = t.doubt;
        marks.append({voxelOf(t.mni), counts});
    }
    return marks;
}

std::optional<qint32> nextToNormalise(const QSqlDatabase &db, const QList<qint32> &subjects,
                                      const ReadCalibration &readCalibration,
                                      const ReadNormalisation &readNormalisation) {
    for (const qint32 subject : subjects) {
        const std::optional<SubjectCalibration::Record> calibration = readCalibration(db, subject);
        if (!calibration) {
            continue;
        }
        const std::optional<SubjectNormalisation::Record> normalisation = readNormalisation(db, subject);
        if (!normalisation || normalisation->fingerprint != calibration->fingerprint) {
            return subject;
        }
    }
    return std::nullopt;
}

} // namespace BrainView
