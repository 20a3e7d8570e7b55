#include "core/AppState.h"

#include <QSqlDatabase>

AppState::~AppState() {
    CierraBaseDatos();
}

void AppState::CierraBaseDatos() {
    if (RutaBaseDatos.isEmpty() && !BaseDatos.isValid()) {
        return;
    }
    closeConnection(BaseDatos);
    RutaBaseDatos.clear();
    readOnly.clear();
}

void AppState::ReiniciaPaciente() {
    FijaPaciente(-1, QString(), 1, 4);
}

void AppState::FijaPaciente(int id, const QString &nombre, int filaCentro, int columnaCentro) {
    IdPacienteActual = id;
    NombrePacienteActual = nombre;
    FilaCentroRejilla = filaCentro;
    ColumnaCentroRejilla = columnaCentro;
}

void closeConnection(QSqlDatabase &db) {
    if (!db.isValid()) {
        return;
    }
    const QString name = db.connectionName();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}
