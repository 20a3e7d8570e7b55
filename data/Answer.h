#pragma once

#include <QString>

#include <optional>

// The subject's answer to a stimulus: the code estimulo.hayfosfeno stores, and the word that the
// exports and the command-line tool use for it.
namespace Answer {

enum Code : qint16 { Yes = 0, No = 1, Doubt = 2 };

// "yes", "no" or "doubt"; nothing for a value that is no answer code.
std::optional<QString> name(int code);

// The code of "yes", "no" or "doubt"; nothing for any other text.
std::optional<Code> fromName(const QString &name);

} // namespace Answer
