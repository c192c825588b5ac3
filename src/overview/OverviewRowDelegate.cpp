#include "overview/OverviewRowDelegate.h"

#include "overview/OverviewRowPainter.h"
#include "overview/OverviewWindow.h"

#include <QPainter>

void OverviewRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const OverviewRow row = window_.RowToPaint(window_.LayerOfRow(index.row()));
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    Overview::PaintRow(*painter, option.rect, selected, row, option.font);
    // The suggested quantity takes a click: underlined as a link.
    const QRect suggestion = Overview::SuggestedRect(option.rect, row, option.font);
    if (!suggestion.isEmpty()) {
        painter->save();
        painter->setPen(QPen(selected ? QColor(Qt::white) : QColor(20, 90, 170), 1));
        painter->drawLine(suggestion.bottomLeft(), suggestion.bottomRight());
        painter->restore();
    }
}

QSize OverviewRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return QSize(option.rect.width(), Overview::RowHeight);
}
