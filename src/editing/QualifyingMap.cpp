#include "editing/QualifyingMap.h"

#include "render/Simd.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Limits {
    int sb, sg, sr, bb, bg, br, seedLimit;
};

// sum < 3 × tolerance is "distance < tolerance", sum ≥ 18 is "distance > 5".
void QualifyScalar(const std::uint8_t* p, std::uint8_t* out, int count, const Limits& l) {
    for (int x = 0; x < count; ++x, p += 3) {
        const int toSeed = std::abs(p[0] - l.sb) + std::abs(p[1] - l.sg) + std::abs(p[2] - l.sr);
        const int toBarrier = std::abs(p[0] - l.bb) + std::abs(p[1] - l.bg) + std::abs(p[2] - l.br);
        out[x] = std::uint8_t((toSeed < l.seedLimit) & (toBarrier >= 18));
    }
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
// the three channels by multiply-adds, both comparisons, then eight result bytes.
// A step reads 28 bytes: readable says how many pixels from p may be read.
__attribute__((target("avx2"))) void QualifyAvx2(const std::uint8_t* p, std::uint8_t* out,
                                                 int count, int readable, const Limits& l) {
    const __m256i seed = _mm256_set1_epi32(l.sb | l.sg << 8 | l.sr << 16);
    const __m256i barrier = _mm256_set1_epi32(l.bb | l.bg << 8 | l.br << 16);
    const __m256i ones8 = _mm256_set1_epi8(1);
    const __m256i ones16 = _mm256_set1_epi16(1);
    const __m256i seedLimit = _mm256_set1_epi32(l.seedLimit);
    const __m256i barrierLimit = _mm256_set1_epi32(17);
    int x = 0;
    for (; x + 8 <= count && x + 10 <= readable; x += 8, p += 24) {
        const __m256i pixels = Simd::LoadBgrLanes(p);
        const __m256i nearSeed =
            _mm256_cmpgt_epi32(seedLimit, ChannelSum(pixels, seed, ones8, ones16));
        const __m256i farFromBarrier =
            _mm256_cmpgt_epi32(ChannelSum(pixels, barrier, ones8, ones16), barrierLimit);
        // Lanes of -1 or 0 narrowed to bytes: pixels 0..3 end in the low lane, 4..7 in
        // the high one.
        const __m256i both = _mm256_and_si256(nearSeed, farFromBarrier);
        const __m256i words = _mm256_packs_epi32(both, both);
        const __m256i bytes = _mm256_packs_epi16(words, words);
        const std::uint64_t packed = std::uint64_t(std::uint32_t(_mm256_extract_epi32(bytes, 0))) |
                                     std::uint64_t(std::uint32_t(_mm256_extract_epi32(bytes, 4)))
                                         << 32;
        const std::uint64_t result = packed & 0x0101010101010101ull;
        std::memcpy(out + x, &result, 8);
    }
    QualifyScalar(p, out + x, count - x, l);
}
#endif

} // namespace

QualifyingMap::QualifyingMap(const QImage& view, int width, int height, Colour seed, int tolerance,
                             Colour barrier)
    : view_(view), w_(width), h_(height),
      blocks_((w_ + Block - 1) / Block), seed_{BlueOf(seed), GreenOf(seed), RedOf(seed)},
      barrier_{BlueOf(barrier), GreenOf(barrier), RedOf(barrier)}, seedLimit_(3 * tolerance) {
    thread_local std::vector<std::uint8_t> mapMemory;
    thread_local std::vector<std::uint8_t> knownMemory;
    const size_t size = size_t(w_) * size_t(h_);
    if (mapMemory.size() < size)
        mapMemory.resize(size);
    knownMemory.assign(size_t(blocks_) * size_t(h_), 0);
    map_ = mapMemory.data();
    known_ = knownMemory.data();
}

void QualifyingMap::WorkOut(int y, int block, std::uint8_t* known) {
    known[block] = 1;
    const int from = block * Block;
    const int count = std::min(w_, from + Block) - from;
    const std::uint8_t* p = view_.constScanLine(y) + 3 * from;
    const Limits limits{seed_[0],    seed_[1],    seed_[2],  barrier_[0],
                        barrier_[1], barrier_[2], seedLimit_};
#if defined(__x86_64__)
    if (Simd::HasAvx2()) {
        QualifyAvx2(p, Row(y) + from, count, w_ - from, limits);
        return;
    }
#endif
    QualifyScalar(p, Row(y) + from, count, limits);
}

std::uint32_t QualifyingBits(const std::uint8_t* p, int n) {
#if defined(__x86_64__)
    if (n == 32) {
        // SSE2 is part of every x86-64: compare 16 bytes at a time with 1.
        const __m128i one = _mm_set1_epi8(1);
        const auto low = std::uint32_t(_mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), one)));
        const auto high = std::uint32_t(_mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)), one)));
        return low | high << 16;
    }
#endif
    std::uint32_t bits = 0;
    for (int i = 0; i < n; ++i)
        bits |= std::uint32_t(p[i] == 1) << i;
    return bits;
}
