#include "data/Answer.h"

#include <array>

namespace Answer {

namespace {
constexpr std::array<const char *, 3> Names{"yes", "no", "doubt"};
} // namespace

std::optional<QString> name(int code) {
    if (code < Yes || code > Doubt) {
        return std::nullopt;
    }
    return QString::fromLatin1(Names[std::size_t(code)]);
}

std::optional<Code> fromName(const QString &name) {
    for (std::size_t i = 0; i < Names.size(); ++i) {
        if (name == QLatin1String(Names[i])) {
            return Code(i);
        }
    }
    return std::nullopt;
}

} // namespace Answer
