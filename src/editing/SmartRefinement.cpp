#include "editing/SmartRefinement.h"

#include "render/ParallelRows.h"

#include <opencv2/imgproc.hpp>

namespace {

// Cells this far around an edge cell give the two sides' colours.
constexpr int ModelReach = 4;

// A stretch of cells of one row: wholly chosen cells first..last (edge < 0), or one
// edge cell whose pixels are decided one by one.
struct Piece {
    int first = 0, last = 0;
    int edge = -1;
};

// The colours around an edge cell, each side's apart in the four quarters of the
// surroundings, so that two other surfaces meeting at a corner stay two colours.
// Kept channel by channel, four to a side (a quarter without that side repeats
// another's colour), so that a pixel meets all of them in a few vector steps.
struct EdgeCell {
    float colour[2][3][4] = {}; // [side: chosen, other][channel][quarter]
    bool bothSides = false;     // else the cell's own side decides
    bool inside = false;
};

// Whether a pixel lies nearer the chosen side's colours than the other side's.
inline bool NearerChosen(const EdgeCell& cell, const uchar* px) {
    float nearest[2];
    for (int side = 0; side < 2; ++side) {
        float d[4];
        for (int q = 0; q < 4; ++q) {
            const float d0 = float(px[0]) - cell.colour[side][0][q];
            const float d1 = float(px[1]) - cell.colour[side][1][q];
            const float d2 = float(px[2]) - cell.colour[side][2][q];
            d[q] = d0 * d0 + d1 * d1 + d2 * d2;
        }
        nearest[side] = std::min(std::min(d[0], d[1]), std::min(d[2], d[3]));
    }
    return nearest[0] < nearest[1];
}

} // namespace

