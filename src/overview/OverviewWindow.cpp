#include "overview/OverviewWindow.h"

#include "overview/OrderSheet.h"
#include "overview/OverviewList.h"
#include "overview/OverviewMeasures.h"
#include "overview/OverviewRowDelegate.h"
#include "overview/OverviewRowPainter.h"
#include "overview/Proposal.h"
#include "overview/Recipe.h"
#include "project/CzechNumber.h"
#include "project/Errors.h"
#include "project/LayerAreas.h"
#include "widgets/Artwork.h"
#include "widgets/GlintImage.h"
#include "widgets/GradientStrip.h"
#include "workspace/ErrorGuard.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Prompts.h"
#include "workspace/Workspace.h"

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTimer>

namespace {

const QColor StripFallback(235, 235, 235);

// The design's width and the room the order, proposal and spreading-rate buttons each
// take beside the other three.
constexpr int DesignWidth = 489;
constexpr int OrderButtonRoom = 122;
constexpr int ProposalButtonRoom = 122;
// The spreading rate's button takes as much again.
constexpr int CoverageButtonRoom = 122;
// The footer's room beyond the design's.
constexpr int FooterRoom = OrderButtonRoom + ProposalButtonRoom + CoverageButtonRoom;

TGlintImage* Button(QWidget* parent, const QString& name, const QString& word, QSize size,
                    const QString& hint) {
    using Artwork::Face;
    return MakeGlintImage(parent, name, Artwork::PanelButton(word, Face::Normal, size),
                          Artwork::PanelButton(word, Face::Over, size), hint);
}

} // namespace

OverviewWindow::OverviewWindow(Workspace& workspace, Prompts& prompts, CatalogueDatabase* catalogue,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowStaysOnTopHint),
      workspace_(workspace), prompts_(prompts), catalogue_(catalogue) {
    setObjectName(QStringLiteral("OverviewWindow"));
    setWindowTitle(QStringLiteral("Přehled"));
    setModal(true);

    header_ = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::TopBand, 52),
                                StripFallback, this);
    title_ = AddBandTitle(header_, QStringLiteral("Celkový přehled odstínů použitých na projektu"));
    footer_ = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::TopBand, 50),
                                StripFallback, this);

    layerList = new OverviewList(*this, this);
    layerList->setObjectName(QStringLiteral("layerList"));
    layerList->setFrameShape(QFrame::NoFrame);
    layerList->setUniformItemSizes(true);
    layerList->setSelectionMode(QAbstractItemView::SingleSelection);
    layerList->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    layerList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // rows fit the width
    layerList->setStyleSheet(QStringLiteral("QListWidget { background: rgb(235, 250, 254); }"));
    layerList->setItemDelegate(new OverviewRowDelegate(*this, layerList));
    connect(layerList, &QListWidget::itemClicked, this, &OverviewWindow::onLayerListClicked);
    // Keys move the selection as a click does; the list taking the focus does not.
    connect(layerList, &QListWidget::itemSelectionChanged, this,
            &OverviewWindow::onLayerListClicked);

    const QSize wide(170, 18);
    recipeButton =
        Button(this, QStringLiteral("recipeButton"), QStringLiteral("Receptovat v Huemix"), wide,
               QStringLiteral("Vybraný odstín receptovat v Huemix"));
    recipeButton->hide();
    exportButton =
        Button(this, QStringLiteral("exportButton"), QStringLiteral("Uložit s výsledním obarvením"),
               wide, QStringLiteral("Uložit nově obarvený obrázek"));
    orderButton = Button(this, QStringLiteral("orderButton"), QStringLiteral("Objednávka barev"),
                         QSize(114, 18), QStringLiteral("Uložit objednávku barev k tisku (PDF)"));
    proposalButton =
        Button(this, QStringLiteral("proposalButton"), QStringLiteral("Návrh barev"),
               QSize(114, 18), QStringLiteral("Uložit návrh barev pro zákazníka (PDF)"));
    closeButton = Button(this, QStringLiteral("closeButton"), QStringLiteral("Zavřít"),
                         QSize(114, 18), QStringLiteral("Zavřít přehled"));
    connect(recipeButton, &TGlintImage::Click, this, &OverviewWindow::onRecipeClicked);
    connect(closeButton, &TGlintImage::Click, this, &OverviewWindow::onCloseClicked);
    connect(exportButton, &TGlintImage::Click, this, &OverviewWindow::onExportClicked);
    connect(orderButton, &TGlintImage::Click, this, &OverviewWindow::onOrderClicked);
    connect(proposalButton, &TGlintImage::Click, this, &OverviewWindow::onProposalClicked);
    coverageButton = Button(this, QStringLiteral("coverageButton"),
                            QStringLiteral("Vydatnost barvy"), QSize(114, 18),
                            QStringLiteral("Vydatnost a počet nátěrů druhu barvy vybrané vrstvy"));
    coverageButton->hide();
    connect(coverageButton, &TGlintImage::Click, this, &OverviewWindow::onCoverageClicked);
    layerList->viewport()->installEventFilter(this);
    layerList->viewport()->setMouseTracking(true);

    // The footer carries three buttons more than the design: the window is wider by them.
    setMinimumSize(DesignWidth + FooterRoom, 200);
    resize(DesignWidth + FooterRoom, 552);
    Arrange();
}

