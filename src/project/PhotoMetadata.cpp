#include "project/PhotoMetadata.h"

#include <QtEndian>

#include <cstring>
#include <map>
#include <optional>
#include <zlib.h>

namespace PhotoFiles {
namespace {

// Reads 16- and 32-bit values of a TIFF block in its own byte order, inside bounds.
class TiffView {
public:
    TiffView(const uchar* data, qsizetype size) : data_(data), size_(size) {
        if (size < 8)
            return;
        const bool little = data[0] == 'I' && data[1] == 'I';
        const bool big = data[0] == 'M' && data[1] == 'M';
        little_ = little;
        valid_ = (little || big) && U16(2) == 42;
    }

    bool Valid() const { return valid_; }
    bool Has(qint64 offset, qint64 length) const {
        return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
    }
    quint16 U16(qint64 offset) const {
        return little_ ? qFromLittleEndian<quint16>(data_ + offset)
                       : qFromBigEndian<quint16>(data_ + offset);
    }
    quint32 U32(qint64 offset) const {
        return little_ ? qFromLittleEndian<quint32>(data_ + offset)
                       : qFromBigEndian<quint32>(data_ + offset);
    }
    const uchar* At(qint64 offset) const { return data_ + offset; }

    // The offset of the 12-byte entry of tag in the first directory.
    std::optional<qint64> Entry(quint16 tag) const {
        if (!valid_)
            return std::nullopt;
        const qint64 ifd = U32(4);
        if (!Has(ifd, 2))
            return std::nullopt;
        const int entries = U16(ifd);
        for (int i = 0; i < entries; ++i) {
            const qint64 entry = ifd + 2 + 12 * qint64(i);
            if (!Has(entry, 12))
                return std::nullopt;
            if (U16(entry) == tag)
                return entry;
        }
        return std::nullopt;
    }

private:
    const uchar* data_;
    qsizetype size_;
    bool little_ = true;
    bool valid_ = false;
};

constexpr quint16 OrientationTag = 0x0112;
constexpr quint16 IccProfileTag = 34675;

void ProfileInTiff(const uchar* tiff, qsizetype size, PhotoMetadata& metadata) {
    const TiffView view(tiff, size);
    const std::optional<qint64> entry = view.Entry(IccProfileTag);
    if (!entry)
        return;
    // UNDEFINED or BYTE values: more than four lie at the offset the entry holds.
    const qint64 count = view.U32(*entry + 4);
    const qint64 at = count <= 4 ? *entry + 8 : qint64(view.U32(*entry + 8));
    if (count <= 0 || count > MaxProfileBytes || !view.Has(at, count)) {
        metadata.ProfileDamaged = true;
        return;
    }
    metadata.Profile = QByteArray(reinterpret_cast<const char*>(view.At(at)), qsizetype(count));
}

// The stream of an iCCP chunk inflated, at most MaxProfileBytes of it.
std::optional<QByteArray> Inflate(const uchar* data, qsizetype size) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    QByteArray out;
    char buffer[1 << 14];
    stream.next_in = const_cast<uchar*>(data);
    stream.avail_in = uInt(size);
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        result = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
        if (out.size() > MaxProfileBytes)
            result = Z_DATA_ERROR;
    }
    inflateEnd(&stream);
    if (result != Z_STREAM_END)
        return std::nullopt;
    return out;
}

void ReadJpeg(const uchar* data, qsizetype size, PhotoMetadata& metadata) {
    // ICC_PROFILE chunks by sequence number (1 .. count), as APP2 segments hold them.
    std::map<int, QByteArray> chunks;
    int chunkCount = 0;
    bool orientationSeen = false;
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return;
    qsizetype pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF)
            break;
        const uchar marker = data[pos + 1];
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // image data begins: no more headers
            break;
        const qsizetype length = qFromBigEndian<quint16>(data + pos + 2);
        if (length < 2 || pos + 2 + length > size)
            break;
        const uchar* segment = data + pos + 4;
        const qsizetype segmentSize = length - 2;
        if (marker == 0xE1 && !orientationSeen && segmentSize >= 6 &&
            std::memcmp(segment, "Exif\0\0", 6) == 0) {
            metadata.Orientation = OrientationInTiff(segment + 6, segmentSize - 6);
            orientationSeen = true;
        } else if (marker == 0xE2 && segmentSize >= 14 &&
                   std::memcmp(segment, "ICC_PROFILE\0", 12) == 0) {
            const int sequence = segment[12], count = segment[13];
            if (sequence < 1 || sequence > count || (chunkCount && count != chunkCount) ||
                chunks.count(sequence))
                metadata.ProfileDamaged = true;
            chunkCount = count;
            chunks[sequence] =
                QByteArray(reinterpret_cast<const char*>(segment + 14), segmentSize - 14);
        }
        pos += 2 + length;
    }
    if (chunks.empty())
        return;
    if (metadata.ProfileDamaged || int(chunks.size()) != chunkCount) {
        metadata.ProfileDamaged = true;
        return;
    }
    for (const auto& [sequence, chunk] : chunks)
        metadata.Profile += chunk;
}

