#pragma once

#include <QString>
#include <QTemporaryDir>

// A copy of an embedded catalogue file in a temporary folder that only its owner may
// open, removed with the object. The embedded engine lets one process at a time open a
// database file; a reader that only reads (tintora-export beside a running Tintora)
// opens the copy instead of the file the program holds.
class PrivateCatalogueCopy {
public:
    // Copies the regular file at path. DatabaseError with a Czech message naming the
    // catalogue when it cannot be read or the copy cannot be written.
    explicit PrivateCatalogueCopy(const QString& path);
    PrivateCatalogueCopy(const PrivateCatalogueCopy&) = delete;
    PrivateCatalogueCopy& operator=(const PrivateCatalogueCopy&) = delete;

    const QString& Path() const { return path_; }

private:
    QTemporaryDir folder_;
    QString path_;
};
