#include "render/BeforeAfter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>

namespace {

const QColor LineColour(255, 255, 255);
const QColor EdgeColour(40, 48, 56);

QRect GripRect(int x, int gripY) {
    return QRect(x - BeforeAfter::GripHalfWidth, gripY - BeforeAfter::GripHalfHeight,
                 2 * BeforeAfter::GripHalfWidth + 1, 2 * BeforeAfter::GripHalfHeight + 1);
}

} // namespace

QRegion BeforeAfter::DividerArea(int x, QSize viewSize, int gripY) {
    const QRect view(QPoint(0, 0), viewSize);
    return QRegion(QRect(x - LineHalfWidth, 0, 2 * LineHalfWidth + 1, viewSize.height()) & view) |
           (GripRect(x, gripY) & view);
}

QRegion BeforeAfter::MoveDivider(int x, QSize viewSize, int gripY) {
    x = std::clamp(x, 0, std::max(0, viewSize.width()));
    if (x == divider_)
        return QRegion();
    const QRect view(QPoint(0, 0), viewSize);
    const int left = std::min(x, divider_) - LineHalfWidth;
    const int right = std::max(x, divider_) + LineHalfWidth;
    const QRegion changed =
        QRegion(QRect(QPoint(left, 0), QPoint(right, viewSize.height() - 1)) & view) |
        (GripRect(divider_, gripY) & view) | (GripRect(x, gripY) & view);
    divider_ = x;
    return changed;
}

QImage BeforeAfter::PhotographAt(const RenderInput& picture, const QRect& area) {
    QImage part(area.size(), QImage::Format_BGR888);
    if (part.isNull())
        return part;
    part.fill(Qt::black);
    // Layers that draw nothing: the view's copy of the photograph, sampled alike.
    static const LayerList photographOnly{OriginalLayerTemplate()};
    const RenderInput photograph{picture.Photo, picture.Mask, photographOnly, picture.ZoomFactor,
                                 false};
    RenderViewArea(photograph, part, area.topLeft());
    return part;
}

namespace {

// Appends count BGR pixels to an RGB32 row.
void BgrToRgb32(const std::uint8_t* src, std::uint32_t* dst, int count) {
    for (int i = 0; i < count; ++i, src += 3)
        dst[i] = 0xff000000u | std::uint32_t(src[2]) << 16 | std::uint32_t(src[1]) << 8 | src[0];
}

} // namespace

void BeforeAfter::Paint(QPainter& painter, const QRegion& area, const RenderInput& picture,
                        const QImage& view, int gripY) const {
    const QRegion shown = area & view.rect();
    for (const QRect& rect : shown)
        PaintPixels(painter, rect, picture, view);
    PaintDivider(painter, shown, view.size(), gripY);
}

void BeforeAfter::PaintPixels(QPainter& painter, const QRect& shown, const RenderInput& picture,
                              const QImage& view) const {
    // Both halves go into one picture of the screen's own format, a band of rows at a
    // time: a thin strip of a drag is then a plain copy for the painter, and a large
    // area never needs a picture of its size.
    constexpr int BandRows = 128;
    constexpr int Ahead = 8;
    const int split = std::clamp(divider_ - shown.left(), 0, shown.width());
    for (int top = shown.top(); top <= shown.bottom(); top += BandRows) {
        const QRect band(shown.left(), top, shown.width(),
                         std::min(BandRows, shown.bottom() + 1 - top));
        const QRect before(band.topLeft(), QSize(split, band.height()));
        const bool direct = picture.ZoomFactor == 1.0f && picture.Photo.rect().contains(before);
        const QImage sampled = split == 0 || direct ? QImage() : PhotographAt(picture, before);
        QImage composed(band.size(), QImage::Format_RGB32);
        const auto photoRow = [&](int y) {
            return direct ? picture.Photo.constScanLine(band.top() + y) + 3 * band.left()
                          : sampled.constScanLine(y);
        };
        const auto viewRow = [&](int y) {
            return view.constScanLine(band.top() + y) + 3 * (band.left() + split);
        };
        std::uint8_t* out = composed.bits();
        const qsizetype stride = composed.bytesPerLine();
        for (int y = 0; y < band.height(); ++y) {
            // A strip's rows lie far apart: ask for later rows before they are needed.
            if (y + Ahead < band.height()) {
                if (split > 0)
                    __builtin_prefetch(photoRow(y + Ahead));
                __builtin_prefetch(viewRow(y + Ahead));
            }
            auto* row = reinterpret_cast<std::uint32_t*>(out + y * stride);
            if (split > 0)
                BgrToRgb32(photoRow(y), row, split);
            BgrToRgb32(viewRow(y), row + split, band.width() - split);
        }
        painter.drawImage(band.topLeft(), composed);
    }
}

void BeforeAfter::PaintDivider(QPainter& painter, const QRegion& area, QSize viewSize,
                               int gripY) const {
    if (!DividerArea(divider_, viewSize, gripY).intersects(area))
        return;
    const QRect bounds = area.boundingRect();
    painter.save();
    painter.setClipRegion(area, Qt::IntersectClip);
    // The line: light between two dark edges, seen on any picture.
    const int x = divider_;
    painter.fillRect(QRect(x - LineHalfWidth, bounds.top(), 2 * LineHalfWidth + 1, bounds.height()),
                     EdgeColour);
    painter.fillRect(
        QRect(x - LineHalfWidth + 1, bounds.top(), 2 * LineHalfWidth - 1, bounds.height()),
        LineColour);
    // The grip: a rounded handle with an arrow to each side.
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF grip(x - GripHalfWidth + 0.5, gripY - GripHalfHeight + 0.5, 2 * GripHalfWidth,
                      2 * GripHalfHeight);
    painter.setPen(QPen(EdgeColour, 1));
    painter.setBrush(LineColour);
    painter.drawRoundedRect(grip, GripHalfWidth - 2, GripHalfWidth - 2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(EdgeColour);
    const double cy = gripY + 0.5;
    const double cx = x + 0.5;
    painter.drawPolygon(QPolygonF{{cx - 2, cy - 5}, {cx - 2, cy + 5}, {cx - 7, cy}});
    painter.drawPolygon(QPolygonF{{cx + 2, cy - 5}, {cx + 2, cy + 5}, {cx + 7, cy}});
    painter.restore();
}
