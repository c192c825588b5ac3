#include "overview/Proposal.h"

#include "catalogue/CatalogueDatabase.h"
#include "layers/Schemes.h"
#include "overview/CustomerPdf.h"
#include "overview/OverviewMeasures.h"
#include "project/AtomicFile.h"
#include "project/AtomicFileDevice.h"
#include "project/CzechNumber.h"
#include "project/LayerAreas.h"
#include "workspace/Prompts.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

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

// A small copy of a picture for the first page: all of them together within
// ThumbnailBytes.
QImage Thumbnail(const QImage& picture, qsizetype count) {
    if (picture.isNull())
        return picture;
    // Four bytes a pixel: three and what aligns the rows.
    const double pixels = double(ThumbnailBytes) / 4.0 / double(std::max<qsizetype>(count, 1));
    const double scale =
        std::min({1.0, std::sqrt(pixels / (double(picture.width()) * picture.height())),
                  double(ThumbnailWidth) / picture.width()});
    if (scale >= 1.0)
        return picture;
    const QSize size(std::max(1, int(picture.width() * scale)),
                     std::max(1, int(picture.height() * scale)));
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_BGR888);
}

// The areas are the colouring's own: a scheme may tie layers to other master layers.
ProposalScheme Colouring(const Document& doc, const QString& name, const LayerList& layers,
                         CatalogueDatabase* catalogue, const CoverageTable& coverage, bool keep,
                         qsizetype count, Progress& progress) {
    ProposalScheme scheme;
    scheme.name = name;
    scheme.layers = layers;
    scheme.lines = Order::Lines(layers, catalogue);
    const QList<double> areas =
        LayerAreas::Painted(layers, LayerAreas::Own(doc.Mask, layers, doc.Measures));
    for (OrderLine& line : scheme.lines)
        Overview::AddMeasures(line.row, line.layer, line.layerIndex, areas, coverage);
    const QImage picture = Order::Picture(doc, layers, progress);
    if (keep) {
        scheme.picture = picture;
        scheme.thumbnail = picture;
    } else {
        scheme.thumbnail = Thumbnail(picture, count);
    }
    return scheme;
}

QList<int> Chosen(const Document& doc, const QList<int>& schemes) {
    QList<int> chosen;
    for (int index : schemes)
        if (index >= 0 && index < doc.Schemes.size())
            chosen << index;
    return chosen;
}

} // namespace

bool PicturesKept(const Document& doc, qsizetype count) {
    const QSize size = Order::PictureSize(doc.PhotoBitmap.size());
    return double(size.width()) * size.height() * 3 * double(std::max<qsizetype>(count, 1)) <=
           double(KeptPictureBytes);
}

Proposal Make(const Document& doc, const QList<int>& schemes, CatalogueDatabase* catalogue,
              const QDate& date, const CoverageTable& coverage, Progress& progress) {
    Proposal proposal;
    proposal.projectName = QFileInfo(doc.ProjectPath).completeBaseName();
    proposal.date = date;
    proposal.withoutCatalogue = !catalogue || !catalogue->IsOpen();
    const QList<int> chosen = Chosen(doc, schemes);
    const qsizetype count = std::max<qsizetype>(chosen.size(), 1);
    const bool keep = PicturesKept(doc, count);
    if (!keep) {
        proposal.photo = doc.PhotoBitmap;
        proposal.mask = std::make_shared<const TMask>(doc.Mask);
    }
    // Each colouring's picture takes an equal share of the bar.
    const double share = 1.0 / double(count);
    for (qsizetype i = 0; i < chosen.size(); ++i) {
        const SchemeRecord& scheme = doc.Schemes[chosen[i]];
        ProgressPart part(progress, double(i) * share, double(i + 1) * share);
        proposal.schemes << Colouring(doc, scheme.Name, LayersWithScheme(doc.Layers, scheme),
                                      catalogue, coverage, keep, count, part);
    }
    if (proposal.schemes.isEmpty())
        proposal.schemes << Colouring(doc, CurrentColouring, doc.Layers, catalogue, coverage, keep,
                                      count, progress);
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

void Write(const QString& path, const Proposal& proposal, Progress& progress) {
    AtomicFile file(path);
    AtomicFileDevice device(file);
    WritePdf(proposal, device, progress);
    device.Check();
    file.Commit();
}

} // namespace Proposals

bool SaveProposal(const Document& doc, const QList<int>& schemes, Prompts& prompts,
                  CatalogueDatabase* catalogue) {
    // Named after the project, in the folder of the paint order's dialog (both are
    // PDFs for the customer).
    return SaveCustomerPdf(
        doc, prompts, QStringLiteral(" návrh barev.pdf"), QStringLiteral("Návrh barev"),
        [&](const QString& path, Progress& progress) {
            // The pictures take the time: made for the proposal, and made again for
            // their pages when there are too many to keep.
            const double made =
                Proposals::PicturesKept(doc, std::max<qsizetype>(schemes.size(), 1)) ? 1.0 : 0.5;
            ProgressPart making(progress, 0, made);
            const Proposal proposal = Proposals::Make(doc, schemes, catalogue, QDate::currentDate(),
                                                      PaintCoverage::Load(), making);
            ProgressPart writing(progress, made, 1);
            Proposals::Write(path, proposal, writing);
        });
}
