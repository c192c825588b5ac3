#pragma once

#include "render/ShadePixel.h"

#include <memory>

// The lookup table of a shade on a real colour, made once and kept for the next
// renders: a pencil dab repaints a few hundred pixels, and making a table costs more
// than that. A table depends on nothing but the two colours, so a kept one is always
// right. Safe to call from several threads.
std::shared_ptr<const ShadeTable> ShadeTableFor(Colour shade, Colour real);
