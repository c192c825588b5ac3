#pragma once

#include "project/Progress.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>

class QIODevice;

// The BMP format of photographs: the header's claims checked against the file
// before a single pixel is decoded, a strict decoder for every common depth and
// coding, and the 24-bit writer. Nothing of a picture is ever left to whatever
// was in memory: a file whose pixels are not all there is refused.
namespace BmpFile {

inline constexpr int FileHeaderSize = 14;
// Enough of the file for every header kind, its colour masks and a full palette.
inline constexpr int HeadBytes = FileHeaderSize + 124 + 16 + 256 * 4;

enum Coding : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

// What the header says and where the pixels lie, once checked against the file.
struct Layout {
    int Width = 0;
    int Height = 0; // always positive; TopDown tells the row order
    bool TopDown = false;
    int Bits = 0;
    Coding Compression = Rgb;
    std::array<std::uint32_t, 3> Masks{}; // red, green, blue for 16 and 32 bits
    QList<QRgb> Palette;                  // for 1, 4 and 8 bits
    qint64 DataStart = 0;
    qint64 RowBytes = 0;  // a stored row with its padding (uncompressed codings)
    qint64 DataBytes = 0; // bytes of pixel data to read: exact, or the RLE stream
};

// Checks the header (head holds the file's first bytes, up to HeadBytes) against
// the file's size: the depth and coding, the sizes, the palette and that the pixel
// data lies wholly inside the file. Throws IoError with a Czech message.
Layout Parse(const QByteArray& head, qint64 fileSize, const QString& path);

// Decodes the pixels described by layout from file (any position) into a new
// Format_BGR888 picture, in spare's memory when it can (PhotoFiles::RecycledPicture).
// Throws IoError for data that ends early or names a colour that the palette lacks.
// Reports to progress as the rows come; a request to stop throws Cancelled.
QImage Decode(QIODevice& file, const Layout& layout, const QString& path, QImage* spare = nullptr,
              Progress& progress = NoProgress());

// Decodes the pixels shrunk to size (no larger than the picture): each result pixel
// is the mean of its block of the picture. The file's rows pass through one row
// buffer, so a large photograph never lies decoded in memory whole (a run-length
// coded one, whose runs may jump across rows, is the exception). Throws as Decode.
QImage DecodeReduced(QIODevice& file, const Layout& layout, QSize size, const QString& path);

// Decodes a whole BMP held in memory (as a file read whole).
QImage DecodeBytes(const QByteArray& bytes, const QString& path);

// The 54-byte header of a bottom-up 24-bit BMP of the given size.
QByteArray Header24(int width, int height);
// Bytes of a stored 24-bit row with its padding.
inline qint64 Stride24(int width) {
    return (qint64(width) * 3 + 3) & ~qint64(3);
}

} // namespace BmpFile
