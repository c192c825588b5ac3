// The mask file reader on arbitrary bytes: it must refuse or read, never crash,
// never read out of bounds and never allocate for counts the bytes cannot hold.
#include "project/Errors.h"
#include "project/MaskFile.h"
#include "render/RenderRegion.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const MaskFile::Contents contents = MaskFile::Parse(bytes, QStringLiteral("fuzz.mask"));
        // What was read must survive the operations that walk rows.
        TMask mask = contents.Mask;
        if (mask.Width > 0 && mask.Height > 0 && mask.Width <= 4096 && mask.Height <= 512) {
            for (int y = 0; y < mask.Height; ++y)
                (void)mask.LayerAt(y % mask.Width, y);
            mask.PaintSpan(0, 0, mask.Width / 2, 0);
            QImage photo(mask.Width, mask.Height, QImage::Format_BGR888);
            photo.fill(Qt::gray);
            QImage view = photo.copy();
            RenderRegion({photo, mask, contents.Layers, 1.0f, false}, view, 0, 0, mask.Width,
                         mask.Height);
        }
        (void)MaskFile::Serialize(contents.Mask, contents.Layers, contents.Schemes);
    } catch (const TintoraError&) {
    }
    return 0;
}
