#include "render/ReferenceRender.h"
#include "render/RenderRegion.h"
#include "render/ShadePixel.h"
#include "render/ZoomMath.h"
#include "workspace/Workspace.h"

#include <QRandomGenerator>
#include <QTest>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace {

const QColor Sentinel(1, 2, 3);

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

LayerRecord Layer(const QString& name, Colour real, Colour mask, Colour shade, bool shown,
                  bool hidden) {
    LayerRecord layer = NewLayerTemplate(1);
    layer.Name = name;
    layer.RealColour = real;
    layer.MaskColour = mask;
    layer.ShadeColour = shade;
    layer.ShownInMaskMode = shown;
    layer.HiddenInColourMode = hidden;
    return layer;
}

LayerList VariedLayers() {
    LayerList layers{OriginalLayerTemplate()};
    // Entry 0 carries a shade and a mask colour: neither may ever show.
    layers[0].ShadeColour = Rgb(255, 0, 0);
    layers[0].HiddenInColourMode = false;
    layers << Layer(QStringLiteral("Fasáda"), Rgb(208, 208, 208), Rgb(93, 170, 70),
                    Rgb(250, 200, 120), true, false)
           << Layer(QStringLiteral("Střecha"), Rgb(120, 60, 40), Rgb(186, 85, 140), Rgb(90, 30, 20),
                    false, false)
           << Layer(QStringLiteral("Okna"), Rgb(0, 0, 0), Rgb(24, 0, 210), Rgb(100, 150, 200), true,
                    false)
           << Layer(QStringLiteral("Dveře"), Rgb(200, 200, 200), Rgb(10, 20, 30), NoColour, true,
                    false)
           << Layer(QStringLiteral("Sokl"), Rgb(90, 90, 90), Rgb(40, 50, 60), Rgb(60, 60, 60),
                    false, true);
    LayerRecord sub =
        Layer(QStringLiteral("Římsa"), Rgb(1, 1, 1), Rgb(255, 255, 0), Rgb(0, 255, 0), false, true);
    sub.Subordinate = true;
    sub.MasterName = QStringLiteral("Fasáda");
    layers << sub;
    return layers;
}

TMask RandomMask(int width, int height, int layerCount, quint32 seed) {
    TMask mask = TMask::CreateBlank(width, height);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        for (int k = 0; k < 6; ++k) {
            const int a = random.bounded(width);
            mask.PaintSpan(y, a, a + random.bounded(width / 2 + 1), random.bounded(layerCount));
        }
    }
    return mask;
}

QImage BlankView(QSize size) {
    QImage view(size, QImage::Format_BGR888);
    view.fill(Sentinel);
    return view;
}

} // namespace

class TestRenderRegion : public QObject {
    Q_OBJECT
private slots:
    void matchesTheStepByStepRebuild_data() {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<bool>("maskMode");
        for (float zoom : {0.25f, 0.5f, 1.0f, 2.0f, 4.0f}) {
            for (bool maskMode : {false, true}) {
                QTest::addRow("zoom %g %s", double(zoom), maskMode ? "mask" : "colour")
                    << zoom << maskMode;
            }
        }
    }
    void matchesTheStepByStepRebuild() {
        QFETCH(float, zoom);
        QFETCH(bool, maskMode);
        const LayerList layers = VariedLayers();
        for (quint32 seed = 1; seed <= 3; ++seed) {
            const int width = 97 + 8 * int(seed);
            const int height = 41 + int(seed);
            const QImage photo = TexturedPhoto(width, height, seed);
            const TMask mask = RandomMask(width, height, int(layers.size()), seed * 7);
            const RenderInput input{photo, mask, layers, zoom, maskMode};
            const QSize size = ViewSizeFor(photo.size(), zoom);

            QImage fast = BlankView(size);
            QImage reference = BlankView(size);
            RenderRegion(input, fast, 0, 0, width - 1, height - 1);
            ReferenceRender(input, reference, 0, 0, width - 1, height - 1);
            QCOMPARE(fast, reference);

            // Partial rectangles on top of the whole picture.
            QRandomGenerator random(seed);
            for (int i = 0; i < 20; ++i) {
                const int x1 = random.bounded(-10, width + 10);
                const int y1 = random.bounded(-10, height + 10);
                const int x2 = x1 + random.bounded(-5, 60);
                const int y2 = y1 + random.bounded(-5, 30);
                RenderRegion(input, fast, x1, y1, x2, y2);
                ReferenceRender(input, reference, x1, y1, x2, y2);
            }
            QCOMPARE(fast, reference);
        }
    }

