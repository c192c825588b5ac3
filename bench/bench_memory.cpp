// Peak resident memory of the program's work on a photograph, as a ratio to the
// photograph's bytes (width × height × 3), each scenario in a process of its own that
// starts small (the files it reads are written by another process beforehand, so that
// making them does not count):
// - peak_memory: a 24-megapixel project opened at zoom 1 with 100 edits in the undo
//   history;
// - peak_memory_50mp: a 8660 × 5773 photograph end to end while a project of that size
//   is open: the open project edited 100 times with every tool (fills at zoom 1 and
//   zoomed out), shown at every zoom, saved, exported and reduced for the paint order;
//   the JPEG imported over it and the same done to the new project; the first project
//   opened again. The peak is taken with 100 edits in the history.
// - peak_memory_50mp_smart: the 8660 × 5773 project opened, smart selection prepared
//   for it, three strokes (two including, one excluding) and the proposal applied.
#include "BenchSupport.h"

#include "overview/OrderSheet.h"
#include "project/PhotoFiles.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Prompts.h"
#include "workspace/SaveMask.h"
#include "workspace/ToolActions.h"
#include "workspace/Workspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

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

double PeakMegabytes() {
    return double(PeakResidentKiB()) * 1024.0 / 1e6;
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

// A saved project of the synthetic photograph with 8 shaded layers in 20 runs a row.
void MakeProject(const QString& photo, QSize size) {
    PhotoFiles::SaveBmp(photo, bench::SyntheticPhoto(size.width(), size.height()));
    bench::SyntheticMask(size.width(), size.height(), 8, 20)
        .SaveToFile(photo + QStringLiteral(".mask"), bench::ShadedLayers(8), {});
}

int PeakAfterEdits(const QString& photo) {
    Workspace ws;
    bench::QuietPrompts prompts;
    if (!OpenProjectFile(ws, prompts, photo)) {
        std::fprintf(stderr, "open failed\n");
        return 1;
    }
    for (int edit = 0; edit < 100; ++edit) {
        ws.PushUndo();
        const int x = 50 + edit * 59, y = 100 + edit * 38;
        for (int row = y; row < y + 20; ++row)
            ws.Doc.Mask.PaintSpan(row, x, x + 19, std::uint8_t(1 + edit % 8));
        ws.History.MarkPresentChanged();
        ws.UpdateRegion(x, y, x + 19, y + 19);
    }
    const double photoBytes = double(ws.Doc.PhotoBitmap.sizeInBytes());
    const double peak = PeakMegabytes() * 1e6;
    std::printf("peak resident %.1f MB, photograph %.1f MB, history %.1f MB\n", peak / 1e6,
                photoBytes / 1e6, double(ws.History.SnapshotBytes()) / 1e6);
    std::printf("RATIO peak_memory %.4f\n", peak / photoBytes);
    return 0;
}

// 100 edits as a user makes them: pencil presses with strokes, line segments, and
// fills with tolerance and full, most at zoom 1 and two zoomed out.
void EditHundredTimes(Workspace& ws, ToolActions& tools, int& row) {
    const int w = ws.Doc.PhotoBitmap.width(), h = ws.Doc.PhotoBitmap.height();
    ws.Thickness = 8;
    for (int edit = 0; edit < 100; ++edit) {
        row = 1 + edit % 8;
        const int x = 40 + (edit * 613) % (w - 80), y = 40 + (edit * 379) % (h - 80);
        if (edit % 10 == 3 || edit % 10 == 7) {
            // A fill; every fifth of them zoomed out to a half first.
            const bool zoomedOut = edit % 50 == 3;
            if (zoomedOut)
                ws.ZoomOut(QSize(1200, 800));
            ws.CurrentTool = edit % 20 == 7 ? FullFillTool : ToleranceFillTool;
            tools.ActiveTolerance = ws.CurrentTool == FullFillTool ? 255 : 20;
            const double z = ws.ZoomFactor;
            tools.ImageMouseDown(false, int(x * z), int(y * z));
            if (zoomedOut)
                ws.ZoomIn(QSize(1200, 800));
        } else if (edit % 10 == 5) {
            ws.CurrentTool = LineTool;
            ws.LineAnchorX = x;
            ws.LineAnchorY = y;
            tools.ImageMouseDown(false, x + 150, y + 40);
        } else {
            ws.CurrentTool = PencilTool;
            tools.ImageMouseDown(false, x, y);
            for (int step = 1; step <= 10; ++step)
                tools.ImageMouseMove(true, false, x + 4 * step, y + 3 * step);
        }
    }
}

// Every zoom the photograph reaches from 1 and back.
void EveryZoom(Workspace& ws) {
    ws.ZoomOut(QSize(1200, 800));
    ws.ZoomOut(QSize(1200, 800));
    ws.ZoomIn(QSize(1200, 800));
    ws.ZoomIn(QSize(1200, 800));
}

bool SaveExportAndOrder(Workspace& ws, bench::QuietPrompts& prompts, const QString& out) {
    if (SaveMask(ws.Doc, prompts) != SaveResult::Saved)
        return false;
    prompts.file = out;
    if (!ExportPicture(ws, prompts))
        return false;
    return !Order::Picture(ws.Doc).isNull();
}

int PeakEndToEnd(const QString& domy, const QString& jpeg, const QString& out) {
    Workspace ws;
    bench::QuietPrompts prompts;
    ToolActions tools(ws, prompts);
    int row = 1;
    tools.SelectedRow = [&row] { return row; };
    const QString first = QDir(domy).filePath(QStringLiteral("stary.bmp"));
    QStringList phases;
    const auto phase = [&phases](const char* name) {
        phases << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(PeakMegabytes(), 0, 'f', 0);
    };

    if (!OpenProjectFile(ws, prompts, first))
        return 1;
    phase("open");
    EditHundredTimes(ws, tools, row);
    phase("edits");
    EveryZoom(ws);
    if (!SaveExportAndOrder(ws, prompts, out))
        return 2;
    phase("save+export+order");

    prompts.file = jpeg; // the import's file dialog
    if (!ImportPhotograph(ws, prompts, domy))
        return 3;
    phase("import");
    EditHundredTimes(ws, tools, row);
    EveryZoom(ws);
    const double history = double(ws.History.SnapshotBytes());
    const int nodes = ws.History.NodeCount();
    if (!SaveExportAndOrder(ws, prompts, out))
        return 4;
    phase("edits+save+export+order");
    if (!OpenProjectFile(ws, prompts, first))
        return 5;
    phase("open again");

    const double photoBytes = double(bench::LargeWidth) * bench::LargeHeight * 3;
    const double peak = PeakMegabytes() * 1e6;
    std::printf("50 MP: peak resident %.1f MB, photograph %.1f MB, history %d snapshots %.1f MB; "
                "peak after each step (MB): %s\n",
                peak / 1e6, photoBytes / 1e6, nodes, history / 1e6, qPrintable(phases.join(", ")));
    std::printf("RATIO peak_memory_50mp %.4f\n", peak / photoBytes);
    return 0;
}

int PeakSmartSelection(const QString& photo) {
    Workspace ws;
    bench::QuietPrompts prompts;
    ToolActions tools(ws, prompts);
    tools.SelectedRow = [] { return 3; };
    if (!OpenProjectFile(ws, prompts, photo))
        return 1;
    ws.CurrentTool = SmartSelectTool;
    ws.Thickness = 12;
    const int w = ws.Doc.PhotoBitmap.width(), h = ws.Doc.PhotoBitmap.height();
    const auto stroke = [&](QPoint a, QPoint b, bool right) {
        tools.ImageMouseDown(right, a.x(), a.y());
        tools.ImageMouseMove(!right, false, (a.x() + b.x()) / 2, (a.y() + b.y()) / 2, right);
        tools.ImageMouseUp(b.x(), b.y());
    };
    stroke(QPoint(w / 5, h / 2), QPoint(w * 4 / 5, h / 2 + 40), false);
    stroke(QPoint(w / 3, h / 4), QPoint(w / 2, h / 4), false);
    stroke(QPoint(w / 2, h * 3 / 4), QPoint(w * 3 / 5, h * 3 / 4), true);
    const qint64 proposed = ws.Smart.Proposal().PixelCount();
    tools.ApplySmartSelection();
    if (ws.History.NodeCount() != 1)
        return 2;
    const double photoBytes = double(bench::LargeWidth) * bench::LargeHeight * 3;
    const double peak = PeakMegabytes() * 1e6;
    std::printf("50 MP smart selection: peak resident %.1f MB, %.1f %% of the picture proposed "
                "and applied\n",
                peak / 1e6, 100.0 * double(proposed) / (double(w) * h));
    std::printf("RATIO peak_memory_50mp_smart %.4f\n", peak / photoBytes);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("dum.bmp"));
    if (!InChild([&] {
            MakeProject(photo, QSize(6000, 4000));
            return 0;
        }) ||
        !InChild([&] { return PeakAfterEdits(photo); }))
        return 1;
    QFile::remove(photo);
    QFile::remove(photo + QStringLiteral(".mask"));

    const QString domy = dir.filePath(QStringLiteral("domy"));
    const QString jpeg = dir.filePath(QStringLiteral("foto.jpg"));
    const QSize large(bench::LargeWidth, bench::LargeHeight);
    QDir().mkpath(domy);
    if (!InChild([&] {
            MakeProject(QDir(domy).filePath(QStringLiteral("stary.bmp")), large);
            QFile file(jpeg);
            return file.open(QIODevice::WriteOnly) &&
                           file.write(PhotoFiles::EncodeJpeg(
                               bench::SyntheticPhoto(large.width(), large.height())))
                       ? 0
                       : 1;
        }) ||
        !InChild(
            [&] { return PeakEndToEnd(domy, jpeg, dir.filePath(QStringLiteral("vystup.jpg"))); })) {
        std::fprintf(stderr, "the 50-megapixel run failed\n");
        return 1;
    }
    if (!InChild(
            [&] { return PeakSmartSelection(QDir(domy).filePath(QStringLiteral("stary.bmp"))); })) {
        std::fprintf(stderr, "the 50-megapixel smart selection failed\n");
        return 1;
    }
    return 0;
}
