#include "app/AppWindows.h"

#include "app/MainWindow.h"
#include "app/SignalHandling.h"
#include "catalogue/CatalogueWindow.h"
#include "layers/LayerDialog.h"
#include "layers/MasterChooserDialog.h"
#include "overview/ComparisonWindow.h"
#include "overview/OverviewWindow.h"
#include "overview/ProjectListWindow.h"
#include "palette/PaletteWindow.h"
#include "project/Errors.h"
#include "project/RecoveryFile.h"

#include <QCoreApplication>
#include <cstdio>

AppWindows::AppWindows(const QString& appDir, Prompts* testPrompts)
    : prompts(testPrompts ? *testPrompts : qtPrompts),
      mainWindow(std::make_unique<MainWindow>(appDir, prompts)),
      layerDialog(std::make_unique<LayerDialog>(mainWindow.get())),
      catalogue(std::make_unique<CatalogueWindow>(appDir, prompts, mainWindow.get())),
      palette(std::make_unique<PaletteWindow>(*catalogue, prompts, mainWindow.get())),
      overview(std::make_unique<OverviewWindow>(mainWindow->Workspace(), prompts,
                                                &catalogue->Database, mainWindow.get())),
      masterChooser(std::make_unique<MasterChooserDialog>(mainWindow.get())),
      projectList(std::make_unique<ProjectListWindow>(mainWindow->Folders().Projects, prompts,
                                                      mainWindow.get())),
      comparison(std::make_unique<ComparisonWindow>(mainWindow->Workspace(), prompts,
                                                    &catalogue->Database, mainWindow.get())) {
    qtPrompts.SetParentWindow(mainWindow.get());
    mainWindow->SetProjectList(projectList.get());
    mainWindow->ConnectWindows(layerDialog.get(), catalogue.get(), palette.get(),
                               masterChooser.get());
    mainWindow->SetOverview(overview.get());
    mainWindow->SetComparisonWindow(comparison.get());
}

void AppWindows::EndCleanlyOnSignals() {
    signals_ = std::make_unique<TerminationSignals>();
    QObject::connect(signals_.get(), &TerminationSignals::Received,
                     [this](int signal) { EndOnSignal(signal); });
    IgnoreFileSizeSignal();
}

// No question can be asked now (the session is ending): the changes go to the
// recovery file, offered the next time the project is opened.
void AppWindows::EndOnSignal(int signal) {
    if (ending_)
        return;
    ending_ = true;
    try {
        RecoveryFile::Write(mainWindow->Workspace().Doc);
    } catch (const TintoraError& error) {
        std::fprintf(stderr, "%s\n", error.message().toLocal8Bit().constData());
    }
    std::fprintf(stderr, "Tintora končí na signál %d.\n", signal);
    QCoreApplication::exit(0);
}

// The owned windows go before the main window that parents them.
AppWindows::~AppWindows() {
    signals_.reset();
    comparison.reset();
    projectList.reset();
    masterChooser.reset();
    overview.reset();
    palette.reset();
    catalogue.reset();
    layerDialog.reset();
    mainWindow.reset();
}
