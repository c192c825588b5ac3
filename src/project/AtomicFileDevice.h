#pragma once

#include "project/AtomicFile.h"

#include <QIODevice>
#include <QString>

// An AtomicFile as a device for writers that stream (a PDF written page by page), so
// that the document is never held whole. Such writers go on after a failed write;
// the first failure is kept, and Check throws it before the file is committed.
class AtomicFileDevice : public QIODevice {
public:
    explicit AtomicFileDevice(AtomicFile& file);

    bool isSequential() const override { return true; }
    // IoError when a write failed (a full disk, a size limit).
    void Check() const;

protected:
    qint64 readData(char* data, qint64 size) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    AtomicFile& file_;
    QString failure_;
};
