#pragma once

#include "project/Document.h"

#include <QImage>

// What the picture is made of at one moment.
struct RenderInput {
    const QImage& Photo; // Format_BGR888
    const TMask& Mask;
    const LayerList& Layers;
    float ZoomFactor = 1.0f;
    bool MaskEditMode = false;
};

// Rebuilds the view pixels of photograph pixels x1..x2, y1..y2 (inclusive, clamped
// into the picture): the photograph at the zoom, then every layer's runs in its mask
// colour (mask mode, when shown) or recoloured with its shade. view is Format_BGR888
// at the zoomed size. Never reads or writes outside the photograph, the mask rows or
// the view, whatever the rows hold or however the sizes differ.
void RenderRegion(const RenderInput& input, QImage& view, int x1, int y1, int x2, int y2);

// The recoloured picture at zoom 1 (mask colours in mask mode), without a view.
// Throws IoError when there is not memory for it.
QImage RenderFullSize(const Document& doc, bool maskEditMode);
