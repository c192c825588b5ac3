#pragma once

#include "app/Prompts.h"

class QWidget;

// The program's prompts: Qt's modal dialogs with Czech button captions.
class QtPrompts : public Prompts {
public:
    Button Message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                   Button defaultButton) override;

    void SetParentWindow(QWidget* parent) { parent_ = parent; }

private:
    QWidget* parent_ = nullptr;
};
