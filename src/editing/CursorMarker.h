#pragma once

#include <QImage>
#include <QPoint>

// The inverting marker that the editing tools draw into the view under the pointer.
// Every re-render erases it first and draws it again afterwards, so that it is
// never baked into the repainted pixels; while nothing is drawn both do nothing.
class CursorMarker {
public:
    void EraseMarker(QImage& view);
    void DrawMarker(QImage& view);
    void Reset() { MarkerDrawn = false; }

    bool MarkerDrawn = false;
};
