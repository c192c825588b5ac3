#pragma once

#include "catalogue/CatalogueRecords.h"

// Orders shades into a chain of near colours: first the one nearest black, then
// each time the remaining one nearest to the previous (squared RGB distance; of
// equal distances the one that stood earlier wins). Shades without colour take
// part with their components of 300.
ShadeList SortShadesByColour(const ShadeList& shades);

// The index of the first entry with the smallest squared distance to (r, g, b)
// among count entries of the component arrays; -1 when count is 0.
int NearestColourIndex(const int* reds, const int* greens, const int* blues, int count, int r,
                       int g, int b);
