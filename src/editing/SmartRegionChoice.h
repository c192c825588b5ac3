#pragma once

#include "editing/SmartNearestMarked.h"
#include "editing/SmartPreparation.h"
#include "editing/SmartStroke.h"

#include <array>
#include <cstdint>
#include <vector>

// Which regions of a prepared photograph the strokes ask for.
//
// Regions under a stroke are decided by it (the later stroke wins). Every other
// region is judged by a few measures of how it relates to the marked ones: how near
// its colour, its surroundings' colour and its grain come to the nearest marked
// region's, how strong the steepest colour step is on the gentlest path of
// neighbours from a marked region, how far it lies from regions clearly unlike the
// marked ones, and so on (RegionMeasures). A logistic weighting of the measures,
// fitted on generated facades (bench/fit_smart_selection), gives each region a
// likelihood of belonging; a minimum cut over the region graph then takes the
// likelihoods and the borders' contrast together, so that a shadow edge or a brick
// joint does not split a wall while a window frame's edge may.

inline constexpr int SmartMeasureCount = 16;
using SmartMeasures = std::array<float, SmartMeasureCount>;
using SmartWeights = std::array<float, SmartMeasureCount>;

// The weights in use.
const SmartWeights& DefaultSmartWeights();

// The regions a stroke's brush passes over, each once, in increasing order. A half
// width beyond the photograph's width and height together covers no more than that.
std::vector<int> StrokeRegions(const SmartPreparation& p, const SmartStroke& stroke);
// Marks the regions as a stroke does: 1 including, 2 excluding, over earlier marks.
void MarkRegions(std::vector<std::uint8_t>& marks, const std::vector<int>& regions, bool include);

// Per region: 0 unmarked, 1 marked by an including stroke, 2 by an excluding one.
std::vector<std::uint8_t> MarkStrokes(const SmartPreparation& p,
                                      const std::vector<SmartStroke>& strokes);

// The measures of every region given the marks (see the .cpp for each).
std::vector<SmartMeasures> RegionMeasures(const SmartPreparation& p,
                                          const std::vector<std::uint8_t>& marks);
// The same with the nearest marked regions known (FindNearestMarked).
std::vector<SmartMeasures> RegionMeasures(const SmartPreparation& p,
                                          const std::vector<std::uint8_t>& marks,
                                          const NearestMarked& nearest);

// 1 for every chosen region. Nothing is chosen without an including mark.
std::vector<std::uint8_t> ChooseRegions(const SmartPreparation& p,
                                        const std::vector<SmartStroke>& strokes,
                                        const SmartWeights& weights = DefaultSmartWeights());
// The same from the strokes' marks (MarkStrokes), and with the nearest marked
// regions known (kept from stroke to stroke).
std::vector<std::uint8_t> ChooseMarkedRegions(const SmartPreparation& p,
                                              const std::vector<std::uint8_t>& marks,
                                              const SmartWeights& weights = DefaultSmartWeights());
std::vector<std::uint8_t> ChooseMarkedRegions(const SmartPreparation& p,
                                              const std::vector<std::uint8_t>& marks,
                                              const NearestMarked& nearest,
                                              const SmartWeights& weights = DefaultSmartWeights());
