#pragma once

#include <QString>

#include <stdexcept>

// A normalisation refused or impossible, or a template or atlas that cannot be used; message() is
// what the operator reads (translated where it is shown).
class BrainError : public std::runtime_error {
public:
    explicit BrainError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
