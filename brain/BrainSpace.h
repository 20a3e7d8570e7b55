#pragma once

#include "brain/BrainTemplate.h"
#include "imaging/VolumeLayout.h"

#include <QHash>
#include <QString>

#include <array>
#include <optional>

// What the template's space says about a point: the atlas area there and where the template's brain
// lies. Points are MNI RAS mm; the subject's side comes in through its subject -> MNI affine.
class BrainSpace {
public:
    using Vec3 = VolumeLayout::Vec3;

    // An area is taken from the nearest labelled voxel within this distance when the point has none.
    static constexpr double AreaReachMm = 5.0;
    // The aiming line is followed this far past the scalp in search of the brain.
    static constexpr double MaxBrainDistanceMm = 60.0;

    // Loads the template's atlas (with its label text) and brain. Throws BrainError.
    explicit BrainSpace(const BrainTemplate &tpl);

    // The atlas area at the point, or of the nearest labelled voxel within AreaReachMm; "" when none.
    // With the Brodmann atlas "BA17", "BA18"...; with another its label text ("Calcarine_L"), or the
    // number when the text has none.
    QString area(const Vec3 &mni) const;

    // The millimetres from the scalp point along the line towards the target (subject RAS) to the
    // first point inside the template's brain carried into the subject's space; none when the line
    // meets no brain within MaxBrainDistanceMm.
    std::optional<double> brainDistance(const Vec3 &scalp, const Vec3 &target,
                                        const std::array<double, 16> &subjectToMni) const;

    const VolumeLayout::ScannerVolume &atlas() const { return m_atlasGrid.volume; }
    // The template's brain on the template's grid (its dimensions and affine are the template's).
    const VolumeLayout::ScannerVolume &brain() const { return m_brainGrid.volume; }

private:
    // The voxel value at an MNI point (nearest voxel); 0 outside the volume.
    struct Grid {
        VolumeLayout::ScannerVolume volume;
        std::array<Vec3, 3> inverse{};
        std::array<int, 3> voxel(const Vec3 &mni) const; // nearest index; may lie outside
        int valueAt(const std::array<int, 3> &index) const;
    };
    static Grid load(const QString &path, bool labels);

    Grid m_atlasGrid;
    Grid m_brainGrid;
    QHash<int, QString> m_labels;
    bool m_brodmann = false;
};
