// The main window's controls: where each sits, its face, its hint and its handler.
#include "app/ImageView.h"
#include "app/MainWindow.h"
#include "widgets/Artwork.h"
#include "widgets/GlintImage.h"
#include "widgets/GradientStrip.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>

namespace {

using Artwork::Face;

const QColor BandGrey(218, 218, 218);
const QColor LineGrey(51, 51, 51);
const QColor LeftOrange(255, 203, 151);
const QColor BarBlue(75, 196, 232);
const QColor ViewBackground(235, 240, 245);

QWidget* Filled(const QColor& colour, QWidget* parent = nullptr) {
    auto* widget = new QWidget(parent);
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    return widget;
}

QLabel* Picture(const QPixmap& pixmap, QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(pixmap);
    label->setFixedSize(pixmap.size());
    return label;
}

struct TopButtonDesign {
    const char* name;
    const char* word;
    Symbol symbol;
    int width;
    const char* hint;
};

struct ToolButtonDesign {
    const char* name;
    int x;
    Symbol symbol;
    const char* hint;
};

struct PanelButtonDesign {
    const char* name;
    const char* word;
    const char* hint;
};

TGlintImage* PanelButton(QWidget* parent, const PanelButtonDesign& design) {
    const QString word = QString::fromUtf8(design.word);
    return MakeGlintImage(parent, QString::fromUtf8(design.name),
                          Artwork::PanelButton(word, Face::Normal),
                          Artwork::PanelButton(word, Face::Over), QString::fromUtf8(design.hint));
}

QListWidget* List(QWidget* parent, const QString& name, const QString& hint, int rowHeight) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setToolTip(hint);
    list->setUniformItemSizes(true);
    list->setFrameShape(QFrame::NoFrame);
    list->setStyleSheet(QStringLiteral("QListWidget { background: rgb(223, 247, 253); }"
                                       "QListWidget::item { height: %1px; }")
                            .arg(rowHeight));
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    return list;
}

} // namespace

void MainWindow::BuildLayout() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(BuildTopBand());

    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    body->addWidget(BuildLeftColumn());
    QWidget* separator = Filled(LineGrey);
    separator->setFixedWidth(1);
    body->addWidget(separator);

    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->setSpacing(0);
    pictureColumn->addWidget(BuildEditingBar());

    pictureArea = new QScrollArea(this);
    pictureArea->setObjectName(QStringLiteral("pictureArea"));
    pictureArea->setFrameShape(QFrame::NoFrame);
    pictureArea->setWidgetResizable(false);
    pictureArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = pictureArea->palette();
    palette.setColor(QPalette::Window, ViewBackground);
    pictureArea->setPalette(palette);
    pictureArea->setBackgroundRole(QPalette::Window);
    imageView = new ImageView(Workspace().ViewBitmap);
    imageView->setObjectName(QStringLiteral("imageView"));
    pictureArea->setWidget(imageView);
    pictureColumn->addWidget(pictureArea, 1);

    body->addLayout(pictureColumn, 1);
    root->addLayout(body, 1);
}

