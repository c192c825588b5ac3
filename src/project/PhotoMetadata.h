#pragma once

#include "project/PhotoKinds.h"

#include <QByteArray>

// What a photograph's file says about its pixels besides the pixels: the embedded
// colour profile and the EXIF orientation, read from the container of each kind
// (JPEG APP1 and APP2 segments, PNG eXIf and iCCP chunks, WebP EXIF and ICCP chunks,
// the TIFF's own tags). HEIF keeps both in boxes that libheif reads.
namespace PhotoFiles {

// The largest colour profile taken (real ones are a few kilobytes).
inline constexpr qsizetype MaxProfileBytes = 16 << 20;

struct PhotoMetadata {
    QByteArray Profile;          // the ICC profile as embedded; empty when there is none
    bool ProfileDamaged = false; // one was there but could not be put together
    int Orientation = 1;         // EXIF orientation 1 .. 8
};

// Never throws: what cannot be read counts as absent (a damaged profile is marked).
PhotoMetadata ReadMetadata(PhotoKind kind, const QByteArray& file);

// How a TIFF's first directory stores its samples, for telling a kind of TIFF the
// readers lack from a damaged file.
struct TiffSamples {
    int Photometric = -1; // 2 RGB, 5 separated (CMYK), …; −1 when not stated
    int Bits = 1;         // bits per sample
    int Format = 1;       // 1 unsigned, 2 signed, 3 floating point
};
TiffSamples SamplesInTiff(const QByteArray& file);

// The orientation tag of a TIFF structure's first directory (an EXIF block, or a
// TIFF file itself); 1 when it has none.
int OrientationInTiff(const uchar* tiff, qsizetype size);

} // namespace PhotoFiles
