#include "tools/StudyCommands.h"

#include "data/Study.h"
#include "data/StudyDrawings.h"
#include "data/StudyError.h"
#include "drawings/DrawingFile.h"
#include "experiments/StimulusStore.h"
#include "subjects/SubjectStore.h"
#include "tools/CommandArguments.h"

#include <QDateTime>
#include <QMap>
#include <QTextStream>

#include <optional>

namespace StudyCommands {

namespace {

// An open study, closed when the command ends; what bringing an earlier version up to date did is
// told on out.
struct OpenStudy {
    Study::Opened opened;
    OpenStudy(const QString &path, QTextStream &out) : opened(Study::open(path)) {
        for (const QString &note : opened.notes) {
            out << note << "\n";
        }
    }
    ~OpenStudy() { Study::close(opened.db); }
};

// A whole number option within [low, high]; the default when absent; nothing (with the reason on
// err) when given and not such a number.
std::optional<qint64> wholeOption(const CommandArguments &arguments, const QString &name, qint64 low,
                                  qint64 high, qint64 fallback, QTextStream &err) {
    const std::optional<qint64> value = arguments.whole(name, low, high, fallback);
    if (!value) {
        err << "zokorvane-tool: --" << name << " takes a whole number from " << low << " to " << high
            << ", not '" << arguments.value(name) << "'\n";
    }
    return value;
}

} // namespace

int stimulus(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(
        QStringLiteral(
            "usage: zokorvane-tool stimulus add|delete STUDY --subject ID --cell N --experiment N [--answer "
            "yes|no|doubt] [--colour TEXT] [--brightness N] [--notes TEXT] [--drawing FILE] [--coil N] "
            "[--pulse-type N] [--phase N] [--orientation N] [--pulses N] [--frequency N] [--intensity N] "
            "[--date YYYY-MM-DDTHH:MM:SS]\n"),
        {"subject", "cell", "experiment", "answer", "colour", "brightness", "notes", "drawing", "coil",
         "pulse-type", "phase", "orientation", "pulses", "frequency", "intensity", "date"});
    if (!arguments.parse(args)) {
        err << "zokorvane-tool: " << arguments.errorText() << "\n";
        return arguments.wrongArguments(err);
    }
    const QStringList positional = arguments.positional();
    const bool adding = !positional.isEmpty() && positional.first() == QLatin1String("add");
    const bool deleting = !positional.isEmpty() && positional.first() == QLatin1String("delete");
    if (positional.size() != 2 || !(adding || deleting) || !arguments.isSet(QStringLiteral("subject")) ||
        !arguments.isSet(QStringLiteral("cell")) || !arguments.isSet(QStringLiteral("experiment"))) {
        return arguments.wrongArguments(err);
    }
    const auto subject = wholeOption(arguments, QStringLiteral("subject"), 0, 2147483647, 0, err);
    const auto cell = wholeOption(arguments, QStringLiteral("cell"), 0, 49, 0, err);
    const auto experiment = wholeOption(arguments, QStringLiteral("experiment"), 1, 32767, 1, err);
    const auto brightness = wholeOption(arguments, QStringLiteral("brightness"), 0, 32767, 0, err);
    const auto coil = wholeOption(arguments, QStringLiteral("coil"), 0, 255, 1, err);
    const auto pulseType = wholeOption(arguments, QStringLiteral("pulse-type"), 0, 255, 1, err);
    const auto phase = wholeOption(arguments, QStringLiteral("phase"), 0, 255, 1, err);
    const auto orientation = wholeOption(arguments, QStringLiteral("orientation"), 0, 32767, 3, err);
    const auto pulses = wholeOption(arguments, QStringLiteral("pulses"), 0, 2147483647, 1, err);
    const auto frequency = wholeOption(arguments, QStringLiteral("frequency"), 0, 2147483647, 1, err);
    const auto intensity = wholeOption(arguments, QStringLiteral("intensity"), 0, 2147483647, 80, err);
    if (!subject || !cell || !experiment || !brightness || !coil || !pulseType || !phase || !orientation ||
        !pulses || !frequency || !intensity) {
        return 2;
    }
    const QMap<QString, StimulusStore::Respuesta> answers{{QStringLiteral("yes"), StimulusStore::Si},
                                                          {QStringLiteral("no"), StimulusStore::No},
                                                          {QStringLiteral("doubt"), StimulusStore::Duda}};
    const QString answer = arguments.value(QStringLiteral("answer")).isEmpty()
                               ? QStringLiteral("yes")
                               : arguments.value(QStringLiteral("answer"));
    if (!answers.contains(answer)) {
        err << "zokorvane-tool: --answer takes yes, no or doubt\n";
        return 2;
    }
    QDateTime date = QDateTime::currentDateTime();
    if (arguments.isSet(QStringLiteral("date"))) {
        date = QDateTime::fromString(arguments.value(QStringLiteral("date")), Qt::ISODate);
        if (!date.isValid()) {
            err << "zokorvane-tool: --date takes a date and time such as 2026-03-09T10:02:00\n";
            return 2;
        }
    }
    QList<DrawingFile::PointRecord> drawing;
    if (arguments.isSet(QStringLiteral("drawing"))) {
        const QString path = arguments.value(QStringLiteral("drawing"));
        const DrawingFile::Contents contents = DrawingFile::read(path);
        if (!contents.ok()) {
            err << "zokorvane-tool: cannot read the drawing " << path << ": " << contents.error << "\n";
            return 1;
        }
        drawing = contents.records;
    }

    OpenStudy study(positional.at(1), out);
    if (!study.opened.ok()) {
        err << "zokorvane-tool: cannot open " << positional.at(1) << ": " << study.opened.error << "\n";
        return 1;
    }
    const QSqlDatabase &db = study.opened.db;
    const auto grid = SubjectStore::subjectGrid(db, int(*subject));
    if (!grid) {
        err << "zokorvane-tool: there is no subject " << *subject << " in " << positional.at(1) << "\n";
        return 1;
    }
    const StimulusStore::Punto point =
        StimulusStore::pointOfCell(int(*cell), grid->filaCentro, grid->columnaCentro);
    if (deleting) {
        const StimulusStore::DeletedEntry deleted =
            StimulusStore::deleteEntry(db, int(*subject), point.fila, point.columna, int(*experiment));
        if (!deleted.estimulo) {
            err << "zokorvane-tool: subject " << *subject << " has no stimulus of experiment " << *experiment
                << " at cell " << *cell << "\n";
            return 1;
        }
        out << "Deleted stimulus " << deleted.idEstimulo << " of subject " << *subject << ", cell " << *cell
            << ", experiment " << *experiment
            << (deleted.punto ? "; its point, left without stimuli, was deleted too" : "") << "\n";
        return 0;
    }
    StimulusStore::Entry entry;
    entry.hayfosfeno = answers.value(answer);
    entry.color = arguments.value(QStringLiteral("colour"));
    entry.intensidad = qint16(*brightness);
    entry.observaciones = arguments.value(QStringLiteral("notes"));
    entry.fecha = date;
    entry.parametros = {int(*coil),      int(*pulseType),    int(*phase),       int(*orientation),
                        qint32(*pulses), qint32(*frequency), qint32(*intensity)};
    const StimulusStore::SavedEntry saved = StimulusStore::saveEntry(
        db, int(*subject), point.fila, point.columna, int(*experiment), entry, drawing);
    out << "Added stimulus " << saved.idEstimulo << " (point " << saved.idPunto << ", drawing "
        << (saved.archivopuntos.isEmpty() ? QStringLiteral("none") : saved.archivopuntos) << ") to subject "
        << *subject << ", cell " << *cell << ", experiment " << *experiment << "\n";
    return 0;
}

int exportDrawings(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(QStringLiteral("usage: zokorvane-tool export-drawings STUDY DIR\n"), {});
    if (!arguments.parse(args, 2, 2)) {
        return arguments.wrongArguments(err);
    }
    const QString path = arguments.positional().at(0);
    const QString folder = arguments.positional().at(1);
    OpenStudy study(path, out);
    if (!study.opened.ok()) {
        err << "zokorvane-tool: cannot open " << path << ": " << study.opened.error << "\n";
        return 1;
    }
    const StudyDrawings::ExportReport report = StudyDrawings::exportToFolder(study.opened.db, folder);
    out << "Wrote " << report.written << " drawings to " << folder << "\n";
    for (const QString &name : report.refused) {
        err << "zokorvane-tool: not written, the name is not a plain file name: " << name << "\n";
    }
    return report.refused.isEmpty() ? 0 : 1;
}

} // namespace StudyCommands
