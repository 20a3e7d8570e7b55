#include "data/StudyState.h"

#include "core/AppState.h"
#include "data/Study.h"

#include <QFileInfo>

QString AbreBaseDatos(AppState &state, const QString &ruta) {
    const QString absoluta = QFileInfo(ruta).absoluteFilePath();
    if (!state.RutaBaseDatos.isEmpty() && state.BaseDatos.isOpen() &&
        QFileInfo(absoluta).canonicalFilePath() == QFileInfo(state.RutaBaseDatos).canonicalFilePath()) {
        // Our own lock would refuse a second connection; the study is already the open one.
        state.openNotes.clear();
        return QString();
    }
    Study::Opened abierta = Study::open(absoluta);
    if (!abierta.ok()) {
        return abierta.error;
    }
    state.CierraBaseDatos();
    state.openNotes = abierta.notes;
    state.BaseDatos = abierta.db;
    state.RutaBaseDatos = absoluta;
    return QString();
}
