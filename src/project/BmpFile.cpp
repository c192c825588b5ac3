#include "project/BmpFile.h"

#include "project/BoxReduction.h"
#include "project/Errors.h"
#include "project/PhotoFiles.h"

#include <QBuffer>
#include <QDir>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace BmpFile {
namespace {

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void NotABmp(const QString& path, const QString& reason) {
    throw IoError(QStringLiteral("Soubor %1 není platný obrázek: %2").arg(Native(path), reason));
}

[[noreturn]] void Damaged(const QString& path, const QString& reason) {
    throw IoError(QStringLiteral("Obrázek %1 je poškozený: %2").arg(Native(path), reason));
}

const QString ShortFileText = QStringLiteral("soubor je kratší, než udává jeho hlavička.");

quint16 U16(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}
quint32 U32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
qint32 I32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}

bool KnownHeaderSize(quint32 size) {
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 ||
           size == 124;
}

bool SupportedCoding(int bits, quint32 compression) {
    switch (bits) {
    case 1:
    case 24:
        return compression == Rgb;
    case 4:
        return compression == Rgb || compression == Rle4;
    case 8:
        return compression == Rgb || compression == Rle8;
    case 16:
    case 32:
        return compression == Rgb || compression == BitFields;
    default:
        return false;
    }
}

// The longest stream a sound RLE coder writes: two bytes a pixel (runs of one),
// an end of line per row and the end of the picture.
qint64 MaxRleBytes(int width, int height) {
    return qint64(height) * (2 * qint64(width) + 4) + 16;
}

// One colour channel of a 16- or 32-bit pixel, scaled to 0 .. 255.
class Channel {
public:
    explicit Channel(quint32 mask)
        : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), max_(mask >> shift_) {}
    uchar operator()(quint32 pixel) const {
        if (max_ == 0)
            return 0;
        const quint64 value = (pixel & mask_) >> shift_;
        return uchar((value * 255 + max_ / 2) / max_);
    }

private:
    quint32 mask_;
    int shift_;
    quint64 max_;
};

class Decoder {
public:
    Decoder(QIODevice& file, const Layout& layout, const QString& path, QImage* spare = nullptr,
            Progress& progress = NoProgress())
        : file_(file), layout_(layout), path_(path), spare_(spare), progress_(progress),
          red_(layout.Masks[0]), green_(layout.Masks[1]), blue_(layout.Masks[2]) {
        for (const QRgb colour : layout.Palette)
            palette_.push_back({uchar(qBlue(colour)), uchar(qGreen(colour)), uchar(qRed(colour))});
    }

    QImage Run() {
        picture_ = NewPicture();
        if (!file_.seek(layout_.DataStart))
            Damaged(path_, ShortFileText);
        if (IsRle()) {
            DecodeRle();
        } else {
            for (qint64 i = 0; i < layout_.Height; ++i) {
                uchar* row = Row(i);
                ReadRow(i, row);
                ZeroPadding(row);
                if (i % 64 == 63)
                    ReportOrStop(progress_, double(i + 1) / layout_.Height);
            }
        }
        ReportOrStop(progress_, 1.0);
        return std::move(picture_);
    }

    // Hands every picture row (its index from the top, its blue, green, red bytes)
    // to sink as it is read. Uncompressed rows pass through one row buffer; a run-length
    // coded picture is decoded whole first, as its runs may jump across rows.
    template <typename Sink> void Stream(Sink&& sink) {
        if (IsRle()) {
            const QImage picture = Run();
            for (int y = 0; y < picture.height(); ++y)
                sink(y, picture.constScanLine(y));
            return;
        }
        if (!file_.seek(layout_.DataStart))
            Damaged(path_, ShortFileText);
        std::vector<uchar> row(
            size_t(std::max<qint64>(layout_.RowBytes, qint64(layout_.Width) * 3)));
        for (qint64 i = 0; i < layout_.Height; ++i) {
            ReadRow(i, row.data());
            sink(PictureRow(i), row.data());
        }
    }

private:
    struct Bgr {
        uchar b, g, r;
    };

