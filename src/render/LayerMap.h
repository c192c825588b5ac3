#pragma once

#include "project/LayerRecord.h"

#include <array>
#include <cstdint>

// For every layer index, the layer whose appearance it takes: itself, or its master
// when it is subordinate and its master's name exists. Masters are not followed further.
using LayerMap = std::array<std::uint8_t, 256>;

LayerMap BuildLayerMap(const LayerList& layers);

// How the view shows the pixels of a mask layer: the photograph's own colours, the
// flat mask colour, or the photograph recoloured with a shade.
enum class LayerLook : std::uint8_t { Photo, MaskColour, Shade };

// The look of the pixels of mask layer runLayer, taken from map[runLayer] (its master
// when it is subordinate). Layer 0 and indices past the layers show the photograph.
LayerLook LookOf(const LayerList& layers, const LayerMap& map, int runLayer, bool maskMode);

// For every mask layer index, whether the view draws its pixels for the layer (in a
// mask colour or a shade) instead of showing the photograph.
using DrawnLayers = std::array<bool, 256>;
DrawnLayers LayersDrawn(const LayerList& layers, bool maskMode);
