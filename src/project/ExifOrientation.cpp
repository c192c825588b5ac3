#include "project/PhotoFiles.h"
#include "project/PhotoMetadata.h"

namespace PhotoFiles {

int ExifOrientation(const QByteArray& jpeg) {
    return ReadMetadata(PhotoKind::Jpeg, jpeg).Orientation;
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
    // The source pixel of output pixel (ox, oy) is (x0 + ox·xx + oy·xy, y0 + ox·yx + oy·yy).
    int x0 = 0, y0 = 0, xx = 1, xy = 0, yx = 0, yy = 1;
    switch (orientation) {
    case 2: // mirrored
        x0 = w - 1, xx = -1;
        break;
    case 3: // turned half round
        x0 = w - 1, y0 = h - 1, xx = -1, yy = -1;
        break;
    case 4: // upside down
        y0 = h - 1, yy = -1;
        break;
    case 5: // mirrored along the diagonal
        xx = 0, xy = 1, yx = 1, yy = 0;
        break;
    case 6: // a quarter clockwise
        y0 = h - 1, xx = 0, xy = 1, yx = -1, yy = 0;
        break;
    case 7: // mirrored along the other diagonal
        x0 = w - 1, y0 = h - 1, xx = 0, xy = -1, yx = -1, yy = 0;
        break;
    case 8: // a quarter anticlockwise
        x0 = w - 1, xx = 0, xy = -1, yx = 1, yy = 0;
        break;
    }
    const uchar* bits = picture.constBits();
    const qsizetype stride = picture.bytesPerLine();
    const qsizetype step = 3 * qsizetype(xx) + stride * yx;
    for (int oy = 0; oy < out.height(); ++oy) {
        qsizetype at = stride * (y0 + qsizetype(oy) * yy) + 3 * (x0 + qsizetype(oy) * xy);
        uchar* d = out.scanLine(oy);
        for (int ox = 0; ox < out.width(); ++ox, d += 3, at += step) {
            d[0] = bits[at];
            d[1] = bits[at + 1];
            d[2] = bits[at + 2];
        }
    }
    return out;
}

} // namespace PhotoFiles
