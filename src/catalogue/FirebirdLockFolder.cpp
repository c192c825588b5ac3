#include "catalogue/FirebirdLockFolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool UsableFolder(const QString& path) {
    struct stat info {};
    const QByteArray native = QFile::encodeName(path);
    return ::stat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(native.constData(), R_OK | W_OK | X_OK) == 0;
}

// A folder of the user's own: made if missing, and taken only when it is a real folder
// (no link) that belongs to the user, so that nobody else's folder in /tmp is used.
bool OwnFolder(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info {};
    return ::lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

} // namespace

QString PrivateFirebirdLockFolder(const QString& sharedFolder, const QString& runtimeFolder,
                                  const QString& temporaryFolder) {
    if (UsableFolder(sharedFolder))
        return {};
    if (!runtimeFolder.isEmpty() && UsableFolder(runtimeFolder)) {
        const QString folder = QDir(runtimeFolder).filePath(QStringLiteral("tintora-firebird"));
        if (OwnFolder(folder))
            return folder;
    }
    const QString folder =
        QDir(temporaryFolder).filePath(QStringLiteral("tintora-firebird-%1").arg(::geteuid()));
    return OwnFolder(folder) ? folder : QString();
}

void UseUsableFirebirdLockFolder() {
    if (!qEnvironmentVariableIsEmpty("FIREBIRD_LOCK"))
        return;
    const QString folder = PrivateFirebirdLockFolder(
        QStringLiteral("/tmp/firebird"), qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath());
    if (!folder.isEmpty())
        qputenv("FIREBIRD_LOCK", QFile::encodeName(folder));
}
