#include "overview/Proposal.h"

#include "catalogue/CatalogueDatabase.h"
#include "layers/Schemes.h"
#include "overview/CustomerPdf.h"
#include "overview/OverviewMeasures.h"
#include "project/AtomicFile.h"
#include "project/CzechNumber.h"
#include "project/LayerAreas.h"
#include "workspace/Prompts.h"

#include <QFileInfo>
#include <algorithm>

namespace {

QString HexColour(Colour colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)).name(QColor::HexRgb).toUpper();
}

} // namespace

namespace Proposals {

QList<int> AllSchemes(const Document& doc) {
    QList<int> all;
    for (int i = 0; i < doc.Schemes.size(); ++i)
        all << i;
    return all;
}

namespace {

// The areas are the colouring's own: a scheme may tie layers to other master layers.
ProposalScheme Colouring(const Document& doc, const QString& name, const LayerList& layers,
                         CatalogueDatabase* catalogue, const CoverageTable& coverage,
                         Progress& progress) {
    ProposalScheme scheme;
    scheme.name = name;
    scheme.lines = Order::Lines(layers, catalogue);
    const QList<double> areas =
        LayerAreas::Painted(layers, LayerAreas::Own(doc.Mask, layers, doc.Measures));
    for (OrderLine& line : scheme.lines)
        Overview::AddMeasures(line.row, line.layer, line.layerIndex, areas, coverage);
    scheme.picture = Order::Picture(doc, layers, progress);
    return scheme;
}

} // namespace

Proposal Make(const Document& doc, const QList<int>& schemes, CatalogueDatabase* catalogue,
              const QDate& date, const CoverageTable& coverage, Progress& progress) {
    Proposal proposal;
    proposal.projectName = QFileInfo(doc.ProjectPath).completeBaseName();
    proposal.date = date;
    proposal.withoutCatalogue = !catalogue || !catalogue->IsOpen();
    QList<int> chosen;
    for (int index : schemes)
        if (index >= 0 && index < doc.Schemes.size())
            chosen << index;
    // Each colouring's picture takes an equal share of the bar.
    const double share = 1.0 / double(std::max<qsizetype>(chosen.size(), 1));
    for (qsizetype i = 0; i < chosen.size(); ++i) {
        const SchemeRecord& scheme = doc.Schemes[chosen[i]];
        ProgressPart part(progress, double(i) * share, double(i + 1) * share);
        proposal.schemes << Colouring(doc, scheme.Name, LayersWithScheme(doc.Layers, scheme),
                                      catalogue, coverage, part);
    }
    if (proposal.schemes.isEmpty())
        proposal.schemes << Colouring(doc, CurrentColouring, doc.Layers, catalogue, coverage,
                                      progress);
    return proposal;
}

ProposalRow RowOf(const OrderLine& line) {
    ProposalRow row;
    row.layer = line.layer.Name;
    const bool painted = line.layer.ShadeId != -1 || line.layer.ShadeColour != NoColour;
    if (painted) {
        row.swatch = Order::SwatchOf(line);
        row.shade = Order::ShadeText(line);
        // A colour given without the catalogue's shade: the colour itself.
        if (line.layer.ShadeId == -1 && line.layer.ShadeColour != NoColour)
            row.shade = QStringLiteral("vlastní barva ") + HexColour(line.layer.ShadeColour);
        row.fanDeck = Order::FanDeckText(line);
        row.paintKind = Order::PaintKindText(line);
    } else {
        row.shade = QStringLiteral("beze změny");
    }
    if (line.row.area)
        row.area = CzechNumber::Format(*line.row.area, 1) + QStringLiteral(" m²");
    // The quantity entered; without one, what the measured area needs.
    std::optional<std::int64_t> quantity;
    if (line.layer.Quantity != 0)
        quantity = line.layer.Quantity;
    else if (line.row.suggested)
        quantity = *line.row.suggested;
    if (quantity) {
        row.quantity = QString::number(*quantity);
        const QString unit = Order::UnitOf(line);
        if (!unit.isEmpty())
            row.quantity += QLatin1Char(' ') + unit;
    }
    return row;
}

void Write(const QString& path, const Proposal& proposal) {
    WriteFileAtomically(path, Pdf(proposal));
}

} // namespace Proposals

bool SaveProposal(const Document& doc, const QList<int>& schemes, Prompts& prompts,
                  CatalogueDatabase* catalogue) {
    // Named after the project, in the folder of the paint order's dialog (both are
    // PDFs for the customer).
    return SaveCustomerPdf(
        doc, prompts, QStringLiteral(" návrh barev.pdf"), QStringLiteral("Návrh barev"),
        [&](const QString& path, Progress& progress) {
            // The pictures take the time; the pages are written quickly after them.
            Proposals::Write(path, Proposals::Make(doc, schemes, catalogue, QDate::currentDate(),
                                                   PaintCoverage::Load(), progress));
        });
}
