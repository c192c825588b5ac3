#pragma once

#include "project/LayerRecord.h"

#include <QMetaType>

Q_DECLARE_METATYPE(LayerRecord)

// A layer with a paint chosen in the catalogue: shade, fan deck and paint kind ids
// (-1 none, 0 a free colour) and the quantity typed for it.
inline LayerRecord PaintedLayer(const QString& name, int shadeId, int fanDeckId, int paintKindId,
                                int quantity, Colour shade = NoColour) {
    LayerRecord layer = NewLayerTemplate(1);
    layer.Name = name;
    layer.ShadeId = shadeId;
    layer.FanDeckId = fanDeckId;
    layer.PaintKindId = paintKindId;
    layer.Quantity = quantity;
    layer.ShadeColour = shade;
    return layer;
}

// The same layer drawn with the colours of master.
inline LayerRecord Subordinated(LayerRecord layer, const QString& master) {
    layer.Subordinate = true;
    layer.MasterName = master;
    return layer;
}

// "Originál" followed by the given layers.
inline LayerList WithOriginal(const LayerList& layers) {
    return LayerList{OriginalLayerTemplate()} + layers;
}