SmartProposal RefineAtFullSize(const SmartPreparation& p, const QImage& photo,
                               const std::vector<std::uint8_t>& chosenRegions) {
    SmartProposal proposal(p.PhotoWidth, p.PhotoHeight);
    if (photo.width() != p.PhotoWidth || photo.height() != p.PhotoHeight ||
        photo.format() != QImage::Format_BGR888 ||
        std::find(chosenRegions.begin(), chosenRegions.end(), 1) == chosenRegions.end())
        return proposal;

    const int columns = p.CellColumns, rows = p.CellRows, k = p.Scale;
    cv::Mat inside(rows, columns, CV_8U);
    for (int y = 0; y < rows; ++y) {
        const int* region = p.RegionOf.ptr<int>(y);
        uchar* out = inside.ptr<uchar>(y);
        for (int x = 0; x < columns; ++x)
            out[x] = chosenRegions[size_t(region[x])];
    }
    cv::Mat grown, shrunk;
    cv::dilate(inside, grown, cv::Mat(), cv::Point(-1, -1), 1, cv::BORDER_REPLICATE);
    cv::erode(inside, shrunk, cv::Mat(), cv::Point(-1, -1), 1, cv::BORDER_REPLICATE);
    const cv::Mat onEdge = grown != shrunk;

    // Each row's pieces and the edge cells' two colours.
    std::vector<std::vector<Piece>> pieces(static_cast<size_t>(rows));
    std::vector<EdgeCell> edges;
    for (int y = 0; y < rows; ++y) {
        const uchar* in = inside.ptr<uchar>(y);
        const uchar* edge = onEdge.ptr<uchar>(y);
        std::vector<Piece>& row = pieces[size_t(y)];
        for (int x = 0; x < columns; ++x) {
            if (!edge[x]) {
                if (!in[x])
                    continue;
                if (!row.empty() && row.back().edge < 0 && row.back().last == x - 1)
                    row.back().last = x;
                else
                    row.push_back({x, x, -1});
                continue;
            }
            EdgeCell cell;
            cell.inside = in[x] != 0;
            float sums[2][4][3] = {};
            int counts[2][4] = {};
            for (int yy = std::max(0, y - ModelReach); yy <= std::min(rows - 1, y + ModelReach);
                 ++yy) {
                const uchar* sIn = inside.ptr<uchar>(yy);
                const uchar* sEdge = onEdge.ptr<uchar>(yy);
                const cv::Vec3b* colour = p.Cells.ptr<cv::Vec3b>(yy);
                for (int xx = std::max(0, x - ModelReach);
                     xx <= std::min(columns - 1, x + ModelReach); ++xx) {
                    if (sEdge[xx])
                        continue;
                    const int side = sIn[xx] ? 0 : 1;
                    const int quarter = (yy > y ? 2 : 0) + (xx > x ? 1 : 0);
                    for (int c = 0; c < 3; ++c)
                        sums[side][quarter][c] += colour[xx][c];
                    ++counts[side][quarter];
                }
            }
            for (int side = 0; side < 2; ++side) {
                int first = -1;
                for (int q = 0; q < 4 && first < 0; ++q)
                    first = counts[side][q] > 0 ? q : -1;
                if (first < 0)
                    continue;
                for (int q = 0; q < 4; ++q) {
                    const int from = counts[side][q] > 0 ? q : first;
                    for (int c = 0; c < 3; ++c)
                        cell.colour[side][c][q] = sums[side][from][c] / float(counts[side][from]);
                }
            }
            cell.bothSides = (counts[0][0] + counts[0][1] + counts[0][2] + counts[0][3]) > 0 &&
                             (counts[1][0] + counts[1][1] + counts[1][2] + counts[1][3]) > 0;
            row.push_back({x, x, int(edges.size())});
            edges.push_back(cell);
        }
    }

    const int width = p.PhotoWidth;
    const auto lastPixel = [&](int cellX) {
        return cellX == columns - 1 ? width - 1 : cellX * k + k - 1;
    };
    // Edge pixels are scattered over the photograph: their rows a few ahead are
    // fetched into the cache while this one is decided.
    constexpr int Ahead = 4;
    const auto refineRows = [&](int firstRow, int lastRow, SmartProposal& part) {
        for (int y = firstRow; y <= lastRow; ++y) {
            const uchar* pixels = photo.constScanLine(y);
            const uchar* ahead =
                y + Ahead < p.PhotoHeight ? photo.constScanLine(y + Ahead) : nullptr;
            const std::vector<Piece>& aheadPieces =
                pieces[size_t(p.CellY(std::min(y + Ahead, p.PhotoHeight - 1)))];
            if (ahead) {
                for (const Piece& piece : aheadPieces) {
                    if (piece.edge >= 0)
                        __builtin_prefetch(ahead + 3 * piece.first * k);
                }
            }
            // The run being gathered, first..last, added once it ends.
            int first = -1, last = -2;
            const auto take = [&](int a, int b) {
                if (first >= 0 && a == last + 1) {
                    last = b;
                    return;
                }
                if (first >= 0)
                    part.AddRun(y, first, last);
                first = a;
                last = b;
            };
            for (const Piece& piece : pieces[size_t(p.CellY(y))]) {
                const int from = piece.first * k, to = lastPixel(piece.last);
                const EdgeCell* cell = piece.edge < 0 ? nullptr : &edges[size_t(piece.edge)];
                if (!cell || !cell->bothSides) {
                    if (!cell || cell->inside)
                        take(from, to);
                    continue;
                }
                for (int x = from; x <= to; ++x) {
                    if (NearerChosen(*cell, pixels + 3 * x))
                        take(x, x);
                }
            }
            if (first >= 0)
                part.AddRun(y, first, last);
        }
    };
    // The rows are shared between the processors, each part into a proposal of its
    // own; the parts' runs then follow one another.
    const int parts = std::min(PixelThreads(), std::max(1, p.PhotoHeight / 64));
    std::vector<SmartProposal> partial(size_t(parts), SmartProposal(p.PhotoWidth, p.PhotoHeight));
    ForRowsInParallel(0, p.PhotoHeight - 1, parts, [&](int firstRow, int lastRow) {
        // The part whose first row this is, as ForRowsInParallel splits them.
        size_t i = 0;
        while (i + 1 < size_t(parts) &&
               int(static_cast<long long>(p.PhotoHeight) * qint64(i + 1) / parts) <= firstRow)
            ++i;
        refineRows(firstRow, lastRow, partial[i]);
    });
    for (const SmartProposal& part : partial) {
        for (int y = 0; y < p.PhotoHeight; ++y) {
            for (const SmartProposal::Run& run : part.Row(y))
                proposal.AddRun(y, run.First, run.Last);
        }
    }
    return proposal;
}
