#pragma once

#include "project/Progress.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class AtomicFile;

// Photographs on disk: BMP through the program's own checked reader and writer
// (BmpFile), JPEG through TurboJPEG. Every picture comes back as Format_BGR888.
// Only regular files are read. Failures throw IoError with a Czech message naming
// the file.
namespace PhotoFiles {

// The largest picture the program takes in, in pixels (the mask's 16-bit sizes
// limit each side to 65535 as well).
inline constexpr qint64 MaxPixels = 300'000'000;
// The largest JPEG file read (a picture of MaxPixels at the highest quality fits).
inline constexpr qint64 MaxJpegBytes = qint64(1) << 30;

// Memory for a new Format_BGR888 picture of size. Fresh memory costs a page fault on
// its first touch (for a large photograph several times a copy of the picture), so a
// spare picture of the same size that nothing else shares gives its memory over and
// is left null; any other spare is released first, so that the two never lie in
// memory together. Null when there is no memory for the picture.
QImage RecycledPicture(QSize size, QImage* spare);

// Reads a BMP of any common bit depth and coding as 24-bit colour. A file whose
// pixel data is not all there is refused ("Obrázek … je poškozený"). The picture
// takes spare's memory when it can (see RecycledPicture). Reports to progress as the
// rows come; a request to stop throws Cancelled.
QImage LoadBmp(const QString& path, QImage* spare = nullptr, Progress& progress = NoProgress());
// The width and height a BMP's header declares, checked against the file's size
// without reading a single pixel.
QSize BmpSize(const QString& path);
// The size of a picture shrunk to fit within bound, keeping its proportions (each
// side taken to the nearest whole pixel, at least one); never enlarged.
QSize SizeWithin(QSize picture, QSize bound);
// Reads a BMP shrunk to fit within bound (see SizeWithin), each pixel the mean of its
// block; the pixels pass through one row at a time, never the whole picture. The
// picture's own size goes to pictureSize when given.
QImage LoadBmpWithin(const QString& path, QSize bound, QSize* pictureSize = nullptr);
// Writes a 24-bit BMP; an existing file is replaced only once the new one is complete.
void SaveBmp(const QString& path, const QImage& picture);
// Writes the picture as a 24-bit BMP into file, which the caller commits. Reports to
// progress as the rows go; a request to stop throws Cancelled (nothing is committed).
void WriteBmp(AtomicFile& file, const QImage& picture, Progress& progress = NoProgress());

// The width and height a JPEG's header declares, read without decoding.
QSize JpegSize(const QByteArray& jpeg, const QString& fileName);
// Decodes a JPEG (baseline, progressive, greyscale, CMYK) to 24-bit colour and turns
// it upright by its EXIF orientation. A file the decoder warns about (data missing
// or damaged) is refused rather than completed with made-up pixels; a progressive
// file of more scans than the codec's limit is refused too. fileName only names the
// file in messages. The decoded picture takes spare's memory when it can (see
// RecycledPicture). A CMYK JPEG goes through profile into sRGB when that is a CMYK
// profile LittleCMS can use; *throughProfile then tells so.
QImage DecodeJpeg(const QByteArray& jpeg, const QString& fileName, QImage* spare = nullptr,
                  const QByteArray& profile = {}, bool* throughProfile = nullptr);
QImage LoadJpeg(const QString& path);
// Encodes with the codec's defaults (quality 75, 4:2:0).
QByteArray EncodeJpeg(const QImage& picture);

// The EXIF orientation (1 .. 8) of a JPEG, 1 when it has none.
int ExifOrientation(const QByteArray& jpeg);
// The picture turned so that orientation 1 holds.
QImage Oriented(const QImage& picture, int orientation);

} // namespace PhotoFiles
