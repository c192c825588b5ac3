#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// The main window's imageView: shows the view bitmap at its own size, with a cross cursor.
// Mouse presses, moves, releases and double presses are passed on as view-pixel
// coordinates. What a tool shows over the picture (smart selection's proposal, the
// scale's marks) is drawn by PaintOver after the view, never into it.
class ImageView : public QWidget {
    Q_OBJECT
public:
    ImageView(const QImage& view, QWidget* parent = nullptr);

    // The bitmap changed size: take the new size.
    void SizeToView();

    // While set, the picture is drawn by this instead of straight from the view (the
    // before-and-after comparison): it draws the region given, in view coordinates.
    std::function<void(QPainter&, const QRegion&)> DrawPicture;

    // Draws over the view's pixels in the repainted area (view coordinates, the
    // painter clipped to it): smart selection's proposal and the stroke being drawn,
    // the scale tool's marks.
    std::function<void(QPainter& painter, const QRect& area)> PaintOver;

signals:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);
    void MouseUp(Qt::MouseButton button, QPoint position);
    void MouseLeave();
    void MouseDoubleClick(Qt::MouseButton button, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QImage& view_;
};
