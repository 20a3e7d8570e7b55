#include "data/SubjectCalibration.h"

#include "data/Query.h"
#include "data/ServerStudy.h"
#include "data/StoredValue.h"
#include "data/StudyError.h"
#include "data/SubjectAiming.h"
#include "data/SubjectLock.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace SubjectCalibration {

namespace {

// The columns after subject_id, in the order they are written and read.
const QString Columns = QStringLiteral(
    "series, series_number, fingerprint, landmark1_x, landmark1_y, landmark1_z, landmark2_x, "
    "landmark2_y, landmark2_z, ilion_x, ilion_y, ilion_z, distance, interslice, zero_frame, accepted");

// The value of a REAL column as stored: a number, or text that is one ("nan" and "inf" included,
// which the checks then refuse).
double real(const QVariant &value) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? number : std::nan("");
}

// Refuses the row, naming the subject, the column and what it holds.
[[noreturn]] void refuse(qint32 subjectId, const QString &column, const QVariant &value) {
    throw StudyError(QCoreApplication::translate(
                         "SubjectCalibration", "The stored MR calibration of subject %1 is refused: %2 holds "
                                               "'%3', which the program never stores there. Mark the "
                                               "landmarks again.")
                         .arg(subjectId)
                         .arg(column, value.toString().left(40)));
}

} // namespace

QString createStatement(const QSqlDatabase &db) {
    return ServerStudy::schemaStatement(db, QStringLiteral(R"(CREATE TABLE mr_calibration (
        subject_id INTEGER PRIMARY KEY,
        series TEXT NOT NULL,
        series_number INTEGER NOT NULL,
        fingerprint TEXT NOT NULL,
        landmark1_x REAL NOT NULL, landmark1_y REAL NOT NULL, landmark1_z REAL NOT NULL,
        landmark2_x REAL NOT NULL, landmark2_y REAL NOT NULL, landmark2_z REAL NOT NULL,
        ilion_x REAL NOT NULL, ilion_y REAL NOT NULL, ilion_z REAL NOT NULL,
        distance REAL NOT NULL,
        interslice REAL NOT NULL,
        zero_frame REAL NOT NULL,
        accepted DATETIME NOT NULL))"));
}

std::optional<Record> read(const QSqlDatabase &db, qint32 subjectId) {
    QSqlQuery query = Query::run(
        db, QStringLiteral("SELECT %1 FROM mr_calibration WHERE subject_id = ?").arg(Columns), {subjectId},
        QCoreApplication::translate("SubjectCalibration", "Cannot read the subject's MR calibration"));
    if (!query.next()) {
        return std::nullopt;
    }
    // Every value is checked as it is read: the row may have been edited, or come from elsewhere.
    const QStringList columns = Columns.split(QStringLiteral(", "));
    const auto number = [&](int index, double low, double high) {
        const double value = real(query.value(index));
        if (!(value >= low && value <= high)) {
            refuse(subjectId, columns.at(index), query.value(index));
        }
        return value;
    };
    Record r;
    r.subjectId = subjectId;
    r.series = query.value(0).toString();
    r.seriesNumber = Query::integer(query.value(1), "mr_calibration", "series_number");
    r.fingerprint = query.value(2).toString();
    if (r.series.isEmpty() || r.series.contains(QChar(0))) {
        refuse(subjectId, columns.at(0), query.value(0));
    }
    if (r.seriesNumber < 0) {
        refuse(subjectId, columns.at(1), query.value(1));
    }
    if (r.fingerprint.isEmpty()) {
        refuse(subjectId, columns.at(2), query.value(2));
    }
    for (int i = 0; i < 3; ++i) { // voxel positions within 16 bits; inside the volume is checked once loaded
        r.landmarks[std::size_t(i)] = {number(3 + 3 * i, -32767, 32767), number(4 + 3 * i, -32767, 32767),
                                       number(5 + 3 * i, -32767, 32767)};
    }
    r.distance = number(12, 1e-6, 1e6);
    r.interslice = number(13, 0, 100); // 0: the series' own spacing; the loader takes none above 100 mm
    r.zeroFrame = number(14, -1e6, 1e6);
    r.accepted = StoredValue::utcTime(query.value(15));
    return r;
}

void write(const QSqlDatabase &db, const Record &record, const SubjectAiming::Record *aiming) {
    const QString what =
        QCoreApplication::translate("SubjectCalibration", "Cannot store the subject's MR calibration");
    if (aiming && (aiming->subjectId != record.subjectId ||
                   aiming->calibration != SubjectAiming::calibrationDigest(record))) {
        throw StudyError(what + QStringLiteral(": the aiming was not aimed from it"));
    }
    const SubjectLock lock(db, record.subjectId);
    Transaction transaction(db);
    Query::run(db, QStringLiteral("DELETE FROM mr_calibration WHERE subject_id = ?"), {record.subjectId},
               what);
    QVariantList values{record.subjectId, record.series, record.seriesNumber, record.fingerprint};
    for (const Landmark &l : record.landmarks) {
        values << l.x << l.y << l.z;
    }
    values << record.distance << record.interslice << record.zeroFrame
           << StoredValue::utcText(record.accepted);
    Query::run(db,
               QStringLiteral("INSERT INTO mr_calibration (subject_id, %1) VALUES (?%2)")
                   .arg(Columns, QStringLiteral(", ?").repeated(int(values.size()) - 1)),
               values, what);
    if (aiming) {
        SubjectAiming::replace(db, *aiming);
    }
    transaction.commit();
}

} // namespace SubjectCalibration
