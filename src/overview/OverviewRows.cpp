#include "overview/OverviewRows.h"

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueStatements.h"

namespace Overview {

QList<int> ListedLayers(const LayerList& layers) {
    QList<int> listed;
    for (int i = 1; i < layers.size(); ++i) {
        if (!layers[i].Subordinate)
            listed << i;
    }
    return listed;
}

OverviewRow RowWithoutCatalogue(const LayerRecord& layer) {
    OverviewRow row;
    row.layerName = layer.Name;
    row.quantity = layer.Quantity;
    return row;
}

OverviewRow LookUpRow(CatalogueDatabase* catalogue, const LayerRecord& layer) {
    return LookUpRows(catalogue, {layer}).constFirst();
}

QList<OverviewRow> LookUpRows(CatalogueDatabase* catalogue, const QList<LayerRecord>& layers) {
    QList<OverviewRow> rows;
    for (const LayerRecord& layer : layers)
        rows << RowWithoutCatalogue(layer);
    if (!catalogue || !catalogue->IsOpen() || layers.isEmpty())
        return rows;
    QList<CatalogueDatabase::Statement> statements;
    for (qsizetype i = 0; i < layers.size(); ++i) {
        const LayerRecord& layer = layers[i];
        OverviewRow& row = rows[i];
        statements.append(
            {Statements::ShadeStatement(layer.ShadeId), [&row](const CatalogueRow& found) {
                 const auto component = [&found](const QString& column) {
                     return found.IsNull(column) ? 300 : found.Int(column);
                 };
                 row.shades.append({found.Text(QStringLiteral("odstin_jmeno")),
                                    component(QStringLiteral("odstin_R")),
                                    component(QStringLiteral("odstin_G")),
                                    component(QStringLiteral("odstin_B"))});
                 return true;
             }});
        statements.append(
            {Statements::FanDeckStatement(layer.FanDeckId), [&row](const CatalogueRow& found) {
                 row.fanDecks.append(found.Text(QStringLiteral("vejir_jmeno")));
                 return true;
             }});
        statements.append(
            {Statements::PaintKindStatement(layer.PaintKindId), [&row](const CatalogueRow& found) {
                 row.paintKinds.append({found.Text(QStringLiteral("firma_jmeno")),
                                        found.Text(QStringLiteral("firma_jednotka"))});
                 return true;
             }});
    }
    catalogue->RunEach(statements);
    return rows;
}

bool RecipeAvailable(const LayerRecord& layer) {
    return layer.ShadeId != -1 && layer.FanDeckId != -1 && layer.PaintKindId != -1;
}

} // namespace Overview
