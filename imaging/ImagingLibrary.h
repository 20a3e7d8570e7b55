#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class Volume;

// The volume side of the imaging library: a registry of volumes behind 32-bit handles (0 = none),
// with the operations the loader, the geometry and the picture areas call. The DICOM and NIfTI
// sides are DicomFiles and NiftiFiles; the loader brings every volume into one layout
// (VolumeLayout.h) before it appends its slices here.
//
// As the callers expect, nothing here reports failure: an unknown handle, a volume not yet closed or
// an index outside the volume leaves the outputs and the picture as they were.
//
// The cut and 3D calls draw into an image (the picture area's backing image) one pixel per voxel
// unit, so the marks drawn afterwards in voxel units land on it once the picture's scale is the
// image's size. The slice spacing (the increment) only shapes the 3D shading; a window that wants
// true proportions stretches the z axis by it.
//
// The lateral-slices flags of _d2_crea and _d2_cierra are accepted for the same call shape; the slices
// are appended already in the layout, so the volume keeps them in the order given.
class ImagingLibrary {
public:
    ImagingLibrary();
    ~ImagingLibrary();
    ImagingLibrary(const ImagingLibrary &) = delete;
    ImagingLibrary &operator=(const ImagingLibrary &) = delete;

    // Creates an empty volume; flag is the "Images as lateral slices" box (1 = ticked).
    void _d2_crea(qint32 &handle, qint32 flag);
    // Appends the image file (BMP, or any format QImage reads) as the next slice.
    void _d2_anyade(qint32 handle, const QString &path);
    // Appends a decoded picture as the next slice.
    void _d2_anyade(qint32 handle, const QImage &slice);
    // Appends decoded slices at once (see Volume::append), taking the buffer over.
    void _d2_anyade(qint32 handle, int width, int height, int slices, std::vector<std::uint8_t> &&voxels);
    // Completes the volume; flag is 1 when the lateral box is unchecked, 0 when checked.
    void _d2_cierra(qint32 handle, qint32 flag);
    // Releases the volume and sets the handle to 0.
    void _d2_destruye(qint32 &handle);
    // Slice spacing in pixel units.
    void _d2_setIncremento(qint32 handle, double increment);
    void _d2_dimensiones(qint32 handle, qint32 &x, qint32 &y, qint32 &z) const;
    // Column of the head's centre on row y of slice z (see Volume::centralColumn); 0 without volume.
    qint32 _d2_dame_posicion_central(qint32 handle, qint32 y, qint32 z) const;
    // The cut at slice z (width x height) or row y (width x slices, slice 0 at the bottom).
    void _d2_crea_corte_z(qint32 handle, qint32 z, QImage *picture) const;
    void _d2_crea_corte_y(qint32 handle, qint32 y, QImage *picture) const;
    // Side rendering, slices x height, u = z and v = y (see Volume::render3D). The two zero
    // arguments of the original calls select nothing and are accepted for the same call shape.
    void _d2_crea3D_2(qint32 handle, qint32 cutColumn, qint32 one, qint32 low, qint32 high, qint32 zero,
                      QImage *picture) const;
    // Line search from A through B (see Volume::searchLine): out[0..2] the scalp point, out[3..5]
    // the inner point; false (out unchanged) when the line meets nothing.
    bool _d2_dameUmbral3D(qint32 handle, const qint32 a[3], const qint32 b[3], qint32 low, qint32 high,
                          qint32 out[6]) const;

    // For the windows and tools: the volume behind a handle (nullptr when none; it tells its size,
    // increment and lateral flag).
    const Volume *volume(qint32 handle) const;

private:
    const Volume *closedVolume(qint32 handle) const;

    std::map<qint32, std::unique_ptr<Volume>> m_volumes;
    qint32 m_nextHandle = 1;
};
