// The smart selection tool in the workspace: strokes pressed and dragged on the
// view at any zoom, applying as one undo step with locked layers kept, dropping,
// the photograph's preparation on its own thread, and another project opened while
// it runs.
#include "FacadePictures.h"
#include "FacadeSelection.h"

#include "editing/SmartSelection.h"
#include "project/PhotoFiles.h"
#include "support/ScriptedPrompts.h"
#include "workspace/ProjectOperations.h"
#include "workspace/ToolActions.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A saved project of a generated facade: layer 1 "Fasáda", layer 2 "Okna" painted
// over the left tenth of the picture.
QString SaveFacadeProject(const QString& folder, const QString& name, std::uint32_t seed, int width,
                          int height) {
    const Facades::Facade facade = Facades::MakeFacade(seed, width, height);
    const QString photo = QDir(folder).filePath(name);
    PhotoFiles::SaveBmp(photo, facade.Photo);
    TMask mask = TMask::CreateBlank(width, height);
    for (int y = 0; y < height; ++y)
        mask.PaintSpan(y, 0, width / 10, 2);
    LayerList layers{OriginalLayerTemplate(), NewLayerTemplate(1), NewLayerTemplate(2)};
    layers[1].Name = QStringLiteral("Fasáda");
    layers[2].Name = QStringLiteral("Okna");
    mask.SaveToFile(photo + QStringLiteral(".mask"), layers, {});
    return photo;
}

struct Fixture {
    QTemporaryDir dir;
    Workspace ws;
    ScriptedPrompts prompts;
    ToolActions tools{ws, prompts};
    int row = 1;
    Facades::Facade facade = Facades::MakeFacade(40, 600, 400);
    QString photo = SaveFacadeProject(dir.path(), QStringLiteral("dum.bmp"), 40, 600, 400);

    Fixture() {
        tools.SelectedRow = [this] { return row; };
        // The project file holds the photograph as the facade's JPEG gave it.
        facade.Photo = PhotoFiles::LoadBmp(photo);
    }
    bool Open() { return OpenProjectFile(ws, prompts, photo); }

    // A stroke along the first scripted stroke's path, in view points at the zoom.
    void Stroke(const SmartStroke& stroke, bool right = false) {
        const double z = ws.ZoomFactor;
        const auto view = [z](QPoint p) { return QPoint(int(p.x() * z), int(p.y() * z)); };
        tools.ImageMouseDown(right, view(stroke.Points.front()).x(),
                             view(stroke.Points.front()).y());
        for (size_t i = 1; i < stroke.Points.size(); ++i)
            tools.ImageMouseMove(!right, false, view(stroke.Points[i]).x(),
                                 view(stroke.Points[i]).y(), right);
        tools.ImageMouseUp(view(stroke.Points.back()).x(), view(stroke.Points.back()).y());
    }
};

} // namespace

class TestSmartSelectionTool : public QObject {
    Q_OBJECT

private slots:
    void strokeAtEveryZoom_data();
    void strokeAtEveryZoom();
    void applyIsOneUndoStep();
    void viewAfterApplyIsWhole_data();
    void viewAfterApplyIsWhole();
    void lockedLayersKept();
    void lockedCurrentLayerWritesNothing();
    void dropChangesNothing();
    void noLayerSelected();
    void strokeBeforePreparationIsReady();
    void anotherProjectDuringPreparation();
    void preparerFollowsThePhotograph();
};

void TestSmartSelectionTool::strokeAtEveryZoom_data() {
    QTest::addColumn<int>("zoomSteps"); // + in, - out
    QTest::newRow("1") << 0;
    QTest::newRow("2") << 1;
    QTest::newRow("4") << 2;
    QTest::newRow("0.5") << -1;
}

