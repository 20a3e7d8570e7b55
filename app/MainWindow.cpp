#include "app/MainWindow.h"
#include "ui_MainWindow.h"

#include "Version.h"
#include "app/LanguageDialog.h"
#include "app/ServerStudyDialog.h"
#include "app/WindowAccessibility.h"
#include "core/AppPaths.h"
#include "core/AppState.h"
#include "core/ZoDir.h"
#include "data/LegacyImport.h"
#include "data/ServerStudy.h"
#include "data/SharedQueries.h"
#include "data/StudyBackup.h"
#include "data/StudyError.h"
#include "data/StudyState.h"
#include "experiments/FAcumulados.h"
#include "experiments/FVerEstimulo.h"
#include "experiments/IntroEstimulo.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"
#include "mr/AssociatedMr.h"
#include "mr/AssociatedMrView.h"
#include "results/ExportStudyWindow.h"
#include "results/PhospheneMapWindow.h"
#include "subjects/ReportOutput.h"
#include "subjects/elegirpaciente.h"
#include "subjects/paciente.h"
#include "widgets/Messages.h"
#include "widgets/OpenDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>

namespace {
const QString VersionCompleta =
    QStringLiteral("%1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Revision);
}

MainWindow::MainWindow(AppState &state, QWidget *parent) : MainWindow(state, nullptr, parent) {}

MainWindow::MainWindow(AppState &state, ImagingState &imaging, QWidget *parent)
    : MainWindow(state, &imaging, parent) {}

MainWindow::MainWindow(AppState &state, ImagingState *imaging, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainWindow>()), m_state(state), m_imaging(imaging) {
    WindowAccessibility::install(); // before any window of the program asks for its interface
    if (!m_imaging) {
        m_ownLibrary = std::make_unique<ImagingLibrary>();
        m_ownImaging = std::make_unique<ImagingState>(*m_ownLibrary);
        m_imaging = m_ownImaging.get();
    }
    ui->setupUi(this);
    ui->centralwidget->hide();
    resize(width(), minimumSizeHint().height()); // no content area: menu bar and status bar only

    const char *const nombres[3] = {"Panel1", "Panel2", "Panel3"};
    const QString textos[3] = {tr("Datos: ninguno"), tr("Paciente: ninguno"), QString()};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(textos[i], ui->StatusBar1);
        m_panels[i]->setObjectName(QLatin1String(nombres[i]));
        m_panels[i]->setMinimumWidth(i == 2 ? 60 : 200);
        ui->StatusBar1->addWidget(m_panels[i], i == 2 ? 0 : 1);
    }

    // Start: the version in panel 3 and, as major.minor, after the title.
    m_panels[2]->setText(QStringLiteral("v.") + VersionCompleta);
    setWindowTitle(windowTitle() + QStringLiteral(" %1.%2").arg(Version::Major).arg(Version::Minor));

    applyMenus();

    connect(ui->MAElegir, &QAction::triggered, this, &MainWindow::MAElegir_Click);
    connect(ui->actionOpenServerStudy, &QAction::triggered, this, &MainWindow::openServerStudy);
    connect(ui->actionBackUpStudy, &QAction::triggered, this, &MainWindow::backUpStudy);
    connect(ui->MPSalir, &QAction::triggered, this, &MainWindow::MPSalir_Click);
    connect(ui->MPSelecciona, &QAction::triggered, this, &MainWindow::MPSelecciona_Click);
    connect(ui->MPVer, &QAction::triggered, this, &MainWindow::MPVer_Click);
    connect(ui->MRAcumulada, &QAction::triggered, this, &MainWindow::MRAcumulada_Click);
    connect(ui->actionPhospheneMap, &QAction::triggered, this, &MainWindow::openPhospheneMap);
    connect(ui->actionExportStudy, &QAction::triggered, this, &MainWindow::openStudyExport);
    connect(ui->MRInforme, &QAction::triggered, this, &MainWindow::MRInforme_Click);
    connect(ui->MRInformePDF, &QAction::triggered, this, &MainWindow::MRInformePDF_Click);
    connect(ui->MANueva, &QAction::triggered, this, [this] { startExperiment(false); });
    connect(ui->MARetomar, &QAction::triggered, this, [this] { startExperiment(true); });
    connect(ui->MAEstimulo, &QAction::triggered, this, [this] { MAEstimulo_Click(false); });
    connect(ui->MAEdita, &QAction::triggered, this, [this] { MAEstimulo_Click(true); });
    connect(ui->MAcerca, &QAction::triggered, this, &MainWindow::MAcerca_Click);
    connect(ui->actionLanguage, &QAction::triggered, this, &MainWindow::chooseLanguage);
    connect(ui->MPResonancias, &QAction::triggered, this, &MainWindow::MPResonancias_Click);
}

