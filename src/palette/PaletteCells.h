#pragma once

#include "catalogue/CatalogueRecords.h"
#include "palette/PaletteLayout.h"

#include <QColor>

class QPainter;

// Drawing the palette grid's cells: a shade's colour with 1-pixel gaps in the grid's
// background, a small red cross for a shade without colour, the background for the
// cells after the last shade, and the focus frame of the current cell.
namespace PaletteCells {

inline const QColor GridBackground(221, 231, 240);
inline const QColor FocusFrame(187, 207, 225);
inline const QColor NoColourCross(255, 0, 0);

// Paints the cells that area (in the grid's content, the first cell's corner at 0, 0)
// touches and nothing else; the painter draws in content coordinates. focusCell gets
// the frame; (-1, -1) for none.
void Paint(QPainter& painter, const ShadeList& shades, PaletteLayout::GridShape shape,
           const QRect& area, QPoint focusCell);

// The part of a cell that shows its colour: all but the gap on its right and bottom
// (and on its left in column 0, at its top in row 0).
QRect ColourArea(QPoint cell);

} // namespace PaletteCells
