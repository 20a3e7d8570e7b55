#pragma once

#include "data/Answer.h"
#include "drawings/DrawingFile.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

// Storing and deleting the stimuli of an experiment, without any widget.
//
// The three procedures named after the recording window's own write exactly the rows and columns
// the window always wrote; they run inside the caller's transaction and throw StudyError when
// the engine fails. saveEntry and deleteEntry are the operator's two actions ("Save and
// continue", "Delete"): each is one transaction, the drawing (kept inside the study) included.
namespace StimulusStore {

// What a stimulus can be: the recording window, the editor and the tool refuse anything outside
// these bounds before it is stored.
struct Range {
    qint64 minimum;
    qint64 maximum;
};
inline constexpr Range PulseCount{1, 2147483647};
inline constexpr Range PulseFrequency{0, 2147483647};
inline constexpr Range PulseIntensity{0, 100}; // percent of the stimulator's output
inline constexpr Range Brightness{0, 9};       // the steps of the brightness control

// The stimulus parameters, as stored codes and numbers.
struct Parameters {
    int TipoBobina = 1;
    int PulsoTipo = 1;
    int PulsoFase = 1;
    int orientacion = 3;
    qint32 NumeroPulsos = 1;
    qint32 PulsoFrecuencia = 1;
    qint32 PulsoIntensidad = 80;
};

// One stimulus as the operator entered it.
struct Entry {
    qint16 hayfosfeno = Answer::No;
    QString color;
    qint16 intensidad = 0;
    QString observaciones;
    Parameters parameters;
    QDateTime fecha;
};

struct UpdatedPoint {
    int pointId = 0;
    bool laterExperiment = false; // the point had a later experiment than this one: shown as "Error"
};

// Finds the subject's point at (fila, columna), or creates it (next table-wide ID, next point
// number of the subject, counters 0), counts the answer and sets its last experiment.
UpdatedPoint AnyadeEstimuloAPuntoEstimulacion(const QSqlDatabase &db, int idPaciente, qint16 fila,
                                              qint16 columna, bool si, bool no, bool duda, int pasada);

// Adds one estimulo row with the next table-wide id; returns that id.
int AnyadeNuevoEstimulo(const QSqlDatabase &db, int idPunto, const QString &color, qint16 intensidad,
                        qint16 hayfosfeno, qint16 pasada, const QString &observaciones,
                        const QString &archivopuntos, qint16 orientacion, const QDateTime &fecha,
                        quint8 TipoBobina, quint8 PulsoTipo, qint32 NumeroPulsos, qint32 PulsoFrecuencia,
                        qint32 PulsoIntensidad, quint8 PulsoFase);

struct DeletedEntry {
    bool stimulusDeleted = false; // a stimulus of the experiment was found and deleted
    bool pointDeleted = false;    // the point had no answer left and was deleted
    QString archivopuntos;        // drawing name of the deleted stimulus ("" when it had none)
    int stimulusId = 0;           // id of the deleted stimulus
};

// Deletes the first stimulus of the experiment at the subject's point (fila, columna) with its
// drawing, lowers the counter of its answer, and deletes the point when all its counters are 0.
DeletedEntry BorraEstimuloAPuntoEstimulacion(const QSqlDatabase &db, int idPaciente, qint16 fila,
                                             qint16 columna, int pasada);

// Grid cell of a point stored relative to the subject's centre (GridCells::cellAt): row = fila +
// filaCentro, column = columna + columnaCentro; -1 when it falls off the grid.
int cellOfPoint(int fila, int columna, int filaCentro, int columnaCentro);
// The point (fila, columna) relative to the centre that a grid cell stands for (GridCells::offsetOf).
struct Point {
    qint16 fila;
    qint16 columna;
};
Point pointOfCell(int celda, int filaCentro, int columnaCentro);

// The subject's points stimulated in the experiment (those with at least one stimulus of it).
QList<Point> pointsOfExperiment(const QSqlDatabase &db, int idPaciente, int pasada);

// Tests pass a checkpoint to make a step fail: it is called with the name of each step done
// ("point", "stimulus", "drawing", "delete") and may throw.
using Checkpoint = std::function<void(const char *step)>;

struct SavedEntry {
    int pointId = 0;
    int stimulusId = 0;
    QString archivopuntos;
    bool laterExperiment = false;
};

// "Save and continue": point row, stimulus row and (unless the answer is "No") its drawing, in one
// transaction. Throws StudyError; then the study is as before.
SavedEntry saveEntry(const QSqlDatabase &db, int idPaciente, qint16 fila, qint16 columna, int pasada,
                     const Entry &entrada, const QList<DrawingFile::PointRecord> &dibujo,
                     const Checkpoint &checkpoint = {});

// "Delete": the stimulus of the experiment at the point with its drawing, its counter and the point
// when left empty, in one transaction.
DeletedEntry deleteEntry(const QSqlDatabase &db, int idPaciente, qint16 fila, qint16 columna, int pasada,
                         const Checkpoint &checkpoint = {});

// A numeric text of the entry: a whole number within [minimo, maximo], blanks around it allowed.
// Empty when it is not; the window then refuses the entry naming the field.
std::optional<qint64> wholeNumberInRange(const QString &texto, qint64 minimo, qint64 maximo);

} // namespace StimulusStore
