#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Reads a whole number from an entry field. When the text is not one within [minimo, maximo], the
// operator is told which field and why, followed by `consecuencia` ("Nothing was saved."), the
// cursor goes to the field with its text selected, and the result is false.
[[nodiscard]] bool leeEnteroDeCampo(QWidget *ventana, QLineEdit *campo, const QString &nombre, qint64 minimo,
                                    qint64 maximo, const QString &consecuencia, qint64 &valor);
