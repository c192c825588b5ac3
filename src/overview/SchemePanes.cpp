#include "overview/SchemePanes.h"

#include "render/RenderRegion.h"
#include "render/ZoomMath.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace Panes {

namespace {

bool IsPowerOfTwo(float zoom) {
    int exponent = 0;
    return std::frexp(zoom, &exponent) == 0.5f;
}

// The smallest power of two at or above zoom (zoom > 0).
float PowerAtOrAbove(float zoom) {
    int exponent = 0;
    const float mantissa = std::frexp(zoom, &exponent);
    return mantissa == 0.5f ? zoom : std::ldexp(1.0f, exponent);
}

} // namespace

float FitZoom(QSize photo, QSize pane) {
    if (photo.isEmpty() || pane.isEmpty())
        return 1.0f;
    const float fit = std::min(float(pane.width()) / float(photo.width()),
                               float(pane.height()) / float(photo.height()));
    return std::min(fit, MaxZoom);
}

float ZoomedIn(float zoom, float fit) {
    if (!(zoom > 0.0f))
        return fit;
    const float next = IsPowerOfTwo(zoom) ? 2.0f * zoom : PowerAtOrAbove(zoom);
    return next > MaxZoom ? zoom : std::max(next, fit);
}

float ZoomedOut(float zoom, float fit) {
    if (!(zoom > fit))
        return fit;
    // The power of two below zoom, or fit when that would go past it.
    const float lower = IsPowerOfTwo(zoom) ? zoom / 2.0f : PowerAtOrAbove(zoom) / 2.0f;
    return lower > fit ? lower : fit;
}

QSize ContentSize(QSize photo, float zoom) {
    return ViewSizeFor(photo, zoom);
}

float DrawingZoom(float zoom) {
    return std::min(PowerAtOrAbove(zoom), MaxZoom);
}

QImage Picture(const Document& doc, const LayerList& layers, float zoom, const QRect& area,
               const QColor& background) {
    const RenderInput input{doc.PhotoBitmap, doc.Mask, layers, DrawingZoom(zoom), false};
    if (input.ZoomFactor == zoom) {
        QImage part(area.size(), QImage::Format_BGR888);
        part.fill(background);
        RenderViewArea(input, part, area.topLeft());
        return part;
    }
    // Drawn at the power of two above and reduced: the area's pixels at that zoom,
    // with a pixel to spare where the reduction reads across the edge.
    const double ratio = double(input.ZoomFactor) / double(zoom);
    const QRect drawn = QRect(QPoint(int(std::floor(area.left() * ratio)) - 1,
                                     int(std::floor(area.top() * ratio)) - 1),
                              QPoint(int(std::ceil((area.right() + 1) * ratio)),
                                     int(std::ceil((area.bottom() + 1) * ratio)))) &
                        QRect(QPoint(0, 0), ViewSizeFor(doc.PhotoBitmap.size(), input.ZoomFactor));
    QImage shown(area.size(), QImage::Format_RGB32);
    shown.fill(background);
    if (drawn.isEmpty())
        return shown;
    QImage part(drawn.size(), QImage::Format_BGR888);
    part.fill(background);
    RenderViewArea(input, part, drawn.topLeft());
    QPainter painter(&shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF target(drawn.left() / ratio - area.left(), drawn.top() / ratio - area.top(),
                        drawn.width() / ratio, drawn.height() / ratio);
    // Only the picture's own extent at the zoom: the reduction blurs nothing beyond it.
    painter.setClipRect(QRect(-area.topLeft(), ContentSize(doc.PhotoBitmap.size(), zoom)));
    painter.drawImage(target, part);
    return shown;
}

QPoint ScrollAfterZoom(QPoint scroll, QPoint anchor, float from, float to) {
    const double ratio = double(to) / double(from);
    return QPoint(NearestInt((scroll.x() + anchor.x()) * ratio) - anchor.x(),
                  NearestInt((scroll.y() + anchor.y()) * ratio) - anchor.y());
}

} // namespace Panes
