#include "AppState.h"

#include "Study.h"

#include <QFileInfo>

AppState::~AppState() {
    CierraBaseDatos();
}

QString AppState::AbreBaseDatos(const QString &ruta) {
    const QString absoluta = QFileInfo(ruta).absoluteFilePath();
    if (!RutaBaseDatos.isEmpty() && BaseDatos.isOpen() &&
        QFileInfo(absoluta).canonicalFilePath() == QFileInfo(RutaBaseDatos).canonicalFilePath()) {
        // Our own lock would refuse a second connection; the study is already the open one.
        openNotes.clear();
        return QString();
    }
    Study::Opened abierta = Study::open(absoluta);
    if (!abierta.ok()) {
        return abierta.error;
    }
    CierraBaseDatos();
    openNotes = abierta.notes;
    BaseDatos = abierta.db;
    RutaBaseDatos = absoluta;
    return QString();
}

void AppState::CierraBaseDatos() {
    if (RutaBaseDatos.isEmpty() && !BaseDatos.isValid()) {
        return;
    }
    Study::close(BaseDatos);
    RutaBaseDatos.clear();
}

void AppState::ReiniciaPaciente() {
    FijaPaciente(-1, QString(), 5, 9, 1, 4);
}

void AppState::FijaPaciente(int id, const QString &nombre, int filas, int columnas, int filaCentro,
                            int columnaCentro) {
    IdPacienteActual = id;
    NombrePacienteActual = nombre;
    FilasRejilla = filas;
    ColumnasRejilla = columnas;
    FilaCentroRejilla = filaCentro;
    ColumnaCentroRejilla = columnaCentro;
}
