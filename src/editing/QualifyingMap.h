#pragma once

#include "project/Colour.h"

#include <QImage>
#include <cstdint>

// Which view pixels a flood fill may take: 1 = qualifies, 0 = does not, 2 = filled by
// this fill. A pixel qualifies when its colour distance to the seed is below the
// tolerance and its distance to the barrier colour above 5. The map is worked out
// lazily in blocks of 64 pixels as the fill reaches them, so that a fill of part of
// the picture looks at little more than that part. Only blocks this fill worked out
// hold its values: the memory is kept from one fill to the next (fresh memory costs
// page faults), and the rest of it holds whatever an earlier fill left there.
class QualifyingMap {
public:
    static constexpr int Block = 64;

    // The map covers pixels 0..width-1, 0..height-1 of the view.
    QualifyingMap(const QImage& view, int width, int height, Colour seed, int tolerance,
                  Colour barrier);

    int Width() const { return w_; }
    int Height() const { return h_; }
    std::uint8_t* Row(int y) { return map_ + size_t(y) * size_t(w_); }
    const std::uint8_t* Row(int y) const { return map_ + size_t(y) * size_t(w_); }

    // Makes pixels x0..x1 of row y known.
    void Ensure(int y, int x0, int x1) {
        std::uint8_t* known = known_ + size_t(y) * size_t(blocks_);
        const int last = (x1 < w_ ? x1 : w_ - 1) / Block;
        for (int b = (x0 > 0 ? x0 : 0) / Block; b <= last; ++b) {
            if (!known[b])
                WorkOut(y, b, known);
        }
    }
    // Whether block b of row y was worked out by this fill.
    bool Known(int y, int block) const { return known_[size_t(y) * size_t(blocks_) + block]; }

private:
    void WorkOut(int y, int block, std::uint8_t* known);

    const QImage& view_;
    int w_, h_, blocks_;
    int seed_[3], barrier_[3], seedLimit_;
    std::uint8_t* map_ = nullptr;
    std::uint8_t* known_ = nullptr;
};

// Bit i is set when byte p[i] is 1 (qualifies, not yet filled), for the first n
// bytes (n ≤ 32).
std::uint32_t QualifyingBits(const std::uint8_t* p, int n);
