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

std::vector<std::uint8_t> QualifyingMap(const QImage& view, Colour seed, int tolerance,
                                        Colour barrier) {
    const int w = view.width(), h = view.height();
    std::vector<std::uint8_t> map(size_t(w) * size_t(h));
    const Limits limits{BlueOf(seed),     GreenOf(seed),  RedOf(seed),  BlueOf(barrier),
                        GreenOf(barrier), RedOf(barrier), 3 * tolerance};
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = view.constScanLine(y);
        std::uint8_t* out = map.data() + size_t(y) * size_t(w);
#if defined(__x86_64__)
        if (HasAvx2()) {
            QualifyRowAvx2(p, out, w, limits);
            continue;
        }
#endif
        QualifyRowScalar(p, out, 0, w, limits);
    }
    return map;
}

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
    std::vector<std::uint8_t> map = QualifyingMap(view, seed, tolerance, barrier);
    const size_t stride = size_t(view.width());
    const auto at = [&](int px, int py) -> std::uint8_t& {
        return map[size_t(py) * stride + size_t(px)];
    };

    // The rows the fill touched, with the x range of their filled pixels.
    std::vector<int> rowFirst(size_t(h), w), rowLast(size_t(h), -1);
    qint64 filled = 0;
    std::vector<Seed> stack{{x, y}};
    bool start = true;
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        if (!start && at(s.x, s.y) != 1)
            continue; // filled meanwhile from another seed
        start = false;
        const std::uint8_t* line = &at(0, s.y);
        int xl = s.x, xr = s.x;
        while (xl >= 9 && Word(line + xl - 8) == AllOnes)
            xl -= 8;
        while (xl > 0 && line[xl - 1] == 1)
            --xl;
        while (xr + 8 < w && Word(line + xr + 1) == AllOnes)
            xr += 8;
        while (xr < w - 1 && line[xr + 1] == 1)
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
            for (int nx = xl; nx <= xr;) {
                // Blocks of eight without a qualifying pixel are passed over whole.
                if (nx + 8 <= xr + 1 && !AnyOne(Word(row + nx))) {
                    nx += 8;
                    continue;
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
