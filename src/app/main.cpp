#include "app/StartUp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    CzechDatesInQtDialogs czechDates;
    QApplication application(argc, argv);
    czechDates.Restore();
    SystemStartupClock clock;
    const auto windows = StartUp(QCoreApplication::applicationDirPath(), clock);
    windows->EndCleanlyOnSignals();
    return QApplication::exec();
}
