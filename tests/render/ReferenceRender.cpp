#include "render/ReferenceRender.h"

#include "render/ShadePixel.h"

#include <algorithm>
#include <cmath>

namespace {

Colour PixelAt(const QImage& image, int x, int y) {
    const uchar* p = image.constScanLine(y) + 3 * x;
    return Rgb(p[2], p[1], p[0]);
}

void SetPixelAt(QImage& image, int x, int y, Colour c) {
    uchar* p = image.scanLine(y) + 3 * x;
    p[0] = uchar(BlueOf(c));
    p[1] = uchar(GreenOf(c));
    p[2] = uchar(RedOf(c));
}

int Round(double v) {
    return int(std::nearbyint(v));
}

} // namespace

void ReferenceRender(const RenderInput& in, QImage& view, int x1, int y1, int x2, int y2) {
    const LayerList& layers = in.Layers;
    int map[256];
    for (int i = 0; i < 256; ++i)
        map[i] = i;
    for (int i = 0; i < layers.size(); ++i) {
        if (layers[i].Subordinate) {
            for (int j = 0; j < layers.size(); ++j) {
                if (layers[j].Name == layers[i].MasterName)
                    map[i] = j;
            }
        }
    }
    x1 = std::clamp(x1, 0, in.Mask.Width - 1);
    x2 = std::clamp(x2, 0, in.Mask.Width - 1);
    y1 = std::clamp(y1, 0, in.Mask.Height - 1);
    y2 = std::clamp(y2, 0, in.Mask.Height - 1);
    const double z = in.ZoomFactor;

    // Copy the photograph.
    int step = int(z);
    if (step == 0)
        step = int(1 / z);
    const int vyFirst = int(y1 * z);
    const int vyLast = int((y2 + 1) * z) - 1;
    if (z == 1.0) {
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                SetPixelAt(view, x, y, PixelAt(in.Photo, x, y));
    } else {
        for (int vy = vyFirst; vy <= vyLast; ++vy) {
            const int sy = int(vy / z);
            if (z > 1) {
                for (int x = x1; x <= x2; ++x)
                    for (int s = 0; s < step; ++s)
                        SetPixelAt(view, x * step + s, vy, PixelAt(in.Photo, x, sy));
            } else {
                for (int vx = int(x1 * z); vx <= int((x2 + 1) * z) - 1; ++vx)
                    SetPixelAt(view, vx, vy, PixelAt(in.Photo, step * vx, sy));
            }
        }
    }

    // Repaint the layers.
    for (int vy = vyFirst; vy <= vyLast; ++vy) {
        const int my = std::min(int(vy / z), in.Mask.Height - 1);
        const int row = std::min(vy, view.height() - 1);
        for (const MaskRun& run : in.Mask.Rows[my]) {
            if (run.Layer == 0)
                continue;
            const int L = map[run.Layer];
            const int a = std::max(run.First, x1);
            const int b = std::min(run.Last, x2);
            const LayerRecord& layer = layers[L];
            if (in.MaskEditMode && layer.ShownInMaskMode) {
                for (int vx = Round(a * z); vx <= Round((b + 1) * z) - 1; ++vx)
                    SetPixelAt(view, vx, row, layer.MaskColour);
            } else if (layer.ShadeColour != -1 && !layer.HiddenInColourMode) {
                for (int vx = int(a * z); vx <= int((b + 1) * z) - 1; ++vx)
                    SetPixelAt(view, vx, row, ShadePixel(PixelAt(view, vx, row), layer));
            }
        }
    }
}
