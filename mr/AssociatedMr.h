#pragma once

#include <QString>

class AppState;
class ImagingState;
class QWidget;

// Loading a subject's associated MR, from the main window's "Load asociated MR...".

// Stores the directory as the image directory in config.ini, shows the image loader modal, owned by
// the window, and returns whether a volume was built; then the directory is replaced by the one the
// loader last showed.
bool CargaResonanciaAsociada(QWidget *window, QString &directory, AppState &app, ImagingState &imaging);

// The whole road for the current subject: its MR directory, the loader, the imaging state reset,
// the point selection; when both were accepted the subject's directory is stored and
// ResonanciaCargada set. Returns ResonanciaCargada. Errors of the study are told to the operator.
bool CargaResonanciaPaciente(QWidget *window, AppState &app, ImagingState &imaging);
