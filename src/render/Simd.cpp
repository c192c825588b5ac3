#include "render/Simd.h"

#include <atomic>

namespace Simd {

namespace {
std::atomic<bool> plainLoops = false;
} // namespace

bool HasAvx2() {
#if defined(__x86_64__)
    static const bool has = __builtin_cpu_supports("avx2");
    return has && !plainLoops.load(std::memory_order_relaxed);
#else
    return false;
#endif
}

void UsePlainLoops(bool plain) {
    plainLoops.store(plain, std::memory_order_relaxed);
}

} // namespace Simd
