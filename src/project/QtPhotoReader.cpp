#include "project/PhotoDecoders.h"

#include "project/CmykTiff.h"
#include "project/Errors.h"
#include "project/PhotoFiles.h"
#include "project/PhotoMetadata.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>

namespace PhotoFiles {
namespace {

QByteArray FormatOf(PhotoKind kind) {
    switch (kind) {
    case PhotoKind::Png:
        return QByteArrayLiteral("png");
    case PhotoKind::WebP:
        return QByteArrayLiteral("webp");
    default:
        return QByteArrayLiteral("tiff");
    }
}

QString KindName(PhotoKind kind) {
    switch (kind) {
    case PhotoKind::Png:
        return QStringLiteral("PNG");
    case PhotoKind::WebP:
        return QStringLiteral("WebP");
    default:
        return QStringLiteral("TIFF");
    }
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// What Qt's TIFF reader does not take in a file that may well be whole, in Czech;
// empty when nothing of the kind is known.
QString UnsupportedTiffSamples(const QByteArray& file) {
    const TiffSamples samples = SamplesInTiff(file);
    if (samples.Format == 3)
        return QStringLiteral("barvy zapsané čísly s plovoucí čárkou (%1 bitů)").arg(samples.Bits);
    if (samples.Format == 2)
        return QStringLiteral("barvy zapsané čísly se znaménkem");
    if (samples.Photometric == 5 && samples.Bits > 8)
        return QStringLiteral("barvy CMYK po %1 bitech").arg(samples.Bits);
    return {};
}

// Qt's reader of one kind over the file's bytes.
class Reader {
public:
    Reader(const QByteArray& file, PhotoKind kind, const QString& fileName)
        : format_(FormatOf(kind)), kind_(kind), fileName_(fileName) {
        buffer_.setData(file);
        buffer_.open(QIODevice::ReadOnly);
        reader_.setDevice(&buffer_);
        reader_.setFormat(format_);
        reader_.setAutoTransform(false); // the EXIF orientation is applied afterwards
        if (!QImageReader::supportedImageFormats().contains(format_))
            throw IoError(QStringLiteral("Fotografie %1 je ve formátu %2, pro který chybí "
                                         "zásuvný modul Qt (balíček qt6-image-formats-plugins).")
                              .arg(Native(fileName), KindName(kind)));
        size_ = reader_.size();
        if (!reader_.canRead() || !size_.isValid() || size_.isEmpty())
            throw IoError(QStringLiteral("Soubor %1 není platný obrázek %2.\n%3")
                              .arg(Native(fileName), KindName(kind), reader_.errorString()));
    }

    QSize Size() const { return size_; }

    // Bytes a pixel of the reader's own picture takes.
    int BytesPerPixel() {
        const QImage::Format format = reader_.imageFormat();
        if (format == QImage::Format_Invalid)
            return 8;
        return std::max(1, QImage::toPixelFormat(format).bitsPerPixel() / 8);
    }

    QImage Read() {
        // The room for the picture was measured before: Qt's own limit would refuse
        // a 16-bit photograph of 50 megapixels.
        const qint64 bytes = qint64(size_.width()) * size_.height() * 8;
        reader_.setAllocationLimit(int(std::min<qint64>((bytes >> 20) + 16, 1 << 30)));
        QImage picture;
        if (!reader_.read(&picture) || picture.isNull()) {
            const QString unsupported =
                kind_ == PhotoKind::Tiff ? UnsupportedTiffSamples(buffer_.data()) : QString();
            if (!unsupported.isEmpty())
                throw IoError(QStringLiteral("Fotografii %1 program neumí přečíst: je to TIFF, "
                                             "který má %2. Uložte ji jako TIFF RGB s 8 nebo 16 "
                                             "bity na kanál, jako PNG nebo JPEG.")
                                  .arg(Native(fileName_), unsupported));
            throw IoError(QStringLiteral("Obrázek %1 je poškozený nebo neúplný.\n%2")
                              .arg(Native(fileName_), reader_.errorString()));
        }
        return picture;
    }

private:
    QBuffer buffer_;
    QImageReader reader_;
    QByteArray format_;
    PhotoKind kind_;
    QString fileName_;
    QSize size_;
};

} // namespace

PhotoHeader QtPhotoHeader(const QByteArray& file, PhotoKind kind, const QString& fileName) {
    Reader reader(file, kind, fileName);
    return {kind, reader.Size(), reader.BytesPerPixel()};
}

Photograph DecodeWithQt(const QByteArray& file, PhotoKind kind, const QString& fileName,
                        QImage* spare, Progress& progress) {
    if (kind == PhotoKind::Tiff) {
        // A CMYK photograph goes through its own CMYK profile, which Qt would leave out.
        const PhotoMetadata metadata = ReadMetadata(kind, file);
        Photograph photograph;
        bool throughProfile = false;
        WaitReporting(progress, 0.0, [&] {
            throughProfile =
                CmykTiffThroughProfile(file, metadata.Profile, spare, photograph.Picture);
        });
        if (throughProfile) {
            photograph.Picture = Oriented(photograph.Picture, metadata.Orientation);
            ReportOrStop(progress, 1.0);
            return photograph;
        }
    }
    QImage decoded;
    WaitReporting(progress, 0.0, [&] {
        Reader reader(file, kind, fileName);
        decoded = reader.Read();
    });
    const PhotoMetadata metadata = ReadMetadata(kind, file);
    Photograph photograph;
    ProgressPart converting(progress, 0.7, 0.9);
    photograph.Picture = ToBgr888OverWhite(decoded, spare, converting);
    decoded = QImage();
    photograph.Picture = Oriented(photograph.Picture, metadata.Orientation);
    photograph.Profile = metadata.Profile;
    photograph.ProfileDamaged = metadata.ProfileDamaged;
    ReportOrStop(progress, 1.0);
    return photograph;
}

} // namespace PhotoFiles
