#pragma once

#include "project/LayerRecord.h"

#include <QPoint>
#include <functional>

class Prompts;
class Workspace;

// The layer list's operations and the layer dialog's state: creating and editing
// layers, sampling their real colour from the photograph, locking, showing,
// clearing and removing them, and storing a chosen shade.
class LayerEditor {
public:
    LayerEditor(Workspace& workspace, Prompts& prompts);

    bool RealColourPickMode = false;
    LayerRecord EditedLayer;
    int EditedLayerIndex = -1;
    bool LayersEdited = false;

    // Tells the dialog what to show: name, real colour, mask colour.
    std::function<void(const LayerRecord& layer)> ShowDialog;
    // Shows the dialog again (it may be hidden) without changing its fields.
    std::function<void()> RaiseDialog;
    std::function<void()> CloseDialog;
    std::function<void(Colour real)> ShowSampledColour;

    // Opens the dialog for a new layer (row -1) or an existing one (row > 0).
    void NewLayer();
    void EditLayer(int row);
    // The dialog's confirm (with its fields) and cancel. Confirm returns false when
    // the dialog stays open (an empty name, or one Windows-1250 cannot hold).
    bool Confirm(const QString& name, Colour real, Colour mask);
    void Cancel();
    // Ends a pending edit without storing it (another project, a removed layer).
    void Abandon();

    // A press on the photograph while the dialog is open: the mean colour of the
    // square of half-size 10 / zoom around the pixel (view point x, y).
    void SampleRealColour(int x, int y);

    // A click in the list at x on a row: lock, catalogue or visibility zone.
    enum class Zone { None, Lock, Catalogue, Visibility };
    static Zone ZoneAt(int x, int row);
    void ToggleLock(int row);
    void ToggleVisibility(int row);
    // Every layer but "Originál" shown (in mask colour in mask mode, recoloured in
    // colour mode), or none.
    void ShowAllLayers() { SetAllShown(true); }
    void ShowNoLayers() { SetAllShown(false); }
    void ResetShade(int row);
    void CleanLayer(int row);
    // Returns whether the layer was removed.
    bool RemoveLayer(int row);

    // Stores a shade in a layer (an index outside the layers changes nothing).
    // quantityText that is not a whole number is reported and leaves the quantity.
    void AssignShadeToLayer(int index, Colour colour, int shadeId, int fanDeckId, int paintKindId,
                            const QString& quantityText);

private:
    void ApplyLayerEdit(bool commit);
    void SetAllShown(bool shown);
    void OpenLayerDialog(const LayerRecord& layer, int index);

    Workspace& ws_;
    Prompts& prompts_;
};
