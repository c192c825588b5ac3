#include "overview/OverviewWindow.h"

#include "overview/OrderSheet.h"
#include "overview/OverviewRowDelegate.h"
#include "overview/Recipe.h"
#include "project/Errors.h"
#include "widgets/Artwork.h"
#include "widgets/GlintImage.h"
#include "widgets/GradientStrip.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Prompts.h"
#include "workspace/Workspace.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTimer>

namespace {

const QColor StripFallback(235, 235, 235);

// The design's width and the room the order button takes beside the other three.
constexpr int DesignWidth = 489;
constexpr int OrderButtonRoom = 122;

TGlintImage* Button(QWidget* parent, const QString& name, const QString& word, QSize size,
                    const QString& hint) {
    using Artwork::Face;
    return MakeGlintImage(parent, name, Artwork::PanelButton(word, Face::Normal, size),
                          Artwork::PanelButton(word, Face::Over, size), hint);
}

} // namespace

TPrehled::TPrehled(Workspace& workspace, Prompts& prompts, CatalogueDatabase* catalogue,
                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowStaysOnTopHint),
      workspace_(workspace), prompts_(prompts), catalogue_(catalogue) {
    setObjectName(QStringLiteral("Prehled"));
    setWindowTitle(QStringLiteral("Přehled"));
    setModal(true);

    header_ = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::TopBand, 52),
                                StripFallback, this);
    title_ = new QLabel(QStringLiteral("Celkový přehled odstínů použitých na projektu"), header_);
    QFont serif(QStringLiteral("DejaVu Serif"));
    serif.setStyleHint(QFont::Serif);
    serif.setPixelSize(19);
    title_->setFont(serif);
    title_->setStyleSheet(QStringLiteral("QLabel { color: black; background: transparent; }"));
    title_->adjustSize();
    title_->move(40, 17);
    footer_ = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::TopBand, 50),
                                StripFallback, this);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFrameShape(QFrame::NoFrame);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // rows fit the width
    ListBox1->setStyleSheet(QStringLiteral("QListWidget { background: rgb(235, 250, 254); }"));
    ListBox1->setItemDelegate(new OverviewRowDelegate(*this, ListBox1));
    connect(ListBox1, &QListWidget::itemClicked, this, &TPrehled::ListBox1Click);
    // Keys move the selection as a click does; the list taking the focus does not.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TPrehled::ListBox1Click);

    const QSize wide(170, 18);
    GlintImage1 = Button(this, QStringLiteral("GlintImage1"), QStringLiteral("Receptovat v Huemix"),
                         wide, QStringLiteral("Vybraný odstín receptovat v Huemix"));
    GlintImage1->hide();
    GlintImage3 =
        Button(this, QStringLiteral("GlintImage3"), QStringLiteral("Uložit s výsledním obarvením"),
               wide, QStringLiteral("Uložit nově obarvený obrázek"));
    GlintImage4 = Button(this, QStringLiteral("GlintImage4"), QStringLiteral("Objednávka barev"),
                         QSize(114, 18), QStringLiteral("Uložit objednávku barev k tisku (PDF)"));
    GlintImage2 = Button(this, QStringLiteral("GlintImage2"), QStringLiteral("Zavřít"),
                         QSize(114, 18), QStringLiteral("Zavřít přehled"));
    connect(GlintImage1, &TGlintImage::Click, this, &TPrehled::GlintImage1Click);
    connect(GlintImage2, &TGlintImage::Click, this, &TPrehled::GlintImage2Click);
    connect(GlintImage3, &TGlintImage::Click, this, &TPrehled::GlintImage3Click);
    connect(GlintImage4, &TGlintImage::Click, this, &TPrehled::GlintImage4Click);

    // The footer carries one button more than the design: the window is wider by it.
    setMinimumSize(DesignWidth + OrderButtonRoom, 200);
    resize(DesignWidth + OrderButtonRoom, 552);
    Arrange();
}

void TPrehled::FillOverview() {
    // Emptying the list is no row click: the recipe button stays as it was.
    const QSignalBlocker blocker(ListBox1);
    ListBox1->clear();
    for (int layer : Overview::ListedLayers(workspace_.Doc.Layers))
        ListBox1->addItem(QString::number(layer));
    catalogueErrorReported_ = false;
}

int TPrehled::LayerOfRow(int row) const {
    const QListWidgetItem* item = ListBox1->item(row);
    if (!item)
        return -1;
    bool ok = false;
    const int layer = item->text().toInt(&ok);
    return ok && layer >= 0 && layer < workspace_.Doc.Layers.size() ? layer : -1;
}

OverviewRow TPrehled::RowOfLayer(int layer) {
    if (layer < 0 || layer >= workspace_.Doc.Layers.size())
        return OverviewRow();
    const LayerRecord& record = workspace_.Doc.Layers[layer];
    try {
        return Overview::LookUpRow(catalogue_, record);
    } catch (const DatabaseError& error) {
        // Painting goes on with what needs no catalogue; the user hears of it once.
        ReportCatalogueError(error.message());
        return Overview::RowWithoutCatalogue(record);
    }
}

void TPrehled::ReportCatalogueError(const QString& text) {
    if (catalogueErrorReported_)
        return;
    catalogueErrorReported_ = true;
    // Not from within a paint: the message box comes once the painting is done.
    QTimer::singleShot(0, this, [this, text] { prompts_.Error(text); });
}

void TPrehled::ListBox1Click() {
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    const int layer = selected.isEmpty() ? -1 : LayerOfRow(ListBox1->row(selected.constFirst()));
    GlintImage1->setVisible(layer >= 0 && Overview::RecipeAvailable(workspace_.Doc.Layers[layer]));
}

void TPrehled::GlintImage1Click() {
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (selected.isEmpty())
        return;
    const int layer = LayerOfRow(ListBox1->row(selected.constFirst()));
    if (layer >= 0)
        Recipe::Write(workspace_.Doc, layer, catalogue_, prompts_);
}

void TPrehled::GlintImage2Click() {
    close();
}

void TPrehled::GlintImage3Click() {
    ExportPicture(workspace_, prompts_);
}

void TPrehled::GlintImage4Click() {
    SaveOrderSheet(workspace_.Doc, prompts_, catalogue_);
}

void TPrehled::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Arrange();
}

void TPrehled::Arrange() {
    const int w = width();
    const int h = height();
    header_->setGeometry(0, 0, w, 52);
    footer_->setGeometry(0, h - 50, w, 50);
    ListBox1->setGeometry(0, 52, w, std::max(0, h - 102));
    // Left-anchored: recipe and export; right-anchored: the order and close.
    GlintImage1->move(11, h - 35);
    GlintImage3->move(188, h - 35);
    GlintImage4->move(w - 123 - OrderButtonRoom, h - 35);
    GlintImage2->move(w - 123, h - 35);
}
