#pragma once

#include <QFontMetrics>
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

    // A name cut short by the ellipsis shows whole as the row's hint.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Where a row's name begins: "Originál" has no visibility mark and swatch.
    static int NameX(int row) { return row == 0 ? 45 : 55; }
    // The name as it fits into width pixels: a long one ends with an ellipsis.
    static QString ShownName(const QString& name, const QFontMetrics& metrics, int width);

private:
    const Workspace& ws_;
};
