#include "widgets/GradientStrip.h"

#include <QPaintEvent>
#include <QPainter>

GradientStrip::GradientStrip(const QImage& gradient, const QColor& fallback, QWidget* parent)
    : QWidget(parent), gradient_(gradient), fallback_(fallback) {}

void GradientStrip::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, fallback_);
    const int last = std::min(area.bottom(), gradient_.height() - 1);
    for (int y = std::max(area.top(), 0); y <= last; ++y)
        painter.fillRect(area.left(), y, area.width(), 1, gradient_.pixelColor(0, y));
}

QLabel* AddBandTitle(GradientStrip* band, const QString& text) {
    auto* title = new QLabel(text, band);
    QFont serif(QStringLiteral("DejaVu Serif"));
    serif.setStyleHint(QFont::Serif);
    serif.setPixelSize(19);
    title->setFont(serif);
    title->setStyleSheet(QStringLiteral("QLabel { color: black; background: transparent; }"));
    title->adjustSize();
    title->move(40, 17);
    return title;
}
