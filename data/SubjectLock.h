#pragma once

#include <QSqlDatabase>

// The right to change one subject's data on a server study: a session-scoped advisory lock keyed
// by the subject. A station that records, corrects or edits a subject holds it; another station
// that tries is refused at once, told which subject is busy, and stays usable. Taking it again on
// the same connection succeeds (the store takes it for each save while the recording window holds
// it for the whole experiment). On a file study, which one program holds alone, it holds nothing.
class SubjectLock {
public:
    SubjectLock() = default;
    // Throws StudyError when another station holds the subject, or the server cannot be asked.
    SubjectLock(const QSqlDatabase &db, int subjectId);
    ~SubjectLock();
    SubjectLock(SubjectLock &&other) noexcept;
    SubjectLock &operator=(SubjectLock &&other) noexcept;
    SubjectLock(const SubjectLock &) = delete;
    SubjectLock &operator=(const SubjectLock &) = delete;

    bool held() const { return m_subject != NoSubject; }

    // Gives the subject back to the other stations; afterwards nothing is held here. Throws
    // StudyError when the server could not be told (the subject then stays busy for the others until
    // this connection closes). Being destroyed or assigned to gives it back too, and only logs such a
    // failure, so a holder that can tell the operator calls this first.
    void release();

private:
    // Gives the subject back; the reason it could not be, or "" when it was (or nothing was held).
    QString unlock() noexcept;
    static constexpr qint64 NoSubject = -1 - qint64(0x7fffffff);
    QSqlDatabase m_db;
    qint64 m_subject = NoSubject;
};
