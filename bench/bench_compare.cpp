// Comparing colourings: the scheme comparison's four panes of 700 × 470 pixels on a
// 24-megapixel project against one full-size render of one scheme; one step of
// dragging the before-and-after divider across a 1600 × 1000 view at zoom 1 against
// rendering that view; the colour proposal of four schemes against four JPEG exports
// of the project. peak_memory_proposal_50mp: the proposal of four schemes of a
// 8660 × 5773 project, from opening it to the written PDF, in a process of its own,
// as a ratio of its peak resident memory to the photograph's bytes.
// peak_memory_proposal_many: the proposal of all 1000 schemes of a 900 × 600 project
// against that of four of them, as the ratio of their peak resident memories.
#include "BenchSupport.h"

#include "CatalogueScript.h"
#include "catalogue/CatalogueDatabase.h"
#include "layers/Schemes.h"
#include "overview/Proposal.h"
#include "overview/SchemePanes.h"
#include "project/PhotoFiles.h"
#include "project/ProjectFiles.h"
#include "render/BeforeAfter.h"
#include "render/RenderRegion.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Workspace.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int LayerCount = 20;
constexpr int SchemeCount = 4;
const QSize PaneSize(700, 470);
const QSize Window(1600, 1000);
// The proposal of many schemes: a thousand schemes of a photograph of this size.
constexpr int ManySchemes = 1000;
const QSize ManySchemesPhoto(900, 600);

QString DemoCatalogue() {
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/demo-odrex.tom");
    if (!QFileInfo::exists(path)) {
        QFile schema(QStringLiteral(TINTORA_CATALOGUE_SCHEMA));
        schema.open(QIODevice::ReadOnly);
        const QString error = CatalogueScript::BuildDatabase(
            path, QString::fromUtf8(schema.readAll()), CatalogueScript::DemoRows());
        if (!error.isEmpty())
            std::fprintf(stderr, "demo catalogue: %s\n", qPrintable(error));
    }
    return path;
}

// Layers painted with shades, fan decks and paint kinds of the demo catalogue, and
// four schemes that paint them otherwise.
LayerList PaintedLayers(int shift) {
    LayerList layers = bench::ShadedLayers(LayerCount);
    for (int i = 1; i <= LayerCount; ++i) {
        LayerRecord& layer = layers[i];
        layer.ShadeId = 1 + (i + 7 * shift) % 150;
        layer.FanDeckId = 1 + i % 9;
        layer.PaintKindId = 1 + i % 5;
        layer.Quantity = i;
        layer.ShadeColour = Rgb(40 + 20 * ((i + shift) % 10), 200 - 15 * (i % 10), 90 + 30 * shift);
    }
    return layers;
}

SchemeList FourSchemes() {
    SchemeList schemes;
    for (int s = 0; s < SchemeCount; ++s)
        schemes << SchemeRecord{QStringLiteral("Schéma %1").arg(s + 1), PaintedLayers(s + 1)};
    return schemes;
}

struct Scene {
    QTemporaryDir dir;
    Workspace ws;
    bench::QuietPrompts prompts;
    CatalogueDatabase catalogue;
    QList<LayerList> schemeLayers;
    QImage screen{Window, QImage::Format_RGB32};

    Scene() {
        catalogue.Open(DemoCatalogue());
        const QSize size = bench::PhotoSize();
        ws.Doc.ProjectPath = dir.filePath(QStringLiteral("dum.bmp"));
        ws.Doc.PhotoBitmap = bench::SyntheticPhoto(size.width(), size.height());
        ws.Doc.Mask = bench::SyntheticMask(size.width(), size.height(), LayerCount, 20);
        ws.Doc.Layers = PaintedLayers(0);
        ws.Doc.Schemes = FourSchemes();
        for (const SchemeRecord& scheme : ws.Doc.Schemes)
            schemeLayers << LayersWithScheme(ws.Doc.Layers, scheme);
        ws.MaskEditMode = false;
        ws.ResizeView();
        ws.UpdateWholePicture();
        screen.fill(Qt::black);
    }
};

std::unique_ptr<Scene> scene;

Scene& TheScene() {
    if (!scene)
        scene = std::make_unique<Scene>();
    return *scene;
}

void render_full_size_scheme(benchmark::State& state) {
    Scene& s = TheScene();
    const RenderInput input{s.ws.Doc.PhotoBitmap, s.ws.Doc.Mask, s.schemeLayers[0], 1.0f, false};
    for (auto _ : state) {
        RenderRegion(input, s.ws.ViewBitmap, 0, 0, 1 << 20, 1 << 20);
        benchmark::ClobberMemory();
    }
}

