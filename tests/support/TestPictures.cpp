#include "support/TestPictures.h"

#include <QFile>
#include <QtEndian>
#include <turbojpeg.h>

#include <cstdlib>
#include <vector>

namespace TestPictures {

QImage Quadrants(int width, int height) {
    QImage picture(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2, bottom = y >= height / 2;
            const QColor c = !bottom ? (right ? QColor(0, 200, 0) : QColor(220, 0, 0))
                                     : (right ? QColor(255, 255, 255) : QColor(0, 0, 220));
            picture.setPixelColor(x, y, c);
        }
    }
    return picture;
}

QByteArray Jpeg(const QImage& picture, JpegKind kind, int quality) {
    tjhandle handle = tjInitCompress();
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const int w = picture.width(), h = picture.height();
    int result = 0;
    if (kind == JpegKind::Greyscale || kind == JpegKind::Cmyk) {
        const int channels = kind == JpegKind::Greyscale ? 1 : 4;
        std::vector<unsigned char> pixels(size_t(w) * size_t(h) * size_t(channels));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const QColor c = picture.pixelColor(x, y);
                unsigned char* p =
                    pixels.data() + (size_t(y) * size_t(w) + size_t(x)) * size_t(channels);
                if (channels == 1) {
                    p[0] = uchar(qGray(c.rgb()));
                } else {
                    // Adobe's inverted CMYK without black: C = red, M = green, Y = blue.
                    p[0] = uchar(c.red());
                    p[1] = uchar(c.green());
                    p[2] = uchar(c.blue());
                    p[3] = 255;
                }
            }
        }
        result = tjCompress2(handle, pixels.data(), w, w * channels, h,
                             channels == 1 ? TJPF_GRAY : TJPF_CMYK, &buffer, &size,
                             channels == 1 ? TJSAMP_GRAY : TJSAMP_444, quality, 0);
    } else {
        result = tjCompress2(handle, picture.constBits(), w, int(picture.bytesPerLine()), h,
                             TJPF_BGR, &buffer, &size, TJSAMP_444, quality,
                             kind == JpegKind::Progressive ? TJFLAG_PROGRESSIVE : 0);
    }
    QByteArray bytes =
        result == 0 ? QByteArray(reinterpret_cast<char*>(buffer), qsizetype(size)) : QByteArray();
    tjFree(buffer);
    tjDestroy(handle);
    return bytes;
}

QByteArray WithOrientation(const QByteArray& jpeg, int orientation, bool littleEndian) {
    QByteArray tiff = littleEndian ? QByteArray("II*\0", 4) : QByteArray("MM\0*", 4);
    auto u16 = [&](quint16 v) {
        char b[2];
        littleEndian ? qToLittleEndian(v, b) : qToBigEndian(v, b);
        tiff.append(b, 2);
    };
    auto u32 = [&](quint32 v) {
        char b[4];
        littleEndian ? qToLittleEndian(v, b) : qToBigEndian(v, b);
        tiff.append(b, 4);
    };
    u32(8);      // IFD0 right after the header
    u16(2);      // two entries: a make tag, then the orientation
    u16(0x010F); // Make, ASCII, 4 bytes in place
    u16(2);
    u32(4);
    tiff.append("Tnt\0", 4);
    u16(0x0112); // Orientation, SHORT, 1
    u16(3);
    u32(1);
    u16(quint16(orientation));
    u16(0);
    u32(0); // no next IFD
    QByteArray segment = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xFF\xE1", 2);
    char length[2];
    qToBigEndian(quint16(segment.size() + 2), length);
    app1.append(length, 2);
    app1.append(segment);
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

int Distance(const QColor& a, const QColor& b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue())});
}

QImage Noise(int width, int height, unsigned seed) {
    QImage picture(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y) {
        uchar* row = picture.scanLine(y);
        for (int i = 0; i < width * 3; ++i) {
            seed = seed * 1103515245u + 12345u;
            row[i] = uchar(seed >> 16);
        }
    }
    return picture;
}

} // namespace TestPictures
