// The main window's before-and-after control: the divider splits the picture into the
// photograph and the recoloured view at every zoom, only the divider follows the
// mouse, and the document stays as it was.
#include "DemoHouse.h"
#include "app/AppWindows.h"
#include "app/ImageView.h"
#include "app/MainWindow.h"
#include "render/BeforeAfter.h"
#include "support/ScriptedPrompts.h"
#include "support/TestProjects.h"
#include "widgets/GlintImage.h"
#include "workspace/ProjectOperations.h"

#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int Width = 300;
constexpr int Height = 200;

// The demo house with a fine pattern laid over it, so that a neighbouring photograph
// pixel taken by mistake shows.
QString SaveTexturedProject(const QString& appDir, const QString& name) {
    DemoProject demo = MakeDemoHouse(Width, Height);
    for (int y = 0; y < Height; ++y) {
        uchar* row = demo.Photo.scanLine(y);
        for (int i = 0; i < 3 * Width; ++i)
            row[i] = uchar(row[i] ^ ((i * 37 + y * 91) & 0x3f));
    }
    return SaveProject(appDir, name, demo, demo.Layers, demo.Schemes);
}

struct Scene {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<AppWindows> windows;
    MainWindow* main = nullptr;
    QString photo;

    Scene() {
        photo = SaveTexturedProject(dir.path(), QStringLiteral("dům.bmp"));
        windows = std::make_unique<AppWindows>(dir.path(), &prompts);
        main = windows->mainWindow.get();
        main->resize(900, 650);
        main->show();
    }
    Workspace& Ws() { return main->Workspace(); }
    TGlintImage* CompareButton() { return main->Button(QStringLiteral("compareButton")); }
    QImage Shown() { return main->imageView->grab().toImage(); }
    void Drag(int from, int to) {
        QTest::mousePress(main->imageView, Qt::LeftButton, {}, QPoint(from, 30));
        QTest::mouseMove(main->imageView, QPoint((from + to) / 2, 35));
        QTest::mouseMove(main->imageView, QPoint(to, 40));
        QTest::mouseRelease(main->imageView, Qt::LeftButton, {}, QPoint(to, 40));
    }
};

} // namespace

class TestMainWindowCompare : public QObject {
    Q_OBJECT
private slots:
    void halvesAreThePhotographAndTheView_data() {
        QTest::addColumn<int>("zoomSteps"); // clicks on zoom in (+) or out (-) after opening
        QTest::addColumn<float>("zoom");
        QTest::addColumn<int>("divider");
        QTest::newRow("zoom 0.5") << -1 << 0.5f << 70;
        QTest::newRow("zoom 1") << 0 << 1.0f << 123;
        QTest::newRow("zoom 2") << 1 << 2.0f << 431;
        QTest::newRow("zoom 2, all photograph") << 1 << 2.0f << 2 * Width;
    }
    void halvesAreThePhotographAndTheView() {
        QFETCH(int, zoomSteps);
        QFETCH(float, zoom);
        QFETCH(int, divider);
        Scene scene;
        Workspace& ws = scene.Ws();
        QVERIFY(OpenProjectFile(ws, scene.prompts, scene.photo));
        scene.main->onSchemeListClicked(1);
        ws.Doc.Modified = false;
        for (int i = 0; i < std::abs(zoomSteps); ++i)
            zoomSteps > 0 ? scene.main->onZoomInClicked() : scene.main->onZoomOutClicked();
        QCOMPARE(ws.ZoomFactor, zoom);
        const QImage view = ws.ViewBitmap.copy();
        const TMask mask = ws.Doc.Mask;
        const LayerList layers = ws.Doc.Layers;

        QTest::mouseClick(scene.CompareButton(), Qt::LeftButton);
        QVERIFY(scene.main->Comparing());
        QVERIFY(scene.CompareButton()->ShowFixedPicture());
        scene.Drag(40, divider);
        QCOMPARE(scene.main->Comparison().Divider(), std::min(divider, view.width()));

        const QImage shown = scene.Shown();
        QCOMPARE(shown.size(), view.size());
        int photoPixels = 0, viewPixels = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                if (std::abs(x - divider) <= BeforeAfter::GripHalfWidth)
                    continue;
                const QColor expected =
                    x < divider ? ws.Doc.PhotoBitmap.pixelColor(int(x / zoom), int(y / zoom))
                                : view.pixelColor(x, y);
                if (shown.pixelColor(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
                ++(x < divider ? photoPixels : viewPixels);
            }
        }
        QVERIFY(photoPixels > 0);
        QCOMPARE(viewPixels > 0, divider < view.width() - BeforeAfter::GripHalfWidth);
        // The comparison changed nothing of the document or of its view.
        QVERIFY(!ws.Doc.Modified);
        QVERIFY(ws.Doc.Mask == mask);
        QCOMPARE(ws.Doc.Layers, layers);
        QCOMPARE(ws.ViewBitmap, view);

        QTest::mouseClick(scene.CompareButton(), Qt::LeftButton);
        QVERIFY(!scene.main->Comparing());
        QVERIFY(!scene.CompareButton()->ShowFixedPicture());
        QCOMPARE(scene.Shown().convertToFormat(QImage::Format_RGB32),
                 view.convertToFormat(QImage::Format_RGB32));
    }

