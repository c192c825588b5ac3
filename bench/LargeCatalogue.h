#pragma once

#include <QString>

namespace bench {

// The benchmarks' catalogue of 50,000 shades in fan decks of 2,000, built beside the
// benchmark programs on first use and kept for later runs. Returns its path.
QString LargeCatalogue();

// Opens a second, plain connection to the catalogue under the given name, for the
// reference loops that read rows with nothing but QSqlQuery.
void OpenBareConnection(const QString& path, const QString& name);

} // namespace bench
