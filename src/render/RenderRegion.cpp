#include "render/RenderRegion.h"

#include "project/Errors.h"
#include "render/LayerMap.h"
#include "render/ParallelRows.h"
#include "render/RecolourKernels.h"
#include "render/ShadeTableCache.h"
#include "render/ZoomMath.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <memory>
#include <semaphore>
#include <system_error>
#include <thread>

namespace {

enum class Look : std::uint8_t { Photo, Fill, Recolour };

struct Appearance {
    Look look = Look::Photo;
    Colour fill = 0;
    const std::uint32_t* table = nullptr;
};

// How the pixels of each run layer are drawn, worked out once per update and
// only for the layers that the rectangle's runs name. One per thread.
class Appearances {
public:
    Appearances(const LayerList& layers, bool maskMode)
        : layers_(layers), maskMode_(maskMode), map_(BuildLayerMap(layers)) {}

    const Appearance& Of(std::uint8_t runLayer) {
        if (!ready_[runLayer]) {
            looks_[runLayer] = Build(runLayer);
            ready_[runLayer] = true;
        }
        return looks_[runLayer];
    }

private:
    Appearance Build(std::uint8_t runLayer) {
        const int index = map_[runLayer];
        switch (LookOf(layers_, map_, runLayer, maskMode_)) {
        case LayerLook::MaskColour:
            return {Look::Fill, layers_[index].MaskColour, nullptr};
        case LayerLook::Shade: {
            const LayerRecord& layer = layers_[index];
            if (!tables_[index])
                tables_[index] = ShadeTableFor(layer.ShadeColour, layer.RealColour);
            return {Look::Recolour, 0, tables_[index]->Bgr.data()};
        }
        case LayerLook::Photo:
            break;
        }
        return {};
    }

    const LayerList& layers_;
    bool maskMode_;
    LayerMap map_;
    std::array<Appearance, 256> looks_{};
    std::array<bool, 256> ready_{};
    std::array<std::shared_ptr<const ShadeTable>, 256> tables_;
};

// Runs in ascending order, touching, First <= Last, covering 0 .. width - 1.
bool IsPartition(const MaskRow& row, int width) {
    int next = 0;
    for (const MaskRun& run : row) {
        if (run.First != next || run.Last < run.First)
            return false;
        next = run.Last + 1;
    }
    return next == width;
}

void ApplyLook(const Appearance& look, const std::uint8_t* src, std::uint8_t* dst, int count) {
    switch (look.look) {
    case Look::Photo:
        if (src != dst)
            std::memcpy(dst, src, size_t(count) * 3);
        break;
    case Look::Fill:
        FillSpan(dst, count, look.fill);
        break;
    case Look::Recolour:
        RecolourSpan(src, dst, count, look.table);
        break;
    }
}

// Where the view's pixels are, taken once on the calling thread: QImage::bits() may
// detach, which threads must not race for. The memory may hold a part of the view
// only (a band of the full-size picture, a pane's visible area): view column Left and
// row Top are its first pixel.
struct ViewRows {
    std::uint8_t* Bits;
    size_t Stride;
    int Width;
    int Height;
    int Left = 0;
    int Top = 0;

