#include "experiments/FVerEstimulo.h"
#include "ui_FVerEstimulo.h"

#include "core/AppState.h"
#include "data/SharedQueries.h"
#include "data/StudyDrawings.h"
#include "data/StudyError.h"
#include "drawings/DrawingFile.h"
#include "drawings/DrawingRender.h"
#include "experiments/ExperimentReview.h"
#include "experiments/NumericField.h"
#include "experiments/ParameterLists.h"
#include "experiments/ReviewModel.h"
#include "widgets/Messages.h"

FVerEstimulo::FVerEstimulo(AppState &state, bool editar, const MrViewerMaker &makeViewer, QWidget *parent)
    : ExperimentWindow(parent), ui(std::make_unique<Ui::FVerEstimulo>()), m_db(state.BaseDatos),
      m_idPaciente(state.IdPacienteActual), m_filaCentro(state.FilaCentroRejilla),
      m_columnaCentro(state.ColumnaCentroRejilla), m_editar(editar) {
    ui->setupUi(this);
    connectMrViewer(makeViewer, ui->CRM, ui->EGrid1);
    // The group's name carries an accent that C++ names in the generated form avoid.
    ui->FEstimulo->setObjectName(QStringLiteral("FEstímulo"));

    connect(ui->CPasada, &QComboBox::currentIndexChanged, this, &FVerEstimulo::CPasada_Click);
    connect(ui->EGrid1, &EGrid::Click, this, &FVerEstimulo::EGrid1_Click);
    for (QRadioButton *opcion : {ui->Option1_0, ui->Option1_1, ui->Option1_2}) {
        connect(opcion, &QRadioButton::toggled, this, &FVerEstimulo::Option1_Click);
    }
    for (QRadioButton *opcion : {ui->Option2_0, ui->Option2_1, ui->Option2_2}) {
        connect(opcion, &QRadioButton::toggled, ui->Picture1, [this](bool elegido) {
            if (elegido) {
                ui->Picture1->redraw();
            }
        });
    }
    ui->Picture1->setPainter([this](PictureSurface &picture) { Picture1_Paint(picture); });
    connect(ui->bOKEstimulo, &QPushButton::clicked, this, &FVerEstimulo::bOKEstimulo_Click);
    connect(ui->bOKPasada, &QPushButton::clicked, this, &FVerEstimulo::bOKPasada_Click);
    connect(ui->bOKPaciente, &QPushButton::clicked, this, &FVerEstimulo::bOKPaciente_Click);
    connect(ui->bCerrar, &QPushButton::clicked, this, &FVerEstimulo::close);
    coupleBrightness(ui->UDIntensidad, ui->TIntensidad);

    // Opening.
    ui->CRM->setEnabled(state.ResonanciaCargada);
    ui->LPaciente->setText(state.NombrePacienteActual);
    int ultima = 0;
    try {
        ultima = UltimaPasada(m_db, m_idPaciente);
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    ParameterLists::fill({ui->CBobina, ui->CPulso, ui->CFase, ui->COrientacion},
                         {tr("- Any"), tr("- Any"), tr("- Any"), QString()});

    const ReviewModel::Editing editing = ReviewModel::editing(m_editar);
    ui->FrameTipo->setEnabled(editing.parametersEnabled);
    ui->FrameHayFosfenos->setEnabled(editing.answerEnabled);
    ui->UDIntensidad->setEnabled(editing.brightnessStepEnabled);
    ui->TObservaciones->setReadOnly(editing.textsReadOnly);
    ui->TColor->setReadOnly(editing.textsReadOnly);
    ui->TIntensidad->setReadOnly(editing.textsReadOnly);
    for (QPushButton *button : {ui->bOKEstimulo, ui->bOKPasada, ui->bOKPaciente}) {
        button->setVisible(editing.applyVisible);
    }
    setWindowTitle(editing.title);

    {
        const QSignalBlocker bloqueo(ui->CPasada);
        for (int p = 1; p <= ultima; ++p) {
            ui->CPasada->addItem(QString::number(p));
        }
        ui->CPasada->setCurrentIndex(-1);
    }
    if (ultima > 0) {
        ui->CPasada->setCurrentIndex(0); // runs CPasada_Click
    } else {
        Messages::information(this, tr("There is no information about the selected subject"));
        for (QWidget *w : {static_cast<QWidget *>(ui->EGrid1), static_cast<QWidget *>(ui->LPunto),
                           static_cast<QWidget *>(ui->FrameHayFosfenos), static_cast<QWidget *>(ui->Frame2),
                           static_cast<QWidget *>(ui->Label5), static_cast<QWidget *>(ui->TObservaciones)}) {
            w->hide();
        }
    }
}

FVerEstimulo::~FVerEstimulo() = default;

int FVerEstimulo::pasada() const {
    return ui->CPasada->currentIndex() < 0 ? 0 : ui->CPasada->currentText().toInt();
}

void FVerEstimulo::CPasada_Click() {
    const int p = pasada();
    if (p < 1) {
        return;
    }
    ui->EGrid1->QuitarMarcas();
    try {
        for (const int celda :
             ExperimentReview::cellsOfExperiment(m_db, m_idPaciente, p, m_filaCentro, m_columnaCentro)) {
            ui->EGrid1->MarcarElemento(celda, true);
        }
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    {
        // The centre is shown once below, whether or not the selection moves.
        const QSignalBlocker bloqueo(ui->EGrid1);
        ui->EGrid1->setEIndex(ReviewModel::centreCell(m_filaCentro, m_columnaCentro));
    }
    muestraPunto(ui->EGrid1->EIndex());
    followCell(ui->EGrid1->EIndex()); // an open MR window aims at the cell the grid now shows
}

void FVerEstimulo::EGrid1_Click() {
    muestraPunto(ui->EGrid1->EIndex());
    followCell(ui->EGrid1->EIndex());
}

void FVerEstimulo::muestraPunto(int celda) {
    // Every control the model names is set, so nothing of the stimulus shown before stays.
    ReviewModel::Shown display;
    m_puntosDibujo.reset();
    try {
        display = ReviewModel::shown(ExperimentReview::pointAtCell(m_db, m_idPaciente, celda, m_filaCentro,
                                                                   m_columnaCentro, pasada()));
        if (!display.drawing.isEmpty()) {
            m_puntosDibujo = StudyDrawings::load(m_db, display.stimulusId);
        }
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    if (display.found) {
        m_puntoActual = display.pointId;
    }
    m_dibujo = display.drawing;
    QRadioButton *opciones[3] = {ui->Option1_0, ui->Option1_1, ui->Option1_2};
    opciones[display.answer]->setChecked(true);
    ui->TObservaciones->setPlainText(display.notes);
    ui->TIntensidad->setText(display.brightness);
    ui->TColor->setText(display.colour);
    ui->TFecha->setText(display.date);
    const std::pair<const std::optional<qint16> &, QComboBox *> listas[] = {
        {display.coil, ui->CBobina},
        {display.pulseType, ui->CPulso},
        {display.phase, ui->CFase},
        {display.orientation, ui->COrientacion}};
    for (const auto &[valor, lista] : listas) {
        if (valor) {
            ParameterLists::i_selecciona_valor_lista(*valor, lista);
        }
    }
    const std::pair<const std::optional<QString> &, QLineEdit *> numeros[] = {
        {display.pulses, ui->TPulsos},
        {display.frequency, ui->TPulsoFrecuencia},
        {display.pulseIntensity, ui->TPulsoIntensidad}};
    for (const auto &[text, campo] : numeros) {
        if (text) {
            campo->setText(*text);
        }
    }
    ui->FEstimulo->setVisible(display.found);
    ui->bOKEstimulo->setEnabled(display.found);
    ui->Frame2->setVisible(ReviewModel::dataShown(display.found, display.answer));
    ui->Picture1->redraw();
}

void FVerEstimulo::Option1_Click() {
    ui->Frame2->setVisible(!ui->Option1_1->isChecked());
}

void FVerEstimulo::Picture1_Paint(PictureSurface &picture) {
    if (m_dibujo.isEmpty()) {
        return;
    }
    DrawingRender::render(picture, m_puntosDibujo, m_dibujo, drawingMode(ui->Option2_1, ui->Option2_2));
}

bool FVerEstimulo::valida() {
    bool valido = true;
    const std::pair<QComboBox *, const char *> listas[] = {
        {ui->CBobina, QT_TR_NOOP("Undefined 'Coil type'")},
        {ui->CPulso, QT_TR_NOOP("Undefined 'Pulse Type'")},
        {ui->CFase, QT_TR_NOOP("Undefined 'Fase'")},
        {ui->COrientacion, QT_TR_NOOP("Undefined 'Orientation'")}};
    for (const auto &[lista, mensaje] : listas) {
        if (ParameterLists::code(lista) < 0) {
            Messages::information(this, tr(mensaje));
            valido = false;
        }
    }
    return valido;
}

bool FVerEstimulo::leeEntero(QLineEdit *campo, const QString &nombre, qint64 minimo, qint64 maximo,
                             qint64 &valor) {
    return readWholeNumber(this, campo, nombre, minimo, maximo, tr("Nothing was changed."), valor);
}

bool FVerEstimulo::leeParametros(StimulusStore::Parameters &p) {
    using namespace StimulusStore;
    qint64 pulsos = 0, frecuencia = 0, intensidad = 0;
    if (!leeEntero(ui->TPulsoIntensidad, tr("Intensity"), PulseIntensity.minimum, PulseIntensity.maximum,
                   intensidad) ||
        !leeEntero(ui->TPulsoFrecuencia, tr("Frecuency"), PulseFrequency.minimum, PulseFrequency.maximum,
                   frecuencia) ||
        !leeEntero(ui->TPulsos, tr("# pulses"), PulseCount.minimum, PulseCount.maximum, pulsos)) {
        return false;
    }
    p.TipoBobina = ParameterLists::code(ui->CBobina);
    p.PulsoTipo = ParameterLists::code(ui->CPulso);
    p.PulsoFase = ParameterLists::code(ui->CFase);
    p.orientacion = ParameterLists::code(ui->COrientacion);
    p.NumeroPulsos = qint32(pulsos);
    p.PulsoFrecuencia = qint32(frecuencia);
    p.PulsoIntensidad = qint32(intensidad);
    return true;
}

void FVerEstimulo::aplica(const QString &pregunta, bool conPercepcion,
                          const std::function<void(const StimulusStore::Parameters &, qint16)> &escribe) {
    if (!valida()) {
        return;
    }
    qint64 intensidad = 0;
    if (conPercepcion && !leeEntero(ui->TIntensidad, tr("Brightness"), StimulusStore::Brightness.minimum,
                                    StimulusStore::Brightness.maximum, intensidad)) {
        return;
    }
    StimulusStore::Parameters parametros;
    if (!leeParametros(parametros) || !Messages::question(this, pregunta)) {
        return;
    }
    try {
        escribe(parametros, qint16(intensidad));
    } catch (const StudyError &e) {
        // The corrections stay on screen so that the operator can try again.
        Messages::error(this, tr("The changes were not stored.\n\n") + e.message());
        return;
    }
    muestraPunto(ui->EGrid1->EIndex());
}

void FVerEstimulo::bOKEstimulo_Click() {
    aplica(tr("Are you sure to aply the changes to this perception?"), true,
           [this](const StimulusStore::Parameters &parametros, qint16 intensidad) {
               const ExperimentReview::Perception percepcion{ui->TObservaciones->toPlainText(), intensidad,
                                                             ui->TColor->text()};
               ExperimentReview::applyToPerception(m_db, m_puntoActual, pasada(), percepcion, parametros);
           });
}

void FVerEstimulo::bOKPasada_Click() {
    aplica(tr("Are you sure to aply the changes to this EXPERIMENT?"), false,
           [this](const StimulusStore::Parameters &parametros, qint16) {
               ExperimentReview::applyToExperiment(m_db, m_idPaciente, pasada(), parametros);
           });
}

void FVerEstimulo::bOKPaciente_Click() {
    aplica(tr("Are you sure to aply the changes to ALL SUBJECT (ALL EXPERIMENTS)?"), false,
           [this](const StimulusStore::Parameters &parametros, qint16) {
               ExperimentReview::applyToSubject(m_db, m_idPaciente, parametros);
           });
}
