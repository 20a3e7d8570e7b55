#pragma once

#include "experiments/StimulationComparison.h"

#include <QDialog>
#include <QSqlDatabase>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class AppState;
class PictureSurface;
class QAction;
class QLineEdit;
class QListWidget;

namespace Ui {
class FAcumulados;
}

// "Comparinh stinmulations": overlays in one picture the perception drawings recorded at one grid
// point for the chosen subjects, restricted to stimuli whose pulse and coil parameters pass the
// filters. Every change of a list, of the subjects, of the drawing mode or of the grid point
// repaints; a bound box repaints when it is clicked (or Enter is pressed in it), not while typing.
class FAcumulados : public QDialog {
    Q_OBJECT

public:
    // Fills the subject list: every subject of the study, the current one selected (the subject
    // chooser's LlenaListaPacientes, passed in because the subjects module builds on this one).
    using LlenaLista = std::function<void(QListWidget *lista, const QSqlDatabase &db, int idPacienteActual)>;

    FAcumulados(AppState &state, const LlenaLista &llenaListaPacientes, QWidget *parent = nullptr);
    ~FAcumulados() override;

    // Renders one stored drawing into Picture1 in the selected mode; nothing for "".
    void DibujaFichero(const QString &nombre, const std::optional<QByteArray> &puntos);
    // The controls' filter as it stands now.
    StimulationComparison::Filter filtro() const;
    // Drawing names drawn by the last repaint, one per subject at most, in list order.
    const QStringList &dibujados() const { return m_dibujados; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void repinta();
    void Picture1_Paint(PictureSurface &picture);
    // Shows, on each bound box and below the filters, why a bound cannot be used.
    void marcaLimites(const StimulationComparison::Filter &filtro);

    std::unique_ptr<Ui::FAcumulados> ui;
    QSqlDatabase m_db;
    int m_filaCentro;
    int m_columnaCentro;
    std::array<QLineEdit *, StimulationComparison::BoundCount> m_limites{};
    std::array<QAction *, StimulationComparison::BoundCount> m_avisos{};
    QStringList m_dibujados;
};
