#include "overview/OrderSheet.h"

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueStatements.h"
#include "overview/CustomerPdf.h"
#include "overview/OverviewMeasures.h"
#include "project/AtomicFile.h"
#include "project/BoxReduction.h"
#include "project/Errors.h"
#include "project/LayerAreas.h"
#include "render/RenderRegion.h"
#include "workspace/Prompts.h"

#include <QFileInfo>
#include <algorithm>
#include <tuple>

namespace {

QString HexColour(Colour colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)).name(QColor::HexRgb).toUpper();
}

// A catalogue name, or what the sheet can say without it.
QString NameOr(const QString* found, std::int32_t id, const QString& what) {
    if (found)
        return *found;
    if (id > 0)
        return QStringLiteral("%1 č. %2").arg(what, QString::number(id));
    return QStringLiteral("–");
}

// A colour picked freely in the palette: no catalogue row, a colour of its own.
bool IsFreeColour(const OrderLine& line) {
    return line.layer.ShadeId == 0 && line.row.shades.isEmpty() &&
           line.layer.ShadeColour != NoColour;
}

} // namespace

namespace Order {

QString ShadeText(const OrderLine& line) {
    if (!line.row.shades.isEmpty())
        return line.row.shades.constFirst().name;
    // The summary's column is narrow: the row beside the layer says to mix it.
    if (IsFreeColour(line))
        return QStringLiteral("vlastní barva ") + HexColour(line.layer.ShadeColour);
    if (line.layer.ShadeId == 0)
        return QStringLiteral("vlastní barva");
    return NameOr(nullptr, line.layer.ShadeId, QStringLiteral("odstín"));
}

QString FanDeckText(const OrderLine& line) {
    return NameOr(line.row.fanDecks.isEmpty() ? nullptr : &line.row.fanDecks.constFirst(),
                  line.layer.FanDeckId, QStringLiteral("vějíř"));
}

QString PaintKindText(const OrderLine& line) {
    return NameOr(line.row.paintKinds.isEmpty() ? nullptr : &line.row.paintKinds.constFirst().name,
                  line.layer.PaintKindId, QStringLiteral("druh barvy"));
}

QString UnitOf(const OrderLine& line) {
    return line.row.paintKinds.isEmpty() ? QString() : line.row.paintKinds.constFirst().unit;
}

QColor SwatchOf(const OrderLine& line) {
    if (!line.row.shades.isEmpty()) {
        const OverviewShade& shade = line.row.shades.constFirst();
        if (!shade.HasColour())
            return QColor();
        return QColor(std::clamp(shade.red, 0, 255), std::clamp(shade.green, 0, 255),
                      std::clamp(shade.blue, 0, 255));
    }
    const Colour colour = line.layer.ShadeColour;
    return colour == NoColour ? QColor() : QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

QList<OrderLine> Lines(const LayerList& layers, CatalogueDatabase* catalogue) {
    QList<OrderLine> lines;
    for (int index : Overview::ListedLayers(layers)) {
        OrderLine line{index, layers[index], Overview::LookUpRow(catalogue, layers[index]), {}};
        if (!line.row.fanDecks.isEmpty()) {
            catalogue->Run(Statements::FanDeckStatement(line.layer.FanDeckId),
                           [&line](const CatalogueRow& found) {
                               line.fanDeckType = found.Text(QStringLiteral("vejir_typ")).toUpper();
                               return false;
                           });
        }
        lines.append(line);
    }
    return lines;
}

QList<OrderLine> Lines(const Document& doc, CatalogueDatabase* catalogue,
                       const CoverageTable& coverage) {
    QList<OrderLine> lines = Lines(doc.Layers, catalogue);
    const QList<double> areas = LayerAreas::Painted(doc);
    for (OrderLine& line : lines) {
        Overview::AddMeasures(line.row, line.layer, line.layerIndex, areas, coverage);
        const auto found = coverage.constFind(line.layer.PaintKindId);
        if (line.layer.PaintKindId > 0 && found != coverage.constEnd())
            line.coverage = *found;
    }
    return lines;
}

QHash<int, QString> FanDeckLabels(const QList<OrderLine>& lines) {
    QHash<int, QString> labels;
    QHash<QString, QList<int>> idsOfLabel;
    for (const OrderLine& line : lines) {
        if (line.row.fanDecks.isEmpty() || labels.contains(line.layer.FanDeckId))
            continue;
        const QString label = QStringLiteral("[%1] %2").arg(
            line.fanDeckType.isEmpty() ? QStringLiteral("?") : line.fanDeckType,
            line.row.fanDecks.constFirst());
        labels.insert(line.layer.FanDeckId, label);
        idsOfLabel[label].append(line.layer.FanDeckId);
    }
    for (auto it = idsOfLabel.cbegin(); it != idsOfLabel.cend(); ++it) {
        if (it.value().size() < 2)
            continue;
        for (int id : it.value())
            labels[id] = QStringLiteral("%1, č. %2").arg(it.key(), QString::number(id));
    }
    return labels;
}

QList<Overview::RowText> RowTexts(const OrderLine& line, const QString& fanDeckLabel) {
    QList<Overview::RowText> texts;
    for (const OverviewShade& shade : line.row.shades)
        texts.append({QStringLiteral("Odstín: ") + shade.name, 54});
    if (IsFreeColour(line))
        texts.append({QStringLiteral("Odstín: vlastní barva %1 – namíchat")
                          .arg(HexColour(line.layer.ShadeColour)),
                      54});
    texts.append({line.layer.Name, 84, 9, true});
    if (!line.row.fanDecks.isEmpty())
        texts.append({QStringLiteral("Vějíř: ") + fanDeckLabel, 69});
    for (const OverviewPaintKind& kind : line.row.paintKinds)
        texts.append({QStringLiteral("Druh barvy: ") + kind.name, 39});
    QString quantity = QStringLiteral("Množství: ") + QString::number(line.layer.Quantity);
    if (!UnitOf(line).isEmpty())
        quantity += QLatin1Char(' ') + UnitOf(line);
    // A paint chosen without a quantity cannot be ordered as it stands.
    if (line.layer.ShadeId != -1 && line.layer.Quantity == 0)
        quantity += QStringLiteral(" – množství nezadáno");
    texts.append({quantity, 24});
    texts.append(Overview::MeasuredTexts(line.row));
    return texts;
}

QColor RowSwatch(const OrderLine& line) {
    if (!line.row.shades.isEmpty())
        return Overview::SwatchColour(line.row);
    // A free colour, or a shade the catalogue cannot name now: the layer's own colour.
    const Colour colour = line.layer.ShadeColour;
    return colour == NoColour ? QColor() : QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

QList<OrderTotal> Summarise(const QList<OrderLine>& lines) {
    using Key = std::tuple<std::int32_t, std::int32_t, std::int32_t, Colour>;
    QList<Key> keys;
    QList<OrderTotal> totals;
    const QHash<int, QString> fanDeckLabels = FanDeckLabels(lines);
    for (const OrderLine& line : lines) {
        const LayerRecord& layer = line.layer;
        if (layer.ShadeId == -1)
            continue;
        // A shade id is one paint whatever colour a layer kept; a free colour from the
        // palette (id 0, no catalogue row) is told apart by its colour alone.
        const bool freeColour = layer.ShadeId == 0 && line.row.shades.isEmpty();
        const Colour colour = freeColour ? layer.ShadeColour : NoColour;
        const Key key{layer.ShadeId, layer.FanDeckId, layer.PaintKindId, colour};
        qsizetype at = keys.indexOf(key);
        if (at < 0) {
            OrderTotal total;
            total.shade = ShadeText(line);
            const auto label = fanDeckLabels.constFind(layer.FanDeckId);
            total.fanDeck = NameOr(label == fanDeckLabels.cend() ? nullptr : &label.value(),
                                   layer.FanDeckId, QStringLiteral("vějíř"));
            const OverviewPaintKind* kind =
                line.row.paintKinds.isEmpty() ? nullptr : &line.row.paintKinds.constFirst();
            total.paintKind = NameOr(kind ? &kind->name : nullptr, layer.PaintKindId,
                                     QStringLiteral("druh barvy"));
            total.unit = kind ? kind->unit : QString();
            total.swatch = RowSwatch(line);
            keys.append(key);
            totals.append(total);
            at = totals.size() - 1;
        }
        OrderTotal& total = totals[at];
        total.quantity += layer.Quantity;
        total.layers << layer.Name;
        if (line.row.area) {
            total.area = total.area.value_or(0.0) + *line.row.area;
            if (line.coverage)
                total.suggested = PaintCoverage::Suggested(*total.area, *line.coverage);
        }
    }
    return totals;
}

QImage Picture(const Document& doc, Progress& progress) {
    return Picture(doc, doc.Layers, progress);
}

QImage Picture(const Document& doc, const LayerList& layers, Progress& progress) {
    return Picture(doc.PhotoBitmap, doc.Mask, layers, progress);
}

QSize PictureSize(QSize photo) {
    if (photo.width() <= PictureWidth)
        return photo;
    const int factor = (photo.width() + PictureWidth - 1) / PictureWidth;
    return QSize((photo.width() + factor - 1) / factor, (photo.height() + factor - 1) / factor);
}

QImage Picture(const QImage& photo, const TMask& mask, const LayerList& layers,
               Progress& progress) {
    const QSize size = photo.size();
    const RenderInput input{photo, mask, layers, 1.0f, false};
    if (size.width() <= PictureWidth) {
        QImage picture(size, QImage::Format_BGR888);
        if (picture.isNull())
            throw IoError(QStringLiteral("Pro obrázek v plné velikosti není dost paměti."));
        RenderRegion(input, picture, 0, 0, size.width() - 1, size.height() - 1);
        return picture;
    }
    // Reduced by the smallest whole factor that brings it within the width, a band of
    // rows at a time as they are made: the full-size picture is never held whole.
    BoxReduction reduction(size, PictureSize(size));
    RenderFullSizeInBands(
        input,
        [&reduction](int firstRow, const QImage& band, int rows) {
            for (int i = 0; i < rows; ++i)
                reduction.AddRow(firstRow + i, band.constScanLine(i));
        },
        progress);
    return reduction.Result();
}

OrderSheet Make(const Document& doc, CatalogueDatabase* catalogue, const QDate& date,
                const CoverageTable& coverage, Progress& progress) {
    OrderSheet sheet;
    sheet.projectName = QFileInfo(doc.ProjectPath).completeBaseName();
    sheet.date = date;
    sheet.lines = Lines(doc, catalogue, coverage);
    sheet.withoutCatalogue = !catalogue || !catalogue->IsOpen();
    sheet.picture = Picture(doc, progress);
    return sheet;
}

void Write(const QString& path, const OrderSheet& sheet) {
    WriteFileAtomically(path, Pdf(sheet));
}

} // namespace Order

bool SaveOrderSheet(const Document& doc, Prompts& prompts, CatalogueDatabase* catalogue) {
    return SaveCustomerPdf(doc, prompts, QStringLiteral(".pdf"), QStringLiteral("Objednávka barev"),
                           [&](const QString& path, Progress& progress) {
                               Order::Write(path, Order::Make(doc, catalogue, QDate::currentDate(),
                                                              PaintCoverage::Load(), progress));
                           });
}
