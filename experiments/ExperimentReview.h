#pragma once

#include "experiments/StimulusStore.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// What the experiment viewer and editor reads and writes, without any widget: the cells of an
// experiment, the stimulus shown at a cell, and the three corrections the editor applies. Each
// function throws StudyError when the engine fails.
namespace ExperimentReview {

// One estimulo row as stored; a column that is null is absent.
struct StoredStimulus {
    int id = 0;
    std::optional<qint16> hayfosfeno;
    std::optional<QString> observaciones;
    std::optional<qint16> intensidad;
    std::optional<QString> color;
    std::optional<QString> fecha;
    std::optional<qint16> TipoBobina;
    std::optional<qint16> PulsoTipo;
    std::optional<qint16> PulsoFase;
    std::optional<qint16> orientacion;
    std::optional<qint32> NumeroPulsos;
    std::optional<qint32> PulsoFrecuencia;
    std::optional<qint32> PulsoIntensidad;
    std::optional<QString> archivopuntos;
};

// The subject's point at a grid cell and its stimulus of one experiment.
struct ShownPoint {
    int pointId = 0;
    std::optional<StoredStimulus> stimulus; // absent when the point has none in the experiment
};

// Cells of the subject's points that have a stimulus of the experiment, for the grid's marks.
QList<int> cellsOfExperiment(const QSqlDatabase &db, int idPaciente, int pasada, int filaCentro,
                             int columnaCentro);

// The first of the subject's points (in point number order) whose cell is `cell`, with its first
// stimulus (in id order) of experiment `pasada`. Absent when no point lies on the cell.
std::optional<ShownPoint> pointAtCell(const QSqlDatabase &db, int idPaciente, int cell, int filaCentro,
                                      int columnaCentro, int pasada);

// The perception the editor corrects on one stimulus.
struct Perception {
    QString observaciones;
    qint16 intensidad = 0;
    QString color;
};

// The three corrections. Each is one transaction and returns the number of stimuli written. The
// pulse count, frequency and intensity are stored as absolute values; the answer, date,
// experiment number and drawing name are never written, and no point counter changes.
//
// "Aply to this PERCEPTION": every stimulus of the point in the experiment gets the perception, the
// parameters and the orientation.
int applyToPerception(const QSqlDatabase &db, int idPunto, int pasada, const Perception &perception,
                      const StimulusStore::Parameters &parameters);
// "Aply to ALL THE EXPERIMENT": every stimulus of the experiment at any of the subject's points
// gets the parameters (not the orientation).
int applyToExperiment(const QSqlDatabase &db, int idPaciente, int pasada,
                      const StimulusStore::Parameters &parameters);
// "Aply to THIS SUBJECT": every stimulus of the subject, whatever its experiment, gets the
// parameters (not the orientation).
int applyToSubject(const QSqlDatabase &db, int idPaciente, const StimulusStore::Parameters &parameters);

} // namespace ExperimentReview
