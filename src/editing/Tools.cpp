#include "editing/Tools.h"

#include "render/ZoomMath.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

int ColourDistance(Colour a, Colour b) {
    return (std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
            std::abs(BlueOf(a) - BlueOf(b))) /
           3;
}

QRect PaintBrush(TMask& mask, int px, int py, int w, std::uint8_t layer) {
    for (int y = py - w; y <= py + w - 1; ++y) {
        if (y >= 0 && y < mask.Height)
            mask.PaintSpan(y, px - w, px + w - 1, layer);
    }
    return QRect(QPoint(px - w, py - w), QPoint(px + w, py + w));
}

void PaintLine(TMask& mask, int x0, int y0, int x1, int y1, int n, std::uint8_t layer) {
    if (x0 == x1 && y0 == y1)
        return;
    const auto run = [&](int x, int y) {
        if (y >= 0 && y < mask.Height)
            mask.PaintSpan(y, x, x + n - 1, layer);
    };
    if (std::abs(y0 - y1) < std::abs(x0 - x1)) {
        if (x1 < x0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        for (int x = x0; x <= x1; ++x)
            run(x, y0 + NearestInt(double(x - x0) / double(x1 - x0) * double(y1 - y0)));
    } else {
        if (y1 < y0) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        for (int y = y0; y <= y1; ++y)
            run(x0 + NearestInt(double(y - y0) / double(y1 - y0) * double(x1 - x0)), y);
    }
}

QRect PaintThickLine(TMask& mask, int ax, int ay, int px, int py, int w, std::uint8_t layer) {
    for (int f = -(w - 1); f <= w - 1; ++f)
        PaintLine(mask, ax - w, ay + f, px - w, py + f, 2 * w, layer);
    return QRect(QPoint(std::min(ax, px) - w, std::min(ay, py) - w),
                 QPoint(std::max(ax, px) + w, std::max(ay, py) + w));
}
