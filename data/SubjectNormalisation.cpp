#include "data/SubjectNormalisation.h"

#include "data/Query.h"
#include "data/ServerStudy.h"
#include "data/StoredValue.h"
#include "data/StudyError.h"
#include "data/SubjectAiming.h"
#include "data/SubjectLock.h"
#include "data/Transaction.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace SubjectNormalisation {

namespace {

// The first three rows of the matrix (the fourth is 0 0 0 1), then the rest, in the order they are
// written and read after subject_id.
const QString Columns = QStringLiteral(
    "m00, m01, m02, m03, m10, m11, m12, m13, m20, m21, m22, m23, template_name, template_sha256, "
    "fingerprint, metric, accepted");

double determinant3(const std::array<double, 16> &m) {
    return m[0] * (m[5] * m[10] - m[6] * m[9]) - m[1] * (m[4] * m[10] - m[6] * m[8]) +
           m[2] * (m[4] * m[9] - m[5] * m[8]);
}

} // namespace

QString problem(const Record &record) {
    const auto &m = record.subjectToMni;
    for (double value : m) {
        if (!std::isfinite(value) || std::abs(value) > 1e6) {
            return QCoreApplication::translate("SubjectNormalisation",
                                               "a matrix entry is not a finite number");
        }
    }
    if (m[12] != 0 || m[13] != 0 || m[14] != 0 || m[15] != 1) {
        return QCoreApplication::translate("SubjectNormalisation", "the matrix's last row is not 0 0 0 1");
    }
    if (!(std::abs(determinant3(m)) > 1e-6)) {
        return QCoreApplication::translate("SubjectNormalisation", "the matrix cannot be inverted");
    }
    if (record.templateName.trimmed().isEmpty()) {
        return QCoreApplication::translate("SubjectNormalisation", "no template is named");
    }
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    if (!hex.match(record.templateSha256).hasMatch()) {
        return QCoreApplication::translate("SubjectNormalisation",
                                           "the template's SHA-256 is not 64 hex digits");
    }
    if (record.fingerprint.isEmpty()) {
        return QCoreApplication::translate("SubjectNormalisation", "no series fingerprint");
    }
    if (!std::isfinite(record.metric)) {
        return QCoreApplication::translate("SubjectNormalisation", "the metric is not a finite number");
    }
    if (!record.accepted.isValid()) {
        return QCoreApplication::translate("SubjectNormalisation", "no time of acceptance");
    }
    return {};
}

QString createStatement(const QSqlDatabase &db) {
    return ServerStudy::schemaStatement(db, QStringLiteral(R"(CREATE TABLE mr_normalisation (
        subject_id INTEGER PRIMARY KEY,
        m00 REAL NOT NULL, m01 REAL NOT NULL, m02 REAL NOT NULL, m03 REAL NOT NULL,
        m10 REAL NOT NULL, m11 REAL NOT NULL, m12 REAL NOT NULL, m13 REAL NOT NULL,
        m20 REAL NOT NULL, m21 REAL NOT NULL, m22 REAL NOT NULL, m23 REAL NOT NULL,
        template_name TEXT NOT NULL,
        template_sha256 TEXT NOT NULL,
        fingerprint TEXT NOT NULL,
        metric REAL NOT NULL,
        accepted DATETIME NOT NULL))"));
}

std::optional<Record> read(const QSqlDatabase &db, qint32 subjectId) {
    QSqlQuery query = Query::run(
        db, QStringLiteral("SELECT %1 FROM mr_normalisation WHERE subject_id = ?").arg(Columns), {subjectId},
        QCoreApplication::translate("SubjectNormalisation", "Cannot read the subject's normalisation"));
    if (!query.next()) {
        return std::nullopt;
    }
    Record r;
    r.subjectId = subjectId;
    for (int i = 0; i < 12; ++i) {
        bool ok = false;
        const double value = query.value(i).toDouble(&ok);
        r.subjectToMni[std::size_t(i)] = ok ? value : std::nan("");
    }
    r.subjectToMni[15] = 1;
    r.templateName = query.value(12).toString();
    r.templateSha256 = query.value(13).toString();
    r.fingerprint = query.value(14).toString();
    bool ok = false;
    r.metric = query.value(15).toDouble(&ok);
    if (!ok) {
        r.metric = std::nan("");
    }
    r.accepted = StoredValue::utcTime(query.value(16));
    const QString why = problem(r);
    if (!why.isEmpty()) {
        throw StudyError(QCoreApplication::translate("SubjectNormalisation",
                                                     "The stored normalisation of subject %1 is damaged: %2")
                             .arg(subjectId)
                             .arg(why));
    }
    return r;
}

void write(const QSqlDatabase &db, const Record &record, const SubjectAiming::Record *aiming) {
    const QString what =
        QCoreApplication::translate("SubjectNormalisation", "Cannot store the subject's normalisation");
    const QString why = problem(record);
    if (!why.isEmpty()) {
        throw StudyError(what + QStringLiteral(": ") + why);
    }
    if (aiming && aiming->subjectId != record.subjectId) {
        throw StudyError(what + QStringLiteral(": the aiming is another subject's"));
    }
    const SubjectLock lock(db, record.subjectId);
    Transaction transaction(db);
    Query::run(db, QStringLiteral("DELETE FROM mr_normalisation WHERE subject_id = ?"), {record.subjectId},
               what);
    QVariantList values{record.subjectId};
    for (int i = 0; i < 12; ++i) {
        values << record.subjectToMni[std::size_t(i)];
    }
    values << record.templateName << record.templateSha256 << record.fingerprint << record.metric
           << StoredValue::utcText(record.accepted);
    Query::run(db,
               QStringLiteral("INSERT INTO mr_normalisation (subject_id, %1) VALUES (?%2)")
                   .arg(Columns, QStringLiteral(", ?").repeated(int(values.size()) - 1)),
               values, what);
    if (aiming) {
        SubjectAiming::replace(db, *aiming);
    }
    transaction.commit();
}

} // namespace SubjectNormalisation
