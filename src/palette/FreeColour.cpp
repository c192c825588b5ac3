#include "palette/FreeColour.h"

#include "workspace/Workspace.h"

bool ApplyFreeColour(Workspace& workspace, int row, Colour colour) {
    if (row <= 0 || row >= workspace.Doc.Layers.size() || colour == NoColour)
        return false;
    LayerRecord& layer = workspace.Doc.Layers[row];
    layer.ShadeColour = colour;
    layer.ShadeId = 0;
    layer.FanDeckId = 0;
    layer.PaintKindId = 0;
    workspace.Doc.Modified = true;
    emit workspace.LayerListChanged();
    workspace.UpdateWholePicture();
    return true;
}
