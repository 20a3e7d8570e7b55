#pragma once

#include "imaging/StoredCalibration.h"

#include <QString>

class AppState;
class ImagingState;
class QWidget;

// Loading a subject's associated MR, from the main window's "Load asociated MR...".

// What the loader built the volume from: the folder or NIfTI file (whole), and the series' number
// and fingerprint.
struct LoadedSeries {
    QString source;
    StoredCalibration::Loaded series;
};

// Stores the directory as the image directory in config.ini, shows the image loader modal, owned by
// the window, on that directory (whole, however long) and, given a stored calibration, on the series
// it was made on; returns whether a volume was built. Then the directory is the one the loader
// last showed, and *loaded (when given) what was loaded.
bool CargaResonanciaAsociada(QWidget *window, QString &directory, AppState &app, ImagingState &imaging,
                             const SubjectCalibration::Record *stored = nullptr,
                             LoadedSeries *loaded = nullptr);

// The whole road for the current subject: the loader on the subject's stored calibration's series
// (the operator is asked for its folder when it is not on this station), else on its MR directory;
// the imaging state reset; the point selection, showing the stored landmarks when the series loaded
// is the one calibrated (told otherwise). When both were accepted the subject's directory and
// calibration are stored and ResonanciaCargada set. Returns ResonanciaCargada. Errors of the study
// are told to the operator.
bool CargaResonanciaPaciente(QWidget *window, AppState &app, ImagingState &imaging);
