#include "project/PhotoDecoders.h"

#include "project/Errors.h"
#include "project/PhotoFiles.h"

#include <QDir>
#include <lcms2.h>
#include <libheif/heif.h>

#include <algorithm>
#include <atomic>
#include <memory>

namespace PhotoFiles {
namespace {

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A whole file that uses what libheif does not implement (a mirror of more than 8
// bits a channel, a codec it lacks) is not damaged: the user can convert it.
bool Unsupported(const heif_error& error) {
    return error.code == heif_error_Unsupported_feature ||
           error.code == heif_error_Unsupported_filetype;
}

[[noreturn]] void UnsupportedHeif(const QString& fileName, const heif_error& error) {
    throw IoError(QStringLiteral("Obrázek %1 program neumí přečíst: používá vlastnost formátu "
                                 "HEIF, kterou knihovna libheif nepodporuje. Převeďte jej "
                                 "do formátu JPEG nebo PNG.\n%2")
                      .arg(Native(fileName), QString::fromUtf8(error.message)));
}

[[noreturn]] void NotAHeif(const QString& fileName, const heif_error& error) {
    if (Unsupported(error))
        UnsupportedHeif(fileName, error);
    throw IoError(QStringLiteral("Soubor %1 není platný obrázek HEIF.\n%2")
                      .arg(Native(fileName), QString::fromUtf8(error.message)));
}

// The picture libheif would decode is not the size the file declares (and the import
// measured its room for).
[[noreturn]] void SizeMismatch(const QString& fileName, QSize declared) {
    throw IoError(QStringLiteral("Obrázek %1 je poškozený: jeho obsah má jinou velikost, než "
                                 "soubor uvádí (%2 × %3 bodů).")
                      .arg(Native(fileName), QString::number(declared.width()),
                           QString::number(declared.height())));
}

struct ContextDeleter {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleDeleter {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageDeleter {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsDeleter {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};
struct NclxDeleter {
    void operator()(heif_color_profile_nclx* nclx) const { heif_nclx_color_profile_free(nclx); }
};

// The file's primary picture, not yet decoded. libheif reads the bytes in place.
class PrimaryPicture {
public:
    PrimaryPicture(const QByteArray& file, const QString& fileName)
        : context_(heif_context_alloc()) {
        if (!context_)
            throw std::bad_alloc();
        heif_error error = heif_context_read_from_memory_without_copy(
            context_.get(), file.constData(), size_t(file.size()), nullptr);
        if (error.code != heif_error_Ok)
            NotAHeif(fileName, error);
        heif_image_handle* handle = nullptr;
        error = heif_context_get_primary_image_handle(context_.get(), &handle);
        if (error.code != heif_error_Ok)
            NotAHeif(fileName, error);
        handle_.reset(handle);
    }

    heif_context* Context() const { return context_.get(); }
    heif_image_handle* Handle() const { return handle_.get(); }
    // The size after the file's rotation and crop: the picture's size as shown.
    QSize Size() const {
        return QSize(heif_image_handle_get_width(Handle()), heif_image_handle_get_height(Handle()));
    }
    // The size the file declares before its rotation and crop: what is decoded.
    QSize CodedSize() const {
        return QSize(heif_image_handle_get_ispe_width(Handle()),
                     heif_image_handle_get_ispe_height(Handle()));
    }
    int Bits() const { return std::max(8, heif_image_handle_get_luma_bits_per_pixel(Handle())); }
    bool HasAlpha() const { return heif_image_handle_has_alpha_channel(Handle()) != 0; }

private:
    std::unique_ptr<heif_context, ContextDeleter> context_;
    std::unique_ptr<heif_image_handle, HandleDeleter> handle_;
};

// A profile made of the primaries the file states (its "nclx" colour box) with the
// sRGB tone curve, or nothing when they are sRGB's own (BT.709) or unstated.
QByteArray ProfileOfPrimaries(const heif_color_profile_nclx& nclx) {
    if (nclx.color_primaries == heif_color_primaries_ITU_R_BT_709_5 ||
        nclx.color_primaries == heif_color_primaries_unspecified)
        return {};
    const cmsCIExyY white = {nclx.color_primary_white_x, nclx.color_primary_white_y, 1.0};
    const cmsCIExyYTRIPLE primaries = {
        {nclx.color_primary_red_x, nclx.color_primary_red_y, 1.0},
        {nclx.color_primary_green_x, nclx.color_primary_green_y, 1.0},
        {nclx.color_primary_blue_x, nclx.color_primary_blue_y, 1.0}};
    const double srgb[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, srgb);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = curve ? cmsCreateRGBProfile(&white, &primaries, curves) : nullptr;
    if (curve)
        cmsFreeToneCurve(curve);
    QByteArray bytes;
    cmsUInt32Number size = 0;
    if (profile && cmsSaveProfileToMem(profile, nullptr, &size) && size > 0) {
        bytes.resize(qsizetype(size));
        if (!cmsSaveProfileToMem(profile, bytes.data(), &size))
            bytes.clear();
    }
    if (profile)
        cmsCloseProfile(profile);
    return bytes;
}

void ReadProfile(heif_image_handle* handle, Photograph& photograph) {
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
        const size_t size = heif_image_handle_get_raw_color_profile_size(handle);
        QByteArray profile(qsizetype(size), Qt::Uninitialized);
        if (size == 0 ||
            heif_image_handle_get_raw_color_profile(handle, profile.data()).code != heif_error_Ok)
            photograph.ProfileDamaged = true;
        else
            photograph.Profile = profile;
        return;
    }
    heif_color_profile_nclx* nclx = nullptr;
    if (heif_image_handle_get_nclx_color_profile(handle, &nclx).code == heif_error_Ok && nclx) {
        const std::unique_ptr<heif_color_profile_nclx, NclxDeleter> owned(nclx);
        photograph.Profile = ProfileOfPrimaries(*nclx);
    }
}

// libheif reports the tiles of a tiled picture (a phone's usual kind) as it decodes.
struct TileCount {
    std::atomic<int> total{0}, done{0};
};

} // namespace

PhotoHeader HeifHeader(const QByteArray& file, const QString& fileName) {
    const PrimaryPicture picture(file, fileName);
    const QSize size = picture.Size(), coded = picture.CodedSize();
    // A crop shows less than is decoded: the decoded picture is held to the same bounds.
    const qint64 area = qint64(size.width()) * size.height();
    const qint64 codedArea = qint64(coded.width()) * coded.height();
    if (coded.width() > 65535 || coded.height() > 65535 || codedArea > MaxPixels)
        throw IoError(QStringLiteral("Obrázek %1 má nepřípustnou velikost %2 × %3 bodů.")
                          .arg(Native(fileName), QString::number(coded.width()),
                               QString::number(coded.height())));
    // The coded planes and libheif's interleaved picture, twice as wide above 8 bits.
    const int sample = picture.Bits() > 8 ? 2 : 1;
    int work = sample * (3 + (picture.HasAlpha() ? 5 : 3));
    if (area > 0 && codedArea > area)
        work = int(std::min<qint64>((work * codedArea + area - 1) / area, 1 << 20));
    return {PhotoKind::Heif, size, work};
}

Photograph DecodeHeif(const QByteArray& file, const QString& fileName, QImage* spare,
                      Progress& progress) {
    const PrimaryPicture primary(file, fileName);
    const int bits = primary.Bits();
    const bool alpha = primary.HasAlpha();
    const heif_chroma chroma =
        bits > 8 ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
                 : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    const std::unique_ptr<heif_decoding_options, OptionsDeleter> options(
        heif_decoding_options_alloc());
    if (!options)
        throw std::bad_alloc();
    options->ignore_transformations = 0;
    options->strict_decoding = 1; // a truncated picture is an error, not grey blocks
    TileCount tiles;
    options->progress_user_data = &tiles;
    options->start_progress = [](heif_progress_step step, int max, void* data) {
        if (step == heif_progress_step_load_tile)
            static_cast<TileCount*>(data)->total = max;
    };
    options->on_progress = [](heif_progress_step step, int done, void* data) {
        if (step == heif_progress_step_load_tile)
            static_cast<TileCount*>(data)->done = done;
    };
    options->end_progress = [](heif_progress_step, void*) {};

    // The room was measured for the declared size: a grid or an overlay that makes a
    // larger picture is stopped by libheif before it takes the memory. A codec's tiles
    // are padded to its blocks of up to 64 points, a side longer than the picture's.
    const QSize declared = primary.Size(), coded = primary.CodedSize();
    const int longest =
        std::max({declared.width(), declared.height(), coded.width(), coded.height()});
    heif_context_set_maximum_image_size_limit(primary.Context(), longest + 64);

    heif_image* decoded = nullptr;
    heif_error error{heif_error_Ok, heif_suberror_Unspecified, ""};
    ProgressPart decoding(progress, 0.0, 0.8);
    const auto tilesDone = [&tiles] {
        const int total = tiles.total;
        return total > 0 ? std::min(1.0, double(tiles.done) / total) : 0.0;
    };
    WaitReporting(decoding, tilesDone, [&] {
        error = heif_decode_image(primary.Handle(), &decoded, heif_colorspace_RGB, chroma,
                                  options.get());
    });
    const std::unique_ptr<heif_image, ImageDeleter> image(decoded);
    if (error.subcode == heif_suberror_Security_limit_exceeded)
        SizeMismatch(fileName, declared);
    if (Unsupported(error))
        UnsupportedHeif(fileName, error);
    if (error.code != heif_error_Ok || !image)
        throw IoError(QStringLiteral("Obrázek %1 je poškozený nebo neúplný.\n%2")
                          .arg(Native(fileName), QString::fromUtf8(error.message)));

    int stride = 0;
    const uint8_t* plane =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    const int range = heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved);
    if (!plane || width <= 0 || height <= 0)
        throw IoError(
            QStringLiteral("Obrázek %1 je poškozený nebo neúplný.").arg(Native(fileName)));
    if (QSize(width, height) != declared)
        SizeMismatch(fileName, declared);
    const bool premultiplied = alpha && heif_image_is_premultiplied_alpha(image.get());

    Photograph photograph;
    photograph.Picture = RecycledPicture(QSize(width, height), spare);
    if (photograph.Picture.isNull())
        throw IoError(QStringLiteral("Pro obrázek %1 není dost paměti.").arg(Native(fileName)));
    const int channels = alpha ? 4 : 3;
    const quint64 max = (quint64(1) << range) - 1;
    for (int y = 0; y < height; ++y) {
        uchar* d = photograph.Picture.scanLine(y);
        const uint8_t* row = plane + size_t(y) * size_t(stride);
        if (bits == 8 && !alpha) {
            for (int x = 0; x < width; ++x, d += 3, row += 3) {
                d[0] = row[2];
                d[1] = row[1];
                d[2] = row[0];
            }
            if (y % 64 == 63)
                ReportOrStop(progress, 0.8 + 0.2 * (y + 1) / height);
            continue;
        }
        for (int x = 0; x < width; ++x, d += 3) {
            quint64 c[4];
            for (int k = 0; k < channels; ++k)
                c[k] = bits > 8 ? quint64(row[2 * (channels * x + k)] |
                                          (row[2 * (channels * x + k) + 1] << 8))
                                : row[channels * x + k];
            const quint64 a = alpha ? std::min(c[3], max) : max;
            for (int k = 0; k < 3; ++k) {
                quint64 v = std::min(c[k], max);
                if (premultiplied)
                    v = a ? std::min(max, (v * max + a / 2) / a) : 0;
                d[2 - k] = OverWhite(v, a, max);
            }
        }
        if (y % 64 == 63)
            ReportOrStop(progress, 0.8 + 0.2 * (y + 1) / height);
    }
    ReadProfile(primary.Handle(), photograph);
    ReportOrStop(progress, 1.0);
    return photograph;
}

} // namespace PhotoFiles