void OverviewWindow::FillOverview() {
    // Emptying the list is no row click: the recipe button stays as it was.
    const QSignalBlocker blocker(layerList);
    layerList->clear();
    for (int layer : Overview::ListedLayers(workspace_.Doc.Layers))
        layerList->addItem(QString::number(layer));
    catalogueErrorReported_ = false;
    areas_ = LayerAreas::Painted(workspace_.Doc);
    coverage_ = PaintCoverage::Load();
    coverageButton->setVisible(CoverageLayer() >= 0);
}

int OverviewWindow::CoverageLayer() const {
    const auto hasKind = [this](int layer) {
        return layer >= 0 && workspace_.Doc.Layers[layer].PaintKindId > 0;
    };
    if (!layerList->selectedItems().isEmpty()) {
        const int layer = SelectedLayer();
        return hasKind(layer) ? layer : -1;
    }
    for (int row = 0; row < layerList->count(); ++row) {
        if (hasKind(LayerOfRow(row)))
            return LayerOfRow(row);
    }
    return -1;
}

int OverviewWindow::LayerOfRow(int row) const {
    const QListWidgetItem* item = layerList->item(row);
    if (!item)
        return -1;
    bool ok = false;
    const int layer = item->text().toInt(&ok);
    return ok && layer >= 0 && layer < workspace_.Doc.Layers.size() ? layer : -1;
}

OverviewRow OverviewWindow::RowOfLayer(int layer) {
    if (layer < 0 || layer >= workspace_.Doc.Layers.size())
        return OverviewRow();
    const LayerRecord& record = workspace_.Doc.Layers[layer];
    OverviewRow row;
    try {
        row = Overview::LookUpRow(catalogue_, record);
    } catch (const DatabaseError& error) {
        // Painting goes on with what needs no catalogue; the user hears of it once.
        ReportCatalogueError(error.message());
        row = Overview::RowWithoutCatalogue(record);
    }
    Overview::AddMeasures(row, record, layer, areas_, coverage_);
    return row;
}

void OverviewWindow::LookUpRowsToPaint(const QList<int>& listRows) {
    rowsToPaint_.clear();
    QList<int> layers;
    QList<LayerRecord> records;
    for (int listRow : listRows) {
        const int layer = LayerOfRow(listRow);
        if (layer >= 0) {
            layers << layer;
            records << workspace_.Doc.Layers[layer];
        }
    }
    if (records.isEmpty())
        return;
    QList<OverviewRow> rows;
    try {
        rows = Overview::LookUpRows(catalogue_, records);
    } catch (const DatabaseError& error) {
        // Each row then asks on its own, as far as the catalogue still answers.
        ReportCatalogueError(error.message());
        return;
    }
    for (qsizetype i = 0; i < rows.size(); ++i) {
        Overview::AddMeasures(rows[i], records[i], layers[i], areas_, coverage_);
        rowsToPaint_.insert(layers[i], rows[i]);
    }
}

void OverviewWindow::ForgetRowsToPaint() {
    rowsToPaint_.clear();
}

OverviewRow OverviewWindow::RowToPaint(int layer) {
    const auto found = rowsToPaint_.constFind(layer);
    return found != rowsToPaint_.constEnd() ? *found : RowOfLayer(layer);
}

QRect OverviewWindow::SuggestionRect(int row) {
    QListWidgetItem* item = layerList->item(row);
    if (!item)
        return QRect();
    return Overview::SuggestedRect(layerList->visualItemRect(item), RowOfLayer(LayerOfRow(row)),
                                   layerList->font());
}

int OverviewWindow::SelectedLayer() const {
    const QList<QListWidgetItem*> selected = layerList->selectedItems();
    return selected.isEmpty() ? -1 : LayerOfRow(layerList->row(selected.constFirst()));
}

void OverviewWindow::onLayerListPressed(int row, QPoint at) {
    const int layer = LayerOfRow(row);
    if (layer < 0 || !SuggestionRect(row).contains(at))
        return;
    const OverviewRow shown = RowOfLayer(layer);
    if (shown.suggested && Overview::TakeSuggestedQuantity(workspace_.Doc, layer, *shown.suggested))
        layerList->viewport()->update();
}

