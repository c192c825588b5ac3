#pragma once

#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// What the vector kernels of the program share: whether the processor has AVX2 (the
// kernels fall back to plain loops without it), and BGR pixels spread into lanes.
namespace Simd {

// Whether the kernels take their AVX2 loops: the processor has AVX2 and the plain
// loops were not asked for.
bool HasAvx2();

// Makes every kernel take its plain loop (false: AVX2 again where the processor has
// it), so that both loops can be checked on a machine with AVX2.
void UsePlainLoops(bool plain);

#if defined(__x86_64__)
// Eight BGR pixels from p as 32-bit lanes holding B, G, R and 0. Reads 28 bytes (two
// 16-byte loads at 0 and 12), so two more pixels must be readable after the eight.
__attribute__((target("avx2"))) inline __m256i LoadBgrLanes(const std::uint8_t* p) {
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
                                            1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    return _mm256_shuffle_epi8(_mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(p + 12),
                                                   reinterpret_cast<const __m128i*>(p)),
                               spread);
}
#endif

} // namespace Simd
