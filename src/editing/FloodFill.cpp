#include "editing/FloodFill.h"

#include "editing/QualifyingMap.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <vector>

namespace {

struct Seed {
    int x, y;
};

// The x range of the filled pixels of every row the fill touched.
struct FilledRows {
    std::vector<int> first, last;
    explicit FilledRows(int height) : first(size_t(height), INT_MAX), last(size_t(height), -1) {}
    void Add(int y, int xl, int xr) {
        first[size_t(y)] = std::min(first[size_t(y)], xl);
        last[size_t(y)] = std::max(last[size_t(y)], xr);
    }
};

constexpr std::uint32_t LowBits(int n) {
    return n >= 32 ? ~0u : (1u << n) - 1;
}

// The run of qualifying pixels of row y around x (x itself is not tested), looked at
// 32 pixels at a time.
std::pair<int, int> ScanSpan(QualifyingMap& map, int y, int x) {
    const std::uint8_t* line = map.Row(y);
    int xl = x;
    while (xl > 0) {
        const int begin = std::max(xl - 32, 0);
        map.Ensure(y, begin, xl - 1);
        const std::uint32_t all = LowBits(xl - begin);
        const std::uint32_t stops = ~QualifyingBits(line + begin, xl - begin) & all;
        if (stops == 0) {
            xl = begin;
            continue;
        }
        xl = begin + (31 - std::countl_zero(stops)) + 1;
        break;
    }
    int xr = x;
    while (xr < map.Width() - 1) {
        const int end = std::min(xr + 32, map.Width() - 1);
        map.Ensure(y, xr + 1, end);
        const std::uint32_t all = LowBits(end - xr);
        const std::uint32_t stops = ~QualifyingBits(line + xr + 1, end - xr) & all;
        if (stops == 0) {
            xr = end;
            continue;
        }
        xr += std::countr_zero(stops);
        break;
    }
    return {xl, xr};
}

// One seed for every run of qualifying pixels of row y that touches xl..xr.
void PushSeeds(QualifyingMap& map, int y, int xl, int xr, std::vector<Seed>& stack) {
    map.Ensure(y, xl, xr);
    const std::uint8_t* line = map.Row(y);
    std::uint32_t carry = 0; // whether the pixel before this chunk began a run already
    for (int x = xl; x <= xr; x += 32) {
        const int n = std::min(32, xr - x + 1);
        const std::uint32_t bits = QualifyingBits(line + x, n);
        std::uint32_t starts = bits & ~(bits << 1 | carry);
        while (starts) {
            stack.push_back({x + std::countr_zero(starts), y});
            starts &= starts - 1;
        }
        carry = (bits >> (n - 1)) & 1;
    }
}

// The filled pixels into the mask, one rebuild per touched row; pixels of locked
// layers keep theirs. Only blocks this fill worked out hold its marks.
void WriteFilled(TMask& mask, const QualifyingMap& map, const FilledRows& rows,
                 std::uint8_t layer) {
    if (mask.Locked[layer])
        return;
    const bool anyLocked =
        std::find(mask.Locked.begin(), mask.Locked.end(), true) != mask.Locked.end();
    std::vector<std::uint8_t> pixels(size_t(mask.Width));
    for (int y = 0; y < map.Height(); ++y) {
        if (rows.last[size_t(y)] < 0)
            continue;
        mask.ExpandRow(y, pixels.data());
        const std::uint8_t* done = map.Row(y);
        for (int b = rows.first[size_t(y)] / QualifyingMap::Block;
             b <= rows.last[size_t(y)] / QualifyingMap::Block; ++b) {
            if (!map.Known(y, b))
                continue;
            const int from = std::max(b * QualifyingMap::Block, rows.first[size_t(y)]);
            const int to = std::min((b + 1) * QualifyingMap::Block - 1, rows.last[size_t(y)]);
            if (anyLocked) {
                for (int x = from; x <= to; ++x) {
                    if (done[x] == 2 && !mask.Locked[pixels[x]])
                        pixels[x] = layer;
                }
            } else {
                // No lock anywhere: a plain select the compiler turns into vector code.
                for (int x = from; x <= to; ++x)
                    pixels[x] = done[x] == 2 ? layer : pixels[x];
            }
        }
        mask.SetRowFromPixels(y, pixels.data());
    }
}

} // namespace

qint64 FloodFill(TMask& mask, const QImage& view, int x, int y, Colour seed, int tolerance,
                 Colour barrier, std::uint8_t layer) {
    const int w = std::min(view.width(), mask.Width);
    const int h = std::min(view.height(), mask.Height);
    if (x < 0 || y < 0 || x >= w || y >= h)
        return 0;
    QualifyingMap map(view, w, h, seed, tolerance, barrier);
    FilledRows rows(map.Height());
    qint64 filled = 0;
    std::vector<Seed> stack{{x, y}};
    bool start = true;
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        map.Ensure(s.y, s.x, s.x);
        if (!start && map.Row(s.y)[s.x] != 1)
            continue; // filled meanwhile from another seed
        start = false;
        const auto [xl, xr] = ScanSpan(map, s.y, s.x);
        std::fill(map.Row(s.y) + xl, map.Row(s.y) + xr + 1, std::uint8_t(2));
        rows.Add(s.y, xl, xr);
        filled += xr - xl + 1;
        if (s.y > 0)
            PushSeeds(map, s.y - 1, xl, xr, stack);
        if (s.y < map.Height() - 1)
            PushSeeds(map, s.y + 1, xl, xr, stack);
    }
    WriteFilled(mask, map, rows, layer);
    return filled;
}
