// Opens a catalogue the way the program does and reads it: prints "ok VERSION
// FANDECKS" or the message the user would see. catalogue_probe PATH
#include "catalogue/CatalogueDatabase.h"
#include "project/Errors.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2)
        return 2;
    try {
        CatalogueDatabase database;
        database.Open(arguments[1]);
        int fanDecks = 0;
        database.Run(QStringLiteral("SELECT vejir_id FROM Vejir;"), [&](const CatalogueRow&) {
            ++fanDecks;
            return true;
        });
        std::printf("ok %d %d\n", database.Version(), fanDecks);
    } catch (const TintoraError& error) {
        std::printf("%s\n", error.message().toUtf8().constData());
    }
    return 0;
}
