#include "overview/ProjectListWindow.h"

#include "app/Artwork.h"
#include "app/GlintImage.h"

TOpenList::TOpenList(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint) {
    setObjectName(QStringLiteral("OpenList"));
    setWindowTitle(QStringLiteral("Seznam vytvořených projektů"));
    setModal(true);
    resize(582, 517);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(235, 235, 235));
    setPalette(palette);
    using Artwork::Face;
    const QSize size(125, 18);
    const QString exterior = QStringLiteral("Import exteriéru ...");
    const QString interior = QStringLiteral("Import interiéru ...");
    GlintImage1 = MakeGlintImage(this, QStringLiteral("GlintImage1"),
                                 Artwork::PanelButton(exterior, Face::Normal, size),
                                 Artwork::PanelButton(exterior, Face::Over, size), QString());
    GlintImage1->move(83, 480);
    GlintImage2 = MakeGlintImage(this, QStringLiteral("GlintImage2"),
                                 Artwork::PanelButton(interior, Face::Normal, size),
                                 Artwork::PanelButton(interior, Face::Over, size), QString());
    GlintImage2->move(374, 480);
}
