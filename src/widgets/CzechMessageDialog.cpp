#include "widgets/CzechMessageDialog.h"

#include "project/MessageText.h"
#include "widgets/WindowPlacement.h"

#include <QAbstractButton>
#include <QPushButton>

namespace {

QMessageBox::Icon IconOf(Prompts::Icon kind) {
    switch (kind) {
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::Warning:
        return QMessageBox::Warning;
    case Prompts::Icon::Error:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonInfo {
    Prompts::Button result;
    QMessageBox::StandardButton standard;
    const char* caption; // nullptr keeps the standard caption
};

constexpr ButtonInfo Buttons[] = {
    {Prompts::Yes, QMessageBox::Yes, "&Ano"},
    {Prompts::No, QMessageBox::No, "&Ne"},
    {Prompts::Ok, QMessageBox::Ok, nullptr},
    {Prompts::Cancel, QMessageBox::Cancel, "Storno"},
};

} // namespace

std::unique_ptr<QMessageBox> BuildCzechMessageDialog(const QString& caption, const QString& message,
                                                     Prompts::Icon kind, Prompts::Buttons buttons,
                                                     Prompts::Button defaultResult, int helpContext,
                                                     QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    KeepAboveOtherWindows(box.get());
    box->setWindowTitle(caption);
    // Names from files and the catalogue are quoted as they are, never read as markup,
    // and no message grows taller or wider than a screen.
    box->setTextFormat(Qt::PlainText);
    box->setText(MessageText::Paragraph(message));
    box->setIcon(IconOf(kind));
    box->setProperty("helpContext", helpContext);
    for (const ButtonInfo& info : Buttons) {
        if (!buttons.testFlag(info.result))
            continue;
        QPushButton* button = box->addButton(info.standard);
        if (info.caption)
            button->setText(QString::fromUtf8(info.caption));
        if (info.result == defaultResult) {
            box->setDefaultButton(button);
            button->setFocus();
        }
    }
    if (buttons.testFlag(Prompts::Cancel))
        box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

Prompts::Button CzechMessageDialog(const QString& caption, const QString& message,
                                   Prompts::Icon kind, Prompts::Buttons buttons,
                                   Prompts::Button defaultResult, int helpContext,
                                   QWidget* parent) {
    auto box = BuildCzechMessageDialog(caption, message, kind, buttons, defaultResult, helpContext,
                                       parent);
    box->exec();
    for (const ButtonInfo& info : Buttons) {
        if (box->clickedButton() && box->clickedButton() == box->button(info.standard))
            return info.result;
    }
    return buttons.testFlag(Prompts::Cancel) ? Prompts::Cancel : Prompts::NoButton;
}
