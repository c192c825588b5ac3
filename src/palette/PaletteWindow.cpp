#include "palette/PaletteWindow.h"

#include "catalogue/CatalogueWindow.h"
#include "palette/PaletteGrid.h"
#include "palette/ShadeRanking.h"
#include "widgets/Artwork.h"
#include "widgets/DialogButtons.h"
#include "widgets/GlintImage.h"
#include "widgets/GradientStrip.h"
#include "widgets/WindowPlacement.h"
#include "workspace/ErrorGuard.h"
#include "workspace/Prompts.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

const QColor WindowBackground(255, 203, 151);
const QColor InfoBackground(223, 247, 253);
const QColor HintBackground(187, 207, 225);
const QColor BoxFrame(73, 122, 167);
const QColor Grey(160, 160, 160);
const QColor Red(255, 0, 0);
const QColor Green(0, 128, 0);
const QColor Blue(0, 0, 255);

QWidget* Line(QWidget* parent, QRect geometry) {
    auto* line = new QWidget(parent);
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, Grey);
    line->setPalette(palette);
    return line;
}

QWidget* Box(QWidget* parent, QRect geometry) {
    auto* box = new QFrame(parent);
    box->setGeometry(geometry);
    box->setStyleSheet(QStringLiteral("QFrame { border: 1px solid %1; }").arg(BoxFrame.name()));
    return box;
}

QLabel* Caption(QWidget* parent, const QString& text, QPoint at, const QColor& colour,
                bool bold = false, int pixelSize = 0) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(bold);
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(colour.name()));
    label->move(at);
    label->adjustSize();
    return label;
}

QLineEdit* ToleranceEdit(QWidget* parent, const QString& name, QPoint at) {
    auto* edit = new QLineEdit(QStringLiteral("30"), parent);
    edit->setObjectName(name);
    edit->setGeometry(QRect(at, QSize(33, 19)));
    return edit;
}

QBrush CrossHatch() {
    return QBrush(QColor(255, 0, 0), Qt::DiagCrossPattern);
}

} // namespace

ColourShape::ColourShape(QWidget* parent) : QWidget(parent) {}

void ColourShape::SetBrush(const QBrush& brush) {
    brush_ = brush;
    update();
}

void ColourShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white); // behind a hatch
    painter.fillRect(rect(), brush_);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColourShape::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit Pressed();
}

PaletteWindow::PaletteWindow(CatalogueWindow& catalogue, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), catalogue_(catalogue),
      prompts_(prompts) {
    setObjectName(QStringLiteral("PaletteWindow"));
    setWindowTitle(QStringLiteral("Paleta barev"));
    resize(780, 531);
    SetToolWindowLook(this, WindowBackground);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QWidget* topEdge = Line(this, QRect(0, 0, 780, 1));
    topEdge->setFixedHeight(1);
    layout->addWidget(topEdge);
    BuildInfoPanel();
    layout->addWidget(infoPanel);
    BuildHintBar();
    layout->addWidget(hintBar);
    shadeGrid = new PaletteGrid(catalogue_.Model.Shades, this);
    layout->addWidget(shadeGrid, 1);

    connect(shadeGrid, &PaletteGrid::CellChosen, this, &PaletteWindow::onShadeGridCellChosen);
    connect(shadeGrid, &PaletteGrid::DoubleClicked, this, &PaletteWindow::onShadeGridDoubleClicked);
    connect(shadeGrid, &PaletteGrid::Resized, this, &PaletteWindow::LayoutGrid);
    connect(freeColourShape, &ColourShape::Pressed, this, &PaletteWindow::onFreeColourShapePressed);
    connect(searchButton, &TGlintImage::Click, this, &PaletteWindow::onSearchClicked);
    connect(freeColourSearchButton, &TGlintImage::Click, this,
            &PaletteWindow::onFreeColourSearchClicked);
    connect(rankButton, &TGlintImage::Click, this, &PaletteWindow::onRankClicked);

    // While showing, the grid follows every refill, re-sort and shade choice.
    const auto follow = [this] {
        if (isVisible())
            LayoutGrid();
    };
    connect(&catalogue_.Model, &CatalogueModel::ShadesChanged, this, follow);
    connect(&catalogue_, &CatalogueWindow::ShadeChosen, this, follow);
    catalogue_.ShowPalette = [this] { ShowOnShade(); };
    catalogue_.ShowPaletteOnList = [this] { ShowOnList(); };

    layout->activate();
    LayoutGrid();
}

