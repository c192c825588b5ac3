#pragma once

#include "render/RenderRegion.h"

// The rebuild of a view rectangle written out step by step, pixel by pixel, as
// plainly as possible: the fast renderer must produce exactly the same pixels.
void ReferenceRender(const RenderInput& input, QImage& view, int x1, int y1, int x2, int y2);
