#include "widgets/GlintImage.h"

#include <QMouseEvent>
#include <QPainter>

TGlintImage::TGlintImage(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
}

void TGlintImage::SetPicture(const QPixmap& picture) {
    picture_ = picture.copy();
    ++displayChanges_;
    if (!picture_.isNull())
        setFixedSize(picture_.size() / picture_.devicePixelRatio());
    update();
}

void TGlintImage::SetShowFixedPicture(bool value) {
    if (value == showFixed_)
        return;
    showFixed_ = value;
    SetPicture(value ? fixed_ : normal_);
}

void TGlintImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void TGlintImage::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    if (!mouseOver_ && overChange_ && !showFixed_) {
        mouseOver_ = true;
        SetPicture(over_);
    }
}

void TGlintImage::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit OnMouseLeave(this);
    mouseOver_ = false;
    if (overChange_ && !showFixed_)
        SetPicture(normal_);
}

void TGlintImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
}

void TGlintImage::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit Click();
}

TGlintImage* MakeGlintImage(QWidget* parent, const QString& name, const QPixmap& normal,
                            const QPixmap& over, const QString& hint, const QPixmap& fixed) {
    auto* button = new TGlintImage(parent);
    button->setObjectName(name);
    button->SetNormalPicture(normal);
    button->SetOverPicture(over);
    button->SetFixedPicture(fixed);
    button->SetOverChange(true);
    button->SetPicture(normal);
    button->setToolTip(hint);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}
