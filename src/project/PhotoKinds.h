#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The kinds of photograph the program imports, told apart by their first bytes: a
// phone's HEIC saved as .jpg is still read as HEIC, and a file of another kind is
// refused whatever its name.
namespace PhotoFiles {

enum class PhotoKind { Unknown, Jpeg, Png, WebP, Tiff, Heif };

// The kind of a file from its first bytes (at least 12 of them to tell every kind, the
// whole "ftyp" box of a HEIF).
PhotoKind KindOf(const QByteArray& head);

// Name patterns of every kind read, lower and upper case ("*.jpg", "*.JPG", …).
QStringList ImportPatterns();
// The import dialog's first filter, "description|patterns", listing every kind read.
QString AllPhotographsFilter();
// The MIME types of the kinds read, as the desktop entry names them.
QStringList ImportMimeTypes();

} // namespace PhotoFiles
