#include "editing/Tools.h"

#include "render/ZoomMath.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

int ColourDistance(Colour a, Colour b) {
    return (std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
            std::abs(BlueOf(a) - BlueOf(b))) /
           3;
}

QRect PaintBrush(TMask& mask, int px, int py, int w, std::uint8_t layer) {
    for (int y = py - w; y <= py + w - 1; ++y) {
        if (y >= 0 && y < mask.Height)
            mask.PaintSpan(y, px - w, px + w - 1, layer);
    }
    return QRect(QPoint(px - w, py - w), QPoint(px + w, py + w));
}

void PaintLine(TMask& mask, int x0, int y0, int x1, int y1, int n, std::uint8_t layer) {
    if (x0 == x1 && y0 == y1)
        return;
    const auto run = [&](int x, int y) {
        if (y >= 0 && y < mask.Height)
            mask.PaintSpan(y, x, x + n - 1, layer);
    };
    if (std::abs(y0 - y1) < std::abs(x0 - x1)) {
        if (x1 < x0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        for (int x = x0; x <= x1; ++x)
            run(x, y0 + NearestInt(double(x - x0) / double(x1 - x0) * double(y1 - y0)));
    } else {
        if (y1 < y0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        for (int y = y0; y <= y1; ++y)
            run(x0 + NearestInt(double(y - y0) / double(y1 - y0) * double(x1 - x0)), y);
    }
}

QRect PaintThickLine(TMask& mask, int ax, int ay, int px, int py, int w, std::uint8_t layer) {
    for (int f = -(w - 1); f <= w - 1; ++f)
        PaintLine(mask, ax - w, ay + f, px - w, py + f, 2 * w, layer);
    return QRect(QPoint(std::min(ax, px) - w, std::min(ay, py) - w),
                 QPoint(std::max(ax, px) + w, std::max(ay, py) + w));
}

namespace {

// Which view pixels may be filled: 1 = qualifies, 0 = does not, 2 = filled.
// sum < 3 × tolerance is "distance < tolerance", sum ≥ 18 is "distance > 5".
std::vector<std::uint8_t> QualifyingMap(const QImage& view, Colour seed, int tolerance,
                                        Colour barrier) {
    const int w = view.width(), h = view.height();
    std::vector<std::uint8_t> map(size_t(w) * size_t(h));
    const int sb = BlueOf(seed), sg = GreenOf(seed), sr = RedOf(seed);
    const int bb = BlueOf(barrier), bg = GreenOf(barrier), br = RedOf(barrier);
    const int seedLimit = 3 * tolerance;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = view.constScanLine(y);
        std::uint8_t* out = map.data() + size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x, p += 3) {
            const int toSeed = std::abs(p[0] - sb) + std::abs(p[1] - sg) + std::abs(p[2] - sr);
            const int toBarrier = std::abs(p[0] - bb) + std::abs(p[1] - bg) + std::abs(p[2] - br);
            out[x] = std::uint8_t((toSeed < seedLimit) & (toBarrier >= 18));
        }
    }
    return map;
}

struct Seed {
    int x, y;
};

} // namespace

qint64 FloodFill(TMask& mask, const QImage& view, int x, int y, Colour seed, int tolerance,
                 Colour barrier, std::uint8_t layer) {
    const int w = std::min(view.width(), mask.Width);
    const int h = std::min(view.height(), mask.Height);
    if (x < 0 || y < 0 || x >= w || y >= h)
        return 0;
    std::vector<std::uint8_t> map = QualifyingMap(view, seed, tolerance, barrier);
    const size_t stride = size_t(view.width());
    const auto at = [&](int px, int py) -> std::uint8_t& { return map[size_t(py) * stride + size_t(px)]; };

    // The rows the fill touched, with the x range of their filled pixels.
    std::vector<int> rowFirst(size_t(h), w), rowLast(size_t(h), -1);
    qint64 filled = 0;
    std::vector<Seed> stack{{x, y}};
    bool start = true;
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        if (!start && at(s.x, s.y) != 1)
            continue;  // filled meanwhile from another seed
        start = false;
        int xl = s.x, xr = s.x;
        while (xl > 0 && at(xl - 1, s.y) == 1)
            --xl;
        while (xr < w - 1 && at(xr + 1, s.y) == 1)
            ++xr;
        std::fill(&at(xl, s.y), &at(xr, s.y) + 1, std::uint8_t(2));
        filled += xr - xl + 1;
        rowFirst[size_t(s.y)] = std::min(rowFirst[size_t(s.y)], xl);
        rowLast[size_t(s.y)] = std::max(rowLast[size_t(s.y)], xr);
        // One seed per run of qualifying pixels above and below.
        for (int ny : {s.y - 1, s.y + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            const std::uint8_t* row = &at(0, ny);
            for (int nx = xl; nx <= xr; ++nx) {
                if (row[nx] == 1 && (nx == xl || row[nx - 1] != 1))
                    stack.push_back({nx, ny});
            }
        }
    }

    // Into the mask, one rebuild per touched row: pixels of locked layers keep theirs.
    std::vector<std::uint8_t> layers(size_t(mask.Width));
    if (mask.Locked[layer])
        return filled;
    for (int row = 0; row < h; ++row) {
        if (rowLast[size_t(row)] < 0)
            continue;
        mask.ExpandRow(row, layers.data());
        const std::uint8_t* done = &at(0, row);
        for (int px = rowFirst[size_t(row)]; px <= rowLast[size_t(row)]; ++px) {
            if (done[px] == 2 && !mask.Locked[layers[size_t(px)]])
                layers[size_t(px)] = layer;
        }
        mask.SetRowFromPixels(row, layers.data());
    }
    return filled;
}
