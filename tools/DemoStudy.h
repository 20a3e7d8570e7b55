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

} // namespace DemoStudy
