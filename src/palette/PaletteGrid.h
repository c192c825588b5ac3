#pragma once

#include "catalogue/CatalogueRecords.h"
#include "palette/PaletteLayout.h"

#include <QAbstractScrollArea>

// The palette's grid of shade cells ("shadeGrid"): it draws the cells of the rows in
// view and reports the cell the user chooses; what a choice does is the window's.
// It scrolls by whole rows.
class PaletteGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    PaletteGrid(const ShadeList& shades, QWidget* parent = nullptr);

    PaletteLayout::GridShape Shape() const { return shape_; }
    void SetShape(PaletteLayout::GridShape shape);

    // The grid's selected cell; (-1, -1) when none. Setting it brings it into view
    // and chooses nothing.
    QPoint CurrentCell() const { return current_; }
    void SetCurrentCell(QPoint cell);
    void ClearCurrentCell() { SetCurrentCell(QPoint(-1, -1)); }

    // The first row in view.
    int TopRow() const;
    // The cell under a point of the viewport; (-1, -1) outside the cells.
    QPoint CellAt(QPoint viewportPoint) const;
    // A cell's rectangle in the viewport.
    QRect CellRectInView(QPoint cell) const;

signals:
    // A cell was chosen by a press or a key; the window decides what it selects.
    void CellChosen(QPoint cell);
    void DoubleClicked();
    void Resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollRange();
    void ScrollTo(QPoint cell);
    int VisibleRows() const;

    const ShadeList& shades_;
    PaletteLayout::GridShape shape_;
    QPoint current_{-1, -1};
};
