#include "overview/ComparisonPane.h"

#include "overview/SchemePanes.h"
#include "widgets/Artwork.h"
#include "widgets/GlintImage.h"

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

const QColor PaneBackground(235, 240, 245);
constexpr int NameHeight = 24;
constexpr int ShadeRowHeight = 18;
constexpr int ShadeRowsSeen = 4;

QPixmap Swatch(const QColor& colour) {
    QPixmap swatch(22, 12);
    swatch.fill(Qt::transparent);
    if (colour.isValid()) {
        QPainter painter(&swatch);
        painter.fillRect(swatch.rect(), colour);
        painter.setPen(Qt::black);
        painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    }
    return swatch;
}

} // namespace

// The picture's area: draws the visible part of the picture and turns drags and the
// wheel into the pane's signals.
class PanePicture : public QWidget {
public:
    explicit PanePicture(ComparisonPane& pane) : QWidget(&pane), pane_(pane) {
        setObjectName(QStringLiteral("picture"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(Qt::OpenHandCursor);
    }

    QImage Shown() {
        const QRect area(pane_.scroll_, size());
        if (pane_.drawn_.isNull() || area != pane_.drawnArea_ || pane_.zoom_ != pane_.drawnZoom_) {
            pane_.drawn_ =
                Panes::Picture(pane_.doc_, pane_.layers_, pane_.zoom_, area, PaneBackground);
            pane_.drawnArea_ = area;
            pane_.drawnZoom_ = pane_.zoom_;
        }
        return pane_.drawn_;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (!pane_.doc_.HasProject() || size().isEmpty()) {
            painter.fillRect(rect(), PaneBackground);
            return;
        }
        painter.drawImage(0, 0, Shown());
    }
    void mousePressEvent(QMouseEvent* event) override {
        from_ = event->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!event->buttons().testFlag(Qt::LeftButton))
            return;
        const QPoint at = event->position().toPoint();
        const QPoint delta = from_ - at;
        from_ = at;
        if (!delta.isNull())
            emit pane_.Dragged(delta);
    }
    void mouseReleaseEvent(QMouseEvent*) override { setCursor(Qt::OpenHandCursor); }
    void wheelEvent(QWheelEvent* event) override {
        const int steps = event->angleDelta().y();
        if (steps != 0)
            emit pane_.Wheeled(event->position().toPoint(), steps > 0);
        event->accept();
    }

private:
    ComparisonPane& pane_;
    QPoint from_;
};

ComparisonPane::ComparisonPane(const Document& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("comparisonPane"));
    nameLabel = new QLabel(this);
    nameLabel->setObjectName(QStringLiteral("nameLabel"));
    QFont bold = nameLabel->font();
    bold.setBold(true);
    bold.setPointSize(10);
    nameLabel->setFont(bold);
    using Artwork::Face;
    const QString word = QStringLiteral("Použít toto schéma");
    applyButton = MakeGlintImage(this, QStringLiteral("applyButton"),
                                 Artwork::PanelButton(word, Face::Normal, QSize(130, 18)),
                                 Artwork::PanelButton(word, Face::Over, QSize(130, 18)),
                                 QStringLiteral("Použít toto schéma na projekt"));
    connect(applyButton, &TGlintImage::Click, this, &ComparisonPane::ApplyClicked);
    picture = new PanePicture(*this);
    shadeList = new QListWidget(this);
    shadeList->setObjectName(QStringLiteral("shadeList"));
    shadeList->setFrameShape(QFrame::NoFrame);
    shadeList->setSelectionMode(QAbstractItemView::NoSelection);
    shadeList->setFocusPolicy(Qt::NoFocus);
    shadeList->setIconSize(QSize(22, 12));
    shadeList->setStyleSheet(QStringLiteral("QListWidget { background: rgb(235, 250, 254); }"
                                            "QListWidget::item { height: %1px; }")
                                 .arg(ShadeRowHeight));
}

void ComparisonPane::Show(const QString& name, const LayerList& layers,
                          const QList<ProposalRow>& shades) {
    name_ = name;
    nameLabel->setToolTip(name);
    Arrange();
    layers_ = layers;
    drawn_ = QImage();
    shadeList->clear();
    for (const ProposalRow& row : shades) {
        QString text = row.layer + QStringLiteral(": ") + row.shade;
        if (!row.fanDeck.isEmpty() && row.fanDeck != QStringLiteral("–"))
            text += QStringLiteral(" (") + row.fanDeck + QLatin1Char(')');
        shadeList->addItem(new QListWidgetItem(QIcon(Swatch(row.swatch)), text));
    }
    picture->update();
}

void ComparisonPane::SetView(float zoom, QPoint scroll) {
    if (zoom == zoom_ && scroll == scroll_)
        return;
    zoom_ = zoom;
    scroll_ = scroll;
    picture->update();
}

QSize ComparisonPane::PictureSize() const {
    // From the pane's own size: known before the pane is first shown and laid out.
    const int listHeight = ShadeRowsSeen * ShadeRowHeight + 4;
    return QSize(width(), std::max(0, height() - NameHeight - listHeight - 4));
}

QImage ComparisonPane::PictureShown() {
    return static_cast<PanePicture*>(picture)->Shown();
}

void ComparisonPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

void ComparisonPane::Arrange() {
    const int w = width();
    applyButton->move(std::max(0, w - applyButton->width()), (NameHeight - 18) / 2);
    nameLabel->setGeometry(2, 0, std::max(0, applyButton->x() - 8), NameHeight);
    nameLabel->setText(
        nameLabel->fontMetrics().elidedText(name_, Qt::ElideRight, nameLabel->width()));
    const QSize pictureSize = PictureSize();
    picture->setGeometry(QRect(QPoint(0, NameHeight), pictureSize));
    shadeList->setGeometry(0, NameHeight + pictureSize.height() + 4, w,
                           std::max(0, height() - NameHeight - pictureSize.height() - 4));
}
