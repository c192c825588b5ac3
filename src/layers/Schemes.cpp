#include "layers/Schemes.h"

void ApplySchemeRecords(Document& doc, const SchemeRecord& scheme) {
    for (const LayerRecord& record : scheme.Layers) {
        for (LayerRecord& layer : doc.Layers) {
            if (layer.Name == record.Name)
                layer = record;
        }
    }
    for (int i = 0; i < doc.Layers.size() && i < 256; ++i)
        doc.Mask.SetLocked(i, doc.Layers[i].Locked);
}
