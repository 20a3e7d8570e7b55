#include "data/SubjectCalibration.h"

#include "data/Query.h"
#include "data/ServerStudy.h"
#include "data/StoredValue.h"
#include "data/StudyError.h"
#include "data/SubjectLock.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QVariant>

namespace SubjectCalibration {

namespace {

// The columns after subject_id, in the order they are written and read.
const QString Columns = QStringLiteral(
    "series, series_number, fingerprint, landmark1_x, landmark1_y, landmark1_z, landmark2_x, "
    "landmark2_y, landmark2_z, ilion_x, ilion_y, ilion_z, distance, interslice, zero_frame, accepted");

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
    Record r;
    r.subjectId = subjectId;
    r.series = query.value(0).toString();
    r.seriesNumber = Query::integer(query.value(1), "mr_calibration", "series_number");
    r.fingerprint = query.value(2).toString();
    for (int i = 0; i < 3; ++i) {
        r.landmarks[std::size_t(i)] = {query.value(3 + 3 * i).toDouble(), query.value(4 + 3 * i).toDouble(),
                                       query.value(5 + 3 * i).toDouble()};
    }
    r.distance = query.value(12).toDouble();
    r.interslice = query.value(13).toDouble();
    r.zeroFrame = query.value(14).toDouble();
    r.accepted = StoredValue::utcTime(query.value(15));
    return r;
}

void write(const QSqlDatabase &db, const Record &record) {
    const SubjectLock lock(db, record.subjectId);
    Transaction transaction(db);
    const QString what =
        QCoreApplication::translate("SubjectCalibration", "Cannot store the subject's MR calibration");
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
    transaction.commit();
}

} // namespace SubjectCalibration
