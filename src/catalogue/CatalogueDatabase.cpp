#include "catalogue/CatalogueDatabase.h"
#include "catalogue/FirebirdLockFolder.h"

#include "project/EndRequest.h"
#include "project/Errors.h"
#include "project/MessageText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>

#include <algorithm>

#include <sys/resource.h>
#include <unistd.h>

namespace {

QString TrimmedRight(QString text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text;
}

// The embedded engine keeps its lock table in a file of 1 MB that it maps into
// memory; under a smaller file size limit (ulimit -f) the file cannot grow and the
// first touch of the mapping ends the process with a bus error. Measured: a limit
// of 1023 kB ends it, 1024 kB does not.
constexpr rlim_t EmbeddedEngineFileBytes = 1024 * 1024;

void CheckFileSizeLimit(const QString& native) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        limit.rlim_cur >= EmbeddedEngineFileBytes)
        return;
    throw DatabaseError(
        QStringLiteral("Katalog barev %1 nelze otevřít: systém dovoluje jen soubory do %2 kB, "
                       "databáze potřebuje soubory o velikosti nejméně %3 kB (omezení "
                       "„ulimit -f“).")
            .arg(native, QString::number(limit.rlim_cur / 1024),
                 QString::number(EmbeddedEngineFileBytes / 1024)));
}

} // namespace

int CatalogueRow::IndexOf(const QString& column) const {
    const int index = result_.columns.indexOf(column);
    if (index < 0)
        throw DatabaseError(
            QStringLiteral("Katalog barev neobsahuje sloupec %1.").arg(MessageText::Value(column)));
    return index;
}

bool CatalogueRow::IsNullAt(int index) const {
    return result_.nulls[first_ + index];
}

int CatalogueRow::IntAt(int index) const {
    const QVariant& value = result_.values[first_ + index];
    if (value.typeId() == QMetaType::QString) // a number kept in a CHAR column
        return TrimmedRight(value.toString()).toInt();
    return value.toInt();
}

QString CatalogueRow::TextAt(int index) const {
    return TrimmedRight(result_.values[first_ + index].toString());
}

CatalogueDatabase::CatalogueDatabase() = default;

CatalogueDatabase::~CatalogueDatabase() = default;

bool CatalogueDatabase::IsOpen() const {
    return open_;
}

CatalogueConnection::KeepWaiting
CatalogueDatabase::KeepWaitingFor(const CatalogueLocation& location) const {
    const auto timeout = std::chrono::seconds(location.timeoutSeconds);
    return [this, timeout](std::chrono::milliseconds waited) {
        return waited < timeout && EndRequest::Signal() == 0 &&
               (!waiting_ || waiting_->KeepWaiting(waited));
    };
}

void CatalogueDatabase::GiveUp(bool opening) {
    open_ = false;
    connection_.reset(); // left behind, its thread still waiting
    if (EndRequest::Signal() != 0)
        throw DatabaseError(QStringLiteral("Program končí."));
    const QString native = location_.DisplayName();
    if (opening && location_.OnServer())
        throw DatabaseError(
            QStringLiteral("Katalog barev %1 na serveru %2 nelze otevřít: server neodpovídá.")
                .arg(MessageText::Value(location_.path, MessageText::PathChars),
                     MessageText::Value(location_.Server())));
    if (opening)
        throw DatabaseError(
            QStringLiteral("Katalog barev %1 nelze otevřít: databáze neodpovídá.").arg(native));
    if (location_.OnServer())
        throw DatabaseError(QStringLiteral("Server %1 s katalogem barev přestal odpovídat; "
                                           "program dál pracuje bez katalogu barev.")
                                .arg(MessageText::Value(location_.Server())));
    throw DatabaseError(
        QStringLiteral("Katalog barev %1 přestal odpovídat; program dál pracuje bez něj.")
            .arg(native));
}

