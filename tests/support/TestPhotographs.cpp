#include "support/TestPhotographs.h"

#include <QBuffer>
#include <QColor>
#include <QImageWriter>
#include <QtEndian>
#include <lcms2.h>
#include <libheif/heif.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace TestPhotographs {
namespace {

QByteArray Be32(quint32 v) {
    char b[4];
    qToBigEndian(v, b);
    return QByteArray(b, 4);
}
QByteArray Le32(quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}
QByteArray Le16(quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    return QByteArray(b, 2);
}

QByteArray PngChunk(const char* type, const QByteArray& data) {
    const QByteArray typed = QByteArray(type, 4) + data;
    const quint32 crc =
        quint32(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size())));
    return Be32(quint32(data.size())) + typed + Be32(crc);
}

QByteArray RiffChunk(const char* type, const QByteArray& data) {
    QByteArray chunk = QByteArray(type, 4) + Le32(quint32(data.size())) + data;
    if (data.size() % 2)
        chunk.append('\0');
    return chunk;
}

} // namespace

QByteArray QtWritten(const QImage& picture, const char* format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(100); // WebP: without loss
    writer.write(picture);
    return buffer.data();
}

QByteArray Compressed(const QByteArray& profile) {
    uLongf size = compressBound(uLong(profile.size()));
    QByteArray out(qsizetype(size), '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(profile.constData()), uLong(profile.size()));
    out.resize(qsizetype(size));
    return out;
}

QByteArray Png(const QImage& picture, int orientation, const QByteArray& compressedProfile) {
    QByteArray png = QtWritten(picture.convertToFormat(QImage::Format_RGB888), "png");
    QByteArray extra;
    if (!compressedProfile.isEmpty())
        extra += PngChunk("iCCP", QByteArray("P3\0\0", 4) + compressedProfile);
    if (orientation)
        extra += PngChunk("eXIf", ExifBlock(orientation));
    // After the header chunk (8 bytes of signature, 25 of IHDR).
    return png.left(33) + extra + png.mid(33);
}

QByteArray WebP(const QImage& picture, int orientation, const QByteArray& profile) {
    const QByteArray simple = QtWritten(picture.convertToFormat(QImage::Format_RGB888), "webp");
    if (!orientation && profile.isEmpty())
        return simple;
    // VP8X: flags (ICC 0x20, EXIF 0x08), three reserved bytes, canvas size − 1 in 24 bits.
    QByteArray vp8x(10, '\0');
    vp8x[0] = char((profile.isEmpty() ? 0 : 0x20) | (orientation ? 0x08 : 0));
    const quint32 w = quint32(picture.width() - 1), h = quint32(picture.height() - 1);
    vp8x.replace(4, 3, Le32(w).left(3));
    vp8x.replace(7, 3, Le32(h).left(3));
    QByteArray body = QByteArray("WEBP") + RiffChunk("VP8X", vp8x);
    if (!profile.isEmpty())
        body += RiffChunk("ICCP", profile);
    body += simple.mid(12); // the picture's own chunk
    if (orientation)
        body += RiffChunk("EXIF", ExifBlock(orientation));
    return QByteArray("RIFF") + Le32(quint32(body.size())) + body;
}

QByteArray RawTiff(QSize size, int photometric, int samples, int bits, int format,
                   const QByteArray& pixels, const QByteArray& profile) {
    struct Tag {
        quint16 tag, type;
        quint32 count, value;
    };
    const quint32 bitsAt = 8, pixelsAt = bitsAt + 2 * quint32(samples);
    const quint32 profileAt = pixelsAt + quint32(pixels.size());
    const quint32 ifdAt = profileAt + quint32(profile.size() + (profile.size() & 1));
    QByteArray tiff = QByteArray("II*\0", 4) + Le32(ifdAt);
    for (int k = 0; k < samples; ++k)
        tiff += Le16(quint16(bits));
    tiff += pixels;
    tiff += profile;
    if (profile.size() & 1)
        tiff += '\0';
    QList<Tag> tags = {{256, 4, 1, quint32(size.width())},  {257, 4, 1, quint32(size.height())},
                       {258, 3, quint32(samples), bitsAt},  {259, 3, 1, 1},
                       {262, 3, 1, quint32(photometric)},   {273, 4, 1, pixelsAt},
                       {277, 3, 1, quint32(samples)},       {278, 4, 1, quint32(size.height())},
                       {279, 4, 1, quint32(pixels.size())}, {284, 3, 1, 1},
                       {339, 3, 1, quint32(format)}};
    if (!profile.isEmpty())
        tags << Tag{34675, 7, quint32(profile.size()), profileAt};
    tiff += Le16(quint16(tags.size()));
    for (const Tag& t : tags) {
        tiff += Le16(t.tag) + Le16(t.type) + Le32(t.count);
        tiff += t.type == 3 && t.count == 1 ? Le16(quint16(t.value)) + Le16(0) : Le32(t.value);
    }
    tiff += Le32(0);
    return tiff;
}

QByteArray Tiff(const QImage& picture, int orientation, const QByteArray& profile) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const int w = rgb.width(), h = rgb.height();
    QByteArray pixels;
    for (int y = 0; y < h; ++y)
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), w * 3);
    struct Tag {
        quint16 tag, type;
        quint32 count, value;
    };
    QList<Tag> tags;
    const quint32 bitsAt = 8, pixelsAt = 16;
    const quint32 profileAt = pixelsAt + quint32(pixels.size());
    tags << Tag{256, 4, 1, quint32(w)} << Tag{257, 4, 1, quint32(h)} << Tag{258, 3, 3, bitsAt}
         << Tag{259, 3, 1, 1} << Tag{262, 3, 1, 2} << Tag{273, 4, 1, pixelsAt};
    if (orientation)
        tags << Tag{274, 3, 1, quint32(orientation)};
    tags << Tag{277, 3, 1, 3} << Tag{278, 4, 1, quint32(h)}
         << Tag{279, 4, 1, quint32(pixels.size())} << Tag{284, 3, 1, 1};
    if (!profile.isEmpty())
        tags << Tag{34675, 7, quint32(profile.size()), profileAt};
    const quint32 ifdAt = profileAt + quint32(profile.size() + (profile.size() & 1));
    QByteArray tiff = QByteArray("II*\0", 4) + Le32(ifdAt);
    tiff += Le16(8) + Le16(8) + Le16(8) + Le16(0); // bits per sample at 8
    tiff += pixels;
    tiff += profile;
    if (profile.size() & 1)
        tiff += '\0';
    tiff += Le16(quint16(tags.size()));
    for (const Tag& t : tags) {
        tiff += Le16(t.tag) + Le16(t.type) + Le32(t.count);
        tiff += t.type == 3 && t.count == 1 ? Le16(quint16(t.value)) + Le16(0) : Le32(t.value);
    }
    tiff += Le32(0);
    return tiff;
}

