#include "app/ImageView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

ImageView::ImageView(const QImage& view, QWidget* parent) : QWidget(parent), view_(view) {
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SizeToView();
}

void ImageView::SizeToView() {
    setFixedSize(view_.isNull() ? QSize(0, 0) : view_.size());
}

void ImageView::paintEvent(QPaintEvent* event) {
    if (view_.isNull())
        return;
    QPainter painter(this);
    const QRect area = event->rect() & view_.rect();
    if (DrawPicture) {
        painter.save();
        DrawPicture(painter, event->region());
        painter.restore();
    } else {
        painter.drawImage(area.topLeft(), view_, area);
    }
    if (PaintOver) {
        painter.setClipRect(area);
        PaintOver(painter, area);
    }
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(event->button(), event->position().toPoint());
}

// The second press of a double click is no press of its own: a tool that places
// marks would place a second one on the first.
void ImageView::mouseDoubleClickEvent(QMouseEvent* event) {
    emit MouseDoubleClick(event->button(), event->position().toPoint());
}

void ImageView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit MouseLeave();
}
