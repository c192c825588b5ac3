#include "render/LayerMap.h"

LayerMap BuildLayerMap(const LayerList& layers) {
    LayerMap map;
    for (int i = 0; i < 256; ++i)
        map[i] = static_cast<std::uint8_t>(i);
    const int count = std::min<int>(layers.size(), 256);
    for (int i = 0; i < count; ++i) {
        if (!layers[i].Subordinate)
            continue;
        for (int j = 0; j < count; ++j) {
            if (layers[j].Name == layers[i].MasterName)
                map[i] = static_cast<std::uint8_t>(j);
        }
    }
    return map;
}
