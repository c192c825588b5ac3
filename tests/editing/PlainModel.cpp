#include "editing/PlainModel.h"

#include "render/ShadePixel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <unordered_map>

namespace Plain {

namespace {

int Nearest(double value) {
    return int(std::nearbyint(value)); // halves to the even neighbour
}

Colour PixelOf(const QImage& image, int x, int y) {
    const uchar* p = image.constScanLine(y) + 3 * x;
    return Rgb(p[2], p[1], p[0]);
}

// A run of n pixels from x in row y; rows outside the picture are skipped.
void Run(Document& doc, int x, int y, int n, int layer) {
    if (y >= 0 && y < doc.Mask.Height)
        PaintSpan(doc, y, x, x + n - 1, layer);
}

void PaintLine(Document& doc, int x0, int y0, int x1, int y1, int n, int layer) {
    if (x0 == x1 && y0 == y1)
        return;
    if (std::abs(y0 - y1) < std::abs(x0 - x1)) {
        // More horizontal: one run per column, from the end with the smaller x.
        const int xs = std::min(x0, x1), ys = x0 < x1 ? y0 : y1;
        const int xe = std::max(x0, x1), ye = x0 < x1 ? y1 : y0;
        for (int x = xs; x <= xe; ++x)
            Run(doc, x, ys + Nearest(double(x - xs) / double(xe - xs) * double(ye - ys)), n, layer);
    } else {
        // More vertical, also for equal slopes: one run per row, from the smaller y.
        const int ys = std::min(y0, y1), xs = y0 < y1 ? x0 : x1;
        const int ye = std::max(y0, y1), xe = y0 < y1 ? x1 : x0;
        for (int y = ys; y <= ye; ++y)
            Run(doc, xs + Nearest(double(y - ys) / double(ye - ys) * double(xe - xs)), y, n, layer);
    }
}

} // namespace

PixelMask PixelMask::Blank(int width, int height) {
    PixelMask mask;
    mask.Width = width;
    mask.Height = height;
    mask.Pixels.assign(size_t(width) * size_t(height), 0);
    return mask;
}

LayerRecord OriginalLayer() {
    LayerRecord layer;
    layer.Name = QStringLiteral("Originál");
    layer.ReservedText.clear();
    layer.RealColour = Rgb(255, 255, 255);
    layer.MaskColour = Rgb(255, 255, 255);
    layer.ShadeColour = NoColour;
    layer.Locked = false;
    layer.ShownInMaskMode = true;
    layer.HiddenInColourMode = true;
    layer.ShadeId = -1;
    layer.FanDeckId = -1;
    layer.Quantity = 0;
    layer.PaintKindId = -1;
    layer.MasterName.clear();
    layer.Subordinate = false;
    return layer;
}

LayerRecord NewLayer(const QString& name, Colour real, Colour mask) {
    LayerRecord layer = OriginalLayer();
    layer.Name = name;
    layer.RealColour = real;
    layer.MaskColour = mask;
    return layer;
}

int EffectiveLayer(const LayerList& layers, int i) {
    int effective = i;
    if (layers[i].Subordinate) {
        for (int j = 0; j < layers.size(); ++j) {
            if (j != i && layers[j].Name == layers[i].MasterName)
                effective = j;
        }
    }
    return effective;
}

bool IsLocked(const LayerList& layers, int layer) {
    return layer < layers.size() && layers[layer].Locked;
}

int Distance(Colour a, Colour b) {
    return (std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
            std::abs(BlueOf(a) - BlueOf(b))) /
           3;
}

void PaintSpan(Document& doc, int y, int x1, int x2, int layer) {
    PixelMask& mask = doc.Mask;
    if (IsLocked(doc.Layers, layer))
        return;
    x1 = std::clamp(x1, 0, mask.Width - 1);
    x2 = std::clamp(x2, 0, mask.Width - 1);
    y = std::clamp(y, 0, mask.Height - 1);
    for (int x = x1; x <= x2; ++x) {
        if (!IsLocked(doc.Layers, mask.At(x, y)))
            mask.At(x, y) = std::uint8_t(layer);
    }
}

void PaintBrush(Document& doc, int px, int py, int thickness, int layer) {
    const int w = thickness;
    for (int y = py - w; y <= py + w - 1; ++y)
        Run(doc, px - w, y, 2 * w, layer);
}

void PaintThickLine(Document& doc, int ax, int ay, int px, int py, int thickness, int layer) {
    const int w = thickness;
    for (int f = -(w - 1); f <= w - 1; ++f)
        PaintLine(doc, ax - w, ay + f, px - w, py + f, 2 * w, layer);
}

QImage Render(const Document& doc, bool maskMode, int zoom) {
    const PixelMask& mask = doc.Mask;
    // The layer each layer takes its looks from, worked out once per layer.
    std::vector<int> looksOf(size_t(doc.Layers.size()));
    for (int i = 0; i < doc.Layers.size(); ++i)
        looksOf[size_t(i)] = Plain::EffectiveLayer(doc.Layers, i);
    // Recoloured values by layer and photograph colour, each worked out once.
    std::unordered_map<std::uint64_t, Colour> shaded;
    QImage view(mask.Width * zoom, mask.Height * zoom, QImage::Format_BGR888);
    for (int y = 0; y < mask.Height; ++y) {
        const uchar* photo = doc.Photo.constScanLine(y);
        std::vector<uchar*> viewRows;
        for (int dy = 0; dy < zoom; ++dy)
            viewRows.push_back(view.scanLine(y * zoom + dy));
        for (int x = 0; x < mask.Width; ++x) {
            const uchar* p = photo + 3 * x;
            Colour c = Rgb(p[2], p[1], p[0]);
            const int own = mask.At(x, y);
            if (own != 0) {
                const int looksIndex = looksOf[size_t(own)];
                const LayerRecord& looks = doc.Layers[looksIndex];
                if (maskMode && looks.ShownInMaskMode) {
                    c = looks.MaskColour;
                } else if (looks.ShadeColour != NoColour && !looks.HiddenInColourMode) {
                    // The recolouring formula has tests of its own.
                    const auto [at, added] =
                        shaded.try_emplace(std::uint64_t(looksIndex) << 32 | std::uint32_t(c));
                    if (added)
                        at->second = ShadePixel(c, looks);
                    c = at->second;
                }
            }
            // A block of zoom × zoom view pixels.
            for (uchar* row : viewRows) {
                uchar* out = row + 3 * x * zoom;
                for (int dx = 0; dx < zoom; ++dx, out += 3) {
                    out[0] = uchar(BlueOf(c));
                    out[1] = uchar(GreenOf(c));
                    out[2] = uchar(RedOf(c));
                }
            }
        }
    }
    return view;
}

bool ShownInLayerColour(const Document& doc, bool maskMode, int layer) {
    if (layer == 0 || layer >= doc.Layers.size())
        return false;
    const LayerRecord& looks = doc.Layers[Plain::EffectiveLayer(doc.Layers, layer)];
    return (maskMode && looks.ShownInMaskMode) ||
           (looks.ShadeColour != NoColour && !looks.HiddenInColourMode);
}

void Fill(Document& doc, const QImage& view, bool maskMode, int px, int py, int tolerance,
          int layer) {
    PixelMask& mask = doc.Mask;
    if (px < 0 || py < 0 || px >= mask.Width || py >= mask.Height)
        return;
    const Colour seed = PixelOf(view, px, py);
    const Colour barrier = layer == 0 ? Rgb(0, 0, 0) : doc.Layers[layer].MaskColour;
    // What a pixel shows: the photograph (-1), or a colour of its own layer's. The
    // fill stays within what its start pixel shows.
    std::vector<bool> inLayerColour(256);
    for (int i = 0; i < 256; ++i)
        inLayerColour[size_t(i)] = ShownInLayerColour(doc, maskMode, i);
    const auto shows = [&](int x, int y) {
        const int own = mask.At(x, y);
        return inLayerColour[size_t(own)] ? own : -1;
    };
    const int startShows = shows(px, py);
    const auto qualifies = [&](int x, int y) {
        const Colour q = PixelOf(view, x, y);
        return shows(x, y) == startShows && Distance(q, seed) < tolerance &&
               Distance(q, barrier) > 5;
    };
    // Breadth first over the four neighbours; the start pixel always belongs.
    std::vector<bool> reached(mask.Pixels.size(), false);
    std::deque<std::pair<int, int>> pending{{px, py}};
    reached[size_t(py) * size_t(mask.Width) + size_t(px)] = true;
    while (!pending.empty()) {
        const auto [x, y] = pending.front();
        pending.pop_front();
        const std::pair<int, int> neighbours[] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
        for (const auto& [nx, ny] : neighbours) {
            if (nx < 0 || ny < 0 || nx >= mask.Width || ny >= mask.Height)
                continue;
            const size_t i = size_t(ny) * size_t(mask.Width) + size_t(nx);
            if (!reached[i] && qualifies(nx, ny)) {
                reached[i] = true;
                pending.push_back({nx, ny});
            }
        }
    }
    if (IsLocked(doc.Layers, layer))
        return;
    for (size_t i = 0; i < reached.size(); ++i) {
        if (reached[i] && !IsLocked(doc.Layers, mask.Pixels[i]))
            mask.Pixels[i] = std::uint8_t(layer);
    }
}

void CleanLayer(Document& doc, int row) {
    for (std::uint8_t& pixel : doc.Mask.Pixels) {
        if (pixel == row)
            pixel = 0;
    }
}

void RemoveLayer(Document& doc, int row) {
    LayerList& layers = doc.Layers;
    const LayerRecord removed = layers[row];
    // The pixels go to the master when the layer is subordinate to another layer.
    int target = Plain::EffectiveLayer(layers, row);
    if (target == row)
        target = 0;
    for (LayerRecord& layer : layers) {
        if (layer.Subordinate && layer.MasterName == removed.Name) {
            layer.Subordinate = false;
            layer.MasterName.clear();
        }
    }
    layers.removeAt(row);
    if (target > row)
        target -= 1;
    for (std::uint8_t& pixel : doc.Mask.Pixels) {
        if (pixel == row)
            pixel = std::uint8_t(target);
        else if (pixel > row)
            pixel -= 1;
    }
}

void ApplyScheme(Document& doc, const SchemeRecord& scheme) {
    for (const LayerRecord& record : scheme.Layers) {
        for (LayerRecord& layer : doc.Layers) {
            if (layer.Name == record.Name)
                layer = record;
        }
    }
}

int History::IndexOf(Link link) const {
    if (link == nodes_.end())
        return -1;
    return int(std::distance(nodes_.begin(), std::list<Node>::const_iterator(link)));
}

void History::PushUndo(const PixelMask& present, Anchor anchor) {
    if (undoCurrent_ != nodes_.end())
        nodes_.erase(std::next(undoCurrent_), nodes_.end());
    nodes_.push_back(Node{present, anchor});
    undoCurrent_ = std::prev(nodes_.end());
    presentInHistory_ = true;
    redoNext_ = nodes_.end();
}

bool History::Undo(PixelMask& mask, Anchor& anchor) {
    if (undoCurrent_ == nodes_.end())
        return false;
    if (!presentInHistory_) {
        // The edited present becomes a node, so that redo can come back to it.
        PushUndo(mask, anchor);
        undoCurrent_ = std::prev(undoCurrent_);
    }
    mask = undoCurrent_->Snapshot;
    anchor = undoCurrent_->SavedAnchor;
    redoNext_ = HasNext(undoCurrent_) ? std::next(undoCurrent_) : undoCurrent_;
    if (HasPrev(undoCurrent_))
        undoCurrent_ = std::prev(undoCurrent_);
    return true;
}

bool History::Redo(PixelMask& mask, Anchor& anchor) {
    if (redoNext_ == nodes_.end())
        return false;
    undoCurrent_ = redoNext_;
    redoNext_ = HasNext(undoCurrent_) ? std::next(undoCurrent_) : nodes_.end();
    mask = undoCurrent_->Snapshot;
    anchor = undoCurrent_->SavedAnchor;
    return true;
}

void History::Clear() {
    nodes_.clear();
    undoCurrent_ = nodes_.end();
    redoNext_ = nodes_.end();
}

} // namespace Plain
