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

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = ScrollBox1->palette();
    palette.setColor(QPalette::Window, ViewBackground);
    ScrollBox1->setPalette(palette);
    ScrollBox1->setBackgroundRole(QPalette::Window);
    image = new ImageView(Workspace().ViewBitmap);
    image->setObjectName(QStringLiteral("image"));
    ScrollBox1->setWidget(image);
    pictureColumn->addWidget(ScrollBox1, 1);

    body->addLayout(pictureColumn, 1);
    root->addLayout(body, 1);
}

QWidget* MainWindow::BuildTopBand() {
    Panel6 = Filled(BandGrey, this);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setFixedHeight(53);

    Picture(Artwork::TopBandStrip(), Panel6, QStringLiteral("Image4"))->move(0, 0);
    const QImage stripColours = Artwork::TopBandStrip().toImage();
    QImage gradient(1, 52, QImage::Format_RGB32);
    for (int y = 0; y < 52; ++y)
        gradient.setPixel(0, y, stripColours.pixel(0, y));
    PaintBox1 = new GradientStrip(gradient, BandGrey, Panel6);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));

    static const TopButtonDesign Buttons[] = {
        {"GlintImage1", "Otevřít", Symbol::Folder, 56,
         "Otevřít vytvořený projekt / Import nového obrázku"},
        {"GlintImage2", "Uložit", Symbol::Disk, 56, "Uložit masku projektu"},
        {"GlintImage11", "Import", Symbol::ImportPhoto, 56, ""},
        {"GlintImage13", "Editace", Symbol::MaskBrush, 56, "Mód editace masky"},
        {"GlintImage20", "Projekt", Symbol::Clipboard, 57,
         "Celkový souhrn vybraných odstínů pro projekt"},
        {"GlintImage18", "Nápověda", Symbol::Help, 56, ""},
    };
    int x = 25;
    for (const TopButtonDesign& design : Buttons) {
        const QString word = QString::fromUtf8(design.word);
        const QString name = QString::fromUtf8(design.name);
        // Open, save and the mask switch carry a fixed face as well.
        const bool hasFixed = name == QLatin1String("GlintImage1") ||
                              name == QLatin1String("GlintImage2") ||
                              name == QLatin1String("GlintImage13");
        TGlintImage* button = MakeGlintImage(
            Panel6, name, Artwork::TopButton(word, design.symbol, Face::Normal, design.width),
            Artwork::TopButton(word, design.symbol, Face::Over, design.width),
            QString::fromUtf8(design.hint),
            hasFixed ? Artwork::TopButton(word, design.symbol, Face::Fixed, design.width)
                     : QPixmap());
        button->move(x, 0);
        x += design.width;
    }
    PaintBox1->setGeometry(x, 0, width() - x, 52);
    Picture(Artwork::Logo(), Panel6, QStringLiteral("Image1"))->move(400, 0);
    QWidget* line = Filled(LineGrey, Panel6);
    line->setObjectName(QStringLiteral("TopBandLine"));
    line->setGeometry(0, 52, 4000, 1);
    return Panel6;
}

QWidget* MainWindow::BuildLeftColumn() {
    QWidget* column = Filled(LeftOrange, this);
    column->setObjectName(QStringLiteral("Panel1"));
    column->setFixedWidth(129);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    layout->addWidget(Picture(Artwork::TitlePicture(QStringLiteral("VRSTVY"), QSize(129, 24)),
                              column, QStringLiteral("Image2")));
    ListBox2 = List(column, QStringLiteral("ListBox2"), QStringLiteral("Seznam vrstev masky"), 27);
    ListBox2->setFixedHeight(240);
    layout->addWidget(ListBox2);

    auto* panel7 = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::LayerPanel, 87),
                                     LeftOrange, column);
    panel7->setObjectName(QStringLiteral("Panel7"));
    panel7->setFixedHeight(86);
    static const PanelButtonDesign LayerButtons[] = {
        {"GlintImage14", "Vybrat vše", "Vybrat všechny vrstvy"},
        {"GlintImage15", "Zrušit vše", "Zrušit výběr vrstev"},
        {"GlintImage16", "Nová vrstva", "Vytvořit novou vrstvu masky"},
        {"GlintImage17", "Smazat vrstvu", "Smazat vrstvu"},
    };
    for (int i = 0; i < 4; ++i)
        PanelButton(panel7, LayerButtons[i])->move(7, 3 + 21 * i);
    layout->addWidget(panel7);

    layout->addWidget(Picture(Artwork::TitlePicture(QStringLiteral("SCHÉMATA"), QSize(129, 24)),
                              column, QStringLiteral("Image3")));
    scheme = List(column, QStringLiteral("scheme"), QStringLiteral("Seznam barevných schémat"), 17);
    layout->addWidget(scheme, 1);

    auto* panel4 = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::SchemePanel, 68),
                                     LeftOrange, column);
    panel4->setObjectName(QStringLiteral("Panel4"));
    panel4->setFixedHeight(67);
    static const PanelButtonDesign SchemeButtons[] = {
        {"saveNewScheme", "Uložit schéma", "Uložit nové barevné schéma"},
        {"overwriteScheme", "Přepsat schéma", "Přepsat existující barevné schéma"},
        {"GlintImage19", "Smazat schéma", "Smazat barevné schéma"},
    };
    for (int i = 0; i < 3; ++i)
        PanelButton(panel4, SchemeButtons[i])->move(7, 5 + 21 * i);
    layout->addWidget(panel4);

    LayerMenu = new QMenu(this);
    LayerMenu->setObjectName(QStringLiteral("PopupMenu1"));
    LayerMenu->addAction(QStringLiteral("Povolit/podřídit vrstvu"));
    LayerMenu->addAction(QStringLiteral("Nastavit originální barvu"));
    LayerMenu->addAction(QStringLiteral("Vyčistit vrstvu"));
    LayerMenu->addSeparator();
    LayerMenu->addAction(QStringLiteral("Vlastnosti"));
    SchemeMenu = new QMenu(this);
    SchemeMenu->setObjectName(QStringLiteral("PopupMenu2"));
    SchemeMenu->addAction(QStringLiteral("Přejmenovat"));
    return column;
}

