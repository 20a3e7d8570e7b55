#pragma once

#include "brain/BrainTemplate.h"
#include "data/SubjectCalibration.h"
#include "data/SubjectNormalisation.h"
#include "results/GroupMap.h"
#include "results/SitesPicture.h"

#include <QList>
#include <QSqlDatabase>

#include <array>
#include <functional>
#include <optional>

// The "In the brain" view of the phosphene map without widgets: the template head as the "On the MR"
// renderer shows a subject's head, the chosen subjects' targets in MNI space placed on it, and which
// chosen subject can be normalised next.
namespace BrainView {

class Head {
public:
    Head() = default;
    // The template head in the program's layout. Throws BrainError when it is not a volume.
    explicit Head(const BrainTemplate &tpl);

    bool isNull() const { return m_view.isNull(); }
    const SitesPicture::View &view() const { return m_view; }
    // A point of MNI space (RAS mm) in the head as held (x column, y row, z slice, between voxels).
    VolumeLayout::Vec3 voxelOf(const VolumeLayout::Vec3 &mni) const;
    // The targets as marks on the head, in the same order, coloured by their counts.
    QList<SitesPicture::Mark> marks(const QList<GroupMap::Target> &targets) const;

private:
    SitesPicture::View m_view;
    std::array<double, 16> m_toVoxel{}; // LPS mm -> voxel of the head as held
};

using ReadCalibration =
    std::function<std::optional<SubjectCalibration::Record>(const QSqlDatabase &db, qint32 subject)>;
using ReadNormalisation =
    std::function<std::optional<SubjectNormalisation::Record>(const QSqlDatabase &db, qint32 subject)>;

// The first of the subjects that has a stored calibration and no normalisation computed on the
// series calibrated. Throws StudyError.
std::optional<qint32>
nextToNormalise(const QSqlDatabase &db, const QList<qint32> &subjects,
                const ReadCalibration &readCalibration = SubjectCalibration::read,
                const ReadNormalisation &readNormalisation = SubjectNormalisation::read);

} // namespace BrainView
