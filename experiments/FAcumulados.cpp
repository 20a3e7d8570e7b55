#include "experiments/FAcumulados.h"
#include "ui_FAcumulados.h"

#include "core/AppState.h"
#include "data/StudyError.h"
#include "drawings/DrawingFile.h"
#include "drawings/DrawingRender.h"
#include "experiments/ExperimentWindow.h"
#include "experiments/ParameterLists.h"
#include "widgets/Messages.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QStyle>

namespace {
// How each bound box is named when its text cannot be used.
const char *const NombresLimites[StimulationComparison::BoundCount] = {
    QT_TRANSLATE_NOOP("FAcumulados", "# pulses (from)"),  QT_TRANSLATE_NOOP("FAcumulados", "# pulses (to)"),
    QT_TRANSLATE_NOOP("FAcumulados", "Frecuency (from)"), QT_TRANSLATE_NOOP("FAcumulados", "Frecuency (to)"),
    QT_TRANSLATE_NOOP("FAcumulados", "Intensity (from)"), QT_TRANSLATE_NOOP("FAcumulados", "Intensity (to)")};
} // namespace

FAcumulados::FAcumulados(AppState &state, const LlenaLista &llenaListaPacientes, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::FAcumulados>()), m_db(state.BaseDatos),
      m_filaCentro(state.FilaCentroRejilla), m_columnaCentro(state.ColumnaCentroRejilla) {
    ui->setupUi(this);
    m_limites = {ui->TPulsos_0,          ui->TPulsos_1,          ui->TPulsoFrecuencia_0,
                 ui->TPulsoFrecuencia_1, ui->TPulsoIntensidad_0, ui->TPulsoIntensidad_1};
    const QIcon aviso = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (int i = 0; i < StimulationComparison::BoundCount; ++i) {
        m_avisos[i] = m_limites[i]->addAction(aviso, QLineEdit::TrailingPosition);
        m_avisos[i]->setVisible(false);
        m_limites[i]->installEventFilter(this);
        connect(m_limites[i], &QLineEdit::returnPressed, this, &FAcumulados::repinta);
    }

    // Load: the subjects, the list codes, the first entry of each list.
    try {
        llenaListaPacientes(ui->LPacientes, m_db, state.IdPacienteActual);
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    ParameterLists::fill({ui->CBobina, ui->CPulso, ui->CFase, ui->COrientacion},
                         {tr("- Any"), tr("- Any"), tr("- Cualquiera"), tr("- Any")});

    for (QComboBox *lista : {ui->CBobina, ui->CPulso, ui->CFase, ui->COrientacion}) {
        connect(lista, &QComboBox::currentIndexChanged, this, &FAcumulados::repinta);
    }
    connect(ui->LPacientes, &QListWidget::itemSelectionChanged, this, &FAcumulados::repinta);
    for (QRadioButton *opcion : {ui->Option1_0, ui->Option1_1, ui->Option1_2}) {
        connect(opcion, &QRadioButton::toggled, this, [this](bool elegido) {
            if (elegido) {
                repinta();
            }
        });
    }
    connect(ui->EGrid1, &EGrid::Click, this, &FAcumulados::repinta);
    connect(ui->bSalir, &QPushButton::clicked, this, &FAcumulados::close);
    ui->Picture1->setPainter([this](PictureSurface &picture) { Picture1_Paint(picture); });
    repinta();
}

FAcumulados::~FAcumulados() = default;

bool FAcumulados::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonPress &&
        std::find(m_limites.begin(), m_limites.end(), watched) != m_limites.end()) {
        // The click goes on to the box first, so the repaint reads the text the box holds.
        const bool hecho = QDialog::eventFilter(watched, event);
        repinta();
        return hecho;
    }
    return QDialog::eventFilter(watched, event);
}

StimulationComparison::Filter FAcumulados::filtro() const {
    StimulationComparison::Conditions condiciones;
    for (int i = 0; i < StimulationComparison::BoundCount; ++i) {
        condiciones.bounds[i] = m_limites[i]->text();
    }
    condiciones.coil = ParameterLists::code(ui->CBobina);
    condiciones.pulseType = ParameterLists::code(ui->CPulso);
    condiciones.pulsePhase = ParameterLists::code(ui->CFase);
    condiciones.orientation = ParameterLists::code(ui->COrientacion);
    return StimulationComparison::buildFilter(condiciones);
}

void FAcumulados::repinta() {
    ui->Picture1->redraw();
}

void FAcumulados::DibujaFichero(const QString &nombre, const std::optional<QByteArray> &puntos) {
    if (nombre.isEmpty()) {
        return;
    }
    DrawingRender::render(ui->Picture1->surface(), puntos, nombre, drawingMode(ui->Option1_1, ui->Option1_2));
}

void FAcumulados::marcaLimites(const StimulationComparison::Filter &filtro) {
    QStringList motivos;
    for (int i = 0; i < StimulationComparison::BoundCount; ++i) {
        const QString &problema = filtro.problems[i];
        m_avisos[i]->setVisible(!problema.isEmpty());
        m_avisos[i]->setToolTip(problema);
        m_limites[i]->setToolTip(problema);
        m_limites[i]->setAccessibleDescription(problema);
        if (!problema.isEmpty()) {
            motivos << tr(NombresLimites[i]) + QStringLiteral(": ") + problema;
        }
    }
    ui->LAviso->setText(motivos.isEmpty() ? QString()
                                          : motivos.join(QLatin1Char('\n')) +
                                                tr("\nNothing is drawn until the bounds are whole "
                                                   "numbers."));
    ui->LAviso->setVisible(!motivos.isEmpty());
}

void FAcumulados::Picture1_Paint(PictureSurface &) {
    m_dibujados.clear();
    const StimulationComparison::Filter f = filtro();
    marcaLimites(f);
    if (!f.ok()) {
        return;
    }
    try {
        StimulationComparison::DrawingFinder buscador(m_db, f, ui->EGrid1->EIndex(), m_filaCentro,
                                                      m_columnaCentro);
        for (int i = 0; i < ui->LPacientes->count(); ++i) {
            const QListWidgetItem *item = ui->LPacientes->item(i);
            if (!item->isSelected()) {
                continue;
            }
            const QString nombre = buscador.drawingName(item->data(Qt::UserRole).toInt());
            if (!nombre.isEmpty()) {
                m_dibujados << nombre;
                DibujaFichero(nombre, buscador.drawing());
            }
        }
    } catch (const StudyError &e) {
        // A paint runs at every change; the reason stays on screen rather than in a box each time.
        ui->LAviso->setText(e.message());
        ui->LAviso->setVisible(true);
    }
}
