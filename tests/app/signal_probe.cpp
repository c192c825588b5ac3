// The program's start-up and event loop with a project open, for tests that end it
// with a real signal: signal_probe APPDIR PHOTO [modify]; PHOTO "-" opens no project
// (modify then commits a layer, which marks the document changed without a project)
//
// Prints "ready" once the signal handlers are in place. After the event loop has
// ended it asks the catalogue for its version ("catalogue 0" while the connection
// still works), then closes every window ("closed").
//
// signal_probe APPDIR PHOTO ask opens the project with the program's own dialogs,
// whose question about kept changes then waits on screen; "ready" comes once it is
// there.
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "catalogue/CatalogueWindow.h"
#include "project/EndRequest.h"
#include "project/Errors.h"
#include "project/Measurements.h"
#include "support/ScriptedPrompts.h"
#include "workspace/ProjectOperations.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

namespace {

class NoWait : public StartupClock {
public:
    std::int64_t NowMs() override { return 0; }
    void WaitMs(std::int64_t) override {}
};

// Opens the project with Qt's dialogs and waits in the question on screen.
int AskAndWait(const QString& appDir, const QString& photo, StartupClock& clock) {
    auto windows = StartUp(appDir, clock);
    windows->EndCleanlyOnSignals();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&watch] {
        if (!QApplication::activeModalWidget())
            return;
        watch.stop();
        std::printf("ready\n");
        std::fflush(stdout);
    });
    watch.start(20);
    OpenProjectFile(windows->mainWindow->Workspace(), windows->prompts, photo);
    // Asked to end meanwhile, the program's event loop would end at once.
    if (EndRequest::Signal() == 0)
        QApplication::exec();
    windows.reset();
    std::printf("closed\n");
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3)
        return 2;
    ScriptedPrompts prompts;
    NoWait clock;
    if (arguments.size() > 3 && arguments[3] == QLatin1String("ask"))
        return AskAndWait(arguments[1], arguments[2], clock);
    auto windows = StartUp(arguments[1], clock, &prompts);
    Workspace& workspace = windows->mainWindow->Workspace();
    const bool project = arguments[2] != QLatin1String("-");
    if (project && !OpenProjectFile(workspace, prompts, arguments[2]))
        return 3;
    if (arguments.size() > 3 && arguments[3] == QLatin1String("modify") && !project) {
        workspace.Doc.Modified = true;
    } else if (arguments.size() > 3 && arguments[3] == QLatin1String("modify")) {
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
