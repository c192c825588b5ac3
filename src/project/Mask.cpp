#include "project/Mask.h"

#include <algorithm>
#include <cstring>

TMask TMask::CreateBlank(int width, int height) {
    TMask mask;
    mask.Width = std::max(width, 0);
    mask.Height = std::max(height, 0);
    mask.Rows.assign(mask.Height, MaskRow{});
    if (mask.Width > 0) {
        for (MaskRow& row : mask.Rows)
            row.push_back(MaskRun{0, 0, mask.Width - 1});
    }
    return mask;
}

std::uint8_t TMask::LayerAt(int x, int y) const {
    if (y < 0 || y >= static_cast<int>(Rows.size()))
        return 0;
    for (const MaskRun& run : Rows[y]) {
        if (run.First <= x && x <= run.Last)
            return run.Layer;
    }
    return 0;
}

void TMask::ExpandRow(int y, std::uint8_t* out) const {
    std::memset(out, 0, static_cast<size_t>(Width));
    const MaskRow& row = Rows[y];
    // Backwards, so that the first run covering a pixel is the one that stays.
    for (auto it = row.rbegin(); it != row.rend(); ++it) {
        const int a = std::max(it->First, 0);
        const int b = std::min(it->Last, Width - 1);
        if (a <= b)
            std::memset(out + a, it->Layer, static_cast<size_t>(b - a + 1));
    }
}

void TMask::PaintSpan(int y, int x1, int x2, std::uint8_t layer) {
    if (Locked[layer] || Width <= 0 || Height <= 0)
        return;
    x1 = std::clamp(x1, 0, Width - 1);
    x2 = std::clamp(x2, 0, Width - 1);
    y = std::clamp(y, 0, Height - 1);

    thread_local std::vector<std::uint8_t> pixels;
    pixels.resize(static_cast<size_t>(Width));
    ExpandRow(y, pixels.data());
    for (int x = x1; x <= x2; ++x) {
        if (!Locked[pixels[x]])
            pixels[x] = layer;
    }

    SetRowFromPixels(y, pixels.data());
}

void TMask::SetRowFromPixels(int y, const std::uint8_t* pixels) {
    // Built in a buffer kept for the next row, then copied in at its exact size: a
    // row grown run by run would hold up to twice the memory it needs, and a fill
    // over a large photograph rebuilds thousands of rows of thousands of runs.
    thread_local MaskRow rebuilt;
    rebuilt.clear();
    int start = 0;
    for (int x = 1; x < Width;) {
        // Eight pixels equal to their left neighbours hold no run boundary.
        if (x + 8 <= Width && std::memcmp(pixels + x, pixels + x - 1, 8) == 0) {
            x += 8;
            continue;
        }
        if (pixels[x] != pixels[x - 1]) {
            rebuilt.push_back(MaskRun{pixels[start], start, x - 1});
            start = x;
        }
        ++x;
    }
    rebuilt.push_back(MaskRun{pixels[start], start, Width - 1});
    MaskRow& row = Rows[y];
    if (row.capacity() >= rebuilt.size() && row.capacity() <= 2 * rebuilt.size())
        row.assign(rebuilt.begin(), rebuilt.end());
    else
        row = MaskRow(rebuilt.begin(), rebuilt.end());
}

void TMask::SetLocked(int index, bool flag) {
    if (index >= 0 && index < static_cast<int>(Locked.size()))
        Locked[index] = flag;
}
