#include "project/RegularFile.h"

#include "project/Errors.h"
#include "project/FileErrors.h"
#include "project/MessageText.h"

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {
namespace {

QString Native(const QString& path) {
    return MessageText::Path(path);
}

// Opens without blocking (a FIFO would wait for a writer) and keeps the descriptor
// only when it names a regular file. Returns -1 with errno set otherwise.
int OpenDescriptor(const QString& path, bool& notRegular) {
    notRegular = false;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        notRegular = true;
        ::close(fd);
        return -1;
    }
    // Reads of a regular file never block; the flag only mattered for opening.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

QString OpenFailure(const QString& path, int error) {
    QString reason;
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        reason = QStringLiteral("soubor neexistuje");
        break;
    case EACCES:
    case EPERM:
        reason = QStringLiteral("přístup odepřen");
        break;
    default:
        reason = QStringLiteral("soubor nelze otevřít");
    }
    return QStringLiteral("Soubor %1 nelze načíst: %2.").arg(Native(path), reason);
}

} // namespace

std::unique_ptr<QFile> Open(const QString& path) {
    bool notRegular = false;
    const int fd = OpenDescriptor(path, notRegular);
    if (notRegular)
        throw IoError(
            QStringLiteral("Soubor %1 nelze načíst: není to obyčejný soubor.").arg(Native(path)));
    if (fd < 0)
        throw IoError(OpenFailure(path, errno));
    auto file = std::make_unique<QFile>(path);
    // Unbuffered: the readers ask for whole rows or blocks and get them directly.
    if (!file->open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered,
                    QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw IoError(CzechFileError(*file, path, false));
    }
    return file;
}

bool CanOpen(const QString& path) {
    bool notRegular = false;
    const int fd = OpenDescriptor(path, notRegular);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

QByteArray ReadAll(const QString& path, qint64 maxBytes) {
    const std::unique_ptr<QFile> file = Open(path);
    const qint64 size = file->size();
    if (size > maxBytes)
        throw IoError(QStringLiteral("Soubor %1 nelze načíst: je příliš velký (%2 bajtů).")
                          .arg(Native(path), QString::number(size)));
    QByteArray bytes;
    bytes.resize(qsizetype(size));
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file->read(bytes.data() + done, size - done);
        if (n < 0)
            throw IoError(CzechFileError(*file, path, false));
        if (n == 0)
            break; // the file became shorter since it was opened
        done += n;
    }
    bytes.truncate(qsizetype(done));
    return bytes;
}

} // namespace RegularFile
