#pragma once

#include <QImage>
#include <QWidget>

// The main window's imageView: shows the view bitmap at its own size, with a cross cursor.
// Mouse presses and moves are passed on as view-pixel coordinates.
class ImageView : public QWidget {
    Q_OBJECT
public:
    ImageView(const QImage& view, QWidget* parent = nullptr);

    // The bitmap changed size: take the new size.
    void SizeToView();

signals:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);
    void MouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QImage& view_;
};
