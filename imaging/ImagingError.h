#pragma once

#include <QString>

#include <stdexcept>

// A failure of the imaging computations that a window shows to the operator: a value that does not
// fit the 16-bit voxel coordinates, or a conversion that has no answer.
class ImagingError : public std::runtime_error {
public:
    explicit ImagingError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
