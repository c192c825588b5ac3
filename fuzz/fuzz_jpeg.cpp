// The JPEG import path on arbitrary bytes: the size the header declares, the room
// check that must refuse a picture too large for the disk or the memory before a
// pixel is decoded, then the decoder (warnings refuse, scans are limited) and the
// EXIF orientation.
#include "project/Errors.h"
#include "project/ImportRoom.h"
#include "project/PhotoFiles.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const QSize declared = PhotoFiles::JpegSize(bytes, QStringLiteral("fuzz.jpg"));
        // A modest machine: 64 MB of disk, 8 MB files, 128 MB of memory.
        const ImportRoom room{64 << 20, 8 << 20, 128 << 20};
        CheckImportRoom(declared, room, QStringLiteral("fuzz.jpg"), QStringLiteral("domy"));
        if (ImportDiskBytes(declared) > room.FreeDiskBytes ||
            ImportMemoryBytes(declared) > room.FreeMemoryBytes)
            __builtin_trap(); // the check let through what does not fit
        const QImage picture = PhotoFiles::DecodeJpeg(bytes, QStringLiteral("fuzz.jpg"));
        if (picture.format() != QImage::Format_BGR888 ||
            picture.width() * qint64(picture.height()) !=
                declared.width() * qint64(declared.height()))
            __builtin_trap();
    } catch (const TintoraError&) {
    }
    return 0;
}
