#pragma once

#include "app/QtPrompts.h"

#include <QString>
#include <memory>

class TForm1;
class TeLayer;
class Tbarvy;
class TTPaleta;
class TPrehled;
class TForm2;
class TOpenList;

// Every window of the program, created once at start-up in this order and kept
// until the end; all but the main window start hidden.
struct AppWindows {
    // Windows talk to the user through prompts; without one they use Qt's dialogs.
    explicit AppWindows(const QString& appDir, Prompts* testPrompts = nullptr);
    ~AppWindows();

    QtPrompts qtPrompts;
    Prompts& prompts;
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TeLayer> eLayer;
    std::unique_ptr<Tbarvy> barvy;
    std::unique_ptr<TTPaleta> TPaleta;
    std::unique_ptr<TPrehled> Prehled;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TOpenList> OpenList;
};
