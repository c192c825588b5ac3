#pragma once

#include <QString>

// Catalogue databases that tests build from SQL in a temporary folder.
namespace TestCatalogue {

// A small catalogue: fan decks "Exteriér" (d, in two rows, each carried by another
// paint kind), "Syntetika" (a), "Moje" (d, own); shades with a NULL colour, a NULL
// red only, remarks, Czech letters and an apostrophe.
QString SmallRows(int version = 0);

// Builds path from the schema and rows (marked read-only as the demo catalogue is,
// if asked); fails the test's expectations by returning the reason, empty on success.
QString Build(const QString& path, const QString& rows, bool readOnly = false);

} // namespace TestCatalogue
