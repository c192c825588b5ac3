#pragma once

#include <QByteArray>
#include <QString>

// Builds catalogue database files with isql-fb from SQL text: the schema, then rows.
namespace CatalogueScript {

// The demo catalogue's rows (or, with largeShades > 0, a catalogue of about that
// many shades in fan decks of 2,000 for benchmarks) as SQL INSERT statements.
QString DemoRows(int largeShades = 0);

// Runs isql-fb on "CREATE DATABASE path ...", the schema and the rows, written in
// Windows-1250, and writes the file only when the script succeeded; with readOnly
// the database is marked read-only first. Returns an empty string on success, else
// the reason.
QString BuildDatabase(const QString& path, const QString& schema, const QString& rows,
                      bool readOnly = false);

// Marks a database read-only (gfix -mode read_only): Firebird then never writes to
// it, and opens it from a file or folder the user may only read. A database
// already marked is not touched.
QString MakeReadOnly(const QString& path);
bool IsReadOnly(const QString& path);

} // namespace CatalogueScript
