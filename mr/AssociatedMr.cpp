#include "mr/AssociatedMr.h"

#include "core/AppPaths.h"
#include "core/AppState.h"
#include "core/IniFile.h"
#include "data/SharedQueries.h"
#include "data/StudyError.h"
#include "imaging/ImagingState.h"
#include "mr/FInicio.h"
#include "mr/FSelect.h"
#include "widgets/Messages.h"

bool CargaResonanciaAsociada(QWidget *window, QString &directory, AppState &app, ImagingState &imaging) {
    if (app.RutaConfig.isEmpty()) {
        app.RutaConfig = AppPaths::rutaConfig();
    }
    EscribeIni(app.RutaConfig, QStringLiteral("ZoBrain"), QStringLiteral("ImageDir"), directory);
    FInicio loader(app, imaging, window);
    loader.exec();
    if (imaging.DialogoAceptado) {
        directory = LeeIni(app.RutaConfig, QStringLiteral("ZoBrain"), QStringLiteral("ImageDir"),
                           AppPaths::directorioAplicacion());
    }
    return imaging.DialogoAceptado;
}

bool CargaResonanciaPaciente(QWidget *window, AppState &app, ImagingState &imaging) {
    try {
        QString ruta = DameRutaResonancias(app.BaseDatos, app.IdPacienteActual);
        app.ResonanciaCargada = false;
        if (!CargaResonanciaAsociada(window, ruta, app, imaging)) {
            return false;
        }
        imaging.InicializaResonancia();
        FSelect select(imaging, window);
        select.exec();
        if (imaging.DialogoAceptado) {
            PonRutaResonancias(app.BaseDatos, app.IdPacienteActual, ruta);
            app.ResonanciaCargada = true;
        }
    } catch (const StudyError &e) {
        Messages::error(window, e.message());
    }
    return app.ResonanciaCargada;
}
