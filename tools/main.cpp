// zokorvane-tool: the command-line side of ZoKorvane, for scripting, tests and the quick start.
// Errors go to stderr with a non-zero exit code.

#include "Version.h"
#include "core/AppPaths.h"
#include "core/AppState.h"
#include "core/Language.h"
#include "core/SafeWrite.h"
#include "data/LegacyImport.h"
#include "data/ServerStudy.h"
#include "data/Study.h"
#include "data/StudyError.h"
#include "data/StudyState.h"
#include "drawings/DrawingFile.h"
#include "drawings/DrawingRender.h"
#include "drawings/DrawingView.h"
#include "subjects/ReportOutput.h"
#include "subjects/SubjectStore.h"
#include "tools/CommandArguments.h"
#include "tools/DemoStudy.h"
#include "tools/ImagingCommands.h"
#include "tools/StudyCommands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QStringList>
#include <QTextStream>

#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <optional>

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
    CommandArguments arguments(QStringLiteral("usage: zokorvane-tool new-study FILE\n"), {});
    if (!arguments.parse(args, 1, 1)) {
        return arguments.wrongArguments(err());
    }
    const QString file = arguments.positional().first();
    Study::create(file);
    out() << Tool::tr("Created %1").arg(ServerStudy::shownLocation(file)) << "\n";
    return 0;
}

// Renders one drawing file on a white square picture of the canvas scale, as the viewer's picture
// areas draw it. A file that cannot be read is reported instead of drawn, so a batch export does not
// silently produce pictures of the error display.
int renderDrawing(const QStringList &args) {
    CommandArguments arguments(
        QStringLiteral("usage: zokorvane-tool render-drawing FILE --mode lines|fuse|mass --png OUT "
                       "[--size PIXELS]\n"),
        {"mode", "png", "size"});
    if (!arguments.parse(args, 1, 1)) {
        return arguments.wrongArguments(err());
    }
    const std::optional<qint64> size = arguments.whole(QStringLiteral("size"), 1, 10000, 258); // 20 per unit
    if (!size) {
        err() << "zokorvane-tool: "
              << QCoreApplication::translate("zokorvane-tool",
                                             "--size takes a number of pixels from 1 to 10000")
              << "\n";
        return 2;
    }
    const std::map<QString, DrawingRender::Mode> modes = {
        {QStringLiteral("lines"), DrawingRender::Mode::Lines},
        {QStringLiteral("fuse"), DrawingRender::Mode::Fuse},
        {QStringLiteral("mass"), DrawingRender::Mode::MassCentre}};
    const auto mode = modes.find(arguments.value(QStringLiteral("mode")));
    const QString png = arguments.value(QStringLiteral("png"));
    if (png.isEmpty() || mode == modes.end()) {
        return arguments.wrongArguments(err());
    }
    const QString file = arguments.positional().first();
    const DrawingFile::Contents contents = DrawingFile::read(file);
    if (!contents.ok()) {
        err() << "zokorvane-tool: " << Tool::tr("cannot read the drawing %1: %2").arg(file, contents.error)
              << "\n";
        return 1;
    }
    const int side = int(*size);
    QImage image(side, side, QImage::Format_RGB32);
    PictureSurface picture(&image);
    DrawingView::setUpForDrawing(picture);
    DrawingRender::render(picture, contents, file, mode->second);
    QString why;
    if (!SafeWrite::writeImage(png, image, "PNG", &why)) {
        err() << "zokorvane-tool: " << why << "\n";
        return 1;
    }
    out() << Tool::tr("Wrote %1").arg(png) << "\n";
    return 0;
}

