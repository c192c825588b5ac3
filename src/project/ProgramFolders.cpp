#include "project/ProgramFolders.h"

#include "project/AtomicFile.h"
#include "project/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef TINTORA_RELATIVE_DATA_DIR
#define TINTORA_RELATIVE_DATA_DIR "../share/tintora"
#endif

namespace {

const QString SettingsName = QStringLiteral("tintora.ini");

bool Writable(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

} // namespace

ProgramFolders ChooseProgramFolders(const QString& programDir, const QString& installedData,
                                    bool programWritable, const QString& userData,
                                    const QString& userSettings) {
    ProgramFolders folders;
    folders.Program = programDir;
    folders.Installed = !installedData.isEmpty();
    folders.Data = folders.Installed ? installedData : programDir;
    folders.Projects =
        (folders.Installed || !programWritable) && !userData.isEmpty() ? userData : programDir;
    folders.Settings = folders.Installed ? userSettings : QDir(programDir).filePath(SettingsName);
    return folders;
}

ProgramFolders LocateProgramFolders(const QString& programDir) {
    const QDir program(programDir);
    const QString shared =
        QDir::cleanPath(program.filePath(QStringLiteral(TINTORA_RELATIVE_DATA_DIR)));
    // The staged folder has its help page beside the program; the package puts it
    // with the rest of the data.
    const bool installed = !QFileInfo::exists(program.filePath(QStringLiteral("help"))) &&
                           QFileInfo::exists(shared + QStringLiteral("/help/help.htm"));
    const QString houses = program.filePath(QStringLiteral("domy"));
    const bool writable = QFileInfo::exists(houses) ? Writable(houses) : Writable(programDir);
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString userData = home.isEmpty() ? QString() : home + QStringLiteral("/tintora");
    // A shop's shared catalogue: the user's own settings, else the computer's.
    QString settings = QStandardPaths::locate(QStandardPaths::GenericConfigLocation,
                                              QStringLiteral("tintora/") + SettingsName);
    if (settings.isEmpty())
        settings = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                   QStringLiteral("/tintora/") + SettingsName;
    return ChooseProgramFolders(programDir, installed ? shared : QString(), writable, userData,
                                settings);
}

void PrepareProjectFolders(const ProgramFolders& folders) {
    const bool firstStart = folders.ProjectsApart() && !QFileInfo::exists(folders.Houses());
    QDir().mkpath(folders.Houses());
    QDir().mkpath(folders.Interiors());
    if (!firstStart)
        return;
    const QDir demo(folders.DemoHouses());
    for (const QString& name : demo.entryList(QDir::Files, QDir::Name)) {
        if (name.startsWith(QLatin1Char('.')))
            continue;
        try {
            const QByteArray bytes = RegularFile::ReadAll(demo.filePath(name), qint64(1) << 30);
            WriteFileAtomically(QDir(folders.Houses()).filePath(name), bytes);
        } catch (...) {
            // A demo that cannot be copied is no reason not to start.
        }
    }
}
