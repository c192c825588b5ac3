#include "catalogue/ColourSort.h"

#include "render/Simd.h"

#include <vector>

namespace {

constexpr int StartingBest = 16777216;

int NearestScalar(const int* reds, const int* greens, const int* blues, int from, int count, int r,
                  int g, int b, int best, int bestIndex) {
    for (int i = from; i < count; ++i) {
        const int dr = reds[i] - r, dg = greens[i] - g, db = blues[i] - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < best) {
            best = d;
            bestIndex = i;
        }
    }
    return bestIndex;
}

#if defined(__x86_64__)
// Eight lanes each keep their smallest distance and its first index; the lanes
// are then merged by distance, then by index, which keeps "first wins".
__attribute__((target("avx2"))) int NearestAvx2(const int* reds, const int* greens,
                                                const int* blues, int count, int r, int g, int b) {
    const __m256i vr = _mm256_set1_epi32(r), vg = _mm256_set1_epi32(g), vb = _mm256_set1_epi32(b);
    __m256i best = _mm256_set1_epi32(StartingBest);
    __m256i bestIndex = _mm256_set1_epi32(-1);
    __m256i index = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i eight = _mm256_set1_epi32(8);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i dr =
            _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(reds + i)), vr);
        const __m256i dg =
            _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(greens + i)), vg);
        const __m256i db =
            _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(blues + i)), vb);
        const __m256i d = _mm256_add_epi32(
            _mm256_add_epi32(_mm256_mullo_epi32(dr, dr), _mm256_mullo_epi32(dg, dg)),
            _mm256_mullo_epi32(db, db));
        const __m256i smaller = _mm256_cmpgt_epi32(best, d);
        best = _mm256_blendv_epi8(best, d, smaller);
        bestIndex = _mm256_blendv_epi8(bestIndex, index, smaller);
        index = _mm256_add_epi32(index, eight);
    }
    alignas(32) int lanesBest[8];
    alignas(32) int lanesIndex[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanesBest), best);
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanesIndex), bestIndex);
    int winner = StartingBest, winnerIndex = -1;
    for (int lane = 0; lane < 8; ++lane) {
        if (lanesIndex[lane] < 0)
            continue;
        if (lanesBest[lane] < winner ||
            (lanesBest[lane] == winner && lanesIndex[lane] < winnerIndex)) {
            winner = lanesBest[lane];
            winnerIndex = lanesIndex[lane];
        }
    }
    return NearestScalar(reds, greens, blues, i, count, r, g, b, winner, winnerIndex);
}
#endif

} // namespace

int NearestColourIndex(const int* reds, const int* greens, const int* blues, int count, int r,
                       int g, int b) {
#if defined(__x86_64__)
    if (Simd::HasAvx2())
        return NearestAvx2(reds, greens, blues, count, r, g, b);
#endif
    return NearestScalar(reds, greens, blues, 0, count, r, g, b, StartingBest, -1);
}

ShadeList SortShadesByColour(const ShadeList& shades) {
    // The pool as component arrays in list order. A taken entry gets components no
    // distance can prefer; the pool is closed up now and then, keeping its order,
    // so that "first in the pool wins" still holds.
    constexpr int Taken = 1 << 14;
    const int count = int(shades.size());
    std::vector<int> reds(count), greens(count), blues(count), source(count);
    for (int i = 0; i < count; ++i) {
        reds[i] = shades[i].red;
        greens[i] = shades[i].green;
        blues[i] = shades[i].blue;
        source[i] = i;
    }
    ShadeList sorted;
    sorted.reserve(count);
    int size = count, taken = 0;
    int r = 0, g = 0, b = 0; // the first pick is the one nearest black
    for (int picked = 0; picked < count; ++picked) {
        const int k = NearestColourIndex(reds.data(), greens.data(), blues.data(), size, r, g, b);
        const ShadeRecord& pick = shades[source[k]];
        sorted.append(pick);
        r = pick.red;
        g = pick.green;
        b = pick.blue;
        reds[k] = greens[k] = blues[k] = Taken;
        ++taken;
        if (taken * 4 >= size - taken) {
            int kept = 0;
            for (int i = 0; i < size; ++i) {
                if (reds[i] == Taken)
                    continue;
                reds[kept] = reds[i];
                greens[kept] = greens[i];
                blues[kept] = blues[i];
                source[kept] = source[i];
                ++kept;
            }
            size = kept;
            taken = 0;
        }
    }
    return sorted;
}
