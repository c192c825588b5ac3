#include "project/PhotoFiles.h"

#include "project/Errors.h"
#include "project/FileErrors.h"
#include "project/MaskFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <turbojpeg.h>

#include <memory>

namespace PhotoFiles {
namespace {

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString NotAPicture(const QString& path, const QString& reason) {
    return QStringLiteral("Soubor %1 není platný obrázek: %2").arg(Native(path), reason);
}

struct HandleDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleDeleter>;

QString CodecError(tjhandle handle) {
    return QString::fromLocal8Bit(tjGetErrorStr2(handle));
}

int Stride(int width) {
    return (width * 3 + 3) & ~3;
}

QImage NewPicture(int width, int height, const QString& path) {
    if (width <= 0 || height <= 0 || qint64(width) * height > MaxPixels || width > 65535 ||
        height > 65535)
        throw IoError(QStringLiteral("Obrázek %1 má nepřípustnou velikost %2 × %3 bodů.")
                          .arg(Native(path))
                          .arg(width)
                          .arg(height));
    QImage picture(width, height, QImage::Format_BGR888);
    if (picture.isNull())
        throw IoError(QStringLiteral("Pro obrázek %1 není dost paměti.").arg(Native(path)));
    return picture;
}

// The BMP header's claims checked against the file before any decoder allocates.
void CheckBmpHeader(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(CzechFileError(file, path, false));
    const QByteArray header = file.read(54);
    if (header.size() < 30 || header[0] != 'B' || header[1] != 'M')
        throw IoError(NotAPicture(path, QStringLiteral("chybí hlavička BMP.")));
    const qint32 width = qFromLittleEndian<qint32>(header.constData() + 18);
    const qint32 height = qFromLittleEndian<qint32>(header.constData() + 22);
    const quint16 bits = qFromLittleEndian<quint16>(header.constData() + 28);
    const qint64 absHeight = height < 0 ? -qint64(height) : height;
    if (width <= 0 || absHeight == 0 || width > 65535 || absHeight > 65535 ||
        width * absHeight > MaxPixels)
        throw IoError(NotAPicture(
            path, QStringLiteral("nepřípustné rozměry %1 × %2.").arg(width).arg(absHeight)));
    const quint32 compression =
        header.size() >= 34 ? qFromLittleEndian<quint32>(header.constData() + 30) : 0;
    if (compression == 0 && bits > 0) {
        const qint64 rowBytes = ((qint64(width) * bits + 31) / 32) * 4;
        if (rowBytes * absHeight > file.size())
            throw IoError(
                NotAPicture(path, QStringLiteral("soubor je kratší, než udává hlavička.")));
    }
}

} // namespace

QImage LoadBmp(const QString& path) {
    CheckBmpHeader(path);
    int width = 0, height = 0, format = TJPF_BGR;
    unsigned char* pixels =
        tjLoadImage(QFile::encodeName(path).constData(), &width, 4, &height, &format, 0);
    if (pixels) {
        // The loader's buffer becomes the picture's own memory, without a copy.
        QImage picture(
            pixels, width, height, Stride(width), QImage::Format_BGR888,
            [](void* data) { tjFree(static_cast<unsigned char*>(data)); }, pixels);
        if (picture.isNull()) {
            tjFree(pixels);
            throw IoError(QStringLiteral("Pro obrázek %1 není dost paměti.").arg(Native(path)));
        }
        return picture;
    }
    const QString codecError = CodecError(nullptr);
    // Bit depths and codings the loader does not take: Qt's reader, then 24 bits.
    QImageReader reader(path, "bmp");
    QImage other = reader.read();
    if (other.isNull())
        throw IoError(NotAPicture(path, codecError));
    QImage picture = other.convertToFormat(QImage::Format_BGR888);
    if (picture.isNull())
        throw IoError(QStringLiteral("Pro obrázek %1 není dost paměti.").arg(Native(path)));
    return picture;
}

void SaveBmp(const QString& path, const QImage& picture) {
    Q_ASSERT(picture.format() == QImage::Format_BGR888);
    // The saver picks the format by extension, so the temporary name ends in .bmp.
    const QFileInfo target(path);
    const QString temporary =
        target.dir().filePath(QStringLiteral(".%1.part.bmp").arg(target.completeBaseName()));
    QImage& pixels = const_cast<QImage&>(picture); // the saver's parameter is not const
    const int result =
        tjSaveImage(QFile::encodeName(temporary).constData(), pixels.bits(), picture.width(),
                    int(picture.bytesPerLine()), picture.height(), TJPF_BGR, 0);
    if (result != 0) {
        const QString reason = CodecError(nullptr);
        QFile::remove(temporary);
        throw IoError(QStringLiteral("Soubor %1 nelze uložit: %2").arg(Native(path), reason));
    }
    const qint64 expected = 54 + qint64(Stride(picture.width())) * picture.height();
    if (QFileInfo(temporary).size() != expected) {
        QFile::remove(temporary);
        throw IoError(
            QStringLiteral("Soubor %1 nelze uložit: chyba při zápisu.").arg(Native(path)));
    }
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        throw IoError(
            QStringLiteral("Soubor %1 nelze uložit: soubor nelze nahradit.").arg(Native(path)));
    }
}

