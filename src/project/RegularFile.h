#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

// Opening the files the program reads (photographs, masks, JPEGs) without ever
// blocking on a FIFO or reading from a device: only regular files are taken, and
// only as many bytes as they held when opened.
namespace RegularFile {

// An open regular file, or IoError with a Czech message naming the path. A link is
// followed; what it points to must be a regular file as well.
std::unique_ptr<QFile> Open(const QString& path);

// Whether path names a regular file that can be opened for reading.
bool CanOpen(const QString& path);

// The whole file; throws IoError when it cannot be read or holds more than
// maxBytes (a limit of what its format can hold).
QByteArray ReadAll(const QString& path, qint64 maxBytes);

} // namespace RegularFile
