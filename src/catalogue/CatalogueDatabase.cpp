#include "catalogue/CatalogueDatabase.h"
#include "catalogue/FirebirdLockFolder.h"

#include "project/Errors.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QUuid>

#include <unistd.h>

namespace {

QString TrimmedRight(QString text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text;
}

} // namespace

int CatalogueRow::IndexOf(const QString& column) const {
    const int index = record_.indexOf(column);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Katalog barev neobsahuje sloupec %1.").arg(column));
    return index;
}

bool CatalogueRow::IsNullAt(int index) const {
    return query_.isNull(index);
}

int CatalogueRow::IntAt(int index) const {
    const QVariant value = query_.value(index);
    if (value.typeId() == QMetaType::QString) // a number kept in a CHAR column
        return TrimmedRight(value.toString()).toInt();
    return value.toInt();
}

QString CatalogueRow::TextAt(int index) const {
    return TrimmedRight(query_.value(index).toString());
}

CatalogueDatabase::CatalogueDatabase()
    : connectionName_(QStringLiteral("katalog-") +
                      QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

CatalogueDatabase::~CatalogueDatabase() {
    query_.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        if (db.isValid()) {
            db.rollback(); // nothing was written; a connection detaches only without it
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

bool CatalogueDatabase::IsOpen() const {
    return query_ != nullptr;
}

void CatalogueDatabase::Open(const CatalogueLocation& location) {
    if (IsOpen())
        return;
    const QString native = location.DisplayName();
    // A server looks for its own files and names what it misses in its message.
    if (!location.OnServer() && !QFileInfo::exists(location.path))
        throw DatabaseError(
            QStringLiteral("Katalog barev %1 nelze otevřít: soubor neexistuje.").arg(native));
    if (!location.OnServer())
        UseUsableFirebirdLockFolder();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QIBASE")))
        throw DatabaseError(
            QStringLiteral("Katalog barev %1 nelze otevřít: chybí ovladač databáze Firebird.")
                .arg(native));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), connectionName_);
    db.setDatabaseName(location.ConnectionName());
    db.setUserName(location.user);
    db.setPassword(location.password);
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=WIN1250;ISC_DPB_SQL_DIALECT=3"));
    if (!db.open()) {
        const QString reason = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
        if (location.OnServer())
            throw DatabaseError(QStringLiteral("Katalog barev %1 na serveru %2 nelze otevřít.\n%3")
                                    .arg(location.path, location.Server(), reason));
        // Firebird opens a database for writing unless it is marked read-only; a
        // file the user may only read must be made writable or marked so.
        if (::access(QFile::encodeName(location.path).constData(), W_OK) != 0)
            throw DatabaseError(
                QStringLiteral("Katalog barev %1 nelze otevřít: soubor je jen pro čtení.\n"
                               "Povolte zápis do souboru katalogu, nebo katalog převeďte na "
                               "databázi jen pro čtení příkazem „gfix -mode read_only“.\n%2")
                    .arg(native, reason));
        throw DatabaseError(
            QStringLiteral("Katalog barev %1 nelze otevřít.\n%2").arg(native, reason));
    }
    // One transaction for the life of the connection: the catalogue is only read, and
    // a transaction started and committed around every statement costs a write to the
    // database file each time.
    db.transaction();
    location_ = location;
    query_ = std::make_unique<QSqlQuery>(db);
    query_->setForwardOnly(true);
}

int CatalogueDatabase::Version() {
    int version = -1;
    Run(QStringLiteral("SELECT verze_exe FROM verze;"), [&version](const CatalogueRow& row) {
        version = row.Int(QStringLiteral("verze_exe"));
        return false;
    });
    return version;
}

void CatalogueDatabase::Run(const QString& statement,
                            const std::function<bool(const CatalogueRow&)>& onRow, bool yield) {
    if (!IsOpen())
        throw DatabaseError(QStringLiteral("Katalog barev není otevřen."));
    if (busy_)
        throw DatabaseError(QStringLiteral("Katalog barev ještě načítá předchozí výsledek."));
    busy_ = true;
    struct Release {
        bool& flag;
        QSqlQuery& query;
        ~Release() {
            query.finish();
            flag = false;
        }
    } release{busy_, *query_};
    ++statementCount_;
    lastStatement_ = statement;
    if (!query_->exec(statement))
        throw DatabaseError(QStringLiteral("Dotaz do katalogu barev se nezdařil.\n%1")
                                .arg(query_->lastError().text()));
    const CatalogueRow row(*query_);
    while (query_->next()) {
        if (!onRow(row))
            break;
        if (yield)
            QCoreApplication::processEvents();
    }
}
