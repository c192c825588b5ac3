#include "project/Thumbnails.h"

#include "project/BoxReduction.h"
#include "project/Errors.h"
#include "project/MessageText.h"
#include "project/PhotoFiles.h"
#include "project/RegularFile.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>
#include <QTemporaryFile>
#include <QtEndian>

#include <array>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace Thumbnails {
namespace {

// What a thumbnail must agree with: the photograph's modification time, in whole
// seconds as every desktop records it and to the nanosecond in a key of the
// program's own (another photograph of the same size written within the same
// second is another picture), and its size in bytes.
struct Stamp {
    qint64 mtime = 0;
    qint64 nanoseconds = 0;
    qint64 size = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const QString& photoPath) {
    struct stat info {};
    if (::stat(QFile::encodeName(photoPath).constData(), &info) != 0)
        throw IoError(QStringLiteral("Soubor %1 nelze načíst: soubor neexistuje.")
                          .arg(MessageText::Path(photoPath)));
    return Stamp{qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec), qint64(info.st_size)};
}

// Thumbnails that could not be written to the disk, for the rest of the run.
struct MemoryStore {
    QMutex mutex;
    struct Entry {
        QImage image;
        Stamp stamp;
    };
    QHash<QByteArray, Entry> entries; // by URI
};

MemoryStore& Memory() {
    static MemoryStore store;
    return store;
}

// A thumbnail bigger than the largest size the convention knows is no thumbnail.
constexpr int LargestAccepted = 1024;

// The convention lets a program add keys of its own, named after it.
constexpr char NanosecondsKey[] = "X-Tintora::MTime::Nanoseconds";

bool Agrees(const QString& text, qint64 value) {
    bool ok = false;
    const qint64 read = text.trimmed().toLongLong(&ok);
    return ok && read == value;
}

// A thumbnail file holds at most a PNG of LargestAccepted² pixels stored without
// compression.
constexpr qint64 LargestFileBytes = qint64(LargestAccepted) * LargestAccepted * 5;

QImage ReadFromDisk(const QString& thumbnailPath, const QByteArray& uri, const Stamp& stamp) {
    // Only a regular file, opened without waiting: a FIFO in the cache held the
    // thread that read it, and the program could not end.
    QByteArray png;
    try {
        png = RegularFile::ReadAll(thumbnailPath, LargestFileBytes);
    } catch (const IoError&) {
        return {};
    }
    QBuffer buffer(&png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    if (!reader.canRead())
        return {};
    const QSize size = reader.size();
    if (size.isEmpty() || size.width() > LargestAccepted || size.height() > LargestAccepted)
        return {};
    QImage image = reader.read();
    if (image.isNull())
        return {};
    const QString mtime = image.text(QStringLiteral("Thumb::MTime"));
    const QString nanoseconds = image.text(QString::fromLatin1(NanosecondsKey));
    const QString fileSize = image.text(QStringLiteral("Thumb::Size"));
    const QString fileUri = image.text(QStringLiteral("Thumb::URI"));
    // A desktop's own thumbnail has no nanoseconds; the seconds and the size decide.
    if (!Agrees(mtime, stamp.mtime) ||
        (!nanoseconds.isEmpty() && !Agrees(nanoseconds, stamp.nanoseconds)) ||
        (!fileSize.isEmpty() && !Agrees(fileSize, stamp.size)) ||
        (!fileUri.isEmpty() && fileUri.toUtf8() != uri))
        return {};
    return image;
}

// The CRC of a PNG chunk, over its type and data.
quint32 Crc32(const QByteArray& bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray TextChunk(const QByteArray& key, const QByteArray& value) {
    const QByteArray body = QByteArrayLiteral("tEXt") + key + '\0' + value;
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(body.size() - 4), chunk.data());
    chunk += body;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(Crc32(body), crc.data());
    return chunk + crc;
}

// An 8-bit RGBA PNG with the keys as plain text chunks right after its header, where
// every reader finds them before the pixels.
QByteArray EncodePng(const QImage& thumbnail,
                     const QList<std::pair<QByteArray, QByteArray>>& keys) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Stored without compression: read five times faster (a fifth of a millisecond
    // for a 256 × 171 thumbnail), at 176 KB for such a thumbnail.
    writer.setQuality(100);
    if (!writer.write(thumbnail.convertToFormat(QImage::Format_ARGB32)))
        return {};
    constexpr int headerEnd = 8 + 8 + 13 + 4; // signature, then the IHDR chunk
    QByteArray chunks;
    for (const auto& [key, value] : keys)
        chunks += TextChunk(key, value);
    return png.left(headerEnd) + chunks + png.mid(headerEnd);
}

// Creates a missing folder and its missing parents for the owner alone.
bool MakeFolder(const QString& path) {
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).absolutePath();
    if (parent != path && !MakeFolder(parent))
        return false;
    return ::mkdir(QFile::encodeName(path).constData(), 0700) == 0 || errno == EEXIST;
}

