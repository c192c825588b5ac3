#include "editing/QualifyingMap.h"

#include "render/Simd.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

struct Limits {
    int sb, sg, sr, bb, bg, br, seedLimit;
};

// sum < 3 × tolerance is "distance < tolerance", sum ≥ 18 is "distance > 5".
// Bit i of the result is pixel i of the count from p.
std::uint64_t QualifyScalar(const std::uint8_t* p, int count, const Limits& l) {
    std::uint64_t bits = 0;
    for (int x = 0; x < count; ++x, p += 3) {
        const int toSeed = std::abs(p[0] - l.sb) + std::abs(p[1] - l.sg) + std::abs(p[2] - l.sr);
        const int toBarrier = std::abs(p[0] - l.bb) + std::abs(p[1] - l.bg) + std::abs(p[2] - l.br);
        bits |= std::uint64_t((toSeed < l.seedLimit) & (toBarrier >= 18)) << x;
    }
    return bits;
}

#if defined(__x86_64__)
// |B − B'| + |G − G'| + |R − R'| in each 32-bit lane.
__attribute__((target("avx2"))) inline __m256i ChannelSum(__m256i pixels, __m256i other,
                                                          __m256i ones8, __m256i ones16) {
    const __m256i diff =
        _mm256_sub_epi8(_mm256_max_epu8(pixels, other), _mm256_min_epu8(pixels, other));
    return _mm256_madd_epi16(_mm256_maddubs_epi16(diff, ones8), ones16);
}

// Eight pixels a step: spread into 32-bit lanes, absolute byte differences, sums of
// the three channels by multiply-adds, both comparisons, then the lanes' sign bits as
// eight result bits. A step reads 28 bytes: readable says how many pixels from p may
// be read.
__attribute__((target("avx2"))) std::uint64_t QualifyAvx2(const std::uint8_t* p, int count,
                                                          int readable, const Limits& l) {
    const __m256i seed = _mm256_set1_epi32(l.sb | l.sg << 8 | l.sr << 16);
    const __m256i barrier = _mm256_set1_epi32(l.bb | l.bg << 8 | l.br << 16);
    const __m256i ones8 = _mm256_set1_epi8(1);
    const __m256i ones16 = _mm256_set1_epi16(1);
    const __m256i seedLimit = _mm256_set1_epi32(l.seedLimit);
    const __m256i barrierLimit = _mm256_set1_epi32(17);
    std::uint64_t bits = 0;
    int x = 0;
    for (; x + 8 <= count && x + 10 <= readable; x += 8, p += 24) {
        const __m256i pixels = Simd::LoadBgrLanes(p);
        const __m256i nearSeed =
            _mm256_cmpgt_epi32(seedLimit, ChannelSum(pixels, seed, ones8, ones16));
        const __m256i farFromBarrier =
            _mm256_cmpgt_epi32(ChannelSum(pixels, barrier, ones8, ones16), barrierLimit);
        const __m256i both = _mm256_and_si256(nearSeed, farFromBarrier);
        bits |= std::uint64_t(unsigned(_mm256_movemask_ps(_mm256_castsi256_ps(both)))) << x;
    }
    return x < count ? bits | QualifyScalar(p, count - x, l) << x : bits;
}
#endif

} // namespace

QualifyingMap::QualifyingMap(const QImage& view, int width, int height, Colour seed, int tolerance,
                             Colour barrier, const TMask& mask, const LayerSet& allowed)
    : view_(view), mask_(mask), allowed_(allowed),
      everyLayer_(std::find(allowed.begin(), allowed.end(), false) == allowed.end()), w_(width),
      h_(height),
      blocks_((w_ + Block - 1) / Block), seed_{BlueOf(seed), GreenOf(seed), RedOf(seed)},
      barrier_{BlueOf(barrier), GreenOf(barrier), RedOf(barrier)}, seedLimit_(3 * tolerance) {
    const size_t words = size_t(blocks_) * size_t(h_);
    planes_.reset(new std::uint64_t[2 * words]); // not cleared: only known blocks are read
    open_ = planes_.get();
    filled_ = open_ + words;
    known_.assign(words, 0);
    if (!everyLayer_) {
        rowShape_.assign(size_t(h_), 0);
        runHint_.assign(size_t(h_), 0);
    }
}

