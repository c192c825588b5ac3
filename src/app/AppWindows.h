#pragma once

#include "widgets/QtPrompts.h"

#include <QString>
#include <memory>

class MainWindow;
class LayerDialog;
class CatalogueWindow;
class PaletteWindow;
class OverviewWindow;
class ComparisonWindow;
class MasterChooserDialog;
class ProjectListWindow;
class TerminationSignals;

// Every window of the program, created once at start-up in this order and kept
// until the end; all but the main window start hidden.
struct AppWindows {
    // Windows talk to the user through prompts; without one they use Qt's dialogs.
    explicit AppWindows(const QString& appDir, Prompts* testPrompts = nullptr);
    ~AppWindows();

    // From now on SIGTERM, SIGINT and SIGHUP end the program cleanly: a modified
    // document is kept in its project's recovery file (never over the mask file),
    // the event loop quits and the windows, with the catalogue's connection, close.
    // Call it once the windows (and so the catalogue) exist. Also ignores SIGXFSZ.
    void EndCleanlyOnSignals();

    QtPrompts qtPrompts;
    Prompts& prompts;
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<LayerDialog> layerDialog;
    std::unique_ptr<CatalogueWindow> catalogue;
    std::unique_ptr<PaletteWindow> palette;
    std::unique_ptr<OverviewWindow> overview;
    std::unique_ptr<MasterChooserDialog> masterChooser;
    std::unique_ptr<ProjectListWindow> projectList;
    std::unique_ptr<ComparisonWindow> comparison;

private:
    void EndOnSignal(int signal);
    std::unique_ptr<TerminationSignals> signals_;
    bool ending_ = false;
};