QWidget* MainWindow::BuildEditingBar() {
    Panel5 = Filled(BarBlue, this);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFixedHeight(61);
    PaintBox3 = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::EditingBar, 24),
                                  BarBlue, Panel5);
    PaintBox3->setObjectName(QStringLiteral("PaintBox3"));
    PaintBox3->setGeometry(0, 0, 4000, 24);
    Picture(Artwork::TitlePicture(QStringLiteral("EDITACE"), QSize(120, 24), true), Panel5,
            QStringLiteral("Image7"))
        ->move(40, 0);

    static const ToolButtonDesign Tools[] = {
        {"GlintImage3", 8, Symbol::Undo, "Krok zpět"},
        {"GlintImage12", 38, Symbol::Redo, "Zpět krok zpět"},
        {"GlintImage9", 78, Symbol::ZoomIn, "Zvětšení"},
        {"GlintImage10", 107, Symbol::ZoomOut, "Zmenšení"},
        {"GlintImage4", 144, Symbol::Pencil, "Tužka"},
        {"GlintImage7", 173, Symbol::Lines, "Čáry"},
        {"GlintImage5", 202, Symbol::FillTolerance, "Vyplnit oblast s tolerancí"},
        {"GlintImage6", 231, Symbol::FillFull, "Plné vyplnění oblasti"},
        {"GlintImage8", 268, Symbol::PickLayer, "Seznam odstínů"},
    };
    for (const ToolButtonDesign& design : Tools) {
        MakeGlintImage(Panel5, QString::fromUtf8(design.name),
                       Artwork::ToolButton(design.symbol, Face::Normal),
                       Artwork::ToolButton(design.symbol, Face::Over),
                       QString::fromUtf8(design.hint),
                       Artwork::ToolButton(design.symbol, Face::Fixed))
            ->move(design.x, 28);
    }

    trackBarKind = new QLabel(Panel5);
    trackBarKind->setObjectName(QStringLiteral("trackBarKind"));
    // Its text ends before the slider, whatever the tool's caption.
    trackBarKind->setGeometry(298, 32, 54, 21);
    trackBarKind->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    trackBar = new QSlider(Qt::Horizontal, Panel5);
    trackBar->setObjectName(QStringLiteral("trackBar"));
    trackBar->setGeometry(356, 29, 150, 22);
    trackBar->setRange(1, 20);
    trackBar->setTickInterval(1);
    trackBar->setTickPosition(QSlider::TicksBelow);
    toolOption = new QLineEdit(Panel5);
    toolOption->setObjectName(QStringLiteral("toolOption"));
    toolOption->setReadOnly(true);
    toolOption->setGeometry(504, 32, 49, 21);
    trackBarKind->hide();
    trackBar->hide();
    toolOption->hide();

    QWidget* line = Filled(LineGrey, Panel5);
    line->setGeometry(0, 60, 4000, 1);
    return Panel5;
}

void MainWindow::ConnectControls() {
    const std::pair<const char*, void (MainWindow::*)()> handlers[] = {
        {"GlintImage1", &MainWindow::GlintImage1Click},
        {"GlintImage2", &MainWindow::GlintImage2Click},
        {"GlintImage11", &MainWindow::GlintImage11Click},
        {"GlintImage3", &MainWindow::undoClick},
        {"GlintImage12", &MainWindow::redoClick},
    };
    for (const auto& [name, handler] : handlers)
        connect(Button(QString::fromUtf8(name)), &TGlintImage::Click, this, handler);
    connect(Button(QStringLiteral("GlintImage13")), &TGlintImage::Click, this,
            &MainWindow::GlintImage13Click);
    connect(Button(QStringLiteral("GlintImage18")), &TGlintImage::Click, this,
            &MainWindow::GlintImage18Click);
    const std::pair<const char*, int> tools[] = {{"GlintImage4", PencilTool},
                                                 {"GlintImage7", LineTool},
                                                 {"GlintImage5", ToleranceFillTool},
                                                 {"GlintImage6", FullFillTool},
                                                 {"GlintImage8", PickLayerTool}};
    for (const auto& [name, tool] : tools) {
        connect(Button(QString::fromUtf8(name)), &TGlintImage::Click, this,
                [this, tool = tool] { ChooseTool(tool); });
    }
    connect(trackBar, &QSlider::valueChanged, this, &MainWindow::trackBarChange);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (PaintBox1)
        PaintBox1->setGeometry(PaintBox1->x(), 0, std::max(0, width() - PaintBox1->x()), 52);
}
