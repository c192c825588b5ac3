#include "project/LayerAreas.h"

#include <vector>

namespace {

// A row as the program draws it: runs in order, each starting where the one before
// ended, covering 0 .. width - 1. Rows of a file may be otherwise.
bool WellFormed(const MaskRow& row, int width) {
    int next = 0;
    for (const MaskRun& run : row) {
        if (run.First != next || run.Last < run.First)
            return false;
        next = run.Last + 1;
    }
    return next == width;
}

// The row's projective sums for one plane: the map of (x, y) is
// ((m0 x + a) / (m6 x + c), (m3 x + b) / (m6 x + c)) along the row's top and bottom.
struct RowEdge {
    double a, b, c;
};

struct PlaneRow {
    const Homography* plane = nullptr;
    RowEdge top{}, bottom{};

    void Start(double y) {
        const auto& m = plane->m;
        top = {m[1] * (y - 0.5) + m[2], m[4] * (y - 0.5) + m[5], m[7] * (y - 0.5) + m[8]};
        bottom = {m[1] * (y + 0.5) + m[2], m[4] * (y + 0.5) + m[5], m[7] * (y + 0.5) + m[8]};
    }

    // The plane area of pixels first..last of the row: the quadrilateral of the
    // squares' outer corners, half the cross product of its diagonals.
    double Area(int first, int last) const {
        const auto& m = plane->m;
        const double x0 = first - 0.5, x1 = last + 0.5;
        const auto point = [&m](const RowEdge& e, double x, double& X, double& Y) {
            const double w = 1.0 / (m[6] * x + e.c);
            X = (m[0] * x + e.a) * w;
            Y = (m[3] * x + e.b) * w;
        };
        double ax, ay, bx, by, cx, cy, dx, dy;
        point(top, x0, ax, ay);
        point(top, x1, bx, by);
        point(bottom, x1, cx, cy);
        point(bottom, x0, dx, dy);
        const double cross = (cx - ax) * (dy - by) - (cy - ay) * (dx - bx);
        return 0.5 * (cross < 0 ? -cross : cross);
    }
};

} // namespace

namespace LayerAreas {

QList<double> Own(const TMask& mask, const LayerList& layers, const Measurements& measures) {
    if (measures.IsEmpty())
        return {};
    const QSize photo(mask.Width, mask.Height);
    std::vector<Homography> planes;
    std::vector<bool> usable;
    for (const PlaneReference& reference : measures.References) {
        try {
            planes.push_back(PlaneOf(reference, photo));
            usable.push_back(true);
        } catch (const ReferenceError&) {
            planes.emplace_back();
            usable.push_back(false);
        }
    }
    // Each layer index's plane; -1 counts nothing (no such layer, or its plane is unusable).
    std::vector<int> planeOf(256, -1);
    for (int i = 0; i < layers.size() && i < 256; ++i) {
        const int plane = measures.PlaneOfLayer(layers[i].Name);
        planeOf[i] = usable[plane] ? plane : -1;
    }

    std::vector<double> area(256, 0.0);
    std::vector<PlaneRow> rows(planes.size());
    for (size_t p = 0; p < planes.size(); ++p)
        rows[p].plane = &planes[p];
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < mask.Height && y < int(mask.Rows.size()); ++y) {
        for (PlaneRow& row : rows)
            row.Start(y);
        const MaskRow& runs = mask.Rows[y];
        if (WellFormed(runs, mask.Width)) {
            for (const MaskRun& run : runs) {
                const int plane = planeOf[run.Layer];
                if (plane >= 0)
                    area[run.Layer] += rows[plane].Area(run.First, run.Last);
            }
            continue;
        }
        // Counted as drawn: the first run covering a pixel decides its layer.
        pixels.resize(size_t(mask.Width));
        mask.ExpandRow(y, pixels.data());
        for (int first = 0; first < mask.Width;) {
            int last = first;
            while (last + 1 < mask.Width && pixels[last + 1] == pixels[first])
                ++last;
            const int plane = planeOf[pixels[first]];
            if (plane >= 0)
                area[pixels[first]] += rows[plane].Area(first, last);
            first = last + 1;
        }
    }
    return QList<double>(area.begin(), area.begin() + std::min<qsizetype>(layers.size(), 256));
}

QList<double> Painted(const LayerList& layers, const QList<double>& own) {
    QList<double> painted = own;
    for (int i = 0; i < own.size(); ++i) {
        const int master = EffectiveLayer(layers, i);
        if (master != i && master >= 0 && master < painted.size())
            painted[master] += own[i];
    }
    return painted;
}

QList<double> Painted(const Document& doc) {
    return Painted(doc.Layers, Own(doc.Mask, doc.Layers, doc.Measures));
}

} // namespace LayerAreas
