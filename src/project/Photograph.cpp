#include "project/Photograph.h"

#include "project/Errors.h"
#include "project/PhotoDecoders.h"
#include "project/PhotoFiles.h"
#include "project/PhotoMetadata.h"

#include <QDir>

namespace PhotoFiles {
namespace {

[[noreturn]] void UnknownKind(const QString& fileName) {
    throw IoError(QStringLiteral("Soubor %1 není fotografie, kterou program umí přečíst.\n"
                                 "Umí fotografie JPEG, PNG, WebP, TIFF, HEIC, HEIF a AVIF.")
                      .arg(QDir::toNativeSeparators(fileName)));
}

Photograph DecodeJpegPhotograph(const QByteArray& file, const QString& fileName, QImage* spare,
                                Progress& progress) {
    Photograph photograph;
    const PhotoMetadata metadata = ReadMetadata(PhotoKind::Jpeg, file);
    bool throughProfile = false;
    WaitReporting(progress, 0.0, [&] {
        photograph.Picture = DecodeJpeg(file, fileName, spare, metadata.Profile, &throughProfile);
    });
    // A CMYK photograph's own profile took it to sRGB already.
    if (!throughProfile) {
        photograph.Profile = metadata.Profile;
        photograph.ProfileDamaged = metadata.ProfileDamaged;
    }
    ReportOrStop(progress, 1.0);
    return photograph;
}

PhotoHeader HeaderOf(const QByteArray& file, const QString& fileName) {
    const PhotoKind kind = KindOf(file.left(4096));
    switch (kind) {
    case PhotoKind::Jpeg:
        return {kind, JpegSize(file, fileName), 4};
    case PhotoKind::Png:
    case PhotoKind::WebP:
    case PhotoKind::Tiff:
        return QtPhotoHeader(file, kind, fileName);
    case PhotoKind::Heif:
        return HeifHeader(file, fileName);
    case PhotoKind::Unknown:
        break;
    }
    UnknownKind(fileName);
}

} // namespace

PhotoHeader ReadPhotoHeader(const QByteArray& file, const QString& fileName) {
    const PhotoHeader header = HeaderOf(file, fileName);
    const int width = header.Size.width(), height = header.Size.height();
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 ||
        qint64(width) * height > MaxPixels)
        throw IoError(QStringLiteral("Obrázek %1 má nepřípustnou velikost %2 × %3 bodů.")
                          .arg(QDir::toNativeSeparators(fileName), QString::number(width),
                               QString::number(height)));
    return header;
}

Photograph DecodePhotograph(const QByteArray& file, const QString& fileName, QImage* spare,
                            Progress& progress) {
    const PhotoKind kind = KindOf(file.left(4096));
    switch (kind) {
    case PhotoKind::Jpeg:
        return DecodeJpegPhotograph(file, fileName, spare, progress);
    case PhotoKind::Png:
    case PhotoKind::WebP:
    case PhotoKind::Tiff:
        return DecodeWithQt(file, kind, fileName, spare, progress);
    case PhotoKind::Heif:
        return DecodeHeif(file, fileName, spare, progress);
    case PhotoKind::Unknown:
        break;
    }
    UnknownKind(fileName);
}

} // namespace PhotoFiles
