#include "project/AtomicFile.h"

#include "project/Errors.h"
#include "project/FileErrors.h"
#include "project/MessageText.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

const QString TemporaryPrefix = QStringLiteral(".tintora-");
const QString TemporarySuffix = QStringLiteral(".part");

QString Native(const QString& path) {
    return MessageText::Path(path);
}

QString WriteFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Soubor %1 nelze uložit: %2.").arg(Native(path), reason);
}

QString ReasonOfErrno(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("na disku není dost místa");
    case EFBIG:
        return QStringLiteral("soubor by byl větší, než systém dovoluje");
    case EACCES:
    case EPERM:
        return QStringLiteral("přístup odepřen");
    case EROFS:
        return QStringLiteral("disk je jen pro čtení");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("složka neexistuje");
    default:
        return QStringLiteral("chyba při zápisu");
    }
}

// Why no file can be made in the target's folder. The folder itself is looked at: an
// error number alone names a folder that is there but takes no files (a system folder,
// one the user may not write) as missing.
QString CreationFailure(const QString& target, int error) {
    struct stat folder {};
    const QByteArray path = QFile::encodeName(QFileInfo(target).absolutePath());
    if (::stat(path.constData(), &folder) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return QStringLiteral("složka neexistuje");
        return QStringLiteral("do složky nelze zapisovat");
    }
    if (!S_ISDIR(folder.st_mode))
        return QStringLiteral("složka neexistuje");
    switch (error) {
    case EACCES:
    case EPERM:
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("do složky nelze zapisovat");
    default:
        return ReasonOfErrno(error);
    }
}

// Why an existing file of this kind cannot be written over: only regular files are.
QString NotRegularReason(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("je to složka, ne obyčejný soubor");
    if (S_ISFIFO(mode))
        return QStringLiteral("je to roura (FIFO), ne obyčejný soubor");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("je to zařízení, ne obyčejný soubor");
    if (S_ISSOCK(mode))
        return QStringLiteral("je to socket, ne obyčejný soubor");
    return QStringLiteral("není to obyčejný soubor");
}

// The file the bytes go to: target itself when it is a regular file or missing, the
// regular file a link leads to (the link stays a link). A FIFO, a device, a socket or
// a folder is never replaced by a file: IoError. Other errors are left to the creation
// of the temporary file, which names them.
QString PlaceToWrite(const QString& target) {
    const QByteArray native = QFile::encodeName(target);
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || S_ISREG(info.st_mode))
        return target;
    if (S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(native.constData(), resolved) == nullptr || ::stat(resolved, &info) != 0)
            throw IoError(
                WriteFailure(target, QStringLiteral("je to odkaz na soubor, který neexistuje")));
        if (S_ISREG(info.st_mode))
            return QFile::decodeName(resolved);
    }
    throw IoError(WriteFailure(target, NotRegularReason(info.st_mode)));
}

