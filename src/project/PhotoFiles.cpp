#include "project/PhotoFiles.h"

#include "project/AtomicFile.h"
#include "project/BmpFile.h"
#include "project/CmykProfile.h"
#include "project/Errors.h"
#include "project/FileErrors.h"
#include "project/MessageText.h"
#include "project/RegularFile.h"

#include <QDir>
#include <QFile>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

namespace PhotoFiles {
namespace {

QString Native(const QString& path) {
    return MessageText::Path(path);
}

// The codec's own text goes under a Czech line that says what failed.
QString NotAJpeg(const QString& path, const QString& codecText) {
    return QStringLiteral("Soubor %1 není platný obrázek JPEG.\n%2").arg(Native(path), codecText);
}

QString Incomplete(const QString& path, const QString& codecText) {
    return QStringLiteral("Obrázek %1 je poškozený nebo neúplný.\n%2").arg(Native(path), codecText);
}

QString NoCodec() {
    return QStringLiteral("Kodek JPEG nelze spustit.\n%1")
        .arg(QString::fromLocal8Bit(tjGetErrorStr2(nullptr)));
}

bool StrayBytesWarning(const QString& text) {
    return text.contains(QLatin1String("extraneous bytes before marker"));
}

// The JPEG with the bytes that stand between the segments of its header (before the
// first scan) left out; the scans as they are. Bytes it cannot follow stay as read.
QByteArray WithoutStrayHeaderBytes(const QByteArray& jpeg) {
    const auto at = [&jpeg](qsizetype i) { return uchar(jpeg[i]); };
    if (jpeg.size() < 4 || at(0) != 0xFF || at(1) != 0xD8)
        return jpeg;
    QByteArray out = jpeg.left(2);
    for (qsizetype pos = 2; pos + 1 < jpeg.size();) {
        const uchar marker = at(pos + 1);
        if (at(pos) != 0xFF || marker == 0xFF || marker == 0x00) {
            ++pos; // a stray byte, or a fill byte before a marker
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // the first scan, or the end
            return out + jpeg.mid(pos);
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            out += jpeg.mid(pos, 2); // markers without a length
            pos += 2;
            continue;
        }
        if (pos + 3 >= jpeg.size())
            return jpeg;
        const qsizetype length = (qsizetype(at(pos + 2)) << 8) | at(pos + 3);
        if (length < 2)
            return jpeg;
        out += jpeg.mid(pos, 2 + length);
        pos += 2 + length;
    }
    return jpeg;
}

struct HandleDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleDeleter>;

QString CodecError(tjhandle handle) {
    return QString::fromLocal8Bit(tjGetErrorStr2(handle));
}

QImage NewPicture(int width, int height, const QString& path, QImage* spare) {
    if (width <= 0 || height <= 0 || qint64(width) * height > MaxPixels || width > 65535 ||
        height > 65535)
        throw IoError(QStringLiteral("Obrázek %1 má nepřípustnou velikost %2 × %3 bodů.")
                          .arg(Native(path), QString::number(width), QString::number(height)));
    QImage picture = RecycledPicture(QSize(width, height), spare);
    if (picture.isNull())
        throw IoError(QStringLiteral("Pro obrázek %1 není dost paměti.").arg(Native(path)));
    return picture;
}

// Warnings that reading the header may give without anything wrong with the
// pixels: stray bytes between two segments and odd metadata. The same warning in
// the picture's data (bytes left over before the end of the picture, or before
// the next scan) means the decoder lost its way and made pixels up.
bool HarmlessHeaderWarning(const QString& text) {
    return StrayBytesWarning(text) || text.contains(QLatin1String("unknown JFIF revision")) ||
           text.contains(QLatin1String("Unknown Adobe color transform")) ||
           text.contains(QLatin1String("bad ICC marker"));
}

struct JpegHeader {
    int width = 0, height = 0, colourspace = 0;
    QString warning; // what reading the header warned about; empty when nothing
};

JpegHeader ReadHeader(tjhandle handle, const QByteArray& jpeg, const QString& fileName) {
    JpegHeader header;
    int subsampling = 0;
    const int result =
        tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                            static_cast<unsigned long>(jpeg.size()), &header.width, &header.height,
                            &subsampling, &header.colourspace);
    // A warning about the header's metadata still gives the sizes.
    if (result != 0 && tjGetErrorCode(handle) == TJERR_FATAL)
        throw IoError(NotAJpeg(fileName, CodecError(handle)));
    // A file cut before its frame header (or tables alone) has no size at all.
    if (header.width <= 0 || header.height <= 0)
        throw IoError(QStringLiteral("Obrázek JPEG %1 je neúplný: chybí v něm záhlaví snímku "
                                     "s velikostí obrázku.")
                          .arg(Native(fileName)));
    if (result != 0)
        header.warning = CodecError(handle);
    return header;
}

// Runs one decompression into buffer. Progressive files are held to the codec's
// limit of scans (a file of thousands of scans would take minutes), and any
// warning stops the decoder at once, except one that the header gave already and
// that says nothing about the pixels: stray bytes in the header are taken out and
// the rest decoded as strictly; odd metadata, which every pass meets again, lets
// the decoder run to the end.
void Decompress(tjhandle handle, const QByteArray& jpeg, const QString& headerWarning,
                unsigned char* buffer, int width, int pitch, int height, int pixelFormat,
                const QString& fileName) {
    QByteArray data = jpeg;
    QString known = headerWarning;
    const int strict = TJFLAG_LIMITSCANS | TJFLAG_STOPONWARNING;
    for (bool cleaned = false;; cleaned = true) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
        const auto size = static_cast<unsigned long>(data.size());
        if (tjDecompress2(handle, bytes, size, buffer, width, pitch, height, pixelFormat, strict) ==
            0)
            return;
        const QString text = CodecError(handle);
        if (tjGetErrorCode(handle) == TJERR_FATAL)
            throw IoError(NotAJpeg(fileName, text));
        if (text != known || !HarmlessHeaderWarning(text))
            throw IoError(Incomplete(fileName, text));
        if (StrayBytesWarning(text) && !cleaned) {
            data = WithoutStrayHeaderBytes(data);
            known = ReadHeader(handle, data, fileName).warning;
            continue;
        }
        if (tjDecompress2(handle, bytes, size, buffer, width, pitch, height, pixelFormat,
                          TJFLAG_LIMITSCANS) != 0 &&
            tjGetErrorCode(handle) == TJERR_FATAL)
            throw IoError(NotAJpeg(fileName, CodecError(handle)));
        return;
    }
}

