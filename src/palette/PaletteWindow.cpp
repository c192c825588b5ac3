#include "palette/PaletteWindow.h"

#include "app/Artwork.h"
#include "app/GlintImage.h"

TTPaleta::TTPaleta(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TPaleta"));
    setWindowTitle(QStringLiteral("Paleta barev"));
    resize(780, 531);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(255, 203, 151));
    setPalette(palette);
    using Artwork::Face;
    const QString search = QStringLiteral("Vyhledat");
    const QString hint =
        QStringLiteral("Vyhledat podobné odstínz v e všech vějířích se yadanou tolerancí");
    GlintImage1 = MakeGlintImage(this, QStringLiteral("GlintImage1"),
                                 Artwork::PanelButton(search, Face::Normal),
                                 Artwork::PanelButton(search, Face::Over), hint);
    GlintImage1->move(358, 97);
    GlintImage2 = MakeGlintImage(this, QStringLiteral("GlintImage2"),
                                 Artwork::PanelButton(search, Face::Normal),
                                 Artwork::PanelButton(search, Face::Over), hint);
    GlintImage2->move(592, 97);
}
