#pragma once

#include <QColor>
#include <QPoint>

class QWidget;
class TGlintImage;

// The two image buttons of a small dialog: "Potvrdit" (confirmButton) at confirmAt and
// "Zrušit" (cancelButton) 24 pixels below it.
struct DialogButtons {
    TGlintImage* confirm;
    TGlintImage* cancel;
};
DialogButtons MakeDialogButtons(QWidget* parent, QPoint confirmAt);

// A tool window's look: its background colour and the 11-pixel text of its lists.
void SetToolWindowLook(QWidget* window, const QColor& background);
