#pragma once

#include "overview/OrderSheet.h"
#include "project/Document.h"

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QImage>
#include <QList>
#include <QString>

class CatalogueDatabase;
class Prompts;

// One colouring the proposal shows: a scheme of the project, or the current
// colouring of a project without schemes.
struct ProposalScheme {
    QString name;
    QImage picture; // the recoloured picture, already reduced for the page
    QList<OrderLine> lines;
};

// Everything the colour proposal "Návrh barev" for a customer shows.
struct Proposal {
    QString projectName;
    QDate date;
    QList<ProposalScheme> schemes;
    bool withoutCatalogue = false;
};

// One row of a scheme's table of layers, as the page prints it. A text that Tintora
// does not know is empty.
struct ProposalRow {
    QColor swatch; // invalid when the paint has no colour value
    QString layer;
    QString shade;
    QString fanDeck;
    QString paintKind;
    QString area;
    QString quantity; // with the paint kind's unit; empty when none was entered

    bool operator==(const ProposalRow&) const = default;
};

namespace Proposals {

// The name under which a project without schemes shows its current colouring.
inline const QString CurrentColouring = QStringLiteral("Současné obarvení");

// Every scheme of the document, by index.
QList<int> AllSchemes(const Document& doc);

// The proposal of the chosen schemes (indices into doc.Schemes, in the order given);
// none chosen: the current colouring alone. Each picture is drawn a band of rows at a
// time and reduced as the paint order's is, so no scheme's full-size picture is held.
// With a reference the layers' areas, and the quantities they need by the coverage
// for layers whose quantity is not entered. The document does not change. Reports to
// progress as the pictures are drawn; a request to stop throws Cancelled.
Proposal Make(const Document& doc, const QList<int>& schemes, CatalogueDatabase* catalogue,
              const QDate& date, const CoverageTable& coverage = {},
              Progress& progress = NoProgress());

// A layer's row of the table.
ProposalRow RowOf(const OrderLine& line);

// The proposal as a PDF document on A4 pages: the first page with the project's name,
// the date and every colouring's picture with its name; then a page per colouring with
// its picture as large as the page allows and the table of its layers. Needs a
// QGuiApplication (fonts).
QByteArray Pdf(const Proposal& proposal);

// Writes the PDF; an existing file is replaced only once the new one is complete.
void Write(const QString& path, const Proposal& proposal);

} // namespace Proposals

// The "Návrh barev" buttons: asks for a PDF file and writes the proposal of the chosen
// schemes of the open project into it, with the spreading rates of the user's settings.
// Returns whether it was written.
bool SaveProposal(const Document& doc, const QList<int>& schemes, Prompts& prompts,
                  CatalogueDatabase* catalogue);
