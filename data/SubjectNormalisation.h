#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>

namespace SubjectAiming {
struct Record;
}

// A subject's normalisation, kept beside its MR calibration: the affine that carries the subject's
// scanner space (NIfTI world, RAS mm, as the stimulation sites use it) into the template's MNI space,
// the template it was computed against and the series it was computed on.
namespace SubjectNormalisation {

struct Record {
    qint32 subjectId = 0;
    std::array<double, 16> subjectToMni{}; // row-major 4 x 4, subject scanner RAS mm -> MNI RAS mm
    QString templateName;                  // e.g. "MNIColin27"
    QString templateSha256;                // of the template head file, 64 lower-case hex digits
    QString fingerprint;                   // of the series it was computed on (the calibration's)
    double metric = 0;                     // final Mattes mutual information (negative: better)
    QDateTime accepted;                    // UTC
};

// Why the record cannot be a normalisation: a matrix entry that is not finite, a last row other than
// 0 0 0 1, a matrix that cannot be inverted, no template name, a SHA-256 that is not 64 hex digits, no
// fingerprint, a metric that is not finite, no time. "" when it is sound.
QString problem(const Record &record);

// The statement that creates the table mr_normalisation (one row per subject) as the engine of the
// connection takes it; part of a new study's schema and of the step to schema version 3.
QString createStatement(const QSqlDatabase &db);

// The subject's stored normalisation, if any. Every value is checked (problem()); throws StudyError
// when the study cannot be read or a stored value is unsound.
std::optional<Record> read(const QSqlDatabase &db, qint32 subjectId);

// Stores the normalisation in one transaction, replacing the subject's earlier one, and with it the
// cells' aiming when given (found on the same series, as Normalise::compute finds it); on a server
// study it holds the subject's lock meanwhile. Throws StudyError, also for a record that is not sound.
void write(const QSqlDatabase &db, const Record &record, const SubjectAiming::Record *aiming = nullptr);

} // namespace SubjectNormalisation
