#include "support/TestBmp.h"

#include <QtEndian>

#include <bit>
#include <cmath>
#include <vector>

namespace TestBmp {
namespace {

template <typename T> void Put(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

bool HasPalette(const Kind& kind) {
    return kind.bits <= 8;
}

std::array<std::uint32_t, 3> MasksOf(const Kind& kind) {
    if (kind.compression == 3)
        return kind.masks;
    if (kind.bits == 16)
        return {0x7C00, 0x03E0, 0x001F};
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

// The palette of a depth: distinct colours, at most 16 of them.
QList<QRgb> PaletteOf(int bits) {
    QList<QRgb> palette;
    const int count = std::min(1 << bits, 16);
    for (int i = 0; i < count; ++i)
        palette << qRgb((i * 53 + 20) % 256, (i * 97 + 40) % 256, (i * 31 + 200) % 256);
    return palette;
}

// A channel value of 0 .. 255 kept in a mask's bits, and back as the reader scales it.
std::uint32_t ToMask(int value, std::uint32_t mask) {
    const int shift = std::countr_zero(mask);
    const std::uint64_t max = mask >> shift;
    return std::uint32_t((value * max + 127) / 255) << shift;
}
int FromMask(std::uint32_t stored, std::uint32_t mask) {
    const int shift = std::countr_zero(mask);
    const std::uint64_t max = mask >> shift;
    return int((((stored & mask) >> shift) * 255 + max / 2) / max);
}

// One stored row of palette indices, run-length coded, ending with an end of line.
void AppendRleRow(QByteArray& out, const std::vector<int>& row, bool four) {
    const int width = int(row.size());
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 255 && row[size_t(x + run)] == row[size_t(x)])
            ++run;
        if (run >= 2 || width - x < 3) {
            out.append(char(run));
            out.append(char(four ? (row[size_t(x)] << 4) | row[size_t(x)] : row[size_t(x)]));
            x += run;
            continue;
        }
        // A stretch of changing pixels in absolute mode, at least three of them.
        int count = 3;
        while (x + count < width && count < 255 &&
               !(x + count + 1 < width && row[size_t(x + count)] == row[size_t(x + count + 1)]))
            ++count;
        out.append('\0');
        out.append(char(count));
        QByteArray literal;
        for (int i = 0; i < count; ++i) {
            const int index = row[size_t(x + i)];
            if (!four)
                literal.append(char(index));
            else if (i % 2 == 0)
                literal.append(char(index << 4));
            else
                literal[literal.size() - 1] = char(literal.back() | index);
        }
        if (literal.size() % 2)
            literal.append('\0');
        out += literal;
        x += count;
    }
    out.append('\0');
    out.append('\0');
}

} // namespace

QList<Kind> AllKinds() {
    return {
        {QStringLiteral("1 bit"), 40, 1},
        {QStringLiteral("1 bit, OS/2 1"), 12, 1},
        {QStringLiteral("4 bits"), 40, 4},
        {QStringLiteral("4 bits RLE"), 40, 4, 2},
        {QStringLiteral("8 bits"), 40, 8},
        {QStringLiteral("8 bits RLE"), 40, 8, 1},
        {QStringLiteral("8 bits RLE, OS/2 2"), 64, 8, 1},
        {QStringLiteral("8 bits top-down"), 40, 8, 0, true},
        {QStringLiteral("8 bits, OS/2 1"), 12, 8},
        {QStringLiteral("8 bits, V5"), 124, 8},
        {QStringLiteral("16 bits 555"), 40, 16},
        {QStringLiteral("16 bits 565 fields"), 40, 16, 3, false, {0xF800, 0x07E0, 0x001F}},
        {QStringLiteral("16 bits 565 fields, V4"), 108, 16, 3, false, {0xF800, 0x07E0, 0x001F}},
        {QStringLiteral("24 bits"), 40, 24},
        {QStringLiteral("24 bits top-down"), 40, 24, 0, true},
        {QStringLiteral("24 bits, OS/2 1"), 12, 24},
        {QStringLiteral("24 bits, OS/2 2"), 64, 24},
        {QStringLiteral("24 bits, V5"), 124, 24},
        {QStringLiteral("32 bits"), 40, 32},
        {QStringLiteral("32 bits fields RGBA"),
         40,
         32,
         3,
         false,
         {0x000000FF, 0x0000FF00, 0x00FF0000}},
        {QStringLiteral("32 bits 10-bit fields, V5"),
         124,
         32,
         3,
         false,
         {0x3FF00000, 0x000FFC00, 0x000003FF}},
    };
}

QImage Reference(const Kind& kind, int width, int height) {
    QImage picture(width, height, QImage::Format_BGR888);
    const QList<QRgb> palette = HasPalette(kind) ? PaletteOf(kind.bits) : QList<QRgb>();
    const auto masks = MasksOf(kind);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Blocks for runs, and a stretch of single pixels on odd rows.
            const int block = (y % 2 && x < width / 3) ? x : x / 3;
            if (HasPalette(kind)) {
                picture.setPixel(x, y, palette[(block + y * 5) % palette.size()]);
            } else {
                const int r = (block * 37 + y * 11) % 256, g = (block * 59 + y * 3) % 256,
                          b = (x * 7 + y * 29) % 256;
                picture.setPixel(x, y,
                                 qRgb(FromMask(ToMask(r, masks[0]), masks[0]),
                                      FromMask(ToMask(g, masks[1]), masks[1]),
                                      FromMask(ToMask(b, masks[2]), masks[2])));
            }
        }
    }
    return picture;
}

