// The reduction of the paint order's picture: each result pixel is the rounded mean
// of its block, edge blocks included, compared with a plain per-pixel reference.
#include "render/BoxScale.h"

#include <QRandomGenerator>
#include <QTest>

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

// The mean of each block, pixel by pixel through QImage's own accessors.
QImage Reference(const QImage& image, int factor) {
    const int w = (image.width() + factor - 1) / factor;
    const int h = (image.height() + factor - 1) / factor;
    QImage result(w, h, QImage::Format_BGR888);
    for (int oy = 0; oy < h; ++oy) {
        for (int ox = 0; ox < w; ++ox) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int y = oy * factor; y < std::min(image.height(), (oy + 1) * factor); ++y) {
                for (int x = ox * factor; x < std::min(image.width(), (ox + 1) * factor); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    r += c.red();
                    g += c.green();
                    b += c.blue();
                    ++n;
                }
            }
            result.setPixelColor(ox, oy, QColor((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n));
        }
    }
    return result;
}

} // namespace

class TestBoxScale : public QObject {
    Q_OBJECT
private slots:
    void worked() {
        // 3 × 2 pixels by 2: a full block and a one-column block at the right edge.
        QImage image(3, 2, QImage::Format_BGR888);
        image.setPixelColor(0, 0, QColor(0, 0, 0));
        image.setPixelColor(1, 0, QColor(255, 0, 10));
        image.setPixelColor(0, 1, QColor(0, 1, 10));
        image.setPixelColor(1, 1, QColor(0, 0, 11));
        image.setPixelColor(2, 0, QColor(7, 8, 9));
        image.setPixelColor(2, 1, QColor(8, 8, 8));
        const QImage small = BoxScaleDown(image, 2);
        QCOMPARE(small.size(), QSize(2, 1));
        QCOMPARE(small.format(), QImage::Format_BGR888);
        QCOMPARE(small.pixelColor(0, 0), QColor(64, 0, 8)); // 255/4 = 63.75, 1/4, 31/4
        QCOMPARE(small.pixelColor(1, 0), QColor(8, 8, 9));  // 7.5 and 8.5 round half up
    }

    void againstReference_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("factor");
        QTest::newRow("whole blocks") << QSize(40, 30) << 5;
        QTest::newRow("edges left over") << QSize(43, 31) << 5;
        QTest::newRow("factor larger than the picture") << QSize(3, 2) << 7;
        QTest::newRow("one row") << QSize(101, 1) << 4;
        QTest::newRow("odd factor, odd size") << QSize(257, 129) << 3;
    }
    void againstReference() {
        QFETCH(QSize, size);
        QFETCH(int, factor);
        const QImage image = Noise(size.width(), size.height(), quint32(size.width() * factor));
        QCOMPARE(BoxScaleDown(image, factor), Reference(image, factor));
    }

    void factorOneCopies() {
        const QImage image = Noise(9, 4, 1);
        QCOMPARE(BoxScaleDown(image, 1), image);
        QCOMPARE(BoxScaleDown(image, 0), image);
        QVERIFY(BoxScaleDown(QImage(), 3).isNull());
    }
};

QTEST_GUILESS_MAIN(TestBoxScale)
#include "test_boxscale.moc"
