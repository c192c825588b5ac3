#pragma once

#include "project/LayerRecord.h"

#include <array>
#include <cstdint>

// For every layer index, the layer whose appearance it takes: itself, or its master
// when it is subordinate and its master's name exists. Masters are not followed further.
using LayerMap = std::array<std::uint8_t, 256>;

LayerMap BuildLayerMap(const LayerList& layers);
