#include "editing/CursorMarker.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

void InvertPixel(QImage& view, int x, int y) {
    if (x < 0 || y < 0 || x >= view.width() || y >= view.height())
        return;
    uchar* p = view.scanLine(y) + 3 * x;
    p[0] = uchar(~p[0]);
    p[1] = uchar(~p[1]);
    p[2] = uchar(~p[2]);
}

} // namespace

void CursorMarker::Invert(QImage& view) const {
    if (view.isNull())
        return;
    const int h = halfSize_;
    for (int y = centre_.y() - h; y < centre_.y() + h; ++y)
        for (int x = centre_.x() - h; x < centre_.x() + h; ++x)
            InvertPixel(view, x, y);
    if (lineStart_.x() < 0 || lineStart_ == centre_)
        return;
    // The line from its start to the centre, the end point excluded.
    const int dx = centre_.x() - lineStart_.x(), dy = centre_.y() - lineStart_.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < steps; ++i) {
        const int x = lineStart_.x() + int(std::lround(double(dx) * i / steps));
        const int y = lineStart_.y() + int(std::lround(double(dy) * i / steps));
        InvertPixel(view, x, y);
    }
}

void CursorMarker::DrawMarker(QImage& view, QPoint centre, QPoint lineStart, int halfSize) {
    EraseMarker(view);
    centre_ = centre;
    lineStart_ = lineStart;
    halfSize_ = halfSize;
    known_ = true;
    DrawMarker(view);
}

void CursorMarker::DrawMarker(QImage& view) {
    if (!known_ || MarkerDrawn)
        return;
    Invert(view);
    MarkerDrawn = true;
}

void CursorMarker::EraseMarker(QImage& view) {
    if (!MarkerDrawn)
        return;
    Invert(view);
    MarkerDrawn = false;
}

QRect CursorMarker::Bounds() const {
    if (!known_)
        return QRect();
    QRect bounds(centre_ - QPoint(halfSize_, halfSize_), centre_ + QPoint(halfSize_, halfSize_));
    if (lineStart_.x() >= 0)
        bounds |= QRect(lineStart_, centre_).normalized();
    return bounds.adjusted(-1, -1, 1, 1);
}
