#pragma once

#include <QString>

// Firebird keeps the lock files of an embedded database in one folder shared by every
// user, /tmp/firebird. Whoever makes it first owns it, and everybody else is then
// refused every catalogue ("Permission denied - /tmp/firebird/"). A program that opens
// its catalogue embedded therefore uses a folder of its own user when the shared one
// is missing or not usable. A database file is opened by one process at a time, so
// separate lock folders of different users never share a database.

// The folder to name in FIREBIRD_LOCK, made with only its owner's rights, or an empty
// text when the shared folder can be used (or no folder of the user's own can be made).
// runtimeFolder is $XDG_RUNTIME_DIR (may be empty), temporaryFolder the fallback place.
QString PrivateFirebirdLockFolder(const QString& sharedFolder, const QString& runtimeFolder,
                                  const QString& temporaryFolder);

// Sets FIREBIRD_LOCK before the first embedded connection, unless the user has set it.
void UseUsableFirebirdLockFolder();
