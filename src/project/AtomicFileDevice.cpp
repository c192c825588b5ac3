#include "project/AtomicFileDevice.h"

#include "project/Errors.h"

AtomicFileDevice::AtomicFileDevice(AtomicFile& file) : file_(file) {
    open(QIODevice::WriteOnly);
}

void AtomicFileDevice::Check() const {
    if (!failure_.isEmpty())
        throw IoError(failure_);
}

qint64 AtomicFileDevice::readData(char*, qint64) {
    return -1;
}

qint64 AtomicFileDevice::writeData(const char* data, qint64 size) {
    if (!failure_.isEmpty())
        return -1;
    try {
        file_.Write(data, size);
    } catch (const IoError& error) {
        failure_ = error.message();
        return -1;
    }
    return size;
}
