#include "render/ShadePixel.h"

#include <algorithm>
#include <cmath>

float Brightness(int red, int green, int blue) {
    return static_cast<float>(0.2 * red + 0.6 * green + 0.1 * blue);
}

float ShadeRatio(float pixelBrightness, Colour realColour) {
    const float real = Brightness(RedOf(realColour), GreenOf(realColour), BlueOf(realColour));
    if (real < 0.01f)
        return 2.0f;
    return pixelBrightness / real;
}

namespace {

int ScaledChannel(int channel, float ratio) {
    // An 8-bit value times a float32 is exact in double; round half to even, clamp.
    const double scaled = std::nearbyint(double(channel) * double(ratio));
    return static_cast<int>(std::clamp(scaled, 0.0, 255.0));
}

Colour Scale(Colour shade, float ratio) {
    return Rgb(ScaledChannel(RedOf(shade), ratio), ScaledChannel(GreenOf(shade), ratio),
               ScaledChannel(BlueOf(shade), ratio));
}

} // namespace

Colour ShadePixel(Colour pixel, const LayerRecord& layer) {
    if (layer.ShadeColour == NoColour)
        return pixel;
    const float lum = Brightness(RedOf(pixel), GreenOf(pixel), BlueOf(pixel));
    return Scale(layer.ShadeColour, ShadeRatio(lum, layer.RealColour));
}

Colour ShadePixel(Colour pixel, const LayerList& layers, int layerIndex) {
    return ShadePixel(pixel, layers.at(layerIndex));
}

ShadeTable ShadeTable::For(Colour shade, Colour real) {
    ShadeTable table;
    for (int k = 0; k < Size; ++k) {
        const float lum = static_cast<float>(k / 10.0);
        const Colour c = Scale(shade, ShadeRatio(lum, real));
        table.Bgr[k] = std::uint32_t(BlueOf(c)) | std::uint32_t(GreenOf(c)) << 8 |
                       std::uint32_t(RedOf(c)) << 16;
    }
    return table;
}
