#pragma once

#include <cstdint>

// A colour value: red in bits 0-7, green in 8-15, blue in 16-23, top byte zero.
// -1 stands for "no colour" (used only by a layer's shade).
using Colour = std::int32_t;

inline constexpr Colour NoColour = -1;

constexpr Colour Rgb(int red, int green, int blue) {
    return Colour(red & 0xFF) | Colour(green & 0xFF) << 8 | Colour(blue & 0xFF) << 16;
}
constexpr int RedOf(Colour c) {
    return c & 0xFF;
}
constexpr int GreenOf(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(Colour c) {
    return (c >> 16) & 0xFF;
}
