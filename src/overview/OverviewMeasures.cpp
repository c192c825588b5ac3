#include "overview/OverviewMeasures.h"

#include "project/CzechNumber.h"

#include <algorithm>
#include <limits>

namespace Overview {

void AddMeasures(OverviewRow& row, const LayerRecord& layer, int index,
                 const QList<double>& paintedAreas, const CoverageTable& coverage) {
    row.area.reset();
    row.suggested.reset();
    if (index < 0 || index >= paintedAreas.size())
        return;
    row.area = paintedAreas[index];
    const auto found = coverage.constFind(layer.PaintKindId);
    if (layer.PaintKindId > 0 && found != coverage.constEnd())
        row.suggested = PaintCoverage::Suggested(*row.area, *found);
}

QString AreaText(double area) {
    return QStringLiteral("Plocha: %1 m²").arg(CzechNumber::Format(area, 1));
}

QString SuggestedText(std::int64_t suggested, const QString& unit) {
    QString text = QStringLiteral("Spotřeba: %1").arg(suggested);
    if (!unit.isEmpty())
        text += QLatin1Char(' ') + unit;
    return text;
}

bool TakeSuggestedQuantity(Document& doc, int layer, std::int64_t suggested) {
    if (layer <= 0 || layer >= doc.Layers.size() || suggested < 0)
        return false;
    const auto quantity =
        std::int32_t(std::min<std::int64_t>(suggested, std::numeric_limits<std::int32_t>::max()));
    if (doc.Layers[layer].Quantity == quantity)
        return false;
    doc.Layers[layer].Quantity = quantity;
    doc.Modified = true;
    return true;
}

} // namespace Overview
