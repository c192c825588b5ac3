#include "catalogue/PaintKindChange.h"

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueStatements.h"

#include <optional>

QuantityAfterChoice QuantityForPaintKind(CatalogueDatabase& catalogue, int previousKindId,
                                         const PaintKindRecord& chosen,
                                         const QString& quantityText) {
    if (previousKindId <= 0 || previousKindId == chosen.id || !catalogue.IsOpen())
        return {quantityText, QString()};
    std::optional<QString> previousUnit;
    catalogue.Run(Statements::PaintKindStatement(previousKindId),
                  [&previousUnit](const CatalogueRow& row) {
                      previousUnit = row.Text(QStringLiteral("firma_jednotka"));
                      return false;
                  });
    // A paint kind no longer in the catalogue gives nothing to compare with.
    if (!previousUnit || *previousUnit == chosen.unit)
        return {quantityText, QString()};
    return {QStringLiteral("0"),
            QStringLiteral("Druh barvy změněn na %1 (%2), zkontrolujte množství")
                .arg(chosen.name, chosen.unit)};
}
