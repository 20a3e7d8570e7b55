#pragma once

#include "results/PhospheneMap.h"

#include <QDialog>
#include <QSqlDatabase>

#include <array>
#include <functional>
#include <memory>

class AppState;
class QLineEdit;
class QListWidget;

namespace Ui {
class PhospheneMapWindow;
}

// "Phosphene map": for the chosen subjects and stimulus parameters, the phosphene rate of every grid
// cell over the grid, and the density of the drawings of the cell chosen on it. Every change of a
// list, of the subjects or of a bound (when Enter is pressed or the box is left) recounts; a click on
// the map or the arrow keys choose the cell. The numbers come from PhospheneMap.
class PhospheneMapWindow : public QDialog {
    Q_OBJECT

public:
    // Fills the subject list with every subject of the study (the subject chooser's
    // LlenaListaPacientes, passed in from above); all of them are then selected.
    using FillSubjects = std::function<void(QListWidget *list, const QSqlDatabase &db, int currentSubject)>;

    PhospheneMapWindow(AppState &state, const FillSubjects &fillSubjects, QWidget *parent = nullptr);
    ~PhospheneMapWindow() override;

    // What the controls choose now (the filter may carry problems).
    PhospheneMap::Selection selection() const;
    const PhospheneMap::Counts &counts() const { return m_counts; }
    const PhospheneMap::Density &density() const { return m_density; }
    int cell() const { return m_cell; }
    void setCell(int cell);

    // The buttons' work once a file is chosen; false (and a message) when the file was not written.
    bool saveMap(const QString &path);
    bool saveDensity(const QString &path);
    bool saveNumbers(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void recount();
    void showDensity();
    void showMap();
    QString chooseFile(const QString &title, const QString &name, const QString &filter);

    std::unique_ptr<Ui::PhospheneMapWindow> ui;
    QSqlDatabase m_db;
    std::array<QLineEdit *, StimulationComparison::NumeroLimites> m_bounds{};
    PhospheneMap::Counts m_counts;
    PhospheneMap::Density m_density;
    int m_cell;
    bool m_usable = false; // the last recount ran (filter usable, study read)
};
