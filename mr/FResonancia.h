#pragma once

#include <QWidget>

#include <memory>

class AppState;
class ImagingState;

namespace Ui {
class FResonancia;
}

// The associated MR window: beside an experiment window, it shows where the stimulation of the grid
// cell being worked on falls on the subject's MR volume. Picture1 is the side cut through the target
// with the ray from the head centre (blue cross) to the target (green X); Picture2 the 3D side
// rendering with a yellow crosshair at the inner point.
//
// Each grid step is an arc of 20 mm on the scalp; cell 14 is the Ilion direction. The arcs turn the
// ray about the head centre in the volume's axes: horizontally across slices (x-z), vertically
// across rows (x-y). Every volume is held in the lateral layout (VolumeLayout.h), so these are the
// head's left-right and up-down whatever the orientation of the series it came from.
//
// The window is closed only by its owner (cierra()); its own close box is refused.
class FResonancia : public QWidget {
    Q_OBJECT

public:
    // Loads the window and makes the first update for cell 14 with no owner: it stays where the
    // window system puts it until the owner's own update, which follows at once.
    FResonancia(AppState &app, ImagingState &imaging, QWidget *parent = nullptr);
    ~FResonancia() override;

    // Aims at the grid cell (10 x row + column) and repaints; stands to the right of the owner.
    // Nothing happens unless the associated MR is loaded. A depth that is not a number is refused
    // with a message and nothing changes.
    void actualiza_resonancia(qint32 cell, QWidget *owner);

    qint32 celda() const { return m_celda; }

    // Closes the window on behalf of its owner.
    void cierra();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void pintaPicture1();
    void pintaPicture2();

    std::unique_ptr<Ui::FResonancia> ui;
    AppState &m_app;
    ImagingState &m_imaging;
    qint32 m_celda = 14;
    bool m_cerrando = false;
};
