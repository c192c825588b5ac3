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