MainWindow::~MainWindow() = default;

void MainWindow::setPanelText(int panel, const QString &text) {
    m_panels[panel - 1]->setText(text);
}

void MainWindow::setMenuEnabled(QMenu *menu, bool enabled) {
    menu->setEnabled(enabled);
    menu->menuAction()->setEnabled(enabled);
}

void MainWindow::applyMenus() {
    const MainWindowModel::Menus &menus = m_model.menus();
    setMenuEnabled(ui->MPacientes, menus.subjects);
    setMenuEnabled(ui->MResultados, menus.results);
    setMenuEnabled(ui->MPasadas, menus.experiments);
    for (QAction *item : {ui->MRInforme, ui->MRInformePDF}) {
        item->setEnabled(menus.subjectItems);
    }
    ui->MPResonancias->setEnabled(menus.subjectItems && menus.changes);
    for (QAction *item : {ui->MANueva, ui->MARetomar, ui->MAEdita, ui->MPVer}) {
        item->setEnabled(menus.changes);
    }
    for (QAction *item : {ui->MANueva, ui->MARetomar, ui->MAEdita, ui->MPVer, ui->MPResonancias}) {
        item->setToolTip(menus.readOnlyReason);
    }
    for (QMenu *menu : {ui->MPacientes, ui->MPasadas}) {
        menu->setToolTipsVisible(!menus.changes);
    }
}

QString MainWindow::proposedFile() const {
    // A server study's URI is no file to propose, and may hold a password.
    if (!m_state.RutaBaseDatos.isEmpty() && !ServerStudy::isLocation(m_state.RutaBaseDatos)) {
        return m_state.RutaBaseDatos;
    }
    return ZoDir::UneRuta(AppPaths::workingDir(), QStringLiteral("empty.mdb"));
}

void MainWindow::MAElegir_Click() {
    QString file = proposedFile();
    if (!DialogoAbrir(this, tr("Data Base|*.sqlite;*.mdb"), tr("Select a Data Base"), file)) {
        return;
    }
    openStudy(file);
}

void MainWindow::backUpStudy() {
    if (!m_state.BaseDatos.isOpen()) {
        return;
    }
    if (ServerStudy::isServer(m_state.BaseDatos)) {
        Messages::information(this, tr("A server study is backed up by its server (pg_dump)."));
        return;
    }
    const QFileInfo study(m_state.RutaBaseDatos);
    QFileDialog dialog(
        this, tr("Back up study"),
        ZoDir::UneRuta(study.absolutePath(),
                       QStringLiteral("%1-backup-%2.sqlite")
                           .arg(study.completeBaseName(), QDate::currentDate().toString(Qt::ISODate))),
        tr("Study (*.sqlite)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("sqlite"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        backUpStudyTo(dialog.selectedFiles().constFirst());
    }
}

bool MainWindow::backUpStudyTo(const QString &file) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        StudyBackup::write(m_state.BaseDatos, file);
        QGuiApplication::restoreOverrideCursor();
        Messages::information(this, tr("The study was backed up to %1.").arg(file));
        return true;
    } catch (const StudyError &e) {
        QGuiApplication::restoreOverrideCursor();
        Messages::error(this, e.message());
        return false;
    }
}

