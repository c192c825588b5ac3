#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// The main window's imageView: shows the view bitmap at its own size, with a cross cursor.
// Mouse presses and moves are passed on as view-pixel coordinates.
class ImageView : public QWidget {
    Q_OBJECT
public:
    ImageView(const QImage& view, QWidget* parent = nullptr);

    // The bitmap changed size: take the new size.
    void SizeToView();

    // Draws over the view's pixels in the repainted area (view coordinates): smart
    // selection's proposal and the stroke being drawn.
    std::function<void(QPainter& painter, const QRect& area)> PaintOver;

signals:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);
    void MouseUp(Qt::MouseButton button, QPoint position);
    void MouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QImage& view_;
};
