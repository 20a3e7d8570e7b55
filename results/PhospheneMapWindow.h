#pragma once

#include "brain/BrainTemplate.h"
#include "data/SubjectCalibration.h"
#include "results/BrainView.h"
#include "results/GroupMap.h"
#include "results/PhospheneMap.h"
#include "results/SitesPicture.h"
#include "results/StimulationSites.h"

#include <QDialog>
#include <QSqlDatabase>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class AppState;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace Ui {
class PhospheneMapWindow;
}

// "Phosphene map": for the chosen subjects and stimulus parameters, the phosphene rate of every grid
// cell over the grid, and the density of the drawings of the cell chosen on it. Every change of a
// list, of the subjects or of a bound (when Enter is pressed or the box is left) recounts; a click on
// the map or the arrow keys choose the cell. The numbers come from PhospheneMap.
//
// With one subject chosen whose MR calibration the study keeps, "On the MR" shows the 50 targets on
// the subject's head (StimulationSites, SitesPicture); a click on a target chooses its cell, and the
// sites and their overlay can be saved. The series is loaded when the view or a save first needs it.
//
// "In the brain" shows the targets of the chosen, normalised subjects on the template head (GroupMap,
// BrainView) with the atlas areas they reach; "Normalise..." normalises the first chosen subject that
// is calibrated and not yet normalised, and the group map can be saved. It is computed when shown.
class PhospheneMapWindow : public QDialog {
    Q_OBJECT

public:
    // Fills the subject list with every subject of the study (the subject chooser's
    // LlenaListaPacientes, passed in from above); all of them are then selected.
    using FillSubjects = std::function<void(QListWidget *list, const QSqlDatabase &db, int currentSubject)>;

    PhospheneMapWindow(AppState &state, const FillSubjects &fillSubjects, QWidget *parent = nullptr);
    ~PhospheneMapWindow() override;

    // Where the window reads a subject's calibration (SubjectCalibration::read unless told).
    using ReadCalibration =
        std::function<std::optional<SubjectCalibration::Record>(const QSqlDatabase &db, qint32 subject)>;
    void setCalibrationReader(ReadCalibration read);

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
    bool saveSites(const QString &path);
    bool saveOverlay(const QString &path);

    // The sites of the one calibrated subject chosen, once its MR is loaded (nullptr before).
    const StimulationSites::Sites *sites() const { return m_sites ? &*m_sites : nullptr; }
    // Loads the chosen subject's MR if it is not yet; false (and the reason shown) when it cannot.
    bool loadMr();

    // Normalises a subject from the window (NormaliseDialog::run unless told); true when stored.
    using Normaliser = std::function<bool(QWidget *parent, const QSqlDatabase &db, qint32 subject)>;
    void setNormaliser(Normaliser normalise);
    // The group map of the chosen subjects, once "In the brain" has shown it (nullptr before).
    const GroupMap::Result *groupMap() const { return m_group ? &*m_group : nullptr; }
    bool saveGroupMap(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void recount();
    void showDensity();
    void showMap();
    QString chooseFile(const QString &title, const QString &name, const QString &filter);
    // Clicking the button asks for a file (the title, the name suggested when clicked, the filter)
    // and saves into it what save writes.
    void connectSave(QPushButton *button, const QString &title, const std::function<QString()> &suggested,
                     const QString &filter, bool (PhospheneMapWindow::*save)(const QString &));
    // After a recount: which subject the MR view is for, and its sites under the new counts.
    void updateMr();
    void showMr();
    // After a recount: which subject "Normalise..." is for, and the group map when its tab shows.
    void updateBrain();
    bool computeBrain();
    void showBrain();

    std::unique_ptr<Ui::PhospheneMapWindow> ui;
    QSqlDatabase m_db;
    std::array<QLineEdit *, StimulationComparison::BoundCount> m_bounds{};
    PhospheneMap::Counts m_counts;
    PhospheneMap::Density m_density;
    int m_cell;
    bool m_usable = false; // the last recount ran (filter usable, study read)
    ReadCalibration m_readCalibration = SubjectCalibration::read;
    std::optional<SubjectCalibration::Record> m_calibration; // of the one subject chosen
    std::unique_ptr<StimulationSites::SubjectMr> m_mr;       // loaded for m_calibration
    SitesPicture::View m_mrView;
    std::optional<StimulationSites::Sites> m_sites;
    QString m_mrProblem; // why the view cannot show the sites
    Normaliser m_normalise;
    std::optional<BrainTemplate> m_template;
    std::optional<BrainView::Head> m_head;
    std::optional<GroupMap::Result> m_group; // of the current selection and depth
    QList<SitesPicture::Mark> m_marks;       // m_group's targets on m_head
    int m_brainMark = -1;                    // the target clicked
    std::optional<qint32> m_toNormalise;
    QString m_brainProblem; // why the view cannot show the group map
};
