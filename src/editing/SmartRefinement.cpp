#include "editing/SmartRefinement.h"

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
struct EdgeCell {
    float colours[8][3] = {}; // the chosen side's first, then the other side's
    int chosenCount = 0;
    int otherCount = 0;
    bool inside = false;
};

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
            int n = 0;
            for (int side = 0; side < 2; ++side) {
                for (int q = 0; q < 4; ++q) {
                    if (counts[side][q] == 0)
                        continue;
                    for (int c = 0; c < 3; ++c)
                        cell.colours[n][c] = sums[side][q][c] / float(counts[side][q]);
                    ++n;
                    ++(side == 0 ? cell.chosenCount : cell.otherCount);
                }
            }
            row.push_back({x, x, int(edges.size())});
            edges.push_back(cell);
        }
    }

    const int width = p.PhotoWidth;
    const auto lastPixel = [&](int cellX) { return cellX == columns - 1 ? width - 1 : cellX * k + k - 1; };
    for (int y = 0; y < p.PhotoHeight; ++y) {
        const uchar* pixels = photo.constScanLine(y);
        for (const Piece& piece : pieces[size_t(p.CellY(y))]) {
            const int from = piece.first * k, to = lastPixel(piece.last);
            if (piece.edge < 0) {
                proposal.AddRun(y, from, to);
                continue;
            }
            const EdgeCell& cell = edges[size_t(piece.edge)];
            if (cell.chosenCount == 0 || cell.otherCount == 0) {
                if (cell.inside)
                    proposal.AddRun(y, from, to);
                continue;
            }
            const int colours = cell.chosenCount + cell.otherCount;
            for (int x = from; x <= to; ++x) {
                const uchar* px = pixels + 3 * x;
                float toChosen = 1e30f, toOther = 1e30f;
                for (int i = 0; i < colours; ++i) {
                    const float* c = cell.colours[i];
                    const float d0 = px[0] - c[0], d1 = px[1] - c[1], d2 = px[2] - c[2];
                    const float d = d0 * d0 + d1 * d1 + d2 * d2;
                    if (i < cell.chosenCount)
                        toChosen = std::min(toChosen, d);
                    else
                        toOther = std::min(toOther, d);
                }
                if (toChosen < toOther)
                    proposal.AddRun(y, x, x);
            }
        }
    }
    return proposal;
}
