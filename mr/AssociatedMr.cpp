#include "mr/AssociatedMr.h"

#include "core/AppPaths.h"
#include "core/AppState.h"
#include "core/IniFile.h"
#include "data/SharedQueries.h"
#include "data/StudyError.h"
#include "imaging/ImagingError.h"
#include "imaging/ImagingState.h"
#include "imaging/NiftiFiles.h"
#include "mr/FInicio.h"
#include "mr/FSelect.h"
#include "mr/NormaliseDialog.h"
#include "widgets/Messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <optional>

namespace {

// The folder of a stored series: the series' own folder, or the folder of its NIfTI file.
QString folderOf(const QString &series) {
    const QFileInfo info(series);
    return NiftiFiles::isNiftiPath(series) && !info.isDir() ? info.absolutePath() : series;
}

// The folder of the stored series on this station; when it is not here, the one the operator
// shows instead ("" when the operator cancels).
QString storedFolder(QWidget *window, const SubjectCalibration::Record &stored, const QString &start) {
    const QString folder = folderOf(stored.series);
    if (QFileInfo(folder).isDir()) {
        return folder;
    }
    QFileDialog chooser(
        window,
        QCoreApplication::translate("AssociatedMr",
                                    "Where is the MR series of this subject (%1 is not on this computer)?")
            .arg(QDir::toNativeSeparators(folder)),
        QFileInfo(start).isDir() ? start : QDir::homePath());
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return {};
    }
    return chooser.selectedFiles().constFirst();
}

} // namespace

bool CargaResonanciaAsociada(QWidget *window, QString &directory, AppState &app, ImagingState &imaging,
                             const SubjectCalibration::Record *stored, LoadedSeries *loaded) {
    if (app.RutaConfig.isEmpty()) {
        app.RutaConfig = AppPaths::configPath();
    }
    // The last image directory is only remembered for the next loader: when config.ini cannot be
    // written, the directory still goes to this loader directly.
    static_cast<void>(
        EscribeIni(app.RutaConfig, QStringLiteral("ZoBrain"), QStringLiteral("ImageDir"), directory));
    FInicio loader(app, imaging, window);
    loader.setDirectorio(directory);
    if (stored) {
        loader.chooseStoredSeries(*stored);
    }
    loader.exec();
    if (imaging.DialogoAceptado) {
        directory = loader.directorio();
        if (loaded) {
            *loaded = {loader.loadedSource(), loader.loadedSeries()};
        }
    }
    return imaging.DialogoAceptado;
}

bool CargaResonanciaPaciente(QWidget *window, AppState &app, ImagingState &imaging) {
    try {
        std::optional<SubjectCalibration::Record> stored;
        try {
            stored = SubjectCalibration::read(app.BaseDatos, app.IdPacienteActual);
        } catch (const StudyError &e) {
            Messages::error(window, e.message()); // the landmarks are then marked as for a new subject
        }
        QString ruta = DameRutaResonancias(app.BaseDatos, app.IdPacienteActual);
        if (stored) {
            const QString folder = storedFolder(window, *stored, ruta);
            if (!folder.isEmpty()) {
                ruta = folder;
            }
        }
        app.ResonanciaCargada = false;
        LoadedSeries loaded;
        if (!CargaResonanciaAsociada(window, ruta, app, imaging, stored ? &*stored : nullptr, &loaded)) {
            return false;
        }
        imaging.InicializaResonancia();
        bool fromStored = false;
        if (stored && !loaded.series.fingerprint.isEmpty() &&
            loaded.series.fingerprint == stored->fingerprint) {
            try {
                StoredCalibration::apply(imaging, *stored);
                fromStored = true;
            } catch (const ImagingError &e) {
                imaging.InicializaResonancia();
                Messages::error(window, e.message());
            }
        } else if (stored) {
            Messages::information(
                window,
                QCoreApplication::translate(
                    "AssociatedMr",
                    "The series in %1 is not the one calibrated on %2; mark the landmarks again")
                    .arg(QDir::toNativeSeparators(loaded.source),
                         stored->accepted.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        }
        FSelect select(imaging, window);
        if (fromStored) {
            select.startFromStoredLandmarks();
        }
        select.exec();
        if (imaging.DialogoAceptado) {
            PonRutaResonancias(app.BaseDatos, app.IdPacienteActual, ruta);
            app.ResonanciaCargada = true;
            if (!loaded.series.fingerprint.isEmpty()) {
                SubjectCalibration::write(
                    app.BaseDatos,
                    StoredCalibration::recordOf(imaging, app.IdPacienteActual, loaded.source, loaded.series));
                NormaliseDialog::offer(window, app.BaseDatos, app.IdPacienteActual,
                                       loaded.series.fingerprint);
            }
        }
    } catch (const StudyError &e) {
        Messages::error(window, e.message());
    } catch (const ImagingError &e) {
        // Nothing the imaging refuses leaves the window: the operator reads why.
        Messages::error(window, e.message());
    }
    return app.ResonanciaCargada;
}
