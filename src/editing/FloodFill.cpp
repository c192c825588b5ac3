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

// The run of open pixels of row y around x (x itself is not tested), looked at a
// 64-pixel word at a time.
std::pair<int, int> ScanSpan(QualifyingMap& map, int y, int x) {
    constexpr int Block = QualifyingMap::Block;
    int xl = x;
    while (xl > 0) {
        // Pixels of xl's word below xl, highest first.
        const int block = (xl - 1) / Block;
        const int below = xl - block * Block;
        map.Ensure(y, block * Block, xl - 1);
        const std::uint64_t stops = ~map.OpenBits(y, block) & LowBits(below);
        if (stops == 0) {
            xl = block * Block;
            continue;
        }
        xl = block * Block + (63 - std::countl_zero(stops)) + 1;
        break;
    }
    int xr = x;
    while (xr < map.Width() - 1) {
        // Pixels of the word of xr + 1 from xr + 1 on, up to the picture's edge.
        const int from = xr + 1;
        const int block = from / Block;
        const int offset = from - block * Block;
        const int count = std::min(Block - offset, map.Width() - from);
        map.Ensure(y, from, from + count - 1);
        const std::uint64_t stops = ~(map.OpenBits(y, block) >> offset) & LowBits(count);
        if (stops == 0) {
            xr = from + count - 1;
            continue;
        }
        xr = from + std::countr_zero(stops) - 1;
        break;
    }
    return {xl, xr};
}

// One seed for every run of open pixels of row y that touches xl..xr.
void PushSeeds(QualifyingMap& map, int y, int xl, int xr, std::vector<Seed>& stack) {
    constexpr int Block = QualifyingMap::Block;
    map.Ensure(y, xl, xr);
    std::uint64_t carry = 0; // whether the pixel before this word began a run already
    for (int b = xl / Block; b <= xr / Block; ++b) {
        const int from = std::max(xl - b * Block, 0);
        const int to = std::min(xr - b * Block, Block - 1);
        const std::uint64_t bits = map.OpenBits(y, b) & (LowBits(to - from + 1) << from);
        std::uint64_t starts = bits & ~(bits << 1 | carry);
        while (starts) {
            stack.push_back({b * Block + std::countr_zero(starts), y});
            starts &= starts - 1;
        }
        carry = bits >> 63;
    }
}

// The filled pixels into the mask, one rebuild per touched row; pixels of locked
// layers keep theirs. Only blocks this fill worked out hold its marks.
void WriteFilled(TMask& mask, const QualifyingMap& map, const FilledRows& rows,
                 std::uint8_t layer) {
    constexpr int Block = QualifyingMap::Block;
    if (mask.Locked[layer])
        return;
    const bool anyLocked =
        std::find(mask.Locked.begin(), mask.Locked.end(), true) != mask.Locked.end();
    std::vector<std::uint8_t> pixels(size_t(mask.Width));
    for (int y = 0; y < map.Height(); ++y) {
        if (rows.last[size_t(y)] < 0)
            continue;
        mask.ExpandRow(y, pixels.data());
        for (int b = rows.first[size_t(y)] / Block; b <= rows.last[size_t(y)] / Block; ++b) {
            if (!map.Known(y, b))
                continue;
            // Each run of filled bits at once.
            std::uint64_t bits = map.FilledBits(y, b);
            while (bits) {
                const int start = std::countr_zero(bits);
                const int length = std::countr_one(bits >> start);
                bits &= ~(LowBits(length) << start);
                std::uint8_t* run = pixels.data() + b * Block + start;
                if (anyLocked) {
                    for (int i = 0; i < length; ++i) {
                        if (!mask.Locked[run[i]])
                            run[i] = layer;
                    }
                } else {
                    std::fill(run, run + length, layer);
                }
            }
        }
        mask.SetRowFromPixels(y, pixels.data());
    }
}

} // namespace

qint64 FloodFill(TMask& mask, const QImage& view, int x, int y, Colour seed, int tolerance,
                 Colour barrier, std::uint8_t layer, const DrawnLayers& drawn) {
    const int w = std::min(view.width(), mask.Width);
    const int h = std::min(view.height(), mask.Height);
    if (x < 0 || y < 0 || x >= w || y >= h)
        return 0;
    // Drawn pixels count only within their own layer: a colour on screen that another
    // layer shares must not carry the fill into it.
    const std::uint8_t startLayer = mask.LayerAt(x, y);
    QualifyingMap::LayerSet allowed;
    for (int i = 0; i < 256; ++i)
        allowed[size_t(i)] = drawn[startLayer] ? i == startLayer : !drawn[size_t(i)];
    QualifyingMap map(view, w, h, seed, tolerance, barrier, mask, allowed);
    FilledRows rows(map.Height());
    qint64 filled = 0;
    std::vector<Seed> stack{{x, y}};
    bool start = true;
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        map.Ensure(s.y, s.x, s.x);
        if (!start && !map.IsOpen(s.y, s.x))
            continue; // filled meanwhile from another seed
        start = false;
        const auto [xl, xr] = ScanSpan(map, s.y, s.x);
        map.Fill(s.y, xl, xr);
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
