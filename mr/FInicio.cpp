#include "mr/FInicio.h"
#include "ui_FInicio.h"

#include "core/AppPaths.h"
#include "core/AppState.h"
#include "core/IniFile.h"
#include "imaging/ImagingState.h"
#include "imaging/NiftiFiles.h"
#include "widgets/Messages.h"

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
      m_loader(imaging) {
    ui->setupUi(this);
    m_loader.setThreads(QThread::idealThreadCount());
    m_loader.setProgress([this](SeriesLoader::Phase phase, int paso, int lo, int hi) {
        ui->Progreso->setRange(lo, hi);
        ui->Progreso->setValue(paso);
        ui->TEstado->setText(phase == SeriesLoader::Phase::Converting
                                 ? tr("Conviertiendo %1 de %2").arg(paso).arg(hi)
                                 : tr("Making 3D: %1 of %2").arg(paso).arg(hi));
        QCoreApplication::processEvents();
    });
    m_loader.setWarning([this](const QString &texto) { Messages::information(this, texto); });
    connect(ui->CSerie, &QComboBox::currentIndexChanged, this, &FInicio::CSerie_Click);

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
        m_app.RutaConfig = AppPaths::configPath();
    }
    const QString programa = AppPaths::applicationDir();
    if (!setDirectorio(LeeIni(m_app.RutaConfig, Seccion, Clave, programa))) {
        setDirectorio(programa);
    }
    ui->CFilter->addItem(tr("Imagenes Dicom (*.dcm o *.)"));
    ui->CFilter->addItem(tr("Imagenes JPG (*.jpg)"));
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
    llenaSeries();
    // Remembered for the next time only; a settings file that cannot be written changes nothing now.
    static_cast<void>(EscribeIni(m_app.RutaConfig, Seccion, Clave, m_directorio));
}

void FInicio::CFilter_Click() {
    // DICOM files are known by their content, so that list shows every file.
    m_patron = ui->CFilter->currentIndex() == 0 ? QStringLiteral("*") : QStringLiteral("*.jpg");
    llenaFicheros();
    ui->CSerie->setEnabled(ui->CFilter->currentIndex() == 0);
}

void FInicio::llenaSeries() {
    const QSignalBlocker bloqueo(ui->CSerie);
    ui->CSerie->clear();
    m_nifti.clear();
    if (m_directorio.isEmpty()) {
        CSerie_Click();
        return;
    }
    const DicomFiles::Scan &scan = m_loader.scan(m_directorio, true);
    for (const DicomFiles::Series &serie : scan.series) {
        ui->CSerie->addItem(serie.label());
    }
    for (const QFileInfo &fichero : QDir(m_directorio).entryInfoList(QDir::Files, QDir::Name)) {
        if (NiftiFiles::isNiftiPath(fichero.fileName())) {
            m_nifti << fichero.absoluteFilePath();
            ui->CSerie->addItem(tr("%1 (NIfTI)").arg(fichero.fileName()));
        }
    }
    ui->CSerie->setCurrentIndex(scan.series.empty() ? (m_nifti.isEmpty() ? -1 : 0) : scan.preferredSeries());
    CSerie_Click();
}

void FInicio::CSerie_Click() {
    const int elegida = ui->CSerie->currentIndex();
    const DicomFiles::Scan &scan = m_loader.scan(m_directorio);
    QString texto;
    ui->volumeChoice->clear();
    if (elegida >= 0 && elegida < int(scan.series.size())) {
        const DicomFiles::Series &serie = scan.series[std::size_t(elegida)];
        for (int v = 0; v < serie.volumes && serie.volumes > 1; ++v) {
            ui->volumeChoice->addItem(
                tr("%1 of %2: %3").arg(v + 1).arg(serie.volumes).arg(serie.volumeNames.value(v)));
        }
        texto = tr("Orientation: %1").arg(serie.orientation());
    } else if (elegida >= 0) {
        texto = tr("Orientation: from the NIfTI header");
    } else if (scan.filesSeen > 0) {
        texto = tr("No DICOM series in this folder (%1 files are not DICOM images).").arg(scan.skippedFiles);
    }
    ui->LOrientacion->setText(texto);
    // Only a series of several volumes offers the choice of one.
    ui->volumeLabel->setVisible(ui->volumeChoice->count() > 0);
    ui->volumeChoice->setVisible(ui->volumeChoice->count() > 0);
}

QStringList FInicio::series() const {
    QStringList entradas;
    for (int i = 0; i < ui->CSerie->count(); ++i) {
        entradas << ui->CSerie->itemText(i);
    }
    return entradas;
}

bool FInicio::setSerieElegida(int index) {
    if (index < 0 || index >= ui->CSerie->count()) {
        return false;
    }
    ui->CSerie->setCurrentIndex(index);
    return true;
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
                             static_cast<QWidget *>(ui->CFilter), static_cast<QWidget *>(ui->CDirec),
                             static_cast<QWidget *>(ui->CSerie), static_cast<QWidget *>(ui->volumeChoice)}) {
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
        Messages::error(
            this, (cargado ? tr("These files could not be read:\n") : tr("No volume could be built:\n")) +
                      fallos.join(QLatin1Char('\n')));
    } else if (!cargado) {
        Messages::error(this, tr("No volume could be built from %1: it holds no series.").arg(m_directorio));
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
    const int elegida = ui->CSerie->currentIndex();
    const int dicom = int(m_loader.scan(ruta).series.size());
    const bool nifti = !soloJpg && elegida >= dicom && elegida - dicom < m_nifti.size();
    m_loadedSource = QFileInfo(nifti ? m_nifti.at(elegida - dicom) : ruta).absoluteFilePath();
    const int serie = soloJpg || nifti ? -1 : elegida;
    const int volumen = soloJpg || nifti ? 0 : std::max(0, ui->volumeChoice->currentIndex());
    const bool cargado =
        m_loader.i_CargarImagenes(m_loadedSource, soloJpg, ui->CDirec->isChecked(), serie, volumen);
    m_loadedSeries = cargado && !soloJpg ? StoredCalibration::loaded(m_loader, m_loadedSource, serie)
                                         : StoredCalibration::Loaded{};
    return cargado;
}

bool FInicio::chooseStoredSeries(const SubjectCalibration::Record &stored) {
    const DicomFiles::Scan &scan = m_loader.scan(m_directorio);
    const int dicom = int(scan.series.size());
    int elegida = StoredCalibration::findSeries(scan, stored.fingerprint);
    const QString nombre = QFileInfo(stored.series).fileName();
    for (int i = 0; elegida < 0 && i < m_nifti.size(); ++i) {
        if (QFileInfo(m_nifti.at(i)).fileName() == nombre) {
            elegida = dicom + i;
        }
    }
    for (int i = 0; elegida < 0 && i < m_nifti.size(); ++i) {
        if (StoredCalibration::niftiFingerprint(m_nifti.at(i)) == stored.fingerprint) {
            elegida = dicom + i;
        }
    }
    if (elegida < 0 && stored.fingerprint.startsWith(QLatin1String("dicom:")) &&
        stored.seriesNumber < dicom) {
        elegida = stored.seriesNumber;
    }
    return setSerieElegida(elegida);
}

void FInicio::reject() {
    if (!m_loader.loading()) {
        QDialog::reject();
    }
}

void FInicio::closeEvent(QCloseEvent *event) {
    if (m_loader.loading()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
