#pragma once

#include "brain/BrainTemplate.h"
#include "experiments/StimulationComparison.h"
#include "imaging/VolumeLayout.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The phosphene answers of several subjects pooled in the template's space: every normalised
// subject's cell targets carried into MNI space, and on the template's grid, within a radius of each
// target, the stimuli of those cells pooled under the map's filter. The targets come from the aiming
// stored with the subject's calibration or normalisation (SubjectAiming.h); a subject without one for
// its current calibration has its series loaded and aimed on, which gives the same targets. No widgets: the
// map window's "In the brain" tab, the tool's `group-map` command and the tests use it alike.
namespace GroupMap {

struct Options {
    QList<qint32> subjects;               // every subject when empty
    double depthMm = 15;                  // the target below the scalp
    double radiusMm = 5;                  // voxels this near a target pool its cell
    StimulationComparison::Filter filter; // the map's parameter conditions; must be ok()
};

// One atlas area reached by some target: the subjects and cells whose targets lie in it and their
// stimuli and answers. rate: yes over stimuli (0 without stimuli).
struct AreaRow {
    QString area;
    int subjects = 0, cells = 0, stimuli = 0, yes = 0, no = 0, doubt = 0;
    double rate = 0;
};

// A cell target of a chosen, normalised subject with stimuli under the filter.
struct Target {
    qint32 subjectId = 0;
    int cell = -1;
    VolumeLayout::Vec3 mni{0, 0, 0}; // RAS mm
    QString area;                    // "" when none
    int stimuli = 0, yes = 0, no = 0, doubt = 0;
    double rate() const { return stimuli > 0 ? double(yes) / stimuli : 0.0; }
};

struct Result {
    // On the template's grid and affine: 1 + the pooled rate in percent (rounded) where a target
    // reaches, 0 elsewhere; and the number of stimuli pooled (capped at 255).
    VolumeLayout::ScannerVolume rate, counts;
    QList<AreaRow> areas; // by area name
    QList<Target> targets;
    QList<qint32> subjects; // the chosen subjects that are normalised and pooled
    QStringList leftOut;    // the chosen subjects that are not normalised (or cannot be aimed), and why
    // Of the subjects pooled, those whose series had to be loaded: no aiming was stored for their
    // calibration (SubjectAiming.h). The others come from the study alone.
    QList<qint32> seriesLoaded;
};

// Throws StudyError (the study), BrainError (the template or atlas).
Result compute(const QSqlDatabase &db, const Options &options, const BrainTemplate &tpl);

// The per-area table: header "area, subjects, cells, stimuli, yes, no, doubt, rate" tab-separated, the
// rate with four decimals.
QByteArray areasTsv(const QList<AreaRow> &areas);

// A row's counts as the table and the window show them: subjects, cells, stimuli, yes, no, doubt.
QStringList countTexts(const AreaRow &row);

} // namespace GroupMap