namespace {

// The picture given to libheif's encoder of the coding, the file it writes.
QByteArray EncodedHeif(heif_image* image, HeifCoding coding, const QByteArray& profile,
                       int orientation = 1) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(
        context, coding == HeifCoding::Hevc ? heif_compression_HEVC : heif_compression_AV1,
        &encoder);
    QByteArray bytes;
    if (!encoder) {
        heif_image_release(image);
        heif_context_free(context);
        return bytes;
    }
    heif_encoder_set_lossy_quality(encoder, 95);
    if (!profile.isEmpty())
        heif_image_set_raw_color_profile(image, "prof", profile.constData(),
                                         size_t(profile.size()));
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation(orientation);
    heif_image_handle* handle = nullptr;
    const heif_error encoded = heif_context_encode_image(context, image, encoder, options, &handle);
    heif_encoding_options_free(options);
    if (encoded.code == heif_error_Ok) {
        heif_writer writer{};
        writer.writer_api_version = 1;
        writer.write = [](heif_context*, const void* data, size_t size, void* out) {
            static_cast<QByteArray*>(out)->append(static_cast<const char*>(data), qsizetype(size));
            return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
        };
        heif_context_write(context, &writer, &bytes);
    }
    if (handle)
        heif_image_handle_release(handle);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

} // namespace

QByteArray Heif(const QImage& picture, HeifCoding coding, const QByteArray& profile, bool alpha) {
    const QImage rgba =
        picture.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const int w = rgba.width(), h = rgba.height(), channels = alpha ? 4 : 3;
    heif_image* image = nullptr;
    heif_image_create(w, h, heif_colorspace_RGB,
                      alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, w, h, 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < h; ++y)
        std::memcpy(plane + y * stride, rgba.constScanLine(y), size_t(w * channels));
    return EncodedHeif(image, coding, profile);
}