void MainWindow::keepRollingBackup() {
    if (!m_state.BaseDatos.isOpen() || ServerStudy::isServer(m_state.BaseDatos)) {
        return;
    }
    const StudyBackup::Settings settings = StudyBackup::settings(m_state.RutaConfig, m_state.RutaBaseDatos);
    try {
        const StudyBackup::Rolling done =
            StudyBackup::rolling(m_state.BaseDatos, m_state.RutaBaseDatos, settings.folder, settings.keep);
        // Quietly: the study's panel says where the day's copy went.
        if (!done.written.isEmpty()) {
            m_panels[0]->setToolTip(tr("Backed up to %1").arg(done.written));
        }
    } catch (const StudyError &e) {
        Messages::error(this, tr("Today's backup of the study could not be written.\n\n%1").arg(e.message()));
    }
}

void MainWindow::openServerStudy() {
    ServerStudyDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        openStudy(dialog.uri());
    }
}

bool MainWindow::importAccess(const QString &ruta, const QString &estudio) {
    QProgressDialog progreso(tr("Importing %1...").arg(ZoDir::NombreFichero(ruta)), tr("Cancel"), 0, 1000,
                             this);
    progreso.setObjectName(QStringLiteral("ImportProgress"));
    progreso.setWindowModality(Qt::WindowModal);
    progreso.setMinimumDuration(300);
    try {
        const LegacyImport::Result result =
            LegacyImport::importMdb(ruta, estudio, [&progreso](qint64 done, qint64 total) {
                progreso.setValue(int(total > 0 ? done * 1000 / total : 1000));
                return !progreso.wasCanceled();
            });
        progreso.reset();
        Messages::information(this, MainWindowModel::importReport(ruta, estudio, result));
        return true;
    } catch (const StudyError &e) {
        progreso.reset();
        Messages::error(this, tr("Cannot import %1.\n\n%2").arg(ruta, e.message()));
        return false;
    }
}

bool MainWindow::openStudy(const QString &ruta) {
    const MainWindowModel::OpenPlan plan = MainWindowModel::planOpen(ruta);
    const QString &estudio = plan.study;
    if (plan.route == MainWindowModel::Route::OfferConverted &&
        !Messages::question(this, MainWindowModel::offerText(ruta, estudio))) {
        return false;
    }
    if (plan.route == MainWindowModel::Route::Import && !importAccess(ruta, estudio)) {
        return false;
    }
    const bool server = ServerStudy::isLocation(estudio);
    if ((server ? estudio : QFileInfo(estudio).absoluteFilePath()) != m_state.RutaBaseDatos) {
        closeStudyWindows(); // they work on the study being replaced
    }
    const QString shown = server ? MainWindowModel::studyName(estudio) : estudio;
    QString error = AbreBaseDatos(m_state, estudio);
    if (!error.isEmpty() && m_state.passwordNeeded) {
        // Asked for this connection only: the password is kept nowhere else.
        bool given = false;
        const QString password = QInputDialog::getText(
            this, tr("Password"), tr("Password for %1:").arg(shown), QLineEdit::Password, QString(), &given);
        if (!given) {
            return false;
        }
        error = AbreBaseDatos(m_state, estudio, password);
    }
    if (!error.isEmpty()) {
        Messages::error(this, tr("Cannot open the data base %1.\n\n%2").arg(shown, error));
        return false;
    }
    m_panels[0]->setText(tr("Data Base: ") + MainWindowModel::studyName(m_state.RutaBaseDatos) +
                         (m_state.readOnly.isEmpty() ? QString() : tr(" (read only)")));
    m_panels[0]->setToolTip(m_state.readOnly);
    m_panels[1]->setText(tr("Subject: none"));
    if (!m_state.openNotes.isEmpty()) {
        Messages::information(this, m_state.openNotes.join(QStringLiteral("\n\n")));
    }
    m_model.studyOpened(m_state.readOnly);
    applyMenus();
    if (!m_state.readOnly.isEmpty()) {
        Messages::information(this, m_state.readOnly);
    }
    // Once the window has shown the study, so that opening stays quick.
    QTimer::singleShot(0, this, &MainWindow::keepRollingBackup);
    m_state.ReiniciaPaciente();
    return true;
}