    explicit ViewRows(QImage& view, QPoint origin = QPoint())
        : Bits(view.bits()), Stride(size_t(view.bytesPerLine())), Width(view.width()),
          Height(view.height()), Left(origin.x()), Top(origin.y()) {}
    int Right() const { return Left + Width - 1; }
    int Bottom() const { return Top + Height - 1; }
    // View pixel (x, y); both must lie in the memory.
    std::uint8_t* At(int x, int y) const {
        return Bits + size_t(y - Top) * Stride + 3 * size_t(x - Left);
    }
};

// Below this many view pixels an update is drawn on the calling thread alone: starting
// threads would cost more than they save.
constexpr long long ParallelPixels = 1 << 19;

int PartsFor(long long pixels) {
    return pixels >= ParallelPixels ? PixelThreads() : 1;
}

// Zoom 1: each view row is built in one pass from the photograph row; x1..x2 and
// y1..y2 lie in the view's memory.
void RenderAtOne(const RenderInput& in, Appearances& looks, const ViewRows& view, int x1, int y1,
                 int x2, int y2) {
    const size_t photoStride = size_t(in.Photo.bytesPerLine());
    const std::uint8_t* photoBits = in.Photo.constBits();
    for (int y = y1; y <= y2; ++y) {
        const std::uint8_t* src = photoBits + size_t(y) * photoStride;
        const MaskRow& row = in.Mask.Rows[y];
        if (IsPartition(row, in.Mask.Width)) {
            for (const MaskRun& run : row) {
                const int a = std::max(run.First, x1);
                const int b = std::min(run.Last, x2);
                if (a <= b)
                    ApplyLook(looks.Of(run.Layer), src + 3 * a, view.At(a, y), b - a + 1);
            }
            continue;
        }
        // A malformed row: copy, then let every run redraw its part in place.
        std::memcpy(view.At(x1, y), src + 3 * x1, size_t(x2 - x1 + 1) * 3);
        for (const MaskRun& run : row) {
            const int a = std::max(run.First, x1);
            const int b = std::min(run.Last, x2);
            if (run.Layer != 0 && a <= b)
                ApplyLook(looks.Of(run.Layer), view.At(a, y), view.At(a, y), b - a + 1);
        }
    }
}

// Other zoom factors: enlarge by repeating pixels or reduce by sampling, then
// redraw the layers' view columns. first..last are view rows; a row below the view's
// memory is drawn into its last row.
void RenderZoomed(const RenderInput& in, Appearances& looks, const ViewRows& view, int x1, int x2,
                  int first, int last) {
    const double zoom = in.ZoomFactor;
    int step = TruncInt(zoom);
    if (step == 0)
        step = TruncInt(1.0 / zoom);
    const int left = view.Left;
    const int right = view.Right();
    const int photoHeight = in.Photo.height();
    for (int vy = first; vy <= last && view.Height > 0; ++vy) {
        const int sourceRow = std::min(TruncInt(vy / zoom), photoHeight - 1);
        const std::uint8_t* src = in.Photo.constScanLine(sourceRow);
        const int rowInView = std::min(vy, view.Bottom());

        if (zoom > 1.0) {
            for (int x = std::max(x1, left / step); x <= x2 && x * step <= right; ++x) {
                for (int s = 0, vx = x * step; s < step && vx <= right; ++s, ++vx) {
                    if (vx >= left)
                        std::memcpy(view.At(vx, rowInView), src + 3 * x, 3);
                }
            }
        } else {
            const int vxEnd = std::min(TruncInt((x2 + 1) * zoom) - 1, right);
            // The next view row samples a photograph row far from this one: asked for
            // while this row is copied, its pixels are in the cache when it is drawn.
            const std::uint8_t* next =
                in.Photo.constScanLine(std::min(TruncInt((vy + 1) / zoom), photoHeight - 1));
            for (int vx = std::max(TruncInt(x1 * zoom), left); vx <= vxEnd; ++vx) {
                __builtin_prefetch(next + 3 * (step * vx));
                std::memcpy(view.At(vx, rowInView), src + 3 * (step * vx), 3);
            }
        }

        const int maskRow = std::min(TruncInt(vy / zoom), in.Mask.Height - 1);
        for (const MaskRun& run : in.Mask.Rows[maskRow]) {
            const int a = std::max(run.First, x1);
            const int b = std::min(run.Last, x2);
            if (run.Layer == 0 || a > b)
                continue;
            const Appearance& look = looks.Of(run.Layer);
            if (look.look == Look::Photo)
                continue;
            // The flat fill rounds its column range, the recolouring truncates it.
            int c0, c1;
            if (look.look == Look::Fill) {
                c0 = NearestInt(a * zoom);
                c1 = NearestInt((b + 1) * zoom) - 1;
            } else {
                c0 = TruncInt(a * zoom);
                c1 = TruncInt((b + 1) * zoom) - 1;
            }
            c0 = std::max(c0, left);
            c1 = std::min(c1, right);
            if (c0 <= c1)
                ApplyLook(look, view.At(c0, rowInView), view.At(c0, rowInView), c1 - c0 + 1);
        }
    }
}

// Whether the input can be drawn at all: a photograph and a mask whose rows are there.
bool Drawable(const RenderInput& in) {
    return !in.Photo.isNull() && in.Mask.Width > 0 && in.Mask.Height > 0 &&
           in.Mask.Rows.size() == size_t(in.Mask.Height);
}

// The last column and row that both the photograph and the mask have.
QPoint LastPixel(const RenderInput& in) {
    return QPoint(std::min(in.Mask.Width, in.Photo.width()) - 1,
                  std::min(in.Mask.Height, in.Photo.height()) - 1);
}

// Draws photograph pixels x1..y2 into the view's memory. With clipRows a view row
// outside the memory is left out (a part of the view); without it a row past the
// memory's end is drawn into its last row, as the view itself takes it.
void RenderInto(const RenderInput& in, const ViewRows& rows, bool clipRows, int x1, int y1, int x2,
                int y2) {
    // Clamp into the picture; a photograph smaller than its mask bounds it too.
    const QPoint last = LastPixel(in);
    x1 = std::clamp(x1, 0, last.x());
    x2 = std::clamp(x2, 0, last.x());
    y1 = std::clamp(y1, 0, last.y());
    y2 = std::clamp(y2, 0, last.y());
    if (x1 > x2 || y1 > y2 || rows.Width <= 0 || rows.Height <= 0)
        return;

    if (in.ZoomFactor == 1.0f) {
        x1 = std::max(x1, rows.Left);
        y1 = std::max(y1, rows.Top);
        x2 = std::min(x2, rows.Right());
        y2 = std::min(y2, rows.Bottom());
        if (x1 > x2 || y1 > y2)
            return;
        const long long pixels = (long long)(x2 - x1 + 1) * (y2 - y1 + 1);
        ForRowsInParallel(y1, y2, PartsFor(pixels), [&](int top, int bottom) {
            Appearances looks(in.Layers, in.MaskEditMode);
            RenderAtOne(in, looks, rows, x1, top, x2, bottom);
        });
    } else if (in.ZoomFactor > 0.0f) {
        // A view row repeats a photograph row or samples one, and a view row past the
        // view is drawn into its last row: parts of view rows stay apart only while
        // the rows stay inside the view.
        const double zoom = in.ZoomFactor;
        int first = std::max(TruncInt(y1 * zoom), rows.Top);
        int lastRow = TruncInt((y2 + 1) * zoom) - 1;
        if (clipRows)
            lastRow = std::min(lastRow, rows.Bottom());
        if (first > lastRow)
            return;
        const bool inside = lastRow <= rows.Bottom();
        const long long columns = std::max(1, TruncInt((x2 - x1 + 1) * zoom));
        const long long pixels = (long long)(lastRow - first + 1) * columns;
        ForRowsInParallel(first, lastRow, inside ? PartsFor(pixels) : 1, [&](int top, int bottom) {
            Appearances looks(in.Layers, in.MaskEditMode);
            RenderZoomed(in, looks, rows, x1, x2, top, bottom);
        });
    }
}

} // namespace