QImage DecodeJpeg(const QByteArray& jpeg, const QString& fileName) {
    Handle handle(tjInitDecompress());
    if (!handle)
        throw IoError(CodecError(nullptr));
    const auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    const auto size = static_cast<unsigned long>(jpeg.size());
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(handle.get(), data, size, &width, &height, &subsampling,
                            &colourspace) != 0)
        throw IoError(NotAPicture(fileName, CodecError(handle.get())));
    QImage picture = NewPicture(width, height, fileName);

    if (colourspace == TJCS_CMYK || colourspace == TJCS_YCCK) {
        // The codec gives CMYK as Adobe stores it (inverted): red = C × K / 255.
        std::vector<unsigned char> cmyk(size_t(width) * size_t(height) * 4);
        if (tjDecompress2(handle.get(), data, size, cmyk.data(), width, width * 4, height,
                          TJPF_CMYK, 0) != 0 &&
            tjGetErrorCode(handle.get()) == TJERR_FATAL)
            throw IoError(NotAPicture(fileName, CodecError(handle.get())));
        for (int y = 0; y < height; ++y) {
            const unsigned char* s = cmyk.data() + size_t(y) * size_t(width) * 4;
            uchar* d = picture.scanLine(y);
            for (int x = 0; x < width; ++x, s += 4, d += 3) {
                d[0] = uchar((s[2] * s[3] + 127) / 255);
                d[1] = uchar((s[1] * s[3] + 127) / 255);
                d[2] = uchar((s[0] * s[3] + 127) / 255);
            }
        }
    } else if (tjDecompress2(handle.get(), data, size, picture.bits(), width,
                             int(picture.bytesPerLine()), height, TJPF_BGR, 0) != 0 &&
               tjGetErrorCode(handle.get()) == TJERR_FATAL) {
        // Warnings (a slightly damaged but readable file) still give a picture.
        throw IoError(NotAPicture(fileName, CodecError(handle.get())));
    }
    return Oriented(picture, ExifOrientation(jpeg));
}

QImage LoadJpeg(const QString& path) {
    return DecodeJpeg(MaskFile::ReadWholeFile(path), path);
}

QByteArray EncodeJpeg(const QImage& picture) {
    Q_ASSERT(picture.format() == QImage::Format_BGR888);
    Handle handle(tjInitCompress());
    if (!handle)
        throw IoError(CodecError(nullptr));
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (tjCompress2(handle.get(), picture.constBits(), picture.width(), int(picture.bytesPerLine()),
                    picture.height(), TJPF_BGR, &buffer, &size, TJSAMP_420, 75, 0) != 0) {
        const QString reason = CodecError(handle.get());
        tjFree(buffer);
        throw IoError(QStringLiteral("Obrázek nelze zakódovat do JPEG: %1").arg(reason));
    }
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    tjFree(buffer);
    return bytes;
}

} // namespace PhotoFiles
