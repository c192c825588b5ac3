// The panes of the scheme comparison: the zooms they step through, the scroll kept
// around a zoom, and their pixels, which must be each scheme's colours, drawn from
// the photograph without touching the document.
#include "layers/Schemes.h"
#include "overview/SchemePanes.h"
#include "render/ReferenceRender.h"
#include "render/ShadePixel.h"
#include "render/ZoomMath.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

const QColor Background(235, 240, 245);
const Colour Plaster = Rgb(180, 170, 160);

LayerRecord Surface(const QString& name, Colour shade) {
    LayerRecord layer = NewLayerTemplate(1);
    layer.Name = name;
    layer.RealColour = Plaster;
    layer.ShadeColour = shade;
    layer.HiddenInColourMode = false;
    return layer;
}

// A plastered house front: the wall (layer 1) on the left two thirds, a door
// (layer 2) on the right third, the sky ("Originál") above; the photograph's plaster
// has a little grain so that a wrong sample shows.
Document Front(QSize size) {
    Document doc;
    doc.ProjectPath = QStringLiteral("/projekty/domy/Průčelí.bmp");
    doc.PhotoBitmap = QImage(size, QImage::Format_BGR888);
    QRandomGenerator random(5);
    for (int y = 0; y < size.height(); ++y) {
        uchar* row = doc.PhotoBitmap.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            const int grain = random.bounded(3);
            row[3 * x] = uchar(160 + grain);
            row[3 * x + 1] = uchar(170 + grain);
            row[3 * x + 2] = uchar(180 + grain);
        }
    }
    doc.Mask = TMask::CreateBlank(size.width(), size.height());
    for (int y = size.height() / 4; y < size.height(); ++y) {
        doc.Mask.PaintSpan(y, 0, 2 * size.width() / 3 - 1, 1);
        doc.Mask.PaintSpan(y, 2 * size.width() / 3, size.width() - 1, 2);
    }
    doc.Layers = {OriginalLayerTemplate(), Surface(QStringLiteral("Zeď"), Rgb(240, 220, 150)),
                  Surface(QStringLiteral("Dveře"), Rgb(30, 90, 40))};
    doc.Schemes = {
        SchemeRecord{QStringLiteral("Modrá"),
                     {Surface(QStringLiteral("Zeď"), Rgb(60, 90, 200)),
                      Surface(QStringLiteral("Dveře"), Rgb(200, 200, 200))}},
        SchemeRecord{QStringLiteral("Rudá"), {Surface(QStringLiteral("Dveře"), Rgb(150, 20, 20))}}};
    return doc;
}

