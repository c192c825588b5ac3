#include "overview/ComparisonWindow.h"

#include "catalogue/CatalogueDatabase.h"
#include "layers/Schemes.h"
#include "overview/ComparisonPane.h"
#include "overview/Proposal.h"
#include "overview/SchemePanes.h"
#include "project/Errors.h"
#include "widgets/Artwork.h"
#include "widgets/GlintImage.h"
#include "widgets/GradientStrip.h"
#include "workspace/Workspace.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>

namespace {

const QColor StripFallback(235, 235, 235);
const QColor Background(223, 247, 253);
constexpr int HeaderHeight = 52;
constexpr int ChecksHeight = 30;
constexpr int FooterHeight = 50;
constexpr int Margin = 10;

TGlintImage* Button(QWidget* parent, const QString& name, const QString& word,
                    const QString& hint) {
    using Artwork::Face;
    return MakeGlintImage(parent, name, Artwork::PanelButton(word, Face::Normal),
                          Artwork::PanelButton(word, Face::Over), hint);
}

// The rows of a scheme's shades: its layers that carry a paint, with the catalogue's
// names when it can be asked.
QList<ProposalRow> ShadeRows(const LayerList& layers, CatalogueDatabase* catalogue) {
    QList<OrderLine> lines;
    try {
        lines = Order::Lines(layers, catalogue);
    } catch (const DatabaseError&) {
        lines = Order::Lines(layers, nullptr); // the names are missing, the colours not
    }
    QList<ProposalRow> rows;
    for (const OrderLine& line : lines) {
        const ProposalRow row = Proposals::RowOf(line);
        if (row.swatch.isValid() || !row.fanDeck.isEmpty())
            rows << row;
    }
    return rows;
}

} // namespace

ComparisonWindow::ComparisonWindow(Workspace& workspace, Prompts& prompts,
                                   CatalogueDatabase* catalogue, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowStaysOnTopHint),
      workspace_(workspace), prompts_(prompts), catalogue_(catalogue) {
    setObjectName(QStringLiteral("ComparisonWindow"));
    setWindowTitle(QStringLiteral("Porovnání schémat"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Background);
    setPalette(palette);

    header_ = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::TopBand, 52),
                                StripFallback, this);
    title_ = AddBandTitle(header_, QStringLiteral("Porovnání barevných schémat projektu"));

    checksRow_ = new QWidget(this);
    checksRow_->setObjectName(QStringLiteral("schemeChecks"));
    hint_ = new QLabel(QStringLiteral("Tažením obrázek posunete, kolečkem myši zvětšíte."), this);
    hint_->setStyleSheet(QStringLiteral("QLabel { color: rgb(70, 70, 70); }"));
    hint_->adjustSize();

    footer_ = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::TopBand, 50),
                                StripFallback, this);
    proposalButton = Button(this, QStringLiteral("proposalButton"), QStringLiteral("Návrh barev"),
                            QStringLiteral("Uložit návrh barev pro zákazníka (PDF)"));
    zoomInButton = Button(this, QStringLiteral("zoomInButton"), QStringLiteral("Zvětšit"),
                          QStringLiteral("Zvětšení"));
    zoomOutButton = Button(this, QStringLiteral("zoomOutButton"), QStringLiteral("Zmenšit"),
                           QStringLiteral("Zmenšení"));
    fitButton = Button(this, QStringLiteral("fitButton"), QStringLiteral("Celý obrázek"),
                       QStringLiteral("Zobrazit celý obrázek"));
    closeButton = Button(this, QStringLiteral("closeButton"), QStringLiteral("Zavřít"),
                         QStringLiteral("Zavřít porovnání"));
    connect(proposalButton, &TGlintImage::Click, this, &ComparisonWindow::onProposalClicked);
    // The buttons zoom about the middle of the panes.
    connect(zoomInButton, &TGlintImage::Click, this,
            [this] { ZoomAt(QRect(QPoint(), PaneSize()).center(), true); });
    connect(zoomOutButton, &TGlintImage::Click, this,
            [this] { ZoomAt(QRect(QPoint(), PaneSize()).center(), false); });
    connect(fitButton, &TGlintImage::Click, this, &ComparisonWindow::Fit);
    connect(closeButton, &TGlintImage::Click, this, &QDialog::close);

    for (int i = 0; i < Panes::MaxSchemes; ++i) {
        auto* pane = new ComparisonPane(workspace_.Doc, this);
        pane->setObjectName(QStringLiteral("pane%1").arg(i));
        connect(pane, &ComparisonPane::Dragged, this, &ComparisonWindow::ScrollBy);
        connect(pane, &ComparisonPane::Wheeled, this, &ComparisonWindow::ZoomAt);
        connect(pane, &ComparisonPane::ApplyClicked, this, [this, i] { onApplyClicked(i); });
        pane->hide();
        panes_ << pane;
    }
    setMinimumSize(720, 480);
    resize(1100, 780);
}

