#pragma once

#include "data/SubjectCalibration.h"
#include "data/SubjectNormalisation.h"

#include <QDateTime>

#include <array>

// A calibration of `subject` on `series` as the point selection stores one: the landmarks given, 200 mm
// between the first two.
inline SubjectCalibration::Record
calibrationOf(qint32 subject, const QString &series, const QString &fingerprint,
              const std::array<SubjectCalibration::Landmark, 3> &landmarks) {
    return {.subjectId = subject,
            .series = series,
            .fingerprint = fingerprint,
            .landmarks = landmarks,
            .accepted = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC)};
}

// A normalisation of `subject` into the MNI Colin 27 template, computed on the series of `fingerprint`,
// as the normaliser stores one.
inline SubjectNormalisation::Record normalisationOf(qint32 subject, const QString &fingerprint,
                                                    const std::array<double, 16> &subjectToMni) {
    return {.subjectId = subject,
            .subjectToMni = subjectToMni,
            .templateName = QStringLiteral("MNIColin27"),
            .templateSha256 = QString(64, QLatin1Char('a')),
            .fingerprint = fingerprint,
            .metric = -0.612345678901,
            .accepted = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC)};
}
