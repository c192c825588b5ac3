#include "project/ImportRoom.h"

#include "project/BmpFile.h"
#include "project/Errors.h"
#include "project/MessageText.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>

#include <algorithm>

#include <sys/resource.h>
#include <unistd.h>

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

// What the process's address space limit (ulimit -v) leaves beside what it maps
// already; -1 without a limit.
qint64 AddressSpaceRoom() {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return -1;
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    bool ok = false;
    const qint64 pages = statm.readLine(256).split(' ').value(0).toLongLong(&ok);
    if (!ok)
        return -1;
    const qint64 mapped = pages * qint64(sysconf(_SC_PAGESIZE));
    return std::max<qint64>(0, qint64(std::min<rlim_t>(limit.rlim_cur, rlim_t(1) << 62)) - mapped);
}

QByteArray FileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(4096).trimmed() : QByteArray();
}

// What the limit in folder leaves beside its use; -1 when it sets none.
qint64 GroupRoom(const QString& folder, const char* limitName, const char* usageName) {
    bool limited = false, used = false;
    const qint64 limit = FileText(folder + QLatin1Char('/') + QLatin1String(limitName))
                             .toLongLong(&limited); // "max" reads as no limit
    const qint64 usage =
        FileText(folder + QLatin1Char('/') + QLatin1String(usageName)).toLongLong(&used);
    if (!limited || !used || limit >= (qint64(1) << 60))
        return -1;
    return std::max<qint64>(0, limit - usage);
}

// The least room over folder and the groups above it up to root.
qint64 LeastRoomUpTo(const QString& root, const QString& group, const char* limitName,
                     const char* usageName) {
    qint64 least = -1;
    QString path = QDir::cleanPath(group);
    for (;;) {
        const qint64 room = GroupRoom(root + path, limitName, usageName);
        if (room >= 0 && (least < 0 || room < least))
            least = room;
        if (path.isEmpty() || path == QLatin1String("/"))
            return least;
        path = path.left(std::max<qsizetype>(0, path.lastIndexOf(QLatin1Char('/'))));
    }
}

} // namespace

qint64 CgroupMemoryRoom(const QByteArray& selfCgroup, const QString& root) {
    qint64 least = -1;
    const auto take = [&least](qint64 room) {
        if (room >= 0 && (least < 0 || room < least))
            least = room;
    };
    for (const QByteArray& line : selfCgroup.split('\n')) {
        // "hierarchy:controllers:path"
        const qsizetype first = line.indexOf(':'), second = line.indexOf(':', first + 1);
        if (first < 0 || second < 0)
            continue;
        const QByteArray controllers = line.mid(first + 1, second - first - 1);
        const QString group = QString::fromUtf8(line.mid(second + 1)).trimmed();
        if (controllers.isEmpty()) { // the unified hierarchy (cgroup v2)
            take(LeastRoomUpTo(root, group, "memory.max", "memory.current"));
            take(LeastRoomUpTo(root + QStringLiteral("/unified"), group, "memory.max",
                               "memory.current"));
        } else if (controllers.split(',').contains("memory")) {
            take(LeastRoomUpTo(root + QStringLiteral("/memory"), group, "memory.limit_in_bytes",
                               "memory.usage_in_bytes"));
        }
    }
    return least;
}

ImportRoom MeasureImportRoom(const QString& folder) {
    ImportRoom room;
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.isReady())
        room.FreeDiskBytes = storage.bytesAvailable();
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        room.FileSizeLimit = qint64(limit.rlim_cur);
    // The least of what the system has, what the address space limit and what the
    // memory cgroup leave: a decoder that meets either limit fails as if the file
    // were damaged.
    for (const qint64 memory : {AvailableMemory(), AddressSpaceRoom(),
                                CgroupMemoryRoom(FileText(QStringLiteral("/proc/self/cgroup")),
                                                 QStringLiteral("/sys/fs/cgroup"))}) {
        if (memory >= 0 && (room.FreeMemoryBytes < 0 || memory < room.FreeMemoryBytes))
            room.FreeMemoryBytes = memory;
    }
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
                                .arg(MessageText::Path(source), QString::number(size.width()),
                                     QString::number(size.height()));
    const qint64 disk = ImportDiskBytes(size);
    if (room.FreeDiskBytes >= 0 && disk > room.FreeDiskBytes)
        throw IoError(QStringLiteral("%1 nelze importovat: na disku není dost místa.\n"
                                     "Projekt by zabral %2 MB, ve složce %3 je volných jen %4 MB.")
                          .arg(picture, Megabytes(disk), MessageText::Path(folder),
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
