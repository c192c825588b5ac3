// The photograph loading path on arbitrary bytes: the header checks in front of
// the decoder (sizes, coding, palette, pixel data inside the file) and the decoder
// itself, from memory, from a file and row by row into a thumbnail. All must agree.
#include "project/BmpFile.h"
#include "project/BoxReduction.h"
#include "project/Errors.h"
#include "project/PhotoFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {

// One scratch file per process, in a folder that goes when the process ends.
const QString& ScratchFile() {
    static const QTemporaryDir dir(QDir::temp().filePath(QStringLiteral("tintora-fuzz-XXXXXX")));
    static const QString path = dir.filePath(QStringLiteral("fuzz.bmp"));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // A few coded bytes may declare a picture of 300 million pixels, which is
    // allowed; past the header checks such inputs only slow the search down.
    try {
        const BmpFile::Layout layout = BmpFile::Parse(bytes.left(BmpFile::HeadBytes), bytes.size(),
                                                      QStringLiteral("fuzz.bmp"));
        if (qint64(layout.Width) * layout.Height > 4'000'000)
            return 0;
    } catch (const TintoraError&) {
        return 0;
    }
    QImage fromMemory;
    bool memoryRefused = false;
    try {
        fromMemory = BmpFile::DecodeBytes(bytes, QStringLiteral("fuzz.bmp"));
        if (fromMemory.format() != QImage::Format_BGR888)
            __builtin_trap();
    } catch (const TintoraError&) {
        memoryRefused = true;
    }

    QFile file(ScratchFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();
    try {
        const QImage fromFile = PhotoFiles::LoadBmp(ScratchFile());
        if (memoryRefused || fromFile != fromMemory)
            __builtin_trap();
    } catch (const TintoraError&) {
        if (!memoryRefused)
            __builtin_trap();
    }
    // A thumbnail read row by row is the whole picture shrunk, and is refused alike.
    try {
        const QImage shrunk = PhotoFiles::LoadBmpWithin(ScratchFile(), QSize(16, 16));
        if (memoryRefused || shrunk != BoxReduction::Reduce(fromMemory, shrunk.size()))
            __builtin_trap();
    } catch (const TintoraError&) {
        if (!memoryRefused)
            __builtin_trap();
    }
    return 0;
}
