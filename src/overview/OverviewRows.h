#pragma once

#include "project/LayerRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class CatalogueDatabase;

// A shade as the catalogue holds it; a component without a value reads 300.
struct OverviewShade {
    QString name;
    int red = 300;
    int green = 300;
    int blue = 300;

    bool HasColour() const { return red != 300; }
    bool operator==(const OverviewShade&) const = default;
};

struct OverviewPaintKind {
    QString name;
    QString unit;

    bool operator==(const OverviewPaintKind&) const = default;
};

// What the overview shows for one layer: the layer's own name and quantity, and
// the catalogue rows its three references find. A reference that finds no row
// (-1, 0 for a free colour, a row deleted from the catalogue) adds nothing.
struct OverviewRow {
    QString layerName;
    std::int32_t quantity = 0;
    QList<OverviewShade> shades;
    QStringList fanDecks;
    QList<OverviewPaintKind> paintKinds;
    // Measured on the photograph: the square metres the layer's paint covers (with its
    // subordinate layers), when the project has a reference; and the whole units that
    // area needs, when the paint kind's spreading rate is known.
    std::optional<double> area;
    std::optional<std::int64_t> suggested;

    bool operator==(const OverviewRow&) const = default;
};

namespace Overview {

// The layers the overview lists, by index: every layer after "Originál" that
// takes no paint from a master layer, in order.
QList<int> ListedLayers(const LayerList& layers);

// The row of a layer as far as it needs no catalogue.
OverviewRow RowWithoutCatalogue(const LayerRecord& layer);

// Asks the catalogue for the layer's shade, fan deck and paint kind, in this order,
// through its one query object, every time: nothing is kept between calls. Without
// an open catalogue only the layer's own fields are filled. Throws DatabaseError.
OverviewRow LookUpRow(CatalogueDatabase* catalogue, const LayerRecord& layer);
// The rows of several layers, each as LookUpRow asks for it, the statements of all of
// them handed to the catalogue together: the program waits for it once.
QList<OverviewRow> LookUpRows(CatalogueDatabase* catalogue, const QList<LayerRecord>& layers);

// Whether the recipe button may be offered for the layer: all three references set.
bool RecipeAvailable(const LayerRecord& layer);

} // namespace Overview
