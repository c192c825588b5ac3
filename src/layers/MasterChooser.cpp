#include "layers/MasterChooser.h"

#include "widgets/Artwork.h"
#include "widgets/DialogButtons.h"
#include "widgets/GlintImage.h"
#include "widgets/GradientStrip.h"

#include <QFrame>
#include <QListWidget>

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Zvolit podřízenou vrstvu"));
    setModal(true);
    setFixedSize(240, 272);
    auto* background = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::Dialog, 272),
                                         QColor(255, 208, 160), this);
    background->setObjectName(QStringLiteral("PaintBox1"));
    background->setGeometry(rect());
    auto* frame = new QFrame(this);
    frame->setGeometry(7, 15, 227, 195);
    frame->setStyleSheet(QStringLiteral("QFrame { border: 1px solid rgb(150, 150, 150); }"));
    list = new QListWidget(this);
    list->setObjectName(QStringLiteral("list"));
    list->setGeometry(8, 16, 225, 193);
    list->setFrameShape(QFrame::NoFrame);
    list->setStyleSheet(QStringLiteral("QListWidget { background: rgb(235, 250, 254); }"
                                       "QListWidget::item { height: 13px; }"));
    QFont small = list->font();
    small.setPixelSize(11);
    list->setFont(small);

    const DialogButtons buttons = MakeDialogButtons(this, QPoint(60, 220));
    GlintImage1 = buttons.confirm;
    GlintImage2 = buttons.cancel;
    connect(GlintImage1, &TGlintImage::Click, this, &TForm2::GlintImage1Click);
    connect(GlintImage2, &TGlintImage::Click, this, &TForm2::GlintImage2Click);
    connect(list, &QListWidget::itemDoubleClicked, this, &TForm2::GlintImage1Click);
}

std::optional<QString> TForm2::ChooseMasterLayer(const LayerList& layers, int current,
                                                 const QString& preselected) {
    list->clear();
    for (int i = 0; i < layers.size(); ++i) {
        if (i != current)
            list->addItem(layers[i].Name);
    }
    list->setCurrentRow(-1);
    for (int row = 0; row < list->count(); ++row) {
        if (layers[CandidateLayer(row, current)].Name == preselected) {
            list->setCurrentRow(row);
            break;
        }
    }
    // The close box counts as cancel.
    ChooserCancelled = true;
    exec();
    const int row = list->currentRow();
    if (ChooserCancelled || row < 0)
        return std::nullopt;
    return layers[CandidateLayer(row, current)].Name;
}

void TForm2::GlintImage1Click() {
    if (list->selectedItems().isEmpty())
        return;
    ChooserCancelled = false;
    accept();
}

void TForm2::GlintImage2Click() {
    ChooserCancelled = true;
    reject();
}
