#include "BenchSupport.h"

#include <QMap>
#include <QRandomGenerator>
#include <cmath>
#include <cstdio>

namespace bench {

QSize PhotoSize() {
    return qgetenv("TINTORA_BENCH_PHOTO") == "50mp" ? QSize(LargeWidth, LargeHeight)
                                                    : QSize(6000, 4000);
}

QString Sized(const char* name) {
    const QString plain = QString::fromLatin1(name);
    return PhotoSize().width() == LargeWidth ? plain + QStringLiteral("_50mp") : plain;
}

QImage SyntheticPhoto(int width, int height) {
    QImage photo(width, height, QImage::Format_BGR888);
    QRandomGenerator random(42);
    std::vector<double> across(width);
    for (int x = 0; x < width; ++x)
        across[x] = 0.75 + 0.25 * std::cos(x * 6.2 / width);
    std::vector<quint32> noise(size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        random.fillRange(noise.data(), qsizetype(noise.size()));
        uchar* row = photo.scanLine(y);
        const double light = 0.55 + 0.45 * std::sin(y * 3.1 / height);
        for (int x = 0; x < width; ++x) {
            const bool brick = ((y / 24) % 2 ? (x + 30) / 60 : x / 60) % 7 == 0;
            const double shade = light * across[x] * (brick ? 0.6 : 1.0);
            const int grain = int(noise[x] % 24) - 12;
            row[3 * x + 0] = uchar(std::clamp(int(150 * shade) + grain, 0, 255));
            row[3 * x + 1] = uchar(std::clamp(int(185 * shade) + grain, 0, 255));
            row[3 * x + 2] = uchar(std::clamp(int(220 * shade) + grain, 0, 255));
        }
    }
    return photo;
}

TMask SyntheticMask(int width, int height, int layerCount, int runsPerRow) {
    TMask mask = TMask::CreateBlank(width, height);
    const int runWidth = width / runsPerRow;
    for (int y = 0; y < height; ++y) {
        MaskRow& row = mask.Rows[y];
        row.clear();
        const int wobble = int(15 * std::sin(y / 40.0));
        int first = 0;
        for (int i = 0; i < runsPerRow; ++i) {
            const int last = i == runsPerRow - 1 ? width - 1 : (i + 1) * runWidth + wobble;
            row.push_back(MaskRun{std::uint8_t(1 + i % layerCount), first, last});
            first = last + 1;
        }
    }
    return mask;
}

LayerList ShadedLayers(int count) {
    LayerList layers{OriginalLayerTemplate()};
    for (int i = 1; i <= count; ++i) {
        LayerRecord layer = NewLayerTemplate(i);
        layer.Name = QStringLiteral("Vrstva %1").arg(i);
        layer.ShadeColour = Rgb(40 + 20 * i, 200 - 15 * i, 90 + 10 * i);
        layer.RealColour = Rgb(180 + i, 190, 200 - i);
        layer.ShownInMaskMode = true;
        layer.HiddenInColourMode = false;
        layers.append(layer);
    }
    return layers;
}

namespace {

// Keeps each benchmark's real time per iteration, in nanoseconds: the median of the
// repetitions when --benchmark_repetitions asks for several, else the one run's mean.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    CollectingReporter() : ConsoleReporter(OO_Tabular) {}
    QMap<QString, double> times;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0)
                continue;
            // Repetitions end with mean, median, stddev and cv rows of the same name;
            // only the median is a time that ratios can use.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            const QString name = QString::fromStdString(run.run_name.function_name);
            times[name] = run.GetAdjustedRealTime() *
                          benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
                          benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }
};

} // namespace

int RunAndReport(int argc, char** argv, const std::vector<Ratio>& ratios) {
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const Ratio& ratio : ratios) {
        const auto measured = reporter.times.constFind(ratio.measured);
        const auto reference = reporter.times.constFind(ratio.reference);
        if (measured == reporter.times.cend() || reference == reporter.times.cend() ||
            *reference <= 0)
            continue;
        std::printf("RATIO %s %.4f\n", qPrintable(ratio.name), *measured / *reference);
    }
    std::fflush(stdout);
    return 0;
}

} // namespace bench
