#pragma once

#include <QRect>
#include <QSize>

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
