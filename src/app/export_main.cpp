#include "app/ExportCommand.h"
#include "app/SignalHandling.h"
#include "catalogue/CatalogueConnection.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // Before anything could connect to a catalogue: a signal ends the command at
    // every moment, also while the database client waits for a server.
    EndAtOnceOnSignals("tintora-export", -1);
    // The paint order and the proposal are drawn with fonts, which need a graphical
    // application; the command never shows a window, so it needs no display either.
    bool drawsPdf = false;
    for (int i = 1; i < argc; ++i)
        drawsPdf = drawsPdf || std::strcmp(argv[i], "--order-sheet") == 0 ||
                   std::strcmp(argv[i], "--proposal") == 0;
    std::unique_ptr<QCoreApplication> application;
    if (drawsPdf) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    IgnoreFileSizeSignal();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = RunExportCommand(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    // A catalogue that stopped answering still holds a thread in the database
    // client, whose own clean-up at exit would wait for it.
    if (CatalogueConnection::StillWaiting() > 0) {
        std::fflush(nullptr);
        ::_exit(code);
    }
    return code;
}
