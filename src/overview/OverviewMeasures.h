#pragma once

#include "overview/OverviewRows.h"
#include "overview/PaintCoverage.h"
#include "project/Document.h"

#include <QList>
#include <QString>

#include <cstdint>

// What the overview and the paint order add from the photograph's measurement: the
// area a layer's paint covers and the quantity it needs.
namespace Overview {

// Fills the row's area from the painted areas by layer index (LayerAreas::Painted;
// empty when the project has no reference) and its suggested quantity from the
// layer's paint kind's coverage.
void AddMeasures(OverviewRow& row, const LayerRecord& layer, int index,
                 const QList<double>& paintedAreas, const CoverageTable& coverage);

// "Plocha: 42,5 m²"
QString AreaText(double area);
// "Spotřeba: 6 l" (without a unit when the paint kind has none)
QString SuggestedText(std::int64_t suggested, const QString& unit);

// The overview's click on a suggested quantity: it becomes the layer's quantity.
// Returns whether the layer changed (and Modified was set).
bool TakeSuggestedQuantity(Document& doc, int layer, std::int64_t suggested);

} // namespace Overview
