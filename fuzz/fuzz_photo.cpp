// Photographs of every kind on arbitrary bytes: the kind told by the content, the
// metadata read out of each container by the program's own parsers (colour profile,
// EXIF orientation), the size the header declares and the room check in front of the
// decoders, then the decoder, and the colour profile taken into sRGB.
#include "project/Errors.h"
#include "project/ImportRoom.h"
#include "project/PhotoMetadata.h"
#include "project/Photograph.h"
#include "render/ColourProfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const PhotoFiles::PhotoKind kind = PhotoFiles::KindOf(bytes);
    const PhotoFiles::PhotoMetadata metadata = PhotoFiles::ReadMetadata(kind, bytes);
    if (metadata.Orientation < 1 || metadata.Orientation > 8 ||
        metadata.Profile.size() > PhotoFiles::MaxProfileBytes)
        __builtin_trap();
    try {
        const PhotoFiles::PhotoHeader header =
            PhotoFiles::ReadPhotoHeader(bytes, QStringLiteral("fuzz"));
        // A modest machine: 64 MB of disk, 8 MB files, 128 MB of memory.
        const ImportRoom room{64 << 20, 8 << 20, 128 << 20};
        CheckImportRoom(header.Size, room, QStringLiteral("fuzz"), QStringLiteral("domy"),
                        header.WorkBytesPerPixel);
        PhotoFiles::Photograph photograph =
            PhotoFiles::DecodePhotograph(bytes, QStringLiteral("fuzz"));
        if (photograph.Picture.format() != QImage::Format_BGR888 ||
            photograph.Picture.width() * qint64(photograph.Picture.height()) !=
                header.Size.width() * qint64(header.Size.height()))
            __builtin_trap();
        ConvertToSrgb(photograph.Picture, photograph.Profile, photograph.ProfileDamaged);
    } catch (const TintoraError&) {
    }
    return 0;
}
