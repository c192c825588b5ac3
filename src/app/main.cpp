#include "app/StartUp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    SystemStartupClock clock;
    const auto windows = StartUp(QCoreApplication::applicationDirPath(), clock);
    windows->EndCleanlyOnSignals();
    return QApplication::exec();
}
