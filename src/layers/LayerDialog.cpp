#include "layers/LayerDialog.h"

#include "app/Artwork.h"
#include "app/GlintImage.h"
#include "app/GradientStrip.h"

TeLayer::TeLayer(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("eLayer"));
    setWindowTitle(QStringLiteral("Vlastnosti vrstvy"));
    setFixedSize(274, 175);
    auto* background = new GradientStrip(Artwork::GradientPicture(Artwork::Gradient::Dialog, 175),
                                         QColor(255, 208, 160), this);
    background->setObjectName(QStringLiteral("PaintBox1"));
    background->setGeometry(rect());
    using Artwork::Face;
    const QString confirm = QStringLiteral("Potvrdit");
    const QString cancel = QStringLiteral("Zrušit");
    GlintImage1 = MakeGlintImage(this, QStringLiteral("GlintImage1"),
                                 Artwork::PanelButton(confirm, Face::Normal),
                                 Artwork::PanelButton(confirm, Face::Over), QString());
    GlintImage1->move(80, 125);
    GlintImage2 = MakeGlintImage(this, QStringLiteral("GlintImage2"),
                                 Artwork::PanelButton(cancel, Face::Normal),
                                 Artwork::PanelButton(cancel, Face::Over), QString());
    GlintImage2->move(80, 149);
}
