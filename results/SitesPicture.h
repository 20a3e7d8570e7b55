#pragma once

#include "results/StimulationSites.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSize>

// The "On the MR" picture of the phosphene map: the 3D rendering of the associated MR window (the
// same surface search and shading), seen from behind the head, where the grid lies, with the 50
// targets on it coloured by their phosphene rate on the map's scale; a cell without stimuli is a
// hollow ring. No widgets: the map window shows it and finds the target under the mouse with it.
namespace SitesPicture {

// A mark on the rendering: a point of the volume as held (x column, y row, z slice, between voxels)
// and the counts whose rate colours it (a hollow ring without stimuli). A mark not shown keeps its
// place in the list (a cell whose aiming met no scalp) but is neither drawn nor found under a point.
struct Mark {
    StimulationSites::Vec3 voxel{0, 0, 0};
    PhospheneMap::CellCounts counts;
    bool shown = true;
};

class View {
public:
    View() = default;
    // Renders the volume (in the layout) from behind; `increment` is the slice spacing in pixels,
    // which stretches the slice axis as in the associated MR window.
    View(const VolumeLayout::ScannerVolume &volume, double increment);

    bool isNull() const { return m_rendering.isNull(); }
    // Where the rendering lies in a picture of this size (centred, proportions kept, room for the
    // legend on the right).
    QRectF frame(QSize size) const;
    // Where a point of the volume, and a site's target, show in a picture of this size.
    QPointF at(const StimulationSites::Vec3 &voxel, QSize size) const;
    QPointF at(const StimulationSites::Site &site, QSize size) const { return at(site.targetVoxel, size); }
    // The cell whose target is drawn under the point, -1 for none.
    int cellAt(const StimulationSites::Sites &sites, QPointF point, QSize size) const;
    // The index of the mark drawn under the point, -1 for none.
    int markAt(const QList<Mark> &marks, QPointF point, QSize size) const;
    QImage render(const StimulationSites::Sites &sites, int selectedCell, QSize size) const;
    // The marks on the rendering with the map's scale; the mark `selected` (an index, -1 for none) is
    // ringed and labelled `selectedText`; `caption` goes at the top left.
    QImage render(const QList<Mark> &marks, int selected, const QString &selectedText, const QString &caption,
                  QSize size) const;

private:
    double markRadius(QSize size) const;

    QImage m_rendering;     // u = slice seen from behind (subject's left on the left), v = row
    double m_increment = 1; // picture units across per slice
    int m_width = 0;        // columns of the volume (face to back)
};

} // namespace SitesPicture
