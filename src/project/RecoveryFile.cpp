#include "project/RecoveryFile.h"

#include "project/AtomicFile.h"
#include "project/MaskFile.h"
#include "project/MeasurementFile.h"
#include "project/RegularFile.h"

#include <QFile>

namespace RecoveryFile {

QString PathFor(const QString& photoPath) {
    return photoPath + QStringLiteral(".mask.obnova");
}

QString MeasuresPathFor(const QString& photoPath) {
    return MeasurementFile::PathFor(photoPath) + QStringLiteral(".obnova");
}

void Write(const Document& doc) {
    if (!doc.HasProject() || !doc.Modified)
        return;
    // The references first: the mask's file is what opening looks for, so the kept
    // changes are offered only when both are whole. Kept even when there are none,
    // since references removed are a change too.
    WriteFileAtomically(MeasuresPathFor(doc.ProjectPath),
                        MeasurementFile::Serialize(doc.Measures, doc.Layers));
    WriteFileAtomically(PathFor(doc.ProjectPath),
                        MaskFile::Serialize(doc.Mask, doc.Layers, doc.Schemes));
}

bool Exists(const QString& photoPath) {
    return RegularFile::CanOpen(PathFor(photoPath));
}

void Remove(const QString& photoPath) {
    QFile::remove(PathFor(photoPath));
    QFile::remove(MeasuresPathFor(photoPath));
}

} // namespace RecoveryFile
