#pragma once

#include "project/Colour.h"
#include "project/Progress.h"

#include <QFlags>
#include <QString>

#include <memory>

// Every message box and question of the program goes through this interface: the
// program answers it with Qt dialogs, tests with a scripted stand-in.
class Prompts {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum Button { NoButton = 0, Ok = 1, Yes = 2, No = 4, Cancel = 8 };
    Q_DECLARE_FLAGS(Buttons, Button)

    virtual ~Prompts() = default;

    // Shows a modal message box and returns the button pressed.
    virtual Button Message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                           Button defaultButton = NoButton) = 0;

    // A file to open, or empty when the user cancelled. filter lists pairs
    // "description|patterns" joined by "|", e.g. "Obrázky (jpg)|*.jpg".
    virtual QString OpenFileName(const QString& filter) = 0;
    // A file to write; defaultSuffix is added to a name typed without one.
    virtual QString SaveFileName(const QString& defaultSuffix, const QString& filter) = 0;

    // The one-line input dialog; returns the default when the user cancelled.
    virtual QString InputText(const QString& caption, const QString& prompt,
                              const QString& defaultText) = 0;
    // The colour-choice dialog preset with a colour; -1 when the user cancelled.
    virtual Colour ChooseColour(Colour initial) = 0;

    // Shows the progress of long work, described by text, for as long as the returned
    // object lives (the windows: a bar with "Zrušit" once the work has lasted half a
    // second). Without windows nothing is shown and nothing is ever cancelled.
    virtual std::unique_ptr<Progress> ShowProgress(const QString& text);

    void Error(const QString& text) { Message(text, QStringLiteral("Chyba"), Icon::Error, Ok); }
    void Information(const QString& text) {
        Message(text, QStringLiteral("Informace"), Icon::Information, Ok);
    }
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Prompts::Buttons)
