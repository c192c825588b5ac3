#include "workspace/SaveMask.h"

#include "project/MeasurementFile.h"
#include "workspace/ErrorGuard.h"

SaveResult SaveMask(Document& doc, Prompts& prompts) {
    if (!doc.HasProject()) {
        prompts.Error(QStringLiteral("Není co ukládat"));
        return SaveResult::NothingToSave;
    }
    const bool written = RunGuarded(prompts, [&doc] {
        doc.Mask.SaveToFile(doc.MaskPath(), doc.Layers, doc.Schemes);
        MeasurementFile::Save(MeasurementFile::PathFor(doc.ProjectPath), doc.Measures, doc.Layers,
                              QSize(doc.Mask.Width, doc.Mask.Height));
    });
    if (!written)
        return SaveResult::Failed;
    doc.Modified = false;
    prompts.Information(QStringLiteral("Soubor byl uložen"));
    return SaveResult::Saved;
}
