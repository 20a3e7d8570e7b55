#include "mr/NormaliseDialog.h"

#include "brain/BrainError.h"
#include "brain/Normalise.h"
#include "data/StudyError.h"
#include "data/SubjectAiming.h"
#include "data/SubjectNormalisation.h"
#include "widgets/Messages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

#include <algorithm>

#include <atomic>
#include <memory>
#include <optional>

namespace NormaliseDialog {

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("NormaliseDialog", text);
}

} // namespace

bool run(QWidget *parent, const QSqlDatabase &db, qint32 subjectId) {
    try {
        return run(parent, db, subjectId, BrainTemplate::find());
    } catch (const BrainError &e) {
        Messages::error(parent, e.message());
        return false;
    }
}

bool run(QWidget *parent, const QSqlDatabase &db, qint32 subjectId, const BrainTemplate &tpl) {
    std::optional<Normalise::Job> job;
    try {
        job = Normalise::prepare(db, subjectId, tpl);
    } catch (const BrainError &e) {
        Messages::error(parent, e.message());
        return false;
    } catch (const StudyError &e) {
        Messages::error(parent, e.message());
        return false;
    }
    QProgressDialog progress(tr("Normalising subject %1 to the template head...").arg(subjectId),
                             tr("Cancel"), 0, 100, parent);
    progress.setWindowTitle(tr("Normalise"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);

    std::atomic_bool cancel = false;
    std::optional<SubjectNormalisation::Record> record;
    std::optional<SubjectAiming::Record> aiming;
    QString why;
    Normalise::Control control;
    // Called on the worker thread: the dialog is told through its own thread's event queue, and a call
    // still queued when the dialog is gone is dropped.
    control.progress = [&progress](int percent, const QString &stage) {
        QMetaObject::invokeMethod(
            &progress,
            [&progress, percent, stage] {
                progress.setValue(std::clamp(percent, 0, 99));
                progress.setLabelText(stage);
            },
            Qt::QueuedConnection);
    };
    control.cancel = &cancel;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            record = Normalise::compute(*job, control, &aiming);
        } catch (const BrainError &e) {
            why = e.message();
        } catch (const std::exception &e) {
            why = QString::fromLocal8Bit(e.what());
        }
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&] {
        cancel = true;
        progress.setLabelText(tr("Stopping..."));
        progress.setCancelButton(nullptr);
    });
    worker->start();
    loop.exec();
    worker->wait();
    progress.close();
    if (cancel) {
        return false;
    }
    if (!record) {
        Messages::error(parent, tr("Subject %1 was not normalised: %2").arg(subjectId).arg(why));
        return false;
    }
    try {
        SubjectNormalisation::write(db, *record, aiming ? &*aiming : nullptr);
    } catch (const StudyError &e) {
        Messages::error(parent, e.message());
        return false;
    }
    return true;
}

void offer(QWidget *parent, const QSqlDatabase &db, qint32 subjectId, const QString &fingerprint) {
    try {
        const std::optional<SubjectNormalisation::Record> stored = SubjectNormalisation::read(db, subjectId);
        if (stored && stored->fingerprint == fingerprint) {
            return;
        }
    } catch (const StudyError &e) {
        Messages::error(parent, e.message());
        return;
    }
    if (Messages::question(parent, tr("Normalise subject %1 to the template head now? Its targets then get "
                                      "MNI coordinates and atlas areas (about ten seconds; it can be "
                                      "cancelled).")
                                       .arg(subjectId))) {
        run(parent, db, subjectId);
    }
}

} // namespace NormaliseDialog
