#include "FacadeSelection.h"

#include "editing/FloodFill.h"
#include "editing/SmartSelection.h"
#include "project/Mask.h"

#include <algorithm>

#include <opencv2/imgproc.hpp>

namespace Facades {

namespace {

cv::Mat View(const QImage& image) {
    return cv::Mat(image.height(), image.width(), CV_8U, const_cast<uchar*>(image.constBits()),
                   size_t(image.bytesPerLine()));
}

cv::Mat WallMap(const Facade& facade) {
    return View(facade.Surfaces) == Wall;
}

cv::Mat ProposalMap(const SmartProposal& proposal) {
    cv::Mat map(proposal.Height(), proposal.Width(), CV_8U, cv::Scalar(0));
    for (int y = 0; y < proposal.Height(); ++y) {
        uchar* row = map.ptr<uchar>(y);
        for (const SmartProposal::Run& run : proposal.Row(y))
            std::fill(row + run.First, row + run.Last + 1, uchar(255));
    }
    return map;
}

double IoU(const cv::Mat& a, const cv::Mat& b) {
    const double both = cv::countNonZero(a & b), either = cv::countNonZero(a | b);
    return either > 0 ? both / either : 1.0;
}

} // namespace

double WallIoU(const Facade& facade, const SmartProposal& proposal) {
    if (proposal.Width() != facade.Surfaces.width() ||
        proposal.Height() != facade.Surfaces.height())
        return 0;
    return IoU(WallMap(facade), ProposalMap(proposal));
}

int BrushHalfWidth(const Facade& facade) {
    return std::max(2, facade.Photo.width() / 400);
}

SmartStroke FirstStroke(const Facade& facade) {
    const cv::Mat wall = WallMap(facade);
    const cv::Mat shadow = View(facade.Shadow);
    const cv::Rect box = cv::boundingRect(wall);
    const int w = BrushHalfWidth(facade);
    SmartStroke stroke;
    stroke.HalfWidth = w;
    double best = -1;
    for (int y = box.y + box.height / 5; y < box.y + box.height * 4 / 5; ++y) {
        const uchar* at = wall.ptr<uchar>(y);
        const uchar* above = wall.ptr<uchar>(std::max(0, y - w - 1));
        const uchar* below = wall.ptr<uchar>(std::min(wall.rows - 1, y + w + 1));
        const uchar* dark = shadow.ptr<uchar>(y);
        for (int x = 0; x < wall.cols;) {
            if (!(at[x] && above[x] && below[x])) {
                ++x;
                continue;
            }
            int end = x;
            bool lit = false, shaded = false;
            for (; end < wall.cols && at[end] && above[end] && below[end]; ++end)
                (dark[end] ? shaded : lit) = true;
            const double score = (end - x) * (lit && shaded ? 2.0 : 1.0);
            if (score > best) {
                best = score;
                const int margin = (end - x) / 10;
                stroke.Points = {QPoint(x + margin, y), QPoint(end - 1 - margin, y)};
            }
            x = end;
        }
    }
    return stroke;
}

std::optional<SmartStroke> CorrectionStroke(const Facade& facade, const SmartProposal& proposal) {
    const cv::Mat wall = WallMap(facade), proposed = ProposalMap(proposal);
    double largest = 0;
    cv::Mat area;
    bool include = false;
    for (const bool missed : {false, true}) {
        const cv::Mat wrong = missed ? (wall & ~proposed) : (proposed & ~wall);
        cv::Mat labels, stats, centres;
        const int count = cv::connectedComponentsWithStats(wrong, labels, stats, centres, 8);
        for (int i = 1; i < count; ++i) {
            const double size = stats.at<int>(i, cv::CC_STAT_AREA);
            if (size > largest) {
                largest = size;
                area = labels == i;
                include = missed;
            }
        }
    }
    if (largest < 0.001 * double(wall.total()))
        return std::nullopt;
    cv::Mat depth;
    cv::distanceTransform(area, depth, cv::DIST_L2, 3);
    double deepest = 0;
    cv::Point p;
    cv::minMaxLoc(depth, nullptr, &deepest, nullptr, &p);
    SmartStroke stroke;
    stroke.Include = include;
    stroke.HalfWidth = std::max(1, std::min(BrushHalfWidth(facade), int(deepest) - 1));
    const float h = float(stroke.HalfWidth);
    int left = p.x, right = p.x, top = p.y, bottom = p.y;
    while (left > 0 && depth.at<float>(p.y, left - 1) > h)
        --left;
    while (right < depth.cols - 1 && depth.at<float>(p.y, right + 1) > h)
        ++right;
    while (top > 0 && depth.at<float>(top - 1, p.x) > h)
        --top;
    while (bottom < depth.rows - 1 && depth.at<float>(bottom + 1, p.x) > h)
        ++bottom;
    if (right - left >= bottom - top) {
        const int margin = (right - left) / 5;
        stroke.Points = {QPoint(left + margin, p.y), QPoint(right - margin, p.y)};
    } else {
        const int margin = (bottom - top) / 5;
        stroke.Points = {QPoint(p.x, top + margin), QPoint(p.x, bottom - margin)};
    }
    return stroke;
}

Outcome SelectWall(const Facade& facade, const SmartPreparation& p, int corrections) {
    Outcome outcome;
    outcome.Strokes = {FirstStroke(facade)};
    outcome.Final = ProposeRegion(p, facade.Photo, outcome.Strokes);
    outcome.FirstIoU = outcome.FinalIoU = WallIoU(facade, outcome.Final);
    for (int c = 0; c < corrections; ++c) {
        const std::optional<SmartStroke> stroke = CorrectionStroke(facade, outcome.Final);
        if (!stroke)
            break;
        outcome.Strokes.push_back(*stroke);
        outcome.Final = ProposeRegion(p, facade.Photo, outcome.Strokes);
        outcome.FinalIoU = WallIoU(facade, outcome.Final);
    }
    return outcome;
}

double BestFillIoU(const Facade& facade, QPoint seed) {
    const cv::Mat wall = WallMap(facade);
    const uchar* s = facade.Photo.constScanLine(seed.y()) + 3 * seed.x();
    const Colour seedColour = Rgb(s[2], s[1], s[0]);
    double best = 0;
    for (int tolerance = 5; tolerance <= 60; tolerance += 5) {
        TMask mask = TMask::CreateBlank(facade.Photo.width(), facade.Photo.height());
        // A barrier colour no facade holds.
        FloodFill(mask, facade.Photo, seed.x(), seed.y(), seedColour, tolerance, Rgb(255, 0, 255),
                  1);
        cv::Mat filled(mask.Height, mask.Width, CV_8U);
        for (int y = 0; y < mask.Height; ++y)
            mask.ExpandRow(y, filled.ptr<uchar>(y));
        best = std::max(best, IoU(wall, filled != 0));
    }
    return best;
}

} // namespace Facades
