// Opens a catalogue the way the program does and reads it: prints "ok VERSION
// FANDECKS" or the message the user would see.
//   catalogue_probe PATH
//   catalogue_probe --settings APPDIR   the catalogue of a program in APPDIR (its
//       tintora.ini, else odrex.tom), browsed as the catalogue window does; then stays
//       connected and answers lines on stdin: "read" browses again and prints "ok
//       FANDECKS SHADES FOUND", "attachments" prints how many users' connections the
//       database has; the probe ends at the end of its input.
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "project/Errors.h"

#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

void Print(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// Every fan deck with its first paint kind's shades, then a search by name.
QString Browse(CatalogueModel& model) {
    model.ReloadAllFanDecks();
    int shades = 0;
    for (int row = 0; row < model.FanDecks.size(); ++row) {
        model.ChooseFanDeck(row);
        shades += int(model.Shades.size());
    }
    model.SearchShades(QStringLiteral("E"));
    return QStringLiteral("ok %1 %2 %3")
        .arg(model.FanDecks.size())
        .arg(shades)
        .arg(model.Shades.size());
}

int Attachments(CatalogueDatabase& database) {
    int count = 0;
    database.Run(QStringLiteral("SELECT COUNT(*) AS pocet FROM MON$ATTACHMENTS "
                                "WHERE MON$SYSTEM_FLAG = 0;"),
                 [&count](const CatalogueRow& row) {
                     count = row.Int(QStringLiteral("pocet"));
                     return false;
                 });
    return count;
}

int Settings(const QString& appDir) {
    CatalogueDatabase database;
    database.Open(CatalogueSettings::Read(appDir));
    CatalogueModel model(database);
    bool rejected = false;
    model.VersionRejected = [&rejected] { rejected = true; };
    const QString first = Browse(model);
    if (rejected) {
        Print(QStringLiteral("Špatná databáze! Kontaktujte výrobce programu."));
        return 0;
    }
    Print(first);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line == "read")
            Print(Browse(model));
        else if (line == "attachments")
            Print(QStringLiteral("attachments %1").arg(Attachments(database)));
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    try {
        if (arguments.size() == 3 && arguments[1] == QLatin1String("--settings"))
            return Settings(arguments[2]);
        if (arguments.size() != 2)
            return 2;
        CatalogueDatabase database;
        database.Open(arguments[1]);
        int fanDecks = 0;
        database.Run(QStringLiteral("SELECT vejir_id FROM Vejir;"), [&](const CatalogueRow&) {
            ++fanDecks;
            return true;
        });
        std::printf("ok %d %d\n", database.Version(), fanDecks);
    } catch (const TintoraError& error) {
        Print(error.message());
    }
    return 0;
}