// The header of an open BMP, checked against the file's size.
BmpFile::Layout ReadBmpLayout(QFile& file, const QString& path) {
    const qint64 size = file.size();
    QByteArray head(qsizetype(std::min<qint64>(size, BmpFile::HeadBytes)), Qt::Uninitialized);
    if (file.read(head.data(), head.size()) != head.size())
        throw IoError(CzechFileError(file, path, false));
    return BmpFile::Parse(head, size, path);
}

} // namespace

QImage RecycledPicture(QSize size, QImage* spare) {
    if (spare && !spare->isNull()) {
        if (spare->size() == size && spare->format() == QImage::Format_BGR888 &&
            spare->isDetached())
            return std::exchange(*spare, QImage());
        *spare = QImage();
    }
    return QImage(size, QImage::Format_BGR888);
}

QImage LoadBmp(const QString& path, QImage* spare, Progress& progress) {
    const std::unique_ptr<QFile> file = RegularFile::Open(path);
    const BmpFile::Layout layout = ReadBmpLayout(*file, path);
    return BmpFile::Decode(*file, layout, path, spare, progress);
}

QSize BmpSize(const QString& path) {
    const std::unique_ptr<QFile> file = RegularFile::Open(path);
    const BmpFile::Layout layout = ReadBmpLayout(*file, path);
    return QSize(layout.Width, layout.Height);
}

QSize SizeWithin(QSize picture, QSize bound) {
    const double scale = std::min(
        {1.0, double(bound.width()) / picture.width(), double(bound.height()) / picture.height()});
    return QSize(std::max(1, int(std::lround(picture.width() * scale))),
                 std::max(1, int(std::lround(picture.height() * scale))));
}

QImage LoadBmpWithin(const QString& path, QSize bound, QSize* pictureSize) {
    const std::unique_ptr<QFile> file = RegularFile::Open(path);
    const BmpFile::Layout layout = ReadBmpLayout(*file, path);
    if (pictureSize)
        *pictureSize = QSize(layout.Width, layout.Height);
    const QSize size = SizeWithin(QSize(layout.Width, layout.Height), bound);
    return BmpFile::DecodeReduced(*file, layout, size, path);
}

