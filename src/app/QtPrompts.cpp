#include "app/QtPrompts.h"

#include "app/CzechMessageDialog.h"

Prompts::Button QtPrompts::Message(const QString& text, const QString& caption, Icon icon,
                                   Buttons buttons, Button defaultButton) {
    return CzechMessageDialog(caption, text, icon, buttons, defaultButton, 0, parent_);
}
