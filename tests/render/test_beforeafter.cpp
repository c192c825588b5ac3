// The main window's before-and-after comparison: left of the divider the photograph
// at the view's zoom, right of it the recoloured view, and a drag that draws only
// what changed ending with the same pixels as a picture drawn whole.
#include "render/BeforeAfter.h"
#include "render/ReferenceRender.h"
#include "render/ZoomMath.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

namespace {

QImage TexturedPhoto(int width, int height, quint32 seed) {
    QImage photo(width, height, QImage::Format_BGR888);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        uchar* row = photo.scanLine(y);
        for (int i = 0; i < 3 * width; ++i)
            row[i] = uchar(random.bounded(256));
    }
    return photo;
}

LayerList ShadedLayers() {
    LayerList layers{OriginalLayerTemplate()};
    const Colour shades[] = {Rgb(250, 200, 120), Rgb(90, 30, 20), Rgb(20, 120, 220)};
    for (int i = 0; i < 3; ++i) {
        LayerRecord layer = NewLayerTemplate(i + 1);
        layer.Name = QStringLiteral("Vrstva %1").arg(i + 1);
        layer.RealColour = Rgb(180, 170, 160);
        layer.ShadeColour = shades[i];
        layer.HiddenInColourMode = false;
        layers << layer;
    }
    return layers;
}

// Bands of layers 1..3 across the picture, a few pixels of "Originál" between.
TMask BandedMask(int width, int height) {
    TMask mask = TMask::CreateBlank(width, height);
    for (int y = 0; y < height; ++y) {
        for (int layer = 1; layer <= 3; ++layer)
            mask.PaintSpan(y, (layer - 1) * width / 3 + 2, layer * width / 3 - 3,
                           std::uint8_t(layer));
    }
    return mask;
}

QImage Screen(QSize size) {
    QImage screen(size, QImage::Format_RGB32);
    screen.fill(QColor(1, 2, 3));
    return screen;
}

struct Scene {
    QImage photo;
    TMask mask;
    LayerList layers;
    float zoom;
    QImage view;

    Scene(QSize photoSize, float zoom)
        : photo(TexturedPhoto(photoSize.width(), photoSize.height(), 7)),
          mask(BandedMask(photoSize.width(), photoSize.height())), layers(ShadedLayers()),
          zoom(zoom), view(ViewSizeFor(photoSize, zoom), QImage::Format_BGR888) {
        view.fill(Qt::black);
        ReferenceRender(Input(), view, 0, 0, photoSize.width() - 1, photoSize.height() - 1);
    }
    RenderInput Input() const { return {photo, mask, layers, zoom, false}; }
};

bool NearTheDivider(int x, int divider) {
    return std::abs(x - divider) <= BeforeAfter::GripHalfWidth;
}

} // namespace

class TestBeforeAfter : public QObject {
    Q_OBJECT
private slots:
    void halvesAreThePhotographAndTheRender_data() {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<int>("divider");
        QTest::newRow("zoom 0.5") << 0.5f << 37;
        QTest::newRow("zoom 1") << 1.0f << 61;
        QTest::newRow("zoom 2") << 2.0f << 150;
        QTest::newRow("zoom 2, divider at the left edge") << 2.0f << 0;
        QTest::newRow("zoom 1, divider at the right edge") << 1.0f << 120;
    }
    void halvesAreThePhotographAndTheRender() {
        QFETCH(float, zoom);
        QFETCH(int, divider);
        const Scene scene(QSize(120, 50), zoom);
        const QImage before = scene.view.copy();
        BeforeAfter compare;
        compare.MoveDivider(divider, scene.view.size(), 20);
        QCOMPARE(compare.Divider(), divider);
        QImage screen = Screen(scene.view.size());
        {
            QPainter painter(&screen);
            compare.Paint(painter, screen.rect(), scene.Input(), scene.view, 20);
        }
        int photoPixels = 0, viewPixels = 0;
        for (int y = 0; y < screen.height(); ++y) {
            for (int x = 0; x < screen.width(); ++x) {
                if (NearTheDivider(x, divider))
                    continue;
                // Left: photograph pixel (trunc(x / zoom), trunc(y / zoom)).
                const QColor expected = x < divider
                                            ? scene.photo.pixelColor(int(x / zoom), int(y / zoom))
                                            : scene.view.pixelColor(x, y);
                QCOMPARE(screen.pixelColor(x, y), expected);
                ++(x < divider ? photoPixels : viewPixels);
            }
        }
        // Both halves were there to see, as far as the divider's place leaves room.
        QVERIFY(divider < BeforeAfter::GripHalfWidth || photoPixels > 0);
        QVERIFY(divider > screen.width() - BeforeAfter::GripHalfWidth || viewPixels > 0);
        QCOMPARE(scene.view, before); // the view itself does not change
    }

