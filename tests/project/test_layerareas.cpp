// Layer areas measured on the photograph: against the exact areas a known camera
// gives (computed with QTransform, apart from the program's perspective code), a
// plane seen head-on with one length, two planes, subordinate layers and rows as
// files may hold them.
#include "project/LayerAreas.h"
#include "support/PaintedLayers.h"
#include "support/PlaneCamera.h"

#include <QTest>

namespace {

const int Width = 600, Height = 400;

PlaneReference Rectangle(const QTransform& planeToPhoto, QRectF onPlane) {
    PlaneReference reference{
        PlaneReference::Kind::Rectangle, {}, onPlane.width(), onPlane.height()};
    for (const QPointF& p :
         {onPlane.topLeft(), onPlane.topRight(), onPlane.bottomRight(), onPlane.bottomLeft()})
        reference.points << planeToPhoto.map(p);
    return reference;
}

LayerList Layers(int count) {
    LayerList layers{OriginalLayerTemplate()};
    for (int i = 1; i <= count; ++i) {
        LayerRecord layer = NewLayerTemplate(i);
        layer.Name = QStringLiteral("Vrstva %1").arg(i);
        layers << layer;
    }
    return layers;
}

// The exact area of a set of pixels: each pixel's square mapped onto the plane
// through the camera's own inverse, one pixel at a time.
double PixelArea(const QTransform& photoToPlane, int x, int y) {
    return PolygonArea(photoToPlane.map(QPolygonF(QRectF(x - 0.5, y - 0.5, 1, 1))));
}

// Each pixel goes to the first of the plane rectangles that holds the point the
// camera shows at its centre (the layer given with it), or stays as it was; exact
// gathers the areas of the pixels' squares by layer.
struct Surface {
    QRectF onPlane;
    std::uint8_t layer;
};
void Paint(TMask& mask, const QTransform& photoToPlane, const QList<Surface>& surfaces,
           QList<double>& exact) {
    std::vector<std::uint8_t> row(size_t(mask.Width));
    for (int y = 0; y < mask.Height; ++y) {
        mask.ExpandRow(y, row.data());
        for (int x = 0; x < mask.Width; ++x) {
            const QPointF onPlane = photoToPlane.map(QPointF(x, y));
            for (const Surface& surface : surfaces) {
                if (surface.onPlane.contains(onPlane)) {
                    row[size_t(x)] = surface.layer;
                    exact[surface.layer] += PixelArea(photoToPlane, x, y);
                    break;
                }
            }
        }
        mask.SetRowFromPixels(y, row.data());
    }
}

bool Near(double got, double expected, double relative) {
    return std::abs(got - expected) <= relative * std::abs(expected);
}

} // namespace

class TestLayerAreas : public QObject {
    Q_OBJECT
private slots:
    void noReferenceNoAreas() {
        const TMask mask = TMask::CreateBlank(10, 10);
        QVERIFY(LayerAreas::Own(mask, Layers(1), {}).isEmpty());
        QVERIFY(LayerAreas::Painted(Layers(1), {}).isEmpty());
    }