bool OverviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == layerList->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->position().toPoint();
            if (mouse->button() == Qt::LeftButton)
                onLayerListPressed(layerList->indexAt(at).row(), at);
        } else if (event->type() == QEvent::MouseMove) {
            // The suggestion takes a click: the pointer says so.
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            const bool over = SuggestionRect(layerList->indexAt(at).row()).contains(at);
            layerList->viewport()->setCursor(over ? Qt::PointingHandCursor : Qt::ArrowCursor);
            layerList->viewport()->setToolTip(
                over ? QStringLiteral("Klepnutím převezmete spotřebu do množství barvy vrstvy")
                     : QString());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void OverviewWindow::onCoverageClicked() {
    const int layer = CoverageLayer();
    if (layer < 0)
        return;
    const std::int32_t kind = workspace_.Doc.Layers[layer].PaintKindId;
    const OverviewRow row = RowOfLayer(layer);
    const QString name = row.paintKinds.isEmpty()
                             ? QStringLiteral("č. %1").arg(kind)
                             : QStringLiteral("„%1“").arg(row.paintKinds.constFirst().name);
    const QString unit = row.paintKinds.isEmpty() || row.paintKinds.constFirst().unit.isEmpty()
                             ? QStringLiteral("jednotku")
                             : row.paintKinds.constFirst().unit;
    const Coverage current = coverage_.value(kind, Coverage{0, 2});
    const QString caption = QStringLiteral("Vydatnost barvy");
    const QString rate = prompts_.InputText(
        caption,
        QStringLiteral("Druh barvy %1: kolik m² natře 1 %2 jedním nátěrem?").arg(name, unit),
        current.rate > 0 ? CzechNumber::Format(current.rate, 2) : QString(), 16);
    if (rate.trimmed().isEmpty())
        return;
    const QString coats =
        prompts_.InputText(caption, QStringLiteral("Druh barvy %1: počet nátěrů").arg(name),
                           QString::number(current.coats), 16);
    if (coats.trimmed().isEmpty())
        return;
    RunGuarded(prompts_, [&] {
        PaintCoverage::Store(kind, PaintCoverage::Parse(rate, coats));
        coverage_ = PaintCoverage::Load();
    });
    layerList->viewport()->update();
}

void OverviewWindow::ReportCatalogueError(const QString& text) {
    if (catalogueErrorReported_)
        return;
    catalogueErrorReported_ = true;
    // Not from within a paint: the message box comes once the painting is done.
    QTimer::singleShot(0, this, [this, text] { prompts_.Error(text); });
}

void OverviewWindow::onLayerListClicked() {
    const QList<QListWidgetItem*> selected = layerList->selectedItems();
    const int layer = selected.isEmpty() ? -1 : LayerOfRow(layerList->row(selected.constFirst()));
    recipeButton->setVisible(layer >= 0 && Overview::RecipeAvailable(workspace_.Doc.Layers[layer]));
    coverageButton->setVisible(CoverageLayer() >= 0);
}

void OverviewWindow::onRecipeClicked() {
    const QList<QListWidgetItem*> selected = layerList->selectedItems();
    if (selected.isEmpty())
        return;
    const int layer = LayerOfRow(layerList->row(selected.constFirst()));
    if (layer >= 0)
        Recipe::Write(workspace_.Doc, layer, catalogue_, prompts_);
}

void OverviewWindow::onCloseClicked() {
    close();
}

void OverviewWindow::onExportClicked() {
    ExportPicture(workspace_, prompts_);
}

void OverviewWindow::onOrderClicked() {
    SaveOrderSheet(workspace_.Doc, prompts_, catalogue_);
}

// Every scheme of the project, or its current colouring when it has none.
void OverviewWindow::onProposalClicked() {
    SaveProposal(workspace_.Doc, Proposals::AllSchemes(workspace_.Doc), prompts_, catalogue_);
}

void OverviewWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Arrange();
}

void OverviewWindow::Arrange() {
    const int w = width();
    const int h = height();
    header_->setGeometry(0, 0, w, 52);
    footer_->setGeometry(0, h - 50, w, 50);
    layerList->setGeometry(0, 52, w, std::max(0, h - 102));
    // Left-anchored: recipe and export; right-anchored: the spreading rate, the proposal,
    // the order and close.
    recipeButton->move(11, h - 35);
    exportButton->move(188, h - 35);
    proposalButton->move(w - 123 - OrderButtonRoom - ProposalButtonRoom, h - 35);
    coverageButton->move(w - 123 - OrderButtonRoom - ProposalButtonRoom - CoverageButtonRoom,
                         h - 35);
    orderButton->move(w - 123 - OrderButtonRoom, h - 35);
    closeButton->move(w - 123, h - 35);
}
