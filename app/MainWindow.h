#pragma once

#include "app/MainWindowModel.h"
#include "data/SubjectLock.h"
#include "experiments/MrViewer.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class AppState;
class ImagingLibrary;
class ImagingState;
class FVerEstimulo;
class IntroEstimulo;
class QLabel;
class QMenu;

namespace Ui {
class MainWindow;
}

// The program's only top-level window: a menu bar from which every other window opens and a
// status bar naming the open study, the current subject and the version.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // The imaging state is the application's one instance; without one the window keeps its own.
    MainWindow(AppState &state, ImagingState &imaging, QWidget *parent = nullptr);
    explicit MainWindow(AppState &state, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens a study exactly as if it had been chosen in the open dialog: on success the status
    // bar names it, the subject is reset and the menus move to the "study open" stage; on
    // failure the operator reads why and nothing changes. A server study's URI opens the same way
    // (the password is asked for when the server wants one).
    bool openStudy(const QString &ruta);

    // Opens the experiment window, new (false) or continuing the last experiment (true).
    void startExperiment(bool continuar);

    void setPanelText(int panel, const QString &text);

    // The file the open dialog proposes: the open study, or "empty.mdb" in the working directory.
    QString proposedFile() const;

    // Writes the current subject's report to a PDF file; the operator reads why when it cannot.
    bool saveReportPdf(const QString &fichero);

    // Writes a backup of the open study to the file; the operator reads why when it cannot.
    bool backUpStudyTo(const QString &file);

protected:
    void closeEvent(QCloseEvent *event) override;
    // A new translation: the menus, the title and the status bar in the new language.
    void changeEvent(QEvent *event) override;

private:
    // What the experiment windows open for "View magnetic resonance".
    MrViewerMaker mrViewerMaker();
    MainWindow(AppState &state, ImagingState *imaging, QWidget *parent);

    void MAElegir_Click();
    void openServerStudy();
    void backUpStudy();
    // The rolling backup of the study just opened (config.ini [Backups]); a failure is told.
    void keepRollingBackup();
    // Holds the current subject for the recording window or the editor; false (the operator read
    // why) when another station holds it.
    bool holdSubject();
    // Gives the subject back when its window closes; the operator reads it when the server could not
    // be told.
    void releaseSubject();
    // Disables the main window's menus and panels (not the windows it owns) while the viewer is open.
    void lockControls(bool locked);
    void MPSalir_Click();
    void MPSelecciona_Click();
    void MPVer_Click();
    void MRAcumulada_Click();
    void openPhospheneMap();
    void openStudyExport();
    void MRInforme_Click();
    void MRInformePDF_Click();
    void MAEstimulo_Click(bool editar);
    void MAcerca_Click();
    void chooseLanguage();
    // The title and the status bar panels of the open study and subject, in the current language.
    void showTitleAndPanels();
    void MPResonancias_Click();

    // True when the study has subjects; otherwise tells the operator "No Subjects".
    bool hasSubjects();
    // Converts a legacy Access file into `estudio`, with progress and a report; false when it failed
    // (the operator read why).
    bool importAccess(const QString &ruta, const QString &estudio);
    void setMenuEnabled(QMenu *menu, bool enabled);
    // The menus and items show the model's stage.
    void applyMenus();

    // Closes the windows that work on the open study (before another one is opened).
    void closeStudyWindows();

    std::unique_ptr<Ui::MainWindow> ui;
    MainWindowModel m_model;
    AppState &m_state;
    std::unique_ptr<ImagingLibrary> m_ownLibrary; // only without an imaging state given
    std::unique_ptr<ImagingState> m_ownImaging;
    ImagingState *m_imaging = nullptr;
    QLabel *m_panels[3] = {};
    QPointer<IntroEstimulo> m_registro; // the recording window, while open
    QPointer<FVerEstimulo> m_visor;     // the experiment viewer and editor, while open
    SubjectLock m_subjectLock;          // the subject recorded or corrected, on a server study
};