    // A facade of 10 × 6 m with two windows of 1.2 × 1.5 m, the first of them the
    // reference: every layer's area is the exact area of its pixels' squares on the
    // wall, and within the pixel edge of the wall's true area.
    void knownCameras_data() {
        QTest::addColumn<double>("yaw");
        QTest::addColumn<double>("pitch");
        QTest::newRow("head-on") << 0.0 << 0.0;
        QTest::newRow("yaw 30°") << 30.0 << 0.0;
        QTest::newRow("pitch 15°") << 0.0 << 15.0;
        QTest::newRow("yaw 30°, pitch 15°") << 30.0 << 15.0;
        QTest::newRow("yaw -40°, pitch -10°") << -40.0 << -10.0;
    }
    void knownCameras() {
        QFETCH(double, yaw);
        QFETCH(double, pitch);
        const PlaneCamera camera{yaw, pitch, 550, 12, {Width / 2.0, Height / 2.0}};
        const QTransform toPlane = camera.PhotoToPlane();
        const QRectF facade(-5, -3, 10, 6), left(-3.5, -1.5, 1.2, 1.5), right(2, -1.5, 1.2, 1.5);
        TMask mask = TMask::CreateBlank(Width, Height);
        QList<double> exact(4, 0.0);
        Paint(mask, toPlane, {{left, 2}, {right, 3}, {facade, 1}}, exact);

        Measurements measures;
        measures.References << Rectangle(camera.PlaneToPhoto(), left);
        const QList<double> areas = LayerAreas::Own(mask, Layers(3), measures);
        QCOMPARE(areas.size(), 4);
        const double truth[] = {0, 60 - 2 * 1.8, 1.8, 1.8};
        for (int layer = 1; layer <= 3; ++layer) {
            QVERIFY2(Near(areas[layer], exact[layer], 1e-5),
                     qPrintable(QStringLiteral("layer %1: %2 m², its pixels %3 m²")
                                    .arg(layer)
                                    .arg(areas[layer], 0, 'g', 10)
                                    .arg(exact[layer], 0, 'g', 10)));
            QVERIFY2(Near(areas[layer], truth[layer], 0.03),
                     qPrintable(QStringLiteral("layer %1: %2 m² of %3")
                                    .arg(layer)
                                    .arg(areas[layer])
                                    .arg(truth[layer])));
        }
    }

    // A photograph taken head-on: 250 pixels are 2,5 m, a pixel a square centimetre.
    void oneLengthHeadOn() {
        TMask mask = TMask::CreateBlank(400, 300);
        for (int y = 50; y < 250; ++y)
            mask.PaintSpan(y, 20, 319, 1); // 300 × 200 pixels
        Measurements measures;
        measures.References << PlaneReference{
            PlaneReference::Kind::Length, {{10, 10}, {160, 210}}, 2.5, 0};
        const QList<double> areas = LayerAreas::Own(mask, Layers(1), measures);
        QVERIFY(Near(areas[1], 6.0, 1e-12));
        QVERIFY(Near(areas[0], (400 * 300 - 300 * 200) * 1e-4, 1e-12));
    }

    // A front wall seen head-on and a side wall at 45°: each layer measured with its
    // own plane's reference, whatever the other says.
    void twoPlanes() {
        TMask mask = TMask::CreateBlank(Width, Height);
        for (int y = 50; y < 250; ++y)
            mask.PaintSpan(y, 50, 249, 1); // front: 200 × 200 pixels
        const PlaneCamera side{45, 0, 550, 12, {Width / 2.0, Height / 2.0}};
        const QTransform toSide = side.PhotoToPlane();
        QList<double> exact(4, 0.0);
        Paint(mask, toSide, {{QRectF(0.5, -2, 3, 4), 2}, {QRectF(0.5, 2.2, 3, 0.5), 3}}, exact);

        Measurements measures;
        measures.References << PlaneReference{
            PlaneReference::Kind::Length, {{50, 300}, {150, 300}}, 1.0, 0};
        measures.References << Rectangle(side.PlaneToPhoto(), QRectF(0.5, -2, 1, 1));
        measures.LayerPlanes.insert(QStringLiteral("Vrstva 2"), 1);
        measures.LayerPlanes.insert(QStringLiteral("Vrstva 3"), 1);
        const QList<double> areas = LayerAreas::Own(mask, Layers(3), measures);
        QVERIFY(Near(areas[1], 200 * 200 * 0.01 * 0.01, 1e-12));
        QVERIFY(Near(areas[2], exact[2], 1e-5));
        QVERIFY(Near(areas[3], exact[3], 1e-5));
        QVERIFY(Near(areas[2], 12.0, 0.02));

        // The side wall measured with the front's scale would be another number.
        measures.LayerPlanes.remove(QStringLiteral("Vrstva 2"));
        QVERIFY(!Near(LayerAreas::Own(mask, Layers(3), measures)[2], exact[2], 0.05));
    }

