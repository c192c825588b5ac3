#include "overview/SchemePanes.h"

#include "render/ParallelRows.h"
#include "render/RenderRegion.h"
#include "render/ZoomMath.h"

#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

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

// Below this many pixels a pane's area is drawn on the calling thread alone.
constexpr qint64 ParallelPixels = 1 << 16;
// The rows a thread takes at a time.
constexpr int ChunkRows = 32;

int HelpersFor(qint64 pixels) {
    return pixels >= ParallelPixels ? PixelThreads() - 1 : 0;
}

// Runs work over rows first..last a chunk of ChunkRows at a time, the chunks taken in
// turn by the calling thread and by up to `helpers` threads of Qt's global pool, each
// as it gets to run. On a busy machine a thread is often kept waiting for a processor:
// it then holds up the one chunk it has, never a fixed share of the rows, and the
// calling thread waits only for chunks under way (a helper that starts after the last
// chunk was taken finds nothing left). work must not throw.
void ForRowChunks(int first, int last, int helpers, const std::function<void(int, int)>& work) {
    if (last < first)
        return;
    struct Shared {
        std::atomic<int> next;
        int last;
        const std::function<void(int, int)>* work; // used only while chunks remain
        QSemaphore done;
    };
    const auto shared = std::make_shared<Shared>();
    shared->next = first;
    shared->last = last;
    shared->work = &work;
    const auto take = [](Shared& s) {
        for (;;) {
            const int top = s.next.fetch_add(ChunkRows);
            if (top > s.last)
                return;
            (*s.work)(top, std::min(top + ChunkRows - 1, s.last));
            s.done.release();
        }
    };
    const int chunks = (last - first) / ChunkRows + 1;
    for (int i = 0; i < std::min(helpers, chunks - 1); ++i)
        QThreadPool::globalInstance()->start([shared, take] { take(*shared); });
    take(*shared);
    shared->done.acquire(chunks);
}

// Renders the view area that begins at origin into part, its rows shared between
// threads: a pane's area is too small for RenderViewArea to share it by itself.
void RenderInParts(const RenderInput& input, QImage& part, QPoint origin) {
    // Taken once on this thread: bits() may detach, which threads must not race for.
    std::uint8_t* bits = part.bits();
    const qsizetype stride = part.bytesPerLine();
    ForRowChunks(0, part.height() - 1, HelpersFor(qint64(part.width()) * part.height()),
                 [&](int top, int bottom) {
                     QImage band(bits + top * stride, part.width(), bottom - top + 1, stride,
                                 QImage::Format_BGR888);
                     RenderViewArea(input, band, origin + QPoint(0, top));
                 });
}

// Where a pane pixel's centre falls among the drawn pixels along one axis: the two
// drawn pixels around it (clamped to the drawn ones) and the second one's weight of 256.
struct Taps {
    int first;
    int second;
    int weight;
};

// The taps of pane pixels start .. start + count - 1 (pane coordinates of the picture
// at the zoom), drawn pixel 0 being drawnStart at the drawing zoom, ratio drawing zoom
// to zoom.
std::vector<Taps> TapsAlong(int start, int count, double ratio, int drawnStart, int drawnCount) {
    std::vector<Taps> taps(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const double at = (start + i + 0.5) * ratio - 0.5 - drawnStart;
        int first = int(std::floor(at));
        int weight = int(std::lround((at - first) * 256.0));
        if (weight == 256) {
            ++first;
            weight = 0;
        }
        taps[size_t(i)] = {std::clamp(first, 0, drawnCount - 1),
                           std::clamp(first + 1, 0, drawnCount - 1), weight};
    }
    return taps;
}

// A pixel's blue, green and red in the lowest three 16-bit lanes of a word, which
// lie in memory as the shown pixel's bytes do.
static_assert(std::endian::native == std::endian::little);
std::uint64_t Lanes(const std::uint8_t* pixel) {
    return std::uint64_t(pixel[0]) | std::uint64_t(pixel[1]) << 16 | std::uint64_t(pixel[2]) << 32;
}

// A drawn row blended across to the shown columns: per column its blue, green and red
// times 256, and 255 × 256 to blend down into the fourth byte.
class RowsAcross {
public:
    explicit RowsAcross(const std::vector<Taps>& columns) : columns_(columns) {
        for (Slot& slot : slots_)
            slot.values.resize(4 * columns.size());
    }

