#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

// The inverting marker that the editing tools draw into the view under the pointer:
// a square of half-size h around the centre and, for the line tool, a line from the
// chain's last point. Every re-render erases it first and draws it again after, so
// it is never baked into the repainted pixels; inverting twice restores the pixels.
class CursorMarker {
public:
    // Moves the marker (view pixels); lineStart x < 0 means no line.
    void DrawMarker(QImage& view, QPoint centre, QPoint lineStart, int halfSize);
    // Draws the marker again where it was last drawn (after a re-render).
    void DrawMarker(QImage& view);
    void EraseMarker(QImage& view);
    // The view pixels the marker covers where it was last placed.
    QRect Bounds() const;
    void Reset() {
        MarkerDrawn = false;
        known_ = false;
    }

    bool MarkerDrawn = false;

private:
    void Invert(QImage& view) const;

    bool known_ = false;
    QPoint centre_;
    QPoint lineStart_{-1, -1};
    int halfSize_ = 0;
};
