#pragma once

#include "overview/OrderSheet.h"
#include "project/Document.h"

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QImage>
#include <QList>
#include <QString>

#include <memory>

class CatalogueDatabase;
class QIODevice;
class Prompts;

// One colouring the proposal shows: a scheme of the project, or the current
// colouring of a project without schemes.
struct ProposalScheme {
    QString name;
    LayerList layers; // the colouring's layers, from which its picture is drawn
    // The recoloured picture, already reduced for the page; null when the proposal has
    // too many colourings to keep their pictures: it is then drawn again for its page.
    QImage picture;
    QImage thumbnail; // for the first page: the picture, or a small copy of it
    QList<OrderLine> lines;
};

// Everything the colour proposal "Návrh barev" for a customer shows.
struct Proposal {
    QString projectName;
    QDate date;
    QList<ProposalScheme> schemes;
    bool withoutCatalogue = false;
    // What the pictures not kept are drawn again from, one page at a time: the
    // photograph and a copy of the mask; none while every picture is kept.
    QImage photo;
    std::shared_ptr<const TMask> mask;
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

// The pictures of a proposal are kept while they take at most this much memory all
// together; beyond it the first page shows thumbnails of at most ThumbnailBytes all
// together, and each colouring's page draws its picture again and lets it go, so that
// the memory a proposal takes does not grow with the number of its colourings.
inline constexpr qint64 KeptPictureBytes = qint64(64) << 20;
inline constexpr qint64 ThumbnailBytes = qint64(16) << 20;
// The widest thumbnail: wider than any picture of the first page's grid.
inline constexpr int ThumbnailWidth = 720;

// Whether the proposal of `count` colourings of the document keeps their pictures.
bool PicturesKept(const Document& doc, qsizetype count);

// The proposal of the chosen schemes (indices into doc.Schemes, in the order given);
// none chosen: the current colouring alone. Each picture is drawn a band of rows at a
// time and reduced as the paint order's is, so no scheme's full-size picture is held;
// beyond KeptPictureBytes only thumbnails are kept (see PicturesKept).
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
// QGuiApplication (fonts). Written into the device as its pages are made (the device
// is opened for writing when it is not), so that the document is never held whole.
// Pictures not kept are drawn again for their pages, reported to progress; a request
// to stop throws Cancelled.
void WritePdf(const Proposal& proposal, QIODevice& device, Progress& progress = NoProgress());

// Writes the PDF page by page into a temporary file beside path, renamed over an
// existing file only once the new one is complete.
void Write(const QString& path, const Proposal& proposal, Progress& progress = NoProgress());

} // namespace Proposals

// The "Návrh barev" buttons: asks for a PDF file and writes the proposal of the chosen
// schemes of the open project into it, with the spreading rates of the user's settings.
// Returns whether it was written.
bool SaveProposal(const Document& doc, const QList<int>& schemes, Prompts& prompts,
                  CatalogueDatabase* catalogue);
