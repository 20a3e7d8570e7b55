// Makes the README's screenshots: builds the demo study in a temporary folder, opens each window
// of the walkthrough on it as an operator would, and saves a picture of each into the folder
// given. Run it under an X server (scripts/screenshots.sh runs it under Xvfb).
//
// usage: zk-screenshots OUTDIR

#include "app/MainWindow.h"
#include "brain/BrainTemplate.h"
#include "core/AppState.h"
#include "core/Language.h"
#include "data/SharedQueries.h"
#include "data/SubjectCalibration.h"
#include "data/SubjectNormalisation.h"
#include "drawings/DrawingCanvas.h"
#include "experiments/EGrid.h"
#include "experiments/FAcumulados.h"
#include "experiments/FVerEstimulo.h"
#include "experiments/IntroEstimulo.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"
#include "imaging/PhantomWriter.h"
#include "imaging/SeriesLoader.h"
#include "imaging/StoredCalibration.h"
#include "mr/FInicio.h"
#include "mr/FResonancia.h"
#include "mr/FSelect.h"
#include "results/PhospheneMapWindow.h"
#include "results/StimulationSites.h"
#include "subjects/ReportOutput.h"
#include "subjects/elegirpaciente.h"
#include "subjects/paciente.h"
#include "tools/DemoStudy.h"
#include "widgets/Messages.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdio>

