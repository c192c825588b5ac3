#pragma once

#include "catalogue/CatalogueRecords.h"

#include <QString>

class CatalogueDatabase;

// A layer's quantity is a number in its paint kind's unit. A shade choice that gives
// the layer a paint kind of another unit would turn "12 l" into "12 Kg": the number is
// then not kept but cleared, so that the overview and the paint order show no quantity
// until one is typed in the new unit, and the user is told.
struct QuantityAfterChoice {
    QString quantityText; // what goes into the layer
    QString notice;       // for the catalogue's notice line; empty when the unit stays
};

// previousKindId is the layer's paint kind before the choice (-1 none, 0 a free
// colour: nothing to compare with); the catalogue is asked for its unit. Throws
// DatabaseError.
QuantityAfterChoice QuantityForPaintKind(CatalogueDatabase& catalogue, int previousKindId,
                                         const PaintKindRecord& chosen,
                                         const QString& quantityText);
