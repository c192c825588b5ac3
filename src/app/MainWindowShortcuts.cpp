// The main window's keyboard: each shortcut presses its button, and only where the
// button could be pressed (shown and enabled: the editing bar's only in mask mode);
// the buttons' hints name their shortcut. The keys belong to the main window alone:
// the catalogue, the palette and the layer dialog are its tool windows, where a
// window-wide shortcut of the owner would still take Enter and Esc from their fields.
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

QShortcut* MainWindow::OwnShortcut(const QKeySequence& keys) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    return shortcut;
}

bool MainWindow::CanPress(TGlintImage* button) const {
    return button && button->isVisibleTo(this) && button->isEnabled();
}

void MainWindow::ConnectShortcuts() {
    for (const ButtonKeys& entry : Keys()) {
        TGlintImage* button = Button(QString::fromLatin1(entry.button));
        if (!button)
            continue;
        for (const QKeySequence& keys : entry.keys) {
            QShortcut* shortcut = OwnShortcut(keys);
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
    QShortcut* zoomOne = OwnShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(zoomOne, &QShortcut::activated, this, [this] {
        if (!CanPress(Button(QStringLiteral("zoomInButton"))))
            return;
        const QSize box = pictureArea->viewport()->size();
        while (workspace_.ZoomFactor > 1.0f)
            workspace_.ZoomOut(box);
        while (workspace_.ZoomFactor < 1.0f)
            workspace_.ZoomIn(box);
    });
    // Esc drops smart selection's proposal and the scale's marks being placed, and
    // ends the line chain being drawn, as a right press on the picture does. One
    // shortcut: two on the same key would both be ambiguous and neither would act.
    QShortcut* escape = OwnShortcut(QKeySequence(Qt::Key_Escape));
    connect(escape, &QShortcut::activated, this, [this] {
        onDropSmartTriggered();
        tools_.Scale.Reset();
        if (workspace_.LineAnchorX < 0)
            return;
        workspace_.LineAnchorX = -1;
        workspace_.HideMarker();
    });
}
