#pragma once

#include <QStyledItemDelegate>

class Workspace;

// A row of the layer list (27 high): visibility mark, lock, shade swatch, name, and
// a red cross over a subordinate layer's marks.
class LayerRowDelegate : public QStyledItemDelegate {
public:
    LayerRowDelegate(const Workspace& workspace, QObject* parent)
        : QStyledItemDelegate(parent), ws_(workspace) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(129, 27);
    }

private:
    const Workspace& ws_;
};
