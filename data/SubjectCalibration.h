#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

namespace SubjectAiming {
struct Record;
}

// A subject's MR calibration, kept in the study so that the subject's next session starts from it
// and the stimulation sites can be computed from the study alone: the series it was made on, the
// three landmarks in the voxels of the volume as the loader holds it (the one layout), and the
// spacing the point selection window accepted.
namespace SubjectCalibration {

// A voxel position in the volume as held: x column (face to back), y row (top down), z slice.
struct Landmark {
    double x = 0;
    double y = 0;
    double z = 0;
};

struct Record {
    qint32 subjectId = 0;
    QString series;       // the folder or NIfTI file as the operator chose it, whole
    int seriesNumber = 0; // the series of a folder that holds several (0: the first; 0 for NIfTI)
    QString fingerprint;  // recognises the series on any station (see the imaging side)
    std::array<Landmark, 3> landmarks; // calibration landmark 1, landmark 2, the Ilion
    double distance = 200.0;           // mm between the two calibration landmarks
    double interslice = 0;
    double zeroFrame = 0; // the point selection's "Zero Frame" (ImagingState::OrigenZ)
    QDateTime accepted;   // when the point selection was accepted (UTC)
};

// The statement that creates the table mr_calibration (one row per subject) as the engine of the
// connection takes it; part of a new study's schema and of the step to schema version 2.
QString createStatement(const QSqlDatabase &db);

// The subject's stored calibration, if any. Throws StudyError when the study cannot be read.
std::optional<Record> read(const QSqlDatabase &db, qint32 subjectId);

// Stores the calibration in one transaction, replacing the subject's earlier one, and with it the
// cells' aiming when given (aimed from this calibration: SubjectAiming.h); on a server study it holds
// the subject's lock meanwhile. Throws StudyError.
void write(const QSqlDatabase &db, const Record &record, const SubjectAiming::Record *aiming = nullptr);

} // namespace SubjectCalibration