    // Drawn row `row` (of drawn) across; the row `keep` stays kept as well.
    const std::uint16_t* Row(const QImage& drawn, int row, int keep) {
        for (Slot& slot : slots_) {
            if (slot.row == row)
                return slot.values.data();
        }
        Slot& slot = slots_[0].row == keep ? slots_[1] : slots_[0];
        slot.row = row;
        const std::uint8_t* pixels = drawn.constScanLine(row);
        std::uint16_t* out = slot.values.data();
        // The three channels blended at once, each in a 16-bit lane of one word: a
        // lane's sum stays below 256 × 256 and never carries into the next.
        constexpr std::uint64_t Opaque = std::uint64_t(255 * 256) << 48;
        for (const Taps& column : columns_) {
            const std::uint64_t right = std::uint64_t(column.weight);
            const std::uint64_t mixed = Lanes(pixels + 3 * column.first) * (256 - right) +
                                        Lanes(pixels + 3 * column.second) * right;
            const std::uint64_t lanes = mixed | Opaque;
            std::memcpy(out, &lanes, sizeof lanes);
            out += 4;
        }
        return slot.values.data();
    }

private:
    struct Slot {
        int row = -1;
        std::vector<std::uint16_t> values;
    };
    const std::vector<Taps>& columns_;
    Slot slots_[2];
};

// Blends rows top..bottom of a reduction: each shown pixel (Format_RGB32) from the four
// drawn pixels (Format_BGR888) around its centre, across and then down. drawn holds
// the drawn rows from firstRow on.
void BlendRows(const QImage& drawn, int firstRow, std::uint8_t* shownBits, qsizetype shownStride,
               QPoint shownStart, const std::vector<Taps>& columns, const std::vector<Taps>& rows,
               int top, int bottom) {
    RowsAcross across(columns);
    const size_t values = 4 * columns.size();
    for (int y = top; y <= bottom; ++y) {
        const Taps& row = rows[size_t(y)];
        const std::uint16_t* upper = across.Row(drawn, row.first - firstRow, -1);
        const std::uint16_t* lower = across.Row(drawn, row.second - firstRow, row.first - firstRow);
        std::uint8_t* out = shownBits + (shownStart.y() + y) * shownStride + 4 * shownStart.x();
        const std::uint32_t down = std::uint32_t(row.weight);
        const std::uint32_t up = 256 - down;
        for (size_t i = 0; i < values; ++i)
            out[i] = std::uint8_t((upper[i] * up + lower[i] * down + 32768) >> 16);
    }
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
        RenderInParts(input, part, area.topLeft());
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
    // Only the picture's own extent at the zoom: the reduction blurs nothing beyond it.
    const QRect visible = QRect(QPoint(), area.size()) &
                          QRect(-area.topLeft(), ContentSize(doc.PhotoBitmap.size(), zoom));
    if (drawn.isEmpty() || visible.isEmpty())
        return shown;
    // Reduced here rather than by QPainter, whose smooth drawing hands its rows to Qt's
    // thread pool and waits for it each time: on a busy machine most of a pane's time.
    // Each chunk of shown rows draws the drawn rows it reads (a row twice where chunks
    // meet) and reduces them.
    const std::vector<Taps> columns = TapsAlong(area.left() + visible.left(), visible.width(),
                                                ratio, drawn.left(), drawn.width());
    const std::vector<Taps> rows =
        TapsAlong(area.top() + visible.top(), visible.height(), ratio, drawn.top(), drawn.height());
    std::uint8_t* bits = shown.bits();
    const qsizetype stride = shown.bytesPerLine();
    ForRowChunks(0, visible.height() - 1, HelpersFor(qint64(drawn.width()) * drawn.height()),
                 [&](int top, int bottom) {
                     const int first = rows[size_t(top)].first;
                     QImage band(drawn.width(), rows[size_t(bottom)].second - first + 1,
                                 QImage::Format_BGR888);
                     if (band.isNull())
                         return; // no memory for it: those rows stay background
                     band.fill(background);
                     RenderViewArea(input, band, drawn.topLeft() + QPoint(0, first));
                     BlendRows(band, first, bits, stride, visible.topLeft(), columns, rows, top,
                               bottom);
                 });
    return shown;
}

QPoint ScrollAfterZoom(QPoint scroll, QPoint anchor, float from, float to) {
    const double ratio = double(to) / double(from);
    return QPoint(NearestInt((scroll.x() + anchor.x()) * ratio) - anchor.x(),
                  NearestInt((scroll.y() + anchor.y()) * ratio) - anchor.y());
}

} // namespace Panes
