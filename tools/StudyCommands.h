#pragma once

#include <QStringList>

class QTextStream;

// The study commands of zokorvane-tool that write stimuli and drawings. Each returns the process
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

} // namespace StudyCommands
