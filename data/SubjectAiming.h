#pragma once

#include "data/SubjectCalibration.h"

#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

// The aiming of a subject's grid cells on its calibrated series, kept in the study beside the
// calibration so that a group map needs no series: for each cell the point where the aiming meets the
// scalp and the unit direction of the straight line from there to the head centre, in the subject's
// scanner space (NIfTI world, RAS mm), and how far that line runs before the centre. It depends only
// on the calibration and the series, and holds only for the calibration it was aimed from: the
// digest of that calibration is stored with it and compared when it is used.
namespace SubjectAiming {

// The cells of the grid, 0 to 49.
inline constexpr int Cells = 50;

struct Cell {
    bool found = false;                    // false: the aiming meets no scalp (the other values are 0)
    std::array<double, 3> scalp{0, 0, 0};  // RAS mm
    std::array<double, 3> toward{0, 0, 0}; // unit vector from the scalp point to the head centre
    double reach = 0;                      // mm from the scalp point to the head centre
};

struct Record {
    qint32 subjectId = 0;
    QString calibration; // calibrationDigest() of the calibration it was aimed from
    std::array<Cell, Cells> cells{};
};

// What the aiming depends on, as 64 lower-case hex digits: the SHA-256 of the way it is computed (a
// tag that changes with it), the series (fingerprint and number) and every value of the calibration
// that places the grid (landmarks, distance, interslice, zero frame), numbers written exactly. Not the
// series' path nor when it was accepted: a moved series or a calibration stored again holds the same.
QString calibrationDigest(const SubjectCalibration::Record &calibration);

// The statement that creates the table mr_aiming (50 rows per subject) as the engine of the
// connection takes it; part of a new study's schema and of the step to schema version 4.
QString createStatement(const QSqlDatabase &db);

// The subject's stored aiming, if any. Every value is checked as it is read (the 50 cells once each,
// one digest, found 0 or 1, coordinates finite and within 1e6 mm, a found cell's direction of length
// 1 and its reach from 1 to 1000 mm); throws StudyError naming the subject and the column when one
// is not, or the study cannot be read.
std::optional<Record> read(const QSqlDatabase &db, qint32 subjectId);

// The stored aiming when it was aimed from this calibration; nothing when there is none, or it is of
// another calibration (marked again since, or another series). Throws StudyError as read().
std::optional<Record> readFor(const QSqlDatabase &db, const SubjectCalibration::Record &calibration);

// Replaces the subject's rows inside the caller's transaction (the calibration's or the
// normalisation's write, which hold the subject's lock). Throws StudyError.
void replace(const QSqlDatabase &db, const Record &record);

} // namespace SubjectAiming
