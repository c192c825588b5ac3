#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Pictures and files that tests make for themselves.
namespace TestPictures {

// Four flat quadrants: red top left, green top right, blue bottom left, white
// bottom right (distinct under every turn and mirror).
QImage Quadrants(int width, int height);

// Pixels of a fixed pseudo-random sequence: a picture that compresses badly.
QImage Noise(int width, int height, unsigned seed = 1);

enum class JpegKind { Baseline, Progressive, Greyscale, Cmyk };
QByteArray Jpeg(const QImage& picture, JpegKind kind = JpegKind::Baseline, int quality = 100);
// The same JPEG with an EXIF block carrying an orientation, little- or big-endian.
QByteArray WithOrientation(const QByteArray& jpeg, int orientation, bool littleEndian = true);

void WriteFile(const QString& path, const QByteArray& bytes);

// Channel-wise distance of two colours, for lossy JPEG comparisons.
int Distance(const QColor& a, const QColor& b);

} // namespace TestPictures
