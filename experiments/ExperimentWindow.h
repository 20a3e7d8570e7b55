#pragma once

#include "drawings/DrawingRender.h"
#include "experiments/MrViewer.h"

#include <QWidget>

#include <memory>

class EGrid;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QScrollBar;

// What the recording window and the viewer have in common: a window of its own that deletes itself
// when closed, the check box "View magnetic resonance" with the MR view it opens at the grid's
// selected cell, and the signal `closed` that gives the main window back.
class ExperimentWindow : public QWidget {
    Q_OBJECT

signals:
    // The window closed; the main window enables itself again.
    void closed();

protected:
    explicit ExperimentWindow(QWidget *parent);
    ~ExperimentWindow() override;

    // Makes the MR view (none when makeViewer is empty); `CRM` opens and closes it at the cell
    // selected on `grid`.
    void connectMrViewer(const MrViewerMaker &makeViewer, QCheckBox *CRM, EGrid *grid);
    // A grid cell was selected: an open MR view aims at it.
    void followCell(int cell);

    // The MR view goes with the window; the main window hears of the close before it is handled.
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<MrViewer> m_mrViewer;
    QCheckBox *m_CRM = nullptr;
};

// The brightness text and its up-down control (0 to 9): the control writes its value into the text,
// and a whole number within the control's range, typed or shown, moves the control.
void coupleBrightness(QScrollBar *UDIntensidad, QLineEdit *TIntensidad);

// The drawing mode of the radio buttons "Lines", "Fuse" and "Mass center".
DrawingRender::Mode drawingMode(const QRadioButton *fuse, const QRadioButton *massCentre);
