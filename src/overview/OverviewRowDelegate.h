#pragma once

#include <QStyledItemDelegate>

class OverviewWindow;

// Draws an overview row from its layer, asking the catalogue anew on every paint.
class OverviewRowDelegate : public QStyledItemDelegate {
public:
    OverviewRowDelegate(OverviewWindow& window, QObject* parent)
        : QStyledItemDelegate(parent), window_(window) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    OverviewWindow& window_;
};