    // The line stands on the divider over the whole height; the grip only where asked.
    void theLineAndTheGrip() {
        const Scene scene(QSize(80, 60), 1.0f);
        BeforeAfter compare;
        compare.MoveDivider(40, scene.view.size(), 30);
        QImage screen = Screen(scene.view.size());
        {
            QPainter painter(&screen);
            compare.Paint(painter, screen.rect(), scene.Input(), scene.view, 30);
        }
        for (int y = 0; y < 60; ++y) {
            if (std::abs(y - 30) > BeforeAfter::GripHalfHeight + 1) // the grip's outline
                QCOMPARE(screen.pixelColor(40, y), QColor(255, 255, 255));
        }
        // The grip's body is light beside the line at its row, not far above it.
        QCOMPARE(screen.pixelColor(40 - 5, 30 - 15), QColor(255, 255, 255));
        QCOMPARE(screen.pixelColor(40 - 5, 2), scene.photo.pixelColor(35, 2));
    }

    void theDividerStaysInTheView_data() {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("kept");
        QTest::newRow("left of the view") << -30 << 0;
        QTest::newRow("inside") << 17 << 17;
        QTest::newRow("the last column") << 99 << 99;
        QTest::newRow("past the right edge: all photograph") << 100 << 100;
        QTest::newRow("far past it") << 5000 << 100;
    }
    void theDividerStaysInTheView() {
        QFETCH(int, asked);
        QFETCH(int, kept);
        BeforeAfter compare;
        compare.MoveDivider(asked, QSize(100, 40), 20);
        QCOMPARE(compare.Divider(), kept);
        QVERIFY(compare.MoveDivider(asked, QSize(100, 40), 20).isEmpty()); // nothing moved
    }

    // A drag redraws only the area each step returns, and only its visible part (a
    // view larger than the window, scrolled): after every step the window shows what
    // a comparison drawn whole at that divider shows.
    void aDragDrawsOnlyWhatChanged_data() {
        QTest::addColumn<float>("zoom");
        QTest::newRow("zoom 0.5") << 0.5f;
        QTest::newRow("zoom 1") << 1.0f;
        QTest::newRow("zoom 2") << 2.0f;
    }
    void aDragDrawsOnlyWhatChanged() {
        QFETCH(float, zoom);
        const Scene scene(QSize(300, 90), zoom);
        const QRect window(QPoint(int(30 * zoom), int(10 * zoom)), QSize(int(200 * zoom), 60));
        BeforeAfter dragged;
        const int gripY = window.center().y();
        dragged.MoveDivider(window.center().x(), scene.view.size(), gripY);
        QImage screen = Screen(scene.view.size());
        {
            QPainter painter(&screen);
            dragged.Paint(painter, window, scene.Input(), scene.view, window.center().y());
        }
        QRandomGenerator random(3);
        for (int step = 0; step < 40; ++step) {
            const int x = dragged.Divider() + random.bounded(-25, 26);
            const QRegion changed = dragged.MoveDivider(x, scene.view.size(), gripY) & window;
            {
                QPainter painter(&screen);
                dragged.Paint(painter, changed, scene.Input(), scene.view, gripY);
            }
            BeforeAfter whole;
            whole.MoveDivider(dragged.Divider(), scene.view.size(), gripY);
            QImage expected = Screen(scene.view.size());
            {
                QPainter painter(&expected);
                whole.Paint(painter, window, scene.Input(), scene.view, window.center().y());
            }
            if (screen != expected)
                QFAIL(qPrintable(QStringLiteral("step %1 to column %2").arg(step).arg(x)));
        }
    }

    // The photograph's pixels at the zoom are the view's copy of it, whatever the
    // layers: at 0.5 every second pixel of every second row, at 2 blocks of four.
    void photographAtTheViewsZoom() {
        const Scene scene(QSize(40, 30), 0.5f);
        const QImage half = BeforeAfter::PhotographAt(scene.Input(), QRect(3, 2, 10, 8));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x)
                QCOMPARE(half.pixelColor(x, y), scene.photo.pixelColor(2 * (x + 3), 2 * (y + 2)));
        const Scene twice(QSize(40, 30), 2.0f);
        const QImage blocks = BeforeAfter::PhotographAt(twice.Input(), QRect(5, 7, 6, 6));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                QCOMPARE(blocks.pixelColor(x, y), twice.photo.pixelColor((x + 5) / 2, (y + 7) / 2));
    }
};

QTEST_MAIN(TestBeforeAfter)
#include "test_beforeafter.moc"
