#include "project/Measurements.h"

#include "project/Document.h"

int Measurements::PlaneOfLayer(const QString& layerName) const {
    if (References.isEmpty())
        return -1;
    const int plane = LayerPlanes.value(layerName, 0);
    return plane >= 0 && plane < References.size() ? plane : 0;
}

namespace Measuring {

namespace {

QSize PhotoSize(const Document& doc) {
    return QSize(doc.Mask.Width, doc.Mask.Height);
}

} // namespace

int AddReference(Document& doc, const PlaneReference& reference) {
    PlaneOf(reference, PhotoSize(doc));
    doc.Measures.References.append(reference);
    doc.Modified = true;
    return int(doc.Measures.References.size()) - 1;
}

void ReplaceReference(Document& doc, int index, const PlaneReference& reference) {
    if (index < 0 || index >= doc.Measures.References.size())
        return;
    PlaneOf(reference, PhotoSize(doc));
    if (doc.Measures.References[index] == reference)
        return;
    doc.Measures.References[index] = reference;
    doc.Modified = true;
}

void RemoveReference(Document& doc, int index) {
    Measurements& measures = doc.Measures;
    if (index < 0 || index >= measures.References.size())
        return;
    measures.References.removeAt(index);
    for (auto it = measures.LayerPlanes.begin(); it != measures.LayerPlanes.end();) {
        if (it.value() == index || measures.References.isEmpty()) {
            it = measures.LayerPlanes.erase(it);
            continue;
        }
        if (it.value() > index)
            it.value() -= 1;
        ++it;
    }
    doc.Modified = true;
}

bool ChooseLayerPlane(Document& doc, int layer, int plane) {
    Measurements& measures = doc.Measures;
    if (layer < 0 || layer >= doc.Layers.size() || plane < 0 || plane >= measures.References.size())
        return false;
    const QString& name = doc.Layers[layer].Name;
    if (measures.PlaneOfLayer(name) == plane)
        return false;
    // The first is every layer's reference unless it chose another.
    if (plane == 0)
        measures.LayerPlanes.remove(name);
    else
        measures.LayerPlanes[name] = plane;
    doc.Modified = true;
    return true;
}

void RenameLayer(Measurements& measures, const QString& oldName, const QString& newName) {
    if (oldName == newName)
        return;
    measures.LayerPlanes.remove(newName);
    if (measures.LayerPlanes.contains(oldName))
        measures.LayerPlanes.insert(newName, measures.LayerPlanes.take(oldName));
}

void ForgetLayer(Measurements& measures, const QString& name) {
    measures.LayerPlanes.remove(name);
}

} // namespace Measuring
