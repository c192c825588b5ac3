// The references file reader on arbitrary bytes: it must refuse or read, never
// crash; what it reads must write back to the same references, and every layer area
// measured with them must be a finite number not below zero.
#include "project/Errors.h"
#include "project/LayerAreas.h"
#include "project/MeasurementFile.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QSize photo(64, 48);
    try {
        const Measurements measures =
            MeasurementFile::Parse(bytes, QStringLiteral("fuzz.mereni"), photo);
        LayerList layers{OriginalLayerTemplate()};
        for (auto it = measures.LayerPlanes.cbegin(); it != measures.LayerPlanes.cend(); ++it) {
            LayerRecord layer = NewLayerTemplate(int(layers.size()));
            layer.Name = it.key();
            layers << layer;
            if (layers.size() == 255)
                break;
        }
        const Measurements again = MeasurementFile::Parse(
            MeasurementFile::Serialize(measures, layers), QStringLiteral("again"), photo);
        if (again.References != measures.References)
            std::abort();
        TMask mask = TMask::CreateBlank(photo.width(), photo.height());
        for (int y = 0; y < photo.height(); ++y)
            mask.PaintSpan(y, y, photo.width() - 1, std::uint8_t(y % layers.size()));
        for (const double area : LayerAreas::Own(mask, layers, measures)) {
            if (!std::isfinite(area) || area < 0)
                std::abort();
        }
    } catch (const TintoraError&) {
    }
    return 0;
}
