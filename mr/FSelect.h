#pragma once

#include "mr/LandmarkModel.h"

#include <QDialog>
#include <QPointF>

#include <memory>

class ImagingState;
class QLineEdit;

namespace Ui {
class FSelect;
}

// The point selection window: the operator browses the slices of the loaded volume, marks the two
// calibration landmarks of known distance and the Ilion landmark at the back of the head, and checks
// the distance and the slice spacing. OK applies the calibration and sets DialogoAceptado.
//
// Landmarks change the imaging state as they are placed, also when the window is then cancelled.
class FSelect : public QDialog {
    Q_OBJECT

public:
    explicit FSelect(ImagingState &imaging, QWidget *parent = nullptr);
    ~FSelect() override;

    // Slider range from the volume: slices 0 to the last.
    void PoneLimites();
    // Places the landmark of the current mode at (X, Y) of the shown slice; only for the left button (1).
    void SeleccionaPunto(qint16 Button, float X, float Y);
    // Refresh after a slice or landmark change.
    void AcutlizaImagen();
    // The pointer moved over Picture1 to (X, Y), picture units, with the button held (0 for none).
    void Picture1_MouseMove(int Button, QPointF at);

    const LandmarkModel &landmarks() const { return m_landmarks; }
    // The imaging state holds a stored calibration (StoredCalibration::apply): its landmarks are
    // taken as placed, so OK accepts them as they are, and the slice of the Ilion is shown.
    void startFromStoredLandmarks();

    void BAcepta_Click();
    void bCancela_Click();

private:
    void pintaPicture1();
    void Toolbar1_ButtonClick(LandmarkModel::Landmark point);
    void bIlion_Click();
    // The tool bar buttons show the model's mode.
    void showLandmarkMode();
    // Reads a number typed in a field; on text that is not one, tells the operator and returns false.
    bool leeNumero(QLineEdit *campo, double &valor);

    std::unique_ptr<Ui::FSelect> ui;
    ImagingState &m_imaging;
    LandmarkModel m_landmarks;
};
