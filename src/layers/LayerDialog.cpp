#include "layers/LayerDialog.h"

#include "layers/LayerOperations.h"
#include "widgets/Artwork.h"
#include "widgets/DialogButtons.h"
#include "widgets/GlintImage.h"
#include "widgets/GradientStrip.h"
#include "widgets/WindowPlacement.h"
#include "workspace/Prompts.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

QLabel* ColourPanel(QWidget* parent, const QString& name, QPoint at) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setGeometry(QRect(at, QSize(57, 29)));
    panel->setCursor(Qt::PointingHandCursor);
    panel->setAutoFillBackground(true);
    return panel;
}

void Paint(QLabel* panel, Colour colour) {
    panel->setStyleSheet(
        QStringLiteral("QLabel { background: rgb(%1, %2, %3); border: 1px solid rgb(90, 90, 90); }")
            .arg(RedOf(colour))
            .arg(GreenOf(colour))
            .arg(BlueOf(colour)));
}

// Clicks on a colour panel open the colour dialog.
class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> action)
        : QObject(parent), action_(std::move(action)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease)
            action_();
        return false;
    }

private:
    std::function<void()> action_;
};

} // namespace

TeLayer::TeLayer(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("eLayer"));
    setWindowTitle(QStringLiteral("Vlastnosti vrstvy"));
    setFixedSize(255, 175);
    auto* background = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::Dialog, 175),
                                         QColor(255, 208, 160), this);
    background->setObjectName(QStringLiteral("PaintBox1"));
    background->setGeometry(rect());

    auto* label1 = new QLabel(QStringLiteral("Název vrstvy:"), this);
    label1->move(16, 17);
    lName = new QLineEdit(this);
    lName->setObjectName(QStringLiteral("lName"));
    lName->setGeometry(88, 13, 153, 21);
    lName->setMaxLength(32);
    auto* label2 = new QLabel(QStringLiteral("Skutečná barva stěny:"), this);
    label2->move(64, 54);
    realColor = ColourPanel(this, QStringLiteral("realColor"), QPoint(184, 46));
    auto* label3 = new QLabel(QStringLiteral("Barva masky:"), this);
    label3->move(108, 88);
    maskColor = ColourPanel(this, QStringLiteral("maskColor"), QPoint(184, 80));
    for (QLabel* label : {label1, label2, label3}) {
        QFont small = label->font();
        small.setPixelSize(11);
        label->setFont(small);
        label->adjustSize();
    }
    // Each caption ends just before its field, so that its colon stays visible.
    label1->move(84 - label1->width(), 17);
    label2->move(180 - label2->width(), 54);
    label3->move(180 - label3->width(), 88);

    const DialogButtons buttons = MakeDialogButtons(this, QPoint(80, 125));
    GlintImage1 = buttons.confirm;
    GlintImage2 = buttons.cancel;
    connect(GlintImage1, &TGlintImage::Click, this, &TeLayer::GlintImage1Click);
    connect(GlintImage2, &TGlintImage::Click, this, &TeLayer::GlintImage2Click);
    connect(lName, &QLineEdit::returnPressed, this, &TeLayer::GlintImage1Click);
    SetRealColour(Rgb(208, 208, 208));
    SetMaskColour(Rgb(255, 255, 255));
}

void TeLayer::Attach(LayerEditor& editor, Prompts& prompts, const QWidget* area) {
    editor_ = &editor;
    placementArea_ = area;
    prompts_ = &prompts;
    editor.ShowDialog = [this](const LayerRecord& layer) {
        lName->setText(layer.Name);
        SetRealColour(layer.RealColour);
        SetMaskColour(layer.MaskColour);
        ShowBeside(this, placementArea_);
    };
    editor.RaiseDialog = [this] { ShowBeside(this, placementArea_); };
    editor.CloseDialog = [this] { hide(); };
    editor.ShowSampledColour = [this](Colour real) { SetRealColour(real); };
    realColor->installEventFilter(new ClickFilter(realColor, [this] {
        const Colour chosen = prompts_->ChooseColour(real_);
        if (chosen != NoColour)
            SetRealColour(chosen);
    }));
    maskColor->installEventFilter(new ClickFilter(maskColor, [this] {
        const Colour chosen = prompts_->ChooseColour(mask_);
        if (chosen != NoColour)
            SetMaskColour(chosen);
    }));
}

void TeLayer::SetRealColour(Colour colour) {
    real_ = colour;
    Paint(realColor, colour);
}

void TeLayer::SetMaskColour(Colour colour) {
    mask_ = colour;
    Paint(maskColor, colour);
}

void TeLayer::GlintImage1Click() {
    if (editor_)
        editor_->Confirm(lName->text(), real_, mask_);
}

void TeLayer::GlintImage2Click() {
    if (editor_)
        editor_->Cancel();
}

void TeLayer::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (editor_ && editor_->RealColourPickMode)
        editor_->Cancel();
}
