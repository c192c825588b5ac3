// Photographs from phones and cameras on a 6000 × 4000 picture (8660 × 5773 with
// TINTORA_BENCH_PHOTO=50mp): a HEIC imported end to end against libheif's decoding
// alone, and a JPEG with a Display P3 profile against the same JPEG without one.
#include "BenchSupport.h"

#include "project/AtomicFile.h"
#include "project/PhotoFiles.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Workspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <lcms2.h>
#include <libheif/heif.h>

#include <cstring>

namespace {

QByteArray EncodeHeic(const QImage& bgr) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    heif_encoder_set_lossy_quality(encoder, 80);
    heif_encoder_set_parameter_string(encoder, "preset", "ultrafast");
    const int w = bgr.width(), h = bgr.height();
    heif_image* image = nullptr;
    heif_image_create(w, h, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, w, h, 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < h; ++y) {
        const uchar* s = bgr.constScanLine(y);
        uint8_t* d = plane + size_t(y) * size_t(stride);
        for (int x = 0; x < w; ++x, s += 3, d += 3) {
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    }
    heif_image_handle* handle = nullptr;
    heif_context_encode_image(context, image, encoder, nullptr, &handle);
    QByteArray bytes;
    heif_writer writer{};
    writer.writer_api_version = 1;
    writer.write = [](heif_context*, const void* data, size_t size, void* out) {
        static_cast<QByteArray*>(out)->append(static_cast<const char*>(data), qsizetype(size));
        return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
    };
    heif_context_write(context, &writer, &bytes);
    heif_image_handle_release(handle);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

QByteArray DisplayP3Profile() {
    const cmsCIExyY white = {0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries = {
        {0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}};
    const double srgb[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, srgb);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(curve);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

QByteArray WithProfile(const QByteArray& jpeg, const QByteArray& profile) {
    QByteArray segment = QByteArray("ICC_PROFILE\0", 12);
    segment.append(char(1)).append(char(1)).append(profile);
    const int length = int(segment.size()) + 2;
    const char marker[4] = {char(0xFF), char(0xE2), char(length >> 8), char(length & 0xFF)};
    return jpeg.left(2) + QByteArray(marker, 4) + segment + jpeg.mid(2);
}

struct Scene {
    QTemporaryDir dir;
    QSize size = bench::PhotoSize();
    QImage photo = bench::SyntheticPhoto(size.width(), size.height());
    QByteArray heic = EncodeHeic(photo);
    QByteArray jpeg = PhotoFiles::EncodeJpeg(photo);
    QString heicPath = dir.filePath(QStringLiteral("telefon.heic"));
    QString plainPath = dir.filePath(QStringLiteral("bez_profilu.jpg"));
    QString p3Path = dir.filePath(QStringLiteral("display_p3.jpg"));
    QString importFolder = dir.filePath(QStringLiteral("domy"));

    Scene() {
        WriteFileAtomically(heicPath, heic);
        WriteFileAtomically(plainPath, jpeg);
        WriteFileAtomically(p3Path, WithProfile(jpeg, DisplayP3Profile()));
        QDir().mkpath(importFolder);
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

// Imports path again and again into the same folder, as a user would one by one.
void Import(benchmark::State& state, const QString& path) {
    Scene& s = TheScene();
    Workspace ws;
    bench::QuietPrompts prompts;
    prompts.file = path;
    const QString target =
        QDir(s.importFolder).filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".bmp"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(target);
        QFile::remove(target + QStringLiteral(".mask"));
        state.ResumeTiming();
        if (!ImportPhotograph(ws, prompts, s.importFolder))
            state.SkipWithError("import failed");
    }
}

void import_heic_op(benchmark::State& state) {
    Import(state, TheScene().heicPath);
}

void libheif_decode(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state) {
        heif_context* context = heif_context_alloc();
        heif_context_read_from_memory_without_copy(context, s.heic.constData(),
                                                   size_t(s.heic.size()), nullptr);
        heif_image_handle* handle = nullptr;
        heif_context_get_primary_image_handle(context, &handle);
        heif_image* image = nullptr;
        heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                          nullptr);
        benchmark::DoNotOptimize(image);
        heif_image_release(image);
        heif_image_handle_release(handle);
        heif_context_free(context);
    }
}

void import_jpeg_display_p3(benchmark::State& state) {
    Import(state, TheScene().p3Path);
}

void import_jpeg_without_profile(benchmark::State& state) {
    Import(state, TheScene().plainPath);
}

} // namespace

BENCHMARK(libheif_decode)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(import_heic_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(import_jpeg_without_profile)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(import_jpeg_display_p3)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    return bench::RunAndReport(
        argc, argv,
        {{bench::Sized("import_heic"), "import_heic_op", "libheif_decode"},
         {bench::Sized("import_icc"), "import_jpeg_display_p3", "import_jpeg_without_profile"}});
}
