#pragma once

#include "project/Document.h"

class LayerEditor;
class Prompts;
class Workspace;

// The layers as the scheme colours them: every layer whose name equals a record's
// takes the whole record; other layers keep their settings and records without a
// layer are ignored. The layers given do not change.
LayerList LayersWithScheme(const LayerList& layers, const SchemeRecord& scheme);

// Copies a scheme's records back into the layers by name: every layer whose name
// equals a record's takes the whole record; other layers keep their settings and
// records without a layer are ignored. The mask's lock flags follow the layers.
void ApplySchemeRecords(Document& doc, const SchemeRecord& scheme);

// The scheme list's operations: save, overwrite, delete, rename and apply.
class SchemeEditor {
public:
    SchemeEditor(Workspace& workspace, LayerEditor& layers, Prompts& prompts);

    void SaveNew();
    void Overwrite(int row);
    void Delete(int row);
    void Rename(int row);
    // Returns whether the scheme was applied.
    bool Apply(int row);

private:
    bool Ask(const QString& question);
    // Whether the mask file can hold the name; tells the user when it cannot.
    bool Storable(const QString& name);

    Workspace& ws_;
    LayerEditor& layers_;
    Prompts& prompts_;
};