QWidget* MainWindow::BuildTopBand() {
    topBand = Filled(BandGrey, this);
    topBand->setObjectName(QStringLiteral("topBand"));
    topBand->setFixedHeight(53);

    Picture(Artwork::TopBandStrip(), topBand, QStringLiteral("topBandStrip"))->move(0, 0);
    const QImage stripColours = Artwork::TopBandStrip().toImage();
    QImage gradient(1, 52, QImage::Format_RGB32);
    for (int y = 0; y < 52; ++y)
        gradient.setPixel(0, y, stripColours.pixel(0, y));
    topBandGradient = new GradientStrip(gradient, BandGrey, topBand);
    topBandGradient->setObjectName(QStringLiteral("topBandGradient"));

    static const TopButtonDesign Buttons[] = {
        {"openButton", "Otevřít", Symbol::Folder, 56,
         "Otevřít vytvořený projekt / Import nového obrázku"},
        {"saveButton", "Uložit", Symbol::Disk, 56, "Uložit masku projektu"},
        {"importButton", "Import", Symbol::ImportPhoto, 56, ""},
        {"editModeButton", "Editace", Symbol::MaskBrush, 56, "Mód editace masky"},
        {"overviewButton", "Projekt", Symbol::Clipboard, 57,
         "Celkový souhrn vybraných odstínů pro projekt"},
        {"helpButton", "Nápověda", Symbol::Help, 56, ""},
    };
    int x = 25;
    for (const TopButtonDesign& design : Buttons) {
        const QString word = QString::fromUtf8(design.word);
        const QString name = QString::fromUtf8(design.name);
        // Open, save and the mask switch carry a fixed face as well.
        const bool hasFixed = name == QLatin1String("openButton") ||
                              name == QLatin1String("saveButton") ||
                              name == QLatin1String("editModeButton");
        TGlintImage* button = MakeGlintImage(
            topBand, name, Artwork::TopButton(word, design.symbol, Face::Normal, design.width),
            Artwork::TopButton(word, design.symbol, Face::Over, design.width),
            QString::fromUtf8(design.hint),
            hasFixed ? Artwork::TopButton(word, design.symbol, Face::Fixed, design.width)
                     : QPixmap());
        button->move(x, 0);
        x += design.width;
    }
    topBandGradient->setGeometry(x, 0, width() - x, 52);
    QLabel* logo = Picture(Artwork::Logo(), topBand, QStringLiteral("logo"));
    logo->move(400, 0);
    // The comparison with the photograph came later than the band's design: it stands
    // after the logo, so that the buttons and the logo keep their places.
    const QString compareWord = QStringLiteral("Porovnat");
    MakeGlintImage(topBand, QStringLiteral("compareButton"),
                   Artwork::TopButton(compareWord, Symbol::BeforeAfter, Face::Normal, 56),
                   Artwork::TopButton(compareWord, Symbol::BeforeAfter, Face::Over, 56),
                   QStringLiteral("Porovnat s původní fotografií"),
                   Artwork::TopButton(compareWord, Symbol::BeforeAfter, Face::Fixed, 56))
        ->move(logo->x() + logo->width(), 0);
    QWidget* line = Filled(LineGrey, topBand);
    line->setObjectName(QStringLiteral("topBandLine"));
    line->setGeometry(0, 52, 4000, 1);
    return topBand;
}

