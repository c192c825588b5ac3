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
    if (DrawPicture) {
        DrawPicture(painter, event->region());
        return;
    }
    const QRect area = event->rect() & view_.rect();
    painter.drawImage(area.topLeft(), view_, area);
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
}

void ImageView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit MouseLeave();
}
