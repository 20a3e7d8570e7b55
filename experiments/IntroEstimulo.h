#pragma once

#include "experiments/ExperimentWindow.h"

#include <QSqlDatabase>

#include <memory>

class AppState;
class QComboBox;
class QLineEdit;

namespace Ui {
class IntroEstimulo;
}

// The recording window: the operator picks a point on the subject's grid, enters the stimulus and
// the answer, draws the perceived figure and saves; then picks the next point. It records one
// experiment for the current subject: a new one, or the last one continued.
class IntroEstimulo : public ExperimentWindow {
    Q_OBJECT

public:
    // Loads the window for the current subject of `state`; the experiment is new or continued as
    // state.ContinuarPasada says.
    // makeViewer makes what the check box "View magnetic resonance" opens (nothing when empty).
    explicit IntroEstimulo(AppState &state, const MrViewerMaker &makeViewer = {}, QWidget *parent = nullptr);
    ~IntroEstimulo() override;

    // Number of the experiment being recorded.
    int pasada() const { return m_pasada; }

    // Empties the drawing and clears the canvas.
    void Comienza();
    // Resets the perception entry for the next stimulus; the stimulus parameters stay.
    void LimpiarElemento();

    void bNext_Click();
    void bBorrar_Click();

private:
    void cargaParametros();
    void marcaPasadaContinuada();
    void EGrid1_Click();
    void aplicaReglaBotones();
    void Option1_Click();
    void CPulso_Click();
    // The selected answer: 0 "Yes", 1 "No", 2 "Doubt".
    int respuesta() const;
    void setRespuesta(int code);
    // Reads a numeric field; on a text that is not a whole number in range, tells the operator,
    // puts the cursor in the field and returns false.
    [[nodiscard]] bool leeEntero(QLineEdit *campo, const QString &nombre, qint64 minimo, qint64 maximo,
                                 qint64 &valor);
    static int code(const QComboBox *lista);

    std::unique_ptr<Ui::IntroEstimulo> ui;
    AppState &m_state;
    // The study and subject the experiment belongs to, fixed when the window opens.
    QSqlDatabase m_db;
    int m_idPaciente;
    int m_filaCentro;
    int m_columnaCentro;
    int m_pasada = 0;
};
