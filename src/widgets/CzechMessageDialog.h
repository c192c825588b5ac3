#pragma once

#include "workspace/Prompts.h"

#include <QMessageBox>
#include <memory>

// The standard message dialog with Czech button captions: "&Ano", "&Ne", "Storno"
// (other captions such as OK stay). The button whose result equals defaultResult
// is the default one and has the focus.
std::unique_ptr<QMessageBox> BuildCzechMessageDialog(const QString& caption, const QString& message,
                                                     Prompts::Icon kind, Prompts::Buttons buttons,
                                                     Prompts::Button defaultResult, int helpContext,
                                                     QWidget* parent = nullptr);

// Shows it modally and returns the button pressed.
Prompts::Button CzechMessageDialog(const QString& caption, const QString& message,
                                   Prompts::Icon kind, Prompts::Buttons buttons,
                                   Prompts::Button defaultResult, int helpContext,
                                   QWidget* parent = nullptr);
