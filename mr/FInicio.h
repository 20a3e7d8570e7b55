#pragma once

#include "data/SubjectCalibration.h"
#include "imaging/SeriesLoader.h"
#include "imaging/StoredCalibration.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class AppState;
class ImagingState;
class QFileSystemModel;
class QModelIndex;

namespace Ui {
class FInicio;
}

// The image loader: the operator chooses a folder, then one of its MR series (DICOM series by number,
// with their image count and orientation, or NIfTI volumes), and loads it into the volume of the
// imaging state in the program's layout. Nothing is written beside the series. DialogoAceptado tells
// the caller whether a volume was built.
//
// The drive list offers the user's home first, then the file system's root and mount points. The
// window stays responsive while it loads (the progress bar and TEstado follow each step) and
// refuses to close until the load ends.
class FInicio : public QDialog {
    Q_OBJECT

public:
    FInicio(AppState &app, ImagingState &imaging, QWidget *parent = nullptr);
    ~FInicio() override;

    // The directory shown in Dir1.
    QString directorio() const { return m_directorio; }
    // Shows the directory as if the operator had chosen it (ImageDir is written at once).
    // False, changing nothing, when it is not a directory.
    bool setDirectorio(const QString &ruta);

    // The entries of the series list, and choosing one.
    QStringList series() const;
    bool setSerieElegida(int index);
    // Chooses, among the series of the shown folder, the one the calibration was made on: the DICOM
    // series with its fingerprint, else the NIfTI file of its name or fingerprint, else the series of
    // its number. False, changing nothing, when the folder has none of them.
    bool chooseStoredSeries(const SubjectCalibration::Record &stored);

    // After a load: the folder or NIfTI file the volume came from (whole, absolute), and the series'
    // number and fingerprint (no fingerprint for pictures).
    const QString &loadedSource() const { return m_loadedSource; }
    const StoredCalibration::Loaded &loadedSeries() const { return m_loadedSeries; }

    void bCargar_Click();
    // Loads the chosen series of the folder (or the pictures of an earlier load when soloJpg). True
    // when the volume was completed.
    bool i_CargarImagenes(const QString &ruta, bool soloJpg);

    // The roots the drive list offers: the user's home, then the root and the mount points.
    static QStringList unidades();
    // True when the file name matches the File1 pattern ("*.dcm;*." and the like, case ignored;
    // "*." is a name without extension).
    static bool coincidePatron(const QString &nombre, const QString &patron);

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Drive1_Change();
    void Dir1_Elegido(const QModelIndex &actual);
    // The shown directory changed: the file list follows and ImageDir is written.
    void Dir1_Change();
    void CFilter_Click();
    void llenaFicheros();
    // Lists the series of the shown folder and chooses the largest.
    void llenaSeries();
    void CSerie_Click();
    void muestraProgreso(bool visible);
    void habilitaEleccion(bool enabled);

    std::unique_ptr<Ui::FInicio> ui;
    AppState &m_app;
    ImagingState &m_imaging;
    SeriesLoader m_loader;
    QStringList m_nifti; // NIfTI files of the folder, listed after its DICOM series
    QFileSystemModel *m_carpetas = nullptr;
    QString m_directorio;
    QString m_patron;
    QString m_loadedSource;
    StoredCalibration::Loaded m_loadedSeries;
};