QByteArray Encode(const QImage& picture, const Kind& kind) {
    const int width = picture.width(), height = picture.height();
    const bool core = kind.headerSize == 12;
    const QList<QRgb> palette = HasPalette(kind) ? PaletteOf(kind.bits) : QList<QRgb>();
    const bool masksAfterHeader = kind.compression == 3 && kind.headerSize == 40;
    const int paletteBytes = int(palette.size()) * (core ? 3 : 4);
    const int dataStart = 14 + kind.headerSize + (masksAfterHeader ? 12 : 0) + paletteBytes;

    // The rows, bottom row first unless top-down.
    QByteArray data;
    const auto masks = MasksOf(kind);
    for (int i = 0; i < height; ++i) {
        const int y = kind.topDown ? i : height - 1 - i;
        std::vector<int> indices;
        QByteArray row;
        for (int x = 0; x < width; ++x) {
            const QRgb c = picture.pixel(x, y);
            if (HasPalette(kind)) {
                indices.push_back(int(palette.indexOf(c | 0xFF000000)));
            } else if (kind.bits == 24) {
                row.append(char(qBlue(c)));
                row.append(char(qGreen(c)));
                row.append(char(qRed(c)));
            } else {
                const std::uint32_t value = ToMask(qRed(c), masks[0]) |
                                            ToMask(qGreen(c), masks[1]) |
                                            ToMask(qBlue(c), masks[2]);
                if (kind.bits == 16)
                    Put<quint16>(row, quint16(value));
                else
                    Put<quint32>(row, value);
            }
        }
        if (kind.compression == 1 || kind.compression == 2) {
            AppendRleRow(data, indices, kind.compression == 2);
            continue;
        }
        if (HasPalette(kind)) {
            row = QByteArray((width * kind.bits + 7) / 8, '\0');
            for (int x = 0; x < width; ++x) {
                const int index = indices[size_t(x)];
                const int bit = x * kind.bits;
                row[bit / 8] = char(row[bit / 8] | (index << (8 - kind.bits - bit % 8)));
            }
        }
        while (row.size() % 4)
            row.append('\0');
        data += row;
    }
    if (kind.compression == 1 || kind.compression == 2) {
        data.append('\0');
        data.append('\1');
    }

    QByteArray out;
    out.append("BM");
    Put<quint32>(out, quint32(dataStart + data.size()));
    Put<quint32>(out, 0);
    Put<quint32>(out, quint32(dataStart));
    Put<quint32>(out, quint32(kind.headerSize));
    if (core) {
        Put<quint16>(out, quint16(width));
        Put<quint16>(out, quint16(height));
        Put<quint16>(out, 1);
        Put<quint16>(out, quint16(kind.bits));
    } else {
        Put<qint32>(out, width);
        Put<qint32>(out, kind.topDown ? -height : height);
        Put<quint16>(out, 1);
        Put<quint16>(out, quint16(kind.bits));
        Put<quint32>(out, quint32(kind.compression));
        Put<quint32>(out, quint32(data.size()));
        Put<qint32>(out, 2835);
        Put<qint32>(out, 2835);
        Put<quint32>(out, quint32(palette.size()));
        Put<quint32>(out, 0);
        QByteArray rest(kind.headerSize - 40, '\0');
        if (kind.headerSize >= 52 && kind.compression == 3) {
            for (int i = 0; i < 3; ++i)
                qToLittleEndian<quint32>(masks[size_t(i)], rest.data() + 4 * i);
        }
        out += rest;
        if (masksAfterHeader) {
            for (const std::uint32_t mask : masks)
                Put<quint32>(out, mask);
        }
    }
    for (const QRgb c : palette) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        if (!core)
            out.append('\0');
    }
    return out + data;
}

qint64 DataStart(const QByteArray& bmp) {
    return qFromLittleEndian<quint32>(bmp.constData() + 10);
}

} // namespace TestBmp
