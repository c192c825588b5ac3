#include "editing/CursorMarker.h"

void CursorMarker::EraseMarker(QImage& view) {
    Q_UNUSED(view);
    if (!MarkerDrawn)
        return;
    MarkerDrawn = false;
}

void CursorMarker::DrawMarker(QImage& view) {
    Q_UNUSED(view);
}
