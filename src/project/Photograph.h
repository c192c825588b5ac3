#pragma once

#include "project/PhotoKinds.h"
#include "project/Progress.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Photographs as people have them, read for an import: JPEG through TurboJPEG, PNG,
// WebP and TIFF through Qt's image readers, HEIC and HEIF through libheif. Every kind
// comes out the same way: 24-bit colour, upright, its colour profile beside it.
namespace PhotoFiles {

// The largest photograph file read (a picture of MaxPixels of any kind fits).
inline constexpr qint64 MaxPhotoBytes = qint64(1) << 30;

// What a photograph's header declares, read without decoding a pixel.
struct PhotoHeader {
    PhotoKind Kind = PhotoKind::Unknown;
    QSize Size; // as stored (an EXIF turn swaps the sides, never the area)
    // Memory its decoder needs besides the finished picture, per pixel: the codec's
    // own picture (16-bit channels, transparency) or a CMYK form.
    int WorkBytesPerPixel = 4;
};

// A photograph decoded for import.
struct Photograph {
    QImage Picture;              // Format_BGR888, upright; the colours as stored
    QByteArray Profile;          // the embedded ICC profile; empty means sRGB
    bool ProfileDamaged = false; // a profile was there but could not be read whole
};

// The kind and size of a photograph file held in memory. Throws IoError with a Czech
// message naming fileName for a file of no kind the program reads, or whose header
// is damaged.
PhotoHeader ReadPhotoHeader(const QByteArray& file, const QString& fileName);

// Decodes a photograph of any kind read. 16-bit channels are rounded to 8 bits, grey
// spread to the three channels and transparency laid over white: a channel v of n
// bits with opacity a becomes 255 × (v × a + M × (M − a)) / M², M = 2ⁿ − 1, to the
// nearest whole number. JPEG, PNG, WebP and TIFF are turned by their EXIF orientation,
// HEIF by its own rotation, mirror and crop. A damaged or truncated file is refused
// (IoError), never completed with made-up pixels. The picture takes spare's memory
// when it can (RecycledPicture). Reports to progress; a request to stop throws
// Cancelled once the codec returns.
Photograph DecodePhotograph(const QByteArray& file, const QString& fileName,
                            QImage* spare = nullptr, Progress& progress = NoProgress());

} // namespace PhotoFiles