void CatalogueDatabase::Open(const CatalogueLocation& location) {
    if (IsOpen())
        return;
    const QString native = location.DisplayName();
    // A server looks for its own files and names what it misses in its message.
    if (!location.OnServer() && !QFileInfo::exists(location.path))
        throw DatabaseError(
            QStringLiteral("Katalog barev %1 nelze otevřít: soubor neexistuje.").arg(native));
    if (!location.OnServer()) {
        CheckFileSizeLimit(native);
        UseUsableFirebirdLockFolder();
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QIBASE")))
        throw DatabaseError(
            QStringLiteral("Katalog barev %1 nelze otevřít: chybí ovladač databáze Firebird.")
                .arg(native));
    location_ = location;
    connection_ = std::make_unique<CatalogueConnection>();
    connection_->SetClosing([](std::chrono::milliseconds waited) {
        return waited < std::chrono::seconds(5) && EndRequest::Signal() == 0;
    });
    QString reason;
    const WaitingEnds ends{waiting_};
    const auto outcome =
        connection_->Open(location.ConnectionName(), location.user, location.password,
                          QStringLiteral("ISC_DPB_LC_CTYPE=WIN1250;ISC_DPB_SQL_DIALECT=3"),
                          KeepWaitingFor(location), &reason);
    if (outcome == CatalogueConnection::Outcome::NoAnswer)
        GiveUp(true);
    if (outcome == CatalogueConnection::Outcome::Done) {
        open_ = true;
        return;
    }
    connection_.reset();
    reason = MessageText::Paragraph(reason);
    if (location.OnServer())
        throw DatabaseError(QStringLiteral("Katalog barev %1 na serveru %2 nelze otevřít.\n%3")
                                .arg(MessageText::Value(location.path, MessageText::PathChars),
                                     MessageText::Value(location.Server()), reason));
    // The embedded engine lets one process at a time open a database.
    if (reason.contains(QLatin1String("already opened with engine instance")))
        throw CatalogueInUseError(
            QStringLiteral("Katalog barev %1 právě používá jiný spuštěný program, nejspíš další "
                           "okno Tintory.\nKatalog barev může mít otevřený jen jeden program "
                           "najednou: zavřete ten druhý a spusťte Tintoru znovu.\n%2")
                .arg(native, reason));
    // Firebird opens a database for writing unless it is marked read-only; a
    // file the user may only read must be made writable or marked so.
    if (::access(QFile::encodeName(location.path).constData(), W_OK) != 0)
        throw DatabaseError(
            QStringLiteral("Katalog barev %1 nelze otevřít: soubor je jen pro čtení.\n"
                           "Povolte zápis do souboru katalogu, nebo katalog převeďte na "
                           "databázi jen pro čtení příkazem „gfix -mode read_only“.\n%2")
                .arg(native, reason));
    throw DatabaseError(QStringLiteral("Katalog barev %1 nelze otevřít.\n%2").arg(native, reason));
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
    RunTogether({{statement, onRow}}, yield);
}

void CatalogueDatabase::RunEach(const QList<Statement>& statements) {
    RunTogether(statements, false);
}

void CatalogueDatabase::RunTogether(const QList<Statement>& statements, bool yield) {
    if (!IsOpen())
        throw DatabaseError(QStringLiteral("Katalog barev není otevřen."));
    if (busy_)
        throw DatabaseError(QStringLiteral("Katalog barev ještě načítá předchozí výsledek."));
    if (statements.isEmpty())
        return;
    busy_ = true;
    struct Release {
        bool& flag;
        ~Release() { flag = false; }
    } release{busy_};
    QStringList texts;
    for (const Statement& statement : statements)
        texts << statement.text;
    QList<CatalogueConnection::Result> results;
    QString reason;
    const WaitingEnds ends{waiting_};
    ++callCount_;
    const auto outcome = connection_->RunEach(texts, KeepWaitingFor(location_), &results, &reason);
    // Those that ran: all, or those before the one that failed and that one.
    const qsizetype ran = outcome == CatalogueConnection::Outcome::Failed
                              ? std::min(results.size() + 1, texts.size())
                              : texts.size();
    statementCount_ += int(ran);
    lastStatement_ = texts[ran - 1];
    if (outcome == CatalogueConnection::Outcome::NoAnswer)
        GiveUp(false);
    for (qsizetype s = 0; s < results.size(); ++s) {
        const CatalogueConnection::Result& result = results[s];
        for (qsizetype i = 0; i < result.RowCount(); ++i) {
            if (!statements[s].onRow(CatalogueRow(result, i)))
                break;
            if (yield)
                QCoreApplication::processEvents();
        }
    }
    if (outcome == CatalogueConnection::Outcome::Failed)
        throw DatabaseError(QStringLiteral("Dotaz do katalogu barev se nezdařil.\n%1")
                                .arg(MessageText::Paragraph(reason)));
}