QWidget* MainWindow::BuildLeftColumn() {
    QWidget* column = Filled(LeftOrange, this);
    column->setObjectName(QStringLiteral("leftColumn"));
    column->setFixedWidth(129);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    layout->addWidget(Picture(Artwork::TitlePicture(QStringLiteral("VRSTVY"), QSize(129, 24)),
                              column, QStringLiteral("layersCaption")));
    layerList =
        List(column, QStringLiteral("layerList"), QStringLiteral("Seznam vrstev masky"), 27);
    layerList->setFixedHeight(240);
    layout->addWidget(layerList);

    auto* layerButtons = new GradientStrip(
        Artwork::GradientPicture(Artwork::Gradient::LayerPanel, 87), LeftOrange, column);
    layerButtons->setObjectName(QStringLiteral("layerButtons"));
    layerButtons->setFixedHeight(86);
    static const PanelButtonDesign LayerButtons[] = {
        {"showAllLayersButton", "Vybrat vše", "Vybrat všechny vrstvy"},
        {"showNoLayersButton", "Zrušit vše", "Zrušit výběr vrstev"},
        {"newLayerButton", "Nová vrstva", "Vytvořit novou vrstvu masky"},
        {"removeLayerButton", "Smazat vrstvu", "Smazat vrstvu"},
    };
    for (int i = 0; i < 4; ++i)
        PanelButton(layerButtons, LayerButtons[i])->move(7, 3 + 21 * i);
    layout->addWidget(layerButtons);

    layout->addWidget(Picture(Artwork::TitlePicture(QStringLiteral("SCHÉMATA"), QSize(129, 24)),
                              column, QStringLiteral("schemesCaption")));
    schemeList =
        List(column, QStringLiteral("schemeList"), QStringLiteral("Seznam barevných schémat"), 17);
    layout->addWidget(schemeList, 1);

    auto* schemeButtons = new GradientStrip(
        Artwork::GradientPicture(Artwork::Gradient::SchemePanel, 68), LeftOrange, column);
    schemeButtons->setObjectName(QStringLiteral("schemeButtons"));
    schemeButtons->setFixedHeight(67);
    static const PanelButtonDesign SchemeButtons[] = {
        {"saveNewSchemeButton", "Uložit schéma", "Uložit nové barevné schéma"},
        {"overwriteSchemeButton", "Přepsat schéma", "Přepsat existující barevné schéma"},
        {"deleteSchemeButton", "Smazat schéma", "Smazat barevné schéma"},
    };
    for (int i = 0; i < 3; ++i)
        PanelButton(schemeButtons, SchemeButtons[i])->move(7, 5 + 21 * i);
    layout->addWidget(schemeButtons);

    layerMenu = new QMenu(this);
    layerMenu->setObjectName(QStringLiteral("layerMenu"));
    layerMenu->addAction(QStringLiteral("Povolit/podřídit vrstvu"));
    layerMenu->addAction(QStringLiteral("Nastavit originální barvu"));
    layerMenu->addAction(QStringLiteral("Vyčistit vrstvu"));
    layerMenu->addSeparator();
    layerMenu->addAction(QStringLiteral("Vlastnosti"));
    layerMenu->addSeparator();
    layerScaleMenu = layerMenu->addMenu(QStringLiteral("Měřítko vrstvy"));
    layerScaleMenu->setObjectName(QStringLiteral("layerScaleMenu"));
    schemeMenu = new QMenu(this);
    schemeMenu->setObjectName(QStringLiteral("schemeMenu"));
    schemeMenu->addAction(QStringLiteral("Přejmenovat"));
    return column;
}

