#include "app/SignalHandling.h"
#include "app/StartUp.h"
#include "catalogue/CatalogueConnection.h"

#include <QApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // Until the windows are there, nothing is kept: a signal (also one that comes
    // while the database client waits for a catalogue server) ends the program.
    EndAtOnceOnSignals("Tintora", 0);
    QApplication application(argc, argv);
    SystemStartupClock clock;
    auto windows = StartUp(QCoreApplication::applicationDirPath(), clock);
    windows->EndCleanlyOnSignals();
    const int code = QApplication::exec();
    windows.reset();
    // A catalogue that stopped answering still holds a thread in the database
    // client, whose own clean-up at exit would wait for it.
    if (CatalogueConnection::StillWaiting() > 0) {
        std::fflush(nullptr);
        ::_exit(code);
    }
    return code;
}