void WriteBmp(AtomicFile& file, const QImage& picture, Progress& progress) {
    Q_ASSERT(picture.format() == QImage::Format_BGR888);
    const int width = picture.width(), height = picture.height();
    const qint64 stride = BmpFile::Stride24(width);
    file.Write(BmpFile::Header24(width, height));
    // Bottom row first, a few rows at a time; the padding stays zero.
    const int rowsPerChunk = int(std::max<qint64>(1, (qint64(1) << 20) / stride));
    QByteArray chunk(qsizetype(stride * std::min(rowsPerChunk, height)), '\0');
    for (int y = height - 1; y >= 0;) {
        qsizetype used = 0;
        for (int k = 0; k < rowsPerChunk && y >= 0; ++k, --y, used += stride)
            std::memcpy(chunk.data() + used, picture.constScanLine(y), size_t(width) * 3);
        file.Write(chunk.constData(), used);
        ReportOrStop(progress, double(height - 1 - y) / height);
    }
}

void SaveBmp(const QString& path, const QImage& picture) {
    AtomicFile file(path);
    WriteBmp(file, picture);
    file.Commit();
}

QSize JpegSize(const QByteArray& jpeg, const QString& fileName) {
    Handle handle(tjInitDecompress());
    if (!handle)
        throw IoError(NoCodec());
    const JpegHeader header = ReadHeader(handle.get(), jpeg, fileName);
    return QSize(header.width, header.height);
}

QImage DecodeJpeg(const QByteArray& jpeg, const QString& fileName, QImage* spare,
                  const QByteArray& profile, bool* throughProfile) {
    if (throughProfile)
        *throughProfile = false;
    Handle handle(tjInitDecompress());
    if (!handle)
        throw IoError(NoCodec());
    const JpegHeader header = ReadHeader(handle.get(), jpeg, fileName);
    const int width = header.width, height = header.height;
    QImage picture = NewPicture(width, height, fileName, spare);

    if (header.colourspace == TJCS_CMYK || header.colourspace == TJCS_YCCK) {
        // The codec gives CMYK as Adobe stores it (inverted): red = C × K / 255.
        std::vector<unsigned char> cmyk(size_t(width) * size_t(height) * 4);
        Decompress(handle.get(), jpeg, header.warning, cmyk.data(), width, width * 4, height,
                   TJPF_CMYK, fileName);
        if (CmykThroughProfile(cmyk.data(), true, profile, picture)) {
            if (throughProfile)
                *throughProfile = true;
            return Oriented(picture, ExifOrientation(jpeg));
        }
        for (int y = 0; y < height; ++y) {
            const unsigned char* s = cmyk.data() + size_t(y) * size_t(width) * 4;
            uchar* d = picture.scanLine(y);
            for (int x = 0; x < width; ++x, s += 4, d += 3) {
                d[0] = uchar((s[2] * s[3] + 127) / 255);
                d[1] = uchar((s[1] * s[3] + 127) / 255);
                d[2] = uchar((s[0] * s[3] + 127) / 255);
            }
        }
    } else {
        Decompress(handle.get(), jpeg, header.warning, picture.bits(), width,
                   int(picture.bytesPerLine()), height, TJPF_BGR, fileName);
    }
    return Oriented(picture, ExifOrientation(jpeg));
}

QImage LoadJpeg(const QString& path) {
    return DecodeJpeg(RegularFile::ReadAll(path, MaxJpegBytes), path);
}

QByteArray EncodeJpeg(const QImage& picture) {
    Q_ASSERT(picture.format() == QImage::Format_BGR888);
    Handle handle(tjInitCompress());
    if (!handle)
        throw IoError(NoCodec());
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (tjCompress2(handle.get(), picture.constBits(), picture.width(), int(picture.bytesPerLine()),
                    picture.height(), TJPF_BGR, &buffer, &size, TJSAMP_420, 75, 0) != 0) {
        const QString reason = CodecError(handle.get());
        tjFree(buffer);
        throw IoError(QStringLiteral("Obrázek nelze zakódovat do JPEG.\n%1").arg(reason));
    }
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    tjFree(buffer);
    return bytes;
}

} // namespace PhotoFiles