void ComparisonWindow::Open(int row) {
    qDeleteAll(schemeChecks);
    schemeChecks.clear();
    delete checksRow_->layout();
    auto* layout = new QHBoxLayout(checksRow_);
    layout->setContentsMargins(Margin, 0, Margin, 0);
    layout->addWidget(new QLabel(QStringLiteral("Schémata:"), checksRow_));
    const SchemeList& schemes = workspace_.Doc.Schemes;
    const int first = row >= 0 && row < schemes.size() ? row : 0;
    for (int i = 0; i < schemes.size(); ++i) {
        auto* check = new QCheckBox(schemes[i].Name, checksRow_);
        check->setObjectName(QStringLiteral("schemeCheck%1").arg(i));
        // The chosen scheme and those after it, round to the first, up to four.
        const int distance = (i - first + int(schemes.size())) % int(schemes.size());
        check->setChecked(distance < Panes::MaxSchemes);
        connect(check, &QCheckBox::toggled, this, &ComparisonWindow::onSchemeTicked);
        layout->addWidget(check);
        schemeChecks << check;
    }
    layout->addStretch(1);
    fitted_ = true;
    FillPanes();
}

QList<int> ComparisonWindow::TickedSchemes() const {
    QList<int> ticked;
    for (int i = 0; i < schemeChecks.size(); ++i) {
        if (schemeChecks[i]->isChecked())
            ticked << i;
    }
    return ticked;
}

void ComparisonWindow::onSchemeTicked() {
    // Four at most, two at least: the boxes that would pass a limit wait.
    const int ticked = int(TickedSchemes().size());
    for (QCheckBox* check : schemeChecks) {
        check->setEnabled(check->isChecked() ? ticked > Panes::MinSchemes
                                             : ticked < Panes::MaxSchemes);
    }
    FillPanes();
}

void ComparisonWindow::FillPanes() {
    const QList<int> ticked = TickedSchemes();
    for (int i = 0; i < panes_.size(); ++i) {
        if (i >= ticked.size()) {
            panes_[i]->hide();
            continue;
        }
        const SchemeRecord& scheme = workspace_.Doc.Schemes[ticked[i]];
        const LayerList layers = LayersWithScheme(workspace_.Doc.Layers, scheme);
        panes_[i]->Show(scheme.Name, layers, ShadeRows(layers, catalogue_));
        panes_[i]->show();
    }
    for (QCheckBox* check : schemeChecks) {
        check->setEnabled(check->isChecked() ? ticked.size() > Panes::MinSchemes
                                             : ticked.size() < Panes::MaxSchemes);
    }
    Arrange();
}

QSize ComparisonWindow::PaneSize() const {
    for (const ComparisonPane* pane : panes_) {
        if (!pane->isHidden())
            return pane->PictureSize();
    }
    return QSize();
}