int importMdb(const QStringList &args) {
    CommandArguments arguments(QStringLiteral("usage: zokorvane-tool import-mdb IN.mdb [OUT.sqlite]\n"), {});
    if (!arguments.parse(args, 1, 2)) {
        return arguments.wrongArguments(err());
    }
    const QString mdb = arguments.positional().first();
    const QString study = arguments.positional().value(1, LegacyImport::studyPathFor(mdb));
    if (ServerStudy::isLocation(study)) {
        err() << "zokorvane-tool: "
              << Tool::tr("import-mdb writes a study file; copy-study then puts it on a server") << "\n";
        return 2;
    }
    const LegacyImport::Result result = LegacyImport::importMdb(mdb, study);
    out() << QCoreApplication::translate("zokorvane-tool",
                                         "Imported %1 into %2: %3 subjects, %4 points, %5 stimuli")
                 .arg(mdb, study)
                 .arg(result.subjects)
                 .arg(result.points)
                 .arg(result.stimuli)
          << "\n";
    out() << Tool::tr("drawings copied into the study: %1").arg(result.drawings) << "\n";
    for (const QString &name : result.missingDrawings) {
        out() << Tool::tr("drawing missing or unreadable: %1").arg(name) << "\n";
    }
    for (const QString &value : result.inexact) {
        out() << Tool::tr("not carried over exactly: %1").arg(value) << "\n";
    }
    return result.inexact.isEmpty() ? 0 : 3;
}

// Writes a subject's report as a PDF, laid out exactly as the printed one. The subject is chosen
// as the subject chooser chooses it: its list text names it and its grid places its points.
int report(const QStringList &args) {
    CommandArguments arguments(
        QStringLiteral("usage: zokorvane-tool report --subject ID --pdf OUT.pdf STUDY\n"),
        {"subject", "pdf"});
    if (!arguments.parse(args, 1, 1)) {
        return arguments.wrongArguments(err());
    }
    const std::optional<qint64> subject = arguments.whole(QStringLiteral("subject"), INT_MIN, INT_MAX);
    const QString pdf = arguments.value(QStringLiteral("pdf"));
    if (!subject || pdf.isEmpty()) {
        return arguments.wrongArguments(err());
    }
    const int id = int(*subject);
    const QString study = arguments.positional().first();
    AppState state;
    const QString opened = AbreBaseDatos(state, study);
    if (!opened.isEmpty()) {
        err() << "zokorvane-tool: "
              << Tool::tr("cannot open %1: %2").arg(ServerStudy::shownLocation(study), opened) << "\n";
        return 1;
    }
    const auto grid = SubjectStore::subjectGrid(state.BaseDatos, id);
    if (!grid) {
        err() << "zokorvane-tool: "
              << Tool::tr("there is no subject %1 in %2").arg(id).arg(ServerStudy::shownLocation(study))
              << "\n";
        return 1;
    }
    QString name;
    for (const SubjectStore::SubjectEntry &entry : SubjectStore::subjectEntries(state.BaseDatos)) {
        if (entry.id == id) {
            name = entry.text;
        }
    }
    state.FijaPaciente(id, name, grid->filaCentro, grid->columnaCentro);
    QString why;
    if (!ReportOutput::saveReportPdf(state, pdf, &why)) {
        err() << "zokorvane-tool: " << why << "\n";
        return 1;
    }
    out() << Tool::tr("Wrote %1").arg(pdf) << "\n";
    return 0;
}

int demo(const QStringList &args) {
    CommandArguments arguments(QStringLiteral("usage: zokorvane-tool demo DIR\n"), {});
    if (!arguments.parse(args, 1, 1)) {
        return arguments.wrongArguments(err());
    }
    const QString study = DemoStudy::create(arguments.positional().first());
    out() << Tool::tr("Created the demo study %1").arg(study) << "\n";
    return 0;
}