// The same stroke over the same photograph pixels proposes the same region at every
// zoom: strokes are kept in photograph pixels, the width from the tool's setting.
void TestSmartSelectionTool::strokeAtEveryZoom() {
    QFETCH(int, zoomSteps);
    Fixture f;
    QVERIFY(f.Open());
    f.ws.CurrentTool = SmartSelectTool;
    f.ws.Thickness = 3;
    for (int i = 0; i < zoomSteps; ++i)
        f.ws.ZoomIn(QSize(800, 600));
    for (int i = 0; i < -zoomSteps; ++i)
        f.ws.ZoomOut(QSize(800, 600));
    // Points on even pixels, which every zoom here reaches exactly.
    SmartStroke stroke = Facades::FirstStroke(f.facade);
    for (QPoint& p : stroke.Points)
        p = QPoint(p.x() / 4 * 4, p.y() / 4 * 4);
    f.Stroke(stroke);
    QCOMPARE(f.ws.Smart.Strokes().size(), size_t(1));
    QCOMPARE(f.ws.Smart.Strokes().front().HalfWidth, 3);
    QCOMPARE(f.ws.Smart.Strokes().front().Points.front(), stroke.Points.front());
    QCOMPARE(f.ws.Smart.Strokes().front().Points.back(), stroke.Points.back());
    stroke.HalfWidth = 3;
    const auto p = PrepareSmartSelection(f.facade.Photo);
    const SmartProposal expected = ProposeRegion(*p, f.facade.Photo, {stroke});
    QVERIFY(!expected.IsEmpty());
    QVERIFY(f.ws.Smart.Proposal() == expected);
    QVERIFY(Facades::WallIoU(f.facade, f.ws.Smart.Proposal()) > 0.9);
    // A stroke is no edit.
    QVERIFY(!f.ws.Doc.Modified);
    QCOMPARE(f.ws.History.NodeCount(), 0);
}

// Applying writes the proposal into the layer as one undo step; undo brings the mask
// back exactly and redo the written one.
void TestSmartSelectionTool::applyIsOneUndoStep() {
    Fixture f;
    QVERIFY(f.Open());
    f.ws.CurrentTool = SmartSelectTool;
    f.ws.Thickness = 2;
    const TMask before = f.ws.Doc.Mask;
    f.Stroke(Facades::FirstStroke(f.facade));
    const SmartProposal proposal = f.ws.Smart.Proposal();
    QVERIFY(!proposal.IsEmpty());
    TMask expected = before;
    WriteProposal(expected, proposal, 1);

    f.tools.ApplySmartSelection();
    QVERIFY(f.ws.Doc.Mask == expected);
    QVERIFY(f.ws.Doc.Modified);
    QCOMPARE(f.ws.History.NodeCount(), 1);
    QVERIFY(f.ws.Smart.Proposal().IsEmpty());
    QVERIFY(f.ws.Smart.Strokes().empty());
    // Every proposed pixel outside the locked-free "Okna" strip is the facade's now.
    QCOMPARE(f.ws.Doc.Mask.LayerAt(proposal.Row(proposal.Bounds().top())[0].First,
                                   proposal.Bounds().top()),
             std::uint8_t(1));

    f.ws.undoClick();
    QVERIFY(f.ws.Doc.Mask == before);
    f.ws.redoClick();
    QVERIFY(f.ws.Doc.Mask == expected);
    // As after any redo: the first undo shows the redone state again, the next the
    // state before.
    f.ws.undoClick();
    QVERIFY(f.ws.Doc.Mask == expected);
    f.ws.undoClick();
    QVERIFY(f.ws.Doc.Mask == before);
    // Applying again with nothing proposed does nothing.
    f.tools.ApplySmartSelection();
    QVERIFY(f.ws.Doc.Mask == before);
}

void TestSmartSelectionTool::viewAfterApplyIsWhole_data() {
    QTest::addColumn<int>("zoomSteps"); // + in, - out
    QTest::addColumn<bool>("excludeMiddle");
    QTest::newRow("1, the wall around its windows") << 0 << false;
    QTest::newRow("2, the wall with its middle left out") << 1 << true;
    QTest::newRow("0.5, the wall with its middle left out") << -1 << true;
}