std::uint64_t QualifyingMap::AllowedBits(int y, int from, int count) {
    const MaskRow& row = mask_.Rows[size_t(y)];
    const int to = from + count - 1;
    std::uint8_t& shape = rowShape_[size_t(y)];
    if (shape == 0) {
        int next = 0;
        bool ordered = true;
        for (const MaskRun& run : row) {
            ordered = ordered && run.First == next && run.Last >= run.First;
            next = run.Last + 1;
        }
        shape = ordered && next == mask_.Width ? 1 : 2;
    }
    std::uint64_t bits = 0;
    if (shape == 1) {
        // Runs in order: the first one reaching the block, then on while they start in
        // it. A row's blocks are mostly worked out one after the other, so the run the
        // row's last block ended in, or the one after it, is tried first.
        int& hint = runHint_[size_t(y)];
        const int runs = int(row.size());
        int first = hint;
        if (!(row[size_t(first)].First <= from && from <= row[size_t(first)].Last)) {
            if (first + 1 < runs && row[size_t(first) + 1].First <= from &&
                from <= row[size_t(first) + 1].Last)
                ++first;
            else
                first =
                    int(std::partition_point(row.begin(), row.end(),
                                             [from](const MaskRun& r) { return r.Last < from; }) -
                        row.begin());
        }
        int i = first;
        for (; i < runs && row[size_t(i)].First <= to; ++i) {
            const MaskRun& run = row[size_t(i)];
            if (allowed_[run.Layer]) {
                const int a = std::max(run.First, from) - from;
                const int b = std::min(run.Last, to) - from;
                bits |= LowBits(b - a + 1) << a;
            }
        }
        hint = i - 1;
        return bits;
    }
    // Any other row: the first run covering a pixel names its layer, as the mask reads
    // it; a pixel no run covers is layer 0.
    if (allowed_[0])
        bits = LowBits(count);
    for (auto run = row.rbegin(); run != row.rend(); ++run) {
        const int a = std::max(run->First, from);
        const int b = std::min(run->Last, to);
        if (a > b)
            continue;
        const std::uint64_t span = LowBits(b - a + 1) << (a - from);
        bits = allowed_[run->Layer] ? bits | span : bits & ~span;
    }
    return bits;
}

void QualifyingMap::WorkOut(int y, int block, std::uint8_t* known) {
    known[block] = 1;
    const int from = block * Block;
    const int count = std::min(w_, from + Block) - from;
    const std::uint8_t* p = view_.constScanLine(y) + 3 * from;
    const Limits limits{seed_[0],    seed_[1],    seed_[2],  barrier_[0],
                        barrier_[1], barrier_[2], seedLimit_};
    std::uint64_t bits;
#if defined(__x86_64__)
    if (Simd::HasAvx2())
        bits = QualifyAvx2(p, count, w_ - from, limits);
    else
#endif
        bits = QualifyScalar(p, count, limits);
    if (!everyLayer_)
        bits &= AllowedBits(y, from, count);
    open_[Index(y, block)] = bits;
    filled_[Index(y, block)] = 0;
}

void QualifyingMap::Fill(int y, int xl, int xr) {
    for (int b = xl / Block; b <= xr / Block; ++b) {
        const int from = std::max(xl - b * Block, 0);
        const int to = std::min(xr - b * Block, Block - 1);
        const std::uint64_t span = LowBits(to - from + 1) << from;
        open_[Index(y, b)] &= ~span;
        filled_[Index(y, b)] |= span;
    }
}
