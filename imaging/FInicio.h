#pragma once

#include "DicomFiles.h"
#include "SeriesLoader.h"

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

// The image loader: the operator chooses the directory of one MR series and loads it; the DICOM
// files are converted to JPEG and BMP pictures beside them and every BMP picture is stacked into the
// volume of the imaging state. DialogoAceptado tells the caller whether a volume was built.
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

    bool cargando() const { return m_loader.cargando(); }
    const SeriesLoader::Report &informe() const { return m_loader.report(); }

    void bCargar_Click();
    // Loads the series of the directory; soloJpg skips the DICOM conversion. True when the volume
    // was completed.
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
    void muestraProgreso(bool visible);
    void habilitaEleccion(bool enabled);

    std::unique_ptr<Ui::FInicio> ui;
    AppState &m_app;
    ImagingState &m_imaging;
    DicomFiles m_dicom;
    SeriesLoader m_loader;
    QFileSystemModel *m_carpetas = nullptr;
    QString m_directorio;
    QString m_patron;
};
