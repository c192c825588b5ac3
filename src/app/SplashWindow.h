#pragma once

#include <QPixmap>
#include <QWidget>

// The borderless start-up picture, 460 × 337, centred, with a one-pixel black frame.
class SplashWindow : public QWidget {
public:
    SplashWindow();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};
