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

TTPaleta::TTPaleta(CatalogueWindow& catalogue, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), catalogue_(catalogue),
      prompts_(prompts) {
    setObjectName(QStringLiteral("TPaleta"));
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
    layout->addWidget(PanelInfo);
    BuildHintBar();
    layout->addWidget(PanelHint);
    DrawGrid1 = new PaletteGrid(catalogue_.Model.Shades, this);
    layout->addWidget(DrawGrid1, 1);

    connect(DrawGrid1, &PaletteGrid::CellChosen, this, &TTPaleta::DrawGrid1SelectCell);
    connect(DrawGrid1, &PaletteGrid::DoubleClicked, this, &TTPaleta::DrawGrid1DblClick);
    connect(DrawGrid1, &PaletteGrid::Resized, this, &TTPaleta::LayoutGrid);
    connect(Shape7, &ColourShape::Pressed, this, &TTPaleta::Shape7MouseDown);
    connect(GlintImage1, &TGlintImage::Click, this, &TTPaleta::GlintImage1Click);
    connect(GlintImage2, &TGlintImage::Click, this, &TTPaleta::GlintImage2Click);
    connect(GlintImage3, &TGlintImage::Click, this, &TTPaleta::GlintImage3Click);

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

void TTPaleta::BuildInfoPanel() {
    PanelInfo = new QWidget(this);
    PanelInfo->setObjectName(QStringLiteral("PanelInfo"));
    PanelInfo->setFixedHeight(128);
    PanelInfo->setAutoFillBackground(true);
    QPalette palette = PanelInfo->palette();
    palette.setColor(QPalette::Window, InfoBackground);
    PanelInfo->setPalette(palette);

    PaintBox1 = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::CatalogueHeader, 24),
                                  InfoBackground, PanelInfo);
    PaintBox1->setGeometry(0, 0, 4000, 24);
    Image1 = new QLabel(PaintBox1);
    Image1->setPixmap(Artwork::StripCaption(QStringLiteral("PALETA")));
    Image1->move(17, 0);
    Line(PanelInfo, QRect(0, 127, 4000, 1));

    // Box 1: the selected shade's values and preview.
    Box(PanelInfo, QRect(4, 35, 241, 86));
    ShapeNahled = new ColourShape(PanelInfo);
    ShapeNahled->setObjectName(QStringLiteral("ShapeNahled"));
    ShapeNahled->setGeometry(21, 51, 89, 57);
    const std::pair<QString, QColor> channels[] = {{QStringLiteral("Červená:"), Red},
                                                   {QStringLiteral("Zelená:"), Green},
                                                   {QStringLiteral("Modrá:"), Blue}};
    QLabel** values[] = {&LabelR, &LabelG, &LabelB};
    const char* names[] = {"LabelR", "LabelG", "LabelB"};
    for (int i = 0; i < 3; ++i) {
        Caption(PanelInfo, channels[i].first, QPoint(128, 52 + 19 * i), channels[i].second);
        QLabel* value =
            Caption(PanelInfo, QString(), QPoint(180, 52 + 19 * i), channels[i].second, true);
        value->setObjectName(QString::fromLatin1(names[i]));
        value->setFixedWidth(50);
        *values[i] = value;
    }

    // Box 2: the tolerances, the search around the shown colour and the ranking.
    Box(PanelInfo, QRect(252, 35, 325, 86));
    Caption(PanelInfo, QStringLiteral("Tolerance pro vyhledání podobné barvy:"), QPoint(262, 42),
            QColor(31, 50, 69), true, 10);
    const int editX[] = {326, 417, 507};
    QLineEdit** edits[] = {&LabeledEdit1, &LabeledEdit2, &LabeledEdit3};
    for (int i = 0; i < 3; ++i) {
        QLabel* caption = Caption(PanelInfo, channels[i].first, QPoint(0, 67), channels[i].second);
        caption->move(editX[i] - 4 - caption->width(), 68);
        *edits[i] = ToleranceEdit(PanelInfo, QStringLiteral("LabeledEdit%1").arg(i + 1),
                                  QPoint(editX[i], 65));
    }
    using Artwork::Face;
    const QString search = QStringLiteral("Vyhledat");
    const QString hint =
        QStringLiteral("Vyhledat podobné odstínz v e všech vějířích se yadanou tolerancí");
    GlintImage1 = MakeGlintImage(PanelInfo, QStringLiteral("GlintImage1"),
                                 Artwork::PanelButton(search, Face::Normal),
                                 Artwork::PanelButton(search, Face::Over), hint);
    GlintImage1->move(296, 97);
    const QString rank = QStringLiteral("Seřadit podle podobnosti");
    const QSize rankSize(156, 18);
    GlintImage3 = MakeGlintImage(
        PanelInfo, QStringLiteral("GlintImage3"),
        Artwork::PanelButton(rank, Face::Normal, rankSize),
        Artwork::PanelButton(rank, Face::Over, rankSize),
        QStringLiteral("Seřadit odstíny seznamu podle podobnosti s barvou vlevo (CIEDE2000), "
                       "nejpodobnější první"));
    GlintImage3->move(414, 97);

    // Box 3: the free colour.
    Box(PanelInfo, QRect(584, 35, 129, 86));
    Caption(PanelInfo, QStringLiteral("Zvolit barvu z palety:"), QPoint(592, 42),
            QColor(31, 50, 69), true, 10);
    Shape7 = new ColourShape(PanelInfo);
    Shape7->setObjectName(QStringLiteral("Shape7"));
    Shape7->setGeometry(608, 64, 81, 25);
    Shape7->setCursor(Qt::PointingHandCursor);
    Shape7->setToolTip(QStringLiteral("Zvolit libovolnou barvu pro vybranou vrstvu"));
    GlintImage2 = MakeGlintImage(PanelInfo, QStringLiteral("GlintImage2"),
                                 Artwork::PanelButton(search, Face::Normal),
                                 Artwork::PanelButton(search, Face::Over), hint);
    GlintImage2->move(592, 97);
}

