#include "editing/Tools.h"

#include "render/ZoomMath.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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
struct Limits {
    int sb, sg, sr, bb, bg, br, seedLimit;
};

void QualifyRowScalar(const std::uint8_t* p, std::uint8_t* out, int from, int count,
                      const Limits& l) {
    p += 3 * from;
    for (int x = from; x < count; ++x, p += 3) {
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
__attribute__((target("avx2"))) void QualifyRowAvx2(const std::uint8_t* p, std::uint8_t* out,
                                                    int count, const Limits& l) {
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                            1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i seed = _mm256_set1_epi32(l.sb | l.sg << 8 | l.sr << 16);
    const __m256i barrier = _mm256_set1_epi32(l.bb | l.bg << 8 | l.br << 16);
    const __m256i ones8 = _mm256_set1_epi8(1);
    const __m256i ones16 = _mm256_set1_epi16(1);
    const __m256i seedLimit = _mm256_set1_epi32(l.seedLimit);
    const __m256i barrierLimit = _mm256_set1_epi32(17);
    int x = 0;
    for (; x + 10 <= count; x += 8, p += 24) {
        const __m256i pixels =
            _mm256_shuffle_epi8(_mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(p + 12),
                                                    reinterpret_cast<const __m128i*>(p)),
                                spread);
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
    QualifyRowScalar(p - 3 * x, out, x, count, l);
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif

// The qualifying map, worked out lazily in blocks of 64 pixels as the fill reaches
// them, so that a fill of part of the picture looks at little more than that part.
// Its memory is kept from one fill to the next rather than paying fresh page faults.
class QualifyingMap {
public:
    static constexpr int Block = 64;

    QualifyingMap(const QImage& view, Colour seed, int tolerance, Colour barrier)
        : view_(view), w_(view.width()), h_(view.height()),
          blocks_((w_ + Block - 1) / Block), limits_{BlueOf(seed),     GreenOf(seed),
                                                     RedOf(seed),      BlueOf(barrier),
                                                     GreenOf(barrier), RedOf(barrier),
                                                     3 * tolerance} {
        thread_local std::vector<std::uint8_t> mapMemory;
        thread_local std::vector<std::uint8_t> readyMemory;
        const size_t size = size_t(w_) * size_t(h_);
        if (mapMemory.size() < size)
            mapMemory.resize(size);
        readyMemory.assign(size_t(blocks_) * size_t(h_), 0);
        map_ = mapMemory.data();
        ready_ = readyMemory.data();
    }

    std::uint8_t* Row(int y) { return map_ + size_t(y) * size_t(w_); }

    // Makes pixels x0..x1 of row y known.
    void Ensure(int y, int x0, int x1) {
        std::uint8_t* ready = ready_ + size_t(y) * size_t(blocks_);
        for (int b = std::max(x0, 0) / Block; b <= std::min(x1, w_ - 1) / Block; ++b) {
            if (ready[b])
                continue;
            ready[b] = 1;
            const int from = b * Block, to = std::min(w_, from + Block);
            const std::uint8_t* p = view_.constScanLine(y) + 3 * from;
#if defined(__x86_64__)
            if (HasAvx2()) {
                QualifyRowAvx2(p, Row(y) + from, to - from, limits_);
                continue;
            }
#endif
            QualifyRowScalar(p - 3 * from, Row(y), from, to, limits_);
        }
    }

private:
    const QImage& view_;
    int w_, h_, blocks_;
    Limits limits_;
    std::uint8_t* map_ = nullptr;
    std::uint8_t* ready_ = nullptr;
};

constexpr std::uint64_t AllOnes = 0x0101010101010101ull;

std::uint64_t Word(const std::uint8_t* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// Whether any of the eight bytes is 1.
bool AnyOne(std::uint64_t w) {
    const std::uint64_t t = w ^ AllOnes;
    return ((t - AllOnes) & ~t & 0x8080808080808080ull) != 0;
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
    QualifyingMap map(view, seed, tolerance, barrier);
    const auto at = [&map](int px, int py) -> std::uint8_t& { return map.Row(py)[px]; };

    // The rows the fill touched, with the x range of their filled pixels.
    std::vector<int> rowFirst(size_t(h), w), rowLast(size_t(h), -1);
    qint64 filled = 0;
    std::vector<Seed> stack{{x, y}};
    bool start = true;
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        map.Ensure(s.y, s.x, s.x);
        if (!start && at(s.x, s.y) != 1)
            continue; // filled meanwhile from another seed
        start = false;
        const std::uint8_t* line = map.Row(s.y);
        int xl = s.x, xr = s.x;
        for (;;) {
            if (xl >= 9) {
                map.Ensure(s.y, xl - 8, xl - 1);
                if (Word(line + xl - 8) == AllOnes) {
                    xl -= 8;
                    continue;
                }
            }
            if (xl == 0)
                break;
            map.Ensure(s.y, xl - 1, xl - 1);
            if (line[xl - 1] != 1)
                break;
            --xl;
        }
        for (;;) {
            if (xr + 8 < w) {
                map.Ensure(s.y, xr + 1, xr + 8);
                if (Word(line + xr + 1) == AllOnes) {
                    xr += 8;
                    continue;
                }
            }
            if (xr == w - 1)
                break;
            map.Ensure(s.y, xr + 1, xr + 1);
            if (line[xr + 1] != 1)
                break;
            ++xr;
        }
        std::fill(&at(xl, s.y), &at(xr, s.y) + 1, std::uint8_t(2));
        filled += xr - xl + 1;
        rowFirst[size_t(s.y)] = std::min(rowFirst[size_t(s.y)], xl);
        rowLast[size_t(s.y)] = std::max(rowLast[size_t(s.y)], xr);
        // One seed per run of qualifying pixels above and below.
        for (int ny : {s.y - 1, s.y + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            map.Ensure(ny, xl, xr);
            const std::uint8_t* row = map.Row(ny);
            for (int nx = xl; nx <= xr;) {
                // Blocks of eight without a qualifying pixel, or all qualifying, are
                // passed over whole: a run can only start at their first byte.
                if (nx + 8 <= xr + 1) {
                    const std::uint64_t word = Word(row + nx);
                    if (!AnyOne(word)) {
                        nx += 8;
                        continue;
                    }
                    if (word == AllOnes) {
                        if (nx == xl || row[nx - 1] != 1)
                            stack.push_back({nx, ny});
                        nx += 8;
                        continue;
                    }
                }
                if (row[nx] == 1 && (nx == xl || row[nx - 1] != 1))
                    stack.push_back({nx, ny});
                ++nx;
            }
        }
    }

    // Into the mask, one rebuild per touched row: pixels of locked layers keep theirs.
    std::vector<std::uint8_t> layers(size_t(mask.Width));
    if (mask.Locked[layer])
        return filled;
    const bool anyLocked =
        std::find(mask.Locked.begin(), mask.Locked.end(), true) != mask.Locked.end();
    for (int row = 0; row < h; ++row) {
        if (rowLast[size_t(row)] < 0)
            continue;
        mask.ExpandRow(row, layers.data());
        const std::uint8_t* done = map.Row(row);
        std::uint8_t* pixel = layers.data();
        const int first = rowFirst[size_t(row)], last = rowLast[size_t(row)];
        if (anyLocked) {
            for (int px = first; px <= last; ++px) {
                if (done[px] == 2 && !mask.Locked[pixel[px]])
                    pixel[px] = layer;
            }
        } else {
            // No lock anywhere: a plain select the compiler turns into vector code.
            for (int px = first; px <= last; ++px)
                pixel[px] = done[px] == 2 ? layer : pixel[px];
        }
        mask.SetRowFromPixels(row, layers.data());
    }
    return filled;
}
