#include "render/ShadePixel.h"
#include "render/ShadeTableCache.h"

#include <QRandomGenerator>
#include <thread>
#include <vector>

#include <QTest>

namespace {

LayerRecord Shaded(Colour real, Colour shade) {
    LayerRecord layer = NewLayerTemplate(1);
    layer.RealColour = real;
    layer.ShadeColour = shade;
    return layer;
}

} // namespace

class TestShadePixel : public QObject {
    Q_OBJECT
private slots:
    void workedValues_data() {
        QTest::addColumn<int>("pixel");
        QTest::addColumn<int>("real");
        QTest::addColumn<int>("shade");
        QTest::addColumn<int>("expected");
        QTest::newRow("white reference")
            << Rgb(200, 100, 50) << Rgb(255, 255, 255) << Rgb(255, 128, 0) << Rgb(117, 59, 0);
        QTest::newRow("grey reference")
            << Rgb(200, 100, 50) << Rgb(208, 208, 208) << Rgb(255, 128, 0) << Rgb(143, 72, 0);
        QTest::newRow("brighter than the reference, 62.5 to even")
            << Rgb(250, 250, 250) << Rgb(200, 200, 200) << Rgb(200, 100, 50) << Rgb(250, 125, 62);
        QTest::newRow("black reference doubles")
            << Rgb(10, 10, 10) << Rgb(0, 0, 0) << Rgb(100, 100, 100) << Rgb(200, 200, 200);
        QTest::newRow("black reference clamps")
            << Rgb(10, 10, 10) << Rgb(0, 0, 0) << Rgb(200, 128, 127) << Rgb(255, 255, 254);
        QTest::newRow("black pixel")
            << Rgb(0, 0, 0) << Rgb(208, 208, 208) << Rgb(255, 128, 0) << Rgb(0, 0, 0);
    }
    void workedValues() {
        QFETCH(int, pixel);
        QFETCH(int, real);
        QFETCH(int, shade);
        QFETCH(int, expected);
        QCOMPARE(ShadePixel(pixel, Shaded(real, shade)), expected);
        const LayerList layers{OriginalLayerTemplate(), Shaded(real, shade)};
        QCOMPARE(ShadePixel(pixel, layers, 1), expected);
    }

    void workedRatios() {
        QCOMPARE(ShadeRatio(Brightness(200, 100, 50), Rgb(255, 255, 255)), 105.0f / 229.5f);
        QCOMPARE(ShadeRatio(Brightness(250, 250, 250), Rgb(200, 200, 200)), 1.25f);
        QCOMPARE(ShadeRatio(Brightness(10, 10, 10), Rgb(0, 0, 0)), 2.0f);
    }

    void noShadeKeepsThePixel() {
        QCOMPARE(ShadePixel(Rgb(1, 2, 3), Shaded(Rgb(9, 9, 9), NoColour)), Rgb(1, 2, 3));
    }

    // The renderer looks pixels up by 2 R + 6 G + B: the table must give exactly what
    // ShadePixel gives, for every one of the 16.7 million pixel values.
    void tableAgreesWithShadePixelForEveryPixel_data() {
        QTest::addColumn<int>("real");
        QTest::addColumn<int>("shade");
        QTest::newRow("white") << Rgb(255, 255, 255) << Rgb(255, 128, 0);
        QTest::newRow("grey") << Rgb(208, 208, 208) << Rgb(13, 201, 77);
        QTest::newRow("dark") << Rgb(3, 40, 9) << Rgb(250, 250, 250);
        QTest::newRow("black") << Rgb(0, 0, 0) << Rgb(100, 101, 102);
    }
    void tableAgreesWithShadePixelForEveryPixel() {
        QFETCH(int, real);
        QFETCH(int, shade);
        const LayerRecord layer = Shaded(real, shade);
        const ShadeTable table = ShadeTable::For(shade, real);
        int mismatches = 0;
        for (int r = 0; r < 256; ++r) {
            for (int g = 0; g < 256; ++g) {
                for (int b = 0; b < 256; ++b) {
                    const Colour expected = ShadePixel(Rgb(r, g, b), layer);
                    const std::uint32_t bgr = table.Bgr[ShadeTable::IndexOf(r, g, b)];
                    const Colour got = Rgb(bgr >> 16 & 0xFF, bgr >> 8 & 0xFF, bgr & 0xFF);
                    mismatches += got != expected;
                }
            }
        }
        QCOMPARE(mismatches, 0);
    }

    // Kept tables are shared by renders and threads: asked in any order, more pairs
    // than are kept, from two threads at once, a table is always the pair's own.
    void keptTablesBelongToTheirColours() {
        std::vector<std::pair<Colour, Colour>> pairs;
        QRandomGenerator random(17);
        for (int i = 0; i < 300; ++i)
            pairs.emplace_back(Colour(random.bounded(1 << 24)), Colour(random.bounded(1 << 24)));
        auto askAll = [&](int start, bool* right) {
            for (int round = 0; round < 3; ++round) {
                for (size_t i = 0; i < pairs.size(); ++i) {
                    const auto& [shade, real] = pairs[(start + i * 7) % pairs.size()];
                    if (ShadeTableFor(shade, real)->Bgr != ShadeTable::For(shade, real).Bgr)
                        *right = false;
                }
            }
        };
        bool firstRight = true, secondRight = true;
        std::thread other(askAll, 5, &secondRight);
        askAll(0, &firstRight);
        other.join();
        QVERIFY(firstRight);
        QVERIFY(secondRight);
        // The same pair twice in a row gives the kept table.
        QCOMPARE(ShadeTableFor(pairs[0].first, pairs[0].second),
                 ShadeTableFor(pairs[0].first, pairs[0].second));
    }
};

QTEST_GUILESS_MAIN(TestShadePixel)
#include "test_shadepixel.moc"
