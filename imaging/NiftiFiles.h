#pragma once

#include "imaging/VolumeLayout.h"

#include <QString>

// NIfTI-1 and NIfTI-2 volumes (.nii, .nii.gz), as dcm2niix writes them, through nifti_clib.
namespace NiftiFiles {

// True for names ending in .nii or .nii.gz (any case).
bool isNiftiPath(const QString &path);

// Reads the first 3D volume (a 4D file gives its first volume; a 2D one is a single slice) of any
// scalar datatype, scaled to 8 bits: scl_slope/scl_inter applied, then the range from the minimum
// to the 99.5th percentile of the voxel values mapped linearly to 0..255 (clamped), so one bright
// outlier does not darken the head. Placed by the sform when its code is > 0, else the qform when its
// code is > 0, else by the voxel sizes alone (pixdim, axes as stored). NIfTI's world is RAS; the
// affine given back is in LPS (x and y negated). False with *error (when given) naming the file and
// the reason: not readable, not NIfTI, complex/RGB datatype, no voxels, NaN/infinite or zero voxel
// sizes.
bool read(const QString &path, VolumeLayout::ScannerVolume &volume, QString *error = nullptr);

// The same for a label volume (an atlas): the values kept as stored, each a whole number from 0 to 255
// after scl_slope/scl_inter; a file holding any other value is refused.
bool readLabels(const QString &path, VolumeLayout::ScannerVolume &volume, QString *error = nullptr);

// Writes the volume as NIfTI-1, unsigned 8-bit, compressed when the name ends in .nii.gz: sform
// (code 1, scanner) and qform (code 1) from the affine converted to RAS, pixdim from the axis
// lengths, xyzt_units mm. All or nothing: written to a temporary file in the same folder and renamed
// over the target at the end; on failure the temporary is removed, the target untouched, and
// *error says so with the user's path and the system's reason.
bool write(const QString &path, const VolumeLayout::ScannerVolume &volume, QString *error = nullptr);

} // namespace NiftiFiles
