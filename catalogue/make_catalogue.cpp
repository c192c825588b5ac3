// Builds a catalogue database: make-catalogue SCHEMA.sql OUTPUT.tom [--shades N]
// (without --shades the demo catalogue; with it a large one for benchmarks). The
// program only reads its catalogue, so both are read-only databases. An existing
// demo catalogue keeps its content and is only marked read-only.
#include "CatalogueScript.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() != 2 && !(args.size() == 4 && args[2] == QLatin1String("--shades"))) {
        std::fprintf(stderr, "Použití: make-catalogue SCHEMA.sql VYSTUP.tom [--shades N]\n");
        return 2;
    }
    const int shades = args.size() == 4 ? args[3].toInt() : 0;
    if (shades == 0 && QFile::exists(args[1])) {
        QFile::setPermissions(args[1], QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadOther);
        const QString error = CatalogueScript::MakeReadOnly(args[1]);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "Katalog %s nelze označit jen pro čtení: %s\n",
                         qPrintable(args[1]), qPrintable(error));
            return 1;
        }
        return 0;
    }
    QFile schema(args[0]);
    if (!schema.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Schéma %s nelze přečíst.\n", qPrintable(args[0]));
        return 1;
    }
    const QString error = CatalogueScript::BuildDatabase(
        args[1], QString::fromUtf8(schema.readAll()), CatalogueScript::DemoRows(shades), true);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "Katalog %s nelze vytvořit: %s\n", qPrintable(args[1]),
                     qPrintable(error));
        return 1;
    }
    return 0;
}
