#pragma once

#include "project/Document.h"

#include <QString>

// The unsaved changes of a project, kept when the program is told to end (a
// signal at logout or shutdown) while the document was modified. The file lies
// beside the project and never over its mask file: the saved version stays as the
// user saved it. It holds the mask file format.
namespace RecoveryFile {

// photo.bmp → photo.bmp.mask.obnova
QString PathFor(const QString& photoPath);

// Writes the modified document of an open project; does nothing when there is no
// project or nothing unsaved. Throws IoError when it cannot be written.
void Write(const Document& doc);

bool Exists(const QString& photoPath);
void Remove(const QString& photoPath);

} // namespace RecoveryFile
