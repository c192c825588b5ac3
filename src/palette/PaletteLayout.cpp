#include "palette/PaletteLayout.h"

#include <algorithm>

namespace PaletteLayout {

int RowsFor(int columns, int shadeCount) {
    const int m = std::max(1, columns);
    const int n = std::max(0, shadeCount);
    return std::max(1, n / m + (n % m != 0 ? 1 : 0));
}

GridShape LayoutGrid(int width, int shadeCount) {
    const int columns = std::max(1, width / CellWidth);
    return {columns, RowsFor(columns, shadeCount)};
}

GridShape LayoutGridBesideScrollBar(int width, int height, int shadeCount, int scrollBarWidth) {
    const GridShape plain = LayoutGrid(width, shadeCount);
    if (plain.rows * CellHeight <= height)
        return plain;
    return LayoutGrid(width - scrollBarWidth, shadeCount);
}

QPoint CellOfRow(int row, int columns) {
    const int m = std::max(1, columns);
    return QPoint(row % m, row / m);
}

int RowOfCell(QPoint cell, int columns, int shadeCount) {
    if (cell.x() < 0 || cell.y() < 0 || cell.x() >= columns)
        return -1;
    const long long k = (long long)cell.y() * columns + cell.x();
    return k < shadeCount ? int(k) : -1;
}

QPoint CellAt(QPoint point, GridShape shape) {
    if (point.x() < 0 || point.y() < 0)
        return QPoint(-1, -1);
    const QPoint cell(point.x() / CellWidth, point.y() / CellHeight);
    if (cell.x() >= shape.columns || cell.y() >= shape.rows)
        return QPoint(-1, -1);
    return cell;
}

QRect CellRect(QPoint cell) {
    return QRect(cell.x() * CellWidth, cell.y() * CellHeight, CellWidth, CellHeight);
}

QRect CellsIn(const QRect& area, GridShape shape) {
    if (area.isEmpty())
        return QRect();
    const int firstColumn = std::max(0, area.left() / CellWidth);
    const int firstRow = std::max(0, area.top() / CellHeight);
    const int lastColumn = std::min(shape.columns - 1, area.right() / CellWidth);
    const int lastRow = std::min(shape.rows - 1, area.bottom() / CellHeight);
    if (area.right() < 0 || area.bottom() < 0 || firstColumn > lastColumn || firstRow > lastRow)
        return QRect();
    return QRect(QPoint(firstColumn, firstRow), QPoint(lastColumn, lastRow));
}

} // namespace PaletteLayout
