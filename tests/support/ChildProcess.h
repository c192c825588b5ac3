#pragma once

#include <QProcess>
#include <QString>

#include <sys/types.h>

// Child processes of the tests: the real program and probes, started as another
// user where the test must meet permissions, and watched through /proc.
namespace ChildProcess {

// Permissions do not bind root: a child that must meet a read-only place runs as
// "nobody" then. Otherwise the child runs as the test's own user.
struct User {
    uid_t uid;
    gid_t gid;
    bool switched;
};
User UnprivilegedUser();

// Starts process as user (with its supplementary groups dropped).
void RunAs(QProcess& process, const User& user);

// Makes path (a folder the test made) the user's and lets everybody pass through
// the folders above it that the test made (QTemporaryDir makes them private).
void HandTo(const QString& path, const User& user);
void OpenForAll(const QString& folder);

// Whether the process ignores the signal (the SigIgn mask of /proc/PID/status).
bool Ignores(qint64 pid, int signal);

// Waits until Ignores(pid, signal) or the process ends; false on timeout.
bool WaitUntilIgnored(QProcess& process, int signal, int timeoutMs);

// Copies a folder with everything in it; false on failure.
bool CopyFolder(const QString& from, const QString& to);

// Takes write permission away from a folder and everything in it.
void MakeReadOnly(const QString& folder);

} // namespace ChildProcess
