#pragma once

#include "project/Errors.h"
#include "project/LayerRecord.h"
#include "project/Measurements.h"

#include <QByteArray>
#include <QSize>
#include <QString>

// The references of a project in a small text file beside it, photo.bmp.mereni
// (docs/measurement-file.md): UTF-8 lines, the header "TINTORA-MERENI 1", then
// "obdelnik" with four corners and two lengths, "usecka" with two ends and a length,
// and "vrstva N NAME" for a layer measured with another reference than the first.
// The mask file stays as it is: other programs read it.
namespace MeasurementFile {

inline const QByteArray Header = QByteArrayLiteral("TINTORA-MERENI 1");
// More than any hand-made file holds; a larger one is refused unread.
inline constexpr qint64 MaxFileBytes = 1 << 20;
inline constexpr int MaxReferences = 255;

// photo.bmp → photo.bmp.mereni
QString PathFor(const QString& photoPath);

// The references of a file's bytes, each checked on a photograph of the given size.
// BadFileError, naming fileName and the line, for anything else.
Measurements Parse(const QByteArray& bytes, const QString& fileName, QSize photo);

// The file's bytes: every reference, and a line for each of layers that is measured
// with another reference than the first, in the layers' order.
QByteArray Serialize(const Measurements& measures, const LayerList& layers);

// The references kept at path: none when there is no file. IoError or BadFileError
// when it cannot be read or is damaged.
Measurements Load(const QString& path, QSize photo);

// The message for a file that Load refused: the program goes on without it.
QString RefusedMessage(const TintoraError& error);

// Writes the references atomically. With none to keep the file goes, unless it is
// one that Load refuses: a damaged file the user was told of is left for them.
void Save(const QString& path, const Measurements& measures, const LayerList& layers, QSize photo);

} // namespace MeasurementFile
