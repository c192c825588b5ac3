#pragma once

#include "editing/SmartPreparation.h"

#include <cstdint>
#include <vector>

// For every region of a prepared photograph, the nearest marked regions: the
// included one nearest in colour (CIELAB) and in surroundings' colour, and the
// excluded one nearest in colour, as squared distances with the region that gives
// each (the lowest of equally near ones; -1 and a distance of 1e9 while none is
// marked). It is what the region measures spend most of their time on, so a stroke
// only updates it for the regions whose marks it changed (UpdateNearestMarked): the
// next stroke's cost does not grow with the regions marked before it.
struct NearestMarked {
    std::vector<float> Colour;
    std::vector<int> ColourOf;
    std::vector<float> Near;
    std::vector<int> NearOf;
    std::vector<float> Excluded;
    std::vector<int> ExcludedOf;
};

// Worked out from the marks (0 unmarked, 1 included, 2 excluded) from scratch.
NearestMarked FindNearestMarked(const SmartPreparation& p, const std::vector<std::uint8_t>& marks);

// From what it was for the marks before to what it is for the marks after: the same
// as FindNearestMarked(p, after).
void UpdateNearestMarked(NearestMarked& nearest, const SmartPreparation& p,
                         const std::vector<std::uint8_t>& before,
                         const std::vector<std::uint8_t>& after);