// After applying, the view shows every written pixel: it is the picture drawn anew
// from the mask, also where the proposal's rows hold several runs.
void TestSmartSelectionTool::viewAfterApplyIsWhole() {
    QFETCH(int, zoomSteps);
    QFETCH(bool, excludeMiddle);
    Fixture f;
    QVERIFY(f.Open());
    f.ws.CurrentTool = SmartSelectTool;
    f.ws.MaskEditMode = true;
    // The layer in its mask colour, which every written pixel shows.
    f.ws.Doc.Layers[1].ShownInMaskMode = true;
    for (int i = 0; i < zoomSteps; ++i)
        f.ws.ZoomIn(QSize(800, 600));
    for (int i = 0; i < -zoomSteps; ++i)
        f.ws.ZoomOut(QSize(800, 600));
    f.ws.UpdateWholePicture();
    f.Stroke(Facades::FirstStroke(f.facade));
    if (excludeMiddle) {
        // A band down the middle, so that the wall's rows part in two.
        f.Stroke(SmartStroke{{QPoint(300, -10), QPoint(300, 410)}, 40, false}, true);
    }
    const SmartProposal proposal = f.ws.Smart.Proposal();
    int severalRuns = 0;
    for (int y = 0; y < proposal.Height(); ++y)
        severalRuns += proposal.Row(y).size() > 1;
    QVERIFY2(severalRuns > 50, qPrintable(QString::number(severalRuns)));
    const QImage before = f.ws.ViewBitmap.copy();
    f.tools.ApplySmartSelection();
    QVERIFY(f.ws.Smart.Proposal().IsEmpty());
    const QImage shown = f.ws.ViewBitmap.copy();
    QVERIFY(shown != before);
    f.ws.UpdateWholePicture();
    QCOMPARE(shown, f.ws.ViewBitmap);
}

// Pixels of a locked layer keep it, exactly as a fill leaves them.
void TestSmartSelectionTool::lockedLayersKept() {
    Fixture f;
    QVERIFY(f.Open());
    f.ws.CurrentTool = SmartSelectTool;
    f.ws.Doc.Layers[2].Locked = true;
    f.ws.Doc.Mask.SetLocked(2, true);
    // Everything proposed: a stroke over a photograph of one colour would do, but a
    // stroke across the whole facade with the wall and the strip reaches both.
    SmartStroke across = Facades::FirstStroke(f.facade);
    across.Points.front().setX(0);
    f.Stroke(across);
    const SmartProposal proposal = f.ws.Smart.Proposal();
    QVERIFY(proposal.Contains(0, across.Points.front().y()));
    const TMask before = f.ws.Doc.Mask;
    f.tools.ApplySmartSelection();
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 600; ++x) {
            const std::uint8_t was = before.LayerAt(x, y);
            const std::uint8_t now = f.ws.Doc.Mask.LayerAt(x, y);
            if (was == 2)
                QCOMPARE(now, std::uint8_t(2));
            else
                QCOMPARE(now, proposal.Contains(x, y) ? std::uint8_t(1) : was);
        }
    }
}

void TestSmartSelectionTool::lockedCurrentLayerWritesNothing() {
    Fixture f;
    QVERIFY(f.Open());
    f.ws.CurrentTool = SmartSelectTool;
    f.ws.Doc.Layers[1].Locked = true;
    f.ws.Doc.Mask.SetLocked(1, true);
    f.Stroke(Facades::FirstStroke(f.facade));
    QVERIFY(!f.ws.Smart.Proposal().IsEmpty());
    const TMask before = f.ws.Doc.Mask;
    f.tools.ApplySmartSelection();
    QVERIFY(f.ws.Doc.Mask == before);
    QCOMPARE(f.ws.History.NodeCount(), 0);
    QVERIFY(!f.ws.Doc.Modified);
}

// Esc (or another tool) drops the strokes and the proposal; the mask, the history
// and the modified flag stay as they were.
void TestSmartSelectionTool::dropChangesNothing() {
    Fixture f;
    QVERIFY(f.Open());
    f.ws.CurrentTool = SmartSelectTool;
    const TMask before = f.ws.Doc.Mask;
    f.Stroke(Facades::FirstStroke(f.facade));
    SmartStroke out = Facades::FirstStroke(f.facade);
    out.Points = {QPoint(5, 5), QPoint(200, 8)};
    f.Stroke(out, true);
    QCOMPARE(f.ws.Smart.Strokes().size(), size_t(2));
    QVERIFY(!f.ws.Smart.Strokes().back().Include);
    f.tools.DropSmartSelection();
    QVERIFY(f.ws.Smart.Strokes().empty());
    QVERIFY(f.ws.Smart.Proposal().IsEmpty());
    QVERIFY(f.ws.Doc.Mask == before);
    QCOMPARE(f.ws.History.NodeCount(), 0);
    QVERIFY(!f.ws.Doc.Modified);
    f.tools.ApplySmartSelection();
    QVERIFY(f.ws.Doc.Mask == before);
}

