#include "editing/FloodFill.h"
#include "editing/Tools.h"
#include "render/Simd.h"
#include "render/ZoomMath.h"
#include "support/ScriptedPrompts.h"
#include "workspace/ToolActions.h"
#include "workspace/Workspace.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QRegion>
#include <QTest>
#include <cstring>
#include <functional>

namespace {

// The pixels of a layer in a mask, as a set of points.
QSet<QPoint> PixelsOf(const TMask& mask, int layer) {
    QSet<QPoint> points;
    for (int y = 0; y < mask.Height; ++y)
        for (int x = 0; x < mask.Width; ++x)
            if (mask.LayerAt(x, y) == layer)
                points.insert(QPoint(x, y));
    return points;
}

QSet<QPoint> Rect(int x1, int y1, int x2, int y2) {
    QSet<QPoint> points;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            points.insert(QPoint(x, y));
    return points;
}

const Colour Barrier = Rgb(93, 170, 70);

Colour PixelAt(const QImage& view, QPoint p) {
    const uchar* s = view.constScanLine(p.y()) + 3 * p.x();
    return Rgb(s[2], s[1], s[0]);
}

// Large flat-ish patches with noise and occasional pixels in the barrier colour.
QImage NoisyPicture(int w, int h, int seed) {
    QImage view(w, h, QImage::Format_BGR888);
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < h; ++y) {
        uchar* row = view.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const int patch = ((x / 37) + (y / 23)) % 3;
            const int base = 60 + 50 * patch + int(random.bounded(12));
            const bool barrier = random.bounded(40) == 0;
            row[3 * x] = uchar(barrier ? BlueOf(Barrier) : base);
            row[3 * x + 1] = uchar(barrier ? GreenOf(Barrier) : base);
            row[3 * x + 2] = uchar(barrier ? RedOf(Barrier) : base);
        }
    }
    return view;
}

// A frame 20 pixels wide of one colour around a large square of another: a fill of
// the frame meets rows where its two sides stand far apart.
QImage FramePicture(int w, int h, int seed) {
    QImage view = NoisyPicture(w, h, seed);
    for (int y = 0; y < h; ++y) {
        uchar* row = view.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const bool frame = x < 20 || y < 20 || x >= w - 20 || y >= h - 20;
            std::memset(row + 3 * x, frame ? 100 + (x * 7 + y) % 5 : 220, 3);
        }
    }
    return view;
}

// The fill written plainly from its rule: a 4-connected search from the start pixel
// over pixels near the seed colour and not near the barrier colour that show what
// the start pixel shows: the photograph (a layer not drawn), or the same drawn layer.
QSet<QPoint> PlainFill(const QImage& view, QPoint start, int tolerance, const TMask* mask = nullptr,
                       const QList<int>& drawn = {}) {
    const Colour seed = PixelAt(view, start);
    const auto shows = [&](QPoint p) {
        const int layer = mask ? mask->LayerAt(p.x(), p.y()) : 0;
        return drawn.contains(layer) ? layer : -1;
    };
    const int startShows = shows(start);
    const auto qualifies = [&](QPoint p) {
        const Colour q = PixelAt(view, p);
        return shows(p) == startShows && ColourDistance(q, seed) < tolerance &&
               ColourDistance(q, Barrier) > 5;
    };
    QSet<QPoint> filled{start};
    QList<QPoint> pending{start};
    while (!pending.isEmpty()) {
        const QPoint p = pending.takeLast();
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint n = p + d;
            if (view.rect().contains(n) && !filled.contains(n) && qualifies(n)) {
                filled.insert(n);
                pending.append(n);
            }
        }
    }
    return filled;
}

// Runs of layers 0 to 3, 1 to 90 pixels long, so that runs begin and end inside and
// across the fill's 64-pixel blocks. Malformed rows (every third) are as a mask file
// may hold them: runs that overlap, leave gaps and reach past the picture.
TMask RandomLayers(int w, int h, int seed, bool malformed) {
    TMask mask = TMask::CreateBlank(w, h);
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < h; ++y) {
        MaskRow& row = mask.Rows[size_t(y)];
        row.clear();
        for (int x = 0; x < w;) {
            const int length = 1 + int(random.bounded(90));
            row.push_back({std::uint8_t(random.bounded(4)), x, std::min(x + length, w) - 1});
            x += length;
        }
        if (malformed && y % 3 == 0) {
            for (MaskRun& run : row) {
                run.First += int(random.bounded(21)) - 10;
                run.Last += int(random.bounded(21)) - 10;
            }
            row.push_back({std::uint8_t(random.bounded(4)), w - 30, w + 40});
        }
    }
    return mask;
}

