#pragma once

#include <QString>

// Where the catalogue lies and who reads it: a file opened by the embedded engine, or
// a database on a Firebird server that several computers share.
struct CatalogueLocation {
    QString host; // the server; empty for a file opened embedded
    QString port; // the server's port number or service name; empty for its default
    QString path; // the file, or the path (or alias) by which the server knows the database
    QString user = QStringLiteral("SYSDBA");
    QString password = QStringLiteral("pinewoods");

    bool OnServer() const { return !host.isEmpty(); }
    // The server as Firebird names it: "host" or "host/port".
    QString Server() const;
    // What the client library is given: "host/port:path" on a server, else the file.
    QString ConnectionName() const;
    // For messages: the server's name and path, or the file's native path.
    QString DisplayName() const;

    // The file at path (made absolute), read with the program's own user and password.
    static CatalogueLocation File(const QString& path);
};

// The optional file tintora.ini beside the program (for a program installed by its
// package: the user's ~/.config/tintora/tintora.ini, else the computer's
// /etc/xdg/tintora/tintora.ini) names another catalogue than odrex.tom beside the
// program (installed: in its data folder, share/tintora); the INI file holds, in the
// section [catalogue]:
//   database = a file (relative to that folder of odrex.tom) or a server's "host:path"
//              or "host/port:path" (the path, or an alias, as the server knows it)
//   user     = the user name (SYSDBA when not given)
//   password = the password (the program's own when not given)
namespace CatalogueSettings {

inline const QString FileName = QStringLiteral("tintora.ini");
inline const QString DatabaseKey = QStringLiteral("catalogue/database");
inline const QString UserKey = QStringLiteral("catalogue/user");
inline const QString PasswordKey = QStringLiteral("catalogue/password");

// The catalogue the program in appDir uses: the one tintora.ini names, else its
// odrex.tom. Throws DatabaseError with a Czech message when tintora.ini cannot
// be read or its database value is not a name Firebird understands.
CatalogueLocation Read(const QString& appDir);

// A database name as tintora.ini holds it: "host:path" and "host/port:path" (the host
// may be an IPv6 address in brackets) name a server, anything else a file, relative to
// appDir unless absolute. Throws DatabaseError for a server name with an empty path or
// a port that is neither a number of 1 to 65535 nor a service name.
CatalogueLocation ParseDatabaseName(const QString& name, const QString& appDir);

} // namespace CatalogueSettings
