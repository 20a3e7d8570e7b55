#pragma once

#include <QSqlDatabase>
#include <QString>

// Queries over a study shared by several windows. Each throws StudyError when the engine fails.
//
// Identifiers are never left to the engine: a new subject, point or stimulus gets the largest
// existing key + 1 (1 in an empty table), and a new point of a subject gets that subject's
// largest point number + 1. The largest value is read through the key's index (descending,
// first row), which gives the same value as the last row of the ascending order without
// reading the table.

// The statements behind the queries below, with "?" for their parameters.
namespace SqlText {
inline constexpr const char *HayPacientes = "SELECT ID FROM paciente LIMIT 1";
inline constexpr const char *UltimaPasada =
    "SELECT pasadas FROM puntoestimulacion WHERE Id_paciente = ? ORDER BY pasadas DESC LIMIT 1";
inline constexpr const char *DameRutaResonancias =
    "SELECT RutaResonancias FROM paciente WHERE ID = ? LIMIT 1";
inline constexpr const char *UltimoIdPaciente = "SELECT ID FROM paciente ORDER BY ID DESC LIMIT 1";
inline constexpr const char *UltimoIdPunto = "SELECT ID FROM puntoestimulacion ORDER BY ID DESC LIMIT 1";
inline constexpr const char *UltimoIdEstimulo = "SELECT ID FROM estimulo ORDER BY ID DESC LIMIT 1";
inline constexpr const char *UltimoNumeroPunto =
    "SELECT Numero FROM puntoestimulacion WHERE Id_paciente = ? ORDER BY Numero DESC LIMIT 1";
} // namespace SqlText

// True when the study has at least one subject. (The main window tells the operator
// "No Subjects" when it is false.)
[[nodiscard]] bool HayPacientes(const QSqlDatabase &db);

// Number of the subject's last experiment: the largest `pasadas` of its points, 0 when it has
// none (also for the subject -1, "none").
int UltimaPasada(const QSqlDatabase &db, int idPaciente);

// Directory of the subject's MR series; "" when it has none (null or "") or the subject is not
// in the study.
QString DameRutaResonancias(const QSqlDatabase &db, int idPaciente);

// Stores the subject's MR directory; nothing happens when the subject is not in the study.
void PonRutaResonancias(const QSqlDatabase &db, int idPaciente, const QString &ruta);

// Largest key or number in use, 0 when there is none.
int UltimoIdPaciente(const QSqlDatabase &db);
int i_dameUltimoValorIdPuntosEstimulos(const QSqlDatabase &db);
int i_dameUltimoValorIdEstimulo(const QSqlDatabase &db);
int i_dameUltimoNumeroPuntosEstimulos(const QSqlDatabase &db, int idPaciente);
