// The program's start-up and event loop with a project open, for tests that end it
// with a real signal: signal_probe APPDIR PHOTO [modify]
//
// Prints "ready" once the signal handlers are in place. After the event loop has
// ended it asks the catalogue for its version ("catalogue 0" while the connection
// still works), then closes every window ("closed").
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "catalogue/CatalogueWindow.h"
#include "project/Errors.h"
#include "project/Measurements.h"
#include "support/ScriptedPrompts.h"
#include "workspace/ProjectOperations.h"

#include <QApplication>
#include <cstdio>

namespace {

class NoWait : public StartupClock {
public:
    std::int64_t NowMs() override { return 0; }
    void WaitMs(std::int64_t) override {}
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3)
        return 2;
    ScriptedPrompts prompts;
    NoWait clock;
    auto windows = StartUp(arguments[1], clock, &prompts);
    Workspace& workspace = windows->mainWindow->Workspace();
    if (!OpenProjectFile(workspace, prompts, arguments[2]))
        return 3;
    if (arguments.size() > 3 && arguments[3] == QLatin1String("modify")) {
        workspace.PushUndo();
        workspace.Doc.Mask.PaintSpan(2, 0, 10, 1);
        Measuring::AddReference(workspace.Doc,
                                {PlaneReference::Kind::Length, {{1, 1}, {11, 1}}, 1.0, 0});
        workspace.Doc.Modified = true;
    }
    windows->EndCleanlyOnSignals();
    std::printf("ready\n");
    std::fflush(stdout);

    const int code = QApplication::exec();
    try {
        std::printf("catalogue %d\n", windows->catalogue->Database.Version());
    } catch (const TintoraError& error) {
        std::printf("catalogue failed: %s\n", error.message().toLocal8Bit().constData());
    }
    std::printf("asked %d\n", int(prompts.asked.size()));
    windows.reset();
    std::printf("closed\n");
    return code;
}
