#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryFile;
struct TemporaryName;

// A file written beside its target under a unique name created exclusively (never
// through a planted link) and renamed over the target only by Commit, so that the
// target is either untouched or whole. Until then the temporary file is locked;
// destroying an uncommitted writer removes it.
// Only a regular file is replaced: a link to one is written through (the file it
// leads to is replaced, the link stays), and a FIFO, a device, a socket or a folder
// at the target is refused with IoError, so that no device or pipe is ever turned
// into a file.
class AtomicFile {
public:
    // Creates the temporary file in the folder of the file replaced; IoError when it
    // cannot, or when the target is neither a regular file nor a link to one.
    explicit AtomicFile(const QString& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    const QString& Target() const { return target_; }

    // Appends bytes; IoError (a full disk, a size limit) when not all were written.
    void Write(const char* data, qint64 size);
    void Write(const QByteArray& bytes) { Write(bytes.constData(), bytes.size()); }

    // Flushes to the disk, closes and renames over the target; IoError on failure,
    // and the target stays as it was.
    void Commit();

    // Removes the temporary file without touching the target.
    void Cancel();

private:
    QString target_;
    QString place_; // the regular file replaced: target_, or where its link leads
    std::unique_ptr<QTemporaryFile> temporary_;
    TemporaryName* slot_ = nullptr; // where a signal handler finds the temporary file's name
    bool committed_ = false;
};

// The name pattern of the program's temporary files (".tintora-XXXXXX.part").
bool IsTemporaryFileName(const QString& name);

// Removes temporary files that a killed run of the program left in folder: its
// own pattern and the ".NAME.part.bmp" of earlier versions, only regular files,
// and never one that a running writer still holds locked.
void RemoveStaleTemporaries(const QString& folder);

// Removes the temporary files of the writers that are neither committed nor
// cancelled, for a signal handler that ends the process at once: safe to call from
// a signal handler.
void RemoveUnfinishedTemporaries() noexcept;

// Writes bytes to path through an AtomicFile.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);