void TestSmartSelectionTool::noLayerSelected() {
    Fixture f;
    QVERIFY(f.Open());
    f.ws.CurrentTool = SmartSelectTool;
    f.row = -1;
    f.Stroke(Facades::FirstStroke(f.facade));
    QVERIFY(f.ws.Smart.Strokes().empty());
    QCOMPARE(f.prompts.asked.size(), 1);
    QCOMPARE(f.prompts.asked.front().text, QStringLiteral("Vyberte, prosím, vrstvu."));
    QCOMPARE(f.prompts.asked.front().caption, QStringLiteral("Rada"));
}

// A stroke made at once after opening waits for the preparation and proposes what
// a preparation made beforehand does.
void TestSmartSelectionTool::strokeBeforePreparationIsReady() {
    Fixture f;
    QVERIFY(f.Open());
    f.ws.CurrentTool = SmartSelectTool;
    f.Stroke(Facades::FirstStroke(f.facade));
    QVERIFY(f.ws.SmartSelectionReady());
    const auto p = PrepareSmartSelection(f.facade.Photo);
    QVERIFY(f.ws.Smart.Proposal() == ProposeRegion(*p, f.facade.Photo, f.ws.Smart.Strokes()));
}

// Another project opened while the first one's preparation runs: no crash, and the
// next stroke's proposal is the new photograph's, never the old one's.
void TestSmartSelectionTool::anotherProjectDuringPreparation() {
    Fixture f;
    const QString large =
        SaveFacadeProject(f.dir.path(), QStringLiteral("velky.bmp"), 41, 2400, 1600);
    for (int round = 0; round < 3; ++round) {
        QVERIFY(OpenProjectFile(f.ws, f.prompts, large));
        QVERIFY(f.Open());
        f.ws.CurrentTool = SmartSelectTool;
        f.Stroke(Facades::FirstStroke(f.facade));
        const SmartProposal& proposal = f.ws.Smart.Proposal();
        QCOMPARE(proposal.Width(), 600);
        QCOMPARE(proposal.Height(), 400);
        QVERIFY(Facades::WallIoU(f.facade, proposal) > 0.9);
        QVERIFY(f.ws.Smart.Preparation());
        QCOMPARE(f.ws.Smart.Preparation()->PhotoWidth, 600);
    }
    // Strokes made on the large photograph go when the small one opens.
    QVERIFY(OpenProjectFile(f.ws, f.prompts, large));
    f.Stroke(Facades::FirstStroke(f.facade));
    QVERIFY(!f.ws.Smart.Strokes().empty());
    QVERIFY(f.Open());
    QVERIFY(f.ws.Smart.Strokes().empty());
    QVERIFY(f.ws.Smart.Proposal().IsEmpty());
}

// The preparer hands out only what belongs to the photograph asked about.
void TestSmartSelectionTool::preparerFollowsThePhotograph() {
    const Facades::Facade a = Facades::MakeFacade(42, 300, 200);
    const Facades::Facade b = Facades::MakeFacade(43, 300, 200);
    SmartPreparer preparer;
    QVERIFY(!preparer.ReadyFor(a.Photo));
    preparer.Start(a.Photo);
    const auto forA = preparer.For(a.Photo);
    QVERIFY(forA);
    QVERIFY(preparer.ReadyFor(a.Photo));
    QVERIFY(!preparer.ReadyFor(b.Photo));
    // Same size, another photograph: prepared anew.
    const auto forB = preparer.For(b.Photo);
    QVERIFY(forB && forB != forA);
    QVERIFY(!preparer.ReadyFor(a.Photo));
    const auto fresh = PrepareSmartSelection(b.Photo);
    QCOMPARE(forB->RegionCount(), fresh->RegionCount());
    // Cancelled at once, then asked for: prepared again.
    preparer.Start(a.Photo);
    preparer.Cancel();
    const auto again = preparer.For(a.Photo);
    QVERIFY(again);
    QCOMPARE(again->RegionCount(), forA->RegionCount());
    QVERIFY(!preparer.For(QImage()));
}

QTEST_GUILESS_MAIN(TestSmartSelectionTool)
#include "test_smartselectiontool.moc"
