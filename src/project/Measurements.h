#pragma once

#include "project/PlaneReference.h"

#include <QList>
#include <QMap>
#include <QString>

struct Document;

// The references the user marked on the photograph, one per plane (front facade,
// side wall, a room's walls), and which of them each layer is measured with.
struct Measurements {
    QList<PlaneReference> References;
    // A layer's reference by its name, an index into References; a layer not named
    // here (or naming one no longer there) is measured with the first.
    QMap<QString, int> LayerPlanes;

    bool IsEmpty() const { return References.isEmpty(); }
    // The reference a layer is measured with, or -1 when there is none.
    int PlaneOfLayer(const QString& layerName) const;
    bool operator==(const Measurements&) const = default;
};

// Changes of the document's references. Each sets Modified when it changes anything;
// a reference that gives no plane throws ReferenceError and changes nothing.
namespace Measuring {

// Adds a reference for another plane; returns its index.
int AddReference(Document& doc, const PlaneReference& reference);
// Puts a changed reference (a moved mark, new lengths) in the place of index.
void ReplaceReference(Document& doc, int index, const PlaneReference& reference);
// Removes a reference; the layers measured with it go back to the first, those
// measured with a later one keep it.
void RemoveReference(Document& doc, int index);
// The reference layer index is measured with; returns whether it changed.
bool ChooseLayerPlane(Document& doc, int layer, int plane);
// A layer renamed keeps its reference; a removed one lets it go.
void RenameLayer(Measurements& measures, const QString& oldName, const QString& newName);
void ForgetLayer(Measurements& measures, const QString& name);

} // namespace Measuring
