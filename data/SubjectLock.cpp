#include "data/SubjectLock.h"

#include "data/ServerStudy.h"
#include "data/StudyError.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

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
    release();
}

SubjectLock::SubjectLock(SubjectLock &&other) noexcept : m_db(other.m_db), m_subject(other.m_subject) {
    other.m_subject = NoSubject;
}

SubjectLock &SubjectLock::operator=(SubjectLock &&other) noexcept {
    if (this != &other) {
        release();
        m_db = other.m_db;
        m_subject = other.m_subject;
        other.m_subject = NoSubject;
    }
    return *this;
}

void SubjectLock::release() {
    if (m_subject == NoSubject) {
        return;
    }
    // A connection that dropped has lost the lock with its session already.
    if (m_db.isOpen()) {
        QSqlQuery query(m_db);
        // When the unlock fails the session keeps the lock until its connection closes; say so.
        if (!query.exec(
                QStringLiteral("SELECT pg_advisory_unlock(%1, %2)").arg(SubjectLockClass).arg(m_subject))) {
            qWarning("Cannot release the lock on subject %lld", static_cast<long long>(m_subject));
        }
    }
    m_subject = NoSubject;
}
