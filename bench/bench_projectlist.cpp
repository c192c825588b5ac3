// Opening the project list with twelve visible 24-megapixel projects (50-megapixel
// with TINTORA_BENCH_PHOTO=50mp), until every visible thumbnail is shown: with their
// thumbnails stored (warm) and with none (cold), against reading those twelve
// photographs with TurboJPEG in the same run.
#include "BenchSupport.h"

#include "overview/ProjectListWindow.h"
#include "overview/ThumbnailLoader.h"
#include "project/PhotoFiles.h"
#include "project/Thumbnails.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <turbojpeg.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int Projects = 12;

struct ListScene {
    QTemporaryDir dir;
    QStringList photos;
    bench::QuietPrompts prompts;
    std::unique_ptr<ProjectListWindow> window;
    QImage target;
    int shown = 0;

    ListScene() {
        // The thumbnails of this run stay in its own folder.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
        const QSize size = bench::PhotoSize();
        const QImage photo = bench::SyntheticPhoto(size.width(), size.height());
        for (const QString folder : {QStringLiteral("domy"), QStringLiteral("interier")}) {
            QDir(dir.path()).mkpath(folder);
            for (int i = 0; i < Projects / 2; ++i) {
                photos << dir.filePath(QStringLiteral("%1/dum%2.bmp").arg(folder).arg(i));
                PhotoFiles::SaveBmp(photos.last(), photo);
            }
        }
        window = std::make_unique<ProjectListWindow>(dir.path(), prompts);
        window->resize(582, 61 + 6 * 100 + 63); // six rows in each list
        QObject::connect(&window->Loader(), &ThumbnailLoader::Ready, [this] { ++shown; });
        window->FillProjectLists();
        window->show();
        QCoreApplication::processEvents();
        target =
            QImage(window->exteriorList->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    }

    int VisibleRows() const {
        int rows = 0;
        for (const QListWidget* list : {window->exteriorList, window->interiorList}) {
            for (int i = 0; i < list->count(); ++i)
                rows += list->viewport()->rect().contains(list->visualItemRect(list->item(i)));
        }
        return rows;
    }

    void Paint() {
        window->exteriorList->viewport()->render(&target);
        window->interiorList->viewport()->render(&target);
    }

    // What the user waits for: the lists filled from the folders and drawn by the
    // event loop, every visible thumbnail come, and the rows drawn with them.
    double OpenMilliseconds() {
        QElapsedTimer timer;
        timer.start();
        shown = 0;
        window->FillProjectLists();
        while (shown < Projects)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        Paint();
        return double(timer.nsecsElapsed()) / 1e6;
    }
};

std::unique_ptr<ListScene> scene;

ListScene& TheScene() {
    if (!scene)
        scene = std::make_unique<ListScene>();
    return *scene;
}

void tjloadimage_twelve(benchmark::State& state) {
    ListScene& s = TheScene();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        for (const QString& photo : s.photos) {
            int width = 0, height = 0, format = TJPF_BGR;
            unsigned char* pixels =
                tjLoadImage(QFile::encodeName(photo).constData(), &width, 4, &height, &format, 0);
            if (!pixels)
                state.SkipWithError("tjLoadImage failed");
            benchmark::DoNotOptimize(pixels);
            tjFree(pixels);
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
}

void project_list_warm_op(benchmark::State& state) {
    ListScene& s = TheScene();
    s.OpenMilliseconds(); // every thumbnail stored
    for (auto _ : state)
        state.SetIterationTime(s.OpenMilliseconds() / 1e3);
    state.counters["visible_rows"] = s.VisibleRows();
}

void project_list_cold_op(benchmark::State& state) {
    ListScene& s = TheScene();
    for (auto _ : state) {
        for (const QString& photo : s.photos)
            Thumbnails::Remove(photo);
        state.SetIterationTime(s.OpenMilliseconds() / 1e3);
    }
    state.counters["visible_rows"] = s.VisibleRows();
}

} // namespace

BENCHMARK(tjloadimage_twelve)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);
BENCHMARK(project_list_warm_op)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);
BENCHMARK(project_list_cold_op)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int code = bench::RunAndReport(
        argc, argv,
        {{bench::Sized("project_list_warm"), "project_list_warm_op", "tjloadimage_twelve"},
         {bench::Sized("project_list_cold"), "project_list_cold_op", "tjloadimage_twelve"}});
    scene.reset();
    return code;
}
