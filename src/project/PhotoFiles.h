#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Photographs on disk: 24-bit BMP through TurboJPEG's image loader and saver, JPEG
// through its codec. Every picture comes back as Format_BGR888. Failures throw
// IoError with a Czech message naming the file.
namespace PhotoFiles {

// The largest picture the program takes in, in pixels (the mask's 16-bit sizes
// limit each side to 65535 as well).
inline constexpr qint64 MaxPixels = 300'000'000;

// Reads a BMP of any common bit depth as 24-bit colour.
QImage LoadBmp(const QString& path);
// Writes a 24-bit BMP; an existing file is replaced only once the new one is complete.
void SaveBmp(const QString& path, const QImage& picture);

// Decodes a JPEG (baseline, progressive, greyscale, CMYK) to 24-bit colour and turns
// it upright by its EXIF orientation. fileName only names the file in messages.
QImage DecodeJpeg(const QByteArray& jpeg, const QString& fileName);
QImage LoadJpeg(const QString& path);
// Encodes with the codec's defaults (quality 75, 4:2:0).
QByteArray EncodeJpeg(const QImage& picture);

// The EXIF orientation (1 .. 8) of a JPEG, 1 when it has none.
int ExifOrientation(const QByteArray& jpeg);
// The picture turned so that orientation 1 holds.
QImage Oriented(const QImage& picture, int orientation);

} // namespace PhotoFiles
