#include "app/CommandLine.h"

#include "workspace/OpenOrImport.h"

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    // --help and --version win over anything else given with them.
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--"))
            break;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line.action = CommandLine::Help;
            return line;
        }
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
            line.action = CommandLine::Version;
            return line;
        }
    }
    QStringList files;
    bool options = true;
    for (const QString& argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            line.action = CommandLine::Refuse;
            line.error =
                QStringLiteral("Neznámý přepínač %1.\nNápověda: tintora --help").arg(argument);
            return line;
        } else {
            files << argument;
        }
    }
    line.path = FirstOf(files, &line.note);
    return line;
}

QString CommandLineHelp() {
    return QStringLiteral(
        "Použití: tintora [SOUBOR]\n"
        "\n"
        "Tintora přebarví fotografii domu nebo místnosti odstíny ze vzorníku barev.\n"
        "\n"
        "  SOUBOR         projekt (jeho .bmp nebo .bmp.mask) se otevře, fotografie\n"
        "                 (JPEG, PNG, WebP, TIFF, HEIC, HEIF, AVIF) se importuje\n"
        "                 jako nový projekt do složky domy\n"
        "  -h, --help     vypíše tuto nápovědu\n"
        "  -v, --version  vypíše verzi programu\n");
}

QString VersionText() {
    return QStringLiteral("Tintora 1.2\n");
}
