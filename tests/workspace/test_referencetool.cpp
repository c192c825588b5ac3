// The tool "Měřítko" as a user works it: marks placed by presses on the view at any
// zoom, lengths typed into the prompts, marks moved and references removed, and
// everything that gives no plane refused with the old reference kept.
#include "project/PhotoFiles.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "workspace/ProjectOperations.h"
#include "workspace/ToolActions.h"
#include "workspace/Workspace.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace TestPictures;

namespace {

// An open project of 400 × 300 pixels with the scale tool chosen, at zoom.
struct Scene {
    QTemporaryDir dir;
    QString photo = dir.filePath(QStringLiteral("dum.bmp"));
    Workspace ws;
    ScriptedPrompts prompts;
    ToolActions tools{ws, prompts};
    ReferenceTool& tool = tools.Scale;

    explicit Scene(float zoom = 1.0f) {
        PhotoFiles::SaveBmp(photo, Quadrants(400, 300));
        TMask::CreateBlank(400, 300).SaveToFile(photo + QStringLiteral(".mask"),
                                                {OriginalLayerTemplate()}, {});
        OpenProjectFile(ws, prompts, photo);
        ws.ZoomFactor = zoom;
        ws.CurrentTool = ScaleTool;
    }

    // Presses at photograph points (the view's pixels at the zoom).
    void Click(QPointF photoPoint, bool right = false) {
        const QPointF view = photoPoint * double(ws.ZoomFactor);
        tools.ImageMouseDown(right, int(std::lround(view.x())), int(std::lround(view.y())));
        tools.ImageMouseUp(int(std::lround(view.x())), int(std::lround(view.y())));
    }
    void Drag(QPointF from, QPointF to) {
        const double z = ws.ZoomFactor;
        tools.ImageMouseDown(false, int(from.x() * z), int(from.y() * z));
        tools.ImageMouseMove(true, false, int((from.x() + to.x()) / 2 * z),
                             int((from.y() + to.y()) / 2 * z));
        tools.ImageMouseMove(true, false, int(to.x() * z), int(to.y() * z));
        tools.ImageMouseUp(int(to.x() * z), int(to.y() * z));
    }
    // Marks the rectangle (100, 50) (300, 50) (300, 250) (100, 250) of 2 × 2 m.
    void MarkSquare() {
        prompts.inputs << QStringLiteral("2") << QStringLiteral("2");
        for (QPointF p : {QPointF(100, 50), QPointF(300, 50), QPointF(300, 250), QPointF(100, 250)})
            Click(p);
    }
};

const QList<QPointF> Square{{100, 50}, {300, 50}, {300, 250}, {100, 250}};

} // namespace

class TestReferenceTool : public QObject {
    Q_OBJECT
private slots:
    // Four presses and two lengths make a reference, in photograph pixels at any zoom.
    void fourCornersAndTwoLengths_data() {
        QTest::addColumn<float>("zoom");
        QTest::newRow("zoom 1") << 1.0f;
        QTest::newRow("zoom 2") << 2.0f;
        QTest::newRow("zoom 0.5") << 0.5f;
    }
    void fourCornersAndTwoLengths() {
        QFETCH(float, zoom);
        Scene s(zoom);
        QSignalSpy changed(&s.ws, &Workspace::MeasuresChanged);
        // How many marks there were each time the view was told to draw them again.
        QList<int> drawn;
        s.tool.MarksChanged = [&s, &drawn] { drawn << int(s.tool.PendingPoints().size()); };
        s.prompts.inputs << QStringLiteral("1,2") << QStringLiteral(" 1.5 m");
        for (int i = 0; i < 3; ++i)
            s.Click(Square[i]);
        QCOMPARE(s.tool.PendingPoints(), Square.mid(0, 3));
        QCOMPARE(drawn, (QList<int>{1, 2, 3}));
        QVERIFY(s.prompts.inputCaptions.isEmpty());
        QVERIFY(!s.ws.Doc.Modified); // a mark alone is no change of the project
        // The four marks stay shown while their lengths are asked for.
        QList<int> shownWhileAsked;
        s.prompts.onInput = [&s, &shownWhileAsked] {
            shownWhileAsked << int(s.tool.PendingPoints().size());
        };
        s.Click(Square[3]);
        QCOMPARE(shownWhileAsked, (QList<int>{4, 4}));
        QCOMPARE(drawn.last(), 0);
        QCOMPARE(s.prompts.inputCaptions, (QStringList{"Měřítko", "Měřítko"}));
        QVERIFY(s.prompts.asked.isEmpty());
        QCOMPARE(s.ws.Doc.Measures.References.size(), 1);
        const PlaneReference& made = s.ws.Doc.Measures.References[0];
        QCOMPARE(made.kind, PlaneReference::Kind::Rectangle);
        QCOMPARE(made.points, Square);
        QCOMPARE(made.width, 1.2);
        QCOMPARE(made.height, 1.5);
        QVERIFY(s.tool.PendingPoints().isEmpty());
        QVERIFY(s.ws.Doc.Modified);
        QCOMPARE(changed.size(), 1);
    }

