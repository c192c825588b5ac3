#include "layers/SubordinateLayers.h"

#include "workspace/Workspace.h"

void ToggleSubordinate(Workspace& workspace, MasterChooser& chooser, int row) {
    LayerList& layers = workspace.Doc.Layers;
    if (row <= 0 || row >= layers.size())
        return;
    LayerRecord& layer = layers[row];
    // The link is stored in the mask file: a change of it is unsaved work.
    if (layer.Subordinate) {
        layer.Subordinate = false;
        workspace.Doc.Modified = true;
    } else {
        const std::optional<QString> master =
            chooser.ChooseMasterLayer(layers, row, layer.MasterName);
        if (row >= workspace.Doc.Layers.size())
            return;
        if (master) {
            workspace.Doc.Layers[row].Subordinate = true;
            workspace.Doc.Layers[row].MasterName = *master;
            workspace.Doc.Modified = true;
        }
    }
    emit workspace.LayerListChanged();
    workspace.UpdateWholePicture();
}
