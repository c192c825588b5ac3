#pragma once

#include "project/Document.h"

#include <QString>

// The unsaved changes of a project, kept when the program is told to end (a
// signal at logout or shutdown) while the document was modified. The files lie
// beside the project and never over its own: the saved version stays as the user
// saved it. The mask's changes hold the mask file format, the references' the
// measurement file's.
namespace RecoveryFile {

// photo.bmp → photo.bmp.mask.obnova
QString PathFor(const QString& photoPath);
// photo.bmp → photo.bmp.mereni.obnova
QString MeasuresPathFor(const QString& photoPath);

// Writes the modified document of an open project, its references first; does
// nothing when there is no project or nothing unsaved. Throws IoError when it
// cannot be written.
void Write(const Document& doc);

// Whether changes of the mask were kept; the references' go with them.
bool Exists(const QString& photoPath);
void Remove(const QString& photoPath);

} // namespace RecoveryFile
