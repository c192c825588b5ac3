// Editing on a 6000 × 4000 photograph (8660 × 5773 with TINTORA_BENCH_PHOTO=50mp)
// with texture and edges: a pencil dab against a
// whole-picture render, the tolerance and full fills against OpenCV's floodFill
// (4-connected, fixed range, mask output) on the same picture and seed, and the
// whole fill action (press to picture redrawn) against a render.
#include "BenchSupport.h"

#include "editing/FloodFill.h"
#include "editing/Tools.h"
#include "workspace/Prompts.h"
#include "workspace/ToolActions.h"
#include "workspace/Workspace.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include <opencv2/imgproc.hpp>

namespace {

// The wall's width: the left 60 % of the picture.
int WallWidth() {
    return bench::PhotoSize().width() * 3 / 5;
}

// A picture whose left 60 % is a textured wall within a narrow range, the rest a
// different, darker surface: a tolerance fill from the wall covers about 60 %.
QImage WallPicture() {
    const QSize size = bench::PhotoSize();
    const int wall = WallWidth();
    QImage photo = bench::SyntheticPhoto(size.width(), size.height());
    for (int y = 0; y < size.height(); ++y) {
        uchar* row = photo.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            uchar* p = row + 3 * x;
            if (x < wall) {
                const int grain = (x * 7 + y * 13) % 17 - 8;
                p[0] = uchar(150 + grain);
                p[1] = uchar(170 + grain);
                p[2] = uchar(190 + grain);
            } else {
                p[0] = uchar(p[0] / 3);
                p[1] = uchar(p[1] / 3);
                p[2] = uchar(p[2] / 2);
            }
        }
    }
    return photo;
}

// The same wall as real walls are: about 5 % of its pixels scattered specks outside
// the tolerance, and some larger holes (joints, windows of dirt), so that runs of
// qualifying pixels are short and the filled region is full of holes.
QImage PorousWall(const QImage& wall) {
    QImage porous = wall.copy();
    const int wallWidth = WallWidth(), height = porous.height();
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        uchar* row = porous.scanLine(y);
        for (int x = 0; x < wallWidth; ++x) {
            if (random.bounded(100) < 5)
                std::memset(row + 3 * x, 20, 3);
        }
    }
    // As many holes for the same area at every size.
    const int holes = int(400.0 * wallWidth * height / (3600.0 * 4000.0));
    for (int hole = 0; hole < holes; ++hole) {
        const int cx = random.bounded(wallWidth), cy = random.bounded(height);
        const int r = 4 + random.bounded(30);
        // None around the seed, which would shut the fill in.
        if ((cx - 1000) * (cx - 1000) + (cy - 2000) * (cy - 2000) <= (r + 2) * (r + 2))
            continue;
        for (int y = std::max(cy - r, 0); y <= std::min(cy + r, height - 1); ++y) {
            for (int x = std::max(cx - r, 0); x <= std::min(cx + r, wallWidth - 1); ++x) {
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
                    std::memset(porous.scanLine(y) + 3 * x, 30, 3);
            }
        }
    }
    // The seed itself stays on the wall.
    std::memcpy(porous.scanLine(2000) + 3 * 1000, wall.constScanLine(2000) + 3 * 1000, 3);
    return porous;
}

struct Scene {
    Workspace ws;
    bench::QuietPrompts prompts;
    ToolActions tools{ws, prompts};
    TMask baseMask =
        bench::SyntheticMask(bench::PhotoSize().width(), bench::PhotoSize().height(), 8, 20);

    void ShowShades(bool shown) {
        for (int i = 1; i < ws.Doc.Layers.size(); ++i)
            ws.Doc.Layers[i].HiddenInColourMode = !shown;
        ws.UpdateWholePicture();
    }

    Scene() {
        ws.Doc.ProjectPath = QStringLiteral("/bench/dum.bmp");
        ws.Doc.PhotoBitmap = WallPicture();
        ws.Doc.Mask = baseMask;
        ws.Doc.Layers = bench::ShadedLayers(8);
        ws.MaskEditMode = false;
        // The fills read the view: let it show the photograph itself.
        ShowShades(false);
        ws.ResizeView();
        ws.UpdateWholePicture();
        tools.SelectedRow = [] { return 3; };
        porous = PorousWall(ws.ViewBitmap);
    }

