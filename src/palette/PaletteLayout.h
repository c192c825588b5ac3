#pragma once

#include <QPoint>
#include <QRect>

// The palette grid's arithmetic: the catalogue's shade list laid out row after row
// in cells of 30 × 15 pixels, cell k in column k mod M and row k div M.
namespace PaletteLayout {

inline constexpr int CellWidth = 30;
inline constexpr int CellHeight = 15;

struct GridShape {
    int columns = 1;
    int rows = 1;
    bool operator==(const GridShape&) const = default;
};

// M = width div 30 (at least 1); N div M rows, one more for a part row, at least one.
GridShape LayoutGrid(int width, int shadeCount);
// The rows for count shades in the given number of columns (at least one).
int RowsFor(int columns, int shadeCount);

// As LayoutGrid for a grid of width × height whose vertical scroll bar, when the rows
// do not fit, takes scrollBarWidth pixels: the columns then fit beside the bar, so
// no cell hides under it.
GridShape LayoutGridBesideScrollBar(int width, int height, int shadeCount, int scrollBarWidth);

// The cell that shows row k of the list.
QPoint CellOfRow(int row, int columns);
// The list row a cell shows, or -1 for a cell after the last shade (or outside).
int RowOfCell(QPoint cell, int columns, int shadeCount);
// The cell under a point of the grid's content (the first cell's corner at 0, 0);
// (-1, -1) outside the grid's columns and rows.
QPoint CellAt(QPoint point, GridShape shape);

// A cell's rectangle in the grid's content (right and bottom edges inside, as QRect).
QRect CellRect(QPoint cell);
// The first and last rows and columns that an area of the content touches, clipped
// to the grid; an empty rectangle when it touches none.
QRect CellsIn(const QRect& area, GridShape shape);

} // namespace PaletteLayout
