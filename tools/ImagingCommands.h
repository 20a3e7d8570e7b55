#pragma once

#include <QStringList>

class QTextStream;

// The imaging commands of zokorvane-tool. Each returns the process exit code: 0 done, 1 failed,
// 2 wrong arguments (with the usage on err).
namespace ImagingCommands {

// phantom DIR [--slices N] [--size N] [--spacing MM] [--thickness MM]
//         [--orientation sagittal|axial|coronal] [--tilt DEG] [--shuffle-names] [--multi-frame]
int phantom(const QStringList &args, QTextStream &out, QTextStream &err);
// load-series DIR|FILE.nii[.gz] [--series N] [--jpg-only] [--lateral] [--threads N]
//             [--export-volume OUT.nii[.gz]]: prints one JSON object; the export is the volume as
//             the program holds it, placed in the scanner's space.
int loadSeries(const QStringList &args, QTextStream &out, QTextStream &err);

// plan SERIES_DIR|FILE.nii[.gz] --landmarks X1,Y1,Z1:X2,Y2,Z2:XI,YI,ZI [--distance MM] [--depth D] [--csv
// OUT]: the scalp and target points of the 50 grid cells, in voxels and millimetres, as CSV.
int plan(const QStringList &args, QTextStream &out, QTextStream &err);

// calibrate STUDY --subject ID --series DIR|FILE.nii[.gz] [--series-number N] --landmarks
// X1,Y1,Z1:X2,Y2,Z2:XI,YI,ZI [--distance MM]: stores the subject's MR calibration as the point selection
// window does when accepted (landmarks in the voxels of the volume as held, as plan takes them).
int calibrate(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace ImagingCommands