    QImage porous;
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

// The reference: a whole-picture render with every layer recoloured.
void render_full(benchmark::State& state) {
    Scene& s = TheScene();
    s.ShowShades(true);
    for (auto _ : state)
        s.ws.UpdateWholePicture();
    s.ShowShades(false);
}

void pencil_dab(benchmark::State& state) {
    Scene& s = TheScene();
    s.ShowShades(true);
    s.ws.Thickness = 20;
    int x = 100;
    for (auto _ : state) {
        const QRect r = PaintBrush(s.ws.Doc.Mask, x, 2000, 20, 3);
        s.ws.UpdateRegion(r.left(), r.top(), r.right(), r.bottom());
        x = (x + 41) % (s.ws.Doc.Mask.Width - 100);
    }
    s.ws.Doc.Mask = s.baseMask;
    s.ShowShades(false);
}

// withLayers: the fill is told of layers drawn in colours, none of which has a pixel
// in the mask, so that it fills the same region while checking every pixel's layer.
void Fill(benchmark::State& state, int tolerance, bool porous = false, bool withLayers = false) {
    Scene& s = TheScene();
    DrawnLayers drawn{};
    if (withLayers)
        std::fill(drawn.begin() + 100, drawn.end(), true);
    const QImage& view = porous ? s.porous : s.ws.ViewBitmap;
    const uchar* p = view.constScanLine(2000) + 3 * 1000;
    const Colour seed = Rgb(p[2], p[1], p[0]);
    qint64 filled = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.ws.Doc.Mask = s.baseMask;
        state.ResumeTiming();
        filled = FloodFill(s.ws.Doc.Mask, view, 1000, 2000, seed, tolerance,
                           s.ws.Doc.Layers[3].MaskColour, 3, drawn);
    }
    state.counters["share"] = double(filled) / (double(view.width()) * view.height());
    s.ws.Doc.Mask = s.baseMask;
}

void fill_tolerance_op(benchmark::State& state) {
    Fill(state, 20);
}
void fill_full_op(benchmark::State& state) {
    Fill(state, 255);
}
void fill_porous_op(benchmark::State& state) {
    Fill(state, 20, true);
}
void fill_tolerance_layers_op(benchmark::State& state) {
    Fill(state, 20, false, true);
}
void fill_porous_layers_op(benchmark::State& state) {
    Fill(state, 20, true, true);
}

void OpenCvFill(benchmark::State& state, int range, bool whole, bool porous = false) {
    Scene& s = TheScene();
    QImage& view = porous ? s.porous : s.ws.ViewBitmap;
    cv::Mat image(view.height(), view.width(), CV_8UC3, view.bits(), size_t(view.bytesPerLine()));
    cv::Mat work = image.clone();
    cv::Mat mask(view.height() + 2, view.width() + 2, CV_8UC1);
    const int flags = 4 | cv::FLOODFILL_FIXED_RANGE | cv::FLOODFILL_MASK_ONLY | (1 << 8);
    for (auto _ : state) {
        mask.setTo(0);
        const cv::Scalar delta =
            whole ? cv::Scalar(255, 255, 255) : cv::Scalar(range, range, range);
        cv::floodFill(work, mask, cv::Point(1000, 2000), cv::Scalar(), nullptr, delta, delta,
                      flags);
    }
}
void opencv_fill_tolerance(benchmark::State& state) {
    OpenCvFill(state, 20, false);
}
void opencv_fill_full(benchmark::State& state) {
    OpenCvFill(state, 255, true);
}
void opencv_fill_porous(benchmark::State& state) {
    OpenCvFill(state, 20, false, true);
}
BENCHMARK(opencv_fill_porous)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(opencv_fill_tolerance)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(opencv_fill_full)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void fill_action(benchmark::State& state) {
    Scene& s = TheScene();
    s.ws.CurrentTool = ToleranceFillTool;
    s.tools.ActiveTolerance = 20;
    for (auto _ : state) {
        state.PauseTiming();
        s.ws.Doc.Mask = s.baseMask;
        s.ws.ClearHistory();
        s.ws.UpdateWholePicture();
        state.ResumeTiming();
        s.tools.ImageMouseDown(false, 1000, 2000);
    }
    s.ws.Doc.Mask = s.baseMask;
}

// The same press with every layer shown in its shade: the fill keeps to the layer of
// the pixel pressed.
void fill_action_shaded(benchmark::State& state) {
    Scene& s = TheScene();
    s.ShowShades(true);
    s.ws.CurrentTool = ToleranceFillTool;
    s.tools.ActiveTolerance = 20;
    for (auto _ : state) {
        state.PauseTiming();
        s.ws.Doc.Mask = s.baseMask;
        s.ws.ClearHistory();
        s.ws.UpdateWholePicture();
        state.ResumeTiming();
        s.tools.ImageMouseDown(false, 1000, 2000);
    }
    s.ws.Doc.Mask = s.baseMask;
    s.ShowShades(false);
}

} // namespace

BENCHMARK(render_full)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(pencil_dab)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(fill_tolerance_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(fill_full_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(fill_porous_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(fill_tolerance_layers_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(fill_porous_layers_op)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(fill_action)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(fill_action_shaded)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    return bench::RunAndReport(
        argc, argv,
        {{bench::Sized("pencil_dab"), "pencil_dab", "render_full"},
         {bench::Sized("fill_tolerance"), "fill_tolerance_op", "opencv_fill_tolerance"},
         {bench::Sized("fill_full"), "fill_full_op", "opencv_fill_full"},
         {bench::Sized("fill_porous"), "fill_porous_op", "opencv_fill_porous"},
         {bench::Sized("fill_tolerance_layers"), "fill_tolerance_layers_op",
          "opencv_fill_tolerance"},
         {bench::Sized("fill_porous_layers"), "fill_porous_layers_op", "opencv_fill_porous"},
         {bench::Sized("fill_action"), "fill_action", "render_full"},
         {bench::Sized("fill_action_shaded"), "fill_action_shaded", "render_full"}});
}
