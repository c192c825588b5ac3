#pragma once

#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A Firebird server of the test's own: its configuration, security database, lock
// folder and databases in a temporary folder, listening on a free port of 127.0.0.1
// only. A server the system may run on its usual port is neither used nor disturbed.
class TestFirebirdServer {
public:
    struct Account {
        QString user;
        QString password;
    };

    // The first account is the server's administrator (SYSDBA).
    explicit TestFirebirdServer(QList<Account> accounts);
    ~TestFirebirdServer();
    TestFirebirdServer(const TestFirebirdServer&) = delete;
    TestFirebirdServer& operator=(const TestFirebirdServer&) = delete;

    // Makes the security database with the accounts, starts the server and waits
    // until it takes connections. Returns an empty string, or what failed followed
    // by the server's log.
    QString Start();
    // Ends the server (and waits for it); the databases are then free again.
    void Stop();
    bool Running() const;

    int Port() const { return port_; }
    // The server's process, for a test that stops and continues it.
    qint64 ProcessId() const { return server_.processId(); }
    // The folder of the databases the server may open.
    QString DataFolder() const;
    QString DataFile(const QString& name) const;
    // "127.0.0.1/PORT:path": the name a client gives for a database of the server.
    QString DatabaseName(const QString& path) const;
    // What the server wrote: its output and its new lines in the system's Firebird log.
    QString Log();

private:
    QString WriteConfiguration();
    QString MakeSecurityDatabase();
    QString StartOnce(bool& endedEarly);
    QString Failure(const QString& what);
    QProcessEnvironment Environment() const;

    QList<Account> accounts_;
    QTemporaryDir root_;
    QProcess server_;
    int port_ = 0;
    QByteArray output_;
    qint64 systemLogStart_ = 0;
};