void RenderRegion(const RenderInput& in, QImage& view, int x1, int y1, int x2, int y2) {
    if (!Drawable(in) || view.isNull())
        return;
    Q_ASSERT(in.Photo.format() == QImage::Format_BGR888);
    Q_ASSERT(view.format() == QImage::Format_BGR888);
    RenderInto(in, ViewRows(view), false, x1, y1, x2, y2);
}

void RenderViewArea(const RenderInput& in, QImage& part, QPoint origin) {
    if (!Drawable(in) || part.isNull() || !(in.ZoomFactor > 0.0f))
        return;
    Q_ASSERT(in.Photo.format() == QImage::Format_BGR888);
    Q_ASSERT(part.format() == QImage::Format_BGR888);
    // Only the view's own pixels: a part reaching past the view keeps the rest.
    const QRect view(QPoint(0, 0), ViewSizeFor(in.Photo.size(), in.ZoomFactor));
    const QRect area = QRect(origin, part.size()) & view;
    if (area.isEmpty())
        return;
    // The photograph pixels the area shows, with a pixel to spare on each side: a run
    // cut at the rectangle's edge changes its view columns only outside the area.
    const double zoom = in.ZoomFactor;
    const int x1 = TruncInt(area.left() / zoom) - 1;
    const int y1 = TruncInt(area.top() / zoom) - 1;
    const int x2 = TruncInt((area.right() + 1) / zoom) + 1;
    const int y2 = TruncInt((area.bottom() + 1) / zoom) + 1;
    ViewRows rows(part, origin);
    // Columns and rows of the part that lie outside the view are not drawn.
    const int dropRight = rows.Right() - area.right();
    const int dropBottom = rows.Bottom() - area.bottom();
    rows.Width -= dropRight;
    rows.Height -= dropBottom;
    RenderInto(in, rows, true, x1, y1, x2, y2);
}