    // Zooming keeps the divider on the same column of the photograph.
    void theDividerStaysOnThePhotographAcrossZooms() {
        Scene scene;
        Workspace& ws = scene.Ws();
        QVERIFY(OpenProjectFile(ws, scene.prompts, scene.photo));
        QCOMPARE(ws.ZoomFactor, 1.0f);
        scene.main->onCompareClicked();
        scene.Drag(10, 120);
        scene.main->onZoomInClicked();
        QCOMPARE(scene.main->Comparison().Divider(), 240);
        scene.main->onZoomOutClicked();
        scene.main->onZoomOutClicked();
        QCOMPARE(scene.main->Comparison().Divider(), 60);
        QVERIFY(scene.main->Comparing());
    }

    // While comparing, a press on the picture moves the divider and paints nothing;
    // afterwards the pencil paints again.
    void theToolsRestWhileComparing() {
        Scene scene;
        Workspace& ws = scene.Ws();
        QVERIFY(OpenProjectFile(ws, scene.prompts, scene.photo));
        QTest::mouseClick(scene.main->Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QTest::mouseClick(scene.main->Button(QStringLiteral("pencilButton")), Qt::LeftButton);
        // A layer other than the one under the stroke, so that the pencil shows.
        scene.main->layerList->setCurrentRow(ws.Doc.Mask.LayerAt(100, 35) == 1 ? 2 : 1);
        const TMask mask = ws.Doc.Mask;
        scene.main->onCompareClicked();
        scene.Drag(50, 150);
        QVERIFY(ws.Doc.Mask == mask);
        QVERIFY(!ws.Doc.Modified);
        QCOMPARE(scene.main->Comparison().Divider(), 150);
        scene.main->onCompareClicked();
        scene.Drag(50, 150);
        QVERIFY(!(ws.Doc.Mask == mask));
    }

    // The scale's marks are drawn over both halves; a double click on a mark while
    // comparing asks for no length.
    void theScalesMarksStayOnTopWhileComparing() {
        Scene scene;
        Workspace& ws = scene.Ws();
        QVERIFY(OpenProjectFile(ws, scene.prompts, scene.photo));
        QTest::mouseClick(scene.main->Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QTest::mouseClick(scene.main->Button(QStringLiteral("scaleButton")), Qt::LeftButton);
        scene.prompts.inputs << QStringLiteral("1,2") << QStringLiteral("1,5");
        for (const QPoint corner :
             {QPoint(40, 40), QPoint(100, 40), QPoint(100, 90), QPoint(40, 90)})
            QTest::mouseClick(scene.main->imageView, Qt::LeftButton, {}, corner);
        QCOMPARE(ws.Doc.Measures.References.size(), 1);
        const QStringList asked = scene.prompts.inputCaptions;

        scene.main->onCompareClicked();
        scene.Drag(150, 200); // the marks on the photograph's side
        const QImage shown = scene.Shown();
        QVERIFY(shown.pixelColor(100, 40) != ws.Doc.PhotoBitmap.pixelColor(100, 40));
        // Away from the marks, the photograph.
        QCOMPARE(shown.pixelColor(70, 150), ws.Doc.PhotoBitmap.pixelColor(70, 150));

        QTest::mouseDClick(scene.main->imageView, Qt::LeftButton, {}, QPoint(100, 40));
        QCOMPARE(scene.prompts.inputCaptions, asked);
        QCOMPARE(ws.Doc.Measures.References.size(), 1);
        // The comparison over, the same double click retypes the reference.
        scene.main->onCompareClicked();
        QTest::mouseDClick(scene.main->imageView, Qt::LeftButton, {}, QPoint(100, 40));
        QVERIFY(scene.prompts.inputCaptions.size() > asked.size());
    }

    // Another project ends the comparison: its picture is shown whole again.
    void offAfterAnotherProjectOpens() {
        Scene scene;
        Workspace& ws = scene.Ws();
        QVERIFY(OpenProjectFile(ws, scene.prompts, scene.photo));
        QTest::mouseClick(scene.CompareButton(), Qt::LeftButton);
        QVERIFY(scene.main->Comparing());
        QVERIFY(OpenProjectFile(ws, scene.prompts, scene.photo));
        QVERIFY(!scene.main->Comparing());
        QVERIFY(!scene.CompareButton()->ShowFixedPicture());
        QCOMPARE(scene.Shown().convertToFormat(QImage::Format_RGB32),
                 ws.ViewBitmap.convertToFormat(QImage::Format_RGB32));
    }

    // Without a project there is nothing to compare.
    void nothingToCompareWithoutAProject() {
        Scene scene;
        QTest::mouseClick(scene.CompareButton(), Qt::LeftButton);
        QVERIFY(!scene.main->Comparing());
        QVERIFY(!scene.CompareButton()->ShowFixedPicture());
    }
};

QTEST_MAIN(TestMainWindowCompare)
#include "test_mainwindowcompare.moc"
