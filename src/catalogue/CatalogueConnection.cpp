#include "catalogue/CatalogueConnection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

std::atomic<int> stillWaiting{0};

constexpr auto Tick = std::chrono::milliseconds(20);

// Runs one statement through the connection's query and reads all its rows; false
// puts the client's text into error.
bool ReadAll(QSqlQuery& query, const QString& statement, CatalogueConnection::Result& result,
             QString& error) {
    if (!query.exec(statement)) {
        error = query.lastError().text();
        query.finish();
        return false;
    }
    result.columns = query.record();
    const int count = result.columns.count();
    while (query.next()) {
        for (int i = 0; i < count; ++i) {
            result.nulls.append(query.isNull(i));
            result.values.append(query.value(i));
        }
    }
    query.finish();
    return true;
}

} // namespace

qsizetype CatalogueConnection::Result::RowCount() const {
    return columns.isEmpty() ? 0 : values.size() / columns.count();
}

// One call as both threads see it; the connection's thread fills it in.
struct CatalogueConnection::Call {
    bool ok = false;
    QString error;
    QList<Result> results; // one for each statement that ran well, in order
};

struct CatalogueConnection::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    struct Job {
        std::function<void(Call&)> work;
        std::shared_ptr<Call> call;
        std::shared_ptr<bool> done;
    };
    std::deque<Job> jobs;
    bool stopping = false;
    bool leftBehind = false;
    bool finished = false;
    std::thread thread;

    // Only the connection's thread touches these.
    QString connectionName =
        QStringLiteral("katalog-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<QSqlQuery> query;

    static void Loop(std::shared_ptr<Shared> self);
    void Close();
};

void CatalogueConnection::Shared::Loop(std::shared_ptr<Shared> self) {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(self->mutex);
            self->changed.wait(
                lock, [&] { return !self->jobs.empty() || self->stopping || self->leftBehind; });
            if (self->jobs.empty() || self->leftBehind)
                break;
            job = std::move(self->jobs.front());
            self->jobs.pop_front();
        }
        job.work(*job.call);
        std::lock_guard lock(self->mutex);
        *job.done = true;
        self->changed.notify_all();
    }
    self->Close();
    std::lock_guard lock(self->mutex);
    self->finished = true;
    if (self->leftBehind)
        --stillWaiting;
    self->changed.notify_all();
}

void CatalogueConnection::Shared::Close() {
    query.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isValid() && db.isOpen()) {
            db.rollback(); // nothing was written; a connection detaches only without it
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connectionName);
}

CatalogueConnection::CatalogueConnection()
    : shared_(std::make_shared<Shared>()),
      closing_([](std::chrono::milliseconds waited) { return waited < std::chrono::seconds(5); }) {
    shared_->thread = std::thread(&Shared::Loop, shared_);
}

CatalogueConnection::~CatalogueConnection() {
    std::unique_lock lock(shared_->mutex);
    shared_->stopping = true;
    shared_->changed.notify_all();
    const auto start = std::chrono::steady_clock::now();
    while (!shared_->finished && !shared_->leftBehind) {
        if (shared_->changed.wait_for(lock, Tick, [&] { return shared_->finished; }))
            break;
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        lock.unlock();
        const bool keep = closing_(waited);
        lock.lock();
        if (!keep && !shared_->finished) {
            shared_->leftBehind = true;
            ++stillWaiting;
        }
    }
    if (shared_->finished) {
        lock.unlock();
        shared_->thread.join();
    } else {
        shared_->thread.detach();
    }
}

void CatalogueConnection::SetClosing(KeepWaiting keepWaiting) {
    closing_ = std::move(keepWaiting);
}

bool CatalogueConnection::LeftBehind() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->leftBehind;
}

int CatalogueConnection::StillWaiting() {
    return stillWaiting.load();
}

CatalogueConnection::Outcome CatalogueConnection::Submit(std::function<void(Call&)> work,
                                                         const KeepWaiting& keepWaiting,
                                                         Call& call) {
    auto shared = std::make_shared<Call>();
    auto done = std::make_shared<bool>(false);
    std::unique_lock lock(shared_->mutex);
    if (shared_->leftBehind)
        return Outcome::NoAnswer;
    shared_->jobs.push_back({std::move(work), shared, done});
    shared_->changed.notify_all();
    const auto start = std::chrono::steady_clock::now();
    while (!*done) {
        if (shared_->changed.wait_for(lock, Tick, [&] { return *done; }))
            break;
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        lock.unlock();
        const bool keep = keepWaiting(waited);
        lock.lock();
        if (!keep && !*done) {
            shared_->leftBehind = true;
            shared_->jobs.clear();
            ++stillWaiting;
            return Outcome::NoAnswer;
        }
    }
    call = std::move(*shared);
    return call.ok ? Outcome::Done : Outcome::Failed;
}

CatalogueConnection::Outcome
CatalogueConnection::Open(const QString& databaseName, const QString& user, const QString& password,
                          const QString& options, const KeepWaiting& keepWaiting, QString* error) {
    Shared* shared = shared_.get();
    Call call;
    const Outcome outcome = Submit(
        [=](Call& c) {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), shared->connectionName);
            db.setDatabaseName(databaseName);
            db.setUserName(user);
            db.setPassword(password);
            db.setConnectOptions(options);
            if (!db.open()) {
                c.error = db.lastError().text();
                return;
            }
            // One transaction for the life of the connection: the catalogue is only
            // read, and a transaction started and committed around every statement
            // costs a write to the database file each time.
            db.transaction();
            shared->query = std::make_unique<QSqlQuery>(db);
            shared->query->setForwardOnly(true);
            c.ok = true;
        },
        keepWaiting, call);
    if (error)
        *error = call.error;
    return outcome;
}

CatalogueConnection::Outcome CatalogueConnection::Run(const QString& statement,
                                                      const KeepWaiting& keepWaiting,
                                                      Result* result, QString* error) {
    QList<Result> results;
    const Outcome outcome = RunEach({statement}, keepWaiting, &results, error);
    if (result)
        *result = results.isEmpty() ? Result() : std::move(results.first());
    return outcome;
}

CatalogueConnection::Outcome CatalogueConnection::RunEach(const QStringList& statements,
                                                          const KeepWaiting& keepWaiting,
                                                          QList<Result>* results, QString* error) {
    Shared* shared = shared_.get();
    Call call;
    const Outcome outcome = Submit(
        [=](Call& c) {
            if (!shared->query) {
                c.error = QStringLiteral("no connection");
                return;
            }
            for (const QString& statement : statements) {
                Result result;
                if (!ReadAll(*shared->query, statement, result, c.error))
                    return;
                c.results.append(std::move(result));
            }
            c.ok = true;
        },
        keepWaiting, call);
    if (results)
        *results = std::move(call.results);
    if (error)
        *error = call.error;
    return outcome;
}
