#pragma once

#include "project/Photograph.h"

// The decoders behind DecodePhotograph, one for each family of kinds.
namespace PhotoFiles {

// PNG, WebP and TIFF through Qt's image readers (TIFF and WebP are plugins).
PhotoHeader QtPhotoHeader(const QByteArray& file, PhotoKind kind, const QString& fileName);
Photograph DecodeWithQt(const QByteArray& file, PhotoKind kind, const QString& fileName,
                        QImage* spare, Progress& progress);

// HEIC, HEIF and AVIF through libheif: the primary picture, transformed as the file says.
PhotoHeader HeifHeader(const QByteArray& file, const QString& fileName);
Photograph DecodeHeif(const QByteArray& file, const QString& fileName, QImage* spare,
                      Progress& progress);

// A picture of any format Qt knows as 24-bit colour by the rule of DecodePhotograph,
// in spare's memory when it can. Reports to progress as the rows are done.
QImage ToBgr888OverWhite(const QImage& picture, QImage* spare, Progress& progress);

// 255 × (v × a + M × (M − a)) / M² to the nearest: a channel of maximum M laid over
// white with opacity a (a = M: opaque).
inline uchar OverWhite(quint64 v, quint64 a, quint64 max) {
    const quint64 den = max * max;
    return uchar(((v * a + max * (max - a)) * 255 + den / 2) / den);
}

} // namespace PhotoFiles
