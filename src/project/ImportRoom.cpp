#include "project/ImportRoom.h"

#include "project/BmpFile.h"
#include "project/Errors.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>

#include <sys/resource.h>

namespace {

QString Megabytes(qint64 bytes) {
    return QString::number((bytes + (1 << 20) - 1) >> 20);
}

// MemAvailable of /proc/meminfo: what new allocations can take without swapping.
qint64 AvailableMemory() {
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    while (!meminfo.atEnd()) {
        const QByteArray line = meminfo.readLine(256);
        if (line.startsWith("MemAvailable:")) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            bool ok = false;
            const qint64 kilobytes = parts.size() >= 2 ? parts[1].toLongLong(&ok) : -1;
            return ok ? kilobytes * 1024 : -1;
        }
    }
    return -1;
}

} // namespace

ImportRoom MeasureImportRoom(const QString& folder) {
    ImportRoom room;
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.isReady())
        room.FreeDiskBytes = storage.bytesAvailable();
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        room.FileSizeLimit = qint64(limit.rlim_cur);
    room.FreeMemoryBytes = AvailableMemory();
    return room;
}

qint64 ImportDiskBytes(QSize size) {
    const qint64 photo =
        BmpFile::FileHeaderSize + 40 + BmpFile::Stride24(size.width()) * size.height();
    // A blank mask: the header, one run a row, the "Originál" layer, no schemes.
    const qint64 mask = 4 + qint64(size.height()) * 7 + 4 + 132 + 4;
    return photo + mask;
}

qint64 ImportMemoryBytes(QSize size, int workBytesPerPixel) {
    const qint64 picture = BmpFile::Stride24(size.width()) * size.height();
    const qint64 work = qint64(size.width()) * size.height() * workBytesPerPixel;
    return picture + std::max(work, picture) + picture;
}

void CheckImportRoom(QSize size, const ImportRoom& room, const QString& source,
                     const QString& folder, int workBytesPerPixel) {
    const QString picture = QStringLiteral("Obrázek %1 (%2 × %3 bodů)")
                                .arg(QDir::toNativeSeparators(source))
                                .arg(size.width())
                                .arg(size.height());
    const qint64 disk = ImportDiskBytes(size);
    if (room.FreeDiskBytes >= 0 && disk > room.FreeDiskBytes)
        throw IoError(QStringLiteral("%1 nelze importovat: na disku není dost místa.\n"
                                     "Projekt by zabral %2 MB, ve složce %3 je volných jen %4 MB.")
                          .arg(picture, Megabytes(disk), QDir::toNativeSeparators(folder),
                               Megabytes(room.FreeDiskBytes)));
    const qint64 photo =
        BmpFile::FileHeaderSize + 40 + BmpFile::Stride24(size.width()) * size.height();
    if (room.FileSizeLimit >= 0 && photo > room.FileSizeLimit)
        throw IoError(QStringLiteral("%1 nelze importovat: soubor by byl větší, než systém "
                                     "dovoluje.\nFotografie by měla %2 MB, dovoleno je %3 MB.")
                          .arg(picture, Megabytes(photo), Megabytes(room.FileSizeLimit)));
    const qint64 memory = ImportMemoryBytes(size, workBytesPerPixel);
    if (room.FreeMemoryBytes >= 0 && memory > room.FreeMemoryBytes)
        throw IoError(QStringLiteral("%1 nelze importovat: není dost paměti.\n"
                                     "Import by potřeboval asi %2 MB paměti, volných je jen %3 MB.")
                          .arg(picture, Megabytes(memory), Megabytes(room.FreeMemoryBytes)));
}
