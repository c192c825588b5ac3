// The JPEG import path (decode, EXIF orientation) on arbitrary bytes.
#include "project/Errors.h"
#include "project/PhotoFiles.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const QImage picture = PhotoFiles::DecodeJpeg(bytes, QStringLiteral("fuzz.jpg"));
        if (picture.format() != QImage::Format_BGR888)
            __builtin_trap();
    } catch (const TintoraError&) {
    }
    return 0;
}
