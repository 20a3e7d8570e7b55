#pragma once

#include "data/ServerStudy.h"

#include <QSqlError>
#include <QString>

#include <stdexcept>

// A study operation that failed; what() and message() say what the operator should read, with
// every password taken out (ServerStudy::withoutSecrets), whatever the message quotes.
class StudyError : public std::runtime_error {
public:
    explicit StudyError(const QString &message) : StudyError(Shown{ServerStudy::withoutSecrets(message)}) {}
    // `what` says which operation failed; the engine's own text follows it.
    StudyError(const QString &what, const QSqlError &error)
        : StudyError(what + QStringLiteral(": ") + error.text()) {}

    const QString &message() const { return m_message; }

private:
    struct Shown {
        QString text;
    };
    explicit StudyError(const Shown &shown)
        : std::runtime_error(shown.text.toStdString()), m_message(shown.text) {}

    QString m_message;
};