void ReadPng(const uchar* data, qsizetype size, PhotoMetadata& metadata) {
    qsizetype pos = 8;
    while (pos + 12 <= size) {
        const qint64 length = qFromBigEndian<quint32>(data + pos);
        const uchar* type = data + pos + 4;
        const uchar* chunk = data + pos + 8;
        if (length > size - pos - 12)
            return;
        if (std::memcmp(type, "iCCP", 4) == 0) {
            // A name of 1 .. 79 bytes, its NUL, the method (0, zlib), the stream.
            const auto* nul = static_cast<const uchar*>(std::memchr(chunk, 0, size_t(length)));
            const qsizetype streamAt = nul ? nul - chunk + 2 : length + 1;
            std::optional<QByteArray> profile;
            if (streamAt <= length && chunk[streamAt - 1] == 0)
                profile = Inflate(chunk + streamAt, qsizetype(length) - streamAt);
            if (profile)
                metadata.Profile = *profile;
            else
                metadata.ProfileDamaged = true;
        } else if (std::memcmp(type, "eXIf", 4) == 0) {
            metadata.Orientation = OrientationInTiff(chunk, qsizetype(length));
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            return;
        }
        pos += 12 + length;
    }
}

void ReadWebP(const uchar* data, qsizetype size, PhotoMetadata& metadata) {
    qsizetype pos = 12;
    while (pos + 8 <= size) {
        const qint64 length = qFromLittleEndian<quint32>(data + pos + 4);
        const uchar* type = data + pos;
        const uchar* chunk = data + pos + 8;
        const qint64 available = size - pos - 8;
        if (std::memcmp(type, "ICCP", 4) == 0) {
            if (length > available || length > MaxProfileBytes)
                metadata.ProfileDamaged = true;
            else
                metadata.Profile = QByteArray(reinterpret_cast<const char*>(chunk), length);
        } else if (std::memcmp(type, "EXIF", 4) == 0 && length <= available) {
            // Some writers keep the JPEG's "Exif\0\0" before the TIFF block.
            const bool prefixed = length >= 6 && std::memcmp(chunk, "Exif\0\0", 6) == 0;
            metadata.Orientation = prefixed ? OrientationInTiff(chunk + 6, length - 6)
                                            : OrientationInTiff(chunk, length);
        }
        if (length > available)
            return;
        pos += 8 + length + (length & 1); // chunks are padded to an even length
    }
}

} // namespace

int OrientationInTiff(const uchar* tiff, qsizetype size) {
    const TiffView view(tiff, size);
    const std::optional<qint64> entry = view.Entry(OrientationTag);
    if (!entry || view.U16(*entry + 2) != 3) // SHORT
        return 1;
    const int value = view.U16(*entry + 8);
    return value >= 1 && value <= 8 ? value : 1;
}

TiffSamples SamplesInTiff(const QByteArray& file) {
    const TiffView view(reinterpret_cast<const uchar*>(file.constData()), file.size());
    // A SHORT value (the first of several: the samples share one depth).
    const auto value = [&view](quint16 tag, int absent) {
        const std::optional<qint64> entry = view.Entry(tag);
        if (!entry || view.U16(*entry + 2) != 3)
            return absent;
        const qint64 count = view.U32(*entry + 4);
        const qint64 at = count <= 2 ? *entry + 8 : qint64(view.U32(*entry + 8));
        return count >= 1 && view.Has(at, 2) ? int(view.U16(at)) : absent;
    };
    TiffSamples samples;
    samples.Photometric = value(262, -1);
    samples.Bits = value(258, 1);
    samples.Format = value(339, 1);
    return samples;
}

PhotoMetadata ReadMetadata(PhotoKind kind, const QByteArray& file) {
    PhotoMetadata metadata;
    const auto* data = reinterpret_cast<const uchar*>(file.constData());
    const qsizetype size = file.size();
    switch (kind) {
    case PhotoKind::Jpeg:
        ReadJpeg(data, size, metadata);
        break;
    case PhotoKind::Png:
        ReadPng(data, size, metadata);
        break;
    case PhotoKind::WebP:
        ReadWebP(data, size, metadata);
        break;
    case PhotoKind::Tiff:
        metadata.Orientation = OrientationInTiff(data, size);
        ProfileInTiff(data, size, metadata);
        break;
    case PhotoKind::Heif:
    case PhotoKind::Unknown:
        break;
    }
    return metadata;
}

} // namespace PhotoFiles
