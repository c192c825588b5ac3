#include "catalogue/PrivateCatalogueCopy.h"

#include "project/Errors.h"
#include "project/MessageText.h"
#include "project/RegularFile.h"

#include <QDir>
#include <QFile>

#include <memory>

namespace {

QString CopyFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Katalog barev %1 má otevřený jiný spuštěný program a jeho kopii "
                          "nelze vytvořit: %2.")
        .arg(MessageText::Path(path), reason);
}

// The folder of the copy: in the system's temporary folder ($TMPDIR, else /tmp), which
// Qt names by its real path and leaves empty when it does not exist.
QString FolderTemplate() {
    const QString temporary = QDir::tempPath();
    return (temporary.isEmpty() ? QStringLiteral("/tmp") : temporary) +
           QStringLiteral("/tintora-katalog-XXXXXX");
}

} // namespace

PrivateCatalogueCopy::PrivateCatalogueCopy(const QString& path) : folder_(FolderTemplate()) {
    if (!folder_.isValid())
        throw DatabaseError(CopyFailure(path, QStringLiteral("dočasnou složku nelze vytvořit")));
    std::unique_ptr<QFile> source;
    try {
        source = RegularFile::Open(path);
    } catch (const IoError& error) {
        throw DatabaseError(error.message());
    }
    path_ = folder_.filePath(QStringLiteral("katalog.tom"));
    QFile copy(path_);
    // The engine opens the file for writing; only this user may.
    if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        !copy.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
        throw DatabaseError(CopyFailure(path, QStringLiteral("do dočasné složky nelze zapisovat")));
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = source->read(block.data(), block.size());
        if (n < 0)
            throw DatabaseError(CopyFailure(path, QStringLiteral("soubor nelze přečíst")));
        if (n == 0)
            break;
        if (copy.write(block.constData(), n) != n)
            throw DatabaseError(
                CopyFailure(path, QStringLiteral("v dočasné složce není dost místa")));
    }
    if (!copy.flush())
        throw DatabaseError(CopyFailure(path, QStringLiteral("v dočasné složce není dost místa")));
}
