#pragma once

#include <QString>

// A small, complete study for a first look at the program: three subjects (the second one blind),
// two experiments each for the first and third with every kind of answer, drawings for the
// phosphenes, and a synthetic MR series that the first subject's record names.
namespace DemoStudy {

// Creates DIR/demo.sqlite with its drawings in DIR/demo_puntos and the MR series in DIR/mr-ana.
// Refuses a directory that already holds a demo study. Returns the study's path; throws
// StudyError on failure.
QString create(const QString &directory);

// A large study for tests and benchmarks, the same for the same arguments: `subjects` subjects
// (grid centres varying between them), `stimuli` stimuli spread over their 5 x 10 grids and four
// experiments, every parameter varied (Cadwell coils that move a stimulus to the next cell
// included, and a few values left empty), notes holding tabs, quotes, line breaks, backslashes and
// accents, and a drawing of about 40 points for every stimulus not answered "No". Creates the study
// at `path`; throws StudyError.
void createLarge(const QString &path, int subjects, int stimuli, quint32 seed = 1);

} // namespace DemoStudy
