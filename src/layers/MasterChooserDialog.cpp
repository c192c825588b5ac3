#include "layers/MasterChooserDialog.h"

#include "widgets/Artwork.h"
#include "widgets/DialogButtons.h"
#include "widgets/GlintImage.h"
#include "widgets/GradientStrip.h"

#include <QFrame>
#include <QListWidget>

MasterChooserDialog::MasterChooserDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("MasterChooserDialog"));
    setWindowTitle(QStringLiteral("Zvolit podřízenou vrstvu"));
    setModal(true);
    setFixedSize(240, 272);
    auto* background = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::Dialog, 272),
                                         QColor(255, 208, 160), this);
    background->setObjectName(QStringLiteral("background"));
    background->setGeometry(rect());
    auto* frame = new QFrame(this);
    frame->setGeometry(7, 15, 227, 195);
    frame->setStyleSheet(QStringLiteral("QFrame { border: 1px solid rgb(150, 150, 150); }"));
    layerList = new QListWidget(this);
    layerList->setObjectName(QStringLiteral("layerList"));
    layerList->setGeometry(8, 16, 225, 193);
    layerList->setFrameShape(QFrame::NoFrame);
    layerList->setStyleSheet(QStringLiteral("QListWidget { background: rgb(235, 250, 254); }"
                                            "QListWidget::item { height: 13px; }"));
    QFont small = layerList->font();
    small.setPixelSize(11);
    layerList->setFont(small);

    const DialogButtons buttons = MakeDialogButtons(this, QPoint(60, 220));
    confirmButton = buttons.confirm;
    cancelButton = buttons.cancel;
    connect(confirmButton, &TGlintImage::Click, this, &MasterChooserDialog::onConfirmClicked);
    connect(cancelButton, &TGlintImage::Click, this, &MasterChooserDialog::onCancelClicked);
    connect(layerList, &QListWidget::itemDoubleClicked, this,
            &MasterChooserDialog::onConfirmClicked);
}

std::optional<QString> MasterChooserDialog::ChooseMasterLayer(const LayerList& layers, int current,
                                                              const QString& preselected) {
    layerList->clear();
    for (int i = 0; i < layers.size(); ++i) {
        if (i != current)
            layerList->addItem(layers[i].Name);
    }
    layerList->setCurrentRow(-1);
    for (int row = 0; row < layerList->count(); ++row) {
        if (layers[CandidateLayer(row, current)].Name == preselected) {
            layerList->setCurrentRow(row);
            break;
        }
    }
    // The close box counts as cancel.
    ChooserCancelled = true;
    exec();
    const int row = layerList->currentRow();
    if (ChooserCancelled || row < 0)
        return std::nullopt;
    return layers[CandidateLayer(row, current)].Name;
}

void MasterChooserDialog::onConfirmClicked() {
    if (layerList->selectedItems().isEmpty())
        return;
    ChooserCancelled = false;
    accept();
}

void MasterChooserDialog::onCancelClicked() {
    ChooserCancelled = true;
    reject();
}
