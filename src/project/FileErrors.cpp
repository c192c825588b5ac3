#include "project/FileErrors.h"

#include "project/MessageText.h"

namespace {

QString ReasonOf(QFileDevice::FileError error, bool writing) {
    switch (error) {
    case QFileDevice::OpenError:
        return writing ? QStringLiteral("soubor nelze vytvořit")
                       : QStringLiteral("soubor nelze otevřít");
    case QFileDevice::PermissionsError:
        return QStringLiteral("přístup odepřen");
    case QFileDevice::ResourceError:
        return QStringLiteral("nedostatek místa nebo jiných prostředků");
    case QFileDevice::ReadError:
        return QStringLiteral("chyba při čtení");
    case QFileDevice::WriteError:
        return QStringLiteral("chyba při zápisu");
    case QFileDevice::RenameError:
        return QStringLiteral("soubor nelze nahradit");
    default:
        return writing ? QStringLiteral("chyba při zápisu") : QStringLiteral("chyba při čtení");
    }
}

} // namespace

QString CzechFileError(const QFileDevice& file, const QString& path, bool writing) {
    const QString verb = writing ? QStringLiteral("uložit") : QStringLiteral("načíst");
    return QStringLiteral("Soubor %1 nelze %2: %3.")
        .arg(MessageText::Path(path), verb, ReasonOf(file.error(), writing));
}

QString UnexpectedEndOfFileMessage(const QString& path) {
    return QStringLiteral("Soubor %1 nelze načíst: čtení za koncem souboru.")
        .arg(MessageText::Path(path));
}

QString NegativeCountMessage(const QString& path) {
    return QStringLiteral("Soubor %1 nelze načíst: chyba rozsahu (záporný počet záznamů).")
        .arg(MessageText::Path(path));
}
