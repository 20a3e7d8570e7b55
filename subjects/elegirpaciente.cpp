#include "elegirpaciente.h"
#include "ui_elegirpaciente.h"

#include "AppState.h"
#include "Messages.h"
#include "StudyError.h"
#include "SubjectStore.h"

#include <QListWidget>

void LlenaListaPacientes(QListWidget *lista, const QSqlDatabase &db, int idPacienteActual) {
    QListWidgetItem *elegido = nullptr;
    for (const SubjectStore::SubjectEntry &entrada : SubjectStore::subjectEntries(db)) {
        auto *item = new QListWidgetItem(entrada.text, lista);
        item->setData(Qt::UserRole, entrada.id);
        if (entrada.id == idPacienteActual) {
            elegido = item;
        }
    }
    if (!elegido && lista->selectedItems().isEmpty() && lista->count() > 0) {
        elegido = lista->item(lista->count() - 1);
    }
    if (elegido) {
        lista->setCurrentItem(elegido, QItemSelectionModel::ClearAndSelect);
        lista->scrollToItem(elegido);
    }
}

elegirpaciente::elegirpaciente(AppState &state, std::function<void(const QString &)> ponPanelPaciente,
                               QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::elegirpaciente>()), m_state(state),
      m_ponPanelPaciente(std::move(ponPanelPaciente)) {
    ui->setupUi(this);

    // The label follows the selection, whether it moved by mouse, keyboard or code.
    connect(ui->List1, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem *item) { ui->LPaciente->setText(item ? item->text() : QString()); });
    connect(ui->List1, &QListWidget::itemDoubleClicked, this, &elegirpaciente::bAceptar_Click);
    connect(ui->bAceptar, &QPushButton::clicked, this, &elegirpaciente::bAceptar_Click);
    connect(ui->bCancelar, &QPushButton::clicked, this, &elegirpaciente::reject);

    try {
        LlenaListaPacientes(ui->List1, m_state.BaseDatos, m_state.IdPacienteActual);
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    ui->List1->setFocus();
}

elegirpaciente::~elegirpaciente() = default;

void elegirpaciente::bAceptar_Click() {
    const QListWidgetItem *item = ui->List1->currentItem();
    if (!item) {
        return;
    }
    const QString nombre = item->text();
    if (m_ponPanelPaciente) {
        m_ponPanelPaciente(QStringLiteral("Subject: ") + nombre);
    }
    m_state.IdPacienteActual = item->data(Qt::UserRole).toInt();
    try {
        if (const auto rejilla = SubjectStore::subjectGrid(m_state.BaseDatos, m_state.IdPacienteActual)) {
            m_state.FijaPaciente(m_state.IdPacienteActual, nombre, rejilla->filas, rejilla->columnas,
                                 rejilla->filaCentro, rejilla->columnaCentro);
        }
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    accept();
}
