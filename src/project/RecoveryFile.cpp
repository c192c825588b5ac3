#include "project/RecoveryFile.h"

#include "project/AtomicFile.h"
#include "project/MaskFile.h"
#include "project/RegularFile.h"

#include <QFile>

namespace RecoveryFile {

QString PathFor(const QString& photoPath) {
    return photoPath + QStringLiteral(".mask.obnova");
}

void Write(const Document& doc) {
    if (!doc.HasProject() || !doc.Modified)
        return;
    WriteFileAtomically(PathFor(doc.ProjectPath),
                        MaskFile::Serialize(doc.Mask, doc.Layers, doc.Schemes));
}

bool Exists(const QString& photoPath) {
    return RegularFile::CanOpen(PathFor(photoPath));
}

void Remove(const QString& photoPath) {
    QFile::remove(PathFor(photoPath));
}

} // namespace RecoveryFile