DrawnLayers Drawn(const QList<int>& layers) {
    DrawnLayers drawn{};
    for (int layer : layers)
        drawn[size_t(layer)] = true;
    return drawn;
}

QImage Flat(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_BGR888);
    image.fill(colour);
    return image;
}

// A workspace with a grey picture, an open project and a selected layer 1.
struct Fixture {
    Workspace ws;
    ScriptedPrompts prompts;
    ToolActions tools{ws, prompts};
    int row = 1;
    Fixture(int w = 40, int h = 30) {
        ws.Doc.ProjectPath = QStringLiteral("/x/dum.bmp");
        ws.Doc.PhotoBitmap = Flat(w, h, QColor(120, 120, 120));
        ws.Doc.Mask = TMask::CreateBlank(w, h);
        ws.MaskEditMode = false;
        LayerRecord wall = NewLayerTemplate(1);
        wall.Name = QStringLiteral("Zeď");
        ws.Doc.Layers.append(wall);
        ws.ResizeView();
        ws.UpdateWholePicture();
        tools.SelectedRow = [this] { return row; };
    }
};

// Sets the document up before a fill: photograph, mask, layers, mode.
using FillScene = std::function<void(Workspace&)>;

LayerRecord Layer(const QString& name, Colour mask) {
    LayerRecord layer = NewLayerTemplate(1);
    layer.Name = name;
    layer.MaskColour = mask;
    return layer;
}

void PaintRect(TMask& mask, const QRect& r, int layer) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        mask.PaintSpan(y, r.left(), r.right(), std::uint8_t(layer));
}

QSet<QPoint> PointsOf(const QRegion& region) {
    QSet<QPoint> points;
    for (const QRect& r : region)
        points |= Rect(r.left(), r.top(), r.right(), r.bottom());
    return points;
}

} // namespace

Q_DECLARE_METATYPE(FillScene)

class TestTools : public QObject {
    Q_OBJECT
private slots:
    void pencilSquares_data() {
        QTest::addColumn<int>("thickness");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QRect>("painted");
        QTest::newRow("thickness 1") << 1 << QPoint(10, 10) << QRect(QPoint(9, 9), QPoint(10, 10));
        QTest::newRow("thickness 3") << 3 << QPoint(10, 10) << QRect(QPoint(7, 7), QPoint(12, 12));
        QTest::newRow("top edge: rows above are skipped")
            << 3 << QPoint(10, 0) << QRect(QPoint(7, 0), QPoint(12, 2));
        QTest::newRow("left edge clamps") << 2 << QPoint(0, 5) << QRect(QPoint(0, 3), QPoint(1, 6));
    }
    void pencilSquares() {
        QFETCH(int, thickness);
        QFETCH(QPoint, at);
        QFETCH(QRect, painted);
        TMask mask = TMask::CreateBlank(30, 20);
        PaintBrush(mask, at.x(), at.y(), thickness, 1);
        QCOMPARE(PixelsOf(mask, 1),
                 Rect(painted.left(), painted.top(), painted.right(), painted.bottom()));
    }

    void lineRuns() {
        TMask mask = TMask::CreateBlank(40, 20);
        PaintThickLine(mask, 10, 10, 20, 10, 1, 1);
        QCOMPARE(PixelsOf(mask, 1), Rect(9, 10, 20, 10));
        TMask vertical = TMask::CreateBlank(40, 30);
        PaintThickLine(vertical, 5, 2, 5, 8, 1, 2);
        QCOMPARE(PixelsOf(vertical, 2), Rect(4, 2, 5, 8));
        TMask same = TMask::CreateBlank(10, 10);
        PaintLine(same, 3, 3, 3, 3, 2, 1);
        QVERIFY(PixelsOf(same, 1).isEmpty());
    }

    void diagonalLineTakesHalvesToEven() {
        TMask mask = TMask::CreateBlank(20, 10);
        PaintLine(mask, 0, 0, 4, 2, 1, 1); // y = nearest(x / 2): 0, 0 (0.5), 1, 2 (1.5), 2
        QCOMPARE(PixelsOf(mask, 1), (QSet<QPoint>{{0, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 2}}));
    }

