#include "layers/Schemes.h"

#include "layers/LayerOperations.h"
#include "project/TextField.h"
#include "workspace/Prompts.h"
#include "workspace/Workspace.h"

LayerList LayersWithScheme(const LayerList& layers, const SchemeRecord& scheme) {
    LayerList coloured = layers;
    for (const LayerRecord& record : scheme.Layers) {
        for (LayerRecord& layer : coloured) {
            if (layer.Name == record.Name)
                layer = record;
        }
    }
    return coloured;
}

void ApplySchemeRecords(Document& doc, const SchemeRecord& scheme) {
    doc.Layers = LayersWithScheme(doc.Layers, scheme);
    for (int i = 0; i < doc.Layers.size() && i < 256; ++i)
        doc.Mask.SetLocked(i, doc.Layers[i].Locked);
}

SchemeEditor::SchemeEditor(Workspace& workspace, LayerEditor& layers, Prompts& prompts)
    : ws_(workspace), layers_(layers), prompts_(prompts) {}

bool SchemeEditor::Storable(const QString& name) {
    const QString outside = CharactersOutsideWindows1250(name);
    if (!outside.isEmpty()) {
        prompts_.Error(OutsideWindows1250Message(outside));
        return false;
    }
    // The mask file keeps 32 characters of a name; a longer one would come back cut.
    if (name.size() > TextFieldCodec::FieldSize) {
        prompts_.Error(QStringLiteral("Název schématu může mít nejvýše %1 znaků.")
                           .arg(TextFieldCodec::FieldSize));
        return false;
    }
    return true;
}

bool SchemeEditor::Ask(const QString& question) {
    return prompts_.Message(question, QStringLiteral("Dotaz"), Prompts::Icon::Question,
                            Prompts::Yes | Prompts::No) == Prompts::Yes;
}

void SchemeEditor::SaveNew() {
    const QString name =
        prompts_.InputText(QStringLiteral("Zadejte název schématu"), QStringLiteral("Název"),
                           QString(), TextFieldCodec::FieldSize);
    if (name.isEmpty() || !Storable(name))
        return;
    ws_.Doc.Schemes.append(SchemeRecord{name, ws_.Doc.Layers});
    ws_.Doc.Modified = true;
    emit ws_.SchemesChanged();
}

void SchemeEditor::Overwrite(int row) {
    SchemeList& schemes = ws_.Doc.Schemes;
    if (row < 0 || row >= schemes.size())
        return;
    if (!Ask(QStringLiteral("Chcete přepsat vybrané schéma?")))
        return;
    LayerList& records = schemes[row].Layers;
    for (int i = 0; i < ws_.Doc.Layers.size(); ++i) {
        if (i < records.size())
            records[i] = ws_.Doc.Layers[i];
        else
            records.append(ws_.Doc.Layers[i]);
    }
    ws_.Doc.Modified = true;
}

void SchemeEditor::Delete(int row) {
    if (row < 0 || row >= ws_.Doc.Schemes.size())
        return;
    if (!Ask(QStringLiteral("Chcete smazat zvolené schéma?")))
        return;
    ws_.Doc.Schemes.removeAt(row);
    ws_.Doc.Modified = true;
    emit ws_.SchemesChanged();
}

void SchemeEditor::Rename(int row) {
    SchemeList& schemes = ws_.Doc.Schemes;
    if (row < 0 || row >= schemes.size())
        return;
    const QString name =
        prompts_.InputText(QStringLiteral("Zadejte název schématu"), QStringLiteral("Název"),
                           schemes[row].Name, TextFieldCodec::FieldSize);
    if (name.isEmpty() || !Storable(name))
        return;
    if (name != schemes[row].Name)
        ws_.Doc.Modified = true;
    schemes[row].Name = name;
    emit ws_.SchemeRenamed(row);
}

bool SchemeEditor::Apply(int row) {
    if (row < 0 || row >= ws_.Doc.Schemes.size())
        return false;
    if (layers_.LayersEdited && !Ask(QStringLiteral("Chcete použít dříve uložené schéma?")))
        return false;
    ws_.Doc.Modified = true;
    layers_.LayersEdited = false;
    ApplySchemeRecords(ws_.Doc, ws_.Doc.Schemes[row]);
    emit ws_.LayerListChanged();
    ws_.UpdateWholePicture();
    return true;
}
