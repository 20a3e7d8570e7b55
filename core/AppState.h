#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The application state of the main window: which study is open, its connection, and the
// current subject with the geometry of its stimulation grid. One instance lives for the whole
// run and is passed by reference to every window that reads or writes it.
class AppState {
public:
    AppState() = default;
    AppState(const AppState &) = delete;
    AppState &operator=(const AppState &) = delete;
    ~AppState();

    QString RutaBaseDatos;  // full path of the open study, or a server study's URI; "" when none is open
    QSqlDatabase BaseDatos; // its connection; every query of every window runs on it
    int IdPacienteActual = -1;
    QString NombrePacienteActual;
    int FilaCentroRejilla = 1;
    int ColumnaCentroRejilla = 4;
    bool ContinuarPasada = false;   // the experiment window continues the last experiment
    bool ResonanciaCargada = false; // an associated MR series is loaded and its points accepted
    QString RutaConfig;             // full path of config.ini
    QStringList openNotes;          // what opening the study last did besides opening it (an update)
    QString readOnly;               // why the open study may only be read ("" when it may be changed)
    bool passwordNeeded = false;    // the last open failed because the server asked for a password

    // Closes the open study, if any. (Opening one is AbreBaseDatos, beside the study engines.)
    void CierraBaseDatos();
    // No current subject, default grid centre.
    void ReiniciaPaciente();
    // The current subject and its grid centre. The grid's size is fixed (5 x 10); it is stored
    // with the subject, but nothing reads it from the state.
    void FijaPaciente(int id, const QString &nombre, int filaCentro, int columnaCentro);
    bool HayPaciente() const { return IdPacienteActual != -1; }
};

// Closes a connection and forgets it. Harmless on a connection that is not open.
void closeConnection(QSqlDatabase &db);
