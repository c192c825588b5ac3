// Recolouring and mask file speed on a 6000 × 4000 photograph (8660 × 5773 with
// TINTORA_BENCH_PHOTO=50mp) with 8 shaded layers covering every pixel in about 20 runs
// per row, against a memcpy of the photograph and against raw file reads and writes of
// the same bytes.
#include "BenchSupport.h"

#include "project/MaskFile.h"
#include "render/RenderRegion.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

namespace {

struct Scene {
    QSize size = bench::PhotoSize();
    QImage photo = bench::SyntheticPhoto(size.width(), size.height());
    TMask mask = bench::SyntheticMask(size.width(), size.height(), 8, 20);
    LayerList layers = bench::ShadedLayers(8);
    QImage view = QImage(photo.size(), QImage::Format_BGR888);
    QTemporaryDir dir;
    QString maskPath = dir.filePath(QStringLiteral("dum.bmp.mask"));
    QString rawPath = dir.filePath(QStringLiteral("raw.bin"));
    QByteArray maskBytes = MaskFile::Serialize(mask, layers, {});

    Scene() {
        view.fill(Qt::black);
        mask.SaveToFile(maskPath, layers, {});
        QFile raw(rawPath);
        raw.open(QIODevice::WriteOnly);
        raw.write(maskBytes);
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void memcpy_photo(benchmark::State& state) {
    Scene& s = TheScene();
    const size_t bytes = size_t(s.photo.sizeInBytes());
    for (auto _ : state) {
        std::memcpy(s.view.bits(), s.photo.constBits(), bytes);
        benchmark::ClobberMemory();
    }
}

void Render(benchmark::State& state, bool maskMode, int x1, int y1, int x2, int y2) {
    // Coordinates past the picture are clamped: the whole picture at every size.
    Scene& s = TheScene();
    const RenderInput input{s.photo, s.mask, s.layers, 1.0f, maskMode};
    for (auto _ : state) {
        RenderRegion(input, s.view, x1, y1, x2, y2);
        benchmark::ClobberMemory();
    }
}

void render_full_colour(benchmark::State& state) {
    Render(state, false, 0, 0, 1 << 20, 1 << 20);
}
void render_full_mask(benchmark::State& state) {
    Render(state, true, 0, 0, 1 << 20, 1 << 20);
}
void render_dab(benchmark::State& state) {
    // A 40 × 40 square in the middle of the picture.
    const QSize size = bench::PhotoSize();
    const int x = size.width() / 2 - 20, y = size.height() / 2 - 20;
    Render(state, false, x, y, x + 39, y + 39);
}

void raw_write(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state) {
        QFile file(s.rawPath);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(s.maskBytes);
    }
}

void mask_save_file(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state)
        s.mask.SaveToFile(s.maskPath, s.layers, {});
}

void raw_read(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state) {
        QFile file(s.rawPath);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll());
    }
}

void mask_load_file(benchmark::State& state) {
    Scene& s = TheScene();
    LayerList layers;
    SchemeList schemes;
    for (auto _ : state)
        benchmark::DoNotOptimize(TMask::LoadFromFile(s.maskPath, layers, schemes));
}

} // namespace

BENCHMARK(memcpy_photo)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(render_full_colour)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(render_full_mask)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(render_dab)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(raw_write)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(mask_save_file)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(raw_read)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(mask_load_file)->Unit(benchmark::kMicrosecond)->UseRealTime();

int main(int argc, char** argv) {
    return bench::RunAndReport(
        argc, argv,
        {{bench::Sized("render_full_colour"), "render_full_colour", "memcpy_photo"},
         {bench::Sized("render_full_mask"), "render_full_mask", "memcpy_photo"},
         {bench::Sized("render_dab"), "render_dab", "render_full_colour"},
         {bench::Sized("mask_save"), "mask_save_file", "raw_write"},
         {bench::Sized("mask_load"), "mask_load_file", "raw_read"}});
}
