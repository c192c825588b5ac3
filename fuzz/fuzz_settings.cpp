// tintora.ini on arbitrary bytes: reading it either names a catalogue or refuses
// with a Czech message of a few short lines (a 100 KB value once made a message box
// taller than the screen), and a server it names reads back the same from its
// connection name.
#include "catalogue/CatalogueLocation.h"
#include "project/Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {

// One program folder per process, in a folder that goes when the process ends.
const QString& ProgramFolder() {
    static const QTemporaryDir dir(QDir::temp().filePath(QStringLiteral("tintora-fuzz-XXXXXX")));
    static const QString path = dir.path();
    return path;
}

bool FitsAMessageBox(const QString& message) {
    const QStringList lines = message.split(QLatin1Char('\n'));
    if (lines.size() > 3)
        return false;
    for (const QString& line : lines) {
        if (line.size() > 500)
            return false;
        for (const QChar c : line) {
            if (c.category() == QChar::Other_Control)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QFile ini(QDir(ProgramFolder()).filePath(CatalogueSettings::FileName));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    ini.write(reinterpret_cast<const char*>(data), qint64(size));
    ini.close();
    try {
        const CatalogueLocation location = CatalogueSettings::Read(ProgramFolder());
        if (!FitsAMessageBox(location.DisplayName()))
            __builtin_trap();
        if (location.OnServer()) {
            if (location.path.isEmpty())
                __builtin_trap();
            const CatalogueLocation again =
                CatalogueSettings::ParseDatabaseName(location.ConnectionName(), ProgramFolder());
            if (again.host != location.host || again.port != location.port ||
                again.path != location.path)
                __builtin_trap();
        } else if (!QDir::isAbsolutePath(location.path) ||
                   QDir::cleanPath(location.path) != location.path) {
            __builtin_trap();
        }
    } catch (const DatabaseError& error) {
        if (!FitsAMessageBox(error.message()))
            __builtin_trap();
    }
    return 0;
}
