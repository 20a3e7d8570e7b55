#include "tools/StudyCommands.h"

#include "brain/BrainError.h"
#include "brain/BrainTemplate.h"
#include "brain/Normalise.h"
#include "core/AppPaths.h"
#include "core/SafeWrite.h"
#include "data/Answer.h"
#include "data/ServerStudy.h"
#include "data/Study.h"
#include "data/StudyBackup.h"
#include "data/StudyCopy.h"
#include "data/StudyDrawings.h"
#include "data/StudyError.h"
#include "data/SubjectAiming.h"
#include "data/SubjectCalibration.h"
#include "data/SubjectNormalisation.h"
#include "drawings/DrawingFile.h"
#include "experiments/ParameterLists.h"
#include "experiments/StimulusStore.h"
#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "imaging/NiftiFiles.h"
#include "results/GroupMap.h"
#include "results/PhospheneMap.h"
#include "results/StimulationSites.h"
#include "results/StudyExport.h"
#include "subjects/SubjectStore.h"
#include "tools/CommandArguments.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QTextStream>

#include <climits>
#include <functional>
#include <span>

#include <optional>

namespace StudyCommands {

namespace {

// An open study, closed when the command ends; what bringing an earlier version up to date did is
// told on out, and why it could not be opened on err.
struct OpenStudy {
    Study::Opened opened;
    OpenStudy(const QString &path, QTextStream &out, QTextStream &err) : opened(Study::open(path)) {
        for (const QString &note : opened.notes) {
            out << note << "\n";
        }
        if (!opened.ok()) {
            err << "zokorvane-tool: "
                << Tool::tr("cannot open %1: %2").arg(ServerStudy::shownLocation(path), opened.error) << "\n";
        }
    }
    ~OpenStudy() { Study::close(opened.db); }
    explicit operator bool() const { return opened.ok(); }
};

// Every output of a command, checked before the study is opened or any is written: none may be a
// link or something other than a regular file, and no two may name the same file. True when they
// may be written; else the refusal, naming the path, goes to `err`.
bool outputsAccepted(const QStringList &paths, QTextStream &err) {
    const auto refuse = [&](const QString &path, const QString &why) {
        err << "zokorvane-tool: " << SafeWrite::failure(path, why) << "\n";
        return false;
    };
    QStringList seen;
    for (const QString &path : paths) {
        if (path.isEmpty()) {
            continue;
        }
        if (const QString refused = SafeWrite::targetRefusal(path); !refused.isEmpty()) {
            return refuse(path, refused);
        }
        const QFileInfo info(path);
        const QString whole =
            info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
        if (seen.contains(whole)) {
            return refuse(path, Tool::tr("two outputs name the same file"));
        }
        seen << whole;
    }
    return true;
}

// True when every path given ends in .nii or .nii.gz; otherwise says `message` on err.
bool niftiNames(const QStringList &paths, const QString &message, QTextStream &err) {
    for (const QString &path : paths) {
        if (!path.isEmpty() && !NiftiFiles::isNiftiPath(path)) {
            err << "zokorvane-tool: " << message << "\n";
            return false;
        }
    }
    return true;
}

// The files one run of a command writes, all of them or none new: write() writes one (nothing for
// an empty path), and when one fails the files this run created before it are taken away again.
class NewFiles {
public:
    bool write(const QString &path, const std::function<bool()> &writer) {
        if (path.isEmpty()) {
            return true;
        }
        const bool isNew = !QFileInfo::exists(path);
        if (!writer()) {
            for (const QString &created : std::as_const(m_created)) {
                QFile::remove(created);
            }
            m_created.clear();
            return false;
        }
        if (isNew) {
            m_created << path;
        }
        return true;
    }

private:
    QStringList m_created;
};

// A whole number option within [low, high]; the default when absent; nothing (with the reason on
// err) when given and not such a number.
std::optional<qint64> wholeOption(const CommandArguments &arguments, const QString &name, qint64 low,
                                  qint64 high, qint64 fallback, QTextStream &err) {
    const std::optional<qint64> value = arguments.whole(name, low, high, fallback);
    if (!value) {
        err << "zokorvane-tool: "
            << Tool::tr("--%1 takes a whole number from %2 to %3, not '%4'")
                   .arg(name)
                   .arg(low)
                   .arg(high)
                   .arg(arguments.value(name))
            << "\n";
    }
    return value;
}

} // namespace

namespace {

// --date as given (ISO 8601), now when absent; nothing, saying why on err, when it is not a date.
std::optional<QDateTime> dateOption(const CommandArguments &arguments, QTextStream &err) {
    if (!arguments.isSet(QStringLiteral("date"))) {
        return QDateTime::currentDateTime();
    }
    const QDateTime date = QDateTime::fromString(arguments.value(QStringLiteral("date")), Qt::ISODate);
    if (!date.isValid()) {
        err << "zokorvane-tool: " << Tool::tr("--date takes a date and time such as 2026-03-09T10:02:00")
            << "\n";
        return std::nullopt;
    }
    return date;
}

// The records of the --drawing file (none when absent); nothing, saying why on err, when it cannot
// be read.
std::optional<QList<DrawingFile::PointRecord>> drawingOption(const CommandArguments &arguments,
                                                             QTextStream &err) {
    if (!arguments.isSet(QStringLiteral("drawing"))) {
        return QList<DrawingFile::PointRecord>();
    }
    const QString path = arguments.value(QStringLiteral("drawing"));
    const DrawingFile::Contents contents = DrawingFile::read(path);
    if (!contents.ok()) {
        err << "zokorvane-tool: " << Tool::tr("cannot read the drawing %1: %2").arg(path, contents.error)
            << "\n";
        return std::nullopt;
    }
    return contents.records;
}

// `stimulus delete`: deletes the subject's stimulus of the experiment at the cell (and its point when
// that leaves it without stimuli) and says so; 1 when there is none.
int deleteStimulus(const QSqlDatabase &db, int subject, int cell, const StimulusStore::Point &point,
                   int experiment, QTextStream &out, QTextStream &err) {
    const StimulusStore::DeletedEntry deleted =
        StimulusStore::deleteEntry(db, subject, point.fila, point.columna, experiment);
    if (!deleted.stimulusDeleted) {
        err << "zokorvane-tool: "
            << Tool::tr("subject %1 has no stimulus of experiment %2 at cell %3")
                   .arg(subject)
                   .arg(experiment)
                   .arg(cell)
            << "\n";
        return 1;
    }
    out << Tool::tr("Deleted stimulus %1 of subject %2, cell %3, experiment %4")
               .arg(deleted.stimulusId)
               .arg(subject)
               .arg(cell)
               .arg(experiment)
        << (deleted.pointDeleted ? Tool::tr("; its point, left without stimuli, was deleted too") : QString())
        << "\n";
    return 0;
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
    using StimulusStore::Range;
    const auto within = [&](const char *name, Range range, qint64 fallback) {
        return wholeOption(arguments, QLatin1String(name), range.minimum, range.maximum, fallback, err);
    };
    const auto brightness = within("brightness", StimulusStore::Brightness, 0);
    const auto coil = wholeOption(arguments, QStringLiteral("coil"), 0, 255, 1, err);
    const auto pulseType = wholeOption(arguments, QStringLiteral("pulse-type"), 0, 255, 1, err);
    const auto phase = wholeOption(arguments, QStringLiteral("phase"), 0, 255, 1, err);
    const auto orientation = wholeOption(arguments, QStringLiteral("orientation"), 0, 32767, 3, err);
    const auto pulses = within("pulses", StimulusStore::PulseCount, 1);
    const auto frequency = within("frequency", StimulusStore::PulseFrequency, 1);
    const auto intensity = within("intensity", StimulusStore::PulseIntensity, 80);
    if (!subject || !cell || !experiment || !brightness || !coil || !pulseType || !phase || !orientation ||
        !pulses || !frequency || !intensity) {
        return 2;
    }
    const std::optional<Answer::Code> answer = Answer::fromName(
        arguments.value(QStringLiteral("answer")).isEmpty() ? QStringLiteral("yes")
                                                            : arguments.value(QStringLiteral("answer")));
    if (!answer) {
        err << "zokorvane-tool: " << Tool::tr("--answer takes yes, no or doubt") << "\n";
        return 2;
    }
    const std::optional<QDateTime> date = dateOption(arguments, err);
    if (!date) {
        return 2;
    }
    const std::optional<QList<DrawingFile::PointRecord>> drawing = drawingOption(arguments, err);
    if (!drawing) {
        return 1;
    }

    OpenStudy study(positional.at(1), out, err);
    if (!study) {
        return 1;
    }
    const QSqlDatabase &db = study.opened.db;
    const auto grid = SubjectStore::subjectGrid(db, int(*subject));
    if (!grid) {
        err << "zokorvane-tool: "
            << Tool::tr("there is no subject %1 in %2")
                   .arg(*subject)
                   .arg(ServerStudy::shownLocation(positional.at(1)))
            << "\n";
        return 1;
    }
    const StimulusStore::Point point =
        StimulusStore::pointOfCell(int(*cell), grid->filaCentro, grid->columnaCentro);
    if (deleting) {
        return deleteStimulus(db, int(*subject), int(*cell), point, int(*experiment), out, err);
    }
    StimulusStore::Entry entry;
    entry.hayfosfeno = *answer;
    entry.color = arguments.value(QStringLiteral("colour"));
    entry.intensidad = qint16(*brightness);
    entry.observaciones = arguments.value(QStringLiteral("notes"));
    entry.fecha = *date;
    entry.parameters = {int(*coil),      int(*pulseType),    int(*phase),       int(*orientation),
                        qint32(*pulses), qint32(*frequency), qint32(*intensity)};
    const StimulusStore::SavedEntry saved = StimulusStore::saveEntry(
        db, int(*subject), point.fila, point.columna, int(*experiment), entry, *drawing);
    out << Tool::tr("Added stimulus %1 (point %2, drawing %3) to subject %4, cell %5, experiment %6")
               .arg(saved.stimulusId)
               .arg(saved.pointId)
               .arg(saved.archivopuntos.isEmpty() ? Tool::tr("none") : saved.archivopuntos)
               .arg(*subject)
               .arg(*cell)
               .arg(*experiment)
        << "\n";
    return 0;
}

int exportDrawings(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(QStringLiteral("usage: zokorvane-tool export-drawings STUDY DIR\n"), {});
    if (!arguments.parse(args, 2, 2)) {
        return arguments.wrongArguments(err);
    }
    const QString path = arguments.positional().at(0);
    const QString folder = arguments.positional().at(1);
    OpenStudy study(path, out, err);
    if (!study) {
        return 1;
    }
    const StudyDrawings::ExportReport report = StudyDrawings::exportToFolder(study.opened.db, folder);
    out << Tool::tr("Wrote %1 drawings to %2").arg(report.written).arg(folder) << "\n";
    for (const QString &name : report.refused) {
        err << "zokorvane-tool: " << Tool::tr("not written, the name is not a plain file name: %1").arg(name)
            << "\n";
    }
    for (const QString &name : report.repeated) {
        err << "zokorvane-tool: "
            << Tool::tr("not written, a drawing of that name was written already: %1").arg(name) << "\n";
    }
    return report.refused.isEmpty() && report.repeated.isEmpty() ? 0 : 1;
}

int exportStudy(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(
        QStringLiteral("usage: zokorvane-tool export STUDY OUT --format tsv|nibs-bids\n"), {"format"});
    if (!arguments.parse(args, 2, 2)) {
        return arguments.wrongArguments(err);
    }
    const std::optional<StudyExport::Format> format =
        StudyExport::formatNamed(arguments.value(QStringLiteral("format")));
    if (!format) {
        err << "zokorvane-tool: " << Tool::tr("--format takes tsv or nibs-bids") << "\n";
        return arguments.wrongArguments(err);
    }
    const QString path = arguments.positional().at(0);
    const QString folder = arguments.positional().at(1);
    OpenStudy study(path, out, err);
    if (!study) {
        return 1;
    }
    const StudyExport::Report report = StudyExport::run(study.opened.db, folder, *format);
    out << Tool::tr("Exported %1 stimuli (%2 with drawings) of %3 subjects to %4")
               .arg(report.stimuli)
               .arg(report.drawings)
               .arg(report.subjects)
               .arg(folder)
        << "\n";
    for (const QString &note : report.notes) {
        out << note << "\n";
    }
    // A subject whose MR could not be loaded is exported without its T1w and sites: a script sees it.
    return report.withoutMr > 0 ? 1 : 0;
}

namespace {

// A list option: a caption of the list (any case) or a stored code; -1 when absent.
std::optional<int> listOption(const CommandArguments &arguments, const char *name,
                              std::span<const ParameterLists::Item> items, QTextStream &err) {
    const QString option = QString::fromLatin1(name);
    if (!arguments.isSet(option)) {
        return ParameterLists::Any;
    }
    const QString text = arguments.value(option).trimmed();
    QStringList known;
    for (const ParameterLists::Item &item : items) {
        const QString caption = QString::fromUtf8(item.caption);
        if (caption.compare(text, Qt::CaseInsensitive) == 0 || text == QString::number(item.code)) {
            return item.code;
        }
        known << QStringLiteral("\"%1\" (%2)").arg(caption).arg(item.code);
    }
    err << "zokorvane-tool: "
        << Tool::tr("--%1 takes one of %2, not '%3'").arg(option, known.join(QStringLiteral(", ")), text)
        << "\n";
    return std::nullopt;
}

} // namespace

// The subject IDs of --subjects, separated by commas (none when it is absent); nothing, with the
// reason on err, when one is not an ID.
std::optional<QList<int>> subjectList(const CommandArguments &arguments, QTextStream &err) {
    QList<int> ids;
    const QString subjects = arguments.value(QStringLiteral("subjects"));
    for (const QString &id : subjects.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const std::optional<qint64> value = CommandArguments::readWhole(id.trimmed(), INT_MIN, INT_MAX);
        if (!value) {
            err << "zokorvane-tool: "
                << Tool::tr("--subjects takes subject IDs separated by commas, not '%1'").arg(subjects)
                << "\n";
            return std::nullopt;
        }
        ids << int(*value);
    }
    return ids;
}

std::optional<PhospheneMap::Selection> mapFilter(const CommandArguments &arguments, QTextStream &err) {
    StimulationComparison::Conditions conditions;
    conditions.openBounds = true;
    const char *const bounds[] = {"pulses-from",  "pulses-to",      "frequency-from",
                                  "frequency-to", "intensity-from", "intensity-to"};
    for (int i = 0; i < StimulationComparison::BoundCount; ++i) {
        conditions.bounds[std::size_t(i)] = arguments.value(QString::fromLatin1(bounds[i]));
    }
    const std::optional<int> coil = listOption(arguments, "coil", ParameterLists::coils(), err);
    const std::optional<int> pulseType =
        listOption(arguments, "pulse-type", ParameterLists::pulseTypes(), err);
    const std::optional<int> phase = listOption(arguments, "phase", ParameterLists::phases(), err);
    const std::optional<int> orientation =
        listOption(arguments, "orientation", ParameterLists::orientations(), err);
    if (!coil || !pulseType || !phase || !orientation) {
        return std::nullopt;
    }
    conditions.coil = *coil;
    conditions.pulseType = *pulseType;
    conditions.pulsePhase = *phase;
    conditions.orientation = *orientation;
    PhospheneMap::Selection selection{StimulationComparison::buildFilter(conditions), {}};
    for (int i = 0; i < StimulationComparison::BoundCount; ++i) {
        if (!selection.filter.problems[std::size_t(i)].isEmpty()) {
            err << "zokorvane-tool: --" << bounds[i] << ": " << selection.filter.problems[std::size_t(i)]
                << "\n";
            return std::nullopt;
        }
    }
    return selection;
}

int map(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(
        QStringLiteral(
            "usage: zokorvane-tool map STUDY [--png OUT.png] [--csv OUT.csv] [--subjects ID,ID...] ") +
            MapFilterUsage + QStringLiteral("\n"),
        {"png", "csv", "subjects", "pulses-from", "pulses-to", "frequency-from", "frequency-to",
         "intensity-from", "intensity-to", "coil", "pulse-type", "phase", "orientation"});
    if (!arguments.parse(args, 1, 1)) {
        return arguments.wrongArguments(err);
    }
    const QString png = arguments.value(QStringLiteral("png"));
    const QString csv = arguments.value(QStringLiteral("csv"));
    if (png.isEmpty() && csv.isEmpty()) {
        err << "zokorvane-tool: " << Tool::tr("give --png, --csv or both") << "\n";
        return arguments.wrongArguments(err);
    }
    std::optional<PhospheneMap::Selection> filtered = mapFilter(arguments, err);
    if (!filtered) {
        return 2;
    }
    PhospheneMap::Selection &selection = *filtered;
    const std::optional<QList<int>> subjects = subjectList(arguments, err);
    if (!subjects) {
        return 2;
    }
    selection.subjects = *subjects;
    // The outputs are checked before the study is opened: a refused command leaves the study as it
    // was (opening an earlier version migrates it).
    if (!outputsAccepted({csv, png}, err)) {
        return 1;
    }
    const QString path = arguments.positional().at(0);
    OpenStudy study(path, out, err);
    if (!study) {
        return 1;
    }
    const PhospheneMap::Counts counts = PhospheneMap::count(study.opened.db, selection);
    QString why;
    if (!csv.isEmpty() && !SafeWrite::writeBytes(csv, PhospheneMap::csv(counts), &why)) {
        err << "zokorvane-tool: " << why << "\n";
        return 1;
    }
    if (!png.isEmpty() &&
        !SafeWrite::writeImage(png, PhospheneMap::renderMap(counts, -1, QSize(900, 480)), "PNG", &why)) {
        err << "zokorvane-tool: " << why << "\n";
        return 1;
    }
    out << Tool::tr("Mapped %1 stimuli").arg(counts.total() - counts.offGrid);
    if (!selection.filter.text.isEmpty()) {
        out << Tool::tr(" where %1").arg(selection.filter.text);
    }
    out << (counts.offGrid > 0 ? Tool::tr("; %1 more count for no cell of the grid").arg(counts.offGrid)
                               : QString())
        << "\n";
    return 0;
}

namespace {

// Loads the subject's calibrated series into mr and aims its sites at this depth, with the counts of
// the selection and (for a normalised subject) the template's space; false, saying why on err, when
// they cannot be had.
bool subjectSites(const QSqlDatabase &db, qint32 subject, double depth,
                  const PhospheneMap::Selection &selection, const QString &atlas,
                  StimulationSites::SubjectMr &mr, StimulationSites::Sites &sites, QTextStream &err) {
    const std::optional<SubjectCalibration::Record> record = SubjectCalibration::read(db, subject);
    if (!record) {
        err << "zokorvane-tool: "
            << Tool::tr("subject %1 has no stored MR calibration: accept the point selection of its MR, or "
                        "run zokorvane-tool calibrate")
                   .arg(subject)
            << "\n";
        return false;
    }
    QString why;
    if (!mr.load(*record, &why)) {
        err << "zokorvane-tool: " << why << "\n";
        return false;
    }
    try {
        sites = mr.sites(depth, PhospheneMap::count(db, selection));
        StimulationSites::addBrainSpace(sites, db, *record, atlas);
    } catch (const ImagingError &e) {
        err << "zokorvane-tool: " << e.message() << "\n";
        return false;
    } catch (const BrainError &e) {
        err << "zokorvane-tool: " << e.message() << "\n";
        return false;
    }
    return true;
}

} // namespace

int sites(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(
        QStringLiteral("usage: zokorvane-tool sites STUDY --subject ID [--depth MM] [--tsv OUT.tsv] "
                       "[--nifti OUT.nii.gz] [--volume OUT.nii.gz] [--atlas FILE] ") +
            MapFilterUsage + QStringLiteral("\n"),
        {"subject", "depth", "tsv", "nifti", "volume", "atlas", "pulses-from", "pulses-to", "frequency-from",
         "frequency-to", "intensity-from", "intensity-to", "coil", "pulse-type", "phase", "orientation"});
    if (!arguments.parse(args, 1, 1) || !arguments.isSet(QStringLiteral("subject"))) {
        return arguments.wrongArguments(err);
    }
    const auto subject = wholeOption(arguments, QStringLiteral("subject"), 0, 2147483647, 0, err);
    const std::optional<double> depth = arguments.number(QStringLiteral("depth"), 0, 200, 15.0);
    if (!depth) {
        err << "zokorvane-tool: " << Tool::tr("--depth takes millimetres from 0 to 200") << "\n";
        return 2;
    }
    std::optional<PhospheneMap::Selection> selection = mapFilter(arguments, err);
    if (!subject || !selection) {
        return 2;
    }
    const QString tsvPath = arguments.value(QStringLiteral("tsv"));
    const QString niftiPath = arguments.value(QStringLiteral("nifti"));
    const QString volumePath = arguments.value(QStringLiteral("volume"));
    if (!niftiNames({niftiPath, volumePath},
                    Tool::tr("--nifti and --volume take file names ending in .nii or .nii.gz"), err)) {
        return 2;
    }
    if (!outputsAccepted({tsvPath, niftiPath, volumePath}, err)) {
        return 1;
    }
    selection->subjects = {int(*subject)};
    OpenStudy study(arguments.positional().at(0), out, err);
    if (!study) {
        return 1;
    }
    StimulationSites::SubjectMr mr;
    StimulationSites::Sites sites;
    if (!subjectSites(study.opened.db, qint32(*subject), *depth, *selection,
                      arguments.value(QStringLiteral("atlas")), mr, sites, err)) {
        return 1;
    }
    QString why;
    const QByteArray table = StimulationSites::tsv(sites);
    if (const QString missing = noScalpWarning(StimulationSites::missingCells(sites)); !missing.isEmpty()) {
        err << "zokorvane-tool: " << missing << "\n";
    }
    // Everything is computed before the first file is written, and a run leaves all its files or
    // none of them new.
    NewFiles files;
    if (!files.write(tsvPath, [&] { return SafeWrite::writeBytes(tsvPath, table, &why); }) ||
        !files.write(niftiPath,
                     [&] {
                         return NiftiFiles::write(niftiPath, StimulationSites::overlay(sites, mr.volume()),
                                                  &why);
                     }) ||
        !files.write(volumePath, [&] { return NiftiFiles::write(volumePath, mr.volume(), &why); })) {
        err << "zokorvane-tool: " << why << "\n";
        return 1;
    }
    if (tsvPath.isEmpty()) {
        out << table;
    } else {
        out << Tool::tr("Wrote the sites of 50 cells of subject %1 to %2").arg(*subject).arg(tsvPath) << "\n";
    }
    return 0;
}

int normalise(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(
        QStringLiteral("usage: zokorvane-tool normalise STUDY --subject ID [--template FILE]\n"),
        {"subject", "template"});
    if (!arguments.parse(args, 1, 1) || !arguments.isSet(QStringLiteral("subject"))) {
        return arguments.wrongArguments(err);
    }
    const auto subject = wholeOption(arguments, QStringLiteral("subject"), 0, 2147483647, 0, err);
    if (!subject) {
        return 2;
    }
    OpenStudy study(arguments.positional().at(0), out, err);
    if (!study) {
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    SubjectNormalisation::Record record;
    try {
        const BrainTemplate tpl = BrainTemplate::find(arguments.value(QStringLiteral("template")));
        const Normalise::Job job = Normalise::prepare(study.opened.db, qint32(*subject), tpl);
        int shown = -1;
        Normalise::Control control;
        control.progress = [&](int percent, const QString &stage) {
            if (percent / 10 != shown / 10) {
                shown = percent;
                err << Tool::tr("%1 % %2").arg(percent, 3).arg(stage) << "\n";
                err.flush();
            }
        };
        std::optional<SubjectAiming::Record> aiming;
        record = Normalise::compute(job, control, &aiming);
        SubjectNormalisation::write(study.opened.db, record, aiming ? &*aiming : nullptr);
    } catch (const BrainError &e) {
        err << "zokorvane-tool: " << e.message() << "\n";
        return 1;
    } catch (const StudyError &e) {
        err << "zokorvane-tool: " << e.message() << "\n";
        return 1;
    }
    const Normalise::Parts parts = Normalise::decompose(record.subjectToMni);
    out << Tool::tr("Subject %1 normalised to %2 (subject RAS mm -> MNI RAS mm):")
               .arg(*subject)
               .arg(record.templateName)
        << "\n";
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) {
            out << (c > 0 ? "\t" : "  ") << QString::number(record.subjectToMni[r * 4 + c], 'f', 5);
        }
        out << "\n";
    }
    const auto three = [](const std::array<double, 3> &v, int decimals) {
        return QStringLiteral("%1 %2 %3")
            .arg(v[0], 0, 'f', decimals)
            .arg(v[1], 0, 'f', decimals)
            .arg(v[2], 0, 'f', decimals);
    };
    out << Tool::tr("scales x y z: %1").arg(three(parts.scales, 3)) << "\n"
        << Tool::tr("rotations about x y z (degrees): %1").arg(three(parts.rotations, 1)) << "\n"
        << Tool::tr("shift (mm): %1").arg(three(parts.shift, 1)) << "\n"
        << Tool::tr("metric (Mattes mutual information): %1").arg(record.metric, 0, 'f', 4) << "\n"
        << Tool::tr("seconds: %1").arg(double(timer.elapsed()) / 1000, 0, 'f', 1) << "\n";
    return 0;
}

int groupMap(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(
        QStringLiteral("usage: zokorvane-tool group-map STUDY --nifti OUT.nii.gz [--counts OUT.nii.gz] "
                       "[--areas OUT.tsv] [--subjects ID,ID...] [--depth MM] [--radius MM] [--template FILE] "
                       "[--atlas FILE] ") +
            MapFilterUsage + QStringLiteral("\n"),
        {"nifti", "counts", "areas", "subjects", "depth", "radius", "template", "atlas", "pulses-from",
         "pulses-to", "frequency-from", "frequency-to", "intensity-from", "intensity-to", "coil",
         "pulse-type", "phase", "orientation"});
    if (!arguments.parse(args, 1, 1) || !arguments.isSet(QStringLiteral("nifti"))) {
        return arguments.wrongArguments(err);
    }
    const std::optional<double> depth = arguments.number(QStringLiteral("depth"), 0, 200, 15.0);
    const std::optional<double> radius = arguments.number(QStringLiteral("radius"), 0.5, 50, 5.0);
    if (!depth || !radius) {
        err << "zokorvane-tool: "
            << Tool::tr("--depth takes millimetres from 0 to 200, --radius from 0.5 to 50") << "\n";
        return 2;
    }
    const QString niftiPath = arguments.value(QStringLiteral("nifti"));
    const QString countsPath = arguments.value(QStringLiteral("counts"));
    const QString areasPath = arguments.value(QStringLiteral("areas"));
    if (!niftiNames({niftiPath, countsPath},
                    Tool::tr("--nifti and --counts take file names ending in .nii or .nii.gz"), err)) {
        return 2;
    }
    const std::optional<PhospheneMap::Selection> selection = mapFilter(arguments, err);
    const std::optional<QList<int>> subjects = subjectList(arguments, err);
    if (!selection || !subjects) {
        return 2;
    }
    GroupMap::Options options;
    options.subjects = *subjects;
    options.depthMm = *depth;
    options.radiusMm = *radius;
    options.filter = selection->filter;
    if (!outputsAccepted({niftiPath, countsPath, areasPath}, err)) {
        return 1;
    }
    OpenStudy study(arguments.positional().at(0), out, err);
    if (!study) {
        return 1;
    }
    GroupMap::Result result;
    try {
        const BrainTemplate tpl = BrainTemplate::find(arguments.value(QStringLiteral("template")),
                                                      arguments.value(QStringLiteral("atlas")));
        result = GroupMap::compute(study.opened.db, options, tpl);
    } catch (const BrainError &e) {
        err << "zokorvane-tool: " << e.message() << "\n";
        return 1;
    } catch (const StudyError &e) {
        err << "zokorvane-tool: " << e.message() << "\n";
        return 1;
    }
    for (const QString &left : std::as_const(result.leftOut)) {
        err << "zokorvane-tool: " << Tool::tr("left out: %1").arg(left) << "\n";
    }
    if (result.subjects.isEmpty()) {
        err << "zokorvane-tool: " << Tool::tr("no chosen subject is normalised; run zokorvane-tool normalise")
            << "\n";
        return 1;
    }
    // All files or none new, as `sites` writes them.
    NewFiles files;
    QString why;
    if (!files.write(niftiPath, [&] { return NiftiFiles::write(niftiPath, result.rate, &why); }) ||
        !files.write(countsPath, [&] { return NiftiFiles::write(countsPath, result.counts, &why); }) ||
        !files.write(areasPath, [&] {
            return SafeWrite::writeBytes(areasPath, GroupMap::areasTsv(result.areas), &why);
        })) {
        err << "zokorvane-tool: " << why << "\n";
        return 1;
    }
    out << Tool::tr("Pooled %1 targets of %2 subjects in %3 areas into %4")
               .arg(result.targets.size())
               .arg(result.subjects.size())
               .arg(result.areas.size())
               .arg(niftiPath)
        << "\n";
    return 0;
}

int copyStudy(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(QStringLiteral("usage: zokorvane-tool copy-study SRC DST\n"), {});
    if (!arguments.parse(args, 2, 2)) {
        return arguments.wrongArguments(err);
    }
    const StudyCopy::Report report =
        StudyCopy::copy(arguments.positional().at(0), arguments.positional().at(1));
    for (const auto &[table, sum] : report.tables) {
        out << table << "\t" << sum.rows << " rows\tsha256 " << sum.checksum << "\n";
    }
    out << Tool::tr("Copied and checked: every table of the copy equals the original") << "\n";
    return 0;
}

int backup(const QStringList &args, QTextStream &out, QTextStream &err) {
    CommandArguments arguments(QStringLiteral("usage: zokorvane-tool backup STUDY [DEST]\n"), {});
    if (!arguments.parse(args, 1, 2)) {
        return arguments.wrongArguments(err);
    }
    const QString path = arguments.positional().at(0);
    if (ServerStudy::isLocation(path)) {
        err << "zokorvane-tool: "
            << Tool::tr("a server study is backed up by its server: pg_dump -Fc -f study.dump DATABASE")
            << "\n";
        return 1;
    }
    OpenStudy study(path, out, err);
    if (!study) {
        return 1;
    }
    if (arguments.positional().size() == 2) {
        QString target = arguments.positional().at(1);
        if (QFileInfo(target).isDir()) {
            QString replaced;
            const QString id = StudyBackup::identity(study.opened.db, &replaced);
            if (!replaced.isEmpty()) {
                out << replaced << "\n";
            }
            target = QDir(target).filePath(StudyBackup::rollingName(path, id, QDate::currentDate()));
        }
        StudyBackup::write(study.opened.db, target);
        out << Tool::tr("Backed up %1 to %2").arg(path, target) << "\n";
        return 0;
    }
    const StudyBackup::Settings settings = StudyBackup::settings(AppPaths::configPath(), path);
    const StudyBackup::Rolling done =
        StudyBackup::rolling(study.opened.db, path, settings.folder, settings.keep);
    if (!done.replaced.isEmpty()) {
        out << done.replaced << "\n";
    }
    out << (done.written.isEmpty() ? Tool::tr("Today's backup is already in %1").arg(settings.folder)
                                   : Tool::tr("Backed up %1 to %2").arg(path, done.written))
        << "\n";
    for (const QString &removed : done.removed) {
        out << Tool::tr("Removed the old backup %1").arg(removed) << "\n";
    }
    return 0;
}

} // namespace StudyCommands
