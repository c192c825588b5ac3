// Peak resident memory with a 24-megapixel project open at zoom 1 and 100 edits in
// the undo history, as a ratio to the photograph's bytes.
#include "BenchSupport.h"

#include "project/PhotoFiles.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Prompts.h"
#include "workspace/Workspace.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("dum.bmp"));
    // The project is written by a child process, so that making it does not count.
    const pid_t child = fork();
    if (child == 0) {
        PhotoFiles::SaveBmp(photo, bench::SyntheticPhoto(6000, 4000));
        bench::SyntheticMask(6000, 4000, 8, 20)
            .SaveToFile(photo + QStringLiteral(".mask"), bench::ShadedLayers(8), {});
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);

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
    const double peak = double(PeakResidentKiB()) * 1024.0;
    std::printf("peak resident %.1f MB, photograph %.1f MB, history %.1f MB\n", peak / 1e6,
                photoBytes / 1e6, double(ws.History.SnapshotBytes()) / 1e6);
    std::printf("RATIO peak_memory %.4f\n", peak / photoBytes);
    return 0;
}
