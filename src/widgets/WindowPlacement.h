#pragma once

class QWidget;

// Shows a modeless tool window and brings it to the front. On its first showing it
// is placed at the top right corner inside area (a part of another window, such as
// the main window's picture), never at the screen's corner over the toolbar; later
// showings keep the place the user moved it to.
void ShowBeside(QWidget* window, const QWidget* area);

// The same, centred on area.
void ShowCentredOn(QWidget* window, const QWidget* area);

// Lets a modal dialog or message box stand above every window of the program, the
// catalogue and the palette (which stay above the main window) included, whatever
// window the user clicks meanwhile.
void KeepAboveOtherWindows(QWidget* dialog);