bool WriteToDisk(const QString& thumbnailPath, const QByteArray& png) {
    const QString folder = QFileInfo(thumbnailPath).absolutePath();
    if (png.isEmpty() || !MakeFolder(folder))
        return false;
    // A name of our own beside the target (created exclusively, for the owner
    // alone), renamed over it once whole: a reader never sees half a thumbnail.
    QTemporaryFile temporary(thumbnailPath + QStringLiteral(".tintora-XXXXXX"));
    if (!temporary.open())
        return false;
    temporary.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    if (temporary.write(png) != png.size() || !temporary.flush())
        return false;
    temporary.close();
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(thumbnailPath).constData()) != 0)
        return false;
    temporary.setAutoRemove(false);
    return true;
}

bool KeepStamped(const QString& photoPath, const QImage& thumbnail, QSize photoSize,
                 const Stamp& stamp) {
    if (thumbnail.isNull())
        return false;
    const QByteArray uri = FileUri(photoPath);
    const QByteArray png =
        EncodePng(thumbnail, {{"Thumb::URI", uri},
                              {"Thumb::MTime", QByteArray::number(stamp.mtime)},
                              {NanosecondsKey, QByteArray::number(stamp.nanoseconds)},
                              {"Thumb::Size", QByteArray::number(stamp.size)},
                              {"Thumb::Image::Width", QByteArray::number(photoSize.width())},
                              {"Thumb::Image::Height", QByteArray::number(photoSize.height())},
                              {"Thumb::Mimetype", "image/bmp"},
                              {"Software", "Tintora"}});
    const bool onDisk = WriteToDisk(PathFor(photoPath), png);
    MemoryStore& memory = Memory();
    QMutexLocker lock(&memory.mutex);
    if (onDisk)
        memory.entries.remove(uri);
    else
        memory.entries.insert(uri, {thumbnail, stamp});
    return onDisk;
}

QImage Shrunk(const QImage& photo) {
    return BoxReduction::Reduce(photo,
                                PhotoFiles::SizeWithin(photo.size(), QSize(LargeSide, LargeSide)));
}

} // namespace

QByteArray FileUri(const QString& photoPath) {
    const QFileInfo info(photoPath);
    QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(info.absolutePath());
    const QByteArray path = QFile::encodeName(folder == QStringLiteral("/")
                                                  ? QLatin1Char('/') + info.fileName()
                                                  : folder + QLatin1Char('/') + info.fileName());
    static const QByteArray kept = QByteArrayLiteral("-_.!~*'()/:@&=+$,");
    QByteArray uri = QByteArrayLiteral("file://");
    for (const char c : path) {
        const uchar byte = uchar(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || kept.contains(c)) {
            uri += c;
        } else {
            uri += '%';
            uri += QByteArray::number(byte, 16).toUpper().rightJustified(2, '0');
        }
    }
    return uri;
}

QString LargeFolder() {
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || QDir::isRelativePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(cache) + QStringLiteral("/thumbnails/large");
}

QString PathFor(const QString& photoPath) {
    const QByteArray hash =
        QCryptographicHash::hash(FileUri(photoPath), QCryptographicHash::Md5).toHex();
    return LargeFolder() + QLatin1Char('/') + QString::fromLatin1(hash) + QStringLiteral(".png");
}

QImage Find(const QString& photoPath) {
    Stamp stamp;
    try {
        stamp = StampOf(photoPath);
    } catch (const IoError&) {
        return {};
    }
    const QByteArray uri = FileUri(photoPath);
    {
        MemoryStore& memory = Memory();
        QMutexLocker lock(&memory.mutex);
        const auto found = memory.entries.constFind(uri);
        if (found != memory.entries.cend() && found->stamp == stamp)
            return found->image;
    }
    return ReadFromDisk(PathFor(photoPath), uri, stamp);
}

QImage Make(const QString& photoPath) {
    // The time and size the picture had before it was read: a change while it is
    // read leaves a thumbnail that the next look finds out of date.
    const Stamp stamp = StampOf(photoPath);
    QSize photoSize;
    QImage thumbnail =
        PhotoFiles::LoadBmpWithin(photoPath, QSize(LargeSide, LargeSide), &photoSize);
    KeepStamped(photoPath, thumbnail, photoSize, stamp);
    return thumbnail;
}

QImage Obtain(const QString& photoPath) {
    QImage found = Find(photoPath);
    return found.isNull() ? Make(photoPath) : found;
}

bool Keep(const QString& photoPath, const QImage& thumbnail, QSize photoSize) {
    try {
        return KeepStamped(photoPath, thumbnail, photoSize, StampOf(photoPath));
    } catch (const IoError&) {
        return false;
    }
}

void Refresh(const QString& photoPath, const QImage& photo) {
    try {
        Keep(photoPath, Shrunk(photo), photo.size());
    } catch (...) {
        // Without memory for it now, the list makes it when it is shown.
        Remove(photoPath);
    }
}

void Remove(const QString& photoPath) {
    QFile::remove(PathFor(photoPath));
    MemoryStore& memory = Memory();
    QMutexLocker lock(&memory.mutex);
    memory.entries.remove(FileUri(photoPath));
}

} // namespace Thumbnails
