#pragma once

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <chrono>
#include <functional>
#include <memory>

// The catalogue's connection on a thread of its own. The database client waits
// minutes for a server that accepts a connection and never answers, and nothing
// can interrupt it; the program must not wait with it. Every call runs on that
// thread, one at a time, while the caller waits only as long as it chooses: a call
// it stops waiting for leaves the connection behind, still waiting on its thread,
// which ends once the client gives up.
class CatalogueConnection {
public:
    // The rows of one statement, read whole on the connection's thread.
    struct Result {
        QSqlRecord columns;
        QList<QVariant> values; // row after row, columns.count() values each
        QList<bool> nulls;      // the same, whether each value is NULL
        qsizetype RowCount() const;
    };

    // Called on the waiting thread every few tens of milliseconds while the
    // connection has not answered, with the time waited; false stops waiting.
    using KeepWaiting = std::function<bool(std::chrono::milliseconds waited)>;

    enum class Outcome { Done, Failed, NoAnswer };

    CatalogueConnection();
    // Closes the connection, waiting as keepWaiting allows; one that does not close
    // in that time is left behind.
    ~CatalogueConnection();
    CatalogueConnection(const CatalogueConnection&) = delete;
    CatalogueConnection& operator=(const CatalogueConnection&) = delete;

    // Connects with the driver's QIBASE plugin and starts the one read transaction.
    // Failed puts the client's text into error.
    Outcome Open(const QString& databaseName, const QString& user, const QString& password,
                 const QString& options, const KeepWaiting& keepWaiting, QString* error);
    // Runs a statement and reads every row. Failed puts the client's text into error.
    Outcome Run(const QString& statement, const KeepWaiting& keepWaiting, Result* result,
                QString* error);
    // Runs statements one after another in one call, so that the caller waits for the
    // connection's thread once for all of them. The first that fails ends the call
    // (Failed, its text in error); results then hold the rows of those before it.
    Outcome RunEach(const QStringList& statements, const KeepWaiting& keepWaiting,
                    QList<Result>* results, QString* error);

    // A call was not waited for: the connection answers nothing any more.
    bool LeftBehind() const;

    // How long the destructor waits for the connection to close.
    void SetClosing(KeepWaiting keepWaiting);

    // Connections left behind whose thread still waits in the client library: the
    // process must then end without running the library's own clean-up.
    static int StillWaiting();

private:
    struct Shared;
    struct Call;
    Outcome Submit(std::function<void(Call&)> work, const KeepWaiting& keepWaiting, Call& call);

    std::shared_ptr<Shared> shared_;
    KeepWaiting closing_;
};
