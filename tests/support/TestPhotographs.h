#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <array>

// Photographs of every kind the program imports, made by the tests with the writers
// of each kind (Qt's, libheif's encoders, a few TIFF tags by hand) and colour profiles
// made with LittleCMS.
namespace TestPhotographs {

// Qt's PNG writer, then an eXIf chunk with the orientation (0: none) and an iCCP
// chunk holding compressedProfile as its zlib stream (empty: none) added by hand.
QByteArray Png(const QImage& picture, int orientation = 0,
               const QByteArray& compressedProfile = {});
// A profile in the zlib stream an iCCP chunk holds.
QByteArray Compressed(const QByteArray& profile);

// Qt's WebP writer without loss, then made an extended WebP with an ICCP chunk of
// profile and an EXIF chunk with the orientation, when given.
QByteArray WebP(const QImage& picture, int orientation = 0, const QByteArray& profile = {});

// An uncompressed 8-bit RGB TIFF written tag by tag, with an orientation and an ICC
// profile when given.
QByteArray Tiff(const QImage& picture, int orientation = 0, const QByteArray& profile = {});

// An uncompressed TIFF of any layout of samples (photometric 2 RGB, 5 CMYK; format 1
// unsigned, 3 floating point) holding pixels as given, with an ICC profile when given.
QByteArray RawTiff(QSize size, int photometric, int samples, int bits, int format,
                   const QByteArray& pixels, const QByteArray& profile = {});

// A picture through one of Qt's writers ("png", "tiff", "webp") as it is: 16 bits,
// grey or transparent.
QByteArray QtWritten(const QImage& picture, const char* format);

enum class HeifCoding { Hevc, Av1 };
// A HEIF (HEVC) or AVIF (AV1) picture from libheif's encoders at high quality, with a
// raw ICC profile when given; with alpha the picture's transparency goes along.
QByteArray Heif(const QImage& picture, HeifCoding coding = HeifCoding::Hevc,
                const QByteArray& profile = {}, bool alpha = false);
// The same at 10 or 12 bits a channel (libheif's AV1 encoder makes only 12), each
// channel of the picture rounded to the bits.
// With an orientation (heif_orientation, as EXIF's) libheif writes the picture turned
// and the boxes that turn it back.
QByteArray DeepHeif(const QImage& picture, int bits, HeifCoding coding = HeifCoding::Hevc,
                    int orientation = 1);

// The JPEG with the profile in APP2 segments of at most chunkBytes each.
QByteArray JpegWithProfile(const QByteArray& jpeg, const QByteArray& profile,
                           int chunkBytes = 65519);

// The TIFF block of an EXIF orientation, little-endian.
QByteArray ExifBlock(int orientation);

// Display P3 (DCI-P3 primaries, D65, the sRGB tone curve) as LittleCMS saves it.
QByteArray DisplayP3Profile();
// The same colours kept in an A2B0 table of curves and a matrix (as profiles made by
// measuring a camera are), not in the matrix and tone curve tags.
QByteArray TabledDisplayP3Profile();
// Red, green and blue at the given chromaticities (x, y of each), D65 white and one
// gamma: Adobe RGB, a camera's wide gamut, or primaries of no real device.
QByteArray GammaRgbProfile(const std::array<double, 6>& primaries, double gamma);
// An RGB profile of the given colorants (the XYZ of red, green and blue in turn) and
// one gamma, of any values: zero or negative ones make a useless profile.
QByteArray MatrixProfile(const std::array<double, 9>& colorants, double gamma);
// sRGB's primaries with a tone curve that stays at level whatever the value.
QByteArray FlatCurveProfile(quint16 level);
// A CMYK profile (a table from the inks to Lab) whose inks work as plain inverted
// channels, except that cyan takes blue away and yellow red.
QByteArray CmykProfileWithRedAndBlueSwapped();
// LittleCMS's own sRGB profile.
QByteArray SrgbProfile();
// A grey profile of straight light (gamma 1).
QByteArray LinearGreyProfile();
// What LittleCMS makes in sRGB of a colour (red, green, blue) or a grey (all three
// the same) under a profile, perceptual intent, rounded.
QColor InSrgb(const QByteArray& profile, const QColor& colour);
// What LittleCMS makes of a Display P3 colour in sRGB, perceptual intent, rounded.
QColor DisplayP3InSrgb(const QColor& p3);

} // namespace TestPhotographs
