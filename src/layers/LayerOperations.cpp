#include "layers/LayerOperations.h"

#include "project/MaskFile.h"
#include "project/TextField.h"
#include "render/ZoomMath.h"
#include "workspace/Prompts.h"
#include "workspace/Workspace.h"

namespace {

// The mask file holds at most this many layers.
bool LayerListFull(const LayerList& layers) {
    return layers.size() >= MaskFile::MaxLayerCount;
}

const QString LayerListFullText = QStringLiteral("Projekt už má nejvíce vrstev, %1.");

} // namespace

LayerEditor::LayerEditor(Workspace& workspace, Prompts& prompts)
    : ws_(workspace), prompts_(prompts) {}

void LayerEditor::OpenLayerDialog(const LayerRecord& layer, int index) {
    RealColourPickMode = true;
    EditedLayerIndex = index;
    EditedLayer = layer;
    if (ShowDialog)
        ShowDialog(EditedLayer);
}

void LayerEditor::NewLayer() {
    if (LayerListFull(ws_.Doc.Layers)) {
        prompts_.Error(LayerListFullText.arg(MaskFile::MaxLayerCount));
        return;
    }
    OpenLayerDialog(NewLayerTemplate(int(ws_.Doc.Layers.size())), -1);
}

void LayerEditor::EditLayer(int row) {
    if (row <= 0 || row >= ws_.Doc.Layers.size())
        return;
    OpenLayerDialog(ws_.Doc.Layers[row], row);
}

bool LayerEditor::Confirm(const QString& name, Colour real, Colour mask) {
    EditedLayer.Name = name;
    EditedLayer.RealColour = real;
    EditedLayer.MaskColour = mask;
    if (name.isEmpty())
        return false;
    // The mask file stores names in Windows-1250: other characters would be lost.
    const QString outside = CharactersOutsideWindows1250(name);
    if (!outside.isEmpty()) {
        prompts_.Error(OutsideWindows1250Message(outside));
        return false;
    }
    ApplyLayerEdit(true);
    return true;
}

void LayerEditor::Cancel() {
    ApplyLayerEdit(false);
}

void LayerEditor::Abandon() {
    if (!RealColourPickMode)
        return;
    RealColourPickMode = false;
    EditedLayerIndex = -1;
    if (CloseDialog)
        CloseDialog();
    emit ws_.PickModeChanged();
}

void LayerEditor::ApplyLayerEdit(bool commit) {
    ws_.ClearHistory();
    if (CloseDialog)
        CloseDialog();
    LayerList& layers = ws_.Doc.Layers;
    // An index that no longer names a layer (the list changed meanwhile) is dropped.
    if (EditedLayerIndex >= layers.size() || EditedLayerIndex == 0)
        commit = false;
    if (commit) {
        for (int i = 0; i < layers.size(); ++i) {
            if (i != EditedLayerIndex && layers[i].Name == EditedLayer.Name) {
                prompts_.Message(QStringLiteral("Vrstva téhož jména již v seznamu existuje."),
                                 QStringLiteral("Chyba"), Prompts::Icon::Error, Prompts::Ok);
                return; // the pick mode stays on: the next press samples again
            }
        }
        if (EditedLayerIndex < 0) {
            if (LayerListFull(layers)) {
                prompts_.Error(LayerListFullText.arg(MaskFile::MaxLayerCount));
                return;
            }
            layers.append(EditedLayer);
            emit ws_.LayersChanged();
            emit ws_.LayerSelected(int(layers.size()) - 1);
        } else {
            // Only what the dialog edits: a shade, lock or link set while it was open
            // stays.
            LayerRecord& layer = layers[EditedLayerIndex];
            const QString oldName = layer.Name;
            layer.Name = EditedLayer.Name;
            layer.RealColour = EditedLayer.RealColour;
            layer.MaskColour = EditedLayer.MaskColour;
            if (oldName != EditedLayer.Name) {
                Measuring::RenameLayer(ws_.Doc.Measures, oldName, EditedLayer.Name);
                for (SchemeRecord& scheme : ws_.Doc.Schemes) {
                    for (LayerRecord& record : scheme.Layers) {
                        if (record.Name == oldName)
                            record.Name = EditedLayer.Name;
                    }
                }
            }
            emit ws_.LayersChanged();
            emit ws_.LayerSelected(EditedLayerIndex);
        }
        ws_.Doc.Modified = true;
        LayersEdited = true;
        ws_.UpdateWholePicture();
    }
    RealColourPickMode = false;
    emit ws_.PickModeChanged();
}

