#include "overview/Recipe.h"

#include "project/AtomicFile.h"
#include "project/MessageText.h"
#include "workspace/ErrorGuard.h"
#include "workspace/Prompts.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

QString ColourText(int red, int green, int blue) {
    return QStringLiteral("RGB(%1, %2, %3), %4")
        .arg(red)
        .arg(green)
        .arg(blue)
        .arg(QColor(red, green, blue).name(QColor::HexRgb).toUpper());
}

} // namespace

namespace Recipe {

QString PathFor(const QString& projectPath) {
    const QFileInfo photo(projectPath);
    return photo.dir().filePath(photo.completeBaseName() + QStringLiteral(".recept.txt"));
}

QString Text(const QString& projectName, const LayerRecord& layer, const OverviewRow& row) {
    QString shade;
    QString colour;
    if (!row.shades.isEmpty()) {
        const OverviewShade& found = row.shades.constFirst();
        shade = found.name;
        colour = found.HasColour()
                     ? ColourText(std::clamp(found.red, 0, 255), std::clamp(found.green, 0, 255),
                                  std::clamp(found.blue, 0, 255))
                     : QStringLiteral("bez barevné hodnoty");
    } else {
        shade = layer.ShadeId == 0
                    ? QStringLiteral("vlastní barva")
                    : QStringLiteral("odstín č. %1 (v katalogu není)").arg(layer.ShadeId);
        colour = layer.ShadeColour == NoColour
                     ? QStringLiteral("bez barevné hodnoty")
                     : ColourText(RedOf(layer.ShadeColour), GreenOf(layer.ShadeColour),
                                  BlueOf(layer.ShadeColour));
    }
    const QString fanDeck =
        row.fanDecks.isEmpty() ? QStringLiteral("–") : row.fanDecks.constFirst();
    QString kind = QStringLiteral("–");
    QString quantity = QString::number(layer.Quantity);
    if (!row.paintKinds.isEmpty()) {
        const OverviewPaintKind& found = row.paintKinds.constFirst();
        kind = found.name;
        if (!found.unit.isEmpty()) {
            kind += QStringLiteral(" (") + found.unit + QLatin1Char(')');
            quantity += QLatin1Char(' ') + found.unit;
        }
    }
    return QStringLiteral("Recept pro Huemix\n"
                          "Projekt: %1\n"
                          "Vrstva: %2\n"
                          "Odstín: %3\n"
                          "Barva: %4\n"
                          "Vějíř: %5\n"
                          "Druh barvy: %6\n"
                          "Množství: %7\n")
        // A name holding a line break would add a line of its own to the recipe.
        .arg(MessageText::OneLine(projectName), MessageText::OneLine(layer.Name),
             MessageText::OneLine(shade), colour, MessageText::OneLine(fanDeck),
             MessageText::OneLine(kind), MessageText::OneLine(quantity));
}

bool Write(const Document& doc, int layerIndex, CatalogueDatabase* catalogue, Prompts& prompts) {
    if (layerIndex < 1 || layerIndex >= doc.Layers.size())
        return false;
    if (!doc.HasProject()) {
        prompts.Error(QStringLiteral("Recept nelze uložit: není otevřen žádný projekt."));
        return false;
    }
    const QString path = PathFor(doc.ProjectPath);
    const LayerRecord& layer = doc.Layers[layerIndex];
    const bool written = RunGuarded(prompts, [&] {
        const OverviewRow row = Overview::LookUpRow(catalogue, layer);
        const QString text = Text(QFileInfo(doc.ProjectPath).completeBaseName(), layer, row);
        WriteFileAtomically(path, text.toUtf8());
    });
    if (written)
        prompts.Information(QStringLiteral("Recept vybraného odstínu byl uložen do souboru %1.")
                                .arg(MessageText::Path(path)));
    return written;
}

} // namespace Recipe