void compare_four_op(benchmark::State& state) {
    Scene& s = TheScene();
    const float fit = Panes::FitZoom(s.ws.Doc.PhotoBitmap.size(), PaneSize);
    for (auto _ : state) {
        for (const LayerList& layers : s.schemeLayers) {
            const QImage pane = Panes::Picture(s.ws.Doc, layers, fit, QRect(QPoint(), PaneSize),
                                               QColor(235, 240, 245));
            benchmark::DoNotOptimize(pane.constBits());
        }
    }
}

// The visible window of the view: the middle of the picture.
QRect WindowRect(const Scene& s) {
    const QSize view = s.ws.ViewBitmap.size();
    return QRect(QPoint((view.width() - Window.width()) / 2, (view.height() - Window.height()) / 2),
                 Window);
}

void render_window(benchmark::State& state) {
    Scene& s = TheScene();
    const QRect window = WindowRect(s);
    const RenderInput input{s.ws.Doc.PhotoBitmap, s.ws.Doc.Mask, s.ws.Doc.Layers, 1.0f, false};
    for (auto _ : state) {
        RenderRegion(input, s.ws.ViewBitmap, window.left(), window.top(), window.right(),
                     window.bottom());
        benchmark::ClobberMemory();
    }
}

// A step of the drag: the divider moves 12 view columns, and the window draws the
// area that changed into its backing store.
void before_after_step(benchmark::State& state) {
    Scene& s = TheScene();
    const QRect window = WindowRect(s);
    const RenderInput input{s.ws.Doc.PhotoBitmap, s.ws.Doc.Mask, s.ws.Doc.Layers, 1.0f, false};
    BeforeAfter compare;
    const int gripY = window.center().y();
    compare.MoveDivider(window.left(), s.ws.ViewBitmap.size(), gripY);
    int direction = 12;
    for (auto _ : state) {
        int x = compare.Divider() + direction;
        if (x < window.left() || x > window.right()) {
            direction = -direction;
            x = compare.Divider() + direction;
        }
        const QRegion changed = compare.MoveDivider(x, s.ws.ViewBitmap.size(), gripY) & window;
        QPainter painter(&s.screen);
        painter.translate(-window.topLeft());
        compare.Paint(painter, changed, input, s.ws.ViewBitmap, gripY);
    }
}

void export_four_jpegs(benchmark::State& state) {
    Scene& s = TheScene();
    s.prompts.file = s.dir.filePath(QStringLiteral("obrazek.jpg"));
    for (auto _ : state) {
        for (int i = 0; i < SchemeCount; ++i) {
            if (!ExportPicture(s.ws, s.prompts))
                state.SkipWithError("export failed");
        }
    }
}

void proposal_pdf_op(benchmark::State& state) {
    Scene& s = TheScene();
    s.prompts.file = s.dir.filePath(QStringLiteral("navrh.pdf"));
    for (auto _ : state) {
        if (!SaveProposal(s.ws.Doc, {0, 1, 2, 3}, s.prompts, &s.catalogue))
            state.SkipWithError("proposal failed");
    }
    state.counters["pdf_bytes"] = double(QFileInfo(s.prompts.file).size());
}

long PeakResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Runs work in a child process and waits for it; true when it ended well.
bool InChild(const std::function<int()>& work) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        const int code = work();
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The 50-megapixel proposal, measured from a process that starts small: the project
// files are written by another process beforehand.
bool PeakMemoryOfTheProposal(int argc, char** argv, const QString& catalogue) {
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("dum.bmp"));
    const QSize large(bench::LargeWidth, bench::LargeHeight);
    if (!InChild([&] {
            PhotoFiles::SaveBmp(photo, bench::SyntheticPhoto(large.width(), large.height()));
            bench::SyntheticMask(large.width(), large.height(), LayerCount, 20)
                .SaveToFile(photo + QStringLiteral(".mask"), PaintedLayers(0), FourSchemes());
            return 0;
        }))
        return false;
    return InChild([&] {
        QGuiApplication application(argc, argv);
        LoadedProject project = LoadProject(photo);
        Document doc;
        doc.ProjectPath = photo;
        doc.PhotoBitmap = std::move(project.Photo);
        doc.Mask = std::move(project.Mask);
        doc.Layers = std::move(project.Layers);
        doc.Schemes = std::move(project.Schemes);
        CatalogueDatabase database;
        database.Open(catalogue);
        Proposals::Write(
            dir.filePath(QStringLiteral("navrh.pdf")),
            Proposals::Make(doc, Proposals::AllSchemes(doc), &database, QDate::currentDate()));
        const double photoBytes = double(large.width()) * large.height() * 3;
        const double peak = double(PeakResidentKiB()) * 1024.0;
        std::printf("50 MP proposal of %d schemes: peak resident %.1f MB, photograph %.1f MB, "
                    "PDF %.1f MB\n",
                    int(doc.Schemes.size()), peak / 1e6, photoBytes / 1e6,
                    double(QFileInfo(dir.filePath(QStringLiteral("navrh.pdf"))).size()) / 1e6);
        std::printf("RATIO peak_memory_proposal_50mp %.4f\n", peak / photoBytes);
        return 0;
    });
}

