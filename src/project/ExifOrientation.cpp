#include "project/PhotoFiles.h"

#include <QtEndian>

#include <cstring>

namespace PhotoFiles {
namespace {

// Reads 16- and 32-bit values of a TIFF block in its own byte order, inside bounds.
class TiffView {
public:
    TiffView(const uchar* data, qsizetype size, bool littleEndian)
        : data_(data), size_(size), little_(littleEndian) {}

    bool Has(qint64 offset, qint64 length) const {
        return offset >= 0 && length >= 0 && offset + length <= size_;
    }
    quint16 U16(qint64 offset) const {
        return little_ ? qFromLittleEndian<quint16>(data_ + offset)
                       : qFromBigEndian<quint16>(data_ + offset);
    }
    quint32 U32(qint64 offset) const {
        return little_ ? qFromLittleEndian<quint32>(data_ + offset)
                       : qFromBigEndian<quint32>(data_ + offset);
    }

private:
    const uchar* data_;
    qsizetype size_;
    bool little_;
};

int OrientationInTiff(const uchar* tiff, qsizetype size) {
    if (size < 8)
        return 1;
    const bool little = tiff[0] == 'I' && tiff[1] == 'I';
    const bool big = tiff[0] == 'M' && tiff[1] == 'M';
    if (!little && !big)
        return 1;
    const TiffView view(tiff, size, little);
    if (view.U16(2) != 42)
        return 1;
    const qint64 ifd = view.U32(4);
    if (!view.Has(ifd, 2))
        return 1;
    const int entries = view.U16(ifd);
    for (int i = 0; i < entries; ++i) {
        const qint64 entry = ifd + 2 + 12 * qint64(i);
        if (!view.Has(entry, 12))
            return 1;
        if (view.U16(entry) == 0x0112 && view.U16(entry + 2) == 3) {
            const int value = view.U16(entry + 8);
            return value >= 1 && value <= 8 ? value : 1;
        }
    }
    return 1;
}

} // namespace

int ExifOrientation(const QByteArray& jpeg) {
    const auto* data = reinterpret_cast<const uchar*>(jpeg.constData());
    const qsizetype size = jpeg.size();
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return 1;
    qsizetype pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF)
            return 1;
        const uchar marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // image data begins: no more headers
            return 1;
        const qsizetype length = qFromBigEndian<quint16>(data + pos + 2);
        if (length < 2 || pos + 2 + length > size)
            return 1;
        const uchar* segment = data + pos + 4;
        const qsizetype segmentSize = length - 2;
        if (marker == 0xE1 && segmentSize >= 6 && std::memcmp(segment, "Exif\0\0", 6) == 0)
            return OrientationInTiff(segment + 6, segmentSize - 6);
        pos += 2 + length;
    }
    return 1;
}

QImage Oriented(const QImage& picture, int orientation) {
    if (orientation <= 1 || orientation > 8)
        return picture;
    const int w = picture.width();
    const int h = picture.height();
    const bool swapped = orientation >= 5;
    QImage out(swapped ? h : w, swapped ? w : h, QImage::Format_BGR888);
    if (out.isNull())
        return picture;
    for (int oy = 0; oy < out.height(); ++oy) {
        uchar* d = out.scanLine(oy);
        for (int ox = 0; ox < out.width(); ++ox, d += 3) {
            int sx = ox, sy = oy;
            switch (orientation) {
            case 2:
                sx = w - 1 - ox;
                break;
            case 3:
                sx = w - 1 - ox;
                sy = h - 1 - oy;
                break;
            case 4:
                sy = h - 1 - oy;
                break;
            case 5:
                sx = oy;
                sy = ox;
                break;
            case 6:
                sx = oy;
                sy = h - 1 - ox;
                break;
            case 7:
                sx = w - 1 - oy;
                sy = h - 1 - ox;
                break;
            case 8:
                sx = w - 1 - oy;
                sy = ox;
                break;
            }
            const uchar* s = picture.constScanLine(sy) + 3 * sx;
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    }
    return out;
}

} // namespace PhotoFiles
