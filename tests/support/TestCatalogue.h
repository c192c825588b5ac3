#pragma once

#include <QString>

// Catalogue databases that tests build from SQL in a temporary folder.
namespace TestCatalogue {

// A small catalogue: fan decks "Exteriér" (d, in two rows, each carried by another
// paint kind), "Syntetika" (a), "Moje" (d, own); shades with a NULL colour, a NULL
// red only, remarks, Czech letters and an apostrophe.
QString SmallRows(int version = 0);

// SmallRows' ids with names as long as the catalogue takes (60 letters), for papers
// that must print them whole: paint kinds 1 and 2, fan decks 12, 13 and 30, shades
// 2, 4 and 6 carry long names; the rest are SmallRows' own.
QString LongNameRows();
// The long names, by what they name.
inline const QString LongPaintKind =
    QStringLiteral("Fasádní barva Odolná proti povětrnosti a plísním, matná");
inline const QString LongSiliconeKind =
    QStringLiteral("Silikonová fasádní barva s vysokou paropropustností");
inline const QString LongFanDeck =
    QStringLiteral("Moje vlastní vzorník odstínů pro rodinné domy na venkově");
inline const QString LongExteriorDeck = QStringLiteral("Exteriérové odstíny pro fasády a sokly");
inline const QString LongShade =
    QStringLiteral("Teplá pískově žlutá s nádechem okru, Terra di Siena 120");
inline const QString LongDarkShade =
    QStringLiteral("Grafitově černá antracitová se stříbrným leskem E 101");
inline const QString LongFrameShade = QStringLiteral("Tmavá čokoládově hnědá pro okenní rámy");

// A catalogue for the palette: fan deck "Paleta" (d, id 40) with the 35 shades
// "P 01" .. "P 35" (ids 101 .. 135; "P 07" without colour; green always 100 + i, so
// none lies near the edge shades), "Hrany" (d, id 41) with shades on and just past
// the edges of the box around 125, 25, 211 with tolerance 30, white, black and one
// without colour, and "Syntetika" (a, id 42) holding "H střed" (125, 25, 211) too.
// "Fasádní barva" (id 1) carries 40 and 41, "Email" (id 2) carries 42.
QString PaletteRows();

// Builds path from the schema and rows (marked read-only as the demo catalogue is,
// if asked); fails the test's expectations by returning the reason, empty on success.
QString Build(const QString& path, const QString& rows, bool readOnly = false);

} // namespace TestCatalogue
