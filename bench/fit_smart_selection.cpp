// Fits the weights of smart selection's region measures (editing/SmartRegionChoice)
// on generated facades: a logistic regression of "the region is wall" on the
// measures of every region no stroke marks, weighted by the regions' cells. The
// first round learns from first strokes alone (with the weights in use); each later
// round also from the states after the scripted corrections its predecessor's
// weights lead to. Prints the weights to paste into DefaultSmartWeights.
//
//   fit_smart_selection [FACADES [WIDTH [ROUNDS]]]   (30 facades of 2000 × 1333, 3 rounds)
#include "FacadePictures.h"
#include "FacadeSelection.h"

#include "editing/SmartRefinement.h"
#include "editing/SmartRegionChoice.h"

#include <QCoreApplication>
#include <cmath>
#include <cstdio>

#include <opencv2/core.hpp>

namespace {

struct Sample {
    SmartMeasures measures;
    float wall;   // share of the region's cells on the wall
    float weight; // its cells
};

// Newton's method on the weighted logistic loss with a little ridge.
SmartWeights Fit(const std::vector<Sample>& samples) {
    constexpr int N = SmartMeasureCount;
    cv::Mat beta = cv::Mat::zeros(N, 1, CV_64F);
    for (int iteration = 0; iteration < 40; ++iteration) {
        cv::Mat hessian = cv::Mat::eye(N, N, CV_64F) * 1e-3,
                gradient = cv::Mat::zeros(N, 1, CV_64F);
        const double* b = beta.ptr<double>();
        for (const Sample& s : samples) {
            double z = 0;
            for (int f = 0; f < N; ++f)
                z += b[f] * s.measures[size_t(f)];
            const double p = 1 / (1 + std::exp(-z));
            const double r = s.weight * (p - s.wall), h = s.weight * p * (1 - p);
            for (int i = 0; i < N; ++i) {
                gradient.at<double>(i) += r * s.measures[size_t(i)];
                for (int j = 0; j < N; ++j)
                    hessian.at<double>(i, j) += h * s.measures[size_t(i)] * s.measures[size_t(j)];
            }
        }
        for (int i = 0; i < N; ++i)
            gradient.at<double>(i) += 1e-3 * b[i];
        cv::Mat step;
        cv::solve(hessian, gradient, step, cv::DECOMP_CHOLESKY);
        beta -= step;
        if (cv::norm(step) < 1e-7)
            break;
    }
    SmartWeights weights{};
    for (int f = 0; f < N; ++f)
        weights[size_t(f)] = float(beta.at<double>(f));
    return weights;
}

// The share of each region's cells whose photograph pixel at the cell's centre is wall.
std::vector<float> WallShares(const SmartPreparation& p, const Facades::Facade& facade) {
    std::vector<float> wall(size_t(p.RegionCount()), 0);
    for (int y = 0; y < p.CellRows; ++y) {
        const uchar* surfaces =
            facade.Surfaces.constScanLine(std::min(y * p.Scale + p.Scale / 2, p.PhotoHeight - 1));
        for (int x = 0; x < p.CellColumns; ++x) {
            if (surfaces[std::min(x * p.Scale + p.Scale / 2, p.PhotoWidth - 1)] == Facades::Wall)
                wall[size_t(p.RegionOf.at<int>(y, x))] += 1;
        }
    }
    for (int r = 0; r < p.RegionCount(); ++r)
        wall[size_t(r)] /= std::max(1.0f, p.Regions[size_t(r)].Cells);
    return wall;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int facades = argc > 1 ? std::atoi(argv[1]) : 30;
    const int width = argc > 2 ? std::atoi(argv[2]) : 2000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    SmartWeights weights = DefaultSmartWeights();
    std::vector<Sample> samples;
    for (int round = 0; round < rounds; ++round) {
        double first = 0;
        for (int i = 0; i < facades; ++i) {
            const Facades::Facade facade = Facades::MakeFacade(1000 + i, width, width * 2 / 3);
            const auto p = PrepareSmartSelection(facade.Photo);
            const std::vector<float> wall = WallShares(*p, facade);
            std::vector<SmartStroke> strokes{Facades::FirstStroke(facade)};
            for (int c = 0; c <= 2; ++c) {
                const std::vector<std::uint8_t> marks = MarkStrokes(*p, strokes);
                const std::vector<SmartMeasures> measures = RegionMeasures(*p, marks);
                for (int r = 0; r < p->RegionCount(); ++r) {
                    if (marks[size_t(r)] == 0 && p->Regions[size_t(r)].Cells > 0)
                        samples.push_back({measures[size_t(r)], wall[size_t(r)],
                                           p->Regions[size_t(r)].Cells / 64.0f});
                }
                const SmartProposal proposal =
                    RefineAtFullSize(*p, facade.Photo, ChooseRegions(*p, strokes, weights));
                if (c == 0)
                    first += Facades::WallIoU(facade, proposal);
                if (round == 0 || c == 2)
                    break;
                const auto correction = Facades::CorrectionStroke(facade, proposal);
                if (!correction)
                    break;
                strokes.push_back(*correction);
            }
        }
        weights = Fit(samples);
        std::printf("round %d: %zu regions, mean first IoU with the weights before %.4f\n", round,
                    samples.size(), first / facades);
        std::printf("    static const SmartWeights weights{");
        for (int f = 0; f < SmartMeasureCount; ++f)
            std::printf("%s%.3ff", f ? ", " : "", weights[size_t(f)]);
        std::printf("};\n");
        std::fflush(stdout);
    }
    return 0;
}
