#include "editing/SmartProposal.h"

#include <algorithm>
#include <cmath>

SmartProposal::SmartProposal(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      rowStart_(size_t(std::max(height, 0)) + 1, 0) {}

std::span<const SmartProposal::Run> SmartProposal::Row(int y) const {
    if (y < 0 || y >= height_ || y > openRow_)
        return {};
    const std::uint32_t begin = rowStart_[size_t(y)];
    const std::uint32_t end = y < openRow_ ? rowStart_[size_t(y) + 1] : std::uint32_t(runs_.size());
    return std::span<const Run>(runs_.data() + begin, end - begin);
}

bool SmartProposal::operator==(const SmartProposal& other) const {
    if (width_ != other.width_ || height_ != other.height_)
        return false;
    for (int y = 0; y < height_; ++y) {
        const std::span<const Run> a = Row(y), b = other.Row(y);
        if (!std::equal(a.begin(), a.end(), b.begin(), b.end()))
            return false;
    }
    return true;
}

bool SmartProposal::Contains(int x, int y) const {
    const std::span<const Run> row = Row(y);
    const auto after = std::upper_bound(row.begin(), row.end(), x,
                                        [](int v, const Run& run) { return v < run.First; });
    return after != row.begin() && std::prev(after)->Last >= x;
}

qint64 SmartProposal::PixelCount() const {
    qint64 count = 0;
    for (const Run& run : runs_)
        count += run.Last - run.First + 1;
    return count;
}

QRect SmartProposal::Bounds() const {
    int left = width_, right = -1, top = height_, bottom = -1;
    for (int y = 0; y < height_; ++y) {
        const std::span<const Run> row = Row(y);
        if (row.empty())
            continue;
        top = std::min(top, y);
        bottom = y;
        left = std::min(left, row.front().First);
        right = std::max(right, row.back().Last);
    }
    return bottom < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

void SmartProposal::AddRun(int y, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, width_ - 1);
    if (y < openRow_ || y >= height_ || first > last)
        return;
    // Rows passed over hold no runs.
    for (; openRow_ < y; ++openRow_)
        rowStart_[size_t(openRow_) + 1] = std::uint32_t(runs_.size());
    if (runs_.size() > rowStart_[size_t(y)] && runs_.back().Last + 1 >= first)
        runs_.back().Last = std::max(runs_.back().Last, last);
    else
        runs_.push_back({first, last});
}

QRect WriteProposal(TMask& mask, const SmartProposal& proposal, std::uint8_t layer) {
    if (mask.Locked[layer] || mask.Width != proposal.Width() || mask.Height != proposal.Height() ||
        int(mask.Rows.size()) < mask.Height)
        return QRect();
    const bool anyLocked =
        std::find(mask.Locked.begin(), mask.Locked.end(), true) != mask.Locked.end();
    std::vector<std::uint8_t> pixels(size_t(std::max(mask.Width, 0)));
    QRect written;
    for (int y = 0; y < proposal.Height(); ++y) {
        const std::span<const SmartProposal::Run> row = proposal.Row(y);
        if (row.empty())
            continue;
        mask.ExpandRow(y, pixels.data());
        for (const SmartProposal::Run& run : row) {
            std::uint8_t* p = pixels.data() + run.First;
            const int length = run.Last - run.First + 1;
            if (anyLocked) {
                for (int i = 0; i < length; ++i) {
                    if (!mask.Locked[p[i]])
                        p[i] = layer;
                }
            } else {
                std::fill(p, p + length, layer);
            }
        }
        mask.SetRowFromPixels(y, pixels.data());
        written |= QRect(QPoint(row.front().First, y), QPoint(row.back().Last, y));
    }
    return written;
}

namespace {

// The view columns whose photograph column trunc(x / zoom) lies in first..last.
std::pair<int, int> ViewColumns(int first, int last, double zoom) {
    const auto firstView = [zoom](int photoColumn) {
        int v = int(std::ceil(photoColumn * zoom));
        while (v > 0 && int((v - 1) / zoom) >= photoColumn)
            --v;
        while (int(v / zoom) < photoColumn)
            ++v;
        return v;
    };
    return {firstView(first), firstView(last + 1) - 1};
}

// Which view pixels of one view row show a proposed pixel, from column left on.
void CoverRow(const SmartProposal& proposal, int viewRow, int left, double zoom,
              std::vector<std::uint8_t>& covered) {
    std::fill(covered.begin(), covered.end(), 0);
    if (viewRow < 0)
        return;
    const int y = int(viewRow / zoom);
    const int width = int(covered.size());
    for (const SmartProposal::Run& run : proposal.Row(y)) {
        const auto [a, b] = ViewColumns(run.First, run.Last, zoom);
        const int from = std::max(a - left, 0), to = std::min(b - left, width - 1);
        if (from <= to)
            std::fill(covered.begin() + from, covered.begin() + to + 1, 1);
    }
}

} // namespace

namespace {

// How much of a proposed pixel's colour is the tint's; what the rest of the picture
// keeps of its brightness.
constexpr double TintShare = 0.62;
constexpr double DimmedTo = 0.5;
// Pixels darker than the first brightness take the light tint, lighter than the
// second the dark one; between them the tint passes from one to the other.
constexpr double DarkBelow = 0.35, LightAbove = 0.55;

double Brightness(QRgb pixel) {
    return (0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel)) / 255.0;
}

// The tint's hue at full saturation, light and dark; a tint without a clear hue (a
// grey layer colour) gives way to magenta, which photographs of houses seldom hold.
std::pair<QColor, QColor> TintPair(QColor tint) {
    float hue = tint.toHsl().hslHueF();
    if (tint.toHsl().hslSaturationF() < 0.25f || hue < 0)
        hue = 320.0f / 360.0f;
    return {QColor::fromHslF(hue, 1.0f, 0.76f), QColor::fromHslF(hue, 1.0f, 0.24f)};
}

QRgb Tinted(QRgb pixel, const std::pair<QColor, QColor>& pair) {
    const double dark =
        std::clamp((Brightness(pixel) - DarkBelow) / (LightAbove - DarkBelow), 0.0, 1.0);
    const auto channel = [&](int own, int light, int darkTint) {
        const double tint = light + (darkTint - light) * dark;
        return int(std::lround(own * (1.0 - TintShare) + tint * TintShare));
    };
    return qRgb(channel(qRed(pixel), pair.first.red(), pair.second.red()),
                channel(qGreen(pixel), pair.first.green(), pair.second.green()),
                channel(qBlue(pixel), pair.first.blue(), pair.second.blue()));
}

} // namespace

