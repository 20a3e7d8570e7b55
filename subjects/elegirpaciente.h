#pragma once

#include <QDialog>
#include <QSqlDatabase>

#include <functional>
#include <memory>

class AppState;
class QListWidget;

namespace Ui {
class elegirpaciente;
}

// Adds every subject of the study to `lista` (which is not cleared first), in ID order, each
// entry carrying the subject's ID as its Qt::UserRole data, and selects the entry of the subject
// `idPacienteActual`, or the last one when that subject is not among them. Throws StudyError
// when the study cannot be read.
void LlenaListaPacientes(QListWidget *lista, const QSqlDatabase &db, int idPacienteActual);

// "Select subject": the operator picks the current subject from the list of all subjects. OK (or
// a double click, or Enter) makes it the current subject with its grid, and names it in the main
// window's status bar; Cancel (or Escape) leaves the current subject as it was.
class elegirpaciente : public QDialog {
    Q_OBJECT

public:
    // `setSubjectPanel` receives the status bar text "Subject: ..." of the chosen subject.
    elegirpaciente(AppState &state, std::function<void(const QString &)> setSubjectPanel,
                   QWidget *parent = nullptr);
    ~elegirpaciente() override;

private:
    void bAceptar_Click();

    std::unique_ptr<Ui::elegirpaciente> ui;
    AppState &m_state;
    std::function<void(const QString &)> m_setSubjectPanel;
};
