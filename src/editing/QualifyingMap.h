#pragma once

#include "project/Colour.h"
#include "project/Mask.h"

#include <QImage>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Which view pixels a flood fill may take, one bit per pixel in two planes: "open"
// (the pixel qualifies and this fill has not taken it yet) and "filled" (taken by
// this fill). A pixel qualifies when its colour distance to the seed is below the
// tolerance, its distance to the barrier colour above 5 and its mask layer one the
// fill may take (all of them unless told otherwise). The planes are worked
// out lazily in blocks of 64 pixels (one 64-bit word per plane) as the fill reaches
// them, so that a fill of part of the picture looks at little more than that part.
// Only blocks this fill worked out hold its values; the planes' memory is left as the
// system gives it, so that only the pages of blocks the fill reaches are ever
// touched, and it goes with the fill. Two bits a pixel keep the map at a twelfth of
// the picture.
class QualifyingMap {
public:
    static constexpr int Block = 64;

    // Mask layers whose pixels may qualify, by index.
    using LayerSet = std::array<bool, 256>;

    // The map covers pixels 0..width-1, 0..height-1 of the view and of mask (which
    // must be at least that large); only pixels of the allowed layers can qualify.
    QualifyingMap(const QImage& view, int width, int height, Colour seed, int tolerance,
                  Colour barrier, const TMask& mask, const LayerSet& allowed);

    int Width() const { return w_; }
    int Height() const { return h_; }

    // Makes pixels x0..x1 of row y known.
    void Ensure(int y, int x0, int x1) {
        std::uint8_t* known = known_.data() + size_t(y) * size_t(blocks_);
        const int last = (x1 < w_ ? x1 : w_ - 1) / Block;
        for (int b = (x0 > 0 ? x0 : 0) / Block; b <= last; ++b) {
            if (!known[b])
                WorkOut(y, b, known);
        }
    }
    // Whether block b of row y was worked out by this fill.
    bool Known(int y, int block) const { return known_[size_t(y) * size_t(blocks_) + block]; }

    // Bit i: pixel Block * block + i of row y is open. The block must be known.
    std::uint64_t OpenBits(int y, int block) const { return open_[Index(y, block)]; }
    // Bit i: pixel Block * block + i of row y was filled by this fill.
    std::uint64_t FilledBits(int y, int block) const { return filled_[Index(y, block)]; }
    bool IsOpen(int y, int x) const { return (OpenBits(y, x / Block) >> (x % Block)) & 1; }

    // Pixels xl..xr of row y (known, open) become filled.
    void Fill(int y, int xl, int xr);

private:
    size_t Index(int y, int block) const { return size_t(y) * size_t(blocks_) + size_t(block); }
    void WorkOut(int y, int block, std::uint8_t* known);
    // Bit i: pixel from + i of row y lies in an allowed layer (count pixels).
    std::uint64_t AllowedBits(int y, int from, int count);

    const QImage& view_;
    const TMask& mask_;
    LayerSet allowed_;
    bool everyLayer_;
    // Per row: 0 not looked at yet, 1 runs in order that cover it exactly once, 2 not.
    std::vector<std::uint8_t> rowShape_;
    // Per row of the first kind: the run that the block last worked out ended in.
    std::vector<int> runHint_;
    int w_, h_, blocks_;
    int seed_[3], barrier_[3], seedLimit_;
    std::unique_ptr<std::uint64_t[]> planes_; // open, then filled
    std::uint64_t* open_ = nullptr;
    std::uint64_t* filled_ = nullptr;
    std::vector<std::uint8_t> known_;
};

// The n lowest bits set (n from 0 to 64).
constexpr std::uint64_t LowBits(int n) {
    return n >= 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << n) - 1;
}
