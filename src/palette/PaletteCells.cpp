#include "palette/PaletteCells.h"

#include <QPainter>

namespace PaletteCells {

using PaletteLayout::CellRect;

QRect ColourArea(QPoint cell) {
    const QRect r = CellRect(cell);
    return QRect(QPoint(r.left() + (cell.x() == 0 ? 1 : 0), r.top() + (cell.y() == 0 ? 1 : 0)),
                 QPoint(r.right() - 1, r.bottom() - 1));
}

namespace {

// The diagonals of the box 10 pixels in from every edge of the cell.
void DrawCross(QPainter& painter, const QRect& cell) {
    const int left = cell.left(), top = cell.top();
    const int right = cell.left() + cell.width(), bottom = cell.top() + cell.height();
    painter.drawLine(left + 10, top + 10, right - 10, bottom - 10);
    painter.drawLine(right - 10, top + 10, left + 10, bottom - 10);
}

// A 3-pixel pen around (Left + 1, Top + 1, Right - 1, Bottom - 1): the cell's outer
// three pixels on every side.
void DrawFocusFrame(QPainter& painter, const QRect& cell) {
    const QRect& outer = cell;
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), 3), FocusFrame);
    painter.fillRect(QRect(outer.left(), outer.bottom() - 2, outer.width(), 3), FocusFrame);
    painter.fillRect(QRect(outer.left(), outer.top(), 3, outer.height()), FocusFrame);
    painter.fillRect(QRect(outer.right() - 2, outer.top(), 3, outer.height()), FocusFrame);
}

} // namespace

void Paint(QPainter& painter, const ShadeList& shades, PaletteLayout::GridShape shape,
           const QRect& area, QPoint focusCell) {
    painter.fillRect(area, GridBackground);
    const QRect cells = PaletteLayout::CellsIn(area, shape);
    if (cells.isEmpty())
        return;
    const int count = int(shades.size());
    painter.save();
    painter.setPen(QPen(NoColourCross, 0));
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int row = cells.top(); row <= cells.bottom(); ++row) {
        for (int column = cells.left(); column <= cells.right(); ++column) {
            const int k = PaletteLayout::RowOfCell(QPoint(column, row), shape.columns, count);
            if (k < 0)
                break; // the rest of the row lies after the last shade
            const ShadeRecord& shade = shades[k];
            if (shade.HasColour()) {
                painter.fillRect(ColourArea(QPoint(column, row)),
                                 QColor(shade.red & 0xFF, shade.green & 0xFF, shade.blue & 0xFF));
            } else {
                DrawCross(painter, CellRect(QPoint(column, row)));
            }
        }
    }
    if (cells.contains(focusCell))
        DrawFocusFrame(painter, CellRect(focusCell));
    painter.restore();
}

} // namespace PaletteCells
