#pragma once

#include <QRect>
#include <QSize>
#include <QtGlobal>

// The stimulation grid's 50 cells: 5 rows of 10, index = 10 x row + column, row 0 at the bottom.
// Positions are given in twips (1/1440 inch), the units the grid control was designed in; the
// control converts them with the screen's logical resolution.
namespace GridCells {

inline constexpr int Rows = 5;
inline constexpr int Columns = 10;
inline constexpr int Count = Rows * Columns;
inline constexpr int DefaultIndex = 14;

constexpr int index(int row, int column) {
    return 10 * row + column;
}
constexpr int row(int index) {
    return index / 10;
}
constexpr int column(int index) {
    return index % 10;
}
constexpr bool isValid(int index) {
    return index >= 0 && index < Count;
}

// A point stored as rows and columns away from a subject's centre cell.
struct Offset {
    qint64 row = 0;
    qint64 column = 0;
};

// The cell of the point rowsAway, columnsAway from the centre cell (centreRow, centreColumn); -1 when
// it falls off the grid. The sums are taken in 64 bits, so no centre read from a row overflows them.
constexpr int cellAt(int rowsAway, int columnsAway, int centreRow, int centreColumn) {
    const qint64 r = qint64(rowsAway) + centreRow;
    const qint64 c = qint64(columnsAway) + centreColumn;
    return r >= 0 && r < Rows && c >= 0 && c < Columns ? index(int(r), int(c)) : -1;
}
// The point, away from the centre cell, that a cell stands for.
constexpr Offset offsetOf(int cell, int centreRow, int centreColumn) {
    return Offset{qint64(row(cell)) - centreRow, qint64(column(cell)) - centreColumn};
}

enum class Direction { Up, Down, Left, Right };

// The cell an arrow key moves to. Up is towards row 4 (the top row on screen). At an edge the
// selection stays where it is rather than wrapping, so holding a key cannot jump across the grid.
int neighbour(int index, Direction direction);

// Design size of the control and of its parts, in twips.
inline constexpr QSize DesignSize(2850, 1800);
QRect cellRect(int index);
QRect rowLabelRect(int row);
QRect columnLabelRect(int column); // columns 0 to 8 have a label; column 9 has none
inline constexpr QRect TPosRect(1260, 1440, 345, 300);

} // namespace GridCells