void LayerEditor::SampleRealColour(int x, int y) {
    const QImage& photo = ws_.Doc.PhotoBitmap;
    const double zoom = ws_.ZoomFactor;
    const int n = TruncInt(10.0 / zoom);
    const int cx = NearestInt(x / zoom), cy = NearestInt(y / zoom);
    qint64 sumR = 0, sumG = 0, sumB = 0, count = 0;
    for (int py = std::max(cy - n, 0); py <= std::min(cy + n, photo.height() - 1); ++py) {
        const uchar* row = photo.constScanLine(py);
        for (int px = std::max(cx - n, 0); px <= std::min(cx + n, photo.width() - 1); ++px) {
            sumB += row[3 * px];
            sumG += row[3 * px + 1];
            sumR += row[3 * px + 2];
            ++count;
        }
    }
    if (count > 0) {
        EditedLayer.RealColour = Rgb(int(sumR / count), int(sumG / count), int(sumB / count));
        if (ShowSampledColour)
            ShowSampledColour(EditedLayer.RealColour);
    }
    // Shown again as it is: the typed name and a chosen mask colour stay.
    if (RaiseDialog)
        RaiseDialog();
}

LayerEditor::Zone LayerEditor::ZoneAt(int x, int row) {
    if (x >= 23 && x <= 35)
        return Zone::Lock;
    if (row > 0 && x >= 40 && x <= 52)
        return Zone::Catalogue;
    if (row > 0 && x >= 6 && x <= 18)
        return Zone::Visibility;
    return Zone::None;
}

void LayerEditor::ToggleLock(int row) {
    if (row < 0 || row >= ws_.Doc.Layers.size())
        return;
    LayerRecord& layer = ws_.Doc.Layers[row];
    layer.Locked = !layer.Locked;
    ws_.Doc.Mask.SetLocked(row, layer.Locked);
    ws_.Doc.Modified = true;
}

void LayerEditor::ToggleVisibility(int row) {
    if (row <= 0 || row >= ws_.Doc.Layers.size())
        return;
    LayerRecord& layer = ws_.Doc.Layers[row];
    if (ws_.MaskEditMode)
        layer.ShownInMaskMode = !layer.ShownInMaskMode;
    else
        layer.HiddenInColourMode = !layer.HiddenInColourMode;
    ws_.UpdateWholePicture();
}

void LayerEditor::SetAllShown(bool shown) {
    for (int i = 1; i < ws_.Doc.Layers.size(); ++i) {
        if (ws_.MaskEditMode)
            ws_.Doc.Layers[i].ShownInMaskMode = shown;
        else
            ws_.Doc.Layers[i].HiddenInColourMode = !shown;
    }
    ws_.UpdateWholePicture();
}

void LayerEditor::ResetShade(int row) {
    if (row <= 0 || row >= ws_.Doc.Layers.size())
        return;
    ws_.Doc.Layers[row].ShadeColour = NoColour;
    ws_.Doc.Modified = true;
    ws_.UpdateWholePicture();
}