    void lineToolChain() {
        Fixture f;
        f.ws.CurrentTool = LineTool;
        f.tools.ImageMouseDown(false, 10, 10); // the first press only sets the start
        QVERIFY(PixelsOf(f.ws.Doc.Mask, 1).isEmpty());
        QCOMPARE(f.ws.History.NodeCount(), 0);
        f.tools.ImageMouseDown(false, 20, 10);
        QCOMPARE(PixelsOf(f.ws.Doc.Mask, 1), Rect(9, 10, 20, 10));
        f.tools.ImageMouseDown(false, 20, 10); // on the anchor: no paint, an undo entry
        QCOMPARE(f.ws.History.NodeCount(), 2);
        f.tools.ImageMouseDown(true, 0, 0); // the right button ends the chain
        QCOMPARE(f.ws.LineAnchorX, -1);
        f.tools.ImageMouseDown(false, 30, 20);
        QCOMPARE(PixelsOf(f.ws.Doc.Mask, 1).size(), 12);
        QVERIFY(f.ws.Doc.Modified);
        // Undo moves the anchor back too.
        f.tools.ImageMouseDown(false, 30, 25);
        f.ws.undoClick();
        QCOMPARE(f.ws.LineAnchorX, 30);
        QCOMPARE(f.ws.LineAnchorY, 20);
    }

    void noLayerSelectedHints() {
        Fixture f;
        f.row = -1;
        f.ws.CurrentTool = PencilTool;
        f.tools.ImageMouseDown(false, 5, 5);
        f.ws.CurrentTool = ToleranceFillTool;
        f.tools.ImageMouseDown(false, 5, 5);
        QCOMPARE(f.prompts.Texts(),
                 (QStringList{"Vyberte, prosím, vrstvu.", "Vyberte, prosím, vrsrvu."}));
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Rada"));
        QCOMPARE(f.prompts.asked[0].icon, Prompts::Icon::Warning);
        QVERIFY(f.ws.Doc.Modified);
    }

    void toleranceFillStopsAtTheThreshold() {
        // Columns of growing distance from the seed: 0, 10, 19, 20, 30 (mean channel).
        QImage view(5, 3, QImage::Format_BGR888);
        const int steps[] = {0, 10, 19, 20, 30};
        for (int x = 0; x < 5; ++x)
            for (int y = 0; y < 3; ++y)
                view.setPixelColor(x, y, QColor(100 + steps[x], 100 + steps[x], 100 + steps[x]));
        TMask mask = TMask::CreateBlank(5, 3);
        FloodFill(mask, view, 0, 1, Rgb(100, 100, 100), 20, Rgb(93, 170, 70), 1);
        QCOMPARE(PixelsOf(mask, 1), Rect(0, 0, 2, 2));
    }

    // The edges of both conditions, with the pixel that meets them where the fill's
    // vector loop looks at it (x 20) and where its plain loop does (x 98, the last
    // pixels of a row), each with the plain loop alone as well: a row of the seed's
    // colour that the fill crosses unless that pixel stops it.
    void fillConditionsAtTheirEdges_data() {
        QTest::addColumn<QColor>("pixel");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<bool>("crossed");
        // Barrier RGB(93, 170, 70); the row's seed colour 200, 200, 200.
        QTest::newRow("barrier distance 5 (sum 17) stops")
            << QColor(93 + 17, 170, 70) << 255 << false;
        QTest::newRow("barrier distance 6 (sum 18) is crossed")
            << QColor(93, 170 - 18, 70) << 255 << true;
        QTest::newRow("barrier distance 5, sum spread over three channels")
            << QColor(93 - 6, 170 + 6, 70 - 5) << 255 << false;
        QTest::newRow("seed distance 19 (sum 59) is crossed")
            << QColor(200 - 20, 200 - 20, 200 - 19) << 20 << true;
        QTest::newRow("seed distance 20 (sum 60) stops")
            << QColor(200 - 20, 200 + 20, 200 - 20) << 20 << false;
    }
    void fillConditionsAtTheirEdges() {
        QFETCH(QColor, pixel);
        QFETCH(int, tolerance);
        QFETCH(bool, crossed);
        const int width = 100;
        for (const bool plain : {false, true}) {
            Simd::UsePlainLoops(plain);
            for (const int at : {20, 98}) {
                QImage view = Flat(width, 1, QColor(200, 200, 200));
                view.setPixelColor(at, 0, pixel);
                TMask mask = TMask::CreateBlank(width, 1);
                const qint64 filled =
                    FloodFill(mask, view, 0, 0, Rgb(200, 200, 200), tolerance, Barrier, 1);
                QVERIFY2(filled == (crossed ? width : at),
                         qPrintable(QStringLiteral("%1 loop, pixel at %2: %3 filled")
                                        .arg(plain ? "plain" : "vector")
                                        .arg(at)
                                        .arg(filled)));
            }
        }
        Simd::UsePlainLoops(false);
    }