void PaletteWindow::BuildInfoPanel() {
    infoPanel = new QWidget(this);
    infoPanel->setObjectName(QStringLiteral("infoPanel"));
    infoPanel->setFixedHeight(128);
    infoPanel->setAutoFillBackground(true);
    QPalette palette = infoPanel->palette();
    palette.setColor(QPalette::Window, InfoBackground);
    infoPanel->setPalette(palette);

    infoPanelStrip =
        new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::CatalogueHeader, 24),
                          InfoBackground, infoPanel);
    infoPanelStrip->setGeometry(0, 0, 4000, 24);
    paletteCaption = new QLabel(infoPanelStrip);
    paletteCaption->setPixmap(Artwork::StripCaption(QStringLiteral("PALETA")));
    paletteCaption->move(17, 0);
    Line(infoPanel, QRect(0, 127, 4000, 1));

    // Box 1: the selected shade's values and preview.
    Box(infoPanel, QRect(4, 35, 241, 86));
    previewShape = new ColourShape(infoPanel);
    previewShape->setObjectName(QStringLiteral("previewShape"));
    previewShape->setGeometry(21, 51, 89, 57);
    const std::pair<QString, QColor> channels[] = {{QStringLiteral("Červená:"), Red},
                                                   {QStringLiteral("Zelená:"), Green},
                                                   {QStringLiteral("Modrá:"), Blue}};
    QLabel** values[] = {&redValueLabel, &greenValueLabel, &blueValueLabel};
    const char* names[] = {"redValueLabel", "greenValueLabel", "blueValueLabel"};
    for (int i = 0; i < 3; ++i) {
        Caption(infoPanel, channels[i].first, QPoint(128, 52 + 19 * i), channels[i].second);
        QLabel* value =
            Caption(infoPanel, QString(), QPoint(180, 52 + 19 * i), channels[i].second, true);
        value->setObjectName(QString::fromLatin1(names[i]));
        value->setFixedWidth(50);
        *values[i] = value;
    }

    // Box 2: the tolerances, the search around the shown colour and the ranking.
    Box(infoPanel, QRect(252, 35, 325, 86));
    Caption(infoPanel, QStringLiteral("Tolerance pro vyhledání podobné barvy:"), QPoint(262, 42),
            QColor(31, 50, 69), true, 10);
    const int editX[] = {326, 417, 507};
    QLineEdit** edits[] = {&redToleranceEdit, &greenToleranceEdit, &blueToleranceEdit};
    const char* editNames[] = {"redToleranceEdit", "greenToleranceEdit", "blueToleranceEdit"};
    for (int i = 0; i < 3; ++i) {
        QLabel* caption = Caption(infoPanel, channels[i].first, QPoint(0, 67), channels[i].second);
        caption->move(editX[i] - 4 - caption->width(), 68);
        *edits[i] =
            ToleranceEdit(infoPanel, QString::fromLatin1(editNames[i]), QPoint(editX[i], 65));
    }
    using Artwork::Face;
    const QString search = QStringLiteral("Vyhledat");
    const QString hint =
        QStringLiteral("Vyhledat podobné odstínz v e všech vějířích se yadanou tolerancí");
    searchButton = MakeGlintImage(infoPanel, QStringLiteral("searchButton"),
                                  Artwork::PanelButton(search, Face::Normal),
                                  Artwork::PanelButton(search, Face::Over), hint);
    searchButton->move(296, 97);
    const QString rank = QStringLiteral("Seřadit podle podobnosti");
    const QSize rankSize(156, 18);
    rankButton = MakeGlintImage(
        infoPanel, QStringLiteral("rankButton"), Artwork::PanelButton(rank, Face::Normal, rankSize),
        Artwork::PanelButton(rank, Face::Over, rankSize),
        QStringLiteral("Seřadit odstíny seznamu podle podobnosti s barvou vlevo (CIEDE2000), "
                       "nejpodobnější první"));
    rankButton->move(414, 97);

    // Box 3: the free colour.
    Box(infoPanel, QRect(584, 35, 129, 86));
    Caption(infoPanel, QStringLiteral("Zvolit barvu z palety:"), QPoint(592, 42),
            QColor(31, 50, 69), true, 10);
    freeColourShape = new ColourShape(infoPanel);
    freeColourShape->setObjectName(QStringLiteral("freeColourShape"));
    freeColourShape->setGeometry(608, 64, 81, 25);
    freeColourShape->setCursor(Qt::PointingHandCursor);
    freeColourShape->setToolTip(QStringLiteral("Zvolit libovolnou barvu pro vybranou vrstvu"));
    freeColourSearchButton = MakeGlintImage(infoPanel, QStringLiteral("freeColourSearchButton"),
                                            Artwork::PanelButton(search, Face::Normal),
                                            Artwork::PanelButton(search, Face::Over), hint);
    freeColourSearchButton->move(592, 97);
}