QByteArray DeepHeif(const QImage& picture, int bits, HeifCoding coding, int orientation) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGBX64);
    const int w = rgb.width(), h = rgb.height();
    const quint32 max = (1u << bits) - 1;
    heif_image* image = nullptr;
    heif_image_create(w, h, heif_colorspace_RGB, heif_chroma_interleaved_RRGGBB_LE, &image);
    heif_image_add_plane(image, heif_channel_interleaved, w, h, bits);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < h; ++y) {
        const auto* source = reinterpret_cast<const QRgba64*>(rgb.constScanLine(y));
        uchar* row = plane + y * stride;
        for (int x = 0; x < w; ++x)
            for (const quint16 channel : {source[x].red(), source[x].green(), source[x].blue()}) {
                qToLittleEndian(quint16((channel * max + 32767) / 65535), row);
                row += 2;
            }
    }
    return EncodedHeif(image, coding, {}, orientation);
}

QByteArray JpegWithProfile(const QByteArray& jpeg, const QByteArray& profile, int chunkBytes) {
    QByteArray segments;
    const int count = int((profile.size() + chunkBytes - 1) / chunkBytes);
    for (int i = 0; i < count; ++i) {
        const QByteArray part = profile.mid(qsizetype(i) * chunkBytes, chunkBytes);
        QByteArray segment = QByteArray("ICC_PROFILE\0", 12);
        segment.append(char(i + 1)).append(char(count)).append(part);
        char length[2];
        qToBigEndian(quint16(segment.size() + 2), length);
        segments += QByteArray("\xFF\xE2", 2) + QByteArray(length, 2) + segment;
    }
    return jpeg.left(2) + segments + jpeg.mid(2);
}

QByteArray ExifBlock(int orientation) {
    QByteArray tiff = QByteArray("II*\0", 4) + Le32(8);
    tiff += Le16(1);                          // one entry
    tiff += Le16(0x0112) + Le16(3) + Le32(1); // Orientation, SHORT, 1
    tiff += Le16(quint16(orientation)) + Le16(0);
    tiff += Le32(0);
    return tiff;
}

namespace {

cmsHPROFILE NewDisplayP3() {
    const cmsCIExyY white = {0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries = {
        {0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}};
    const double srgb[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, srgb);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(curve);
    return profile;
}

} // namespace

QByteArray DisplayP3Profile() {
    cmsHPROFILE profile = NewDisplayP3();
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

namespace {

QByteArray Saved(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

} // namespace

QByteArray TabledDisplayP3Profile() {
    // The matrix profile's own pipeline from RGB to XYZ, written as an A2B0 table.
    cmsHPROFILE matrix = NewDisplayP3();
    cmsHPROFILE xyz = cmsCreateXYZProfile();
    cmsHTRANSFORM toXyz = cmsCreateTransform(matrix, TYPE_RGB_16, xyz, TYPE_XYZ_16,
                                             INTENT_PERCEPTUAL, cmsFLAGS_NOOPTIMIZE);
    cmsHPROFILE tabled = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(tabled, 4.3);
    cmsSetDeviceClass(tabled, cmsSigDisplayClass);
    cmsSetColorSpace(tabled, cmsSigRgbData);
    cmsSetPCS(tabled, cmsSigXYZData);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 3, 3);
    cmsStage* clut = cmsStageAllocCLut16bit(nullptr, 33, 3, 3, nullptr);
    cmsStageSampleCLut16bit(
        clut,
        [](const cmsUInt16Number in[], cmsUInt16Number out[], void* transform) -> cmsInt32Number {
            cmsDoTransform(transform, in, out, 1);
            return TRUE;
        },
        toXyz, 0);
    // An A2B table holds curves on both sides of its grid.
    cmsToneCurve* straight = cmsBuildGamma(nullptr, 1.0);
    cmsToneCurve* straights[3] = {straight, straight, straight};
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, straights));
    cmsPipelineInsertStage(pipeline, cmsAT_END, clut);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, straights));
    cmsFreeToneCurve(straight);
    cmsWriteTag(tabled, cmsSigAToB0Tag, pipeline);
    cmsWriteTag(tabled, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipelineFree(pipeline);
    cmsDeleteTransform(toXyz);
    cmsCloseProfile(xyz);
    cmsCloseProfile(matrix);
    return Saved(tabled);
}

QByteArray GammaRgbProfile(const std::array<double, 6>& primaries, double gamma) {
    const cmsCIExyY white = {0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE xyY = {{primaries[0], primaries[1], 1.0},
                                 {primaries[2], primaries[3], 1.0},
                                 {primaries[4], primaries[5], 1.0}};
    cmsToneCurve* curve = cmsBuildGamma(nullptr, gamma);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &xyY, curves);
    cmsFreeToneCurve(curve);
    return Saved(profile);
}

