#include "MainWindow.h"
#include "ui_MainWindow.h"

#include "AppPaths.h"
#include "AppState.h"
#include "Messages.h"
#include "OpenDialog.h"
#include "SharedQueries.h"
#include "Study.h"
#include "StudyError.h"
#include "Version.h"
#include "ZoDir.h"
#include "elegirpaciente.h"
#include "paciente.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>

namespace {
const QString VersionCompleta =
    QStringLiteral("%1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Revision);
}

MainWindow::MainWindow(AppState &state, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainWindow>()), m_state(state) {
    ui->setupUi(this);
    ui->centralwidget->hide();
    resize(width(), minimumSizeHint().height()); // no content area: menu bar and status bar only

    const char *const nombres[3] = {"Panel1", "Panel2", "Panel3"};
    const QString textos[3] = {QStringLiteral("Datos: ninguno"), QStringLiteral("Paciente: ninguno"),
                               QString()};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(textos[i], ui->StatusBar1);
        m_panels[i]->setObjectName(QLatin1String(nombres[i]));
        m_panels[i]->setMinimumWidth(i == 2 ? 60 : 200);
        ui->StatusBar1->addWidget(m_panels[i], i == 2 ? 0 : 1);
    }

    // Start: the version in panel 3 and, as major.minor, after the title.
    m_panels[2]->setText(QStringLiteral("v.") + VersionCompleta);
    setWindowTitle(windowTitle() + QStringLiteral(" %1.%2").arg(Version::Major).arg(Version::Minor));

    // Started, no study: only File and Help work.
    setMenuEnabled(ui->MPacientes, false);
    setMenuEnabled(ui->MResultados, false);
    setMenuEnabled(ui->MPasadas, false);
    ui->MPResonancias->setEnabled(false);
    ui->MRInforme->setEnabled(false);

    connect(ui->MAElegir, &QAction::triggered, this, &MainWindow::MAElegir_Click);
    connect(ui->MPSalir, &QAction::triggered, this, &MainWindow::MPSalir_Click);
    connect(ui->MPSelecciona, &QAction::triggered, this, &MainWindow::MPSelecciona_Click);
    connect(ui->MPVer, &QAction::triggered, this, &MainWindow::MPVer_Click);
    connect(ui->MRAcumulada, &QAction::triggered, this, &MainWindow::MRAcumulada_Click);
    connect(ui->MANueva, &QAction::triggered, this, [this] { nuevaPasada(false); });
    connect(ui->MARetomar, &QAction::triggered, this, [this] { nuevaPasada(true); });
    connect(ui->MAEstimulo, &QAction::triggered, this, [this] { MAEstimulo_Click(false); });
    connect(ui->MAEdita, &QAction::triggered, this, [this] { MAEstimulo_Click(true); });
    connect(ui->MAcerca, &QAction::triggered, this, &MainWindow::MAcerca_Click);
}

MainWindow::~MainWindow() = default;

QString MainWindow::panelText(int panel) const {
    return m_panels[panel - 1]->text();
}

void MainWindow::setPanelText(int panel, const QString &text) {
    m_panels[panel - 1]->setText(text);
}

void MainWindow::setMenuEnabled(QMenu *menu, bool enabled) {
    menu->setEnabled(enabled);
    menu->menuAction()->setEnabled(enabled);
}

QString MainWindow::ficheroPropuesto() const {
    if (!m_state.RutaBaseDatos.isEmpty()) {
        return m_state.RutaBaseDatos;
    }
    return ZoDir::UneRuta(AppPaths::directorioDeTrabajo(), QStringLiteral("empty.mdb"));
}

void MainWindow::MAElegir_Click() {
    QString fichero = ficheroPropuesto();
    if (!DialogoAbrir(this, QStringLiteral("Data Base|*.sqlite;*.mdb"), QStringLiteral("Select a Data Base"),
                      fichero)) {
        return;
    }
    abreEstudio(fichero);
}

bool MainWindow::abreEstudio(const QString &ruta) {
    if (ZoDir::DameExtension(ZoDir::NombreFichero(ruta)).compare(QLatin1String("mdb"), Qt::CaseInsensitive) ==
            0 ||
        Study::isAccessFile(ruta)) {
        Messages::error(this, QStringLiteral("%1 is a legacy Access data base. Importing Access files is not "
                                             "available in this version yet; open a study (.sqlite) instead.")
                                  .arg(ZoDir::NombreFichero(ruta)));
        return false;
    }
    const QString error = m_state.AbreBaseDatos(ruta);
    if (!error.isEmpty()) {
        Messages::error(this, QStringLiteral("Cannot open the data base %1.\n\n%2").arg(ruta, error));
        return false;
    }
    m_panels[0]->setText(QStringLiteral("Data Base: ") + ZoDir::NombreFichero(m_state.RutaBaseDatos));
    m_panels[1]->setText(QStringLiteral("Subject: none"));
    setMenuEnabled(ui->MPacientes, true);
    setMenuEnabled(ui->MPasadas, false);
    setMenuEnabled(ui->MResultados, true);
    m_state.ReiniciaPaciente();
    return true;
}

void MainWindow::MPSalir_Click() {
    QCoreApplication::exit(0);
}

bool MainWindow::hayPacientes() {
    try {
        if (HayPacientes(m_state.BaseDatos)) {
            return true;
        }
        Messages::information(this, QStringLiteral("No Subjects"));
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    return false;
}

void MainWindow::MPSelecciona_Click() {
    if (!hayPacientes()) {
        return;
    }
    const auto ponPanelPaciente = [this](const QString &texto) { setPanelText(2, texto); };
    elegirpaciente elegir(m_state, ponPanelPaciente, this);
    elegir.exec();
    if (m_state.HayPaciente()) {
        setMenuEnabled(ui->MPasadas, true);
        ui->MRInforme->setEnabled(true);
        ui->MPResonancias->setEnabled(true);
    }
}

void MainWindow::MPVer_Click() {
    if (!m_state.BaseDatos.isOpen()) {
        return;
    }
    paciente ventana(m_state.BaseDatos, this);
    ventana.exec();
}

void MainWindow::MRAcumulada_Click() {
    hayPacientes();
}

void MainWindow::nuevaPasada(bool continuar) {
    m_state.ContinuarPasada = continuar;
    setEnabled(true);
}

void MainWindow::MAEstimulo_Click(bool editar) {
    Q_UNUSED(editar);
    int ultima = 0;
    try {
        ultima = UltimaPasada(m_state.BaseDatos, m_state.IdPacienteActual);
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
        return;
    }
    if (ultima < 1) {
        Messages::information(this, QStringLiteral("There is no information to this subject"));
        return;
    }
}

void MainWindow::MAcerca_Click() {
    Messages::information(this, QStringLiteral("ZoKorvane version ") + VersionCompleta,
                          QStringLiteral("Help"));
}

void MainWindow::closeEvent(QCloseEvent *event) {
    m_state.CierraBaseDatos();
    QMainWindow::closeEvent(event);
}
