#pragma once

#include "overview/OverviewRows.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QString>

class QPainter;

namespace Overview {

inline constexpr int RowHeight = 90;
inline constexpr int TextLeft = 100; // every text of a row starts this far from its left
inline constexpr int TextRight = 10; // measured texts end this far from its right
QColor RowBackground();              // RGB(235, 250, 254)
QColor SelectedRowBackground();      // RGB(10, 159, 197)

// One text of a row: its top lies fromBottom pixels above the row's bottom edge.
struct RowText {
    QString text;
    int fromBottom = 0;
    int pointSize = 8;
    bool bold = false;
    bool right = false; // ends TextRight from the row's right edge instead

    bool operator==(const RowText&) const = default;
};

// The texts of a row in the order they are drawn: the shade, the layer's name,
// the fan deck, the paint kind and the quantity; from the top a row reads name,
// fan deck, shade, paint kind, quantity. With units the quantity carries the paint
// kind's unit ("Množství: 12 Kg"); the overview itself shows the bare number. A
// measured row adds, in the free space on the right, its area beside the name
// ("Plocha: 42,5 m²") and its suggested quantity beside the quantity ("Spotřeba: 6 l").
QList<RowText> RowTexts(const OverviewRow& row, bool withUnit = false);

// Where a text of a row is drawn, in font's family, on a row of 90 at rect.
QRect TextRect(const QRect& rect, const RowText& text, const QFont& font);

// Where the row's suggested quantity is drawn (a click there takes it), or an empty
// rectangle when the row has none.
QRect SuggestedRect(const QRect& rect, const OverviewRow& row, const QFont& font);

// The swatch: 60 × 50 pixels at (20, 20) from the row's top left, outline included.
QRect SwatchRect(const QRect& row);

// Draws a row into rect (90 high): the background, the swatch of every shade that
// has a colour, and the texts in font's family at Left + 100.
void PaintRow(QPainter& painter, const QRect& rect, bool selected, const OverviewRow& row,
              const QFont& font, bool withUnit = false);

} // namespace Overview
