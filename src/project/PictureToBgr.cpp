#include "project/PhotoDecoders.h"

#include "project/Errors.h"
#include "project/PhotoFiles.h"

#include <algorithm>
#include <cstring>

namespace PhotoFiles {
namespace {

constexpr int BandRows = 64;

// One band of rows of any format through Qt's 16-bit RGBA (not premultiplied), then
// over white.
void WideBand(const QImage& picture, int top, int rows, QImage& out) {
    QImage band(picture.constScanLine(top), picture.width(), rows, picture.bytesPerLine(),
                picture.format());
    if (picture.format() == QImage::Format_Indexed8 || picture.format() == QImage::Format_Mono ||
        picture.format() == QImage::Format_MonoLSB)
        band.setColorTable(picture.colorTable());
    const QImage wide = band.convertToFormat(QImage::Format_RGBA64);
    if (wide.isNull())
        throw std::bad_alloc();
    for (int i = 0; i < rows; ++i) {
        const auto* s = reinterpret_cast<const quint16*>(wide.constScanLine(i));
        uchar* d = out.scanLine(top + i);
        for (int x = 0; x < picture.width(); ++x, s += 4, d += 3) {
            d[0] = OverWhite(s[2], s[3], 65535);
            d[1] = OverWhite(s[1], s[3], 65535);
            d[2] = OverWhite(s[0], s[3], 65535);
        }
    }
}

// The common 8-bit formats without transparency, byte by byte.
bool NarrowBand(const QImage& picture, int top, int rows, QImage& out) {
    const int width = picture.width();
    for (int i = 0; i < rows; ++i) {
        const uchar* s = picture.constScanLine(top + i);
        uchar* d = out.scanLine(top + i);
        switch (picture.format()) {
        case QImage::Format_BGR888:
            std::memcpy(d, s, size_t(width) * 3);
            break;
        case QImage::Format_RGB888:
            for (int x = 0; x < width; ++x, s += 3, d += 3) {
                d[0] = s[2];
                d[1] = s[1];
                d[2] = s[0];
            }
            break;
        case QImage::Format_RGB32: {
            const auto* p = reinterpret_cast<const QRgb*>(s);
            for (int x = 0; x < width; ++x, d += 3) {
                d[0] = uchar(qBlue(p[x]));
                d[1] = uchar(qGreen(p[x]));
                d[2] = uchar(qRed(p[x]));
            }
            break;
        }
        case QImage::Format_Grayscale8:
            for (int x = 0; x < width; ++x, d += 3)
                d[0] = d[1] = d[2] = s[x];
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace

QImage ToBgr888OverWhite(const QImage& picture, QImage* spare, Progress& progress) {
    QImage out = RecycledPicture(picture.size(), spare);
    if (out.isNull())
        throw std::bad_alloc();
    for (int top = 0; top < picture.height(); top += BandRows) {
        const int rows = std::min(BandRows, picture.height() - top);
        if (!NarrowBand(picture, top, rows, out))
            WideBand(picture, top, rows, out);
        ReportOrStop(progress, double(top + rows) / picture.height());
    }
    return out;
}

} // namespace PhotoFiles