    QImage NewPicture() const {
        QImage picture = PhotoFiles::RecycledPicture(QSize(layout_.Width, layout_.Height), spare_);
        if (picture.isNull())
            throw IoError(QStringLiteral("Pro obrázek %1 není dost paměti.").arg(Native(path_)));
        return picture;
    }

    bool IsRle() const { return layout_.Compression == Rle8 || layout_.Compression == Rle4; }

    // The picture row (0 at the top) of the file's i-th stored row.
    int PictureRow(qint64 stored) const {
        return layout_.TopDown ? int(stored) : layout_.Height - 1 - int(stored);
    }
    uchar* Row(qint64 stored) { return picture_.scanLine(PictureRow(stored)); }

    void ReadExactly(char* to, qint64 size) {
        qint64 done = 0;
        while (done < size) {
            const qint64 n = file_.read(to + done, size - done);
            if (n <= 0)
                Damaged(path_, ShortFileText);
            done += n;
        }
    }

    // Pixel bytes of every row, then zeros in the row's padding.
    void ZeroPadding(uchar* row) const {
        const qsizetype used = qsizetype(layout_.Width) * 3;
        std::memset(row + used, 0, size_t(picture_.bytesPerLine() - used));
    }

    const Bgr& PaletteColour(unsigned index) const {
        if (index >= palette_.size())
            Damaged(path_, QStringLiteral("bod odkazuje na barvu, která v paletě chybí."));
        return palette_[index];
    }