void TTPaleta::BuildHintBar() {
    PanelHint = new QWidget(this);
    PanelHint->setObjectName(QStringLiteral("PanelHint"));
    PanelHint->setFixedHeight(21);
    PanelHint->setAutoFillBackground(true);
    QPalette palette = PanelHint->palette();
    palette.setColor(QPalette::Window, HintBackground);
    PanelHint->setPalette(palette);
    PaintBox2 = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::HintBar, 40),
                                  HintBackground, PanelHint);
    PaintBox2->setGeometry(0, 0, 4000, 20);
    Line(PanelHint, QRect(0, 20, 4000, 1));
    const QColor text(31, 50, 69);
    QLabel* deckCaption = Caption(PanelHint, QStringLiteral("Vějíř:"), QPoint(16, 4), text, true);
    LabelVejir =
        Caption(PanelHint, QString(), QPoint(deckCaption->geometry().right() + 5, 4), text);
    LabelVejir->setObjectName(QStringLiteral("LabelVejir"));
    LabelVejir->setFixedWidth(190);
    QLabel* shadeCaption =
        Caption(PanelHint, QStringLiteral("Odstín:"), QPoint(248, 4), text, true);
    LabelOdstin =
        Caption(PanelHint, QString(), QPoint(shadeCaption->geometry().right() + 5, 4), text);
    LabelOdstin->setObjectName(QStringLiteral("LabelOdstin"));
    LabelOdstin->setFixedWidth(300);
    LabelDeltaE = Caption(PanelHint, QString(), QPoint(620, 4), text, true);
    LabelDeltaE->setObjectName(QStringLiteral("LabelDeltaE"));
    LabelDeltaE->setFixedWidth(120);
    LabelDeltaE->setToolTip(QStringLiteral(
        "Barevný rozdíl ΔE00 vybraného odstínu od barvy, kolem které se naposledy hledalo"));
}

std::array<QString, 3> TTPaleta::ReferenceColour() const {
    return {LabelR->text(), LabelG->text(), LabelB->text()};
}

void TTPaleta::UpdateShape() {
    const QScrollBar* bar = DrawGrid1->verticalScrollBar();
    DrawGrid1->SetShape(PaletteLayout::LayoutGridBesideScrollBar(
        DrawGrid1->width(), DrawGrid1->height(), int(catalogue_.Model.Shades.size()),
        bar->sizeHint().width()));
}

void TTPaleta::LayoutGrid() {
    UpdateShape();
    const CatalogueModel& model = catalogue_.Model;
    if (model.SelectedShade >= 0 && model.SelectedShade < model.Shades.size())
        SyncWithCatalogue();
    DrawGrid1->viewport()->update();
}

void TTPaleta::SyncWithCatalogue() {
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
    LabelVejir->setText(shade.fanDeckLabel);
    LabelOdstin->setText(shade.name);
    UpdateShape();
    DrawGrid1->SetCurrentCell(PaletteLayout::CellOfRow(k, DrawGrid1->Shape().columns));
    UpdateDeltaE();
    DrawGrid1->viewport()->update();
}

void TTPaleta::ShowShadeValues(const ShadeRecord& shade) {
    if (!shade.HasColour()) {
        for (QLabel* label : {LabelR, LabelG, LabelB})
            label->clear();
        ShapeNahled->SetBrush(CrossHatch());
    } else {
        ShowColourValues(shade.ColourValue());
    }
    UpdateDeltaE();
}

