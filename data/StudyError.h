#pragma once

#include <QSqlError>
#include <QString>

#include <stdexcept>

// A study operation that failed; what() and message() say what the operator should read.
class StudyError : public std::runtime_error {
public:
    explicit StudyError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    // `what` says which operation failed; the engine's own text follows it.
    StudyError(const QString &what, const QSqlError &error)
        : StudyError(what + QStringLiteral(": ") + error.text()) {}

    const QString &message() const { return m_message; }

private:
    QString m_message;
};