// The proposal of every scheme of a project with many schemes against that of four
// schemes of the same project, each from opening the project to the written PDF in a
// process of its own: the ratio of their peak resident memories shows how the memory
// grows with the schemes.
bool PeakMemoryOfManySchemes(int argc, char** argv, const QString& catalogue) {
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("dum.bmp"));
    const QSize size(ManySchemesPhoto);
    if (!InChild([&] {
            PhotoFiles::SaveBmp(photo, bench::SyntheticPhoto(size.width(), size.height()));
            SchemeList schemes;
            for (int s = 0; s < ManySchemes; ++s)
                schemes << SchemeRecord{QStringLiteral("Schéma %1").arg(s + 1),
                                        PaintedLayers(s % 7 + 1)};
            bench::SyntheticMask(size.width(), size.height(), LayerCount, 20)
                .SaveToFile(photo + QStringLiteral(".mask"), PaintedLayers(0), schemes);
            return 0;
        }))
        return false;
    double peaks[2] = {0, 0};
    for (int run = 0; run < 2; ++run) {
        const QString report = dir.filePath(QStringLiteral("peak%1").arg(run));
        if (!InChild([&] {
                QGuiApplication application(argc, argv);
                LoadedProject project = LoadProject(photo);
                Document doc;
                doc.ProjectPath = photo;
                doc.PhotoBitmap = std::move(project.Photo);
                doc.Mask = std::move(project.Mask);
                doc.Layers = std::move(project.Layers);
                doc.Schemes = std::move(project.Schemes);
                CatalogueDatabase database;
                database.Open(catalogue);
                const QList<int> chosen =
                    run == 0 ? QList<int>{0, 1, 2, 3} : Proposals::AllSchemes(doc);
                const QString pdf = dir.filePath(QStringLiteral("navrh%1.pdf").arg(run));
                Proposals::Write(pdf,
                                 Proposals::Make(doc, chosen, &database, QDate::currentDate()));
                const long peak = PeakResidentKiB();
                std::printf(
                    "proposal of %d schemes of %d × %d: peak resident %.1f MB, PDF %.1f MB\n",
                    int(chosen.size()), size.width(), size.height(), double(peak) / 1024,
                    double(QFileInfo(pdf).size()) / 1e6);
                QFile file(report);
                return file.open(QIODevice::WriteOnly) &&
                               file.write(QByteArray::number(qint64(peak))) > 0
                           ? 0
                           : 1;
            }))
            return false;
        QFile file(report);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        peaks[run] = file.readAll().toDouble();
    }
    if (!(peaks[0] > 0))
        return false;
    std::printf("RATIO peak_memory_proposal_many %.4f\n", peaks[1] / peaks[0]);
    return true;
}

} // namespace

BENCHMARK(render_full_size_scheme)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(compare_four_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(render_window)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(before_after_step)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(export_four_jpegs)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(proposal_pdf_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Before this process grows: the child's peak must be its own.
    QString catalogue;
    {
        QCoreApplication probe(argc, argv); // for the demo catalogue's path
        catalogue = DemoCatalogue();
    }
    if (!PeakMemoryOfTheProposal(argc, argv, catalogue))
        std::fprintf(stderr, "the 50-megapixel proposal failed\n");
    if (!PeakMemoryOfManySchemes(argc, argv, catalogue))
        std::fprintf(stderr, "the proposal of many schemes failed\n");
    QGuiApplication application(argc, argv);
    const int code = bench::RunAndReport(
        argc, argv,
        {{bench::Sized("compare_four"), "compare_four_op", "render_full_size_scheme"},
         {bench::Sized("before_after_drag"), "before_after_step", "render_window"},
         {bench::Sized("proposal_pdf"), "proposal_pdf_op", "export_four_jpegs"}});
    scene.reset();
    return code;
}
