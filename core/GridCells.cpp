#include "core/GridCells.h"

#include <algorithm>

namespace GridCells {

int neighbour(int index, Direction direction) {
    int r = row(index);
    int c = column(index);
    switch (direction) {
    case Direction::Up:
        r = std::min(r + 1, Rows - 1);
        break;
    case Direction::Down:
        r = std::max(r - 1, 0);
        break;
    case Direction::Left:
        c = std::max(c - 1, 0);
        break;
    case Direction::Right:
        c = std::min(c + 1, Columns - 1);
        break;
    }
    return GridCells::index(r, c);
}

QRect cellRect(int index) {
    return QRect(360 + 240 * column(index), 960 - 240 * row(index), 255, 195);
}

QRect rowLabelRect(int row) {
    return QRect(120, 960 - 240 * row, 225, 195);
}

QRect columnLabelRect(int column) {
    return QRect(360 + 240 * column, 1200, 240, 195);
}

} // namespace GridCells
