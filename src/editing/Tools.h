#pragma once

#include "project/Mask.h"

#include <QImage>
#include <QRect>
#include <cstdint>

// The painting operations of the editing tools, over the mask (and, for the fill,
// the view at zoom 1). Each returns the photograph rectangle to re-render.

// (|Ra − Rb| + |Ga − Gb| + |Ba − Bb|) div 3.
int ColourDistance(Colour a, Colour b);

// A square brush of 2w × 2w pixels whose centre lies between pixels px − 1 and px.
QRect PaintBrush(TMask& mask, int px, int py, int w, std::uint8_t layer);

// Runs of n pixels along the line from (x0, y0) to (x1, y1), one per row or column
// step; nothing when the two points are equal.
void PaintLine(TMask& mask, int x0, int y0, int x1, int y1, int n, std::uint8_t layer);

// The line tool's segment of thickness w: 2w − 1 parallel lines of runs 2w long.
QRect PaintThickLine(TMask& mask, int ax, int ay, int px, int py, int w, std::uint8_t layer);