QWidget* MainWindow::BuildEditingBar() {
    editingBar = Filled(BarBlue, this);
    editingBar->setObjectName(QStringLiteral("editingBar"));
    editingBar->setFixedHeight(61);
    editingBarGradient = new GradientStrip(
        Artwork::GradientPicture(Artwork::Gradient::EditingBar, 24), BarBlue, editingBar);
    editingBarGradient->setObjectName(QStringLiteral("editingBarGradient"));
    editingBarGradient->setGeometry(0, 0, 4000, 24);
    Picture(Artwork::TitlePicture(QStringLiteral("EDITACE"), QSize(120, 24), true), editingBar,
            QStringLiteral("editingCaption"))
        ->move(40, 0);

    static const ToolButtonDesign Tools[] = {
        {"undoButton", 8, Symbol::Undo, "Krok zpět"},
        {"redoButton", 38, Symbol::Redo, "Zpět krok zpět"},
        {"zoomInButton", 78, Symbol::ZoomIn, "Zvětšení"},
        {"zoomOutButton", 107, Symbol::ZoomOut, "Zmenšení"},
        {"pencilButton", 144, Symbol::Pencil, "Tužka"},
        {"linesButton", 173, Symbol::Lines, "Čáry"},
        {"toleranceFillButton", 202, Symbol::FillTolerance, "Vyplnit oblast s tolerancí"},
        {"fullFillButton", 231, Symbol::FillFull, "Plné vyplnění oblasti"},
        {"pickLayerButton", 268, Symbol::PickLayer, "Seznam odstínů"},
        // Tools that came after the bar's design stand right of the tool setting, so
        // that the design's buttons and setting keep their places.
        {"smartSelectButton", 560, Symbol::SmartSelect,
         "Chytrý výběr: tahem označte, co k vrstvě patří, pravým tlačítkem, co nepatří"},
        // Measuring is no editing of the mask: apart, right of smart selection's
        // "Použít".
        {"scaleButton", 684, Symbol::Scale,
         "Měřítko: rohy obdélníku známé velikosti (po dvou bodech pravým tlačítkem délka)"},
    };
    for (const ToolButtonDesign& design : Tools) {
        MakeGlintImage(editingBar, QString::fromUtf8(design.name),
                       Artwork::ToolButton(design.symbol, Face::Normal),
                       Artwork::ToolButton(design.symbol, Face::Over),
                       QString::fromUtf8(design.hint),
                       Artwork::ToolButton(design.symbol, Face::Fixed))
            ->move(design.x, 28);
    }

    toolSettingLabel = new QLabel(editingBar);
    toolSettingLabel->setObjectName(QStringLiteral("toolSettingLabel"));
    // Its text ends before the slider, whatever the tool's caption.
    toolSettingLabel->setGeometry(303, 32, 51, 21);
    QFont settingFont = toolSettingLabel->font();
    settingFont.setPixelSize(11);
    toolSettingLabel->setFont(settingFont);
    toolSettingLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    toolSettingSlider = new QSlider(Qt::Horizontal, editingBar);
    toolSettingSlider->setObjectName(QStringLiteral("toolSettingSlider"));
    toolSettingSlider->setGeometry(356, 29, 146, 22);
    toolSettingSlider->setRange(1, 20);
    toolSettingSlider->setTickInterval(1);
    toolSettingSlider->setTickPosition(QSlider::TicksBelow);
    toolSettingValue = new QLineEdit(editingBar);
    toolSettingValue->setObjectName(QStringLiteral("toolSettingValue"));
    toolSettingValue->setReadOnly(true);
    toolSettingValue->setGeometry(504, 32, 49, 21);
    toolSettingLabel->hide();
    toolSettingSlider->hide();
    toolSettingValue->hide();
    // Writes smart selection's proposal into the layer (as Enter does); shown while
    // there is a proposal.
    applySmartButton = new QPushButton(QStringLiteral("Použít"), editingBar);
    applySmartButton->setObjectName(QStringLiteral("applySmartButton"));
    applySmartButton->setToolTip(
        QStringLiteral("Zapsat navržený výběr do vrstvy (Enter); Esc výběr zahodí"));
    applySmartButton->setGeometry(594, 30, 64, 24);
    applySmartButton->setFocusPolicy(Qt::NoFocus);
    applySmartButton->hide();

    QWidget* line = Filled(LineGrey, editingBar);
    line->setGeometry(0, 60, 4000, 1);
    return editingBar;
}

void MainWindow::ConnectControls() {
    const std::pair<const char*, void (MainWindow::*)()> handlers[] = {
        {"openButton", &MainWindow::onOpenClicked},     {"saveButton", &MainWindow::onSaveClicked},
        {"importButton", &MainWindow::onImportClicked}, {"undoButton", &MainWindow::onUndoClicked},
        {"redoButton", &MainWindow::onRedoClicked},
    };
    for (const auto& [name, handler] : handlers)
        connect(Button(QString::fromUtf8(name)), &TGlintImage::Click, this, handler);
    connect(Button(QStringLiteral("editModeButton")), &TGlintImage::Click, this,
            &MainWindow::onEditModeClicked);
    connect(Button(QStringLiteral("helpButton")), &TGlintImage::Click, this,
            &MainWindow::onHelpClicked);
    const std::pair<const char*, int> tools[] = {{"pencilButton", PencilTool},
                                                 {"linesButton", LineTool},
                                                 {"toleranceFillButton", ToleranceFillTool},
                                                 {"fullFillButton", FullFillTool},
                                                 {"smartSelectButton", SmartSelectTool},
                                                 {"pickLayerButton", PickLayerTool},
                                                 {"scaleButton", ScaleTool}};
    for (const auto& [name, tool] : tools) {
        connect(Button(QString::fromUtf8(name)), &TGlintImage::Click, this,
                [this, tool = tool] { ChooseTool(tool); });
    }
    connect(toolSettingSlider, &QSlider::valueChanged, this, &MainWindow::onToolSettingChanged);
    connect(applySmartButton, &QPushButton::clicked, this, &MainWindow::onApplySmartClicked);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (topBandGradient)
        topBandGradient->setGeometry(topBandGradient->x(), 0,
                                     std::max(0, width() - topBandGradient->x()), 52);
}
