#include "render/LayerMap.h"

LayerMap BuildLayerMap(const LayerList& layers) {
    LayerMap map;
    for (int i = 0; i < 256; ++i)
        map[i] = static_cast<std::uint8_t>(i);
    const int count = std::min<int>(layers.size(), 256);
    for (int i = 0; i < count; ++i)
        map[i] = static_cast<std::uint8_t>(EffectiveLayer(layers, i));
    return map;
}