// The permissions a new file gets: those of the file it replaces, else the usual
// ones for new files (read and write for all, less the process's umask).
mode_t PermissionsFor(const QString& target) {
    struct stat info {};
    if (::stat(QFile::encodeName(target).constData(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

// The name of a temporary file being written, for a signal handler that ends the
// process: a slot is claimed, its name written, and only then marked ready.
struct TemporaryName {
    std::atomic<bool> claimed{false};
    std::atomic<bool> ready{false};
    char path[PATH_MAX] = {};
};

namespace {

// The slots, in blocks chained one after the other: a chain that only grows, so that
// every writer is listed however many there are (a run writes a picture per scheme)
// and a handler may walk it at any moment. A block is never freed.
struct NameBlock {
    TemporaryName names[64];
    std::atomic<NameBlock*> next{nullptr};
};
NameBlock firstNameBlock;

TemporaryName* ListTemporary(const QByteArray& path) {
    if (path.size() >= PATH_MAX)
        return nullptr;
    for (NameBlock* block = &firstNameBlock;;) {
        for (TemporaryName& slot : block->names) {
            bool expected = false;
            if (!slot.claimed.compare_exchange_strong(expected, true))
                continue;
            std::memcpy(slot.path, path.constData(), size_t(path.size()) + 1);
            slot.ready.store(true);
            return &slot;
        }
        NameBlock* next = block->next.load();
        if (!next) {
            auto fresh = std::make_unique<NameBlock>();
            if (block->next.compare_exchange_strong(next, fresh.get()))
                next = fresh.release();
        }
        block = next;
    }
}

void UnlistTemporary(TemporaryName* slot) {
    if (!slot)
        return;
    slot->ready.store(false);
    slot->claimed.store(false);
}

} // namespace

void RemoveUnfinishedTemporaries() noexcept {
    static_assert(std::atomic<NameBlock*>::is_always_lock_free &&
                  std::atomic<bool>::is_always_lock_free); // safe in a signal handler
    for (NameBlock* block = &firstNameBlock; block; block = block->next.load()) {
        for (TemporaryName& slot : block->names) {
            if (slot.ready.load())
                ::unlink(slot.path);
        }
    }
}

AtomicFile::AtomicFile(const QString& target)
    : target_(target), place_(PlaceToWrite(target)),
      temporary_(std::make_unique<QTemporaryFile>()) {
    const QFileInfo info(place_);
    temporary_->setFileTemplate(
        info.dir().filePath(TemporaryPrefix + QStringLiteral("XXXXXX") + TemporarySuffix));
    // QTemporaryFile creates the file exclusively: a link or file of that name fails
    // the creation instead of being written through.
    if (!temporary_->open())
        throw IoError(WriteFailure(target, CreationFailure(target, errno)));
    slot_ = ListTemporary(QFile::encodeName(temporary_->fileName()));
    const int fd = temporary_->handle();
    ::flock(fd, LOCK_EX | LOCK_NB);
    ::fchmod(fd, PermissionsFor(place_));
}

AtomicFile::~AtomicFile() {
    if (!committed_)
        Cancel();
}

void AtomicFile::Write(const char* data, qint64 size) {
    if (!temporary_)
        throw IoError(WriteFailure(target_, QStringLiteral("zápis byl zrušen")));
    const int fd = temporary_->handle();
    while (size > 0) {
        // Straight to the descriptor: a short write (a full disk, a file size limit)
        // shows at once instead of in a later flush.
        const ssize_t n = ::write(fd, data, size_t(std::min<qint64>(size, 1 << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            Cancel();
            throw IoError(WriteFailure(target_, ReasonOfErrno(error)));
        }
        data += n;
        size -= n;
    }
}

void AtomicFile::Commit() {
    if (!temporary_ || committed_)
        throw IoError(WriteFailure(target_, QStringLiteral("zápis byl zrušen")));
    const int fd = temporary_->handle();
    if (::fsync(fd) != 0) {
        const int error = errno;
        Cancel();
        throw IoError(WriteFailure(target_, ReasonOfErrno(error)));
    }
    const QString temporaryName = temporary_->fileName();
    temporary_->close();
    // What stands at the place may have changed since the writer began.
    struct stat info {};
    if (::lstat(QFile::encodeName(place_).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        Cancel();
        throw IoError(WriteFailure(target_, S_ISLNK(info.st_mode)
                                                ? QStringLiteral("soubor se mezitím změnil")
                                                : NotRegularReason(info.st_mode)));
    }
    if (std::rename(QFile::encodeName(temporaryName).constData(),
                    QFile::encodeName(place_).constData()) != 0) {
        Cancel();
        throw IoError(WriteFailure(target_, QStringLiteral("soubor nelze nahradit")));
    }
    temporary_->setAutoRemove(false); // its name is the target's now
    temporary_.reset();
    UnlistTemporary(std::exchange(slot_, nullptr));
    committed_ = true;
}

void AtomicFile::Cancel() {
    // QTemporaryFile removes its file when destroyed.
    temporary_.reset();
    UnlistTemporary(std::exchange(slot_, nullptr));
}

bool IsTemporaryFileName(const QString& name) {
    static const QRegularExpression own(QStringLiteral("^\\.tintora-[A-Za-z0-9]{6}\\.part$"));
    static const QRegularExpression earlier(QStringLiteral("^\\..+\\.part\\.bmp$"));
    return own.match(name).hasMatch() || earlier.match(name).hasMatch();
}

void RemoveStaleTemporaries(const QString& folder) {
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!IsTemporaryFileName(name))
            continue;
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        // A writer that is still running holds its file locked.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    AtomicFile file(path);
    file.Write(bytes);
    file.Commit();
}
