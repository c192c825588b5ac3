#pragma once

#include "workspace/Prompts.h"

#include <QList>
#include <QQueue>

#include <functional>
#include <memory>

// Answers the program's questions as a test tells it and records what was asked.
class ScriptedPrompts : public Prompts {
public:
    class ScriptedProgress : public Progress {
    public:
        explicit ScriptedProgress(ScriptedPrompts& prompts) : prompts_(prompts) {}
        void Report(double done) override { prompts_.reported << done; }
        bool CancelRequested() override {
            return !prompts_.reported.isEmpty() && prompts_.reported.last() >= prompts_.stopAt;
        }

    private:
        ScriptedPrompts& prompts_;
    };

    struct Asked {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };

    QQueue<Button> answers;
    QList<Asked> asked;
    QQueue<QString> fileNames; // answers of the file dialogs, in order
    QStringList fileFilters;   // the filters the file dialogs were shown with
    QList<FileUse> fileUses;   // what each file dialog was for
    QStringList suggested;     // the paths the save dialogs offered

    Button Message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                   Button) override {
        asked.append({text, caption, icon, buttons});
        if (!answers.isEmpty())
            return answers.dequeue();
        return buttons.testFlag(Ok) ? Ok : Cancel;
    }

    QString OpenFileName(const QString& filter, FileUse use) override {
        fileFilters << filter;
        fileUses << use;
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    QString SaveFileName(const QString&, const QString& filter, const QString& offered,
                         FileUse use) override {
        fileFilters << filter;
        fileUses << use;
        suggested << offered;
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }

    QQueue<Colour> colours;       // answers of the colour dialog
    QList<Colour> colourInitials; // the colours it opened on
    Colour ChooseColour(Colour initial) override {
        colourInitials << initial;
        return colours.isEmpty() ? NoColour : colours.dequeue();
    }

    // Answers of the input dialog, as typed (the field keeps what its limit allows);
    // an empty queue cancels.
    QQueue<QString> inputs;
    QStringList inputCaptions;
    QList<int> inputLimits;
    std::function<void()> onInput; // runs while the input dialog would be open
    QString InputText(const QString& caption, const QString&, const QString& defaultText,
                      int maxLength) override {
        inputCaptions << caption;
        inputLimits << maxLength;
        if (onInput)
            onInput();
        if (inputs.isEmpty())
            return defaultText;
        const QString typed = inputs.dequeue();
        return maxLength > 0 ? typed.left(maxLength) : typed;
    }

    // Progress bars: what each described, every share reported (in order), and the
    // share of the work after which the user presses "Zrušit" (never by default).
    QStringList progressTexts;
    QList<double> reported;
    double stopAt = 2.0;
    std::unique_ptr<Progress> ShowProgress(const QString& text) override {
        progressTexts << text;
        return std::make_unique<ScriptedProgress>(*this);
    }

    QStringList Texts() const {
        QStringList texts;
        for (const Asked& a : asked)
            texts << a.text;
        return texts;
    }
};
