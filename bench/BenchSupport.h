#pragma once

#include "project/Mask.h"
#include "workspace/Prompts.h"

#include <QImage>
#include <QString>
#include <benchmark/benchmark.h>
#include <memory>
#include <utility>
#include <vector>

namespace bench {

// Answers every question with its default: OK or No, the given file, no colour. Its
// progress bars are watched, as the windows' are, and count what they are told.
class QuietPrompts : public Prompts {
public:
    class CountingProgress : public Progress {
    public:
        explicit CountingProgress(long& reports) : reports_(reports) {}
        void Report(double) override { ++reports_; }
        bool CancelRequested() override { return false; }

    private:
        long& reports_;
    };
    long reports = 0;
    std::unique_ptr<Progress> ShowProgress(const QString&) override {
        return std::make_unique<CountingProgress>(reports);
    }

    QString file;
    Button Message(const QString&, const QString&, Icon, Buttons buttons, Button) override {
        return buttons.testFlag(Ok) ? Ok : No;
    }
    QString OpenFileName(const QString&) override { return file; }
    QString SaveFileName(const QString&, const QString&) override { return file; }
    Colour ChooseColour(Colour) override { return NoColour; }
    QString InputText(const QString&, const QString&, const QString& text) override { return text; }
};

// The photograph of the benchmarks that work on one: 6000 × 4000 (24 megapixels),
// or 8660 × 5773 (50 megapixels) when the environment holds TINTORA_BENCH_PHOTO=50mp.
QSize PhotoSize();
// The 50-megapixel photograph, 8660 × 5773.
inline constexpr int LargeWidth = 8660, LargeHeight = 5773;
// A figure's name for that photograph: as given at 24 megapixels, "_50mp" added at 50.
QString Sized(const char* name);

// A photograph-like picture: smooth light, a few hard edges and fine texture.
QImage SyntheticPhoto(int width, int height);

// A mask whose rows hold about runsPerRow runs over layers 1 .. layerCount,
// covering every pixel, with run edges that wander from row to row.
TMask SyntheticMask(int width, int height, int layerCount, int runsPerRow);

// Layers 1 .. count, each with a shade and a real colour, shown in mask mode.
LayerList ShadedLayers(int count);

// Runs the registered benchmarks, then prints one line "RATIO <name> <value>" for
// each (name, measured, reference) triple: the mean real time of the first
// benchmark divided by that of the second, both from this run.
struct Ratio {
    QString name;
    QString measured;
    QString reference;
};
int RunAndReport(int argc, char** argv, const std::vector<Ratio>& ratios);

} // namespace bench
