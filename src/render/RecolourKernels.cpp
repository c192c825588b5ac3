#include "render/RecolourKernels.h"

#include "render/Simd.h"

#include <cstring>

namespace {

inline void RecolourScalar(const std::uint8_t* src, std::uint8_t* dst, int count,
                           const std::uint32_t* table) {
    for (int i = 0; i < count; ++i, src += 3, dst += 3) {
        const std::uint32_t bgr = table[2 * src[2] + 6 * src[1] + src[0]];
        dst[0] = static_cast<std::uint8_t>(bgr);
        dst[1] = static_cast<std::uint8_t>(bgr >> 8);
        dst[2] = static_cast<std::uint8_t>(bgr >> 16);
    }
}

#if defined(__x86_64__)
// Eight pixels a step: spread B, G, R into 32-bit lanes, form k with two
// multiply-adds, gather the results and pack them back into 24 bytes.
__attribute__((target("avx2"))) void RecolourAvx2(const std::uint8_t* src, std::uint8_t* dst,
                                                  int count, const std::uint32_t* table) {
    const __m256i weights = _mm256_setr_epi8(1, 6, 2, 0, 1, 6, 2, 0, 1, 6, 2, 0, 1, 6, 2, 0, 1, 6,
                                             2, 0, 1, 6, 2, 0, 1, 6, 2, 0, 1, 6, 2, 0);
    const __m256i ones = _mm256_set1_epi16(1);
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0,
                                          1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const int* base = reinterpret_cast<const int*>(table);
    int i = 0;
    // Each step reads 28 bytes (two 16-byte loads at 0 and 12): keep 2 pixels spare.
    for (; i + 10 <= count; i += 8, src += 24, dst += 24) {
        const __m256i bgr = Simd::LoadBgrLanes(src);
        const __m256i k = _mm256_madd_epi16(_mm256_maddubs_epi16(bgr, weights), ones);
        const __m256i result = _mm256_shuffle_epi8(_mm256_i32gather_epi32(base, k, 4), pack);
        const __m128i low = _mm256_castsi256_si128(result);
        const __m128i high = _mm256_extracti128_si256(result, 1);
        // Loads of this step happen before its stores, and the stores cover exactly
        // bytes 0..23, so working in place is safe.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), low);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 12), high);
        const int tail = _mm_extract_epi32(high, 2);
        std::memcpy(dst + 20, &tail, 4);
    }
    RecolourScalar(src, dst, count - i, table);
}
#endif

} // namespace

void RecolourSpan(const std::uint8_t* src, std::uint8_t* dst, int count,
                  const std::uint32_t* table) {
#if defined(__x86_64__)
    if (Simd::HasAvx2()) {
        RecolourAvx2(src, dst, count, table);
        return;
    }
#endif
    RecolourScalar(src, dst, count, table);
}

void FillSpan(std::uint8_t* dst, int count, Colour colour) {
    if (count <= 0)
        return;
    const std::uint8_t pixel[3] = {static_cast<std::uint8_t>(BlueOf(colour)),
                                   static_cast<std::uint8_t>(GreenOf(colour)),
                                   static_cast<std::uint8_t>(RedOf(colour))};
    // Fill a 16-pixel pattern once, then copy it in 48-byte blocks.
    std::uint8_t pattern[48];
    for (int i = 0; i < 16; ++i)
        std::memcpy(pattern + 3 * i, pixel, 3);
    size_t bytes = size_t(count) * 3;
    while (bytes >= sizeof pattern) {
        std::memcpy(dst, pattern, sizeof pattern);
        dst += sizeof pattern;
        bytes -= sizeof pattern;
    }
    std::memcpy(dst, pattern, bytes);
}
