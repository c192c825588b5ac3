#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    // --help and --version print before any window system is asked for.
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    const CommandLine early = ParseCommandLine(given);
    if (early.action == CommandLine::Help || early.action == CommandLine::Version) {
        const QString text = early.action == CommandLine::Help ? CommandLineHelp() : VersionText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // Qt has taken its own options (-platform, -style …) out of the arguments.
    const CommandLine line = ParseCommandLine(QCoreApplication::arguments().mid(1));
    if (line.action == CommandLine::Refuse) {
        std::fprintf(stderr, "%s\n", line.error.toLocal8Bit().constData());
        return 2;
    }
    SystemStartupClock clock;
    const auto windows = StartUp(QCoreApplication::applicationDirPath(), clock);
    windows->EndCleanlyOnSignals();
    // A file named on the command line, as if it were dropped on the window.
    if (!line.path.isEmpty()) {
        MainWindow* window = windows->mainWindow.get();
        QTimer::singleShot(0, window,
                           [window, line] { window->OpenOrImportFiles({line.path}, line.note); });
    }
    return QApplication::exec();
}
