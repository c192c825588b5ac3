#include "render/Simd.h"

namespace Simd {

bool HasAvx2() {
#if defined(__x86_64__)
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

} // namespace Simd
