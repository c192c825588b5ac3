// Project files on a 6000 × 4000 photograph (8660 × 5773 with TINTORA_BENCH_PHOTO=50mp):
// import, export, open and undo snapshots, each against TurboJPEG's own work or a
// render in the same run.
#include "BenchSupport.h"

#include "project/AtomicFile.h"
#include "project/MaskFile.h"
#include "project/PhotoFiles.h"
#include "render/RenderRegion.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Prompts.h"
#include "workspace/Workspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <turbojpeg.h>

namespace {

struct Scene {
    QTemporaryDir dir;
    QSize size = bench::PhotoSize();
    QImage photo = bench::SyntheticPhoto(size.width(), size.height());
    TMask mask = bench::SyntheticMask(size.width(), size.height(), 8, 20);
    LayerList layers = bench::ShadedLayers(8);
    QByteArray jpeg = PhotoFiles::EncodeJpeg(photo);
    QString jpegPath = dir.filePath(QStringLiteral("foto.jpg"));
    QString projectPath = dir.filePath(QStringLiteral("dum.bmp"));
    QString importFolder = dir.filePath(QStringLiteral("domy"));
    QString exportPath = dir.filePath(QStringLiteral("vystup.jpg"));
    QString scratchBmp = dir.filePath(QStringLiteral("reference.bmp"));
    QImage view = QImage(photo.size(), QImage::Format_BGR888);

    Scene() {
        WriteFileAtomically(jpegPath, jpeg);
        PhotoFiles::SaveBmp(projectPath, photo);
        mask.SaveToFile(projectPath + QStringLiteral(".mask"), layers, {});
        QDir().mkpath(importFolder);
        view.fill(Qt::black);
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void RenderOnce(Scene& s) {
    RenderRegion({s.photo, s.mask, s.layers, 1.0f, false}, s.view, 0, 0, s.size.width() - 1,
                 s.size.height() - 1);
}

void render_full(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state)
        RenderOnce(s);
}

void turbojpeg_decode_and_save(benchmark::State& state) {
    Scene& s = TheScene();
    tjhandle handle = tjInitDecompress();
    for (auto _ : state) {
        int w, h, sub, cs;
        tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(s.jpeg.constData()),
                            s.jpeg.size(), &w, &h, &sub, &cs);
        const int pitch = (w * 3 + 3) & ~3;
        auto* buffer = static_cast<unsigned char*>(std::malloc(size_t(pitch) * size_t(h)));
        tjDecompress2(handle, reinterpret_cast<const unsigned char*>(s.jpeg.constData()),
                      s.jpeg.size(), buffer, w, pitch, h, TJPF_BGR, 0);
        tjSaveImage(QFile::encodeName(s.scratchBmp).constData(), buffer, w, pitch, h, TJPF_BGR, 0);
        std::free(buffer);
    }
    tjDestroy(handle);
}

void import_jpeg_op(benchmark::State& state) {
    Scene& s = TheScene();
    Workspace ws;
    bench::QuietPrompts prompts;
    prompts.file = s.jpegPath;
    const QString target = QDir(s.importFolder).filePath(QStringLiteral("foto.bmp"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(target);
        QFile::remove(target + QStringLiteral(".mask"));
        state.ResumeTiming();
        if (!ImportPhotograph(ws, prompts, s.importFolder))
            state.SkipWithError("import failed");
    }
}

void turbojpeg_encode_and_render(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state) {
        RenderOnce(s);
        benchmark::DoNotOptimize(PhotoFiles::EncodeJpeg(s.view));
    }
}

void export_jpeg_op(benchmark::State& state) {
    Scene& s = TheScene();
    Workspace ws;
    bench::QuietPrompts prompts;
    OpenProjectFile(ws, prompts, s.projectPath);
    prompts.file = s.exportPath;
    for (auto _ : state) {
        if (!ExportPicture(ws, prompts))
            state.SkipWithError("export failed");
    }
}

void tjloadimage_and_render(benchmark::State& state) {
    Scene& s = TheScene();
    for (auto _ : state) {
        int w = 0, h = 0, format = TJPF_BGR;
        unsigned char* pixels =
            tjLoadImage(QFile::encodeName(s.projectPath).constData(), &w, 4, &h, &format, 0);
        RenderOnce(s);
        tjFree(pixels);
    }
}

void open_project_op(benchmark::State& state) {
    Scene& s = TheScene();
    Workspace ws;
    bench::QuietPrompts prompts;
    for (auto _ : state) {
        if (!OpenProjectFile(ws, prompts, s.projectPath))
            state.SkipWithError("open failed");
    }
}

void undo_snapshot(benchmark::State& state) {
    Scene& s = TheScene();
    size_t bytes = 0;
    for (auto _ : state) {
        // A fresh history each time: the first snapshot shares no rows.
        state.PauseTiming();
        UndoHistory history;
        state.ResumeTiming();
        history.PushUndo(s.mask, {});
        bytes = history.SnapshotBytes();
        state.PauseTiming();
        history.ClearHistory();
        state.ResumeTiming();
    }
    state.counters["bytes_per_snapshot"] = double(bytes);
}

void undo_snapshot_after_dab(benchmark::State& state) {
    Scene& s = TheScene();
    UndoHistory history;
    TMask mask = s.mask;
    history.PushUndo(mask, {});
    size_t before = history.SnapshotBytes();
    size_t added = 0;
    int x = 100;
    for (auto _ : state) {
        state.PauseTiming();
        for (int y = 2000; y < 2020; ++y)
            mask.PaintSpan(y, x, x + 19, 1);
        x = (x + 37) % 5900;
        before = history.SnapshotBytes();
        state.ResumeTiming();
        history.PushUndo(mask, {});
        added = history.SnapshotBytes() - before;
    }
    state.counters["bytes_per_snapshot"] = double(added);
}

} // namespace

BENCHMARK(render_full)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(turbojpeg_decode_and_save)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(import_jpeg_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(turbojpeg_encode_and_render)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(export_jpeg_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(tjloadimage_and_render)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(open_project_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(undo_snapshot)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(undo_snapshot_after_dab)->Unit(benchmark::kMicrosecond)->UseRealTime();

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    return bench::RunAndReport(
        argc, argv,
        {{bench::Sized("import_jpeg"), "import_jpeg_op", "turbojpeg_decode_and_save"},
         {bench::Sized("export_jpeg"), "export_jpeg_op", "turbojpeg_encode_and_render"},
         {bench::Sized("open_project"), "open_project_op", "tjloadimage_and_render"},
         {bench::Sized("undo_snapshot"), "undo_snapshot", "render_full"},
         {bench::Sized("undo_snapshot_after_dab"), "undo_snapshot_after_dab", "render_full"}});
}
