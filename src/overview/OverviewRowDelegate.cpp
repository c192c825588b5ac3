#include "overview/OverviewRowDelegate.h"

#include "overview/OverviewRowPainter.h"
#include "overview/OverviewWindow.h"

void OverviewRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const OverviewRow row = window_.RowOfLayer(window_.LayerOfRow(index.row()));
    Overview::PaintRow(*painter, option.rect, option.state.testFlag(QStyle::State_Selected), row,
                       option.font);
}

QSize OverviewRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return QSize(option.rect.width(), Overview::RowHeight);
}
