#include "app/ExportCommand.h"
#include "app/SignalHandling.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    IgnoreFileSizeSignal();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = RunExportCommand(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