    void fullFillInsideAnOutline() {
        Fixture f(30, 30);
        f.ws.MaskEditMode = true;
        f.ws.Doc.Layers[1].ShownInMaskMode = true;
        // A closed square outline in the layer's mask colour, then a full fill inside.
        for (int y = 5; y <= 20; ++y) {
            f.ws.Doc.Mask.PaintSpan(y, 5, 5, 1);
            f.ws.Doc.Mask.PaintSpan(y, 20, 20, 1);
        }
        f.ws.Doc.Mask.PaintSpan(5, 5, 20, 1);
        f.ws.Doc.Mask.PaintSpan(20, 5, 20, 1);
        f.ws.UpdateWholePicture();
        f.ws.CurrentTool = FullFillTool;
        f.tools.ActiveTolerance = 255;
        f.tools.ImageMouseDown(false, 10, 10);
        QCOMPARE(PixelsOf(f.ws.Doc.Mask, 1), Rect(5, 5, 20, 20));
        // Without an outline the whole connected picture.
        Fixture g(30, 30);
        g.ws.CurrentTool = FullFillTool;
        g.tools.ActiveTolerance = 255;
        g.tools.ImageMouseDown(false, 3, 3);
        QCOMPARE(PixelsOf(g.ws.Doc.Mask, 1).size(), 900);
    }

    void fillOnOriginalStopsAtBlack() {
        QImage view = Flat(10, 3, QColor(200, 200, 200));
        for (int y = 0; y < 3; ++y)
            view.setPixelColor(6, y, QColor(3, 3, 3)); // distance 3 from black: a barrier
        TMask mask = TMask::CreateBlank(10, 3);
        mask.PaintSpan(1, 0, 9, 1);
        FloodFill(mask, view, 0, 1, Rgb(200, 200, 200), 255, Rgb(0, 0, 0), 0);
        QCOMPARE(PixelsOf(mask, 1), Rect(6, 1, 9, 1));
    }

    void fillSpreadsThroughLockedPixelsWithoutPaintingThem() {
        QImage view = Flat(8, 1, QColor(50, 50, 50));
        TMask mask = TMask::CreateBlank(8, 1);
        mask.PaintSpan(0, 3, 4, 2);
        mask.SetLocked(2, true);
        FloodFill(mask, view, 0, 0, Rgb(50, 50, 50), 20, Rgb(93, 170, 70), 1);
        QCOMPARE(PixelsOf(mask, 1), (Rect(0, 0, 2, 0) | Rect(5, 0, 7, 0)));
        QCOMPARE(PixelsOf(mask, 2), Rect(3, 0, 4, 0));
    }

