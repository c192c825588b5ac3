#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QString>
#include <QWidget>

// A paint box that paints each pixel row as a line across its width, in the colour
// of the matching row of a narrow gradient picture; rows below the picture keep the
// fallback colour. Panels and dialog backgrounds use it.
class GradientStrip : public QWidget {
public:
    GradientStrip(const QImage& gradient, const QColor& fallback, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage gradient_;
    QColor fallback_;
};

// The title of a window's top band: black serif text at the band's left.
QLabel* AddBandTitle(GradientStrip* band, const QString& text);