void PaletteWindow::BuildHintBar() {
    hintBar = new QWidget(this);
    hintBar->setObjectName(QStringLiteral("hintBar"));
    hintBar->setFixedHeight(21);
    hintBar->setAutoFillBackground(true);
    QPalette palette = hintBar->palette();
    palette.setColor(QPalette::Window, HintBackground);
    hintBar->setPalette(palette);
    hintBarStrip = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::HintBar, 40),
                                     HintBackground, hintBar);
    hintBarStrip->setGeometry(0, 0, 4000, 20);
    Line(hintBar, QRect(0, 20, 4000, 1));
    const QColor text(31, 50, 69);
    QLabel* deckCaption = Caption(hintBar, QStringLiteral("Vějíř:"), QPoint(16, 4), text, true);
    fanDeckLabel =
        Caption(hintBar, QString(), QPoint(deckCaption->geometry().right() + 5, 4), text);
    fanDeckLabel->setObjectName(QStringLiteral("fanDeckLabel"));
    fanDeckLabel->setFixedWidth(190);
    QLabel* shadeCaption = Caption(hintBar, QStringLiteral("Odstín:"), QPoint(248, 4), text, true);
    shadeLabel = Caption(hintBar, QString(), QPoint(shadeCaption->geometry().right() + 5, 4), text);
    shadeLabel->setObjectName(QStringLiteral("shadeLabel"));
    shadeLabel->setFixedWidth(300);
    deltaELabel = Caption(hintBar, QString(), QPoint(620, 4), text, true);
    deltaELabel->setObjectName(QStringLiteral("deltaELabel"));
    deltaELabel->setFixedWidth(120);
    deltaELabel->setToolTip(QStringLiteral(
        "Barevný rozdíl ΔE00 vybraného odstínu od barvy, kolem které se naposledy hledalo"));
}

std::array<QString, 3> PaletteWindow::ReferenceColour() const {
    return {redValueLabel->text(), greenValueLabel->text(), blueValueLabel->text()};
}

void PaletteWindow::UpdateShape() {
    const QScrollBar* bar = shadeGrid->verticalScrollBar();
    shadeGrid->SetShape(PaletteLayout::LayoutGridBesideScrollBar(
        shadeGrid->width(), shadeGrid->height(), int(catalogue_.Model.Shades.size()),
        bar->sizeHint().width()));
}

void PaletteWindow::LayoutGrid() {
    UpdateShape();
    const CatalogueModel& model = catalogue_.Model;
    if (model.SelectedShade >= 0 && model.SelectedShade < model.Shades.size())
        SyncWithCatalogue();
    shadeGrid->viewport()->update();
}

void PaletteWindow::SyncWithCatalogue() {
    const CatalogueModel& model = catalogue_.Model;
    const auto selected = [&model] {
        return model.SelectedShade >= 0 && model.SelectedShade < model.Shades.size();
    };
    if (!model.Shades.isEmpty() && !selected())
        catalogue_.SelectShadeRow(0);
    if (!selected())
        return;
    const int k = model.SelectedShade;
    const ShadeRecord& shade = model.Shades[k];
    fanDeckLabel->setText(shade.fanDeckLabel);
    shadeLabel->setText(shade.name);
    UpdateShape();
    shadeGrid->SetCurrentCell(PaletteLayout::CellOfRow(k, shadeGrid->Shape().columns));
    UpdateDeltaE();
    shadeGrid->viewport()->update();
}

void PaletteWindow::ShowShadeValues(const ShadeRecord& shade) {
    if (!shade.HasColour()) {
        for (QLabel* label : {redValueLabel, greenValueLabel, blueValueLabel})
            label->clear();
        previewShape->SetBrush(CrossHatch());
    } else {
        ShowColourValues(shade.ColourValue());
    }
    UpdateDeltaE();
}

