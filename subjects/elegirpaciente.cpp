#include "subjects/elegirpaciente.h"
#include "ui_elegirpaciente.h"

#include "core/AppState.h"
#include "data/StudyError.h"
#include "subjects/SubjectStore.h"
#include "widgets/Messages.h"

#include <QListWidget>

void LlenaListaPacientes(QListWidget *lista, const QSqlDatabase &db, int idPacienteActual) {
    QListWidgetItem *chosen = nullptr;
    for (const SubjectStore::SubjectEntry &entry : SubjectStore::subjectEntries(db)) {
        auto *item = new QListWidgetItem(entry.text, lista);
        item->setData(Qt::UserRole, entry.id);
        if (entry.id == idPacienteActual) {
            chosen = item;
        }
    }
    if (!chosen && lista->selectedItems().isEmpty() && lista->count() > 0) {
        chosen = lista->item(lista->count() - 1);
    }
    if (chosen) {
        lista->setCurrentItem(chosen, QItemSelectionModel::ClearAndSelect);
        lista->scrollToItem(chosen);
    }
}

elegirpaciente::elegirpaciente(AppState &state, std::function<void(const QString &)> setSubjectPanel,
                               QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::elegirpaciente>()), m_state(state),
      m_setSubjectPanel(std::move(setSubjectPanel)) {
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
    const QString name = item->text();
    if (m_setSubjectPanel) {
        m_setSubjectPanel(tr("Subject: ") + name);
    }
    m_state.IdPacienteActual = item->data(Qt::UserRole).toInt();
    try {
        if (const auto grid = SubjectStore::subjectGrid(m_state.BaseDatos, m_state.IdPacienteActual)) {
            m_state.FijaPaciente(m_state.IdPacienteActual, name, grid->filaCentro, grid->columnaCentro);
        }
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    accept();
}
