// The photograph loading path on arbitrary bytes written as a .bmp file.
#include "project/Errors.h"
#include "project/PhotoFiles.h"

#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString path =
        QDir::temp().filePath(QStringLiteral("tintora-fuzz-%1.bmp").arg(getpid()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    try {
        const QImage picture = PhotoFiles::LoadBmp(path);
        if (picture.format() != QImage::Format_BGR888)
            __builtin_trap();
    } catch (const TintoraError&) {
    }
    return 0;
}
