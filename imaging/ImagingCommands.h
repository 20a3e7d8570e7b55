#pragma once

#include <QStringList>

class QTextStream;

// The imaging commands of zokorvane-tool. Each returns the process exit code: 0 done, 1 failed,
// 2 wrong arguments (with the usage on err).
namespace ImagingCommands {

// phantom DIR [--slices N] [--size N] [--spacing MM] [--thickness MM]
int phantom(const QStringList &args, QTextStream &out, QTextStream &err);
// load-series DIR [--jpg-only] [--lateral] [--threads N]: prints one JSON object.
int loadSeries(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace ImagingCommands
