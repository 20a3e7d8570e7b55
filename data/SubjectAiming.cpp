#include "data/SubjectAiming.h"

#include "data/Query.h"
#include "data/ServerStudy.h"
#include "data/StudyError.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <cmath>

namespace SubjectAiming {

namespace {

// Changes whenever the loader's layout or the aiming change what a calibration gives: rows stored by
// an earlier way of aiming are then of another calibration, and are not used.
const QString Method = QStringLiteral("aim 1");

// The columns after subject_id, in the order they are written and read.
const QString Columns = QStringLiteral("cell, calibration_sha256, found, scalp_x, scalp_y, scalp_z, "
                                       "toward_x, toward_y, toward_z, reach");

QString exact(double value) {
    return QString::number(value, 'g', 17);
}

// Refuses the rows, naming the subject, the column and what it holds.
[[noreturn]] void refuse(qint32 subjectId, const QString &column, const QVariant &value) {
    throw StudyError(QCoreApplication::translate(
                         "SubjectAiming", "The stored aiming of subject %1 is refused: %2 holds '%3', which "
                                          "the program never stores there. Normalise the subject again.")
                         .arg(subjectId)
                         .arg(column, value.toString().left(40)));
}

} // namespace

QString calibrationDigest(const SubjectCalibration::Record &calibration) {
    QStringList parts{Method, calibration.fingerprint, QString::number(calibration.seriesNumber)};
    for (const SubjectCalibration::Landmark &l : calibration.landmarks) {
        parts << exact(l.x) << exact(l.y) << exact(l.z);
    }
    parts << exact(calibration.distance) << exact(calibration.interslice) << exact(calibration.zeroFrame);
    return QString::fromLatin1(
        QCryptographicHash::hash(parts.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString createStatement(const QSqlDatabase &db) {
    return ServerStudy::schemaStatement(db, QStringLiteral(R"(CREATE TABLE mr_aiming (
        subject_id INTEGER NOT NULL,
        cell INTEGER NOT NULL,
        calibration_sha256 TEXT NOT NULL,
        found INTEGER NOT NULL,
        scalp_x REAL NOT NULL, scalp_y REAL NOT NULL, scalp_z REAL NOT NULL,
        toward_x REAL NOT NULL, toward_y REAL NOT NULL, toward_z REAL NOT NULL,
        reach REAL NOT NULL,
        PRIMARY KEY (subject_id, cell)))"));
}

std::optional<Record> read(const QSqlDatabase &db, qint32 subjectId) {
    QSqlQuery query = Query::run(
        db, QStringLiteral("SELECT %1 FROM mr_aiming WHERE subject_id = ? ORDER BY cell").arg(Columns),
        {subjectId}, QCoreApplication::translate("SubjectAiming", "Cannot read the subject's aiming"));
    // Every value is checked as it is read: the rows may have been edited, or come from elsewhere.
    const QStringList columns = Columns.split(QStringLiteral(", "));
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    Record r;
    r.subjectId = subjectId;
    int rows = 0;
    while (query.next()) {
        const auto number = [&](int index, double low, double high) {
            bool ok = false;
            const double value = query.value(index).toDouble(&ok);
            if (!ok || !(value >= low && value <= high)) {
                refuse(subjectId, columns.at(index), query.value(index));
            }
            return value;
        };
        const int cell = int(number(0, 0, Cells - 1));
        if (cell != rows || cell != query.value(0).toDouble()) { // the cells in order, each once
            refuse(subjectId, columns.at(0), query.value(0));
        }
        const QString digest = query.value(1).toString();
        if (!hex.match(digest).hasMatch() || (rows > 0 && digest != r.calibration)) {
            refuse(subjectId, columns.at(1), query.value(1));
        }
        r.calibration = digest;
        Cell &c = r.cells[std::size_t(cell)];
        const double found = number(2, 0, 1);
        if (found != 0 && found != 1) {
            refuse(subjectId, columns.at(2), query.value(2));
        }
        c.found = found == 1;
        for (std::size_t a = 0; a < 3; ++a) {
            c.scalp[a] = number(3 + int(a), -1e6, 1e6);
            c.toward[a] = number(6 + int(a), -1, 1);
        }
        c.reach = number(9, 0, 1000);
        if (c.found) {
            if (std::abs(std::hypot(c.toward[0], c.toward[1], c.toward[2]) - 1) > 1e-9) {
                refuse(subjectId, columns.at(6), query.value(6));
            }
            if (!(c.reach >= 1)) {
                refuse(subjectId, columns.at(9), query.value(9));
            }
        }
        ++rows;
    }
    Query::finished(query);
    if (rows == 0) {
        return std::nullopt;
    }
    if (rows != Cells) {
        refuse(subjectId, columns.at(0), rows);
    }
    return r;
}

std::optional<Record> readFor(const QSqlDatabase &db, const SubjectCalibration::Record &calibration) {
    std::optional<Record> record = read(db, calibration.subjectId);
    if (record && record->calibration != calibrationDigest(calibration)) {
        return std::nullopt;
    }
    return record;
}

void replace(const QSqlDatabase &db, const Record &record) {
    const QString what = QCoreApplication::translate("SubjectAiming", "Cannot store the subject's aiming");
    Query::run(db, QStringLiteral("DELETE FROM mr_aiming WHERE subject_id = ?"), {record.subjectId}, what);
    const QString insert =
        QStringLiteral("INSERT INTO mr_aiming (subject_id, %1) VALUES (?%2)")
            .arg(Columns, QStringLiteral(", ?").repeated(Columns.count(QLatin1Char(',')) + 1));
    for (int cell = 0; cell < Cells; ++cell) {
        const Cell &c = record.cells[std::size_t(cell)];
        QVariantList values{record.subjectId, cell, record.calibration, c.found ? 1 : 0};
        for (double v : c.scalp) {
            values << v;
        }
        for (double v : c.toward) {
            values << v;
        }
        values << c.reach;
        Query::run(db, insert, values, what);
    }
}

} // namespace SubjectAiming