QByteArray MatrixProfile(const std::array<double, 9>& colorants, double gamma) {
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigDisplayClass);
    cmsSetColorSpace(profile, cmsSigRgbData);
    cmsSetPCS(profile, cmsSigXYZData);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    const cmsTagSignature columns[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                        cmsSigBlueColorantTag};
    for (int k = 0; k < 3; ++k) {
        const cmsCIEXYZ xyz = {colorants[size_t(3 * k)], colorants[size_t(3 * k + 1)],
                               colorants[size_t(3 * k + 2)]};
        cmsWriteTag(profile, columns[k], &xyz);
    }
    cmsToneCurve* curve = cmsBuildGamma(nullptr, gamma);
    for (const cmsTagSignature tag : {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag})
        cmsWriteTag(profile, tag, curve);
    cmsFreeToneCurve(curve);
    return Saved(profile);
}

QByteArray FlatCurveProfile(quint16 level) {
    const cmsCIExyY white = {0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE xyY = {{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
    const std::vector<cmsUInt16Number> flat(256, level);
    cmsToneCurve* curve = cmsBuildTabulatedToneCurve16(nullptr, 256, flat.data());
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &xyY, curves);
    cmsFreeToneCurve(curve);
    return Saved(profile);
}

QByteArray CmykProfileWithRedAndBlueSwapped() {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab =
        cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_Lab_DBL, INTENT_PERCEPTUAL, 0);
    // Ink c, m, y, k (0 none, 65535 full) leaves the light (1 − c)(1 − k) of each
    // channel: cyan takes blue away instead of red, yellow red instead of blue.
    const auto sampler = [](const cmsUInt16Number in[], cmsUInt16Number out[],
                            void* cargo) -> cmsInt32Number {
        const double k = 1.0 - in[3] / 65535.0;
        const double rgb[3] = {(1.0 - in[2] / 65535.0) * k, (1.0 - in[1] / 65535.0) * k,
                               (1.0 - in[0] / 65535.0) * k};
        cmsCIELab colour;
        cmsDoTransform(cargo, rgb, &colour, 1);
        cmsFloat2LabEncoded(out, &colour);
        return 1;
    };
    cmsStage* table = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
    cmsStageSampleCLut16bit(table, sampler, toLab, 0);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 4, 3);
    // Version 4 keeps a table between curves (here straight ones).
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, table);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigInputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    cmsPipelineFree(pipeline);
    cmsDeleteTransform(toLab);
    cmsCloseProfile(lab);
    cmsCloseProfile(srgb);
    return Saved(profile);
}

QByteArray SrgbProfile() {
    return Saved(cmsCreate_sRGBProfile());
}

QByteArray LinearGreyProfile() {
    cmsToneCurve* straight = cmsBuildGamma(nullptr, 1.0);
    cmsHPROFILE grey = cmsCreateGrayProfile(cmsD50_xyY(), straight);
    cmsFreeToneCurve(straight);
    return Saved(grey);
}

QColor InSrgb(const QByteArray& profileBytes, const QColor& colour) {
    cmsHPROFILE profile =
        cmsOpenProfileFromMem(profileBytes.constData(), cmsUInt32Number(profileBytes.size()));
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    const bool grey = cmsGetColorSpace(profile) == cmsSigGrayData;
    cmsHTRANSFORM transform =
        cmsCreateTransform(profile, grey ? TYPE_GRAY_DBL : TYPE_RGB_DBL, srgb, TYPE_RGB_DBL,
                           INTENT_PERCEPTUAL, cmsFLAGS_NOOPTIMIZE);
    const double in[3] = {colour.red() / 255.0, colour.green() / 255.0, colour.blue() / 255.0};
    double out[3] = {};
    cmsDoTransform(transform, in, out, 1);
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    cmsCloseProfile(profile);
    const auto level = [](double v) { return int(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    return QColor(level(out[0]), level(out[1]), level(out[2]));
}

QColor DisplayP3InSrgb(const QColor& p3) {
    cmsHPROFILE source = NewDisplayP3();
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = cmsCreateTransform(source, TYPE_RGB_DBL, srgb, TYPE_RGB_DBL,
                                                 INTENT_PERCEPTUAL, cmsFLAGS_NOOPTIMIZE);
    const double in[3] = {p3.red() / 255.0, p3.green() / 255.0, p3.blue() / 255.0};
    double out[3] = {};
    cmsDoTransform(transform, in, out, 1);
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    cmsCloseProfile(source);
    const auto level = [](double v) { return int(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    return QColor(level(out[0]), level(out[1]), level(out[2]));
}

} // namespace TestPhotographs
