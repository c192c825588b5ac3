#include "project/PhotoFiles.h"

#include "project/AtomicFile.h"
#include "project/BmpFile.h"
#include "project/Errors.h"
#include "project/FileErrors.h"
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
    return QDir::toNativeSeparators(path);
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
                          .arg(Native(path))
                          .arg(width)
                          .arg(height));
    QImage picture = RecycledPicture(QSize(width, height), spare);
    if (picture.isNull())
        throw IoError(QStringLiteral("Pro obrázek %1 není dost paměti.").arg(Native(path)));
    return picture;
}

// Decoder warnings that say nothing about the pixels: stray bytes between
// segments and odd metadata. Every other warning means data was missing or
// damaged and the decoder made pixels up.
bool HarmlessWarning(const QString& text) {
    return text.contains(QLatin1String("extraneous bytes before marker")) ||
           text.contains(QLatin1String("unknown JFIF revision")) ||
           text.contains(QLatin1String("Unknown Adobe color transform")) ||
           text.contains(QLatin1String("bad ICC marker"));
}

struct JpegHeader {
    int width = 0, height = 0, colourspace = 0;
};

JpegHeader ReadHeader(tjhandle handle, const QByteArray& jpeg, const QString& fileName) {
    JpegHeader header;
    int subsampling = 0;
    const int result =
        tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                            static_cast<unsigned long>(jpeg.size()), &header.width, &header.height,
                            &subsampling, &header.colourspace);
    // A warning about the header's metadata still gives the sizes.
    if (result != 0 && (tjGetErrorCode(handle) == TJERR_FATAL || header.width <= 0))
        throw IoError(NotAJpeg(fileName, CodecError(handle)));
    return header;
}

// Runs one decompression into buffer. Progressive files are held to the codec's
// limit of scans (a file of thousands of scans would take minutes), and any
// warning stops the decoder at once; only a harmless first warning lets it run
// again to the end.
void Decompress(tjhandle handle, const QByteArray& jpeg, unsigned char* buffer, int width,
                int pitch, int height, int pixelFormat, const QString& fileName) {
    const auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    const auto size = static_cast<unsigned long>(jpeg.size());
    const int strict = TJFLAG_LIMITSCANS | TJFLAG_STOPONWARNING;
    if (tjDecompress2(handle, data, size, buffer, width, pitch, height, pixelFormat, strict) == 0)
        return;
    const QString text = CodecError(handle);
    if (tjGetErrorCode(handle) == TJERR_FATAL)
        throw IoError(NotAJpeg(fileName, text));
    if (!HarmlessWarning(text))
        throw IoError(Incomplete(fileName, text));
    if (tjDecompress2(handle, data, size, buffer, width, pitch, height, pixelFormat,
                      TJFLAG_LIMITSCANS) != 0 &&
        tjGetErrorCode(handle) == TJERR_FATAL)
        throw IoError(NotAJpeg(fileName, CodecError(handle)));
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

QImage DecodeJpeg(const QByteArray& jpeg, const QString& fileName, QImage* spare) {
    Handle handle(tjInitDecompress());
    if (!handle)
        throw IoError(NoCodec());
    const JpegHeader header = ReadHeader(handle.get(), jpeg, fileName);
    const int width = header.width, height = header.height;
    QImage picture = NewPicture(width, height, fileName, spare);

    if (header.colourspace == TJCS_CMYK || header.colourspace == TJCS_YCCK) {
        // The codec gives CMYK as Adobe stores it (inverted): red = C × K / 255.
        std::vector<unsigned char> cmyk(size_t(width) * size_t(height) * 4);
        Decompress(handle.get(), jpeg, cmyk.data(), width, width * 4, height, TJPF_CMYK, fileName);
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
        Decompress(handle.get(), jpeg, picture.bits(), width, int(picture.bytesPerLine()), height,
                   TJPF_BGR, fileName);
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
