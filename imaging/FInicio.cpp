#include "FInicio.h"
#include "ui_FInicio.h"

#include "AppPaths.h"
#include "AppState.h"
#include "ImagingState.h"
#include "IniFile.h"
#include "Messages.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QThread>

namespace {

const QString Seccion = QStringLiteral("ZoBrain");
const QString Clave = QStringLiteral("ImageDir");

// File systems the operator never keeps images on.
bool esSistema(const QString &raiz) {
    for (const char *prefijo : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot"}) {
        const QString p = QLatin1String(prefijo);
        if (raiz == p || raiz.startsWith(p + QLatin1Char('/'))) {
            return true;
        }
    }
    return false;
}

} // namespace

FInicio::FInicio(AppState &app, ImagingState &imaging, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::FInicio>()), m_app(app), m_imaging(imaging),
      m_loader(imaging, m_dicom) {
    ui->setupUi(this);
    m_loader.setThreads(QThread::idealThreadCount());
    m_loader.setProgress([this](SeriesLoader::Phase phase, int paso, int lo, int hi) {
        ui->Progreso->setRange(lo, hi);
        ui->Progreso->setValue(paso);
        ui->TEstado->setText(phase == SeriesLoader::Phase::Converting
                                 ? QStringLiteral("Conviertiendo %1 de %2").arg(paso).arg(hi)
                                 : QStringLiteral("Making 3D: %1 of %2").arg(paso).arg(hi));
        QCoreApplication::processEvents();
    });
    m_loader.setWarning([this](const QString &texto) { Messages::information(this, texto); });

    m_carpetas = new QFileSystemModel(this);
    m_carpetas->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    ui->Dir1->setModel(m_carpetas);
    for (int column = 1; column < m_carpetas->columnCount(); ++column) {
        ui->Dir1->hideColumn(column);
    }
    ui->Drive1->addItems(unidades());
    muestraProgreso(false);

    connect(ui->Drive1, &QComboBox::currentIndexChanged, this, &FInicio::Drive1_Change);
    connect(ui->Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this, &FInicio::Dir1_Elegido);
    connect(ui->CFilter, &QComboBox::currentIndexChanged, this, &FInicio::CFilter_Click);
    connect(ui->bCargar, &QPushButton::clicked, this, &FInicio::bCargar_Click);

    // Load: the last image directory, or the program's own when it is gone.
    if (m_app.RutaConfig.isEmpty()) {
        m_app.RutaConfig = AppPaths::rutaConfig();
    }
    const QString programa = AppPaths::directorioAplicacion();
    if (!setDirectorio(LeeIni(m_app.RutaConfig, Seccion, Clave, programa))) {
        setDirectorio(programa);
    }
    ui->CFilter->addItem(QStringLiteral("Imagenes Dicom (*.dcm o *.)"));
    ui->CFilter->addItem(QStringLiteral("Imagenes JPG (*.jpg)"));
    ui->CFilter->setCurrentIndex(0);
    CFilter_Click();
    m_imaging.DialogoAceptado = false;
}

FInicio::~FInicio() = default;

QStringList FInicio::unidades() {
    QStringList raices;
    for (const QStorageInfo &volumen : QStorageInfo::mountedVolumes()) {
        const QString raiz = volumen.rootPath();
        if (volumen.isValid() && volumen.isReady() && !esSistema(raiz) && !raices.contains(raiz)) {
            raices << raiz;
        }
    }
    raices.sort();
    raices.removeAll(QDir::homePath());
    raices.prepend(QDir::homePath());
    if (!raices.contains(QDir::rootPath())) {
        raices.insert(1, QDir::rootPath());
    }
    return raices;
}

bool FInicio::coincidePatron(const QString &nombre, const QString &patron) {
    for (const QString &parte : patron.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (parte == QLatin1String("*.")) {
            if (!nombre.contains(QLatin1Char('.'))) {
                return true;
            }
            continue;
        }
        const QRegularExpression comodin(QRegularExpression::wildcardToRegularExpression(parte),
                                         QRegularExpression::CaseInsensitiveOption);
        if (comodin.match(nombre).hasMatch()) {
            return true;
        }
    }
    return false;
}

