#pragma once

#include "workspace/Prompts.h"

#include <QList>
#include <QQueue>

// Answers the program's questions as a test tells it and records what was asked.
class ScriptedPrompts : public Prompts {
public:
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

    Button Message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                   Button) override {
        asked.append({text, caption, icon, buttons});
        if (!answers.isEmpty())
            return answers.dequeue();
        return buttons.testFlag(Ok) ? Ok : Cancel;
    }

    QString OpenFileName(const QString& filter) override {
        fileFilters << filter;
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    QString SaveFileName(const QString&, const QString& filter) override {
        fileFilters << filter;
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }

    QQueue<Colour> colours;       // answers of the colour dialog
    QList<Colour> colourInitials; // the colours it opened on
    Colour ChooseColour(Colour initial) override {
        colourInitials << initial;
        return colours.isEmpty() ? NoColour : colours.dequeue();
    }

    QQueue<QString> inputs; // answers of the input dialog; empty queue = cancel
    QStringList inputCaptions;
    QString InputText(const QString& caption, const QString&, const QString& defaultText) override {
        inputCaptions << caption;
        return inputs.isEmpty() ? defaultText : inputs.dequeue();
    }

    QStringList Texts() const {
        QStringList texts;
        for (const Asked& a : asked)
            texts << a.text;
        return texts;
    }
};
