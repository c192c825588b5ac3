#include "support/ChildProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ChildProcess {

User UnprivilegedUser() {
    if (::geteuid() != 0)
        return {::geteuid(), ::getegid(), false};
    const passwd* nobody = ::getpwnam("nobody");
    return nobody ? User{nobody->pw_uid, nobody->pw_gid, true} : User{65534, 65534, true};
}

void RunAs(QProcess& process, const User& user) {
    if (!user.switched)
        return;
    process.setChildProcessModifier([user] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0)
            ::_exit(125);
    });
}

void HandTo(const QString& path, const User& user) {
    if (user.switched)
        ::chown(QFile::encodeName(path).constData(), user.uid, user.gid);
}

void OpenForAll(const QString& folder) {
    ::chmod(QFile::encodeName(folder).constData(), 0755);
}

bool Ignores(qint64 pid, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigIgn:")) {
            bool ok = false;
            const quint64 mask = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (mask >> (signal - 1)) & 1;
        }
    }
    return false;
}

bool WaitUntilIgnored(QProcess& process, int signal, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (process.state() != QProcess::Running)
            return false;
        if (Ignores(process.processId(), signal))
            return true;
        process.waitForFinished(100);
    }
    return false;
}

bool CopyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir() ? !CopyFolder(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

void MakeReadOnly(const QString& folder) {
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList paths;
    while (it.hasNext())
        paths << it.next();
    paths << folder;
    for (const QString& path : paths) {
        const QByteArray name = QFile::encodeName(path);
        struct stat info {};
        if (::stat(name.constData(), &info) == 0)
            ::chmod(name.constData(), info.st_mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH));
    }
}

} // namespace ChildProcess