void TTPaleta::ShowColourValues(Colour colour) {
    LabelR->setText(QString::number(RedOf(colour)));
    LabelG->setText(QString::number(GreenOf(colour)));
    LabelB->setText(QString::number(BlueOf(colour)));
    ShapeNahled->SetBrush(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
}

void TTPaleta::CompareWith(std::optional<Colour> centre) {
    comparisonCentre_ = centre;
    UpdateDeltaE();
}

void TTPaleta::UpdateDeltaE() {
    const CatalogueModel& model = catalogue_.Model;
    const int k = model.SelectedShade;
    // Without the information panel the colour compared with is not in view.
    if (!comparisonCentre_ || PanelInfo->isHidden() || k < 0 || k >= model.Shades.size() ||
        !model.Shades[k].HasColour()) {
        LabelDeltaE->clear();
        return;
    }
    LabelDeltaE->setText(ShadeRanking::DeltaEText(
        ShadeRanking::DeltaE00(*comparisonCentre_, model.Shades[k].ColourValue())));
}

void TTPaleta::DrawGrid1SelectCell(QPoint cell) {
    const CatalogueModel& model = catalogue_.Model;
    if (model.Loading())
        return;
    const int k =
        PaletteLayout::RowOfCell(cell, DrawGrid1->Shape().columns, int(model.Shades.size()));
    if (k >= 0) {
        DrawGrid1->SetCurrentCell(cell);
        catalogue_.SelectShadeRow(k);
        const ShadeRecord& shade = model.Shades[k];
        LabelOdstin->setText(shade.name);
        LabelVejir->setText(shade.fanDeckLabel);
        ShowShadeValues(shade);
    }
    // A cell after the last shade selects nothing; the click action runs again for
    // the shade already selected.
    catalogue_.onShadeListClicked();
}

void TTPaleta::DrawGrid1DblClick() {
    catalogue_.onShadeListClicked();
    hide();
}

void TTPaleta::Shape7MouseDown() {
    const Colour chosen = prompts_.ChooseColour(lastChosenColour_);
    if (chosen == NoColour)
        return;
    lastChosenColour_ = chosen;
    Shape7->SetBrush(QColor(RedOf(chosen), GreenOf(chosen), BlueOf(chosen)));
    ShowColourValues(chosen);
    if (FreeColourChosen)
        FreeColourChosen(chosen);
    CompareWith(chosen);
}

void TTPaleta::SearchSimilarShades(SimilarShades::Variant variant) {
    SimilarShades::Outcome outcome = SimilarShades::Outcome::Stopped;
    const std::array<QString, 3> tolerances{LabeledEdit1->text(), LabeledEdit2->text(),
                                            LabeledEdit3->text()};
    const std::optional<std::array<int, 3>> centre =
        SimilarShades::ParseReference(ReferenceColour());
    const bool completed = RunGuarded(prompts_, [&] {
        outcome = SimilarShades::Search(catalogue_.Model, prompts_, variant, ReferenceColour(),
                                        tolerances);
    });
    if (!completed || outcome != SimilarShades::Outcome::Finished)
        return;
    if (variant == SimilarShades::Variant::FreeColour)
        DrawGrid1->ClearCurrentCell();
    if (centre)
        comparisonCentre_ = Rgb((*centre)[0], (*centre)[1], (*centre)[2]);
    DrawGrid1->setFocus();
    LayoutGrid();
    SyncWithCatalogue();
}

void TTPaleta::GlintImage1Click() {
    SearchSimilarShades(SimilarShades::Variant::ToleranceBox);
}

void TTPaleta::GlintImage2Click() {
    SearchSimilarShades(SimilarShades::Variant::FreeColour);
}

void TTPaleta::GlintImage3Click() {
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

void TTPaleta::ShowOnShade() {
    const CatalogueModel& model = catalogue_.Model;
    if (model.SelectedShade < 0 || model.SelectedShade >= model.Shades.size())
        return;
    SyncWithCatalogue();
    PanelInfo->show();
    const ShadeRecord& shade = model.Shades[model.SelectedShade];
    ShowShadeValues(shade);
    CompareWith(shade.HasColour() ? std::optional<Colour>(shade.ColourValue()) : std::nullopt);
    ShowCentredOn(this, PictureArea);
    LayoutGrid();
}

void TTPaleta::ShowOnList() {
    SyncWithCatalogue();
    PanelInfo->hide();
    UpdateDeltaE();
    ShowCentredOn(this, PictureArea);
}

void TTPaleta::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    LayoutGrid(); // the grid's size may have changed while hidden
}
