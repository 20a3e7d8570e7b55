#pragma once

#include "core/GridCells.h"
#include "experiments/StimulationComparison.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSqlDatabase>
#include <QVector>

#include <array>

// The phosphene map of a study: for every grid cell, how many stimuli were given there and how the
// subjects answered, over the chosen subjects and the stimuli that pass the parameter filter; and for
// one cell, the density of its drawings. No widgets: the map window, the tool's `map` command and the
// tests use it alike.
//
// A stimulus counts for the cell it acted on: its point placed with its own subject's centre, then
// moved by the coil as the comparison window moves it (DesplazaCelda). A point off the grid, or of
// a subject whose centre is missing, counts for no cell.
namespace PhospheneMap {

struct Selection {
    // The parameter conditions (StimulationComparison::buildFilter); it must be ok().
    StimulationComparison::Filter filter;
    // The subjects counted; every subject when empty.
    QList<int> subjects;
};

struct CellCounts {
    int stimuli = 0;
    int yes = 0;   // answer 0, a phosphene
    int no = 0;    // answer 1
    int doubt = 0; // answer 2
    // Share of the cell's stimuli answered with a phosphene; 0 without stimuli.
    double rate() const { return stimuli > 0 ? double(yes) / stimuli : 0.0; }
};

struct Counts {
    std::array<CellCounts, GridCells::Count> cells{};
    int offGrid = 0; // stimuli that passed the filter and count for no cell
    int total() const;
};

// Throws StudyError when the engine fails or the filter is not ok().
Counts count(const QSqlDatabase &db, const Selection &selection);

// The drawings of one cell laid over each other: every drawing's covered samples
// (DrawingShape::coverage) add one, so a sample's value divided by `drawings` is the share of the
// drawings that cover it. meanCentre is the mean of the drawings' centres, in canvas units.
struct Density {
    int cell = -1;
    int drawings = 0;
    QVector<int> samples; // DrawingShape::MaskSide squared, row by row
    QPointF meanCentre;
};

Density density(const QSqlDatabase &db, const Selection &selection, int cell);

// The numbers as CSV: the header "cell,stimuli,yes,no,doubt,rate", then one line per cell 0 to 49,
// the rate with four decimals and empty for a cell without stimuli.
QByteArray csv(const Counts &counts);

// Where the map's parts lie in a picture of the given size; the map window finds the cell under
// the mouse with it.
struct MapGeometry {
    double left = 0;
    double top = 0;
    double cellWidth = 1;
    double cellHeight = 1;
    double legendLeft = 0;
    int fontPixels = 9;
    QRectF cellRect(int cell) const;
    int cellAt(QPointF point) const; // -1 outside the cells
};
MapGeometry mapGeometry(QSize size);

// Pictures of the map (rate as colour, counts written in each cell, rows and columns labelled as
// the grid control labels them, a legend; the selected cell outlined when 0 to 49) and of a density
// (share as colour over the canvas, the mean centre marked).
QImage renderMap(const Counts &counts, int selectedCell, QSize size);
QImage renderDensity(const Density &density, QSize size);

// The colour of a share from 0 to 1: white through yellow and orange to dark red.
QColor heat(double share);

} // namespace PhospheneMap