void MainWindow::MPSalir_Click() {
    QCoreApplication::exit(0);
}

bool MainWindow::hasSubjects() {
    try {
        if (HayPacientes(m_state.BaseDatos)) {
            return true;
        }
        Messages::information(this, tr("No Subjects"));
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    return false;
}

void MainWindow::MPSelecciona_Click() {
    if (!hasSubjects()) {
        return;
    }
    const auto setSubjectPanel = [this](const QString &text) { setPanelText(2, text); };
    elegirpaciente chooser(m_state, setSubjectPanel, this);
    chooser.exec();
    if (m_state.HayPaciente()) {
        m_model.subjectChosen();
        applyMenus();
    }
}

void MainWindow::MPVer_Click() {
    if (!m_state.BaseDatos.isOpen()) {
        return;
    }
    paciente records(m_state.BaseDatos, this);
    records.exec();
}

void MainWindow::MRAcumulada_Click() {
    if (!hasSubjects()) {
        return;
    }
    FAcumulados comparacion(m_state, LlenaListaPacientes, this);
    comparacion.exec();
}

void MainWindow::openPhospheneMap() {
    if (!hasSubjects()) {
        return;
    }
    PhospheneMapWindow map(m_state, LlenaListaPacientes, this);
    map.exec();
}

void MainWindow::openStudyExport() {
    if (!m_state.BaseDatos.isOpen()) {
        return;
    }
    ExportStudyWindow exporter(m_state.BaseDatos, this);
    exporter.exec();
}

void MainWindow::MRInforme_Click() {
    // Straight to the default printer: no dialog, no preview.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool impreso = ReportOutput::printReport(m_state);
    QGuiApplication::restoreOverrideCursor();
    if (!impreso) {
        Messages::error(this, tr("Sorry, we can\u00B4t print the report"), tr("Printer error"));
    }
}

void MainWindow::MRInformePDF_Click() {
    // Proposed: the subject's name, beside the study (in the home folder for a server study).
    const QString nombre =
        m_state.NombrePacienteActual.isEmpty() ? tr("Subject report") : m_state.NombrePacienteActual;
    QFileDialog dialogo(this, tr("Save subject report as PDF"),
                        ZoDir::UneRuta(ServerStudy::isLocation(m_state.RutaBaseDatos)
                                           ? QDir::homePath()
                                           : ZoDir::DirectorioFichero(m_state.RutaBaseDatos),
                                       nombre + QStringLiteral(".pdf")),
                        tr("PDF (*.pdf)"));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) {
        return;
    }
    saveReportPdf(dialogo.selectedFiles().constFirst());
}

bool MainWindow::saveReportPdf(const QString &fichero) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString motivo;
    const bool guardado = ReportOutput::saveReportPdf(m_state, fichero, &motivo);
    QGuiApplication::restoreOverrideCursor();
    if (!guardado) {
        Messages::error(this, tr("Cannot write the report to %1.\n\n%2").arg(fichero, motivo));
    }
    return guardado;
}

namespace {

// The associated MR window as the experiment windows' MR viewer.
class AssociatedMrViewer : public MrViewer {
public:
    AssociatedMrViewer(AppState &app, ImagingState &imaging, QWidget *owner) : m_view(app, imaging, owner) {}
    void CRM_Click(bool checked, int cell) override { m_view.CRM_Click(checked, cell); }
    void update(int cell) override { m_view.update(cell); }

private:
    AssociatedMrView m_view;
};

} // namespace