    void fillAtZoomTwoEqualsZoomOne() {
        Fixture one(40, 30), two(40, 30);
        for (Fixture* f : {&one, &two}) {
            QImage& photo = f->ws.Doc.PhotoBitmap;
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x)
                    photo.setPixelColor(x, y, x < 25 ? QColor(120, 120, 120) : QColor(20, 200, 20));
            f->ws.CurrentTool = ToleranceFillTool;
            f->tools.ActiveTolerance = 20;
            f->ws.UpdateWholePicture();
        }
        two.ws.ZoomFactor = 2.0f;
        two.ws.ResizeView();
        two.ws.UpdateWholePicture();
        one.tools.ImageMouseDown(false, 5, 5);
        two.tools.ImageMouseDown(false, 10, 10); // the same image pixel at zoom 2
        QCOMPARE(two.ws.Doc.Mask, one.ws.Doc.Mask);
        QCOMPARE(PixelsOf(one.ws.Doc.Mask, 1), Rect(0, 0, 24, 29));
        QCOMPARE(two.ws.ZoomFactor, 2.0f);
        QCOMPARE(two.ws.ViewBitmap.size(), QSize(80, 60));
    }

    void pickingASubordinateLayerPicksItsMaster() {
        Fixture f;
        LayerRecord sub = NewLayerTemplate(2);
        sub.Name = QStringLiteral("Římsa");
        sub.Subordinate = true;
        sub.MasterName = QStringLiteral("Zeď");
        f.ws.Doc.Layers.append(sub);
        f.ws.Doc.Mask.PaintSpan(3, 0, 39, 2);
        int picked = -1;
        f.tools.PickLayer = [&picked](int layer) { picked = layer; };
        f.ws.CurrentTool = PickLayerTool;
        f.tools.ImageMouseDown(false, 4, 3);
        QCOMPARE(picked, 1);
        QVERIFY(!f.ws.Doc.Layers[1].ShownInMaskMode);
        picked = -1;
        f.tools.ImageMouseDown(false, 4, 20); // "Originál": nothing
        QCOMPARE(picked, -1);
    }

    void pencilStrokeBelongsToItsPress() {
        Fixture f;
        f.ws.CurrentTool = PencilTool;
        f.tools.ImageMouseDown(false, 5, 5);
        f.tools.ImageMouseMove(true, false, 15, 5);
        f.tools.ImageMouseMove(true, false, 25, 5);
        QCOMPARE(f.ws.History.NodeCount(), 1);
        QVERIFY(PixelsOf(f.ws.Doc.Mask, 1).contains(QPoint(24, 4)));
        f.ws.undoClick();
        QVERIFY(PixelsOf(f.ws.Doc.Mask, 1).isEmpty());
    }

    void markerNeverStaysInThePicture() {
        Fixture f;
        f.ws.CurrentTool = PencilTool;
        f.ws.Thickness = 3;
        const QImage clean = f.ws.ViewBitmap.copy();
        f.tools.ImageMouseMove(false, false, 10, 10);
        QVERIFY(f.ws.ViewBitmap != clean);
        QVERIFY(f.ws.Marker.MarkerDrawn);
        f.ws.Marker.EraseMarker(f.ws.ViewBitmap);
        QCOMPARE(f.ws.ViewBitmap, clean);
        f.ws.Marker.DrawMarker(f.ws.ViewBitmap);
        f.ws.UpdateWholePicture(); // erased, rebuilt, drawn again
        f.ws.Marker.EraseMarker(f.ws.ViewBitmap);
        QCOMPARE(f.ws.ViewBitmap, clean);
    }

    // What the screen is told to show after a dab, a line, a fill, undo and redo
    // already holds the marker: it does not vanish until the mouse moves.
    void markerIsShownAfterEveryEdit() {
        struct Screen : ViewPort {
            const QImage* view = nullptr;
            QImage shown;
            QPoint ScrollPosition() const override { return {}; }
            void SetScrollPosition(QPoint) override {}
            void ViewChanged(const QRect& area) override {
                if (shown.size() != view->size())
                    shown = view->copy();
                QPainter(&shown).drawImage(area.topLeft(), *view, area);
            }
        } screen;
        Fixture f;
        screen.view = &f.ws.ViewBitmap;
        f.ws.SetViewPort(&screen);
        f.ws.CurrentTool = PencilTool;
        f.ws.Thickness = 2;
        const auto markerShown = [&] {
            f.ws.Marker.EraseMarker(f.ws.ViewBitmap);
            const QImage clean = f.ws.ViewBitmap.copy();
            f.ws.Marker.DrawMarker(f.ws.ViewBitmap);
            return screen.shown == f.ws.ViewBitmap && screen.shown != clean;
        };
        f.tools.ImageMouseMove(false, false, 20, 15);
        QVERIFY(markerShown());
        f.tools.ImageMouseDown(false, 20, 15); // a dab
        QVERIFY(markerShown());
        f.ws.undoClick();
        QVERIFY(markerShown());
        f.ws.redoClick();
        QVERIFY(markerShown());
        f.ws.CurrentTool = FullFillTool;
        f.tools.ActiveTolerance = 255;
        f.tools.ImageMouseDown(false, 5, 5);
        f.ws.CurrentTool = PencilTool;
        QVERIFY(markerShown());
        f.ws.SetViewPort(nullptr);
    }

    void panningReturnsTheScrollChange() {
        Fixture f;
        f.tools.ImageMouseMove(false, false, 50, 50);
        QCOMPARE(f.tools.ImageMouseMove(false, true, 40, 45), QPoint(10, 5));
    }

    void zoomLimitsAndScrollPositions() {
        Workspace ws;
        ws.Doc.ProjectPath = QStringLiteral("/x/a.bmp");
        ws.Doc.PhotoBitmap = Flat(2000, 10, Qt::gray);
        ws.Doc.Mask = TMask::CreateBlank(2000, 10);
        ws.ResizeView();
        ws.ZoomIn(QSize(588, 453));
        QCOMPARE(ws.ZoomFactor, 2.0f);
        ws.ZoomIn(QSize(588, 453));
        QCOMPARE(ws.ZoomFactor, 2.0f); // 2 × 2 × 2000 = 8000 > 6000
        ws.Doc.Mask = TMask::CreateBlank(1500, 10);
        ws.Doc.PhotoBitmap = Flat(1500, 10, Qt::gray);
        ws.ZoomIn(QSize(588, 453));
        QCOMPARE(ws.ZoomFactor, 4.0f); // 6000 is allowed
        QCOMPARE(ws.ViewBitmap.size(), QSize(6000, 40));
        ws.ZoomIn(QSize(588, 453));
        QCOMPARE(ws.ZoomFactor, 4.0f);
        for (int i = 0; i < 5; ++i)
            ws.ZoomOut(QSize(588, 453));
        QCOMPARE(ws.ZoomFactor, 0.25f);
    }

    // A photograph wider than 6000 pixels opens at zoom 1 and cannot be enlarged, but
    // once zoomed out it comes back to its own size.
    void widePhotographZoomsBackToItsOwnSize() {
        Workspace ws;
        ws.Doc.ProjectPath = QStringLiteral("/x/a.bmp");
        ws.Doc.PhotoBitmap = Flat(8660, 4, Qt::gray);
        ws.Doc.Mask = TMask::CreateBlank(8660, 4);
        ws.ResizeView();
        const QList<std::pair<bool, float>> steps = {{true, 1.0f}, {false, 0.5f}, {false, 0.25f},
                                                     {true, 0.5f}, {true, 1.0f},  {true, 1.0f}};
        for (const auto& [in, zoom] : steps) {
            if (in)
                ws.ZoomIn(QSize(588, 453));
            else
                ws.ZoomOut(QSize(588, 453));
            QCOMPARE(ws.ZoomFactor, zoom);
            QCOMPARE(ws.ViewBitmap.size(), QSize(NearestInt(8660 * zoom), NearestInt(4 * zoom)));
        }
    }

    void zoomKeepsTheCentre() {
        struct Port : ViewPort {
            QPoint scroll;
            QPoint ScrollPosition() const override { return scroll; }
            void SetScrollPosition(QPoint p) override { scroll = p; }
            void ViewChanged(const QRect&) override {}
        } port;
        Workspace ws;
        ws.Doc.ProjectPath = QStringLiteral("/x/a.bmp");
        ws.Doc.PhotoBitmap = Flat(1000, 800, Qt::gray);
        ws.Doc.Mask = TMask::CreateBlank(1000, 800);
        ws.ResizeView();
        ws.SetViewPort(&port);
        port.scroll = QPoint(100, 50);
        ws.ZoomIn(QSize(588, 453));
        QCOMPARE(port.scroll, QPoint(494, 326));
        ws.ZoomOut(QSize(588, 453));
        QCOMPARE(port.scroll, QPoint(200, 100));
        ws.SetViewPort(nullptr);
    }

    // The fill against a plain 4-connected search written from the rule, on noisy
    // pictures wide enough for the block and word shortcuts to matter.
    void fillMatchesAPlainSearch_data() {
        QTest::addColumn<int>("seed");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("drawn"); // layers the view draws
        QTest::addColumn<int>("startLayer");   // -1: a blank mask
        QTest::addColumn<bool>("malformed");
        QTest::newRow("tolerance 20") << 1 << 20 << 301 << QList<int>{} << -1 << false;
        QTest::newRow("tolerance 45") << 2 << 45 << 301 << QList<int>{} << -1 << false;
        QTest::newRow("full fill") << 3 << 255 << 301 << QList<int>{} << -1 << false;
        QTest::newRow("tolerance 5") << 4 << 5 << 301 << QList<int>{} << -1 << false;
        // Rows that end exactly at a 64-pixel word, one pixel past it, and inside one.
        QTest::newRow("width of whole words") << 5 << 45 << 256 << QList<int>{} << -1 << false;
        QTest::newRow("one pixel past a word") << 6 << 255 << 257 << QList<int>{} << -1 << false;
        QTest::newRow("narrower than a word") << 7 << 45 << 37 << QList<int>{} << -1 << false;
        // Layers drawn in colours: the fill keeps to what its start pixel shows.
        QTest::newRow("layers, none drawn") << 8 << 255 << 301 << QList<int>{} << 2 << false;
        QTest::newRow("from the photograph past drawn layers")
            << 9 << 255 << 301 << QList<int>{1, 3} << 0 << false;
        QTest::newRow("from the photograph of an undrawn layer")
            << 10 << 45 << 257 << QList<int>{1, 3} << 2 << false;
        QTest::newRow("within a drawn layer") << 11 << 255 << 301 << QList<int>{1, 3} << 3 << false;
        QTest::newRow("within a drawn layer, tolerance 45")
            << 12 << 45 << 256 << QList<int>{2} << 2 << false;
        QTest::newRow("malformed rows, from the photograph")
            << 13 << 255 << 301 << QList<int>{1, 2} << 0 << true;
        QTest::newRow("malformed rows, within a drawn layer")
            << 14 << 255 << 301 << QList<int>{1, 2} << 1 << true;
    }
    void fillMatchesAPlainSearch() {
        QFETCH(int, seed);
        QFETCH(int, tolerance);
        QFETCH(int, width);
        QFETCH(QList<int>, drawn);
        QFETCH(int, startLayer);
        QFETCH(bool, malformed);
        const QImage view = NoisyPicture(width, 97, seed);
        const QPoint start(width / 2, 48);
        TMask mask = TMask::CreateBlank(view.width(), view.height());
        if (startLayer >= 0) {
            mask = RandomLayers(view.width(), view.height(), seed, malformed);
            mask.PaintSpan(start.y(), start.x(), start.x(), std::uint8_t(startLayer));
        }
        const QSet<QPoint> expected = PlainFill(view, start, tolerance, &mask, drawn);
        const TMask before = mask;
        // The vector loop where the processor has one, and the plain loop.
        for (const bool plain : {false, true}) {
            Simd::UsePlainLoops(plain);
            mask = before;
            const qint64 filled = FloodFill(mask, view, start.x(), start.y(), PixelAt(view, start),
                                            tolerance, Barrier, 5, Drawn(drawn));
            Simd::UsePlainLoops(false);
            QCOMPARE(PixelsOf(mask, 5), expected);
            QCOMPARE(filled, qint64(expected.size()));
            // Every other pixel keeps its layer.
            for (int y = 0; y < mask.Height; ++y)
                for (int x = 0; x < mask.Width; ++x)
                    if (!expected.contains(QPoint(x, y)))
                        QCOMPARE(mask.LayerAt(x, y), before.LayerAt(x, y));
        }
    }

    // What the program shows for a layer in a colour of its own (a mask colour, a
    // shade) belongs to that layer alone: a fill never takes a pixel only because
    // another layer is drawn in a colour like its start's.
    void fillKeepsToWhatItsStartShows_data() {
        QTest::addColumn<FillScene>("scene");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<int>("layer"); // the layer filled with
        QTest::addColumn<QRegion>("filled");
        const Colour windows = Rgb(93, 170, 70), frames = Rgb(186, 85, 140);
        const Colour plinth = Rgb(24, 0, 210);
        // "Rámy" follows "Okna" and is drawn in its mask colour.
        const FillScene window = [=](Workspace& ws) {
            ws.MaskEditMode = true;
            LayerRecord frame = Layer(QStringLiteral("Rámy"), frames);
            frame.Subordinate = true;
            frame.MasterName = QStringLiteral("Okna");
            ws.Doc.Layers = {OriginalLayerTemplate(), Layer(QStringLiteral("Okna"), windows), frame,
                             Layer(QStringLiteral("Sokl"), plinth)};
            PaintRect(ws.Doc.Mask, QRect(0, 0, 20, 10), 1);
            PaintRect(ws.Doc.Mask, QRect(0, 10, 20, 10), 2);
        };
        QTest::newRow("a subordinate layer's pixels without its master's")
            << window << QPoint(5, 15) << 2 << QRegion(0, 10, 20, 10);
        QTest::newRow("the master's pixels without its subordinate's")
            << window << QPoint(5, 5) << 3 << QRegion(0, 0, 20, 10);
        QTest::newRow("the photograph without the drawn layers")
            << window << QPoint(30, 5) << 3 << QRegion(20, 0, 20, 30) + QRegion(0, 20, 20, 10);
        // The lawn's photograph lies within the tolerance of the facade's mask colour.
        const FillScene lawn = [=](Workspace& ws) {
            ws.MaskEditMode = true;
            ws.Doc.Layers = {OriginalLayerTemplate(), Layer(QStringLiteral("Fasáda"), windows),
                             Layer(QStringLiteral("Sokl"), plinth)};
            for (int y = 15; y < 30; ++y)
                for (int x = 0; x < 40; ++x)
                    ws.Doc.PhotoBitmap.setPixelColor(x, y, QColor(100, 168, 75));
            PaintRect(ws.Doc.Mask, QRect(0, 0, 40, 15), 1);
        };
        QTest::newRow("a mask colour does not run into a photograph of its colour")
            << lawn << QPoint(5, 5) << 2 << QRegion(0, 0, 40, 15);
        QTest::newRow("the photograph does not run into a mask colour of its colour")
            << lawn << QPoint(5, 20) << 2 << QRegion(0, 15, 40, 15);
        // Two layers in one mask colour.
        QTest::newRow("another layer in the same mask colour") << FillScene([=](Workspace& ws) {
            ws.MaskEditMode = true;
            ws.Doc.Layers = {OriginalLayerTemplate(), Layer(QStringLiteral("A"), windows),
                             Layer(QStringLiteral("B"), windows),
                             Layer(QStringLiteral("C"), plinth)};
            PaintRect(ws.Doc.Mask, QRect(0, 0, 20, 30), 1);
            PaintRect(ws.Doc.Mask, QRect(20, 0, 20, 30), 2);
        }) << QPoint(25, 5) << 3 << QRegion(20, 0, 20, 30);
        // In colour mode a shade that gives the photograph's own grey.
        const FillScene shaded = [=](Workspace& ws) {
            LayerRecord wall = Layer(QStringLiteral("Zeď"), windows);
            wall.RealColour = Rgb(120, 120, 120);
            wall.ShadeColour = Rgb(122, 122, 122);
            wall.HiddenInColourMode = false;
            ws.Doc.Layers = {OriginalLayerTemplate(), wall, Layer(QStringLiteral("Sokl"), plinth)};
            PaintRect(ws.Doc.Mask, QRect(20, 0, 20, 30), 1);
        };
        QTest::newRow("colour mode: the photograph without a shaded layer")
            << shaded << QPoint(5, 5) << 2 << QRegion(0, 0, 20, 30);
        QTest::newRow("colour mode: a shaded layer without the photograph")
            << shaded << QPoint(25, 5) << 2 << QRegion(20, 0, 20, 30);
        // Nothing drawn: colours alone, across layers, as ever.
        QTest::newRow("a layer shown with the photograph counts by colour")
            << FillScene([=](Workspace& ws) {
                   LayerRecord hidden = Layer(QStringLiteral("Zeď"), windows);
                   hidden.ShadeColour = Rgb(10, 10, 200);
                   ws.Doc.Layers = {OriginalLayerTemplate(), hidden,
                                    Layer(QStringLiteral("Sokl"), plinth)};
                   PaintRect(ws.Doc.Mask, QRect(20, 0, 20, 30), 1);
               })
            << QPoint(5, 5) << 2 << QRegion(0, 0, 40, 30);
    }
    void fillKeepsToWhatItsStartShows() {
        QFETCH(FillScene, scene);
        QFETCH(QPoint, start);
        QFETCH(int, layer);
        QFETCH(QRegion, filled);
        for (const float zoom : {1.0f, 2.0f}) {
            Fixture f;
            scene(f.ws);
            f.ws.ZoomFactor = zoom;
            f.ws.ResizeView();
            f.ws.UpdateWholePicture();
            f.row = layer;
            f.ws.CurrentTool = ToleranceFillTool;
            f.tools.ActiveTolerance = 20;
            f.tools.ImageMouseDown(false, int(start.x() * zoom), int(start.y() * zoom));
            QCOMPARE(PixelsOf(f.ws.Doc.Mask, layer), PointsOf(filled));
        }
    }

    // What one fill leaves behind never shows in the next: fills in pictures of other
    // sizes and in the same picture again, each against the plain search.
    void fillDependsOnlyOnItsOwnInputs() {
        struct Step {
            QSize size;
            int picture; // negative: a frame picture
            QPoint start;
            int tolerance;
        };
        const Step steps[] = {
            {{300, 200}, 1, {150, 100}, 255}, {{300, 200}, -1, {5, 5}, 20},
            {{600, 400}, 2, {20, 390}, 20},   {{600, 400}, 2, {300, 200}, 255},
            {{450, 300}, -2, {440, 150}, 30}, {{300, 200}, 3, {299, 0}, 45},
            {{300, 200}, 1, {10, 10}, 5},     {{130, 470}, 4, {65, 235}, 255},
            {{600, 400}, -3, {590, 5}, 30},
        };
        for (const Step& step : steps) {
            const QImage view =
                step.picture < 0
                    ? FramePicture(step.size.width(), step.size.height(), -step.picture)
                    : NoisyPicture(step.size.width(), step.size.height(), step.picture);
            TMask mask = TMask::CreateBlank(view.width(), view.height());
            FloodFill(mask, view, step.start.x(), step.start.y(), PixelAt(view, step.start),
                      step.tolerance, Barrier, 1);
            QCOMPARE(PixelsOf(mask, 1), PlainFill(view, step.start, step.tolerance));
        }
    }

    void colourDistance() {
        QCOMPARE(ColourDistance(Rgb(0, 0, 0), Rgb(255, 255, 255)), 255);
        QCOMPARE(ColourDistance(Rgb(10, 20, 30), Rgb(11, 20, 30)), 0);
        QCOMPARE(ColourDistance(Rgb(10, 20, 30), Rgb(13, 20, 30)), 1);
    }
};

QTEST_GUILESS_MAIN(TestTools)
#include "test_tools.moc"
