#include "project/LayerRecord.h"

LayerRecord OriginalLayerTemplate() {
    LayerRecord layer;
    layer.Name = OriginalLayerName;
    return layer;
}

Colour AutoMaskColour(int n) {
    return Rgb((93 * n) % 255, (170 * n) % 255, (70 * n) % 255);
}

LayerRecord NewLayerTemplate(int n) {
    LayerRecord layer = OriginalLayerTemplate();
    layer.Name.clear();
    layer.RealColour = Rgb(208, 208, 208);
    layer.MaskColour = AutoMaskColour(n);
    return layer;
}

int EffectiveLayer(const LayerList& layers, int index) {
    if (index < 0 || index >= layers.size() || !layers[index].Subordinate)
        return index;
    int master = index;
    for (int j = 0; j < layers.size(); ++j) {
        if (j != index && layers[j].Name == layers[index].MasterName)
            master = j;
    }
    return master;
}