MrViewerMaker MainWindow::mrViewerMaker() {
    return
        [this](QWidget *owner) { return std::make_unique<AssociatedMrViewer>(m_state, *m_imaging, owner); };
}

void MainWindow::lockControls(bool locked) {
    menuBar()->setEnabled(!locked);
    centralWidget()->setEnabled(!locked);
}

void MainWindow::startExperiment(bool continuar) {
    m_state.ContinuarPasada = continuar;
    lockControls(false);
    if (m_registro) {
        // One experiment is recorded at a time.
        m_registro->raise();
        m_registro->activateWindow();
        return;
    }
    if (!holdSubject()) {
        return;
    }
    m_registro = new IntroEstimulo(m_state, mrViewerMaker(), this);
    connect(m_registro, &IntroEstimulo::closed, this, &MainWindow::releaseSubject);
    m_registro->show();
}

bool MainWindow::holdSubject() {
    try {
        m_subjectLock = SubjectLock(m_state.BaseDatos, m_state.IdPacienteActual);
        return true;
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
        return false;
    }
}

void MainWindow::releaseSubject() {
    try {
        m_subjectLock.release();
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
}

void MainWindow::closeStudyWindows() {
    if (m_registro) {
        m_registro->close();
    }
    if (m_visor) {
        m_visor->close();
    }
}

void MainWindow::MAEstimulo_Click(bool editar) {
    int ultima = 0;
    try {
        ultima = UltimaPasada(m_state.BaseDatos, m_state.IdPacienteActual);
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
        return;
    }
    if (ultima < 1) {
        Messages::information(this, tr("There is no information to this subject"));
        return;
    }
    if (m_visor) {
        m_visor->close();
    }
    if (editar && !holdSubject()) {
        return;
    }
    // The main window's own controls stay disabled while the viewer is open. Only its menus and
    // panels: disabling the window itself would disable the windows it owns too, a recording window
    // and its MR window among them.
    m_visor = new FVerEstimulo(m_state, editar, mrViewerMaker(), this);
    connect(m_visor, &FVerEstimulo::closed, this, [this, editar] {
        if (editar) { // a viewer that only shows holds nothing: the recording window may hold the subject
            releaseSubject();
        }
        lockControls(false);
    });
    lockControls(true);
    m_visor->show();
}

void MainWindow::MPResonancias_Click() {
    CargaResonanciaPaciente(this, m_state, *m_imaging);
}

void MainWindow::MAcerca_Click() {
    Messages::information(this, tr("ZoKorvane version ") + VersionCompleta, tr("Help"));
}

void MainWindow::chooseLanguage() {
    LanguageDialog dialog(m_state.RutaConfig, this);
    if (dialog.exec() == QDialog::Accepted && !dialog.apply()) {
        Messages::error(this, tr("Cannot write %1.").arg(m_state.RutaConfig));
    }
}

void MainWindow::changeEvent(QEvent *event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        showTitleAndPanels();
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::showTitleAndPanels() {
    setWindowTitle(tr("Zo Magnetic Stimulation Data Base") +
                   QStringLiteral(" %1.%2").arg(Version::Major).arg(Version::Minor));
    const bool open = !m_state.RutaBaseDatos.isEmpty();
    m_panels[0]->setText(open ? tr("Data Base: ") + MainWindowModel::studyName(m_state.RutaBaseDatos) +
                                    (m_state.readOnly.isEmpty() ? QString() : tr(" (read only)"))
                              : tr("Datos: ninguno"));
    m_panels[1]->setText(!m_state.NombrePacienteActual.isEmpty()
                             ? QCoreApplication::translate("elegirpaciente", "Subject: ") +
                                   m_state.NombrePacienteActual
                         : open ? tr("Subject: none")
                                : tr("Paciente: ninguno"));
}

void MainWindow::closeEvent(QCloseEvent *event) {
    closeStudyWindows();
    m_state.CierraBaseDatos();
    QMainWindow::closeEvent(event);
}
