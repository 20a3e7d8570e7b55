#include "tools/CommandArguments.h"

#include <QTextStream>

#include <cmath>

CommandArguments::CommandArguments(QString usage, std::initializer_list<const char *> options,
                                   std::initializer_list<const char *> switches)
    : m_usage(std::move(usage)) {
    for (const char *name : options) {
        m_parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    }
    for (const char *name : switches) {
        m_parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
    }
}

bool CommandArguments::parse(const QStringList &args, qsizetype least, qsizetype most) {
    // The parser takes the first argument for the program's name.
    if (!m_parser.parse(QStringList{QStringLiteral("zokorvane-tool")} + args)) {
        return false;
    }
    const qsizetype count = m_parser.positionalArguments().size();
    return count >= least && (most < 0 || count <= most);
}

std::optional<double> CommandArguments::number(const QString &name, double low, double high,
                                               std::optional<double> fallback) const {
    return isSet(name) ? readNumber(value(name), low, high) : fallback;
}

std::optional<qint64> CommandArguments::whole(const QString &name, qint64 low, qint64 high,
                                              std::optional<qint64> fallback) const {
    return isSet(name) ? readWhole(value(name), low, high) : fallback;
}

std::optional<double> CommandArguments::readNumber(const QString &text, double low, double high) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<qint64> CommandArguments::readWhole(const QString &text, qint64 low, qint64 high) {
    const std::optional<double> value = readNumber(text, double(low), double(high));
    if (!value || *value != std::floor(*value)) {
        return std::nullopt;
    }
    return qint64(*value);
}

int CommandArguments::wrongArguments(QTextStream &err) const {
    err << m_usage;
    return 2;
}
