// zokorvane-tool: the command-line side of ZoKorvane, for scripting, tests and the quick start.
// Errors go to stderr with a non-zero exit code.

#include "Study.h"
#include "StudyError.h"
#include "Version.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <map>

namespace {

QTextStream &out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err() {
    static QTextStream stream(stderr);
    return stream;
}

struct Command {
    QString usage;
    QString summary;
    QString example;
    std::function<int(const QStringList &)> run;
};

int newStudy(const QStringList &args) {
    if (args.size() != 1) {
        err() << "usage: zokorvane-tool new-study FILE\n";
        return 2;
    }
    Study::create(args.first());
    out() << "Created " << args.first() << "\n";
    return 0;
}

const std::map<QString, Command> &commands() {
    static const std::map<QString, Command> table = {
        {QStringLiteral("new-study"),
         {QStringLiteral("new-study FILE"),
          QStringLiteral("Create an empty study (refuses to write over an existing file)."),
          QStringLiteral("zokorvane-tool new-study ~/studies/lab2026.sqlite"), newStudy}},
    };
    return table;
}

void printHelp(QTextStream &stream) {
    stream << "zokorvane-tool " << Version::Major << "." << Version::Minor << "." << Version::Revision
           << ": command-line companion of ZoKorvane\n\nusage: zokorvane-tool COMMAND "
              "[ARGUMENTS]\n\ncommands:\n";
    for (const auto &[name, command] : commands()) {
        stream << "  " << command.usage << "\n      " << command.summary
               << "\n      example: " << command.example << "\n";
    }
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ZoKorvane"));
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printHelp(args.isEmpty() ? err() : out());
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    const auto found = commands().find(name);
    if (found == commands().end()) {
        err() << "zokorvane-tool: unknown command '" << name << "'\n\n";
        printHelp(err());
        return 2;
    }
    try {
        return found->second.run(args);
    } catch (const StudyError &e) {
        err() << "zokorvane-tool: " << e.message() << "\n";
        return 1;
    }
}
