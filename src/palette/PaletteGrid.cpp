#include "palette/PaletteGrid.h"

#include "palette/PaletteCells.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

using PaletteLayout::CellHeight;

PaletteGrid::PaletteGrid(const ShadeList& shades, QWidget* parent)
    : QAbstractScrollArea(parent), shades_(shades) {
    setObjectName(QStringLiteral("shadeGrid"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, PaletteCells::GridBackground);
    palette.setColor(QPalette::Base, PaletteCells::GridBackground);
    viewport()->setPalette(palette);
    verticalScrollBar()->setSingleStep(1);
}

void PaletteGrid::SetShape(PaletteLayout::GridShape shape) {
    shape_ = shape;
    // A selected cell outside the grid moves to its last column or row.
    if (current_.x() >= 0) {
        current_ = QPoint(std::min(current_.x(), shape_.columns - 1),
                          std::min(current_.y(), shape_.rows - 1));
    }
    // The bar shows when the rows do not fit; the columns were counted beside it.
    const bool scrolls = shape_.rows * CellHeight > height();
    setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    UpdateScrollRange();
    viewport()->update();
}

int PaletteGrid::VisibleRows() const {
    return std::max(1, viewport()->height() / CellHeight);
}

void PaletteGrid::UpdateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    const int visible = VisibleRows();
    bar->setPageStep(visible);
    bar->setRange(0, std::max(0, shape_.rows - visible));
}

int PaletteGrid::TopRow() const {
    return verticalScrollBar()->value();
}

void PaletteGrid::SetCurrentCell(QPoint cell) {
    current_ = cell.x() < 0 || cell.y() < 0 ? QPoint(-1, -1) : cell;
    if (current_.x() >= 0)
        ScrollTo(current_);
    viewport()->update();
}

void PaletteGrid::ScrollTo(QPoint cell) {
    QScrollBar* bar = verticalScrollBar();
    const int visible = VisibleRows();
    if (cell.y() < bar->value())
        bar->setValue(cell.y());
    else if (cell.y() >= bar->value() + visible)
        bar->setValue(cell.y() - visible + 1);
}

QPoint PaletteGrid::CellAt(QPoint viewportPoint) const {
    return PaletteLayout::CellAt(viewportPoint + QPoint(0, TopRow() * CellHeight), shape_);
}

QRect PaletteGrid::CellRectInView(QPoint cell) const {
    return PaletteLayout::CellRect(cell).translated(0, -TopRow() * CellHeight);
}

void PaletteGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const int offset = TopRow() * CellHeight;
    painter.translate(0, -offset);
    const QRect area = event->rect().translated(0, offset);
    PaletteCells::Paint(painter, shades_, shape_, area, hasFocus() ? current_ : QPoint(-1, -1));
}

void PaletteGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
    emit Resized();
}

void PaletteGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint cell = CellAt(event->position().toPoint());
    if (cell.x() >= 0)
        emit CellChosen(cell);
}

void PaletteGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked();
}

void PaletteGrid::keyPressEvent(QKeyEvent* event) {
    QPoint to = current_.x() < 0 ? QPoint(0, 0) : current_;
    const int lastColumn = shape_.columns - 1, lastRow = shape_.rows - 1;
    switch (event->key()) {
    case Qt::Key_Left:
        to.rx() -= 1;
        break;
    case Qt::Key_Right:
        to.rx() += 1;
        break;
    case Qt::Key_Up:
        to.ry() -= 1;
        break;
    case Qt::Key_Down:
        to.ry() += 1;
        break;
    case Qt::Key_PageUp:
        to.ry() -= VisibleRows();
        break;
    case Qt::Key_PageDown:
        to.ry() += VisibleRows();
        break;
    case Qt::Key_Home:
        to = event->modifiers() & Qt::ControlModifier ? QPoint(0, 0) : QPoint(0, to.y());
        break;
    case Qt::Key_End:
        to = event->modifiers() & Qt::ControlModifier ? QPoint(lastColumn, lastRow)
                                                      : QPoint(lastColumn, to.y());
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    to = QPoint(std::clamp(to.x(), 0, lastColumn), std::clamp(to.y(), 0, lastRow));
    if (to != current_)
        emit CellChosen(to);
}

void PaletteGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void PaletteGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void PaletteGrid::scrollContentsBy(int, int) {
    viewport()->update();
}