float ComparisonWindow::FitZoom() const {
    return Panes::FitZoom(workspace_.Doc.PhotoBitmap.size(), PaneSize());
}

void ComparisonWindow::ZoomAt(QPoint anchor, bool in) {
    const float fit = FitZoom();
    const float zoom = in ? Panes::ZoomedIn(zoom_, fit) : Panes::ZoomedOut(zoom_, fit);
    if (zoom == zoom_)
        return;
    const QPoint scroll = Panes::ScrollAfterZoom(scroll_, anchor, zoom_, zoom);
    zoom_ = zoom;
    fitted_ = zoom == fit;
    ShowView(scroll);
}

void ComparisonWindow::ScrollBy(QPoint delta) {
    ShowView(scroll_ + delta);
}

void ComparisonWindow::Fit() {
    zoom_ = FitZoom();
    fitted_ = true;
    ShowView(QPoint());
}

void ComparisonWindow::ShowView(QPoint scroll) {
    const QSize pane = PaneSize();
    const QSize content = Panes::ContentSize(workspace_.Doc.PhotoBitmap.size(), zoom_);
    const auto keep = [](int position, int content, int pane) {
        if (content <= pane)
            return -(pane - content) / 2;
        return std::clamp(position, 0, content - pane);
    };
    scroll_ = QPoint(keep(scroll.x(), content.width(), pane.width()),
                     keep(scroll.y(), content.height(), pane.height()));
    for (ComparisonPane* pane : panes_)
        pane->SetView(zoom_, scroll_);
}

void ComparisonWindow::onApplyClicked(int pane) {
    const QList<int> ticked = TickedSchemes();
    if (pane < 0 || pane >= ticked.size() || !ApplyScheme)
        return;
    // Applied, the scheme is the project's colouring: the comparison has done its work.
    if (ApplyScheme(ticked[pane]))
        accept();
}

void ComparisonWindow::onProposalClicked() {
    SaveProposal(workspace_.Doc, TickedSchemes(), prompts_, catalogue_);
}

void ComparisonWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Arrange();
}

void ComparisonWindow::Arrange() {
    const int w = width();
    const int h = height();
    header_->setGeometry(0, 0, w, HeaderHeight);
    checksRow_->setGeometry(0, HeaderHeight, w, ChecksHeight);
    hint_->move(std::max(Margin, w - hint_->width() - Margin),
                HeaderHeight + (ChecksHeight - hint_->height()) / 2);
    hint_->raise();
    footer_->setGeometry(0, h - FooterHeight, w, FooterHeight);
    const int buttonsY = h - 35;
    proposalButton->move(Margin, buttonsY);
    zoomInButton->move(Margin + 140, buttonsY);
    zoomOutButton->move(Margin + 140 + 122, buttonsY);
    fitButton->move(Margin + 140 + 244, buttonsY);
    closeButton->move(w - 123, buttonsY);

    // Two or three panes side by side; four in two rows of two.
    const int count = int(TickedSchemes().size());
    const int across = count == 4 ? 2 : std::max(1, count);
    const int down = count == 4 ? 2 : 1;
    const QRect area(Margin, HeaderHeight + ChecksHeight, w - 2 * Margin,
                     h - HeaderHeight - ChecksHeight - FooterHeight - Margin);
    const int paneWidth = (area.width() - (across - 1) * Margin) / across;
    const int paneHeight = (area.height() - (down - 1) * Margin) / down;
    for (int i = 0; i < count && i < panes_.size(); ++i) {
        panes_[i]->setGeometry(area.left() + (i % across) * (paneWidth + Margin),
                               area.top() + (i / across) * (paneHeight + Margin), paneWidth,
                               paneHeight);
    }
    // The panes' size changed: a fitted picture is fitted again, a zoomed one kept.
    const float fit = FitZoom();
    if (fitted_ || zoom_ < fit)
        zoom_ = fit;
    fitted_ = zoom_ == fit;
    ShowView(scroll_);
}
