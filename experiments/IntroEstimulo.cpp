#include "experiments/IntroEstimulo.h"
#include "ui_IntroEstimulo.h"

#include "core/AppState.h"
#include "data/SharedQueries.h"
#include "data/StudyError.h"
#include "experiments/NumericField.h"
#include "experiments/ParameterLists.h"
#include "experiments/StimulusStore.h"
#include "widgets/Messages.h"

#include <QKeySequence>
#include <QShortcut>

namespace {

void atajo(QWidget *ventana, QWidget *control, const QKeySequence &tecla,
           const std::function<void()> &accion) {
    auto *shortcut = new QShortcut(tecla, ventana);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, ventana, accion);
    const QString texto = tecla.toString(QKeySequence::NativeText);
    control->setToolTip(control->toolTip().isEmpty() ? texto
                                                     : control->toolTip() + QStringLiteral(", ") + texto);
}

} // namespace

IntroEstimulo::IntroEstimulo(AppState &state, const MrViewerMaker &makeViewer, QWidget *parent)
    : ExperimentWindow(parent), ui(std::make_unique<Ui::IntroEstimulo>()), m_state(state),
      m_db(state.BaseDatos), m_idPaciente(state.IdPacienteActual), m_filaCentro(state.FilaCentroRejilla),
      m_columnaCentro(state.ColumnaCentroRejilla) {
    ui->setupUi(this);
    connectMrViewer(makeViewer, ui->CRM, ui->EGrid1);

    connect(ui->EGrid1, &EGrid::Click, this, &IntroEstimulo::EGrid1_Click);
    for (QRadioButton *opcion : {ui->Option1_0, ui->Option1_1, ui->Option1_2}) {
        connect(opcion, &QRadioButton::toggled, this, &IntroEstimulo::Option1_Click);
    }
    connect(ui->CPulso, &QComboBox::currentIndexChanged, this, &IntroEstimulo::CPulso_Click);
    connect(ui->bNext, &QPushButton::clicked, this, &IntroEstimulo::bNext_Click);
    connect(ui->bBorrar, &QPushButton::clicked, this, &IntroEstimulo::bBorrar_Click);
    connect(ui->bLimpiar, &QPushButton::clicked, this, &IntroEstimulo::LimpiarElemento);
    coupleBrightness(ui->UDIntensidad, ui->TIntensidad);

    // Keys for the things done at every stimulus, so a "No" can be recorded without the mouse.
    atajo(this, ui->Option1_0, QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { setRespuesta(0); });
    atajo(this, ui->Option1_1, QKeySequence(Qt::CTRL | Qt::Key_N), [this] { setRespuesta(1); });
    atajo(this, ui->Option1_2, QKeySequence(Qt::CTRL | Qt::Key_D), [this] { setRespuesta(2); });
    atajo(this, ui->bNext, QKeySequence(Qt::CTRL | Qt::Key_Return), [this] {
        if (ui->bNext->isEnabled()) {
            bNext_Click();
        }
    });
    atajo(this, ui->bLimpiar, QKeySequence(Qt::CTRL | Qt::Key_L), [this] { LimpiarElemento(); });
    ui->EGrid1->setToolTip(tr("Arrow keys move the selection"));

    // Opening: the MR view only when an associated MR was loaded, the experiment number, the
    // parameter lists, and the marks of a continued experiment.
    ui->CRM->setEnabled(m_state.ResonanciaCargada);
    Comienza();
    try {
        m_pasada = UltimaPasada(m_db, m_idPaciente);
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    cargaParametros();
    LimpiarElemento();
    if (!m_state.ContinuarPasada) {
        m_pasada += 1;
    } else if (m_pasada < 1) {
        m_pasada += 1;
        Messages::information(this, tr("There is no experiment. Next: Start new experiment."));
    } else {
        marcaPasadaContinuada();
    }
    EGrid1_Click();
}

IntroEstimulo::~IntroEstimulo() = default;

void IntroEstimulo::cargaParametros() {
    ParameterLists::fill({ui->CBobina, ui->CPulso, ui->CFase, ui->COrientacion});
    ui->TPulsos->setText(QStringLiteral("1"));
    ui->TPulsoFrecuencia->setText(QStringLiteral("1"));
    ui->TPulsoIntensidad->setText(QStringLiteral("80"));
    CPulso_Click();
}

void IntroEstimulo::marcaPasadaContinuada() {
    try {
        const auto puntos = StimulusStore::pointsOfExperiment(m_db, m_idPaciente, m_pasada);
        for (const StimulusStore::Point &punto : puntos) {
            const int celda =
                StimulusStore::cellOfPoint(punto.fila, punto.columna, m_filaCentro, m_columnaCentro);
            if (celda >= 0) {
                ui->EGrid1->MarcarElemento(celda, true);
            }
        }
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
}

int IntroEstimulo::code(const QComboBox *lista) {
    return ParameterLists::code(lista);
}

int IntroEstimulo::respuesta() const {
    if (ui->Option1_0->isChecked()) {
        return Answer::Yes;
    }
    return ui->Option1_2->isChecked() ? Answer::Doubt : Answer::No;
}

void IntroEstimulo::setRespuesta(int code) {
    QRadioButton *opciones[3] = {ui->Option1_0, ui->Option1_1, ui->Option1_2};
    opciones[code]->setChecked(true);
}

void IntroEstimulo::Comienza() {
    ui->Picture1->Comienza();
}

void IntroEstimulo::LimpiarElemento() {
    setRespuesta(Answer::No);
    Option1_Click(); // also when "No" was already selected
    ui->UDIntensidad->setValue(0);
    ui->TIntensidad->setText(QStringLiteral("0"));
    ui->TColor->clear();
    ui->TObservaciones->clear();
    Comienza();
}

void IntroEstimulo::Option1_Click() {
    ui->Frame2->setVisible(!ui->Option1_1->isChecked());
}

void IntroEstimulo::CPulso_Click() {
    // A single pulse has no count or frequency to give; the texts are kept and stored all the same.
    const bool repetitivo = code(ui->CPulso) != 1;
    ui->TPulsos->setEnabled(repetitivo);
    ui->TPulsoFrecuencia->setEnabled(repetitivo);
    ui->TPulsoIntensidad->setEnabled(true);
}

void IntroEstimulo::aplicaReglaBotones() {
    const bool marcado = ui->EGrid1->ElementoMarcado(ui->EGrid1->EIndex());
    ui->bNext->setEnabled(!marcado);
    ui->bBorrar->setEnabled(marcado);
}

void IntroEstimulo::EGrid1_Click() {
    aplicaReglaBotones();
    followCell(ui->EGrid1->EIndex());
}

bool IntroEstimulo::leeEntero(QLineEdit *campo, const QString &nombre, qint64 minimo, qint64 maximo,
                              qint64 &valor) {
    return readWholeNumber(this, campo, nombre, minimo, maximo, tr("Nothing was saved."), valor);
}

void IntroEstimulo::bNext_Click() {
    using namespace StimulusStore;
    qint64 intensidad = 0, pulsos = 0, frecuencia = 0, intensidadPulso = 0;
    if (!leeEntero(ui->TIntensidad, tr("Brightness"), Brightness.minimum, Brightness.maximum, intensidad) ||
        !leeEntero(ui->TPulsoIntensidad, tr("Intensity"), PulseIntensity.minimum, PulseIntensity.maximum,
                   intensidadPulso) ||
        !leeEntero(ui->TPulsoFrecuencia, tr("Frecuency"), PulseFrequency.minimum, PulseFrequency.maximum,
                   frecuencia) ||
        !leeEntero(ui->TPulsos, tr("# pulses"), PulseCount.minimum, PulseCount.maximum, pulsos)) {
        return;
    }
    const int celda = ui->EGrid1->EIndex();
    const StimulusStore::Point punto = StimulusStore::pointOfCell(celda, m_filaCentro, m_columnaCentro);

    StimulusStore::Entry entrada;
    entrada.hayfosfeno = qint16(respuesta());
    entrada.color = ui->TColor->text();
    entrada.intensidad = qint16(intensidad);
    entrada.observaciones = ui->TObservaciones->toPlainText();
    entrada.parameters = {code(ui->CBobina),      code(ui->CPulso), code(ui->CFase),
                          code(ui->COrientacion), qint32(pulsos),   qint32(frecuencia),
                          qint32(intensidadPulso)};
    entrada.fecha = QDateTime::currentDateTime();
    try {
        const StimulusStore::SavedEntry guardado =
            StimulusStore::saveEntry(m_db, m_idPaciente, punto.fila, punto.columna, m_pasada, entrada,
                                     ui->Picture1->buffer().records());
        if (guardado.laterExperiment) {
            Messages::information(this, tr("Error"));
        }
    } catch (const StudyError &e) {
        // The entry stays on screen so that nothing the operator typed or drew is lost.
        Messages::error(this, tr("The stimulus was not saved.\n\n") + e.message());
        return;
    }
    ui->EGrid1->MarcarElemento(celda, true);
    aplicaReglaBotones();
    LimpiarElemento();
}

void IntroEstimulo::bBorrar_Click() {
    const int celda = ui->EGrid1->EIndex();
    const StimulusStore::Point punto = StimulusStore::pointOfCell(celda, m_filaCentro, m_columnaCentro);
    try {
        StimulusStore::deleteEntry(m_db, m_idPaciente, punto.fila, punto.columna, m_pasada);
    } catch (const StudyError &e) {
        Messages::error(this, tr("The stimulus was not deleted.\n\n") + e.message());
        return;
    }
    ui->EGrid1->MarcarElemento(celda, false);
    LimpiarElemento();
    aplicaReglaBotones();
}
