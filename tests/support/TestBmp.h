#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>

// BMP files of every kind the program reads, written byte by byte from the
// format's tables, for tests that compare what is read with what was meant.
namespace TestBmp {

struct Kind {
    QString name;
    int headerSize = 40; // 12 (OS/2 1), 40, 64 (OS/2 2), 108 (V4), 124 (V5)
    int bits = 24;
    int compression = 0; // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    bool topDown = false;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue for bit fields
};

QList<Kind> AllKinds();

// A picture of width × height in colours that the kind holds exactly: palette
// colours for 1, 4 and 8 bits, colours of the masks' precision for 16 and 32 bits.
QImage Reference(const Kind& kind, int width, int height);

// The picture as a BMP file of the kind (its colours must be ones the kind holds).
QByteArray Encode(const QImage& picture, const Kind& kind);

// Where the pixel data begins in a file that Encode wrote.
qint64 DataStart(const QByteArray& bmp);

} // namespace TestBmp
