#pragma once

#include <algorithm>
#include <cstdint>

// The splash window stays at least this long in total.
inline constexpr std::int64_t SplashMinimumMs = 5000;

// How much longer the splash must stay after creating the windows took elapsedMs.
constexpr std::int64_t SplashRemainingMs(std::int64_t elapsedMs) {
    return std::max<std::int64_t>(0, SplashMinimumMs - elapsedMs);
}
