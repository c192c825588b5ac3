#pragma once

#include "overview/OverviewRowPainter.h"
#include "overview/OverviewRows.h"
#include "overview/PaintCoverage.h"
#include "project/Document.h"
#include "project/Progress.h"

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class CatalogueDatabase;
class Prompts;

// One listed layer of the paint order: the layer and what the catalogue says of it.
struct OrderLine {
    int layerIndex = 0;
    LayerRecord layer;
    OverviewRow row;
    std::optional<Coverage> coverage; // of the layer's paint kind, when the user gave it
    QString fanDeckType; // the catalogue's letter of the fan deck's type; empty: unknown
};

// One line of the order's summary: the paint of every listed layer that shares
// shade, fan deck and paint kind, with the quantities added.
struct OrderTotal {
    QString shade;
    QString fanDeck;
    QString paintKind;
    QString unit;
    QColor swatch; // invalid when the paint has no colour value
    qint64 quantity = 0;
    QStringList layers;
    // The layers' measured areas added up, and the whole units that sum needs (rounded
    // up once for the paint, not per layer).
    std::optional<double> area;
    std::optional<std::int64_t> suggested;
};

// Everything the printable paint order "Objednávka barev" shows.
struct OrderSheet {
    QString projectName;
    QString schemeName; // empty unless a scheme was applied for it
    QDate date;
    QImage picture; // the recoloured picture, already scaled for the page
    QList<OrderLine> lines;
    bool withoutCatalogue = false;
};

namespace Order {

// The widest picture the sheet carries: about 200 dots per inch across the page.
// A wider one is reduced by the smallest whole factor that brings it within.
inline constexpr int PictureWidth = 1400;

// The listed layers with their catalogue rows, looked up one layer at a time.
QList<OrderLine> Lines(const LayerList& layers, CatalogueDatabase* catalogue);
// The same for a document, with the areas measured on its photograph and the
// quantities they need by the given coverage.
QList<OrderLine> Lines(const Document& doc, CatalogueDatabase* catalogue,
                       const CoverageTable& coverage);

// How the sheet names each fan deck of its lines, by id: as the catalogue lists it,
// its type in brackets and its name ("[D] Exteriér"); where two fan decks of the
// sheet would read alike, each with its number too ("[D] Exteriér, č. 9").
QHash<int, QString> FanDeckLabels(const QList<OrderLine>& lines);

// A layer's row on the sheet: the overview's row with "Odstín:" written out, the
// fan deck as labelled, the quantity with its unit, a free colour by its value and a
// chosen paint without a quantity flagged.
QList<Overview::RowText> RowTexts(const OrderLine& line, const QString& fanDeckLabel);
// The row's swatch: the catalogue shade's colour; without a catalogue shade the
// layer's own (a free colour); invalid: none.
QColor RowSwatch(const OrderLine& line);

// Adds up the lines that have a paint chosen (a shade reference other than -1) per
// shade, fan deck and paint kind (their ids), in the order the paints first appear:
// quantities, and areas with the quantity their sum needs. Free colours from the
// palette (id 0) are told apart by their colour.
QList<OrderTotal> Summarise(const QList<OrderLine>& lines);

// The picture as shown in colour mode, reduced to at most PictureWidth. Reports to
// progress as its bands are drawn; a request to stop throws Cancelled.
QImage Picture(const Document& doc, Progress& progress = NoProgress());
// The same with other layers on the document's photograph and mask (a scheme's).
QImage Picture(const Document& doc, const LayerList& layers, Progress& progress = NoProgress());
// The same on a photograph and its mask.
QImage Picture(const QImage& photo, const TMask& mask, const LayerList& layers,
               Progress& progress = NoProgress());
// The size of the picture of a photograph of the given size.
QSize PictureSize(QSize photo);

// What a line says of its paint: the catalogue's names, or what can be said without
// them ("odstín č. 6", "vlastní barva #FAD264", "–"); the paint kind's unit (empty
// without the catalogue); the shade's colour (invalid when it has none).
QString ShadeText(const OrderLine& line);
QString FanDeckText(const OrderLine& line);
QString PaintKindText(const OrderLine& line);
QString UnitOf(const OrderLine& line);
QColor SwatchOf(const OrderLine& line);

// The sheet of a document: its listed layers, the picture and the given date; areas
// when the project has a reference, suggested quantities for the paint kinds whose
// coverage is given.
OrderSheet Make(const Document& doc, CatalogueDatabase* catalogue, const QDate& date,
                const CoverageTable& coverage = {}, Progress& progress = NoProgress());

// The sheet as a PDF document on A4 pages. Needs a QGuiApplication (fonts).
QByteArray Pdf(const OrderSheet& sheet);

// Writes the PDF; an existing file is replaced only once the new one is complete.
void Write(const QString& path, const OrderSheet& sheet);

} // namespace Order

// The overview's order button: asks for a PDF file and writes the open project's
// paint order into it, with the spreading rates of the user's settings. Returns
// whether it was written.
bool SaveOrderSheet(const Document& doc, Prompts& prompts, CatalogueDatabase* catalogue);
