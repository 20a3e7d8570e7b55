#pragma once

#include "results/PhospheneMap.h"

#include <QStringList>

#include <optional>

class CommandArguments;
class QTextStream;

// The study commands of zokorvane-tool: stimuli and drawings in, results out. Each returns the process
// exit code: 0 done, 1 failed (the reason on err), 2 wrong arguments (with the usage on err).
namespace StudyCommands {

// stimulus add|delete STUDY --subject ID --cell N --experiment N [--answer yes|no|doubt] [--colour TEXT]
//          [--brightness N] [--notes TEXT] [--drawing FILE] [--coil N] [--pulse-type N] [--phase N]
//          [--orientation N] [--pulses N] [--frequency N] [--intensity N] [--date ISO-8601]
// The recording window's "Save and continue" and "Delete" from a script, through the same store.
int stimulus(const QStringList &args, QTextStream &out, QTextStream &err);

// export-drawings STUDY DIR: every drawing of the study as a file named by its stimulus's drawing
// name, in the drawing file format.
int exportDrawings(const QStringList &args, QTextStream &out, QTextStream &err);

// export STUDY OUT --format tsv|nibs-bids: the study for analysis tools (StudyExport.h).
int exportStudy(const QStringList &args, QTextStream &out, QTextStream &err);

// map STUDY [--png OUT.png] [--csv OUT.csv] [--subjects ID,ID...] [--pulses-from N] [--pulses-to N]
//     [--frequency-from N] [--frequency-to N] [--intensity-from N] [--intensity-to N] [--coil C]
//     [--pulse-type C] [--phase C] [--orientation C]: the phosphene map as a picture and as CSV
//     (cell, stimuli, yes, no, doubt, rate). A list option takes a caption or a code; a bound left
//     out puts no condition.
int map(const QStringList &args, QTextStream &out, QTextStream &err);

// The map's filter options, shared by `map` and `sites`, as the usage shows them.
inline const QString MapFilterUsage =
    QStringLiteral("[--pulses-from N] [--pulses-to N] [--frequency-from N] [--frequency-to N] "
                   "[--intensity-from N] [--intensity-to N] [--coil C] [--pulse-type C] [--phase C] "
                   "[--orientation C]");
// Reads the map's filter options into a selection of every subject; nothing, with the reason on
// err, when one of them is wrong.
std::optional<PhospheneMap::Selection> mapFilter(const CommandArguments &arguments, QTextStream &err);

// sites STUDY --subject ID [--depth MM] [--tsv OUT.tsv] [--nifti OUT.nii.gz] [--volume OUT.nii.gz]
//       [the map's filter options]: the subject's stimulation sites in the scanner's space from its
//       stored MR calibration (StimulationSites.h), as TSV (on out without --tsv), the overlay of
//       the sites on the volume as held, and that volume. Fails without a stored calibration.
int sites(const QStringList &args, QTextStream &out, QTextStream &err);

// normalise STUDY --subject ID [--template FILE]: the subject's calibrated series registered to the
// template (Normalise.h) and stored; prints the matrix, its scales and rotations, the metric and the
// seconds, the progress on err.
int normalise(const QStringList &args, QTextStream &out, QTextStream &err);

// group-map STUDY --nifti OUT.nii.gz [--counts OUT.nii.gz] [--areas OUT.tsv] [--subjects ID,...]
//           [--depth MM] [--radius MM] [--template FILE] [--atlas FILE] [the map's filter options]:
//           the chosen normalised subjects' answers pooled on the template's grid (GroupMap.h).
//           Subjects that are not normalised are named and left out; fails when none is left.
int groupMap(const QStringList &args, QTextStream &out, QTextStream &err);

// copy-study SRC DST: a study copied between a file and a server (either way) into a new file or an
// empty database, then checked table by table (counts and checksums).
int copyStudy(const QStringList &args, QTextStream &out, QTextStream &err);

// backup STUDY [DEST]: a consistent copy of a file study; to DEST (a new file, or a folder to put
// "<study>-YYYY-MM-DD-<id>.sqlite" in; never over the study or another file), or without DEST the
// rolling backup as the program keeps it (config.ini [Backups]: Folder, Keep), for a daily cron job.
int backup(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace StudyCommands
