#include "data/SubjectLock.h"

#include "data/ServerStudy.h"
#include "data/StudyError.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <utility>

namespace {
// The class of the subject locks among the program's advisory locks (the writers' lock has its own).
constexpr int SubjectLockClass = 0x5A4B0002;
} // namespace

SubjectLock::SubjectLock(const QSqlDatabase &db, int subjectId) {
    if (!ServerStudy::isServer(db)) {
        return;
    }
    QSqlDatabase connection = db;
    ServerStudy::reconnectIfLost(connection);
    QSqlQuery query(db);
    if (!query.exec(
            QStringLiteral("SELECT pg_try_advisory_lock(%1, %2)").arg(SubjectLockClass).arg(subjectId)) ||
        !query.next()) {
        throw StudyError(
            QCoreApplication::translate("SubjectLock", "Cannot ask the server whether subject %1 is free")
                .arg(subjectId),
            query.lastError());
    }
    if (!query.value(0).toBool()) {
        throw StudyError(QCoreApplication::translate(
                             "SubjectLock",
                             "Subject %1 is being recorded or corrected at another station. Try again "
                             "when that station has finished with the subject.")
                             .arg(subjectId));
    }
    m_db = db;
    m_subject = subjectId;
}

SubjectLock::~SubjectLock() {
    const QString why = unlock();
    if (!why.isEmpty()) {
        qWarning("%s", qPrintable(why));
    }
}

SubjectLock::SubjectLock(SubjectLock &&other) noexcept : m_db(other.m_db), m_subject(other.m_subject) {
    other.m_subject = NoSubject;
}

SubjectLock &SubjectLock::operator=(SubjectLock &&other) noexcept {
    if (this != &other) {
        const QString why = unlock();
        if (!why.isEmpty()) {
            qWarning("%s", qPrintable(why));
        }
        m_db = other.m_db;
        m_subject = other.m_subject;
        other.m_subject = NoSubject;
    }
    return *this;
}

void SubjectLock::release() {
    const QString why = unlock();
    if (!why.isEmpty()) {
        throw StudyError(why);
    }
}

QString SubjectLock::unlock() noexcept {
    if (m_subject == NoSubject) {
        return {};
    }
    const qint64 subject = std::exchange(m_subject, NoSubject);
    // A connection that dropped has lost the lock with its session already.
    if (!m_db.isOpen()) {
        return {};
    }
    QSqlQuery query(m_db);
    // The server answers false when this session did not hold the lock.
    if (query.exec(QStringLiteral("SELECT pg_advisory_unlock(%1, %2)").arg(SubjectLockClass).arg(subject)) &&
        query.next() && query.value(0).toBool()) {
        return {};
    }
    const QString reason = query.lastError().isValid() ? query.lastError().text() : QString();
    return QCoreApplication::translate("SubjectLock",
                                       "Cannot give subject %1 back to the other stations; it stays busy "
                                       "for them until this program closes the study. %2")
        .arg(subject)
        .arg(reason)
        .trimmed();
}