void PaletteWindow::ShowColourValues(Colour colour) {
    redValueLabel->setText(QString::number(RedOf(colour)));
    greenValueLabel->setText(QString::number(GreenOf(colour)));
    blueValueLabel->setText(QString::number(BlueOf(colour)));
    previewShape->SetBrush(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
}

void PaletteWindow::CompareWith(std::optional<Colour> centre) {
    comparisonCentre_ = centre;
    UpdateDeltaE();
}

void PaletteWindow::UpdateDeltaE() {
    const CatalogueModel& model = catalogue_.Model;
    const int k = model.SelectedShade;
    // Without the information panel the colour compared with is not in view.
    if (!comparisonCentre_ || infoPanel->isHidden() || k < 0 || k >= model.Shades.size() ||
        !model.Shades[k].HasColour()) {
        deltaELabel->clear();
        return;
    }
    deltaELabel->setText(ShadeRanking::DeltaEText(
        ShadeRanking::DeltaE00(*comparisonCentre_, model.Shades[k].ColourValue())));
}

void PaletteWindow::onShadeGridCellChosen(QPoint cell) {
    const CatalogueModel& model = catalogue_.Model;
    if (model.Loading())
        return;
    const int k =
        PaletteLayout::RowOfCell(cell, shadeGrid->Shape().columns, int(model.Shades.size()));
    if (k >= 0) {
        shadeGrid->SetCurrentCell(cell);
        catalogue_.SelectShadeRow(k);
        const ShadeRecord& shade = model.Shades[k];
        shadeLabel->setText(shade.name);
        fanDeckLabel->setText(shade.fanDeckLabel);
        ShowShadeValues(shade);
    }
    // A cell after the last shade selects nothing; the click action runs again for
    // the shade already selected.
    catalogue_.onShadeListClicked();
}

void PaletteWindow::onShadeGridDoubleClicked() {
    catalogue_.onShadeListClicked();
    hide();
}

void PaletteWindow::onFreeColourShapePressed() {
    const Colour chosen = prompts_.ChooseColour(lastChosenColour_);
    if (chosen == NoColour)
        return;
    lastChosenColour_ = chosen;
    freeColourShape->SetBrush(QColor(RedOf(chosen), GreenOf(chosen), BlueOf(chosen)));
    ShowColourValues(chosen);
    if (FreeColourChosen)
        FreeColourChosen(chosen);
    CompareWith(chosen);
}

void PaletteWindow::SearchSimilarShades(SimilarShades::Variant variant) {
    SimilarShades::Outcome outcome = SimilarShades::Outcome::Stopped;
    const std::array<QString, 3> tolerances{redToleranceEdit->text(), greenToleranceEdit->text(),
                                            blueToleranceEdit->text()};
    const std::optional<std::array<int, 3>> centre =
        SimilarShades::ParseReference(ReferenceColour());
    const bool completed = RunGuarded(prompts_, [&] {
        outcome = SimilarShades::Search(catalogue_.Model, prompts_, variant, ReferenceColour(),
                                        tolerances);
    });
    if (!completed || outcome != SimilarShades::Outcome::Finished)
        return;
    if (variant == SimilarShades::Variant::FreeColour)
        shadeGrid->ClearCurrentCell();
    if (centre)
        comparisonCentre_ = Rgb((*centre)[0], (*centre)[1], (*centre)[2]);
    shadeGrid->setFocus();
    LayoutGrid();
    SyncWithCatalogue();
}

void PaletteWindow::onSearchClicked() {
    SearchSimilarShades(SimilarShades::Variant::ToleranceBox);
}

void PaletteWindow::onFreeColourSearchClicked() {
    SearchSimilarShades(SimilarShades::Variant::FreeColour);
}

void PaletteWindow::onRankClicked() {
    CatalogueModel& model = catalogue_.Model;
    if (model.Loading() || !model.Available())
        return;
    const std::optional<std::array<int, 3>> reference =
        SimilarShades::ParseReference(ReferenceColour());
    if (!reference) {
        prompts_.Message(SimilarShades::NoReferenceText, SimilarShades::NoReferenceTitle,
                         Prompts::Icon::Error, Prompts::Ok);
        return;
    }
    if (model.Shades.isEmpty())
        return;
    const Colour centre = Rgb((*reference)[0], (*reference)[1], (*reference)[2]);
    model.Reorder(ShadeRanking::RankOrder(model.Shades, centre));
    comparisonCentre_ = centre;
    LayoutGrid();
}

void PaletteWindow::ShowOnShade() {
    const CatalogueModel& model = catalogue_.Model;
    if (model.SelectedShade < 0 || model.SelectedShade >= model.Shades.size())
        return;
    SyncWithCatalogue();
    infoPanel->show();
    const ShadeRecord& shade = model.Shades[model.SelectedShade];
    ShowShadeValues(shade);
    CompareWith(shade.HasColour() ? std::optional<Colour>(shade.ColourValue()) : std::nullopt);
    ShowCentredOn(this, PictureArea);
    LayoutGrid();
}

void PaletteWindow::ShowOnList() {
    SyncWithCatalogue();
    infoPanel->hide();
    UpdateDeltaE();
    ShowCentredOn(this, PictureArea);
}

void PaletteWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    LayoutGrid(); // the grid's size may have changed while hidden
}