    void clampedRectangleRepaintsOnlyItsPixels() {
        const QImage photo = TexturedPhoto(10, 8, 5);
        const TMask mask = TMask::CreateBlank(10, 8);
        const LayerList layers{OriginalLayerTemplate()};
        QImage view = BlankView(photo.size());
        RenderRegion({photo, mask, layers, 1.0f, false}, view, -5, -5, 3, 3);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 10; ++x) {
                const QColor expected = x <= 3 && y <= 3 ? photo.pixelColor(x, y) : Sentinel;
                QCOMPARE(view.pixelColor(x, y), expected);
            }
        }
    }

    // A rectangle drawn again over what it drew is drawn from the photograph again,
    // not recoloured twice: both times the step-by-step rebuild's pixels, at zoom 1
    // and at zoom 2, where the layers are recoloured in the view.
    void repeatedRenderGivesTheSamePixels_data() {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<bool>("maskMode");
        QTest::newRow("zoom 1") << 1.0f << false;
        QTest::newRow("zoom 1, mask mode") << 1.0f << true;
        QTest::newRow("zoom 2") << 2.0f << false;
    }
    void repeatedRenderGivesTheSamePixels() {
        QFETCH(float, zoom);
        QFETCH(bool, maskMode);
        const LayerList layers = VariedLayers();
        const QImage photo = TexturedPhoto(64, 16, 9);
        const TMask mask = RandomMask(64, 16, int(layers.size()), 3);
        const RenderInput input{photo, mask, layers, zoom, maskMode};
        QImage reference = BlankView(ViewSizeFor(photo.size(), zoom));
        ReferenceRender(input, reference, 0, 0, 63, 15);
        QImage view = BlankView(reference.size());
        RenderRegion(input, view, 0, 0, 63, 15);
        QCOMPARE(view, reference);
        RenderRegion(input, view, 0, 0, 63, 15);
        QCOMPARE(view, reference);
        RenderRegion(input, view, 10, 3, 40, 9);
        QCOMPARE(view, reference);
    }

    void subordinateLayerLooksLikeItsMaster() {
        const LayerList layers = VariedLayers(); // "Římsa" follows "Fasáda"
        const QImage photo = TexturedPhoto(40, 2, 4);
        TMask mask = TMask::CreateBlank(40, 2);
        mask.PaintSpan(0, 0, 39, 1);
        mask.PaintSpan(1, 0, 39, 6);
        for (bool maskMode : {false, true}) {
            QImage view = BlankView(photo.size());
            RenderRegion({photo, mask, layers, 1.0f, maskMode}, view, 0, 0, 39, 1);
            for (int x = 0; x < 40; ++x) {
                const QColor p = photo.pixelColor(x, 1);
                const Colour expected =
                    maskMode ? layers[1].MaskColour
                             : ShadePixel(Rgb(p.red(), p.green(), p.blue()), layers, 1);
                const QColor got = view.pixelColor(x, 1);
                QCOMPARE(Rgb(got.red(), got.green(), got.blue()), expected);
            }
        }
    }

    void blackRealColourDoublesTheShade() {
        LayerList layers{OriginalLayerTemplate(), Layer(QStringLiteral("Zeď"), Rgb(0, 0, 0), 0,
                                                        Rgb(100, 100, 100), false, false)};
        QImage photo(1, 1, QImage::Format_BGR888);
        photo.setPixelColor(0, 0, QColor(10, 10, 10));
        TMask mask = TMask::CreateBlank(1, 1);
        mask.PaintSpan(0, 0, 0, 1);
        QImage view = BlankView(photo.size());
        RenderRegion({photo, mask, layers, 1.0f, false}, view, 0, 0, 0, 0);
        QCOMPARE(view.pixelColor(0, 0), QColor(200, 200, 200));
    }

    void zoomTwoMakesBlocksAndHalfSamples() {
        const LayerList layers = VariedLayers();
        const QImage photo = TexturedPhoto(6, 4, 2);
        TMask mask = TMask::CreateBlank(6, 4);
        mask.PaintSpan(1, 0, 5, 1);
        QImage big = BlankView(QSize(12, 8));
        RenderRegion({photo, mask, layers, 2.0f, false}, big, 0, 0, 5, 3);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x)
                QCOMPARE(big.pixelColor(x, y), big.pixelColor(x / 2 * 2, y / 2 * 2));
        QImage small = BlankView(QSize(3, 2));
        RenderRegion({photo, TMask::CreateBlank(6, 4), layers, 0.5f, false}, small, 0, 0, 5, 3);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                QCOMPARE(small.pixelColor(x, y), photo.pixelColor(2 * x, 2 * y));
    }

    // Rows as a file may hold them, and a mask larger than its photograph: no
    // access outside any array (the sanitizers watch), and the pixels stay sane.
    void malformedRowsStayInsideTheArrays() {
        const LayerList layers = VariedLayers();
        const QImage photo = TexturedPhoto(20, 3, 1);
        TMask mask = TMask::CreateBlank(25, 5);
        mask.Rows[0] = {{1, 5, 2}, {2, 0, 60000}, {3, 19, 19}};
        mask.Rows[1] = {{1, 10, 12}};
        mask.Rows[2] = {};
        for (float zoom : {0.25f, 0.5f, 1.0f, 2.0f, 4.0f}) {
            for (bool maskMode : {false, true}) {
                QImage view = BlankView(ViewSizeFor(photo.size(), zoom));
                RenderRegion({photo, mask, layers, zoom, maskMode}, view, -100, -100, 100000,
                             100000);
                QImage tiny = BlankView(QSize(2, 2));
                RenderRegion({photo, mask, layers, zoom, maskMode}, tiny, 0, 0, 100000, 100000);
            }
        }
        QImage view = BlankView(photo.size());
        RenderRegion({photo, mask, layers, 1.0f, false}, view, 0, 0, 19, 2);
        QCOMPARE(view.pixelColor(0, 2), photo.pixelColor(0, 2)); // a row without runs
    }

    void workspaceWithoutAProjectDrawsNothing() {
        Workspace workspace;
        workspace.Doc.PhotoBitmap = TexturedPhoto(4, 4, 1);
        workspace.ViewBitmap = BlankView(QSize(4, 4));
        workspace.UpdateWholePicture();
        QCOMPARE(workspace.ViewBitmap, BlankView(QSize(4, 4)));
        workspace.Doc.ProjectPath = QStringLiteral("/x/dum.bmp");
        workspace.Doc.Mask = TMask::CreateBlank(4, 4);
        workspace.UpdateWholePicture();
        QCOMPARE(workspace.ViewBitmap.convertToFormat(QImage::Format_RGB32),
                 workspace.Doc.PhotoBitmap.convertToFormat(QImage::Format_RGB32));
    }

    // Updates of over half a million view pixels are shared between threads: the
    // parts must meet without a gap or an overlap, whatever the rows and the zoom.
    void largeUpdatesDrawnInPartsMatch_data() {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<QSize>("photoSize");
        QTest::addColumn<QRect>("region");
        QTest::addRow("zoom 1 whole") << 1.0f << QSize(1101, 517) << QRect(0, 0, 1101, 517);
        QTest::addRow("zoom 1 part") << 1.0f << QSize(1101, 1017) << QRect(37, 3, 1000, 995);
        QTest::addRow("zoom 2") << 2.0f << QSize(403, 351) << QRect(0, 0, 403, 351);
        QTest::addRow("zoom 0.5") << 0.5f << QSize(1501, 1443) << QRect(0, 0, 1501, 1443);
        QTest::addRow("zoom 0.25") << 0.25f << QSize(2999, 2901) << QRect(5, 9, 2990, 2890);
    }
    void largeUpdatesDrawnInPartsMatch() {
        QFETCH(float, zoom);
        QFETCH(QSize, photoSize);
        QFETCH(QRect, region);
        const LayerList layers = VariedLayers();
        const QImage photo = TexturedPhoto(photoSize.width(), photoSize.height(), 11);
        const TMask mask = RandomMask(photoSize.width(), photoSize.height(), int(layers.size()), 5);
        for (bool maskMode : {false, true}) {
            const RenderInput input{photo, mask, layers, zoom, maskMode};
            QImage fast = BlankView(ViewSizeFor(photoSize, zoom));
            QImage reference = fast.copy();
            RenderRegion(input, fast, region.left(), region.top(), region.right(), region.bottom());
            ReferenceRender(input, reference, region.left(), region.top(), region.right(),
                            region.bottom());
            QCOMPARE(fast, reference);
        }
    }

    // A pane or a window onto a large view draws only its area: the pixels must be
    // those of the same area of the whole view, whatever the zoom and wherever the
    // area lies (across the view's edges too, where the rest stays untouched).
    void viewAreaIsTheViewsPixels_data() {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<QSize>("photoSize");
        for (float zoom : {0.25f, 0.5f, 1.0f, 2.0f, 4.0f}) {
            QTest::addRow("zoom %g", double(zoom)) << zoom << QSize(131, 77);
            QTest::addRow("zoom %g, odd sizes", double(zoom)) << zoom << QSize(97, 43);
        }
        QTest::addRow("zoom 1/8 of a large photograph") << 0.125f << QSize(1203, 807);
    }
    void viewAreaIsTheViewsPixels() {
        QFETCH(float, zoom);
        QFETCH(QSize, photoSize);
        const LayerList layers = VariedLayers();
        const QImage photo = TexturedPhoto(photoSize.width(), photoSize.height(), 21);
        const TMask mask = RandomMask(photoSize.width(), photoSize.height(), int(layers.size()), 4);
        for (bool maskMode : {false, true}) {
            const RenderInput input{photo, mask, layers, zoom, maskMode};
            const QSize size = ViewSizeFor(photoSize, zoom);
            QImage whole = BlankView(size);
            ReferenceRender(input, whole, 0, 0, photoSize.width() - 1, photoSize.height() - 1);
            QRandomGenerator random(quint32(zoom * 64) + (maskMode ? 1 : 0));
            for (int i = 0; i < 25; ++i) {
                const QRect area(random.bounded(-20, size.width() + 5),
                                 random.bounded(-20, size.height() + 5), 1 + random.bounded(90),
                                 1 + random.bounded(60));
                QImage part = BlankView(area.size());
                RenderViewArea(input, part, area.topLeft());
                for (int y = 0; y < area.height(); ++y) {
                    for (int x = 0; x < area.width(); ++x) {
                        const QPoint at = area.topLeft() + QPoint(x, y);
                        const QColor expected =
                            whole.rect().contains(at) ? whole.pixelColor(at) : Sentinel;
                        if (part.pixelColor(x, y) != expected)
                            QFAIL(qPrintable(QStringLiteral("view pixel %1, %2 of area %3, %4")
                                                 .arg(at.x())
                                                 .arg(at.y())
                                                 .arg(area.x())
                                                 .arg(area.y())));
                    }
                }
            }
        }
    }

    // The export and the paint order take the picture a band at a time while the next
    // band is drawn: each band as the sink sees it, and every copy the sink keeps,
    // must be the picture's rows, even when the sink is slow.
    void bandsHandedOnAreThePicturesRows_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<QSize>("maskSize");
        QTest::addRow("mask as large as the photograph") << 77 << QSize(333, 77);
        QTest::addRow("mask smaller: black beyond it") << 77 << QSize(300, 50);
        QTest::addRow("one band only") << 9 << QSize(333, 9);
    }
    void bandsHandedOnAreThePicturesRows() {
        QFETCH(int, height);
        QFETCH(QSize, maskSize);
        Document doc;
        doc.Layers = VariedLayers();
        doc.PhotoBitmap = TexturedPhoto(333, height, 3);
        doc.Mask = RandomMask(maskSize.width(), maskSize.height(), int(doc.Layers.size()), 8);
        for (bool maskMode : {false, true}) {
            QImage whole(doc.PhotoBitmap.size(), QImage::Format_BGR888);
            whole.fill(Qt::black);
            RenderRegion({doc.PhotoBitmap, doc.Mask, doc.Layers, 1.0f, maskMode}, whole, 0, 0,
                         100000, 100000);
            QList<QImage> kept;
            int nextRow = 0;
            RenderFullSizeInBands(doc, maskMode, [&](int firstRow, const QImage& band, int rows) {
                QCOMPARE(firstRow, nextRow);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                for (int y = 0; y < rows; ++y)
                    QVERIFY(std::equal(band.constScanLine(y), band.constScanLine(y) + 3 * 333,
                                       whole.constScanLine(firstRow + y)));
                kept << band;
                nextRow += rows;
            });
            QCOMPARE(nextRow, doc.PhotoBitmap.height());
            for (int i = 0; i < kept.size(); ++i) {
                const int rows = std::min(RenderBandRows, height - i * RenderBandRows);
                QCOMPARE(kept[i].copy(0, 0, 333, rows),
                         whole.copy(0, i * RenderBandRows, 333, rows));
            }
        }
    }

    void aSinkThatFailsEndsTheDrawing() {
        Document doc;
        doc.Layers = VariedLayers();
        doc.PhotoBitmap = TexturedPhoto(64, 200, 4);
        doc.Mask = RandomMask(64, 200, int(doc.Layers.size()), 2);
        int calls = 0;
        bool thrown = false;
        try {
            RenderFullSizeInBands(doc, false, [&](int, const QImage&, int) {
                if (++calls == 3)
                    throw std::runtime_error("disk full");
            });
        } catch (const std::runtime_error&) {
            thrown = true;
        }
        QVERIFY(thrown);
        QCOMPARE(calls, 3);
    }

    void viewSizeRoundsHalvesToEven() {
        QCOMPARE(ViewSizeFor(QSize(5, 7), 0.5f), QSize(2, 4));
        QCOMPARE(ViewSizeFor(QSize(6, 3), 0.25f), QSize(2, 1));
        QCOMPARE(ViewSizeFor(QSize(1500, 3), 4.0f), QSize(6000, 12));
    }
};

QTEST_GUILESS_MAIN(TestRenderRegion)
#include "test_renderregion.moc"
