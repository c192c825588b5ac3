#include "editing/SmartPreparation.h"

#include "project/FreeMemory.h"
#include "render/ParallelRows.h"

#include <atomic>
#include <cmath>
#include <queue>

#include <opencv2/imgproc.hpp>

namespace {

// About half a megapixel of cells: coarse enough that brick joints, board gaps and
// plaster grain melt into their surface's mean colour, fine enough that a window's
// frame or a drainpipe keeps a few cells across.
constexpr double CellsWanted = 0.5e6;
// One watershed marker per 8 × 8 cells: regions of about 64 cells.
constexpr int MarkerSpacing = 8;
// Rows of cells reduced between two looks at the cancel flag.
constexpr int BandRows = 48;

bool Cancelled(const std::function<bool()>& cancelled) {
    return cancelled && cancelled();
}

// The reduced copy: each cell the rounded mean of its Scale × Scale pixels. The
// rows of cells are shared between the processors; each sums its photograph rows
// column by column first (in 16 bits: Scale × 255 fits), then the columns of each
// cell.
bool ReduceInto(const QImage& photo, SmartPreparation& p, const std::function<bool()>& cancelled) {
    p.Cells.create(p.CellRows, p.CellColumns, CV_8UC3);
    const int k = p.Scale, columns = p.CellColumns, values = 3 * columns * k;
    const std::uint32_t area = std::uint32_t(k) * std::uint32_t(k);
    std::atomic<bool> stopped{false};
    ForRowsInParallel(0, p.CellRows - 1, PixelThreads(), [&](int first, int last) {
        std::vector<std::uint16_t> sums(static_cast<size_t>(values));
        for (int cy = first; cy <= last; ++cy) {
            if ((cy - first) % BandRows == 0 && Cancelled(cancelled))
                stopped = true;
            if (stopped)
                return;
            std::fill(sums.begin(), sums.end(), std::uint16_t(0));
            for (int i = 0; i < k; ++i) {
                const uchar* row = photo.constScanLine(cy * k + i);
                for (int v = 0; v < values; ++v)
                    sums[size_t(v)] = std::uint16_t(sums[size_t(v)] + row[v]);
            }
            uchar* out = p.Cells.ptr<uchar>(cy);
            for (int cx = 0; cx < columns; ++cx) {
                std::uint32_t total[3] = {};
                const std::uint16_t* cell = sums.data() + 3 * cx * k;
                for (int i = 0; i < k; ++i) {
                    total[0] += cell[3 * i];
                    total[1] += cell[3 * i + 1];
                    total[2] += cell[3 * i + 2];
                }
                for (int c = 0; c < 3; ++c)
                    out[3 * cx + c] = uchar((total[c] + area / 2) / area);
            }
        }
    });
    return !stopped && !Cancelled(cancelled);
}

// Markers at the calmest cell of every MarkerSpacing square, then a watershed on the
// reduced copy. Cells the watershed leaves on a boundary join a neighbouring region.
// CIELAB of the cells, 8 bits a channel as OpenCV keeps it (L × 255 / 100, a + 128,
// b + 128; sRGB, D65). Done here with small tables: OpenCV's own conversion keeps
// megabytes of tables for the rest of the program's life.
cv::Mat ToLab(const cv::Mat& bgr) {
    static const auto tables = [] {
        struct Tables {
            float linear[256]; // sRGB value to linear light
            float root[1025];  // f(t) of CIELAB at t = i / 1024
        } t;
        for (int i = 0; i < 256; ++i) {
            const double v = i / 255.0;
            t.linear[i] = float(v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        }
        for (int i = 0; i <= 1024; ++i) {
            const double v = i / 1024.0;
            t.root[i] = float(v > 0.008856 ? std::cbrt(v) : 7.787 * v + 16.0 / 116.0);
        }
        return t;
    }();
    const auto f = [&](float v) {
        const float at = std::clamp(v, 0.0f, 1.0f) * 1024.0f;
        const int i = std::min(int(at), 1023);
        return tables.root[i] + (tables.root[i + 1] - tables.root[i]) * (at - float(i));
    };
    cv::Mat lab(bgr.size(), CV_8UC3);
    for (int y = 0; y < bgr.rows; ++y) {
        const uchar* in = bgr.ptr<uchar>(y);
        uchar* out = lab.ptr<uchar>(y);
        for (int x = 0; x < bgr.cols; ++x) {
            const float b = tables.linear[in[3 * x]], g = tables.linear[in[3 * x + 1]],
                        r = tables.linear[in[3 * x + 2]];
            const float fx = f((0.412453f * r + 0.357580f * g + 0.180423f * b) / 0.950456f);
            const float fy = f(0.212671f * r + 0.715160f * g + 0.072169f * b);
            const float fz = f((0.019334f * r + 0.119193f * g + 0.950227f * b) / 1.088754f);
            const float l = 116.0f * fy - 16.0f;
            out[3 * x] = uchar(std::clamp(std::lround(l * 255.0f / 100.0f), 0L, 255L));
            out[3 * x + 1] = uchar(std::clamp(std::lround(500.0f * (fx - fy) + 128.0f), 0L, 255L));
            out[3 * x + 2] = uchar(std::clamp(std::lround(200.0f * (fy - fz) + 128.0f), 0L, 255L));
        }
    }
    return lab;
}

// How calm each cell's neighbourhood is: the largest spread of a channel in 3 × 3
// (cells outside taken as the nearest inside).
cv::Mat Calm(const cv::Mat& lab) {
    const int w = lab.cols, h = lab.rows;
    cv::Mat calm(h, w, CV_8U);
    for (int y = 0; y < h; ++y) {
        const uchar* rows[3] = {lab.ptr<uchar>(std::max(y - 1, 0)), lab.ptr<uchar>(y),
                                lab.ptr<uchar>(std::min(y + 1, h - 1))};
        uchar* out = calm.ptr<uchar>(y);
        for (int x = 0; x < w; ++x) {
            int spread = 0;
            for (int c = 0; c < 3; ++c) {
                int low = 255, high = 0;
                for (const uchar* row : rows) {
                    for (int xx = std::max(x - 1, 0); xx <= std::min(x + 1, w - 1); ++xx) {
                        low = std::min(low, int(row[3 * xx + c]));
                        high = std::max(high, int(row[3 * xx + c]));
                    }
                }
                spread = std::max(spread, high - low);
            }
            out[x] = uchar(spread);
        }
    }
    return calm;
}

int CutIntoRegions(SmartPreparation& p, const cv::Mat& lab) {
    cv::Mat& markers = p.RegionOf;
    markers.create(p.CellRows, p.CellColumns, CV_32S);
    markers.setTo(0);
    int count = 0;
    // Gone before the watershed, which needs memory of its own.
    cv::Mat calm = Calm(lab);
    for (int y0 = 0; y0 < p.CellRows; y0 += MarkerSpacing) {
        for (int x0 = 0; x0 < p.CellColumns; x0 += MarkerSpacing) {
            const int y1 = std::min(y0 + MarkerSpacing, p.CellRows);
            const int x1 = std::min(x0 + MarkerSpacing, p.CellColumns);
            int bestX = x0, bestY = y0, best = 256;
            for (int y = y0; y < y1; ++y) {
                const uchar* row = calm.ptr<uchar>(y);
                for (int x = x0; x < x1; ++x) {
                    if (row[x] < best) {
                        best = row[x];
                        bestX = x;
                        bestY = y;
                    }
                }
            }
            markers.at<int>(bestY, bestX) = ++count;
        }
    }
    calm.release();
    cv::watershed(p.Cells, markers);

    // Cells the watershed leaves on a boundary (-1) or unreached (0, in flat
    // areas) join a neighbouring region of the most alike colour.
    const int w = p.CellColumns, h = p.CellRows;
    using Item = std::pair<int, int>; // colour difference, cell
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    const auto difference = [&lab](int a, int b) {
        const cv::Vec3b& u = lab.at<cv::Vec3b>(a);
        const cv::Vec3b& v = lab.at<cv::Vec3b>(b);
        return std::abs(u[0] - v[0]) + std::abs(u[1] - v[1]) + std::abs(u[2] - v[2]);
    };
    int* label = markers.ptr<int>();
    // Most are one cell wide: each takes its most alike labelled neighbour at once,
    // from the labels as the watershed left them (so that nothing spreads along a row).
    {
        // Labels taken in this pass are kept as -2 - label until it ends.
        const int* was = label;
        for (int cell = 0; cell < w * h; ++cell) {
            if (was[cell] > 0)
                continue;
            const int x = cell % w, y = cell / w;
            const int neighbours[4] = {x > 0 ? cell - 1 : -1, x + 1 < w ? cell + 1 : -1,
                                       y > 0 ? cell - w : -1, y + 1 < h ? cell + w : -1};
            int best = -1, bestDifference = 1 << 30;
            for (int n : neighbours) {
                if (n >= 0 && was[n] > 0 && difference(cell, n) < bestDifference) {
                    bestDifference = difference(cell, n);
                    best = n;
                }
            }
            if (best >= 0)
                label[cell] = -2 - was[best];
        }
        for (int cell = 0; cell < w * h; ++cell) {
            if (label[cell] < -1)
                label[cell] = -2 - label[cell];
        }
    }
    // The rest (flat areas) grow from their neighbours, the most alike first.
    const auto offerNeighbours = [&](int cell) {
        const int x = cell % w, y = cell / w;
        const int neighbours[4] = {x > 0 ? cell - 1 : -1, x + 1 < w ? cell + 1 : -1,
                                   y > 0 ? cell - w : -1, y + 1 < h ? cell + w : -1};
        for (int n : neighbours) {
            if (n >= 0 && label[n] <= 0)
                queue.push({difference(cell, n), n});
        }
    };
    for (int cell = 0; cell < w * h; ++cell) {
        if (label[cell] > 0) {
            const int x = cell % w, y = cell / w;
            if ((x > 0 && label[cell - 1] <= 0) || (x + 1 < w && label[cell + 1] <= 0) ||
                (y > 0 && label[cell - w] <= 0) || (y + 1 < h && label[cell + w] <= 0))
                offerNeighbours(cell);
        }
    }
    while (!queue.empty()) {
        const int cell = queue.top().second;
        queue.pop();
        if (label[cell] > 0)
            continue;
        // The most alike labelled neighbour.
        const int x = cell % w, y = cell / w;
        const int neighbours[4] = {x > 0 ? cell - 1 : -1, x + 1 < w ? cell + 1 : -1,
                                   y > 0 ? cell - w : -1, y + 1 < h ? cell + w : -1};
        int best = -1, bestDifference = 1 << 30;
        for (int n : neighbours) {
            if (n >= 0 && label[n] > 0 && difference(cell, n) < bestDifference) {
                bestDifference = difference(cell, n);
                best = n;
            }
        }
        if (best < 0)
            continue;
        label[cell] = label[best];
        offerNeighbours(cell);
    }
    // Regions numbered from 0 in the order they first appear; a cell still without
    // one (only in pictures a cell wide and all boundary) joins the first.
    std::vector<int> number(size_t(count) + 1, -1);
    int regions = 0;
    for (int y = 0; y < h; ++y) {
        int* row = markers.ptr<int>(y);
        for (int x = 0; x < w; ++x) {
            const int m = std::max(row[x], 0);
            if (m == 0) {
                row[x] = 0;
                regions = std::max(regions, 1);
                continue;
            }
            if (number[size_t(m)] < 0)
                number[size_t(m)] = regions++;
            row[x] = number[size_t(m)];
        }
    }
    return regions;
}

float LabL(uchar v) {
    return float(v) * (100.0f / 255.0f);
}

// Colour, surroundings and grain of every region.
// The deviation of L in each cell's 3 × 3 neighbourhood (mirrored at the edges),
// a row at a time: no picture-sized buffers of floats.
void GrainOfRow(const cv::Mat& lab, int y, std::vector<float>& out) {
    const int w = lab.cols, h = lab.rows;
    const auto mirror = [](int i, int n) {
        return n == 1 ? 0 : i < 0 ? -i : i >= n ? 2 * n - 2 - i : i;
    };
    const uchar* rows[3];
    for (int d = -1; d <= 1; ++d)
        rows[d + 1] = lab.ptr<uchar>(mirror(y + d, h));
    for (int x = 0; x < w; ++x) {
        float sum = 0, squares = 0;
        for (int d = -1; d <= 1; ++d) {
            const int xx = mirror(x + d, w);
            for (const uchar* row : rows) {
                const float v = LabL(row[3 * xx]);
                sum += v;
                squares += v * v;
            }
        }
        const float mean = sum / 9.0f;
        out[size_t(x)] = std::sqrt(std::max(squares / 9.0f - mean * mean, 0.0f));
    }
}

// Colour, surroundings and grain of every region.
void MeasureRegions(SmartPreparation& p, const cv::Mat& lab, int regions) {
    cv::Mat near;
    cv::blur(lab, near, cv::Size(7, 7));
    std::vector<float> grain(static_cast<size_t>(p.CellColumns));
    std::vector<double> sums(size_t(regions) * 7, 0.0);
    p.Regions.assign(size_t(regions), {});
    for (int y = 0; y < p.CellRows; ++y) {
        const int* region = p.RegionOf.ptr<int>(y);
        const cv::Vec3b* colour = lab.ptr<cv::Vec3b>(y);
        const cv::Vec3b* around = near.ptr<cv::Vec3b>(y);
        GrainOfRow(lab, y, grain);
        const float* g = grain.data();
        for (int x = 0; x < p.CellColumns; ++x) {
            double* s = &sums[size_t(region[x]) * 7];
            s[0] += LabL(colour[x][0]);
            s[1] += colour[x][1] - 128.0;
            s[2] += colour[x][2] - 128.0;
            s[3] += LabL(around[x][0]);
            s[4] += around[x][1] - 128.0;
            s[5] += around[x][2] - 128.0;
            s[6] += g[x];
            p.Regions[size_t(region[x])].Cells += 1;
        }
    }
    for (int r = 0; r < regions; ++r) {
        SmartPreparation::Region& region = p.Regions[size_t(r)];
        const double n = std::max(1.0f, region.Cells);
        const double* s = &sums[size_t(r) * 7];
        for (int c = 0; c < 3; ++c) {
            region.Lab[c] = float(s[c] / n);
            region.Near[c] = float(s[3 + c] / n);
        }
        region.Grain = float(s[6] / n);
    }
}

float LabDistance(const cv::Vec3b& a, const cv::Vec3b& b) {
    const float dl = LabL(a[0]) - LabL(b[0]);
    const float da = float(a[1]) - float(b[1]);
    const float db = float(a[2]) - float(b[2]);
    return std::sqrt(dl * dl + da * da + db * db);
}

// The borders between neighbouring regions: shared length and mean contrast.
void FindBorders(SmartPreparation& p, const cv::Mat& lab, int regions) {
    // A region has a handful of neighbours: a short list each beats a hash map.
    std::vector<std::vector<std::pair<int, int>>> known(static_cast<size_t>(regions));
    const auto add = [&](int a, int b, float contrast) {
        if (a > b)
            std::swap(a, b);
        for (const auto& [other, index] : known[size_t(a)]) {
            if (other == b) {
                p.Borders[size_t(index)].Length += 1;
                p.Borders[size_t(index)].Contrast += contrast;
                return;
            }
        }
        known[size_t(a)].push_back({b, int(p.Borders.size())});
        p.Borders.push_back({a, b, 1, contrast});
    };
    for (int y = 0; y < p.CellRows; ++y) {
        const int* region = p.RegionOf.ptr<int>(y);
        const int* below = y + 1 < p.CellRows ? p.RegionOf.ptr<int>(y + 1) : nullptr;
        const cv::Vec3b* colour = lab.ptr<cv::Vec3b>(y);
        const cv::Vec3b* colourBelow = below ? lab.ptr<cv::Vec3b>(y + 1) : nullptr;
        for (int x = 0; x < p.CellColumns; ++x) {
            if (x + 1 < p.CellColumns && region[x + 1] != region[x])
                add(region[x], region[x + 1], LabDistance(colour[x], colour[x + 1]));
            if (below && below[x] != region[x])
                add(region[x], below[x], LabDistance(colour[x], colourBelow[x]));
        }
    }
    std::vector<int> degree(size_t(regions) + 1, 0);
    for (SmartPreparation::Border& border : p.Borders) {
        border.Contrast /= border.Length;
        const SmartPreparation::Region& a = p.Regions[size_t(border.A)];
        const SmartPreparation::Region& b = p.Regions[size_t(border.B)];
        border.Step = std::hypot(a.Lab[0] - b.Lab[0], a.Lab[1] - b.Lab[1], a.Lab[2] - b.Lab[2]);
        border.NearStep =
            std::hypot(a.Near[0] - b.Near[0], a.Near[1] - b.Near[1], a.Near[2] - b.Near[2]);
        ++degree[size_t(border.A)];
        ++degree[size_t(border.B)];
    }
    p.BorderStart.assign(size_t(regions) + 1, 0);
    for (int r = 0; r < regions; ++r)
        p.BorderStart[size_t(r) + 1] = p.BorderStart[size_t(r)] + degree[size_t(r)];
    p.BorderIndex.assign(size_t(p.BorderStart.back()), 0);
    std::vector<int> filled(p.BorderStart.begin(), p.BorderStart.end() - 1);
    for (int i = 0; i < int(p.Borders.size()); ++i) {
        p.BorderIndex[size_t(filled[size_t(p.Borders[size_t(i)].A)]++)] = i;
        p.BorderIndex[size_t(filled[size_t(p.Borders[size_t(i)].B)]++)] = i;
    }
}

} // namespace

int SmartScaleFor(int width, int height) {
    if (width <= 0 || height <= 0)
        return 1;
    const int scale = int(std::lround(std::sqrt(double(width) * double(height) / CellsWanted)));
    // At most 250, so that a column of a cell's pixels sums in 16 bits.
    return std::clamp(scale, 1, std::min({width, height, 250}));
}

std::shared_ptr<const SmartPreparation>
PrepareSmartSelection(QImage photo, const std::function<bool()>& cancelled) {
    if (photo.isNull() || photo.width() <= 0 || photo.height() <= 0 ||
        photo.format() != QImage::Format_BGR888)
        return nullptr;
    auto p = std::make_shared<SmartPreparation>();
    p->PhotoWidth = photo.width();
    p->PhotoHeight = photo.height();
    p->Scale = SmartScaleFor(photo.width(), photo.height());
    p->CellColumns = photo.width() / p->Scale;
    p->CellRows = photo.height() / p->Scale;
    const bool reduced = ReduceInto(photo, *p, cancelled);
    photo = QImage();
    if (!reduced)
        return nullptr;

    cv::Mat lab = ToLab(p->Cells);
    if (Cancelled(cancelled))
        return nullptr;
    const int regions = CutIntoRegions(*p, lab);
    if (Cancelled(cancelled))
        return nullptr;
    MeasureRegions(*p, lab, regions);
    FindBorders(*p, lab, regions);
    lab.release();
    // The work's transient buffers leave their memory free (a thread's own heap
    // would otherwise keep it).
    ReturnFreeMemory();
    if (Cancelled(cancelled))
        return nullptr;
    return p;
}