const std::map<QString, Command> &commands() {
    static const std::map<QString, Command> table = {
        {QStringLiteral("backup"),
         {QStringLiteral("backup STUDY [DEST]"),
          QStringLiteral(
              "Write a consistent copy of a study to DEST (a new file or a folder; never over the study "
              "or another file), or keep the rolling backup as the program does (one a day, the last 7, "
              "in \"backups\" beside the study; config.ini [Backups] Folder and Keep)."),
          QStringLiteral("zokorvane-tool backup ~/studies/lab2026.sqlite"),
          [](const QStringList &args) { return StudyCommands::backup(args, out(), err()); }}},
        {QStringLiteral("calibrate"),
         {QStringLiteral("calibrate STUDY --subject ID --series DIR|FILE.nii[.gz] [--series-number N] "
                         "--landmarks X1,Y1,Z1:X2,Y2,Z2:XI,YI,ZI [--distance MM]"),
          QStringLiteral(
              "Store a subject's MR calibration as the point selection window does: the series (the "
              "folder's largest, or number N as load-series lists them) and the three landmarks in its "
              "voxels, as plan takes them; the subject's next \"Load associated MR...\" starts from it."),
          QStringLiteral("zokorvane-tool calibrate lab.sqlite --subject 3 --series /tmp/phantom --landmarks "
                         "110,64,30:10,64,30:18,64,30"),
          [](const QStringList &args) { return ImagingCommands::calibrate(args, out(), err()); }}},
        {QStringLiteral("copy-study"),
         {QStringLiteral("copy-study SRC DST"),
          QStringLiteral(
              "Copy a study between a file and a server study (postgresql://...), either way, into a "
              "new file or an empty database, and check the copy table by table."),
          QStringLiteral("zokorvane-tool copy-study lab.sqlite postgresql://lab-server/lab2026"),
          [](const QStringList &args) { return StudyCommands::copyStudy(args, out(), err()); }}},
        {QStringLiteral("demo"),
         {QStringLiteral("demo DIR"),
          QStringLiteral(
              "Create a demo study (DIR/demo.sqlite): three subjects, experiments with drawings and a "
              "synthetic MR series."),
          QStringLiteral("zokorvane-tool demo ~/zokorvane-demo"), demo}},
        {QStringLiteral("export-drawings"),
         {QStringLiteral("export-drawings STUDY DIR"),
          QStringLiteral(
              "Write every drawing of the study into DIR (a new or empty folder) as a file named by its "
              "stimulus's drawing name, in the drawing file format."),
          QStringLiteral("zokorvane-tool export-drawings ~/studies/lab2026.sqlite ~/lab2026-drawings"),
          [](const QStringList &args) { return StudyCommands::exportDrawings(args, out(), err()); }}},
        {QStringLiteral("export"),
         {QStringLiteral("export STUDY OUT --format tsv|nibs-bids"),
          QStringLiteral("Write the study for analysis: OUT/stimuli.tsv (one row per stimulus) and "
                         "OUT/subjects.tsv, or a "
                         "NIBS-BIDS dataset. OUT must be new or empty."),
          QStringLiteral("zokorvane-tool export ~/studies/lab2026.sqlite ~/lab2026-tsv --format tsv"),
          [](const QStringList &args) { return StudyCommands::exportStudy(args, out(), err()); }}},
        {QStringLiteral("import-mdb"),
         {QStringLiteral("import-mdb IN.mdb [OUT.sqlite]"),
          QStringLiteral(
              "Convert a legacy Access data base into a study (default: same name, .sqlite); never "
              "writes over an existing study."),
          QStringLiteral("zokorvane-tool import-mdb /data/tms2003.mdb"), importMdb}},
        {QStringLiteral("load-series"),
         {QStringLiteral("load-series DIR|FILE.nii[.gz] [--series NUMBER | --series-index N] [--volume N] "
                         "[--jpg-only] [--lateral] [--threads N] [--export-volume OUT.nii.gz]"),
          QStringLiteral(
              "Load an MR series or a NIfTI volume as the image loader does: the folder's largest series "
              "of one volume unless told, --series NUMBER by the series number the scanner wrote, "
              "--series-index N by its place in the list printed (from 1), --volume N the N-th volume of "
              "a series of several (echoes, time points, directions; default 1); print what was built "
              "as JSON; optionally write the volume as the program holds it (axes P, I, R) as NIfTI."),
          QStringLiteral("zokorvane-tool load-series ~/mr/subject12"),
          [](const QStringList &args) { return ImagingCommands::loadSeries(args, out(), err()); }}},
        {QStringLiteral("map"),
         {QStringLiteral("map STUDY [--png OUT.png] [--csv OUT.csv] [--subjects ID,ID...] [--pulses-from N] "
                         "[--pulses-to N] [--frequency-from N] [--frequency-to N] [--intensity-from N] "
                         "[--intensity-to N] [--coil C] [--pulse-type C] [--phase C] [--orientation C]"),
          QStringLiteral(
              "The phosphene map: per grid cell the stimuli, the answers yes, no and doubt and the "
              "phosphene rate, as a picture and as CSV, over the subjects and parameters chosen."),
          QStringLiteral("zokorvane-tool map ~/studies/lab2026.sqlite --png map.png --csv map.csv --coil 1"),
          [](const QStringList &args) { return StudyCommands::map(args, out(), err()); }}},
        {QStringLiteral("new-study"),
         {QStringLiteral("new-study FILE"),
          QStringLiteral("Create an empty study (refuses to write over an existing file)."),
          QStringLiteral("zokorvane-tool new-study ~/studies/lab2026.sqlite"), newStudy}},
        {QStringLiteral("phantom"),
         {QStringLiteral(
              "phantom DIR [--slices N] [--size N] [--spacing MM] [--thickness MM] "
              "[--orientation sagittal|axial|coronal] [--tilt DEG] [--shuffle-names] [--multi-frame] "
              "[--own-windows]"),
          QStringLiteral("Write a synthetic MR head series (DICOM) with known geometry (default 100 slices "
                         "of 256 x 256); --own-windows gives each file its own window, as scanners do."),
          QStringLiteral("zokorvane-tool phantom /tmp/phantom --slices 60 --size 128"),
          [](const QStringList &args) { return ImagingCommands::phantom(args, out(), err()); }}},
        {QStringLiteral("plan"),
         {QStringLiteral("plan SERIES_DIR|FILE.nii[.gz] --landmarks X1,Y1,Z1:X2,Y2,Z2:XI,YI,ZI [--distance "
                         "MM] [--depth D] "
                         "[--csv OUT]"),
          QStringLiteral(
              "Load an MR series, calibrate it by two landmarks of known distance (default 200 mm) and "
              "the Ilion landmark, and give for each of the 50 grid cells the scalp and target points "
              "(depth in voxels, default 15) in voxels and millimetres, as CSV."),
          QStringLiteral(
              "zokorvane-tool plan /tmp/phantom --landmarks 110,64,30:10,64,30:18,64,30 --csv plan.csv"),
          [](const QStringList &args) { return ImagingCommands::plan(args, out(), err()); }}},
        {QStringLiteral("normalise"),
         {QStringLiteral("normalise STUDY --subject ID [--template FILE]"),
          QStringLiteral(
              "Register a calibrated subject's series to the template head (Colin 27 in MNI space, "
              "from mricron-data) with a 12-parameter affine and store it with the subject; "
              "prints the matrix, its scales and rotations, the metric and the seconds."),
          QStringLiteral("zokorvane-tool normalise lab.sqlite --subject 3"),
          [](const QStringList &args) { return StudyCommands::normalise(args, out(), err()); }}},
        {QStringLiteral("group-map"),
         {QStringLiteral("group-map STUDY --nifti OUT.nii.gz [--counts OUT.nii.gz] [--areas OUT.tsv] "
                         "[--subjects ID,...] [--depth MM] [--radius MM] [--template FILE] [--atlas FILE] "
                         "[the filter options of map]"),
          QStringLiteral(
              "The normalised subjects' answers pooled in MNI space on the template's grid: within "
              "RADIUS mm (default 5) of each cell's target at DEPTH mm (default 15), 1 + the pooled "
              "phosphene rate in percent; the stimuli pooled; one row per atlas area reached."),
          QStringLiteral("zokorvane-tool group-map lab.sqlite --nifti group.nii.gz --areas areas.tsv"),
          [](const QStringList &args) { return StudyCommands::groupMap(args, out(), err()); }}},
        {QStringLiteral("report"),
         {QStringLiteral("report --subject ID --pdf OUT.pdf STUDY"),
          QStringLiteral("Write a subject's report, as \"Print subject report\" prints it, to a PDF file."),
          QStringLiteral("zokorvane-tool report --subject 3 --pdf subject3.pdf ~/studies/lab2026.sqlite"),
          report}},
        {QStringLiteral("sites"),
         {QStringLiteral("sites STUDY --subject ID [--depth MM] [--tsv OUT.tsv] [--nifti OUT.nii.gz] "
                         "[--volume OUT.nii.gz] [--atlas FILE] [the filter options of map]"),
          QStringLiteral(
              "The stimulation sites of a subject with a stored MR calibration, in the scanner's space "
              "(NIfTI world, RAS, mm): per grid cell the scalp point, the target DEPTH mm beneath it "
              "(default 15) on the straight line to the head centre, the stimuli and answers (for a "
              "normalised subject also the target in MNI, the atlas "
              "area and the scalp-to-brain distance); as TSV, an "
              "overlay of 5 mm balls valued 1 + the phosphene rate in percent, and the volume it lies on."),
          QStringLiteral("zokorvane-tool sites lab.sqlite --subject 3 --tsv sites.tsv --nifti sites.nii.gz "
                         "--volume t1.nii.gz"),
          [](const QStringList &args) { return StudyCommands::sites(args, out(), err()); }}},
        {QStringLiteral("stimulus"),
         {QStringLiteral(
              "stimulus add|delete STUDY --subject ID --cell N --experiment N [--answer yes|no|doubt] "
              "[--colour TEXT] [--brightness N] [--notes TEXT] [--drawing FILE] [--coil N] "
              "[--pulse-type N] [--phase N] [--orientation N] [--pulses N] [--frequency N] "
              "[--intensity N] [--date ISO]"),
          QStringLiteral("Store or delete one stimulus as the recording window's \"Save and continue\" and "
                         "\"Delete\" do (for batch entry of paper records)."),
          QStringLiteral(
              "zokorvane-tool stimulus add lab.sqlite --subject 3 --cell 14 --experiment 2 --answer "
              "yes --colour white --brightness 4 --drawing seen.txt"),
          [](const QStringList &args) { return StudyCommands::stimulus(args, out(), err()); }}},
        {QStringLiteral("render-drawing"),
         {QStringLiteral("render-drawing FILE --mode lines|fuse|mass --png OUT [--size PIXELS]"),
          QStringLiteral("Render one perception drawing file to a PNG picture (default 258 pixels square)."),
          QStringLiteral(
              "zokorvane-tool render-drawing ~/studies/lab2026_puntos/352 --mode fuse --png 352.png"),
          renderDrawing}},
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
    // The report and the map lay out text, and the export paints drawings to measure them, which take
    // a GUI application; none shows a window.
    const bool gui = argc > 1 && (qstrcmp(argv[1], "report") == 0 || qstrcmp(argv[1], "map") == 0 ||
                                  qstrcmp(argv[1], "export") == 0);
    if (gui && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const std::unique_ptr<QCoreApplication> app =
        gui ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ZoKorvane"));
    // Messages in the program's language (config.ini [Language] Name, else the system's); the
    // tables and files scripts read stay as they are.
    Language::install(Language::chosen(AppPaths::configPath()));
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printHelp(args.isEmpty() ? err() : out());
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    const auto found = commands().find(name);
    if (found == commands().end()) {
        err() << "zokorvane-tool: " << Tool::tr("unknown command '%1'").arg(name) << "\n\n";
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
