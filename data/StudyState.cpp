#include "data/StudyState.h"

#include "core/AppState.h"
#include "data/ServerStudy.h"
#include "data/Study.h"

#include <QFileInfo>

QString AbreBaseDatos(AppState &state, const QString &ruta, const QString &password) {
    const bool server = ServerStudy::isLocation(ruta);
    const QString absoluta = server ? ruta : QFileInfo(ruta).absoluteFilePath();
    if (!state.RutaBaseDatos.isEmpty() && state.BaseDatos.isOpen() &&
        (server ? absoluta == state.RutaBaseDatos
                : QFileInfo(absoluta).canonicalFilePath() ==
                      QFileInfo(state.RutaBaseDatos).canonicalFilePath())) {
        // Our own lock would refuse a second connection; the study is already the open one.
        state.openNotes.clear();
        return QString();
    }
    Study::Opened abierta = Study::open(absoluta, password);
    if (!abierta.ok()) {
        state.passwordNeeded = abierta.passwordNeeded;
        return abierta.error;
    }
    state.CierraBaseDatos();
    state.openNotes = abierta.notes;
    state.BaseDatos = abierta.db;
    state.RutaBaseDatos = absoluta;
    state.readOnly = abierta.readOnly;
    state.passwordNeeded = false;
    return QString();
}
