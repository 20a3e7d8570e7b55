#pragma once

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <initializer_list>
#include <optional>

class QTextStream;

// The tool's messages to people (Tool::tr), in the language of the interface; what scripts read
// (tables, CSV, JSON) is never translated.
class Tool {
    Q_DECLARE_TR_FUNCTIONS(Tool)
};

// The arguments of one zokorvane-tool command, read by QCommandLineParser: options "--name VALUE",
// switches "--name", and positional arguments. Numbers are read here for every command: text that
// is not a number, NaN, infinity and values outside the range are refused, so nothing further on
// sees them.
class CommandArguments {
public:
    // usage: the whole usage line, "usage: zokorvane-tool ...\n", printed by wrongArguments().
    CommandArguments(QString usage, std::initializer_list<const char *> options,
                     std::initializer_list<const char *> switches = {});

    // Reads the arguments that follow the command's name; false for an unknown option, an option
    // without its value (errorText() says which) or a number of positional arguments outside
    // [least, most] (most -1: any number).
    bool parse(const QStringList &args, qsizetype least = 0, qsizetype most = -1);
    QString errorText() const { return m_parser.errorText(); }

    QStringList positional() const { return m_parser.positionalArguments(); }
    bool isSet(const QString &name) const { return m_parser.isSet(name); }
    // The option's value, the last one when it is given more than once.
    QString value(const QString &name) const { return m_parser.value(name); }

    // The option as a number within [low, high], or the fallback when it is absent; nothing when it
    // is given and not such a number, or absent without a fallback.
    std::optional<double> number(const QString &name, double low, double high,
                                 std::optional<double> fallback = std::nullopt) const;
    // The same for a count or an identifier: nothing after the point, so "2.5 slices" is refused
    // rather than cut to 2.
    std::optional<qint64> whole(const QString &name, qint64 low, qint64 high,
                                std::optional<qint64> fallback = std::nullopt) const;

    static std::optional<double> readNumber(const QString &text, double low, double high);
    static std::optional<qint64> readWhole(const QString &text, qint64 low, qint64 high);

    // Prints the usage on err; gives the exit code of wrong arguments, 2.
    int wrongArguments(QTextStream &err) const;

private:
    QString m_usage;
    QCommandLineParser m_parser;
};
