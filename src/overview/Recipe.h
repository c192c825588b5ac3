#pragma once

#include "overview/OverviewRows.h"
#include "project/Document.h"

#include <QString>

class CatalogueDatabase;
class Prompts;

// The recipe button of the overview hands one layer's paint to the recipe program
// Huemix as a small text file beside the project's photograph.
namespace Recipe {

// "domy/Rodinný dům.recept.txt" for "domy/Rodinný dům.bmp".
QString PathFor(const QString& projectPath);

// The order line of one layer: layer, shade with its colour, fan deck, paint kind
// with its unit and the quantity, one "name: value" per line.
QString Text(const QString& projectName, const LayerRecord& layer, const OverviewRow& row);

// Writes the recipe of layer layerIndex (looked up in the catalogue now) and tells
// the user where it went. Returns whether it was written.
bool Write(const Document& doc, int layerIndex, CatalogueDatabase* catalogue, Prompts& prompts);

} // namespace Recipe