// The colour a surface of plaster shows in a shade (the photograph's grain aside).
QColor Painted(Colour shade) {
    LayerRecord layer = Surface(QString(), shade);
    const Colour c = ShadePixel(Rgb(181, 171, 161), layer);
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

bool Near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class TestSchemePanes : public QObject {
    Q_OBJECT
private slots:
    void fitZoom_data() {
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<QSize>("pane");
        QTest::addColumn<float>("zoom");
        QTest::newRow("24 MP in 700 × 470: the width decides")
            << QSize(6000, 4000) << QSize(700, 470) << 700.0f / 6000.0f;
        QTest::newRow("a tall photograph: the height decides")
            << QSize(3000, 4000) << QSize(700, 470) << 470.0f / 4000.0f;
        QTest::newRow("a small photograph is enlarged")
            << QSize(350, 200) << QSize(700, 470) << 2.0f;
        QTest::newRow("but never past 4") << QSize(100, 50) << QSize(700, 470) << 4.0f;
        QTest::newRow("no pane yet") << QSize(100, 50) << QSize(0, 0) << 1.0f;
    }
    void fitZoom() {
        QFETCH(QSize, photo);
        QFETCH(QSize, pane);
        QFETCH(float, zoom);
        QCOMPARE(Panes::FitZoom(photo, pane), zoom);
        if (!pane.isEmpty()) {
            const QSize content = Panes::ContentSize(photo, zoom);
            QVERIFY(content.width() <= pane.width() && content.height() <= pane.height());
        }
    }

    // From the fitted zoom in through the powers of two to 4 and back out to fit.
    void zoomSteps_data() {
        QTest::addColumn<float>("fit");
        QTest::addColumn<QList<float>>("in");
        QTest::newRow("fit between powers of two")
            << 700.0f / 6000.0f << QList<float>{0.125f, 0.25f, 0.5f, 1, 2, 4};
        QTest::newRow("fit a power of two") << 0.25f << QList<float>{0.5f, 1, 2, 4};
        QTest::newRow("fit just below 4") << 3.0f << QList<float>{4};
        QTest::newRow("fit at 4") << 4.0f << QList<float>{};
    }
    void zoomSteps() {
        QFETCH(float, fit);
        QFETCH(QList<float>, in);
        float zoom = fit;
        for (float expected : in) {
            zoom = Panes::ZoomedIn(zoom, fit);
            QCOMPARE(zoom, expected);
        }
        QCOMPARE(Panes::ZoomedIn(zoom, fit), zoom); // no further than 4
        for (qsizetype i = in.size() - 2; i >= 0; --i) {
            zoom = Panes::ZoomedOut(zoom, fit);
            QCOMPARE(zoom, in[i]);
        }
        if (!in.isEmpty())
            zoom = Panes::ZoomedOut(zoom, fit);
        QCOMPARE(zoom, fit);
        QCOMPARE(Panes::ZoomedOut(zoom, fit), fit); // never below fit
    }

    void drawingZoomIsThePowerOfTwoAtOrAbove_data() {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<float>("drawing");
        QTest::newRow("0.1167") << 0.1167f << 0.125f;
        QTest::newRow("0.125") << 0.125f << 0.125f;
        QTest::newRow("0.13") << 0.13f << 0.25f;
        QTest::newRow("1") << 1.0f << 1.0f;
        QTest::newRow("3") << 3.0f << 4.0f;
    }
    void drawingZoomIsThePowerOfTwoAtOrAbove() {
        QFETCH(float, zoom);
        QFETCH(float, drawing);
        QCOMPARE(Panes::DrawingZoom(zoom), drawing);
    }

    // The picture point under the pointer stays under it.
    void scrollKeepsThePointUnderThePointer() {
        QCOMPARE(Panes::ScrollAfterZoom(QPoint(100, 50), QPoint(350, 235), 0.25f, 0.5f),
                 QPoint(550, 335));
        QCOMPARE(Panes::ScrollAfterZoom(QPoint(550, 335), QPoint(350, 235), 0.5f, 0.25f),
                 QPoint(100, 50));
        // From fit (0.1) to 0.125: the point (100 + 0) / 0.1 = photograph 1000 → 125.
        QCOMPARE(Panes::ScrollAfterZoom(QPoint(100, 0), QPoint(0, 0), 0.1f, 0.125f),
                 QPoint(125, 0));
    }

    // At a power of two a pane's area is exactly that area of the whole view of the
    // scheme's colouring: the scheme's records by layer name, the rest as it is.
    void paneAtAPowerOfTwoIsTheSchemesView_data() {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<QRect>("area");
        QTest::newRow("0.5, the whole picture") << 0.5f << QRect(0, 0, 150, 100);
        QTest::newRow("1, scrolled") << 1.0f << QRect(120, 40, 90, 70);
        QTest::newRow("2, scrolled past the end") << 2.0f << QRect(500, 300, 200, 200);
        // As large as a pane: drawn by several threads, a band each.
        QTest::newRow("4, a pane's area in bands") << 4.0f << QRect(100, 50, 700, 470);
    }
    void paneAtAPowerOfTwoIsTheSchemesView() {
        QFETCH(float, zoom);
        QFETCH(QRect, area);
        const Document doc = Front(QSize(300, 200));
        const Document untouched = doc;
        // "Modrá" repaints the wall and the door; "Rudá" the door alone.
        LayerList blue = doc.Layers, red = doc.Layers;
        blue[1].ShadeColour = Rgb(60, 90, 200);
        blue[2].ShadeColour = Rgb(200, 200, 200);
        red[2].ShadeColour = Rgb(150, 20, 20);
        const LayerList expectedLayers[] = {blue, red};
        for (int s = 0; s < 2; ++s) {
            const QImage pane = Panes::Picture(doc, LayersWithScheme(doc.Layers, doc.Schemes[s]),
                                               zoom, area, Background);
            QImage view(ViewSizeFor(doc.PhotoBitmap.size(), zoom), QImage::Format_BGR888);
            ReferenceRender({doc.PhotoBitmap, doc.Mask, expectedLayers[s], zoom, false}, view, 0, 0,
                            299, 199);
            QCOMPARE(pane.size(), area.size());
            for (int y = 0; y < area.height(); ++y) {
                for (int x = 0; x < area.width(); ++x) {
                    const QPoint at = area.topLeft() + QPoint(x, y);
                    const QColor expected =
                        view.rect().contains(at) ? view.pixelColor(at) : Background;
                    QCOMPARE(pane.pixelColor(x, y), expected);
                }
            }
        }
        QVERIFY(doc.Layers == untouched.Layers && doc.Schemes == untouched.Schemes);
    }

    // Between powers of two a pane is the view at the power above, reduced smoothly:
    // every pixel as QPainter's smooth drawing of that whole view gives it, within
    // rounding, so that no row or column is shifted, lost or drawn twice where the
    // threads' parts meet.
    void reducedPaneIsTheViewReducedSmoothly_data() {
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<float>("zoom");
        QTest::addColumn<QRect>("area");
        QTest::newRow("fitted, the whole pane")
            << QSize(1500, 1000) << 0.4667f << QRect(0, 0, 700, 470);
        QTest::newRow("0.75, scrolled") << QSize(600, 400) << 0.75f << QRect(37, 21, 300, 250);
        QTest::newRow("3, scrolled to the end")
            << QSize(300, 200) << 3.0f << QRect(520, 300, 400, 400);
    }
    void reducedPaneIsTheViewReducedSmoothly() {
        QFETCH(QSize, photo);
        QFETCH(float, zoom);
        QFETCH(QRect, area);
        const Document doc = Front(photo);
        const float drawing = Panes::DrawingZoom(zoom);
        QVERIFY(drawing != zoom);
        const QImage shown = Panes::Picture(doc, doc.Layers, zoom, area, Background);
        QImage view(ViewSizeFor(photo, drawing), QImage::Format_BGR888);
        ReferenceRender({doc.PhotoBitmap, doc.Mask, doc.Layers, drawing, false}, view, 0, 0,
                        photo.width() - 1, photo.height() - 1);
        QImage expected(area.size(), QImage::Format_RGB32);
        expected.fill(Background);
        const QSize content = Panes::ContentSize(photo, zoom);
        {
            QPainter painter(&expected);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.setClipRect(QRect(-area.topLeft(), content));
            const double ratio = double(drawing) / double(zoom);
            painter.drawImage(
                QRectF(-area.left(), -area.top(), view.width() / ratio, view.height() / ratio),
                view);
        }
        QCOMPARE(shown.size(), area.size());
        int worst = 0;
        QPoint worstAt;
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                // The picture's last row and column: QPainter may leave them background.
                const QPoint at = area.topLeft() + QPoint(x, y);
                if (at.x() >= content.width() - 1 || at.y() >= content.height() - 1) {
                    if (at.x() >= content.width() || at.y() >= content.height())
                        QCOMPARE(shown.pixelColor(x, y), Background);
                    continue;
                }
                const QRgb a = shown.pixel(x, y);
                const QRgb b = expected.pixel(x, y);
                const int difference =
                    std::max({qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)),
                              qAbs(qBlue(a) - qBlue(b))});
                if (difference > worst) {
                    worst = difference;
                    worstAt = QPoint(x, y);
                }
            }
        }
        // The picture's last row and column sample the view's last ones (clamped there),
        // as a bilinear reading in floating point gives them: never the background.
        const double ratio = double(drawing) / double(zoom);
        const auto sample = [&view, ratio](int x, int y) {
            const auto tap = [ratio](int at, int last, int& first, double& weight) {
                const double u = std::clamp((at + 0.5) * ratio - 0.5, 0.0, double(last));
                first = std::min(int(u), std::max(last - 1, 0));
                weight = u - first;
            };
            int x0 = 0, y0 = 0;
            double wx = 0, wy = 0;
            tap(x, view.width() - 1, x0, wx);
            tap(y, view.height() - 1, y0, wy);
            const int x1 = std::min(x0 + 1, view.width() - 1);
            const int y1 = std::min(y0 + 1, view.height() - 1);
            const auto mix = [&](int (*channel)(QRgb)) {
                const double top =
                    channel(view.pixel(x0, y0)) * (1 - wx) + channel(view.pixel(x1, y0)) * wx;
                const double bottom =
                    channel(view.pixel(x0, y1)) * (1 - wx) + channel(view.pixel(x1, y1)) * wx;
                return top * (1 - wy) + bottom * wy;
            };
            return std::array<double, 3>{mix(qRed), mix(qGreen), mix(qBlue)};
        };
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                const QPoint at = area.topLeft() + QPoint(x, y);
                if (at.x() >= content.width() || at.y() >= content.height() ||
                    (at.x() != content.width() - 1 && at.y() != content.height() - 1))
                    continue;
                const std::array<double, 3> wanted = sample(at.x(), at.y());
                const QRgb got = shown.pixel(x, y);
                const double difference =
                    std::max({std::abs(qRed(got) - wanted[0]), std::abs(qGreen(got) - wanted[1]),
                              std::abs(qBlue(got) - wanted[2])});
                QVERIFY2(
                    difference <= 2,
                    qPrintable(
                        QStringLiteral("edge (%1, %2) off by %3").arg(x).arg(y).arg(difference)));
            }
        }
        QVERIFY2(
            worst <= 2,
            qPrintable(
                QStringLiteral("%1 at (%2, %3)").arg(worst).arg(worstAt.x()).arg(worstAt.y())));
    }

    // A photograph whose mask cannot be drawn shows as the pane's background alone,
    // at a power of two and between: nothing left over from memory.
    void undrawableMaskLeavesTheBackground_data() {
        QTest::addColumn<float>("zoom");
        QTest::newRow("0.5") << 0.5f;
        QTest::newRow("0.45") << 0.45f;
    }
    void undrawableMaskLeavesTheBackground() {
        QFETCH(float, zoom);
        Document doc = Front(QSize(1500, 1000));
        doc.Mask = TMask();
        const QImage shown =
            Panes::Picture(doc, doc.Layers, zoom, QRect(10, 20, 600, 400), Background);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                QCOMPARE(shown.pixelColor(x, y), Background);
    }

    // At the fitted zoom of a large photograph each pane shows its scheme's colours
    // where the picture has them: samples in the middle of the wall, the door and the
    // sky against the colours the shades give the plaster.
    void fittedPanesShowTheSchemesColours() {
        const Document doc = Front(QSize(1500, 1000));
        const QSize pane(700, 470);
        const float fit = Panes::FitZoom(doc.PhotoBitmap.size(), pane);
        QVERIFY(Panes::DrawingZoom(fit) != fit); // drawn at 0.5 and reduced
        const QRect content(QPoint(0, 0), Panes::ContentSize(doc.PhotoBitmap.size(), fit));
        const QColor wall[] = {Painted(Rgb(60, 90, 200)), Painted(Rgb(240, 220, 150))};
        const QColor door[] = {Painted(Rgb(200, 200, 200)), Painted(Rgb(150, 20, 20))};
        for (int s = 0; s < 2; ++s) {
            const QImage shown = Panes::Picture(doc, LayersWithScheme(doc.Layers, doc.Schemes[s]),
                                                fit, QRect(QPoint(), pane), Background);
            const auto at = [&](double fx, double fy) {
                return shown.pixelColor(int(fx * content.width()), int(fy * content.height()));
            };
            QVERIFY2(Near(at(0.3, 0.6), wall[s], 2), qPrintable(at(0.3, 0.6).name()));
            QVERIFY2(Near(at(0.85, 0.6), door[s], 2), qPrintable(at(0.85, 0.6).name()));
            QVERIFY(Near(at(0.5, 0.1), QColor(181, 171, 161), 2)); // the photograph
            // Beside the fitted picture the pane's own background.
            QCOMPARE(shown.pixelColor(pane.width() - 1, content.height() + 2), Background);
            // The wall's edge stays where the photograph has it.
            const int edge = 2 * content.width() / 3;
            QVERIFY(Near(shown.pixelColor(edge - 3, content.height() / 2), wall[s], 2));
            QVERIFY(Near(shown.pixelColor(edge + 3, content.height() / 2), door[s], 2));
        }
    }
};

QTEST_MAIN(TestSchemePanes)
#include "test_schemepanes.moc"
