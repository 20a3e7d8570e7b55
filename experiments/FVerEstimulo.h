#pragma once

#include "experiments/ExperimentWindow.h"
#include "experiments/StimulusStore.h"

#include <QSqlDatabase>

#include <functional>
#include <memory>
#include <optional>

class AppState;
class PictureSurface;
class QLineEdit;

namespace Ui {
class FVerEstimulo;
}

// The experiment viewer and editor: one recorded experiment of the current subject at a time on
// the stimulation grid, its points marked; selecting a point shows the stimulus given there in
// that experiment. In edit mode the operator corrects the stored values and applies them to the
// perception shown, to the whole experiment or to every experiment of the subject.
class FVerEstimulo : public ExperimentWindow {
    Q_OBJECT

public:
    // Loads the window for the current subject of `state`. The edit mode (`editar`) is fixed for
    // the life of the window.
    // makeViewer makes what the check box "View magnetic resonance" opens (nothing when empty).
    FVerEstimulo(AppState &state, bool editar, const MrViewerMaker &makeViewer = {},
                 QWidget *parent = nullptr);
    ~FVerEstimulo() override;

    bool editar() const { return m_editar; }
    // Drawing name of the stimulus shown.
    const QString &dibujo() const { return m_dibujo; }

    void bOKEstimulo_Click();
    void bOKPasada_Click();
    void bOKPaciente_Click();

private:
    void CPasada_Click();
    void EGrid1_Click();
    void Option1_Click();
    void Picture1_Paint(PictureSurface &picture);
    // The experiment chosen in CPasada; 0 when there is none.
    int pasada() const;
    void muestraPunto(int celda);
    // The four parameter lists must name a value; every failing one is reported.
    [[nodiscard]] bool valida();
    // Reads a numeric field; on a text that is not a whole number in range, tells the operator,
    // puts the cursor in the field and returns false.
    [[nodiscard]] bool leeEntero(QLineEdit *campo, const QString &nombre, qint64 minimo, qint64 maximo,
                                 qint64 &valor);
    [[nodiscard]] bool leeParametros(StimulusStore::Parameters &parametros);
    // Validation, the numbers, the operator's confirmation, then `escribe`; the point is shown
    // again afterwards so that the fields show what was stored.
    void aplica(const QString &pregunta, bool conPercepcion,
                const std::function<void(const StimulusStore::Parameters &, qint16 intensidad)> &escribe);

    std::unique_ptr<Ui::FVerEstimulo> ui;
    QSqlDatabase m_db;
    int m_idPaciente;
    int m_filaCentro;
    int m_columnaCentro;
    bool m_editar;
    int m_puntoActual = 0;
    QString m_dibujo;
    std::optional<QByteArray> m_puntosDibujo; // the drawing as the study keeps it
};
