#pragma once

#include <QSize>
#include <QString>

// Whether a photograph of a declared size can be imported at all, asked before a
// single pixel is decoded: a small file may declare a picture of gigabytes.
struct ImportRoom {
    qint64 FreeDiskBytes = -1;   // in the target folder; -1 when unknown
    qint64 FileSizeLimit = -1;   // the largest file the process may write; -1 none
    qint64 FreeMemoryBytes = -1; // memory available for new pictures; -1 when unknown
};

// Measures the room for an import into folder: its file system's free space, the
// process's file size limit and the memory available: the least of what the system
// reports, what the address space limit leaves and what the memory cgroup leaves.
ImportRoom MeasureImportRoom(const QString& folder);

// The memory the cgroups of selfCgroup (the text of /proc/self/cgroup) leave under
// root (where the cgroup file systems are mounted): the least of limit − use over
// the process's group and those above it, of version 1 or 2; -1 without a limit.
qint64 CgroupMemoryRoom(const QByteArray& selfCgroup, const QString& root);

// The bytes an import of a picture of this size writes: the 24-bit photograph and
// its blank mask.
qint64 ImportDiskBytes(QSize size);
// The memory an import of a picture of this size needs at its peak: the decoded
// picture, the decoder's own form of it (workBytesPerPixel: JPEG's CMYK, a codec's
// 16-bit picture) or the turned copy, and the view shown at zoom 1.
qint64 ImportMemoryBytes(QSize size, int workBytesPerPixel = 4);

// Throws IoError with a Czech message when the picture of this size declared by
// source would not fit on the disk of folder, in a file, or in memory.
void CheckImportRoom(QSize size, const ImportRoom& room, const QString& source,
                     const QString& folder, int workBytesPerPixel = 4);
