#pragma once

#include "brain/BrainTemplate.h"

#include <QSqlDatabase>

class QWidget;

// Normalises a calibrated subject to the template head from a window: the study is read and written
// on the calling (GUI) thread, the registration runs on a worker thread while a progress dialog shows
// its stages and offers Cancel. Returns whether the normalisation was stored; a refusal or a failure is
// told to the operator (a cancelled run only closes the dialog).
namespace NormaliseDialog {

bool run(QWidget *parent, const QSqlDatabase &db, qint32 subjectId);
bool run(QWidget *parent, const QSqlDatabase &db, qint32 subjectId, const BrainTemplate &tpl);

// After the point selection was accepted on a series: when the subject has no normalisation computed on
// that series (fingerprint), asks the operator whether to normalise now, and does so on yes. Errors of
// the study are told.
void offer(QWidget *parent, const QSqlDatabase &db, qint32 subjectId, const QString &fingerprint);

} // namespace NormaliseDialog
