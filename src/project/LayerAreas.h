#pragma once

#include "project/Document.h"

#include <QList>

// Measured areas of the layers, in square metres, by layer index.
namespace LayerAreas {

// The area of each layer's own pixels on its plane: per run of a row, the exact area
// that the run's pixel squares cover on the plane of the layer's reference (see
// AreaOf). Empty when the project has no reference. A reference that gives no plane
// for the mask's size (never one the program took) leaves its layers at 0.
QList<double> Own(const TMask& mask, const LayerList& layers, const Measurements& measures);

// The area each layer's paint covers: its own and that of every layer drawn with
// its look (a subordinate layer whose effective layer it is). A subordinate layer
// keeps only its own. Empty when own is.
QList<double> Painted(const LayerList& layers, const QList<double>& own);

// Both for the open document: what the overview and the paint order show.
QList<double> Painted(const Document& doc);

} // namespace LayerAreas
