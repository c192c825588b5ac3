#include "catalogue/CatalogueLocation.h"

#include "project/Errors.h"
#include "project/ProgramFolders.h"
#include "project/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace {

// "host:path" or "host/port:path", the way Firebird's client tells a server from a
// file: a host (or an IPv6 address in brackets) before the first colon.
const QRegularExpression
    ServerName(QStringLiteral(R"(^(\[[^\]]+\]|[^/:\[\]\s]+)(?:/([^:]*))?:(.*)$)"));
const QRegularExpression ServiceName(QStringLiteral(R"(^[A-Za-z][A-Za-z0-9_-]*$)"));

bool ValidPort(const QString& port) {
    bool number = false;
    const int value = port.toInt(&number);
    if (number)
        return value >= 1 && value <= 65535;
    return ServiceName.match(port).hasMatch();
}

[[noreturn]] void Refuse(const QString& name, const QString& reason) {
    throw DatabaseError(
        QStringLiteral("V nastavení %1 je chybný katalog barev „%2“: %3.\nZadejte soubor, "
                       "nebo databázi na serveru jako server:cesta či server/port:cesta.")
            .arg(CatalogueSettings::FileName, name, reason));
}

// A value as written: QSettings splits an unquoted value at its commas.
QString Text(const QSettings& settings, const QString& key) {
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

} // namespace

QString CatalogueLocation::Server() const {
    return port.isEmpty() ? host : host + QLatin1Char('/') + port;
}

QString CatalogueLocation::ConnectionName() const {
    return OnServer() ? Server() + QLatin1Char(':') + path : path;
}

QString CatalogueLocation::DisplayName() const {
    return OnServer() ? ConnectionName() : QDir::toNativeSeparators(path);
}

CatalogueLocation CatalogueLocation::File(const QString& path) {
    CatalogueLocation location;
    location.path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return location;
}

namespace CatalogueSettings {

CatalogueLocation ParseDatabaseName(const QString& name, const QString& appDir) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return CatalogueLocation::File(QDir(appDir).filePath(QStringLiteral("odrex.tom")));
    const QRegularExpressionMatch server = ServerName.match(trimmed);
    if (!server.hasMatch())
        return CatalogueLocation::File(QDir(appDir).absoluteFilePath(trimmed));
    CatalogueLocation location;
    location.host = server.captured(1);
    location.port = server.captured(2);
    location.path = server.captured(3).trimmed();
    if (server.capturedStart(2) >= 0 && !ValidPort(location.port))
        Refuse(trimmed, QStringLiteral("port „%1“ není číslo od 1 do 65535 ani jméno služby")
                            .arg(location.port));
    if (location.path.isEmpty())
        Refuse(trimmed, QStringLiteral("za dvojtečkou chybí cesta k databázi na serveru"));
    return location;
}

CatalogueLocation Read(const QString& appDir) {
    const ProgramFolders folders = LocateProgramFolders(appDir);
    const QString& ini = folders.Settings;
    const QFileInfo info(ini);
    if (!info.exists() && !info.isSymLink())
        return ParseDatabaseName(QString(), folders.Data);
    // Only a regular file: a FIFO in its place would hold the start-up forever.
    if (!RegularFile::CanOpen(ini))
        throw DatabaseError(QStringLiteral("Nastavení katalogu barev %1 nelze přečíst.")
                                .arg(QDir::toNativeSeparators(ini)));
    const QSettings settings(ini, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        throw DatabaseError(
            QStringLiteral("Nastavení katalogu barev %1 nelze přečíst: soubor není ve formátu INI.")
                .arg(QDir::toNativeSeparators(ini)));
    CatalogueLocation location = ParseDatabaseName(Text(settings, DatabaseKey), folders.Data);
    if (settings.contains(UserKey))
        location.user = Text(settings, UserKey).trimmed();
    if (settings.contains(PasswordKey))
        location.password = Text(settings, PasswordKey);
    return location;
}

} // namespace CatalogueSettings
