#pragma once

#include "catalogue/CatalogueConnection.h"
#include "catalogue/CatalogueLocation.h"
#include "project/Errors.h"

#include <QString>
#include <QVariant>
#include <chrono>
#include <functional>
#include <memory>

// One row of a statement's result: columns read by name, NULL told apart.
class CatalogueRow {
public:
    CatalogueRow(const CatalogueConnection::Result& result, qsizetype row)
        : result_(result), first_(row * result.columns.count()) {}
    bool IsNull(const QString& column) const { return IsNullAt(IndexOf(column)); }
    int Int(const QString& column) const { return IntAt(IndexOf(column)); }
    // Text without the blanks that CHAR columns are padded with.
    QString Text(const QString& column) const { return TextAt(IndexOf(column)); }

    // For readers of many rows: look the columns up once, then read by position.
    int IndexOf(const QString& column) const;
    bool IsNullAt(int index) const;
    int IntAt(int index) const;
    QString TextAt(int index) const;

private:
    const CatalogueConnection::Result& result_;
    qsizetype first_; // where the row's values begin
};

// An embedded catalogue that another running program holds open (the embedded engine
// lets one process at a time open a database file).
class CatalogueInUseError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

// What the program does while the catalogue has not answered yet.
class CatalogueWaiting {
public:
    virtual ~CatalogueWaiting() = default;
    // Called every few tens of milliseconds with the time waited; false gives up
    // waiting (the user chose to go on without the catalogue).
    virtual bool KeepWaiting(std::chrono::milliseconds waited) = 0;
    // The call waited for has ended, answered or given up.
    virtual void WaitingEnded() {}
};

// The catalogue database: "odrex.tom" opened embedded through Firebird's client
// library, or a database on a Firebird server, read by the same statements through the
// same driver. One connection and one query object for the life of the program, on a
// thread of their own: a server that stops answering is waited for only as long as
// the location's timeout (and the program's waiting allows), and never once the
// program is asked to end; the program then goes on without the catalogue.
// Failures throw DatabaseError with a Czech message.
class CatalogueDatabase {
public:
    static constexpr int RequiredVersion = 0;

    CatalogueDatabase();
    ~CatalogueDatabase();
    CatalogueDatabase(const CatalogueDatabase&) = delete;
    CatalogueDatabase& operator=(const CatalogueDatabase&) = delete;

    // What the program does while the catalogue has not answered yet (the timeout
    // holds all the same); none when null.
    void SetWaiting(CatalogueWaiting* waiting) { waiting_ = waiting; }

    // Connects (once; later calls change nothing while it is open). CatalogueInUseError
    // for an embedded file that another running program holds.
    void Open(const CatalogueLocation& location);
    // The file at path, with the program's own user and password.
    void Open(const QString& path) { Open(CatalogueLocation::File(path)); }
    bool IsOpen() const;
    const CatalogueLocation& Location() const { return location_; }
    // The version row of the table verze.
    int Version();

    // Runs a statement and hands each row to onRow, in order; onRow returns false
    // to stop early. With yield set, pending window events run after each row.
    // A statement cannot start while another one is still reading its rows.
    void Run(const QString& statement, const std::function<bool(const CatalogueRow&)>& onRow,
             bool yield = false);
    // A statement and what takes its rows, as Run takes them.
    struct Statement {
        QString text;
        std::function<bool(const CatalogueRow&)> onRow;
    };
    // Runs the statements in order as Run runs each, handed to the connection's thread
    // together: the program waits once for them all instead of once for each. The rows
    // are handed on once the last statement ran; one that fails throws after the rows
    // of those before it were handed on, and those after it do not run.
    void RunEach(const QList<Statement>& statements);
    bool Busy() const { return busy_; }
    // How many statements ran so far, and the text of the last one: lets a reader
    // see that a window asks the catalogue anew instead of keeping old answers.
    int StatementCount() const { return statementCount_; }
    const QString& LastStatement() const { return lastStatement_; }
    // How many times the program handed statements to the connection's thread and
    // waited for its answer: once per Run, once per RunEach.
    int CallCount() const { return callCount_; }

private:
    CatalogueConnection::KeepWaiting KeepWaitingFor(const CatalogueLocation& location) const;
    // Tells the waiting that a call has ended, however it ends.
    struct WaitingEnds {
        CatalogueWaiting* waiting;
        ~WaitingEnds() {
            if (waiting)
                waiting->WaitingEnded();
        }
    };
    // The catalogue stopped answering: it is given up for the rest of the run.
    [[noreturn]] void GiveUp(bool opening);
    // What Run and RunEach share: the statements as one call to the connection.
    void RunTogether(const QList<Statement>& statements, bool yield);

    std::unique_ptr<CatalogueConnection> connection_;
    bool open_ = false;
    CatalogueLocation location_;
    CatalogueWaiting* waiting_ = nullptr;
    bool busy_ = false;
    int statementCount_ = 0;
    int callCount_ = 0;
    QString lastStatement_;
};
