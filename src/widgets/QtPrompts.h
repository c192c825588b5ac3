#pragma once

#include "workspace/Prompts.h"

class QWidget;

// The program's prompts: Qt's modal dialogs with Czech button captions.
class QtPrompts : public Prompts {
public:
    Button Message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                   Button defaultButton) override;
    QString OpenFileName(const QString& filter) override;
    QString SaveFileName(const QString& defaultSuffix, const QString& filter) override;
    Colour ChooseColour(Colour initial) override;
    QString InputText(const QString& caption, const QString& prompt,
                      const QString& defaultText) override;
    // A modal window with a bar and "Zrušit" once the work has lasted half a second.
    std::unique_ptr<Progress> ShowProgress(const QString& text) override;

    void SetParentWindow(QWidget* parent) { parent_ = parent; }

    // The window a dialog belongs to and is centred on: the active window of the
    // program, or the main window.
    QWidget* Owner() const;

private:
    QWidget* parent_ = nullptr;
};

// "Obrázky (jpg)|*.jpg|Vše|*.*" as Qt's file dialogs take it.
QString QtFileFilter(const QString& filter);
