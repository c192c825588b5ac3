#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

// Builds catalogue database files with isql-fb from SQL text: the schema, then rows.
namespace CatalogueScript {

struct PaintKind {
    int id;
    QString name;
    QString unit;
    char type;
};

struct FanDeck {
    int id;
    QString name;
    char type;
    int own;
};

// A shade as one fan deck holds it, with the paint kinds that carry it there.
// A colour component of -1 is NULL.
struct Shade {
    int id;
    QString name;
    int red, green, blue;
    QString notice; // empty: NULL
    int fanDeck;
    QList<int> paintKinds;

    bool HasColour() const { return red >= 0 && green >= 0 && blue >= 0; }
};

// What a catalogue holds, in the order its rows are written.
struct Content {
    QList<PaintKind> paintKinds;
    QList<FanDeck> fanDecks;
    QList<std::pair<int, int>> carries; // paint kind, fan deck
    QList<Shade> shades;
};

// The demo catalogue (or, with largeShades > 0, a catalogue of about that many
// shades in fan decks of 2,000 for benchmarks).
Content DemoContent(int largeShades = 0);

// The same as SQL INSERT statements.
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
