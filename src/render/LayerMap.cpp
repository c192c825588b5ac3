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

LayerLook LookOf(const LayerList& layers, const LayerMap& map, int runLayer, bool maskMode) {
    const int index = map[size_t(runLayer)];
    if (runLayer == 0 || index >= layers.size())
        return LayerLook::Photo;
    const LayerRecord& layer = layers[index];
    if (maskMode && layer.ShownInMaskMode)
        return LayerLook::MaskColour;
    if (layer.ShadeColour != NoColour && !layer.HiddenInColourMode)
        return LayerLook::Shade;
    return LayerLook::Photo;
}

DrawnLayers LayersDrawn(const LayerList& layers, bool maskMode) {
    const LayerMap map = BuildLayerMap(layers);
    DrawnLayers drawn{};
    for (int i = 0; i < 256; ++i)
        drawn[size_t(i)] = LookOf(layers, map, i, maskMode) != LayerLook::Photo;
    return drawn;
}