bool FInicio::setDirectorio(const QString &ruta) {
    const QFileInfo info(ruta);
    if (ruta.isEmpty() || !info.isDir()) {
        return false;
    }
    const QString destino = info.absoluteFilePath();
    // The drive that holds it: the longest root it starts with.
    int unidad = -1;
    qsizetype largo = -1;
    for (int i = 0; i < ui->Drive1->count(); ++i) {
        QString raiz = ui->Drive1->itemText(i);
        if (!raiz.endsWith(QLatin1Char('/'))) {
            raiz += QLatin1Char('/');
        }
        if ((destino + QLatin1Char('/')).startsWith(raiz) && raiz.size() > largo) {
            unidad = i;
            largo = raiz.size();
        }
    }
    if (unidad >= 0 && unidad != ui->Drive1->currentIndex()) {
        const QSignalBlocker bloqueo(ui->Drive1);
        ui->Drive1->setCurrentIndex(unidad);
    }
    const QString raiz = unidad >= 0 ? ui->Drive1->itemText(unidad) : QDir::rootPath();
    m_carpetas->setRootPath(raiz);
    ui->Dir1->setRootIndex(m_carpetas->index(raiz));
    const QModelIndex indice = m_carpetas->index(destino);
    if (indice.isValid()) {
        const QSignalBlocker bloqueo(ui->Dir1->selectionModel());
        ui->Dir1->setCurrentIndex(indice);
        ui->Dir1->scrollTo(indice);
    }
    if (destino != m_directorio) {
        m_directorio = destino;
        Dir1_Change();
    }
    return true;
}

void FInicio::Drive1_Change() {
    setDirectorio(ui->Drive1->currentText());
}

void FInicio::Dir1_Elegido(const QModelIndex &actual) {
    const QString elegido = m_carpetas->filePath(actual);
    if (!elegido.isEmpty() && elegido != m_directorio && QFileInfo(elegido).isDir()) {
        m_directorio = elegido;
        Dir1_Change();
    }
}

void FInicio::Dir1_Change() {
    llenaFicheros();
    EscribeIni(m_app.RutaConfig, Seccion, Clave, m_directorio);
}

void FInicio::CFilter_Click() {
    m_patron = ui->CFilter->currentIndex() == 0 ? QStringLiteral("*.dcm;*.") : QStringLiteral("*.jpg");
    llenaFicheros();
}

void FInicio::llenaFicheros() {
    ui->File1->clear();
    if (m_directorio.isEmpty() || m_patron.isEmpty()) {
        return;
    }
    const QStringList nombres = QDir(m_directorio).entryList(QDir::Files, QDir::Name);
    for (const QString &nombre : nombres) {
        if (coincidePatron(nombre, m_patron)) {
            ui->File1->addItem(nombre);
        }
    }
}

void FInicio::muestraProgreso(bool visible) {
    ui->Progreso->setVisible(visible);
    ui->TEstado->setVisible(visible);
    if (!visible) {
        ui->Progreso->reset();
        ui->TEstado->clear();
    }
    adjustSize();
}

void FInicio::habilitaEleccion(bool enabled) {
    for (QWidget *control : {static_cast<QWidget *>(ui->Drive1), static_cast<QWidget *>(ui->Dir1),
                             static_cast<QWidget *>(ui->CFilter), static_cast<QWidget *>(ui->CDirec)}) {
        control->setEnabled(enabled);
    }
}

void FInicio::bCargar_Click() {
    ui->bCargar->setEnabled(false);
    habilitaEleccion(false);
    muestraProgreso(true);
    const bool cargado = i_CargarImagenes(m_directorio, ui->CFilter->currentIndex() != 0);
    const QStringList fallos = m_loader.report().failures;
    if (!fallos.isEmpty()) {
        Messages::error(this, QStringLiteral("These files could not be converted:\n") +
                                  fallos.join(QLatin1Char('\n')));
    }
    if (cargado) {
        m_imaging.DialogoAceptado = true;
        accept();
        return;
    }
    muestraProgreso(false);
    habilitaEleccion(true);
    ui->bCargar->setEnabled(true);
}

bool FInicio::i_CargarImagenes(const QString &ruta, bool soloJpg) {
    const bool cargado = m_loader.i_CargarImagenes(ruta, soloJpg, ui->CDirec->isChecked());
    llenaFicheros(); // the pictures written beside the series
    return cargado;
}

void FInicio::reject() {
    if (!cargando()) {
        QDialog::reject();
    }
}

void FInicio::closeEvent(QCloseEvent *event) {
    if (cargando()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