    // A subordinate layer's area goes to the layer it takes its paint from, one link
    // followed; its own area stays its own.
    void subordinateAreasGoToTheMaster_data() {
        QTest::addColumn<LayerList>("layers");
        QTest::addColumn<QList<double>>("painted");
        // Own areas of layers 0..4 (below): 10, 1, 2, 3, 4.
        LayerList plain = Layers(4);
        QTest::newRow("no links") << plain << QList<double>{10, 1, 2, 3, 4};
        LayerList one = plain;
        one[3] = Subordinated(one[3], QStringLiteral("Vrstva 1"));
        QTest::newRow("3 follows 1") << one << QList<double>{10, 4, 2, 3, 4};
        LayerList two = one;
        two[4] = Subordinated(two[4], QStringLiteral("Vrstva 1"));
        QTest::newRow("3 and 4 follow 1") << two << QList<double>{10, 8, 2, 3, 4};
        LayerList chain = one;
        chain[1] = Subordinated(chain[1], QStringLiteral("Vrstva 2"));
        QTest::newRow("3 follows 1, 1 follows 2: one link each")
            << chain << QList<double>{10, 4, 3, 3, 4};
        LayerList missing = plain;
        missing[2] = Subordinated(missing[2], QStringLiteral("Není"));
        QTest::newRow("master missing") << missing << QList<double>{10, 1, 2, 3, 4};
        LayerList toOriginal = plain;
        toOriginal[2] = Subordinated(toOriginal[2], OriginalLayerName);
        QTest::newRow("follows Originál") << toOriginal << QList<double>{12, 1, 2, 3, 4};
    }
    void subordinateAreasGoToTheMaster() {
        QFETCH(LayerList, layers);
        QFETCH(QList<double>, painted);
        // Rows of 100 pixels, a square centimetre each: layer i holds i rows.
        TMask mask = TMask::CreateBlank(100, 20);
        int y = 0;
        for (int layer = 1; layer <= 4; ++layer)
            for (int n = 0; n < layer; ++n)
                mask.PaintSpan(y++, 0, 99, std::uint8_t(layer));
        Measurements measures;
        measures.References << PlaneReference{
            PlaneReference::Kind::Length, {{0, 0}, {10, 0}}, 1.0, 0};
        const QList<double> own = LayerAreas::Own(mask, layers, measures);
        const QList<double> got = LayerAreas::Painted(layers, own);
        QCOMPARE(got.size(), painted.size());
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(Near(got[i], painted[i], 1e-12),
                     qPrintable(QStringLiteral("layer %1: %2").arg(i).arg(got[i])));
    }

    // Rows of a file may overlap, leave gaps or run past the picture: pixels count
    // as they are drawn, the first run covering a pixel deciding its layer.
    void rowsAsFilesHoldThem() {
        TMask mask = TMask::CreateBlank(10, 3);
        mask.Rows[0] = {{1, 0, 5}, {2, 3, 9}};              // overlap: pixels 3..5 are layer 1
        mask.Rows[1] = {{2, 2, 4}};                         // gaps: the rest is "Originál"
        mask.Rows[2] = {{1, -5, 2}, {2, 8, 40}, {1, 7, 3}}; // past the edges, backwards
        Measurements measures;
        measures.References << PlaneReference{
            PlaneReference::Kind::Length, {{0, 0}, {0, 2}}, 2.0, 0};
        const QList<double> areas = LayerAreas::Own(mask, Layers(2), measures);
        QCOMPARE(areas, (QList<double>{0 + 7 + 5, 6 + 0 + 3, 4 + 3 + 2}));
    }

    // The area is the same whether a row holds one run or is cut into many.
    void runsCutAnywhereGiveTheSameArea() {
        const PlaneCamera camera{35, 12, 550, 12, {Width / 2.0, Height / 2.0}};
        Measurements measures;
        measures.References << Rectangle(camera.PlaneToPhoto(), QRectF(-1, -1, 2, 2));
        TMask whole = TMask::CreateBlank(Width, Height);
        TMask cut = whole;
        for (int y = 0; y < Height; ++y) {
            cut.Rows[y].clear();
            for (int x = 0; x < Width; x += 7)
                cut.Rows[y].push_back({0, x, std::min(x + 6, Width - 1)});
        }
        const double a = LayerAreas::Own(whole, Layers(0), measures)[0];
        const double b = LayerAreas::Own(cut, Layers(0), measures)[0];
        QVERIFY(Near(a, b, 1e-9));
    }
};

QTEST_GUILESS_MAIN(TestLayerAreas)
#include "test_layerareas.moc"
