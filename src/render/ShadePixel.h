#pragma once

#include "project/LayerRecord.h"

#include <array>
#include <cstdint>

// Brightness as the recolouring takes it: 0.2 R + 0.6 G + 0.1 B, kept as float32.
float Brightness(int red, int green, int blue);

// The recolouring ratio of a pixel of the given brightness against a real colour.
float ShadeRatio(float pixelBrightness, Colour realColour);

// The recoloured value of one pixel for one layer: the shade scaled by the ratio
// of the pixel's brightness to that of the layer's real colour.
Colour ShadePixel(Colour pixel, const LayerRecord& layer);
Colour ShadePixel(Colour pixel, const LayerList& layers, int layerIndex);

// The brightness of a pixel depends only on k = 2 R + 6 G + B (0.2 R + 0.6 G + 0.1 B
// is k / 10, and its float32 value is the same for every pixel of one k), so the
// recoloured pixel is a lookup. Each entry holds the result as bytes B, G, R, 0.
struct ShadeTable {
    static constexpr int Size = 2 * 255 + 6 * 255 + 255 + 1;
    std::array<std::uint32_t, Size> Bgr;

    static int IndexOf(int red, int green, int blue) { return 2 * red + 6 * green + blue; }
    static ShadeTable For(Colour shade, Colour real);
};
