#pragma once

#include "project/Mask.h"
#include "render/LayerMap.h"

#include <QImage>
#include <cstdint>

// Fills the 4-connected region around (x, y) of view pixels q with
// ColourDistance(q, seed) < tolerance and ColourDistance(q, barrier) > 5 (the start
// pixel always counts) into the mask with the layer; pixels of locked layers keep
// theirs but the fill spreads through them. view is Format_BGR888 at the mask's size
// (zoom 1). drawn says which mask layers the view shows in a mask colour or a shade
// rather than the photograph: from a pixel so drawn the fill takes only pixels of
// that same mask layer (its own index, not its master's), from a pixel that shows the
// photograph only pixels that show it too, so that a layer drawn in a colour never
// lets the fill into another. With nothing drawn every pixel counts by colour alone.
// The result depends only on the view, the mask, the point and the settings, never
// on an earlier fill. Pending spans are kept on an explicit stack. Returns the number
// of filled pixels.
qint64 FloodFill(TMask& mask, const QImage& view, int x, int y, Colour seed, int tolerance,
                 Colour barrier, std::uint8_t layer, const DrawnLayers& drawn = DrawnLayers{});
