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
#include <QKeyEvent>
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

LayerDialog::LayerDialog(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("LayerDialog"));
    setWindowTitle(QStringLiteral("Vlastnosti vrstvy"));
    setFixedSize(255, 175);
    auto* background = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::Dialog, 175),
                                         QColor(255, 208, 160), this);
    background->setObjectName(QStringLiteral("background"));
    background->setGeometry(rect());

    auto* nameCaption = new QLabel(QStringLiteral("Název vrstvy:"), this);
    nameCaption->move(16, 17);
    nameEdit = new QLineEdit(this);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    nameEdit->setGeometry(88, 13, 153, 21);
    nameEdit->setMaxLength(32);
    auto* realColourCaption = new QLabel(QStringLiteral("Skutečná barva stěny:"), this);
    realColourCaption->move(64, 54);
    realColourPanel = ColourPanel(this, QStringLiteral("realColourPanel"), QPoint(184, 46));
    auto* maskColourCaption = new QLabel(QStringLiteral("Barva masky:"), this);
    maskColourCaption->move(108, 88);
    maskColourPanel = ColourPanel(this, QStringLiteral("maskColourPanel"), QPoint(184, 80));
    for (QLabel* label : {nameCaption, realColourCaption, maskColourCaption}) {
        QFont small = label->font();
        small.setPixelSize(11);
        label->setFont(small);
        label->adjustSize();
    }
    // Each caption ends just before its field, so that its colon stays visible.
    nameCaption->move(84 - nameCaption->width(), 17);
    realColourCaption->move(180 - realColourCaption->width(), 54);
    maskColourCaption->move(180 - maskColourCaption->width(), 88);

    const DialogButtons buttons = MakeDialogButtons(this, QPoint(80, 125));
    confirmButton = buttons.confirm;
    cancelButton = buttons.cancel;
    connect(confirmButton, &TGlintImage::Click, this, &LayerDialog::onConfirmClicked);
    connect(cancelButton, &TGlintImage::Click, this, &LayerDialog::onCancelClicked);
    // Enter in the name field reaches keyPressEvent (a line edit passes it on).
    SetRealColour(Rgb(208, 208, 208));
    SetMaskColour(Rgb(255, 255, 255));
}

void LayerDialog::Attach(LayerEditor& editor, Prompts& prompts, const QWidget* area) {
    editor_ = &editor;
    placementArea_ = area;
    prompts_ = &prompts;
    editor.ShowDialog = [this](const LayerRecord& layer) {
        nameEdit->setText(layer.Name);
        SetRealColour(layer.RealColour);
        SetMaskColour(layer.MaskColour);
        ShowBeside(this, placementArea_);
    };
    editor.RaiseDialog = [this] { ShowBeside(this, placementArea_); };
    editor.CloseDialog = [this] { hide(); };
    editor.ShowSampledColour = [this](Colour real) { SetRealColour(real); };
    realColourPanel->installEventFilter(new ClickFilter(realColourPanel, [this] {
        const Colour chosen = prompts_->ChooseColour(real_);
        if (chosen != NoColour)
            SetRealColour(chosen);
    }));
    maskColourPanel->installEventFilter(new ClickFilter(maskColourPanel, [this] {
        const Colour chosen = prompts_->ChooseColour(mask_);
        if (chosen != NoColour)
            SetMaskColour(chosen);
    }));
}

void LayerDialog::SetRealColour(Colour colour) {
    real_ = colour;
    Paint(realColourPanel, colour);
}

void LayerDialog::SetMaskColour(Colour colour) {
    mask_ = colour;
    Paint(maskColourPanel, colour);
}

void LayerDialog::onConfirmClicked() {
    if (editor_)
        editor_->Confirm(nameEdit->text(), real_, mask_);
}

void LayerDialog::onCancelClicked() {
    if (editor_)
        editor_->Cancel();
}

void LayerDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        onConfirmClicked();
        return;
    case Qt::Key_Escape:
        onCancelClicked();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void LayerDialog::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (editor_ && editor_->RealColourPickMode)
        editor_->Cancel();
}