namespace {

QDir out;

QImage grabShown(QWidget &window) {
    window.show();
    window.raise();
    QTest::qWait(150);
    return window.grab().toImage();
}

void save(const QImage &picture, const char *name) {
    const QString path = out.filePath(QString::fromLatin1(name));
    if (!picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
    std::printf("%s\n", qPrintable(path));
}

void shoot(QWidget &window, const char *name) {
    save(grabShown(window), name);
}

// On a loaded series: the Ilion marked at the back of the head g describes in the point selection,
// the calibration accepted, and cell 25 viewed in the associated MR window; the two windows' pictures.
std::pair<QImage, QImage> markIlionAndView(AppState &state, ImagingState &imaging,
                                           const Phantom::Geometry &g) {
    imaging.InicializaResonancia();
    QImage selection;
    {
        FSelect select(imaging);
        select.findChild<QPushButton *>(QStringLiteral("bIlion"))->click();
        select.SeleccionaPunto(1, float(g.cx + g.rx - 2), float(g.cy));
        selection = grabShown(select);
    }
    imaging.PonReferencia(std::round(g.cx + g.rx - 0.5), std::round(g.cy), std::round(g.cz), 3);
    imaging.PonCalibracion(200, imaging.Interslice, 1);
    state.ResonanciaCargada = true;
    FResonancia mr(state, imaging);
    mr.resize(420, 760);
    mr.show();
    mr.actualiza_resonancia(25, nullptr);
    return {selection, grabShown(mr)};
}

// The same phantom head written sagittal, axial, coronal and tilted, and through NIfTI: each loaded
// by the loader, the Ilion marked at the back of the head, then the point selection's cut and the
// associated MR window side by side, one row per series, in one picture.
void shootOrientations(AppState &state) {
    struct Row {
        const char *label;
        Phantom::Orientation orientation;
        double tilt;
        bool nifti;
    };
    const Row rows[] = {{"sagittal", Phantom::Orientation::Sagittal, 0, false},
                        {"axial", Phantom::Orientation::Axial, 0, false},
                        {"coronal", Phantom::Orientation::Coronal, 0, false},
                        {"axial tilted 10 degrees", Phantom::Orientation::Axial, 10, false},
                        {"coronal as NIfTI (dcm2niix)", Phantom::Orientation::Coronal, 0, true}};
    const Phantom::Options cube{.slices = 128, .size = 128, .spacing = 1.5, .thickness = 1.5};
    const Phantom::Geometry g = Phantom::geometry(cube);
    QList<QList<QImage>> shots;
    QStringList labels;
    for (const Row &row : rows) {
        QTemporaryDir dir;
        Phantom::Options options = cube;
        options.orientation = row.orientation;
        options.tiltDegrees = row.tilt;
        Phantom::write(dir.filePath(QStringLiteral("dicom")), options);
        QString source = dir.filePath(QStringLiteral("dicom"));
        if (row.nifti) {
            QProcess::execute(QStringLiteral("dcm2niix"), {"-z", "y", "-f", "head", "-o", dir.path(),
                                                           dir.filePath(QStringLiteral("dicom"))});
            source = dir.filePath(QStringLiteral("head.nii.gz"));
        }
        ImagingLibrary library;
        ImagingState imaging(library);
        SeriesLoader loader(imaging);
        if (!loader.i_CargarImagenes(source, false, false)) {
            std::fprintf(stderr, "%s: %s\n", row.label, qPrintable(loader.report().failures.join('\n')));
            continue;
        }
        const auto [selection, view] = markIlionAndView(state, imaging, g);
        shots << QList<QImage>{selection, view};
        labels << QStringLiteral("%1: loaded as %2")
                      .arg(QString::fromLatin1(row.label), loader.report().orientation);
    }
    if (shots.isEmpty()) {
        return;
    }
    const int scale = 2; // half size
    int width = 0;
    int height = 0;
    for (const auto &pair : shots) {
        width = std::max(width, (pair[0].width() + pair[1].width()) / scale + 10);
        height += std::max(pair[0].height(), pair[1].height()) / scale + 30;
    }
    QImage montage(width, height, QImage::Format_RGB32);
    montage.fill(Qt::white);
    QPainter painter(&montage);
    int y = 0;
    for (int i = 0; i < shots.size(); ++i) {
        painter.drawText(4, y + 20, labels[i]);
        y += 28;
        int x = 0;
        for (const QImage &shot : shots[i]) {
            painter.drawImage(QRect(x, y, shot.width() / scale, shot.height() / scale), shot);
            x += shot.width() / scale + 10;
        }
        y += std::max(shots[i][0].height(), shots[i][1].height()) / scale + 2;
    }
    painter.end();
    const QString path = out.filePath(QStringLiteral("11-orientations.png"));
    if (!montage.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
    std::printf("%s\n", qPrintable(path));
}

// The recording window with a drawing on cell 26, the viewer and the comparison window over every
// subject at cell 14, saved under the names given.
void shootExperimentWindows(AppState &state, const char *recordingName, const char *viewerName,
                            const char *comparisonName) {
    {
        state.ContinuarPasada = false;
        IntroEstimulo recording(state);
        recording.findChild<EGrid *>(QStringLiteral("EGrid1"))->setEIndex(26);
        recording.findChild<QRadioButton *>(QStringLiteral("Option1_0"))->setChecked(true);
        recording.findChild<QLineEdit *>(QStringLiteral("TColor"))->setText(QStringLiteral("white"));
        recording.findChild<QLineEdit *>(QStringLiteral("TIntensidad"))->setText(QStringLiteral("6"));
        auto *canvas = recording.findChild<DrawingCanvas *>(QStringLiteral("Picture1"));
        canvas->Picture1_MouseDown(1, 0, 0, 0);
        for (int i = 0; i <= 24; ++i) {
            const double a = 2 * M_PI * i / 24;
            canvas->Picture1_MouseMove(1, 0, float(6.4 + 3.2 * std::cos(a)), float(6.4 + 2.2 * std::sin(a)));
        }
        canvas->Picture1_MouseUp(1, 0, 0, 0);
        shoot(recording, recordingName);
    }
    {
        FVerEstimulo viewer(state, true);
        shoot(viewer, viewerName);
    }
    {
        FAcumulados comparison(state, LlenaListaPacientes);
        comparison.findChild<QListWidget *>(QStringLiteral("LPacientes"))->selectAll();
        comparison.findChild<EGrid *>(QStringLiteral("EGrid1"))->setEIndex(14);
        shoot(comparison, comparisonName);
    }
}

// The geometry of the demo's MR: the phantom of 90 slices of 160 x 160.
Phantom::Geometry demoPhantom() {
    Phantom::Options options;
    options.slices = 90;
    options.size = 160;
    return Phantom::geometry(options);
}

// The calibration landmarks on the phantom: the two references across the head, the Ilion at its back.
void setLandmarks(SubjectCalibration::Record &record, const Phantom::Geometry &g) {
    record.landmarks[0] = {g.cx - g.rx, g.cy, g.cz};
    record.landmarks[1] = {g.cx, g.cy, g.cz};
    record.landmarks[2] = {std::round(g.cx + g.rx - 0.5), std::round(g.cy), std::round(g.cz)};
}

// The first subject calibrated on its MR: the map window's view of the sites on it.
void shootOnTheMr(AppState &state) {
    // The first subject calibrated on its MR: the Ilion at the back of the phantom's head.
    const Phantom::Geometry g = demoPhantom();
    SubjectCalibration::Record record;
    record.subjectId = 1;
    record.series = DameRutaResonancias(state.BaseDatos, 1);
    setLandmarks(record, g);
    PhospheneMapWindow map(state, LlenaListaPacientes);
    map.setCalibrationReader([&](const QSqlDatabase &, qint32 subject) {
        return subject == 1 ? std::optional(record) : std::nullopt;
    });
    auto *subjects = map.findChild<QListWidget *>(QStringLiteral("subjectList"));
    for (int i = 0; i < subjects->count(); ++i) {
        subjects->item(i)->setSelected(subjects->item(i)->data(Qt::UserRole).toInt() == 1);
    }
    auto *tabs = map.findChild<QTabWidget *>(QStringLiteral("viewTabs"));
    tabs->setCurrentWidget(map.findChild<QWidget *>(QStringLiteral("mrTab")));
    map.setCell(15);
    shoot(map, "20-on-the-mr.png");
}

// The map window's view of the targets in the brain; false when the demo's MR cannot be loaded.
bool shootInTheBrain(AppState &state) {
    // The demo's subjects calibrated on its MR and normalised: an affine that carries the
    // phantom's targets over the template's occipital pole, a few millimetres apart per subject,
    // as registrations of different heads would place them.
    const Phantom::Geometry g = demoPhantom();
    ImagingLibrary library;
    ImagingState loaderState(library);
    SeriesLoader loader(loaderState);
    const QString series = DameRutaResonancias(state.BaseDatos, 1);
    if (!loader.i_CargarImagenes(series, false, false, -1)) {
        std::fprintf(stderr, "zk-screenshots: the demo's MR cannot be loaded\n");
        return false;
    }
    const StoredCalibration::Loaded loaded = StoredCalibration::loaded(loader, series, -1);
    QList<qint32> ids;
    QSqlQuery q(QStringLiteral("SELECT ID FROM paciente ORDER BY ID"), state.BaseDatos);
    while (q.next()) {
        ids << q.value(0).toInt();
    }
    for (qsizetype k = 0; k < ids.size(); ++k) {
        SubjectCalibration::Record record;
        record.subjectId = ids[k];
        record.series = series;
        record.seriesNumber = loaded.seriesNumber;
        record.fingerprint = loaded.fingerprint;
        setLandmarks(record, g);
        record.accepted = QDateTime::currentDateTimeUtc();
        SubjectCalibration::write(state.BaseDatos, record);
        StimulationSites::SubjectMr mr;
        if (!mr.load(record)) {
            return false;
        }
        const StimulationSites::Sites sites = mr.sites(15, {});
        StimulationSites::Vec3 mean{0, 0, 0};
        for (const StimulationSites::Site &site : sites.cells) {
            for (std::size_t a = 0; a < 3; ++a) {
                mean[a] += site.target[a] / double(sites.cells.size());
            }
        }
        const double d = 3.0 * double(k) - 3.0;
        const StimulationSites::Vec3 pole{d, -80 - d, 8 + d};
        SubjectNormalisation::Record normalised;
        normalised.subjectId = ids[k];
        normalised.subjectToMni = {0.9, 0, 0,   pole[0] - 0.9 * mean[0], 0, 0.9, 0, pole[1] - 0.9 * mean[1],
                                   0,   0, 0.9, pole[2] - 0.9 * mean[2], 0, 0,   0, 1};
        normalised.templateName = QStringLiteral("MNIColin27");
        normalised.templateSha256 = BrainTemplate::find().headSha256();
        normalised.fingerprint = record.fingerprint;
        normalised.metric = -0.6;
        normalised.accepted = record.accepted;
        SubjectNormalisation::write(state.BaseDatos, normalised);
    }
    PhospheneMapWindow map(state, LlenaListaPacientes);
    map.findChild<QTabWidget *>(QStringLiteral("viewTabs"))
        ->setCurrentWidget(map.findChild<QWidget *>(QStringLiteral("brainTab")));
    map.setCell(15);
    shoot(map, "21-in-the-brain.png");
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZoKorvane"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: zk-screenshots OUTDIR\n");
        return 2;
    }
    out = QDir(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    // Message boxes would stop the walk: answer them all with Yes.
    Messages::setResponder([](const Messages::Shown &) { return true; });

    QTemporaryDir work;
    const QString study = DemoStudy::create(work.path());
    AppState state;
    state.RutaConfig = work.filePath(QStringLiteral("config.ini"));
    ImagingLibrary library;
    ImagingState imaging(library);
    MainWindow main(state, imaging);
    main.openStudy(study);
    shoot(main, "01-main-window.png");

    {
        elegirpaciente chooser(state, [&main](const QString &text) { main.setPanelText(2, text); });
        shoot(chooser, "02-select-subject.png");
    }
    state.FijaPaciente(1, QStringLiteral("Ana García López"), 1, 4);
    main.setPanelText(2, QStringLiteral("Subject: Ana García López"));
    {
        paciente form(state.BaseDatos);
        shoot(form, "03-subject-form.png");
    }
    shootExperimentWindows(state, "04-recording.png", "05-viewer.png", "06-comparison.png");
    {
        PhospheneMapWindow map(state, LlenaListaPacientes);
        map.setCell(15);
        shoot(map, "12-phosphene-map.png");
        map.saveDensity(out.filePath(QStringLiteral("13-density.png")));
    }
    shootOnTheMr(state);
    if (!shootInTheBrain(state)) {
        return 1;
    }
    ReportOutput::saveReportPdf(state, out.filePath(QStringLiteral("07-report.pdf")));
    std::printf("%s\n", qPrintable(out.filePath(QStringLiteral("07-report.pdf"))));

    // The MR road: load the subject's series, mark the landmarks, then view a grid cell.
    {
        FInicio loader(state, imaging);
        loader.setDirectorio(DameRutaResonancias(state.BaseDatos, 1));
        shoot(loader, "08-load-images.png");
        loader.bCargar_Click();
    }
    const Phantom::Geometry g = demoPhantom();
    const auto [selection, view] = markIlionAndView(state, imaging, g);
    save(selection, "09-select-points.png");
    save(view, "10-associated-mr.png");
    shootOrientations(state);

    // The experiment windows again in each translation (the pictures above show the texts as
    // written).
    for (const char *language : {"en", "es"}) {
        Language::install(QString::fromLatin1(language));
        const QByteArray suffix = QByteArray("-") + language + ".png";
        const bool english = qstrcmp(language, "en") == 0;
        shootExperimentWindows(state, (QByteArray(english ? "14" : "15") + "-recording" + suffix).constData(),
                               (QByteArray(english ? "16" : "17") + "-viewer" + suffix).constData(),
                               (QByteArray(english ? "18" : "19") + "-comparison" + suffix).constData());
    }
    Language::install(QStringLiteral("C"));
    return 0;
}