QRgb DimmedPixel(QRgb pixel) {
    return qRgb(int(std::lround(qRed(pixel) * DimmedTo)),
                int(std::lround(qGreen(pixel) * DimmedTo)),
                int(std::lround(qBlue(pixel) * DimmedTo)));
}

QRgb TintedPixel(QRgb pixel, QColor tint) {
    return Tinted(pixel, TintPair(tint));
}

QImage DrawProposal(const SmartProposal& proposal, const QImage& view, QRect viewRect, float zoom,
                    QColor tint) {
    QImage picture(viewRect.size(), QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    picture.fill(Qt::black);
    const double z = zoom > 0 ? zoom : 1.0;
    const std::pair<QColor, QColor> tints = TintPair(tint);
    const QRgb dark = qRgb(0, 0, 0), light = qRgb(255, 255, 255);
    // Rows above, at and below the drawn one, a column wider on each side, so that
    // an edge is found where a neighbour outside the rectangle is not proposed.
    const int width = viewRect.width() + 2;
    std::vector<std::uint8_t> above(static_cast<size_t>(width)), at(above), below(above);
    const int left = viewRect.left() - 1;
    const int viewHeight = int(std::lround(proposal.Height() * z));
    const auto cover = [&](int viewRow, std::vector<std::uint8_t>& row) {
        if (viewRow >= viewHeight || zoom <= 0)
            std::fill(row.begin(), row.end(), 0);
        else
            CoverRow(proposal, viewRow, left, z, row);
    };
    const bool bgr = view.format() == QImage::Format_BGR888;
    cover(viewRect.top() - 1, above);
    cover(viewRect.top(), at);
    for (int r = 0; r < viewRect.height(); ++r) {
        const int viewRow = viewRect.top() + r;
        cover(viewRow + 1, below);
        QRgb* out = reinterpret_cast<QRgb*>(picture.scanLine(r));
        const uchar* in =
            bgr && viewRow >= 0 && viewRow < view.height() ? view.constScanLine(viewRow) : nullptr;
        for (int c = 0; c < viewRect.width(); ++c) {
            const int x = viewRect.left() + c;
            const QRgb pixel = in && x >= 0 && x < view.width()
                                   ? qRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x])
                                   : qRgb(0, 0, 0);
            const int i = c + 1;
            if (!at[size_t(i)]) {
                out[c] = DimmedPixel(pixel);
                continue;
            }
            const bool edge =
                !at[size_t(i) - 1] || !at[size_t(i) + 1] || !above[size_t(i)] || !below[size_t(i)];
            if (edge)
                out[c] = ((x + viewRow) / 4) % 2 ? light : dark;
            else
                out[c] = Tinted(pixel, tints);
        }
        std::swap(above, at);
        std::swap(at, below);
    }
    return picture;
}
