#include "project/PhotoKinds.h"

#include <libheif/heif.h>

namespace PhotoFiles {
namespace {

bool StartsWith(const QByteArray& bytes, qsizetype at, const char* magic, qsizetype length) {
    return bytes.size() >= at + length && bytes.mid(at, length) == QByteArray(magic, length);
}

const char* const Extensions[] = {"jpg", "jpeg", "jpe",  "png",  "webp",
                                  "tif", "tiff", "heic", "heif", "avif"};

} // namespace

PhotoKind KindOf(const QByteArray& head) {
    if (StartsWith(head, 0, "\xFF\xD8\xFF", 3))
        return PhotoKind::Jpeg;
    if (StartsWith(head, 0, "\x89PNG\r\n\x1A\n", 8))
        return PhotoKind::Png;
    if (StartsWith(head, 0, "RIFF", 4) && StartsWith(head, 8, "WEBP", 4))
        return PhotoKind::WebP;
    // Classic TIFF (42) and BigTIFF (43), in either byte order.
    if (StartsWith(head, 0, "II*\0", 4) || StartsWith(head, 0, "MM\0*", 4) ||
        StartsWith(head, 0, "II+\0", 4) || StartsWith(head, 0, "MM\0+", 4))
        return PhotoKind::Tiff;
    if (head.size() >= 12 && StartsWith(head, 4, "ftyp", 4)) {
        const auto* data = reinterpret_cast<const uint8_t*>(head.constData());
        const heif_filetype_result result = heif_check_filetype(data, int(head.size()));
        if (result == heif_filetype_yes_supported || result == heif_filetype_yes_unsupported)
            return PhotoKind::Heif;
    }
    return PhotoKind::Unknown;
}

QStringList ImportPatterns() {
    QStringList lower, upper;
    for (const char* extension : Extensions) {
        lower << QStringLiteral("*.") + QLatin1String(extension);
        upper << QStringLiteral("*.") + QLatin1String(extension).toString().toUpper();
    }
    return lower + upper;
}

QString AllPhotographsFilter() {
    return QStringLiteral("Fotografie|") + ImportPatterns().join(QLatin1Char(';'));
}

QStringList ImportMimeTypes() {
    return {QStringLiteral("image/jpeg"), QStringLiteral("image/png"),
            QStringLiteral("image/webp"), QStringLiteral("image/tiff"),
            QStringLiteral("image/heic"), QStringLiteral("image/heif"),
            QStringLiteral("image/avif")};
}

} // namespace PhotoFiles
