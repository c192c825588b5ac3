// The main window's keyboard: each shortcut presses its button, and only where the
// button could be pressed (shown and enabled: the editing bar's only in mask mode);
// the buttons' hints name their shortcut.
#include "app/MainWindow.h"
#include "widgets/GlintImage.h"

#include <QKeySequence>
#include <QScrollArea>
#include <QShortcut>

namespace {

struct ButtonKeys {
    const char* button;
    QList<QKeySequence> keys; // the first is the one the hint names
    const char* word;         // names a button that has no hint of its own
};

QList<ButtonKeys> Keys() {
    return {
        {"openButton", {QKeySequence(Qt::CTRL | Qt::Key_O)}, ""},
        {"importButton", {QKeySequence(Qt::CTRL | Qt::Key_I)}, "Import"},
        {"saveButton", {QKeySequence(Qt::CTRL | Qt::Key_S)}, ""},
        {"undoButton", {QKeySequence(Qt::CTRL | Qt::Key_Z)}, ""},
        {"redoButton",
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
         ""},
        {"zoomInButton",
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
         ""},
        {"zoomOutButton", {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, ""},
        {"helpButton", {QKeySequence(Qt::Key_F1)}, "Nápověda"},
    };
}

} // namespace

bool MainWindow::CanPress(TGlintImage* button) const {
    return button && button->isVisibleTo(this) && button->isEnabled();
}

void MainWindow::ConnectShortcuts() {
    for (const ButtonKeys& entry : Keys()) {
        TGlintImage* button = Button(QString::fromLatin1(entry.button));
        if (!button)
            continue;
        for (const QKeySequence& keys : entry.keys) {
            auto* shortcut = new QShortcut(keys, this);
            connect(shortcut, &QShortcut::activated, this, [this, button] {
                if (CanPress(button))
                    emit button->Click();
            });
        }
        const QString named = entry.keys.first().toString(QKeySequence::NativeText);
        const QString hint =
            button->toolTip().isEmpty() ? QString::fromUtf8(entry.word) : button->toolTip();
        button->setToolTip(QStringLiteral("%1 (%2)").arg(hint, named));
    }
    // Zoom 1, where the zoom buttons are.
    auto* zoomOne = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), this);
    connect(zoomOne, &QShortcut::activated, this, [this] {
        if (!CanPress(Button(QStringLiteral("zoomInButton"))))
            return;
        const QSize box = pictureArea->viewport()->size();
        while (workspace_.ZoomFactor > 1.0f)
            workspace_.ZoomOut(box);
        while (workspace_.ZoomFactor < 1.0f)
            workspace_.ZoomIn(box);
    });
    // Esc ends the line chain being drawn, as a right press on the picture does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (workspace_.LineAnchorX < 0)
            return;
        workspace_.LineAnchorX = -1;
        workspace_.HideMarker();
    });
}