QImage RenderFullSize(const Document& doc, bool maskEditMode) {
    QImage picture(doc.PhotoBitmap.size(), QImage::Format_BGR888);
    if (picture.isNull())
        throw IoError(QStringLiteral("Pro obrázek v plné velikosti není dost paměti."));
    const RenderInput input{doc.PhotoBitmap, doc.Mask, doc.Layers, 1.0f, maskEditMode};
    RenderRegion(input, picture, 0, 0, picture.width() - 1, picture.height() - 1);
    return picture;
}

void RenderFullSizeInBands(const Document& doc, bool maskEditMode, const BandSink& sink,
                           Progress& progress) {
    RenderFullSizeInBands({doc.PhotoBitmap, doc.Mask, doc.Layers, 1.0f, maskEditMode}, sink,
                          progress);
}

void RenderFullSizeInBands(const RenderInput& picture, const BandSink& sink, Progress& progress) {
    const QImage& photo = picture.Photo;
    if (photo.isNull())
        return;
    // Two bands: a helper thread draws the next band while the sink takes this one.
    const int bandHeight = std::min(RenderBandRows, photo.height());
    QImage bands[2] = {QImage(photo.width(), bandHeight, QImage::Format_BGR888),
                       QImage(photo.width(), bandHeight, QImage::Format_BGR888)};
    if (bands[0].isNull() || bands[1].isNull())
        throw IoError(QStringLiteral("Pro obrázek v plné velikosti není dost paměti."));
    ViewRows bandRows[2] = {ViewRows(bands[0]), ViewRows(bands[1])};
    const RenderInput input{photo, picture.Mask, picture.Layers, 1.0f, picture.MaskEditMode};
    const bool drawable = Drawable(input);
    const QPoint last = drawable ? LastPixel(input) : QPoint(-1, -1);
    // Pixels that the mask does not cover stay black, as in a fresh view.
    const bool whole = last == QPoint(photo.width() - 1, photo.height() - 1);
    const int bandCount = (photo.height() + RenderBandRows - 1) / RenderBandRows;

    auto drawBand = [&](Appearances& looks, int band) {
        const int top = band * RenderBandRows;
        ViewRows rows = bandRows[band % 2];
        rows.Top = top;
        if (!whole)
            std::memset(rows.Bits, 0, rows.Stride * size_t(rows.Height));
        const int bottom = std::min(top + RenderBandRows - 1, last.y());
        if (drawable && top <= bottom)
            RenderAtOne(input, looks, rows, 0, top, last.x(), bottom);
    };
    auto hand = [&](int band) {
        const int top = band * RenderBandRows;
        QImage& image = bands[band % 2];
        sink(top, image, std::min(RenderBandRows, photo.height() - top));
        // A sink that kept a copy of the band keeps what it saw: the next band goes
        // into memory of its own. The helper draws here only after this returns.
        if (!image.isDetached())
            bandRows[band % 2] = ViewRows(image);
        ReportOrStop(progress, double(band + 1) / bandCount);
    };

    // free counts the bands the helper may draw into, drawn those the sink may take.
    std::counting_semaphore<2> free(2);
    std::counting_semaphore<2> drawn(0);
    std::atomic<bool> stop = false;
    std::exception_ptr failure;
    auto drawAll = [&] {
        try {
            Appearances looks(input.Layers, input.MaskEditMode);
            for (int band = 0; band < bandCount; ++band) {
                free.acquire();
                if (stop)
                    return;
                drawBand(looks, band);
                drawn.release();
            }
        } catch (...) {
            failure = std::current_exception();
            drawn.release();
        }
    };
    std::thread helper;
    try {
        helper = std::thread(drawAll);
    } catch (const std::system_error&) {
        // No thread to be had: each band drawn here before it is handed on.
        Appearances looks(input.Layers, input.MaskEditMode);
        for (int band = 0; band < bandCount; ++band) {
            drawBand(looks, band);
            hand(band);
        }
        return;
    }
    try {
        for (int band = 0; band < bandCount; ++band) {
            drawn.acquire();
            if (failure)
                std::rethrow_exception(failure);
            hand(band);
            free.release();
        }
    } catch (...) {
        stop = true;
        free.release();
        helper.join();
        throw;
    }
    helper.join();
}
