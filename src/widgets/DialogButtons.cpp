#include "widgets/DialogButtons.h"

#include "widgets/Artwork.h"
#include "widgets/GlintImage.h"

#include <QPalette>
#include <QWidget>

DialogButtons MakeDialogButtons(QWidget* parent, QPoint confirmAt) {
    using Artwork::Face;
    const QString confirm = QStringLiteral("Potvrdit");
    const QString cancel = QStringLiteral("Zrušit");
    DialogButtons buttons{MakeGlintImage(parent, QStringLiteral("confirmButton"),
                                         Artwork::PanelButton(confirm, Face::Normal),
                                         Artwork::PanelButton(confirm, Face::Over), QString()),
                          MakeGlintImage(parent, QStringLiteral("cancelButton"),
                                         Artwork::PanelButton(cancel, Face::Normal),
                                         Artwork::PanelButton(cancel, Face::Over), QString())};
    buttons.confirm->move(confirmAt);
    buttons.cancel->move(confirmAt + QPoint(0, 24));
    return buttons;
}

void SetToolWindowLook(QWidget* window, const QColor& background) {
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, background);
    window->setPalette(palette);
    QFont small = window->font();
    small.setPixelSize(11);
    window->setFont(small);
}