void LayerEditor::CleanLayer(int row) {
    LayerList& layers = ws_.Doc.Layers;
    if (row <= 0 || row >= layers.size())
        return;
    if (layers[row].Locked) {
        prompts_.Message(QStringLiteral("Vrstva je zamčená. Nejprve ji odemkněte."),
                         QStringLiteral("Chyba"), Prompts::Icon::Warning, Prompts::Ok);
        return;
    }
    if (layers[0].Locked) {
        prompts_.Message(QStringLiteral("Vrstva \"Originál\" je zamčená. Nejprve ji odemkněte."),
                         QStringLiteral("Chyba"), Prompts::Icon::Warning, Prompts::Ok);
        return;
    }
    if (prompts_.Message(QStringLiteral("Opravdu chcete smazat obsah této vrstvy?"),
                         QStringLiteral("Potvrzení"), Prompts::Icon::Question,
                         Prompts::Yes | Prompts::No) != Prompts::Yes)
        return;
    // Every run of the layer goes back to "Originál", row by row, in one rebuild each.
    TMask& mask = ws_.Doc.Mask;
    std::vector<std::uint8_t> pixels(size_t(std::max(mask.Width, 0)));
    for (int y = 0; y < mask.Height; ++y) {
        bool touched = false;
        for (const MaskRun& run : mask.Rows[y])
            touched |= run.Layer == row;
        if (!touched)
            continue;
        mask.ExpandRow(y, pixels.data());
        for (std::uint8_t& p : pixels) {
            if (p == row)
                p = 0;
        }
        mask.SetRowFromPixels(y, pixels.data());
    }
    ws_.Doc.Modified = true;
    ws_.UpdateWholePicture();
}

bool LayerEditor::RemoveLayer(int row) {
    LayerList& layers = ws_.Doc.Layers;
    if (row <= 0 || row >= layers.size())
        return false;
    if (prompts_.Message(QStringLiteral("Opravdu chcete vrstvu odstranit?"),
                         QStringLiteral("Potvrzení"), Prompts::Icon::Question,
                         Prompts::Yes | Prompts::No) != Prompts::Yes)
        return false;
    const LayerRecord removed = layers[row];
    // The pixels go to the master of a subordinate layer, otherwise to "Originál".
    const int master = EffectiveLayer(layers, row);
    int target = master == row ? 0 : master;
    for (LayerRecord& layer : layers) {
        if (layer.Subordinate && layer.MasterName == removed.Name) {
            layer.Subordinate = false;
            layer.MasterName.clear();
        }
    }
    layers.removeAt(row);
    Measuring::ForgetLayer(ws_.Doc.Measures, removed.Name);
    if (target > row)
        target -= 1;
    for (MaskRow& maskRow : ws_.Doc.Mask.Rows) {
        for (MaskRun& run : maskRow) {
            if (run.Layer == row)
                run.Layer = std::uint8_t(target);
            else if (run.Layer > row)
                run.Layer -= 1;
        }
    }
    for (int i = 0; i < 256; ++i)
        ws_.Doc.Mask.Locked[i] = i < layers.size() && layers[i].Locked;
    // A dialog edit of this layer or of a later one no longer names what it did.
    if (RealColourPickMode && EditedLayerIndex >= row)
        Abandon();
    ws_.ClearHistory();
    ws_.Doc.Modified = true;
    emit ws_.LayersChanged();
    emit ws_.LayerRemoved(row);
    ws_.UpdateWholePicture();
    return true;
}

void LayerEditor::AssignShadeToLayer(int index, Colour colour, int shadeId, int fanDeckId,
                                     int paintKindId, const QString& quantityText) {
    if (index < 0 || index >= ws_.Doc.Layers.size())
        return;
    LayerRecord& layer = ws_.Doc.Layers[index];
    layer.ShadeColour = colour;
    layer.ShadeId = shadeId;
    layer.FanDeckId = fanDeckId;
    layer.PaintKindId = paintKindId;
    ws_.Doc.Modified = true;
    bool ok = false;
    const int quantity = quantityText.trimmed().toInt(&ok);
    if (ok) {
        layer.Quantity = quantity;
    } else {
        prompts_.Message(QStringLiteral("„%1“ není platné celé číslo.").arg(quantityText),
                         QStringLiteral("Chyba"), Prompts::Icon::Error, Prompts::Ok);
    }
    // The picture shows the colour the layer now holds, whatever the quantity said.
    emit ws_.LayerListChanged();
    ws_.UpdateWholePicture();
}
