#include "data/SubjectCalibration.h"

#include "data/StudyError.h"

// Placeholder until the study keeps calibrations: no subject has one, and none can be stored.
namespace SubjectCalibration {

std::optional<Record> read(const QSqlDatabase &, qint32) {
    return std::nullopt;
}

void write(const QSqlDatabase &, const Record &) {
    throw StudyError(QStringLiteral("This study cannot keep MR calibrations yet"));
}

} // namespace SubjectCalibration
