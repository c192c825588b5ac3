#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Thumbnails of photographs, kept where and as the desktop keeps them (the
// freedesktop.org thumbnail convention): a PNG of at most 256 × 256 pixels in
// $XDG_CACHE_HOME/thumbnails/large, named by the MD5 of the photograph's file URI,
// whose text chunks record that URI and the photograph's modification time and
// size. File managers show the thumbnails the program makes and the program uses
// theirs. Where that folder cannot be written, thumbnails are kept in memory for
// the rest of the run. Every function may run on any thread.
namespace Thumbnails {

inline constexpr int LargeSide = 256;

// The file URI of a photograph: "file://" and its absolute path (the folder's links
// resolved, the file's own name kept), every byte other than letters, digits and
// -_.!~*'()/:@&=+$, written as %XX.
QByteArray FileUri(const QString& photoPath);

// $XDG_CACHE_HOME/thumbnails/large; ~/.cache stands in for an unset or relative
// XDG_CACHE_HOME.
QString LargeFolder();

// Where the thumbnail of a photograph lies: the MD5 of its URI in hexadecimal + ".png".
QString PathFor(const QString& photoPath);

// A thumbnail that still shows the photograph as it is: made for its URI, with its
// modification time, and with its size where one is recorded; from memory or from
// the disk. Null when there is none.
QImage Find(const QString& photoPath);

// Makes the thumbnail from the photograph's file, shrunk while its rows are read,
// and keeps it. Throws IoError when the photograph cannot be read.
QImage Make(const QString& photoPath);

// Find, else Make.
QImage Obtain(const QString& photoPath);

// Keeps a thumbnail of the photograph as its file is now: written to the disk (a
// temporary name renamed into place, readable by the user alone), else in memory.
// Returns whether it went to the disk.
bool Keep(const QString& photoPath, const QImage& thumbnail, QSize photoSize);

// Makes the thumbnail of a photograph just written from the picture in memory, as
// Make would from the file. A failure only leaves the thumbnail to be made later.
void Refresh(const QString& photoPath, const QImage& photo);

// Forgets the thumbnail of a photograph, on the disk and in memory.
void Remove(const QString& photoPath);

} // namespace Thumbnails
