#pragma once

#include "editing/SmartPreparation.h"
#include "editing/SmartProposal.h"

#include <QImage>
#include <cstdint>
#include <vector>

// The chosen regions as a proposal at the photograph's full size. Cells away from
// the regions' edge give their photograph pixels whole; in the cells along the edge
// (one cell either side) every photograph pixel goes to the side whose colour nearby
// it is closer to: the means, quarter by quarter, of the surrounding cells of that
// side that are not on the edge themselves. So the edge follows the photograph's own, pixel by
// pixel, with no staircase of cells. photo is the prepared photograph (Format_BGR888).
SmartProposal RefineAtFullSize(const SmartPreparation& p, const QImage& photo,
                               const std::vector<std::uint8_t>& chosenRegions);
