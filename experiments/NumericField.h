#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Reads a whole number from an entry field. When the text is not one within [minimum, maximum],
// the operator is told which field and why, followed by `consequence` ("Nothing was saved."), the
// cursor goes to the field with its text selected, and the result is false.
[[nodiscard]] bool readWholeNumber(QWidget *window, QLineEdit *field, const QString &name, qint64 minimum,
                                   qint64 maximum, const QString &consequence, qint64 &value);
