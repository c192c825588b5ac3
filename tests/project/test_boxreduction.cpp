// The reduction that makes thumbnails while a photograph's rows are read: each
// result pixel is the rounded mean of its block, the blocks splitting the picture
// as evenly as whole pixels allow, whatever order the rows come in.
#include "project/BoxReduction.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

QImage Noise(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_BGR888);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int i = 0; i < width * 3; ++i)
            line[i] = uchar(random.bounded(256));
    }
    return image;
}

// Block i of n covers i * size / n up to (i + 1) * size / n; the mean of each block
// pixel by pixel through QImage's own accessors.
QImage Reference(const QImage& image, QSize size) {
    QImage result(size, QImage::Format_BGR888);
    const qint64 w = image.width(), h = image.height();
    for (int by = 0; by < size.height(); ++by) {
        for (int bx = 0; bx < size.width(); ++bx) {
            qint64 r = 0, g = 0, b = 0, n = 0;
            for (qint64 y = by * h / size.height(); y < (by + 1) * h / size.height(); ++y) {
                for (qint64 x = bx * w / size.width(); x < (bx + 1) * w / size.width(); ++x) {
                    const QColor c = image.pixelColor(int(x), int(y));
                    r += c.red();
                    g += c.green();
                    b += c.blue();
                    ++n;
                }
            }
            result.setPixelColor(
                bx, by, QColor(int((r + n / 2) / n), int((g + n / 2) / n), int((b + n / 2) / n)));
        }
    }
    return result;
}

} // namespace

class TestBoxReduction : public QObject {
    Q_OBJECT
private slots:
    void worked() {
        // 5 × 1 to 2 × 1: the blocks are columns 0-1 and 2-4.
        QImage image(5, 1, QImage::Format_BGR888);
        const int reds[] = {10, 21, 100, 101, 103};
        for (int x = 0; x < 5; ++x)
            image.setPixelColor(x, 0, QColor(reds[x], 0, 255));
        const QImage small = BoxReduction::Reduce(image, QSize(2, 1));
        QCOMPARE(small.format(), QImage::Format_BGR888);
        QCOMPARE(small.pixelColor(0, 0), QColor(16, 0, 255));  // 15.5 rounds up
        QCOMPARE(small.pixelColor(1, 0), QColor(101, 0, 255)); // 304 / 3 = 101.3
    }

    void matchesTheMeanOfEachBlock_data() {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("result");
        QTest::newRow("uneven blocks") << QSize(37, 11) << QSize(5, 2);
        QTest::newRow("a photograph's shape") << QSize(1800, 600) << QSize(256, 85);
        QTest::newRow("tall") << QSize(40, 700) << QSize(15, 256);
        QTest::newRow("one pixel") << QSize(9, 4) << QSize(1, 1);
        QTest::newRow("the same size") << QSize(6, 3) << QSize(6, 3);
        QTest::newRow("one column") << QSize(1, 300) << QSize(1, 256);
    }
    void matchesTheMeanOfEachBlock() {
        QFETCH(QSize, source);
        QFETCH(QSize, result);
        const QImage image = Noise(source.width(), source.height(), 7);
        const QImage reduced = BoxReduction::Reduce(image, result);
        QCOMPARE(reduced.size(), result);
        QCOMPARE(reduced, Reference(image, result));
    }

    // A bottom-up file delivers its last row first; rows in any order give the
    // same picture.
    void rowOrderDoesNotMatter() {
        const QImage image = Noise(301, 203, 3);
        const QSize size(40, 27);
        const QImage topDown = BoxReduction::Reduce(image, size);
        BoxReduction bottomUp(image.size(), size);
        for (int y = image.height() - 1; y >= 0; --y)
            bottomUp.AddRow(y, image.constScanLine(y));
        QCOMPARE(bottomUp.Result(), topDown);
        std::vector<int> rows(size_t(image.height()));
        std::iota(rows.begin(), rows.end(), 0);
        std::shuffle(rows.begin(), rows.end(), *QRandomGenerator::global());
        BoxReduction shuffled(image.size(), size);
        for (const int y : rows)
            shuffled.AddRow(y, image.constScanLine(y));
        QCOMPARE(shuffled.Result(), topDown);
    }

    // A reading that stopped early: a block whose rows came in part is the mean of
    // those, one none of whose rows came is black; bands that were complete are final.
    void rowsThatNeverCame() {
        const QImage image = Noise(10, 9, 7);
        BoxReduction reduction(image.size(), QSize(5, 3)); // bands of rows 0-2, 3-5, 6-8
        for (int y = 4; y >= 0; --y)
            reduction.AddRow(y, image.constScanLine(y));
        const QImage result = reduction.Result();
        QCOMPARE(result.size(), QSize(5, 3));
        QCOMPARE(result.copy(0, 0, 5, 1), BoxReduction::Reduce(image.copy(0, 0, 10, 3), {5, 1}));
        QCOMPARE(result.copy(0, 1, 5, 1), BoxReduction::Reduce(image.copy(0, 3, 10, 2), {5, 1}));
        QImage black(5, 1, QImage::Format_BGR888);
        black.fill(Qt::black);
        QCOMPARE(result.copy(0, 2, 5, 1), black);
    }

    // Asked for more than the source holds, it keeps the source's size.
    void neverEnlarges() {
        const QImage image = Noise(4, 3, 5);
        const QImage same = BoxReduction::Reduce(image, QSize(10, 10));
        QCOMPARE(same.size(), QSize(4, 3));
        QCOMPARE(same, image);
    }
};

QTEST_MAIN(TestBoxReduction)
#include "test_boxreduction.moc"
