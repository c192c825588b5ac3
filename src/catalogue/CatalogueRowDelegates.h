#pragma once

#include <QStyledItemDelegate>

class CatalogueModel;

// Fan-deck rows (20 high): badge, the red mark of an own fan deck, the name.
class FanDeckRowDelegate : public QStyledItemDelegate {
public:
    FanDeckRowDelegate(const CatalogueModel& model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(100, 20);
    }

private:
    const CatalogueModel& model_;
};

// Shade rows: a framed swatch (red cross-hatch without colour) and the name; found
// shades (40 high) also show their fan deck.
class ShadeRowDelegate : public QStyledItemDelegate {
public:
    ShadeRowDelegate(const CatalogueModel& model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override;

private:
    const CatalogueModel& model_;
};

// Paint-kind entries of the combo box (16 high).
class PaintKindRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(100, 16);
    }
};
