#pragma once

#include "experiments/ExperimentReview.h"

#include <QString>

#include <optional>

// The experiment viewer and editor's state without widgets: what the operator may change in view
// and in edit mode, and what each control shows for the stimulus found at a grid cell.
namespace ReviewModel {

// View mode shows the stored values locked; edit mode opens them to correction and shows the
// three apply buttons.
struct Editing {
    bool parametersEnabled = false;     // FrameTipo
    bool answerEnabled = false;         // FrameHayFosfenos
    bool brightnessStepEnabled = false; // UDIntensidad
    bool textsReadOnly = true;          // TObservaciones, TColor, TIntensidad
    bool applyVisible = false;          // bOKEstimulo, bOKPasada, bOKPaciente
    QString title;
};
Editing editing(bool editar);

// What the controls show for the point at a cell. Whatever the record lacks never leaves another
// stimulus's text on screen: the texts are empty, the brightness "0" and the answer "No". The
// parameter lists and the pulse numbers keep their last value when the record has none.
struct Shown {
    bool found = false; // a stimulus of the experiment at the cell: FEstímulo shown, bOKEstimulo enabled
    int pointId = 0;    // its point, when found
    int stimulusId = 0;
    int answer = Answer::No;                  // the radio button Option1_<answer> is checked
    QString notes;                            // TObservaciones
    QString brightness = QStringLiteral("0"); // TIntensidad
    QString colour;                           // TColor
    QString date;                             // TFecha
    // Codes selected in CBobina, CPulso, CFase and COrientacion.
    std::optional<qint16> coil, pulseType, phase, orientation;
    // TPulsos, TPulsoFrecuencia, TPulsoIntensidad.
    std::optional<QString> pulses, frequency, pulseIntensity;
    QString drawing; // the stimulus's drawing name; empty for none
};
Shown shown(const std::optional<ExperimentReview::ShownPoint> &punto);

// "Phosphene data" (Frame2) shows for a stimulus whose answer is Yes or Doubt.
bool dataShown(bool found, int answer);

// The cell selected when an experiment is chosen: the subject's centre, brought into -1..50.
int centreCell(int filaCentro, int columnaCentro);

} // namespace ReviewModel
