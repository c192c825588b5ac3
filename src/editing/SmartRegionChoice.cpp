#include "editing/SmartRegionChoice.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

#include <opencv2/imgproc.hpp>
#include <opencv2/imgproc/detail/gcgraph.hpp>

namespace {

using Region = SmartPreparation::Region;

constexpr float Far = 1e9f;
// Regions this unlike every marked one (in both colour and surroundings, CIELAB)
// certainly belong to something else.
constexpr float ClearlyUnlike = 15.0f;
// Regions this like a marked one count towards the marked surface's extent.
constexpr float ClearlyLike = 8.0f;
// The minimum cut: weight of a border cell side and the contrast at which a
// border's weight falls to 1/e.
constexpr float BorderWeight = 15.0f;
constexpr float BorderContrast = 10.0f;
// The thickest line OpenCV draws.
constexpr int MaxLineThickness = 32767;

float Squared(const float* a, const float* b) {
    const float d0 = a[0] - b[0], d1 = a[1] - b[1], d2 = a[2] - b[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

// A measure on a logarithmic scale, so that the weighting sees ratios.
float Log(float v) {
    return std::log1p(std::min(v, 1000.0f));
}

// From the sources, every region's cost of the cheapest path of neighbours: the
// largest colour step on it (minimax), or the sum of the steps. near takes the
// surroundings' colour instead of the region's own.
std::vector<float> PathCosts(const SmartPreparation& p, const std::vector<int>& sources, bool near,
                             bool summed) {
    const int count = p.RegionCount();
    std::vector<float> cost(static_cast<size_t>(count), Far);
    using Item = std::pair<float, int>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    for (int s : sources) {
        cost[size_t(s)] = 0;
        queue.push({0.0f, s});
    }
    while (!queue.empty()) {
        const auto [c, r] = queue.top();
        queue.pop();
        if (c > cost[size_t(r)])
            continue;
        for (int i = p.BorderStart[size_t(r)]; i < p.BorderStart[size_t(r) + 1]; ++i) {
            const SmartPreparation::Border& border = p.Borders[size_t(p.BorderIndex[size_t(i)])];
            const int next = border.A == r ? border.B : border.A;
            const float step = near ? border.NearStep : border.Step;
            const float reached = summed ? c + step : std::max(c, step);
            if (reached < cost[size_t(next)]) {
                cost[size_t(next)] = reached;
                queue.push({reached, next});
            }
        }
    }
    return cost;
}

// The cell a point of a stroke falls in, along one side of n cells over size
// photograph pixels: the photograph's last partial cell belongs to the last whole one,
// and points beyond the photograph's far side lie as far from its last cell as from
// its last pixel.
int CellAlong(int fine, int k, int n, int size) {
    if (fine < n * k)
        return int(std::floor(double(fine) / k));
    return n - 1 + (fine - (size - 1) + k - 1) / k;
}

// Cells under a stroke's path on the canvas (all 0), and the rectangle of cells they
// may lie in; a cell is marked when the brush passes over any of its pixels inside
// the photograph.
cv::Rect MarkStroke(const SmartPreparation& p, const SmartStroke& stroke, cv::Mat& canvas) {
    const int k = p.Scale;
    // A brush wider than the photograph covers it whole: wider ones change nothing.
    const int w = std::clamp(stroke.HalfWidth, 1, p.PhotoWidth + p.PhotoHeight);
    // The brush reaches w pixels from its path: parts farther out touch nothing.
    const cv::Rect reach(-w, -w, p.PhotoWidth + 2 * w, p.PhotoHeight + 2 * w);
    const int thickness = std::clamp(int(std::lround(2.0 * w / k)), 1, MaxLineThickness);
    const auto cell = [&p, k](cv::Point fine) {
        return cv::Point(CellAlong(fine.x, k, p.CellColumns, p.PhotoWidth),
                         CellAlong(fine.y, k, p.CellRows, p.PhotoHeight));
    };
    cv::Rect drawn;
    for (size_t i = 0; i < stroke.Points.size(); ++i) {
        cv::Point a(stroke.Points[i].x(), stroke.Points[i].y());
        cv::Point b = i + 1 < stroke.Points.size()
                          ? cv::Point(stroke.Points[i + 1].x(), stroke.Points[i + 1].y())
                          : a;
        if (i + 1 < stroke.Points.size() || stroke.Points.size() == 1) {
            if (!cv::clipLine(reach, a, b))
                continue;
            const cv::Point from = cell(a), to = cell(b);
            cv::line(canvas, from, to, cv::Scalar(255), thickness, cv::LINE_8);
            const int out = thickness / 2 + 2; // past the line's half thickness
            drawn |= cv::Rect(std::min(from.x, to.x) - out, std::min(from.y, to.y) - out,
                              std::abs(from.x - to.x) + 2 * out + 1,
                              std::abs(from.y - to.y) + 2 * out + 1);
        }
    }
    return drawn & cv::Rect(0, 0, canvas.cols, canvas.rows);
}

} // namespace

const SmartWeights& DefaultSmartWeights() {
    // Fitted by bench/fit_smart_selection on 30 generated facades of seeds 1000 on.
    static const SmartWeights weights{2.765f,  -1.368f, -1.131f, -1.055f, -2.017f, 1.044f,
                                      -0.157f, 0.116f,  0.340f,  0.992f,  -0.417f, -0.155f,
                                      -2.044f, 0.811f,  1.509f,  -0.014f};
    return weights;
}

std::vector<int> StrokeRegions(const SmartPreparation& p, const SmartStroke& stroke) {
    std::vector<int> regions;
    if (p.CellColumns <= 0 || p.CellRows <= 0)
        return regions;
    cv::Mat canvas(p.CellRows, p.CellColumns, CV_8U, cv::Scalar(0));
    const cv::Rect drawn = MarkStroke(p, stroke, canvas);
    for (int y = drawn.y; y < drawn.y + drawn.height; ++y) {
        const uchar* on = canvas.ptr<uchar>(y);
        const int* region = p.RegionOf.ptr<int>(y);
        for (int x = drawn.x; x < drawn.x + drawn.width; ++x) {
            if (on[x])
                regions.push_back(region[x]);
        }
    }
    std::sort(regions.begin(), regions.end());
    regions.erase(std::unique(regions.begin(), regions.end()), regions.end());
    return regions;
}

void MarkRegions(std::vector<std::uint8_t>& marks, const std::vector<int>& regions, bool include) {
    for (int r : regions)
        marks[size_t(r)] = include ? 1 : 2;
}

std::vector<std::uint8_t> MarkStrokes(const SmartPreparation& p,
                                      const std::vector<SmartStroke>& strokes) {
    std::vector<std::uint8_t> marks(size_t(p.RegionCount()), 0);
    for (const SmartStroke& stroke : strokes)
        MarkRegions(marks, StrokeRegions(p, stroke), stroke.Include);
    return marks;
}

std::vector<SmartMeasures> RegionMeasures(const SmartPreparation& p,
                                          const std::vector<std::uint8_t>& marks) {
    return RegionMeasures(p, marks, FindNearestMarked(p, marks));
}

std::vector<SmartMeasures> RegionMeasures(const SmartPreparation& p,
                                          const std::vector<std::uint8_t>& marks,
                                          const NearestMarked& nearest) {
    const int count = p.RegionCount();
    std::vector<int> included, excluded;
    for (int r = 0; r < count; ++r) {
        if (marks[size_t(r)] == 1)
            included.push_back(r);
        else if (marks[size_t(r)] == 2)
            excluded.push_back(r);
    }
    // The nearest marked regions by colour and by surroundings.
    std::vector<float> colour(static_cast<size_t>(count)), near(static_cast<size_t>(count));
    std::vector<float> unlike(static_cast<size_t>(count), 60.0f), grain(size_t(count), 0);
    std::vector<float> lightness(static_cast<size_t>(count), 0), chroma(size_t(count), 0);
    for (int r = 0; r < count; ++r) {
        const size_t i = size_t(r);
        const Region& region = p.Regions[i];
        colour[i] = std::sqrt(nearest.Colour[i]);
        near[i] = std::sqrt(nearest.Near[i]);
        if (!excluded.empty())
            unlike[i] = std::min(60.0f, std::sqrt(nearest.Excluded[i]));
        if (nearest.ColourOf[i] >= 0) {
            const Region& m = p.Regions[size_t(nearest.ColourOf[i])];
            grain[i] = std::abs(region.Grain - m.Grain);
            lightness[i] = std::abs(region.Lab[0] - m.Lab[0]);
            chroma[i] = std::hypot(region.Lab[1] - m.Lab[1], region.Lab[2] - m.Lab[2]);
        }
    }
    const std::vector<float> steepest = PathCosts(p, included, false, false);
    const std::vector<float> steepestNear = PathCosts(p, included, true, false);
    const std::vector<float> summed = PathCosts(p, included, false, true);
    // Regions clearly unlike the marked ones stand for everything else.
    std::vector<int> others(excluded);
    for (int r = 0; r < count; ++r) {
        if (colour[size_t(r)] > ClearlyUnlike && near[size_t(r)] > ClearlyUnlike)
            others.push_back(r);
    }
    const std::vector<float> fromOthers = PathCosts(p, others, false, false);
    const std::vector<float> fromExcluded = excluded.empty()
                                                ? std::vector<float>(size_t(count), 100.0f)
                                                : PathCosts(p, excluded, false, false);

    // The mean contrast of each region's borders.
    std::vector<float> contrast(static_cast<size_t>(count), 0), length(size_t(count), 0);
    for (const SmartPreparation::Border& border : p.Borders) {
        for (int r : {border.A, border.B}) {
            contrast[size_t(r)] += border.Contrast * border.Length;
            length[size_t(r)] += border.Length;
        }
    }
    // The share of the picture (in %) of the connected regions like a marked one
    // that a region lies in.
    std::vector<float> extent(static_cast<size_t>(count), 0);
    {
        std::vector<int> group(static_cast<size_t>(count), -1), stack;
        std::vector<float> area;
        for (int r = 0; r < count; ++r) {
            if (group[size_t(r)] >= 0 || colour[size_t(r)] >= ClearlyLike)
                continue;
            const int g = int(area.size());
            area.push_back(0);
            group[size_t(r)] = g;
            stack = {r};
            while (!stack.empty()) {
                const int a = stack.back();
                stack.pop_back();
                area[size_t(g)] += p.Regions[size_t(a)].Cells;
                for (int i = p.BorderStart[size_t(a)]; i < p.BorderStart[size_t(a) + 1]; ++i) {
                    const SmartPreparation::Border& border =
                        p.Borders[size_t(p.BorderIndex[size_t(i)])];
                    const int b = border.A == a ? border.B : border.A;
                    if (group[size_t(b)] < 0 && colour[size_t(b)] < ClearlyLike) {
                        group[size_t(b)] = g;
                        stack.push_back(b);
                    }
                }
            }
        }
        const float cells = float(p.CellColumns) * float(p.CellRows);
        for (int r = 0; r < count; ++r) {
            if (group[size_t(r)] >= 0)
                extent[size_t(r)] = area[size_t(group[size_t(r)])] / cells * 100.0f;
        }
    }

    std::vector<SmartMeasures> measures(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r) {
        const Region& region = p.Regions[size_t(r)];
        const float ownContrast = std::sqrt(Squared(region.Lab, region.Near));
        const size_t i = size_t(r);
        measures[i] = {1.0f,
                       Log(colour[i]),
                       Log(near[i]),
                       Log(steepest[i]),
                       Log(steepestNear[i]),
                       Log(summed[i] / 10.0f),
                       Log(grain[i]),
                       Log(ownContrast),
                       Log(fromOthers[i]),
                       Log(unlike[i]),
                       Log(std::min(fromExcluded[i], 100.0f)),
                       Log(lightness[i]),
                       Log(chroma[i]),
                       Log(colour[i]) * Log(steepest[i]),
                       Log(length[i] > 0 ? contrast[i] / length[i] : 0.0f),
                       Log(extent[i])};
    }
    return measures;
}

std::vector<std::uint8_t> ChooseRegions(const SmartPreparation& p,
                                        const std::vector<SmartStroke>& strokes,
                                        const SmartWeights& weights) {
    return ChooseMarkedRegions(p, MarkStrokes(p, strokes), weights);
}

std::vector<std::uint8_t> ChooseMarkedRegions(const SmartPreparation& p,
                                              const std::vector<std::uint8_t>& marks,
                                              const SmartWeights& weights) {
    if (std::find(marks.begin(), marks.end(), 1) == marks.end())
        return std::vector<std::uint8_t>(size_t(p.RegionCount()), 0);
    return ChooseMarkedRegions(p, marks, FindNearestMarked(p, marks), weights);
}

std::vector<std::uint8_t> ChooseMarkedRegions(const SmartPreparation& p,
                                              const std::vector<std::uint8_t>& marks,
                                              const NearestMarked& nearest,
                                              const SmartWeights& weights) {
    const int count = p.RegionCount();
    std::vector<std::uint8_t> chosen(static_cast<size_t>(count), 0);
    if (std::find(marks.begin(), marks.end(), 1) == marks.end())
        return chosen;
    const std::vector<SmartMeasures> measures = RegionMeasures(p, marks, nearest);

    cv::detail::GCGraph<float> graph(unsigned(count), unsigned(p.Borders.size()) * 2);
    constexpr float Sure = 1e9f;
    for (int r = 0; r < count; ++r) {
        graph.addVtx();
        float z = 0;
        for (int m = 0; m < SmartMeasureCount; ++m)
            z += weights[size_t(m)] * measures[size_t(r)][size_t(m)];
        const float likelihood = std::clamp(1.0f / (1.0f + std::exp(-z)), 1e-4f, 1.0f - 1e-4f);
        const float cells = p.Regions[size_t(r)].Cells;
        // The source side is the chosen one: its edge is cut when a region is left out.
        float leaveOut = -std::log(1.0f - likelihood) * cells;
        float choose = -std::log(likelihood) * cells;
        if (marks[size_t(r)] == 1) {
            leaveOut = Sure;
            choose = 0;
        } else if (marks[size_t(r)] == 2) {
            leaveOut = 0;
            choose = Sure;
        }
        graph.addTermWeights(r, leaveOut, choose);
    }
    for (const SmartPreparation::Border& border : p.Borders) {
        const float c = border.Contrast / BorderContrast;
        const float weight = BorderWeight * border.Length * std::exp(-c * c);
        graph.addEdges(border.A, border.B, weight, weight);
    }
    // OpenCV's graph refuses a cut without edges: one region decides alone.
    if (p.Borders.empty()) {
        for (int r = 0; r < count; ++r)
            chosen[size_t(r)] = marks[size_t(r)] == 1 ? 1 : 0;
    } else {
        graph.maxFlow();
        for (int r = 0; r < count; ++r)
            chosen[size_t(r)] = graph.inSourceSegment(r) ? 1 : 0;
    }
    // What an excluding stroke marks goes with everything nearer to it than to an
    // including one, both along the gentlest path and in colour: the rest of a roof
    // excluded in one place.
    std::vector<int> included, excluded;
    for (int r = 0; r < count; ++r) {
        if (marks[size_t(r)] == 1)
            included.push_back(r);
        else if (marks[size_t(r)] == 2)
            excluded.push_back(r);
    }
    if (!excluded.empty()) {
        const std::vector<float> fromIncluded = PathCosts(p, included, false, false);
        const std::vector<float> fromExcluded = PathCosts(p, excluded, false, false);
        for (int r = 0; r < count; ++r) {
            const size_t i = size_t(r);
            if (marks[i] == 0 && chosen[i] && fromExcluded[i] < fromIncluded[i] &&
                nearest.Excluded[i] < nearest.Colour[i])
                chosen[size_t(r)] = 0;
        }
    }
    return chosen;
}