    // Reads stored row i (rows come in file order) as blue, green, red bytes into
    // bgr, which holds a stored row's bytes. 24-bit rows already have that layout and
    // are read straight into place; other depths are converted through a row buffer.
    void ReadRow(qint64 i, uchar* bgr) {
        // The last row may lack its padding; its pixels are all there.
        const qint64 want =
            i + 1 < layout_.Height ? layout_.RowBytes : layout_.DataBytes - layout_.RowBytes * i;
        if (layout_.Bits == 24) {
            ReadExactly(reinterpret_cast<char*>(bgr), want);
            return;
        }
        stored_.resize(size_t(layout_.RowBytes));
        ReadExactly(reinterpret_cast<char*>(stored_.data()), want);
        const int width = layout_.Width;
        const int bits = layout_.Bits;
        const uchar* s = stored_.data();
        uchar* d = bgr;
        for (int x = 0; x < width; ++x, d += 3) {
            if (bits <= 8) {
                unsigned index = 0;
                if (bits == 8)
                    index = s[x];
                else if (bits == 4)
                    index = (s[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
                else
                    index = (s[x >> 3] >> (7 - (x & 7))) & 0x01;
                const Bgr& c = PaletteColour(index);
                d[0] = c.b;
                d[1] = c.g;
                d[2] = c.r;
            } else {
                const quint32 pixel = bits == 16 ? qFromLittleEndian<quint16>(s + 2 * x)
                                                 : qFromLittleEndian<quint32>(s + 4 * x);
                d[0] = blue_(pixel);
                d[1] = green_(pixel);
                d[2] = red_(pixel);
            }
        }
    }

    // Run-length coded rows. Pixels the stream skips (an early end of line or of
    // the picture, a jump) take colour 0 of the palette, as the format intends;
    // a stream that stops before it has covered the picture is damaged.
    void DecodeRle() {
        std::vector<uchar> stream(size_t(layout_.DataBytes));
        ReadExactly(reinterpret_cast<char*>(stream.data()), layout_.DataBytes);
        const Bgr background = palette_.empty() ? Bgr{0, 0, 0} : palette_[0];
        for (int y = 0; y < layout_.Height; ++y) {
            uchar* d = picture_.scanLine(y);
            for (int x = 0; x < layout_.Width; ++x, d += 3) {
                d[0] = background.b;
                d[1] = background.g;
                d[2] = background.r;
            }
            ZeroPadding(picture_.scanLine(y));
        }

        const bool four = layout_.Compression == Rle4;
        const qint64 size = qint64(stream.size());
        const qint64 width = layout_.Width, height = layout_.Height;
        qint64 pos = 0, x = 0, y = 0;
        const auto put = [&](qint64 at, unsigned index) {
            if (at >= width || y >= height)
                return; // runs past the row's end are cut off
            const Bgr& c = PaletteColour(index);
            uchar* d = Row(y) + at * 3;
            d[0] = c.b;
            d[1] = c.g;
            d[2] = c.r;
        };
        const auto endedEarly = [&] {
            Damaged(path_, QStringLiteral("komprimovaná obrazová data končí předčasně."));
        };
        while (y < height) {
            if (pos + 2 > size) {
                // A coder may leave out the final end marks once the last row is full.
                if (y == height - 1 && x >= width)
                    break;
                endedEarly();
            }
            const unsigned count = stream[size_t(pos)];
            const unsigned value = stream[size_t(pos + 1)];
            pos += 2;
            if (count > 0) {
                for (unsigned i = 0; i < count; ++i)
                    put(x + i, four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
                x += count;
            } else if (value == 0) {
                x = 0;
                ++y;
            } else if (value == 1) {
                break;
            } else if (value == 2) {
                if (pos + 2 > size)
                    endedEarly();
                x += stream[size_t(pos)];
                y += stream[size_t(pos + 1)];
                pos += 2;
            } else {
                const qint64 bytes = four ? (qint64(value) + 1) / 2 : value;
                const qint64 padded = (bytes + 1) & ~qint64(1);
                if (pos + padded > size)
                    endedEarly();
                for (unsigned i = 0; i < value; ++i) {
                    const unsigned byte = stream[size_t(pos + (four ? i / 2 : i))];
                    put(x + i, four ? ((i & 1) ? byte & 0x0F : byte >> 4) : byte);
                }
                x += value;
                pos += padded;
            }
        }
    }

    QIODevice& file_;
    const Layout& layout_;
    QString path_;
    QImage* spare_;
    Progress& progress_;
    std::vector<Bgr> palette_;
    Channel red_, green_, blue_;
    std::vector<uchar> stored_;
    QImage picture_;
};

} // namespace

Layout Parse(const QByteArray& head, qint64 fileSize, const QString& path) {
    if (head.size() < FileHeaderSize + 4 || head[0] != 'B' || head[1] != 'M')
        NotABmp(path, QStringLiteral("chybí hlavička BMP."));
    const quint32 headerSize = U32(head, 14);
    if (!KnownHeaderSize(headerSize))
        NotABmp(path, QStringLiteral("neznámý druh hlavičky BMP (%1 bajtů).").arg(headerSize));
    const int headerEnd = FileHeaderSize + int(headerSize);
    if (head.size() < headerEnd)
        Damaged(path, QStringLiteral("soubor končí uvnitř hlavičky."));

    Layout layout;
    qint64 width = 0, height = 0;
    quint32 compression = Rgb, coloursUsed = 0;
    if (headerSize == 12) {
        width = U16(head, 18);
        height = U16(head, 20);
        layout.Bits = U16(head, 24);
    } else {
        width = I32(head, 18);
        height = I32(head, 22);
        layout.Bits = U16(head, 28);
        compression = U32(head, 30);
        coloursUsed = U32(head, 46);
    }
    layout.TopDown = height < 0;
    height = std::abs(height);
    if (width <= 0 || height == 0 || width > 65535 || height > 65535 ||
        width * height > PhotoFiles::MaxPixels)
        NotABmp(path, QStringLiteral("nepřípustné rozměry %1 × %2.").arg(width).arg(height));
    layout.Width = int(width);
    layout.Height = int(height);
    // OS/2 uses the codes 3 and 4 for codings of its own.
    if (!SupportedCoding(layout.Bits, compression) || (headerSize == 64 && compression > Rle4))
        NotABmp(path, QStringLiteral("nepodporovaný druh BMP (%1 bitů na bod, komprese %2).")
                          .arg(layout.Bits)
                          .arg(compression));
    layout.Compression = Coding(compression);

    int paletteStart = headerEnd;
    if (compression == BitFields) {
        // Version 2 and later headers hold the masks; after a plain one they follow it.
        const int masksAt = FileHeaderSize + 40;
        if (headerSize == 40)
            paletteStart = masksAt + 12;
        if (head.size() < paletteStart)
            Damaged(path, QStringLiteral("soubor končí uvnitř hlavičky."));
        layout.Masks = {U32(head, masksAt), U32(head, masksAt + 4), U32(head, masksAt + 8)};
        if (layout.Masks == std::array<quint32, 3>{})
            Damaged(path, QStringLiteral("hlavička neudává žádné barevné složky."));
    } else if (layout.Bits == 16) {
        layout.Masks = {0x7C00, 0x03E0, 0x001F};
    } else {
        layout.Masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }

    qint64 dataStart = U32(head, 10);
    if (layout.Bits <= 8) {
        const int entrySize = headerSize == 12 ? 3 : 4;
        const qint64 most = qint64(1) << layout.Bits;
        const qint64 declared = coloursUsed == 0 ? most : std::min<qint64>(coloursUsed, most);
        if (dataStart == 0) // not given: the pixels follow the palette
            dataStart = paletteStart + declared * entrySize;
        if (dataStart < paletteStart)
            Damaged(path, QStringLiteral("obrazová data začínají uvnitř hlavičky."));
        // A palette shorter than declared ends where the pixels begin.
        const qint64 entries = std::min(declared, (dataStart - paletteStart) / entrySize);
        if (paletteStart + entries * entrySize > head.size())
            Damaged(path, ShortFileText);
        for (qint64 i = 0; i < entries; ++i) {
            const auto* e =
                reinterpret_cast<const uchar*>(head.constData() + paletteStart + i * entrySize);
            layout.Palette.append(qRgb(e[2], e[1], e[0]));
        }
    } else {
        if (dataStart == 0)
            dataStart = paletteStart;
        if (dataStart < paletteStart)
            Damaged(path, QStringLiteral("obrazová data začínají uvnitř hlavičky."));
    }
    if (dataStart >= fileSize)
        Damaged(path, QStringLiteral("obrazová data leží za koncem souboru."));
    layout.DataStart = dataStart;

    if (layout.Compression == Rle8 || layout.Compression == Rle4) {
        layout.DataBytes = std::min(fileSize - dataStart, MaxRleBytes(layout.Width, layout.Height));
    } else {
        layout.RowBytes = (width * layout.Bits + 31) / 32 * 4;
        const qint64 lastRow = (width * layout.Bits + 7) / 8;
        layout.DataBytes = layout.RowBytes * (height - 1) + lastRow;
        if (dataStart + layout.DataBytes > fileSize)
            Damaged(path, ShortFileText);
    }
    return layout;
}

QImage Decode(QIODevice& file, const Layout& layout, const QString& path, QImage* spare,
              Progress& progress) {
    return Decoder(file, layout, path, spare, progress).Run();
}

QImage DecodeReduced(QIODevice& file, const Layout& layout, QSize size, const QString& path) {
    BoxReduction reduction(QSize(layout.Width, layout.Height), size);
    Decoder(file, layout, path).Stream([&reduction](int y, const uchar* bgr) {
        reduction.AddRow(y, bgr);
    });
    QImage reduced = reduction.Result();
    if (reduced.isNull())
        throw IoError(QStringLiteral("Pro obrázek %1 není dost paměti.").arg(Native(path)));
    return reduced;
}

QImage DecodeBytes(const QByteArray& bytes, const QString& path) {
    const Layout layout = Parse(bytes.left(HeadBytes), bytes.size(), path);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return Decode(buffer, layout, path);
}

QByteArray Header24(int width, int height) {
    QByteArray header(54, '\0');
    char* h = header.data();
    const qint64 pixelBytes = Stride24(width) * height;
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<quint32>(quint32(54 + pixelBytes), h + 2);
    qToLittleEndian<quint32>(54, h + 10);
    qToLittleEndian<quint32>(40, h + 14);
    qToLittleEndian<qint32>(width, h + 18);
    qToLittleEndian<qint32>(height, h + 22);
    qToLittleEndian<quint16>(1, h + 26);
    qToLittleEndian<quint16>(24, h + 28);
    qToLittleEndian<quint32>(quint32(pixelBytes), h + 34);
    return header;
}

} // namespace BmpFile
