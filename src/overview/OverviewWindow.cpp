#include "overview/OverviewWindow.h"

#include "app/Artwork.h"
#include "app/GlintImage.h"

TPrehled::TPrehled(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Prehled"));
    setWindowTitle(QStringLiteral("Přehled"));
    setModal(true);
    resize(489, 552);
    using Artwork::Face;
    const QSize wide(170, 18);
    const QString recipe = QStringLiteral("Receptovat v Huemix");
    const QString close = QStringLiteral("Zavřít");
    const QString save = QStringLiteral("Uložit s výsledním obarvením");
    GlintImage1 = MakeGlintImage(this, QStringLiteral("GlintImage1"),
                                 Artwork::PanelButton(recipe, Face::Normal, wide),
                                 Artwork::PanelButton(recipe, Face::Over, wide),
                                 QStringLiteral("Vybraný odstín receptovat v Huemix"));
    GlintImage1->move(11, 517);
    GlintImage1->hide();
    GlintImage3 = MakeGlintImage(this, QStringLiteral("GlintImage3"),
                                 Artwork::PanelButton(save, Face::Normal, wide),
                                 Artwork::PanelButton(save, Face::Over, wide),
                                 QStringLiteral("Uložit nově obarvený obrázek"));
    GlintImage3->move(188, 517);
    GlintImage2 = MakeGlintImage(
        this, QStringLiteral("GlintImage2"), Artwork::PanelButton(close, Face::Normal),
        Artwork::PanelButton(close, Face::Over), QStringLiteral("Zavřít přehled"));
    GlintImage2->move(365, 517);
}
