#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Conversion of a legacy Access (Jet 3 or Jet 4) data base into a study. The .mdb file is only
// read; the study is written beside it under a temporary name and renamed into place once every
// row has come over and been counted, so a failed import leaves no study file behind.
namespace LegacyImport {

struct Result {
    int subjects = 0;
    int points = 0;
    int stimuli = 0;
    // Values that could not be carried over exactly ("table row N, column: why"); empty when all did.
    QStringList inexact;
    int drawings = 0;            // drawings copied into the study from the legacy drawing folder
    QStringList missingDrawings; // drawings named by stimuli that were missing or refused
};

// Called as rows come over with the rows done so far and the total; returning false cancels.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// The study a legacy file converts into: the same path with the extension .sqlite. The drawings of
// the legacy folder "<name>_puntos" are copied into it.
QString studyPathFor(const QString &mdbPath);

// Imports `mdbPath` into a new study at `studyPath`. Refuses an existing study file, a file that
// is not a Jet data base, one without the three tables (naming those missing), and unreadable or
// truncated files. Throws StudyError with the reason; on any failure nothing is left behind.
Result importMdb(const QString &mdbPath, const QString &studyPath, const Progress &progress = {});

} // namespace LegacyImport