    // Two presses and a right press make a line of one length.
    void twoEndsAndALength() {
        Scene s;
        s.prompts.inputs << QStringLiteral("3,5");
        s.Click({50, 100});
        s.Click({350, 100});
        s.Click({200, 200}, true);
        QCOMPARE(s.ws.Doc.Measures.References.size(), 1);
        const PlaneReference& made = s.ws.Doc.Measures.References[0];
        QCOMPARE(made.kind, PlaneReference::Kind::Length);
        QCOMPARE(made.points, (QList<QPointF>{{50, 100}, {350, 100}}));
        QCOMPARE(made.width, 3.5);
    }

    // Corners that give no plane are refused before any length is asked; lengths
    // that are none are refused once typed. Nothing changes, the marks go.
    void refused_data() {
        QTest::addColumn<QList<QPointF>>("corners");
        QTest::addColumn<QStringList>("lengths");
        QTest::addColumn<int>("asked"); // how many lengths were asked for
        QTest::addColumn<QString>("message");
        QTest::newRow("three on a line")
            << QList<QPointF>{{100, 50}, {200, 50}, {300, 50}, {100, 250}} << QStringList{} << 0
            << "Tři rohy měřítka leží na jedné přímce: obdélník z nich nelze určit.";
        QTest::newRow("crossing")
            << QList<QPointF>{{100, 50}, {300, 250}, {300, 50}, {100, 250}} << QStringList{} << 0
            << "Strany měřítka se kříží: označte rohy obdélníku postupně dokola.";
        QTest::newRow("width 0") << Square << QStringList{"0", "1"} << 1
                                 << "Délka měřítka musí být větší než nula.";
        QTest::newRow("height a word")
            << Square << QStringList{"1", "vysoký"} << 2
            << "„vysoký“ není délka v metrech. Zadejte číslo, například 1,25.";
        QTest::newRow("width cancelled") << Square << QStringList{} << 1 << "";
    }
    void refused() {
        QFETCH(QList<QPointF>, corners);
        QFETCH(QStringList, lengths);
        QFETCH(int, asked);
        QFETCH(QString, message);
        Scene s;
        s.prompts.inputs.append(lengths);
        for (const QPointF& p : corners)
            s.Click(p);
        QCOMPARE(s.prompts.inputCaptions.size(), asked);
        QCOMPARE(s.prompts.Texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(s.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QVERIFY(s.ws.Doc.Measures.IsEmpty());
        QVERIFY(!s.ws.Doc.Modified);
        QVERIFY(s.tool.PendingPoints().isEmpty());
    }

    // A mark taken and moved changes its reference; a move that would leave no plane
    // is refused and the reference stays as it was.
    void movingAMark_data() {
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QString>("message");
        QTest::newRow("to a skewed corner") << QPointF(320, 240) << "";
        QTest::newRow("across the other side")
            << QPointF(80, 250)
            << "Strany měřítka se kříží: označte rohy obdélníku postupně dokola.";
        QTest::newRow("onto the line of two others")
            << QPointF(200, 150)
            << "Tři rohy měřítka leží na jedné přímce: obdélník z nich nelze určit.";
        QTest::newRow("out of the photograph")
            << QPointF(420, 250) << "Značka měřítka leží mimo fotografii.";
    }
    void movingAMark() {
        QFETCH(QPointF, to);
        QFETCH(QString, message);
        Scene s(2.0f);
        s.MarkSquare();
        s.ws.Doc.Modified = false;
        s.prompts.asked.clear();
        // The view draws the marks again as the taken one follows the pointer.
        QList<QPointF> seen;
        s.tool.MarksChanged = [&s, &seen] { seen << s.tool.Shown()[0].points[2]; };
        // Taken a few view pixels off the mark: near enough.
        s.Drag(QPointF(300, 250) + QPointF(2, -1.5), to);
        QVERIFY(seen.size() >= 3);
        QVERIFY(seen[0] != QPointF(300, 250) && seen[0] != to); // halfway, while held
        QVERIFY(seen.contains(to));
        QList<QPointF> expected = Square;
        if (message.isEmpty())
            expected[2] = to;
        QCOMPARE(s.ws.Doc.Measures.References[0].points, expected);
        QCOMPARE(s.ws.Doc.Modified, message.isEmpty());
        // A refused move leaves no step to undo.
        QCOMPARE(s.ws.History.NodeCount(), message.isEmpty() ? 2 : 1);
        QCOMPARE(s.prompts.Texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(s.tool.PendingPoints().isEmpty()); // the press took the mark, added none
        QCOMPARE(s.tool.Shown()[0].points, expected);
    }

    // A right press on a mark asks before it removes the reference; a double press
    // asks for its lengths again, offering the old ones.
    void removingAndRetyping_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(Prompts::Yes);
        QTest::newRow("no") << int(Prompts::No);
    }
    void removingAndRetyping() {
        QFETCH(int, answer);
        Scene s;
        s.MarkSquare();
        // Lengths typed again unchanged are no step to undo.
        s.prompts.inputs << QStringLiteral("2") << QStringLiteral("2");
        s.tools.ImageDoubleClick(101, 51);
        QCOMPARE(s.ws.History.NodeCount(), 1);
        s.prompts.inputs << QStringLiteral("2,5") << QStringLiteral("2");
        s.tools.ImageDoubleClick(101, 51);
        QCOMPARE(s.ws.Doc.Measures.References[0].width, 2.5);
        QCOMPARE(s.ws.Doc.Measures.References[0].height, 2.0);
        s.ws.Doc.Modified = false;
        s.prompts.answers.enqueue(Prompts::Button(answer));
        s.Click({101, 249}, true);
        QCOMPARE(s.prompts.asked.last().text, QStringLiteral("Smazat měřítko 1?"));
        QCOMPARE(s.prompts.asked.last().caption, QStringLiteral("Potvrzení"));
        QCOMPARE(s.ws.Doc.Measures.References.size(), answer == Prompts::Yes ? 0 : 1);
        QCOMPARE(s.ws.Doc.Modified, answer == Prompts::Yes);
    }

    // Every change of the references is a step of the undo history among the mask's:
    // undo brings back the references as they were (and marks the project changed, so
    // that saving writes them), redo the change again.
    void referencesInTheUndoHistory_data() {
        QTest::addColumn<QString>("change");
        for (const char* change : {"moved", "retyped", "removed"})
            QTest::newRow(change) << QString::fromLatin1(change);
    }
    void referencesInTheUndoHistory() {
        QFETCH(QString, change);
        Scene s;
        s.MarkSquare();
        const Measurements marked = s.ws.Doc.Measures;
        s.ws.Doc.Layers << NewLayerTemplate(1);
        s.tools.SelectedRow = [] { return 1; };
        s.ws.CurrentTool = PencilTool;
        s.ws.MaskEditMode = true;
        s.tools.ImageMouseDown(false, 20, 20);
        s.tools.ImageMouseUp(20, 20);
        const TMask dabbed = s.ws.Doc.Mask;
        QVERIFY(!(dabbed == TMask::CreateBlank(400, 300)));
        s.ws.CurrentTool = ScaleTool;
        if (change == QLatin1String("moved")) {
            s.Drag({300, 250}, {320, 240});
        } else if (change == QLatin1String("retyped")) {
            s.prompts.inputs << QStringLiteral("3") << QStringLiteral("2");
            s.tools.ImageDoubleClick(101, 51);
        } else {
            s.prompts.answers.enqueue(Prompts::Yes);
            s.Click({101, 249}, true);
        }
        const Measurements changed = s.ws.Doc.Measures;
        QVERIFY(!(changed == marked));

        QSignalSpy measuresChanged(&s.ws, &Workspace::MeasuresChanged);
        s.ws.Doc.Modified = false;
        s.ws.undoClick();
        QVERIFY(s.ws.Doc.Measures == marked);
        QVERIFY(s.ws.Doc.Mask == dabbed);
        QVERIFY(s.ws.Doc.Modified);
        QCOMPARE(measuresChanged.count(), 1);
        s.ws.undoClick(); // the dab: the references stay
        QVERIFY(s.ws.Doc.Measures == marked);
        QVERIFY(s.ws.Doc.Mask == TMask::CreateBlank(400, 300));
        QCOMPARE(measuresChanged.count(), 1);
        s.ws.undoClick();
        QVERIFY(s.ws.Doc.Measures.IsEmpty());
        for (int i = 0; i < 3; ++i)
            s.ws.redoClick();
        QVERIFY(s.ws.Doc.Measures == changed);
        QVERIFY(s.ws.Doc.Mask == dabbed);
        QCOMPARE(measuresChanged.count(), 4);
        // A new reference after an undo drops the change that could be redone. (The
        // first undo after redoing to the end shows the same state again.)
        s.ws.undoClick();
        s.ws.undoClick();
        QVERIFY(s.ws.Doc.Measures == marked);
        s.prompts.inputs << QStringLiteral("1") << QStringLiteral("1");
        for (QPointF p : {QPointF(10, 200), QPointF(60, 200), QPointF(60, 280), QPointF(10, 280)})
            s.Click(p);
        QCOMPARE(s.ws.Doc.Measures.References.size(), 2);
        s.ws.redoClick();
        QCOMPARE(s.ws.Doc.Measures.References.size(), 2);
        s.ws.undoClick();
        QVERIFY(s.ws.Doc.Measures == marked);
    }

    // A right press elsewhere drops the marks being placed; they are dropped too when
    // another project comes.
    void pendingMarksGo() {
        Scene s;
        s.Click({10, 10});
        s.Click({20, 10});
        s.Click({30, 40});
        s.Click({50, 50}, true);
        QVERIFY(s.tool.PendingPoints().isEmpty());
        QVERIFY(s.ws.Doc.Measures.IsEmpty());
        s.Click({10, 10});
        s.Click({20, 10});
        const QString other = s.dir.filePath(QStringLiteral("jiny.bmp"));
        QVERIFY(QFile::copy(s.photo, other));
        QVERIFY(QFile::copy(s.photo + QStringLiteral(".mask"), other + QStringLiteral(".mask")));
        QVERIFY(OpenProjectFile(s.ws, s.prompts, other));
        QVERIFY(s.tool.PendingPoints().isEmpty());
        s.Click({30, 40}, true); // no two marks of this project: nothing is asked
        QVERIFY(s.prompts.inputCaptions.isEmpty());
    }

    // A second reference is another plane; the marks of both are drawn.
    void marksOfEveryReferenceAreDrawn() {
        Scene s;
        s.MarkSquare();
        s.prompts.inputs << QStringLiteral("1");
        s.Click({20, 280});
        s.Click({380, 280});
        s.Click({200, 150}, true);
        QCOMPARE(s.ws.Doc.Measures.References.size(), 2);
        s.Click({20, 20});
        QImage view(400, 300, QImage::Format_RGB32);
        view.fill(Qt::white);
        {
            QPainter painter(&view);
            PaintReferenceMarks(painter, s.tool.Shown(), s.tool.PendingPoints(), 1.0);
        }
        const auto inked = [&view](QPointF p) {
            return view.pixelColor(p.toPoint()) != QColor(Qt::white);
        };
        for (const QPointF& p : Square)
            QVERIFY(inked(p));
        QVERIFY(inked({200, 50}));  // the rectangle's side
        QVERIFY(inked({200, 280})); // the line
        QVERIFY(inked({20, 20}));   // the mark being placed
        QVERIFY(!inked({200, 150}));
        // Each reference's number beside its first mark, filled in the references' yellow.
        const auto yellowIn = [&view](QRect box) {
            for (int y = box.top(); y <= box.bottom(); ++y) {
                for (int x = box.left(); x <= box.right(); ++x) {
                    const QColor c = view.pixelColor(x, y);
                    if (c.red() > 200 && c.green() > 170 && c.blue() < 100)
                        return true;
                }
            }
            return false;
        };
        QVERIFY(yellowIn(QRect(107, 28, 14, 16))); // "1" by (100, 50)
        QVERIFY(yellowIn(QRect(27, 258, 14, 16))); // "2" by (20, 280)
        QVERIFY(!yellowIn(QRect(150, 100, 100, 100)));
    }

    // A press of another tool never reaches the scale tool, nor the reverse.
    void onlyTheScaleToolMarks() {
        Scene s;
        s.ws.CurrentTool = PickLayerTool;
        s.Click({10, 10});
        QVERIFY(s.tool.PendingPoints().isEmpty());
        s.ws.CurrentTool = ScaleTool;
        s.Click({10, 10});
        QCOMPARE(s.tool.PendingPoints().size(), 1);
        QCOMPARE(s.ws.Doc.Mask, TMask::CreateBlank(400, 300));
    }
};

QTEST_MAIN(TestReferenceTool)
#include "test_referencetool.moc"
