#pragma once

#include "data/SubjectCalibration.h"
#include "data/SubjectNormalisation.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// A study written out for analysis tools, without widgets (the tool's `export` command and the
// export window use it alike).
//
// - Tsv: OUT/stimuli.tsv, one row per stimulus with the columns of stimulusColumns(), and
//   OUT/subjects.tsv, one row per subject.
// - NibsBids: a dataset laid out as the NIBS-BIDS proposal v6.2 lays out stimulation data:
//   dataset_description.json, participants.tsv and .json (no names: a dataset to share), and per
//   subject sub-<id>/nibs/sub-<id>_task-phosphene_nibs.tsv with its _nibs.json sidecar describing
//   every column, and the drawings in sub-<id>/nibs/sub-<id>_task-phosphene_drawings/. For a
//   subject whose MR calibration the study keeps, the volume as held in
//   sub-<id>/anat/sub-<id>_T1w.nii.gz and the stimulation sites of the 50 cells (StimulationSites.h,
//   SiteDepthMm deep) as sub-<id>/nibs/sub-<id>_task-phosphene_markers.tsv with the coordinate
//   system in _coordsystem.json (the T1w image's world); the rows of the _nibs.tsv name their site.
//   For such a subject normalised on the series calibrated, the same sites in the template's space
//   as sub-<id>_task-phosphene_space-<template>_markers.tsv and its _coordsystem.json.
//
// Every file is UTF-8 with one header line and tab-separated fields; inside text a backslash, tab,
// line feed, carriage return and NUL are written \\, \t, \n, \r and \0, and a field holding a double
// quote is quoted with its quotes doubled, so each row is one line that CSV readers (Python's csv,
// pandas, R's read.delim) split back into the same fields. A study holding text that is not valid
// UTF-8 is refused, naming the table, row and column, before anything is written: no value is
// changed on the way out.
//
// OUT must not exist or be an empty folder. Everything is written into a hidden folder beside it
// that becomes OUT only when complete, so a failed or stopped export leaves nothing, and what a
// killed export left beside it is removed by the next export into that folder's parent.
namespace StudyExport {

enum class Format { Tsv, NibsBids };

// "tsv" and "nibs-bids"; nothing for any other name.
std::optional<Format> formatNamed(const QString &name);

// The columns of stimuli.tsv, in order.
const QStringList &stimulusColumns();

// A text field as written: escaped and, when it holds a double quote, quoted.
QString field(const QString &text);

struct Report {
    int subjects = 0;
    qint64 stimuli = 0;
    qint64 drawings = 0;
    QStringList notes; // what the operator should know (stimuli that belong to no subject...)
    int withoutMr = 0; // calibrated subjects exported without their MR and sites (it could not be loaded)
};

// Told after each block of stimuli written: how many of how many. Returning false stops the
// export, which then leaves nothing and throws StudyError("The export was stopped").
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Where the export reads a subject's MR calibration.
using ReadCalibration =
    std::function<std::optional<SubjectCalibration::Record>(const QSqlDatabase &db, qint32 subject)>;

// Where the export reads a subject's normalisation.
using ReadNormalisation =
    std::function<std::optional<SubjectNormalisation::Record>(const QSqlDatabase &db, qint32 subject)>;

// The depth of the targets the NIBS-BIDS export gives, in mm.
inline constexpr double SiteDepthMm = 15.0;

// Writes the export; throws StudyError (with the path and the reason) when it cannot.
Report run(const QSqlDatabase &db, const QString &out, Format format, const Progress &progress = {},
           const ReadCalibration &readCalibration = SubjectCalibration::read,
           const ReadNormalisation &readNormalisation = SubjectNormalisation::read);

} // namespace StudyExport
