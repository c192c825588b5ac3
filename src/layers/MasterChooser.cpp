#include "layers/MasterChooser.h"

#include "app/Artwork.h"
#include "app/GlintImage.h"
#include "app/GradientStrip.h"

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Zvolit podřízenou vrstvu"));
    setModal(true);
    setFixedSize(240, 272);
    auto* background = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::Dialog, 272),
                                         QColor(255, 208, 160), this);
    background->setObjectName(QStringLiteral("PaintBox1"));
    background->setGeometry(rect());
    using Artwork::Face;
    const QString confirm = QStringLiteral("Potvrdit");
    const QString cancel = QStringLiteral("Zrušit");
    GlintImage1 = MakeGlintImage(this, QStringLiteral("GlintImage1"),
                                 Artwork::PanelButton(confirm, Face::Normal),
                                 Artwork::PanelButton(confirm, Face::Over), QString());
    GlintImage1->move(60, 220);
    GlintImage2 = MakeGlintImage(this, QStringLiteral("GlintImage2"),
                                 Artwork::PanelButton(cancel, Face::Normal),
                                 Artwork::PanelButton(cancel, Face::Over), QString());
    GlintImage2->move(60, 244);
}
