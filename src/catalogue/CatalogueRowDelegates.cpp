#include "catalogue/CatalogueRowDelegates.h"

#include "catalogue/CatalogueModel.h"
#include "widgets/Artwork.h"

#include <QPainter>

namespace {

const QColor SelectedRow(83, 132, 176);
const QColor TextColour(31, 50, 69);

bool Selected(const QStyleOptionViewItem& option) {
    return option.state & QStyle::State_Selected;
}

} // namespace

void FanDeckRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QRect r = option.rect;
    const bool selected = Selected(option);
    painter->fillRect(r, selected ? SelectedRow : QColor(223, 247, 253));
    const int row = index.row();
    if (row >= 0 && row < model_.FanDecks.size()) {
        const FanDeckRecord& deck = model_.FanDecks[row];
        painter->drawPixmap(r.left() + 5, r.top() + 3, Artwork::FanDeckBadge(deck.alkyd, selected));
        if (deck.own) {
            painter->setPen(QColor(255, 0, 0));
            for (int x : {45, 46}) {
                painter->drawLine(r.left() + x, r.top() + 5, r.left() + x, r.top() + 11);
                painter->drawLine(r.left() + x, r.top() + 14, r.left() + x, r.top() + 15);
            }
        }
    }
    painter->setFont(option.font);
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : TextColour);
    painter->drawText(QPoint(r.left() + 52, r.top() + 4 + painter->fontMetrics().ascent()),
                      index.data().toString());
}

QSize ShadeRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return QSize(100, model_.Mode == ShadeListMode::FoundShades ? 40 : 31);
}

void ShadeRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QRect r = option.rect;
    const bool selected = Selected(option);
    const bool found = model_.Mode == ShadeListMode::FoundShades;
    painter->save();
    painter->fillRect(r, selected ? SelectedRow : QColor(235, 250, 254));
    // Frame (4, 1, 61, bottom) and swatch (5, 2, 60, bottom - 1), right and bottom exclusive.
    const int frameBottom = found ? r.height() - 2 : 30;
    painter->setPen(selected ? QColor(86, 127, 164) : QColor(202, 210, 218));
    painter->setBrush(Qt::NoBrush);
    // A one-pixel pen strokes a rectangle one pixel wider and taller than it is.
    painter->drawRect(
        QRect(QPoint(r.left() + 4, r.top() + 1), QPoint(r.left() + 59, r.top() + frameBottom - 2)));
    const QRect swatch(QPoint(r.left() + 5, r.top() + 2),
                       QPoint(r.left() + 59, r.top() + frameBottom - 2));
    const int row = index.row();
    if (row >= 0 && row < model_.Shades.size()) {
        const ShadeRecord& shade = model_.Shades[row];
        if (shade.HasColour())
            painter->fillRect(swatch, QColor(shade.red, shade.green, shade.blue));
        else
            painter->fillRect(swatch, QBrush(QColor(255, 0, 0), Qt::DiagCrossPattern));
        painter->setPen(QColor(102, 102, 102));
        painter->drawRect(swatch.adjusted(0, 0, -1, -1));
    }
    QFont font = option.font;
    font.setBold(found);
    painter->setFont(font);
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : TextColour);
    painter->drawText(
        QPoint(r.left() + 70, r.top() + (found ? 6 : 8) + painter->fontMetrics().ascent()),
        index.data().toString());
    if (found && row >= 0 && row < model_.Shades.size()) {
        font.setBold(false);
        // One size smaller, whether the font is given in pixels or in points.
        if (font.pixelSize() > 1)
            font.setPixelSize(font.pixelSize() - 1);
        else if (font.pointSizeF() > 1)
            font.setPointSizeF(font.pointSizeF() - 1);
        painter->setFont(font);
        painter->setPen(QColor(103, 148, 188));
        painter->drawText(QPoint(r.left() + 80, r.top() + 24 + painter->fontMetrics().ascent()),
                          model_.Shades[row].fanDeckLabel);
    }
    painter->restore();
}

void PaintKindRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const QRect r = option.rect;
    const bool selected = Selected(option);
    painter->fillRect(r, selected ? QColor(51, 153, 204) : QColor(230, 242, 255));
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : TextColour);
    painter->drawText(QPoint(r.left() + 4, r.top() + 1 + painter->fontMetrics().ascent()),
                      index.data().toString());
}
