#include "workspace/Workspace.h"

#include <QTest>

namespace {

// A workspace with a 10 × 2 mask and a layer 1 to paint with.
struct Fixture {
    Workspace ws;
    Fixture() {
        ws.Doc.Mask = TMask::CreateBlank(10, 2);
        LayerRecord wall = NewLayerTemplate(1);
        wall.Name = QStringLiteral("Zeď");
        ws.Doc.Layers.append(wall);
    }
    // One pencil press: snapshot, paint, mark the present as changed.
    void Press(int x) {
        ws.PushUndo();
        ws.Doc.Mask.PaintSpan(0, x, x, 1);
        ws.History.MarkPresentChanged();
    }
    TMask Mask() const { return ws.Doc.Mask; }
};

} // namespace

class TestUndoHistory : public QObject {
    Q_OBJECT
private slots:
    // Presses and clicks one after another: P a pencil press (the first paints x 2,
    // the second x 5, any later one x 7), U undo, R redo. After each, the mask
    // shown (E0 blank, E1 = x 2, E2 = x 2 and 5, E3 = x 2 and 7) and the history's
    // cursors: the node the next undo restores and the node the next redo restores
    // (-1: none).
    void undoRedoSequences_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QStringList>("states");
        QTest::newRow("the worked sequence")
            << "P P U U U R R R U U"
            << QStringList{"E1 0 -1", "E2 1 -1", "E1 0 2",  "E0 0 1", "E0 0 1",
                           "E1 1 2",  "E2 2 -1", "E2 2 -1", "E2 1 2", "E1 0 2"};
        QTest::newRow("redo all, undo, redo, undo")
            << "P P U U R R U R U U R"
            << QStringList{"E1 0 -1", "E2 1 -1", "E1 0 2", "E0 0 1", "E1 1 2", "E2 2 -1",
                           "E2 1 2",  "E2 2 -1", "E2 1 2", "E1 0 2", "E2 2 -1"};
        QTest::newRow("an edit after undoing drops what could be redone")
            << "P P U U R U P U R U U"
            << QStringList{"E1 0 -1", "E2 1 -1", "E1 0 2",  "E0 0 1", "E1 1 2", "E1 0 2",
                           "E3 1 -1", "E1 0 2",  "E3 2 -1", "E3 1 2", "E1 0 2"};
    }
    void undoRedoSequences() {
        QFETCH(QString, actions);
        QFETCH(QStringList, states);
        Fixture f;
        const TMask blank = f.Mask();
        f.Press(2);
        const TMask e1 = f.Mask();
        f.Press(5);
        const TMask e2 = f.Mask();
        TMask e3 = e1;
        e3.PaintSpan(0, 7, 7, 1);
        const TMask masks[] = {blank, e1, e2, e3};

        Fixture g;
        const int pressed[] = {2, 5, 7};
        int presses = 0;
        const QStringList steps = actions.split(' ');
        QCOMPARE(steps.size(), states.size());
        for (int i = 0; i < steps.size(); ++i) {
            if (steps[i] == "P")
                g.Press(pressed[std::min(presses++, 2)]);
            else if (steps[i] == "U")
                g.ws.undoClick();
            else
                g.ws.redoClick();
            const QStringList expected = states[i].split(' ');
            const QString where = QStringLiteral("after %1 (action %2)").arg(steps[i]).arg(i + 1);
            QVERIFY2(g.Mask() == masks[expected[0].mid(1).toInt()],
                     qPrintable(where + ": the mask is not " + expected[0]));
            QVERIFY2(g.ws.History.CurrentIndex() == expected[1].toInt(),
                     qPrintable(where + QStringLiteral(": undo at %1, expected %2")
                                            .arg(g.ws.History.CurrentIndex())
                                            .arg(expected[1])));
            QVERIFY2(g.ws.History.RedoIndex() == expected[2].toInt(),
                     qPrintable(where + QStringLiteral(": redo at %1, expected %2")
                                            .arg(g.ws.History.RedoIndex())
                                            .arg(expected[2])));
        }
    }

    void workedSequence() {
        Fixture f;
        const TMask e0 = f.Mask();
        f.Press(2);
        const TMask e1 = f.Mask();
        f.Press(5);
        const TMask e2 = f.Mask();
        QCOMPARE(f.ws.History.NodeCount(), 2); // S0 = E0, S1 = E1
        QCOMPARE(f.ws.History.CurrentIndex(), 1);
        QVERIFY(!f.ws.History.PresentInHistory());

        f.ws.undoClick(); // pushes S2 = E2, restores S1
        QCOMPARE(f.Mask(), e1);
        QCOMPARE(f.ws.History.NodeCount(), 3);
        QCOMPARE(f.ws.History.RedoIndex(), 2);
        QCOMPARE(f.ws.History.CurrentIndex(), 0);

        f.ws.undoClick(); // restores S0
        QCOMPARE(f.Mask(), e0);
        QCOMPARE(f.ws.History.RedoIndex(), 1);
        QCOMPARE(f.ws.History.CurrentIndex(), 0);

        f.ws.undoClick(); // S0 again
        QCOMPARE(f.Mask(), e0);

        f.ws.redoClick();
        QCOMPARE(f.Mask(), e1);
        QCOMPARE(f.ws.History.CurrentIndex(), 1);
        QCOMPARE(f.ws.History.RedoIndex(), 2);
        f.ws.redoClick();
        QCOMPARE(f.Mask(), e2);
        QCOMPARE(f.ws.History.RedoIndex(), -1);
        f.ws.redoClick(); // nothing to redo
        QCOMPARE(f.Mask(), e2);

        f.ws.undoClick(); // restores S2: no visible change, cursor to S1
        QCOMPARE(f.Mask(), e2);
        QCOMPARE(f.ws.History.CurrentIndex(), 1);
        f.ws.undoClick();
        QCOMPARE(f.Mask(), e1);
    }

    void drawUndoDrawCannotRedoTheFirst() {
        Fixture f;
        f.Press(2);
        f.ws.undoClick();
        f.Press(7);
        const TMask second = f.Mask();
        QCOMPARE(f.ws.History.RedoIndex(), -1);
        f.ws.redoClick();
        QCOMPARE(f.Mask(), second);
        // The history ends with the snapshot taken before the second drawing.
        f.ws.undoClick();
        QCOMPARE(int(f.Mask().LayerAt(7, 0)), 0);
        QCOMPARE(int(f.Mask().LayerAt(2, 0)), 0);
    }

    void undoRestoresTheLineAnchor() {
        Fixture f;
        f.ws.LineAnchorX = 1;
        f.ws.LineAnchorY = 0;
        f.Press(3); // a segment from (1, 0); the anchor moves on
        f.ws.LineAnchorX = 3;
        f.ws.undoClick();
        QCOMPARE(f.ws.LineAnchorX, 1);
        QCOMPARE(f.ws.LineAnchorY, 0);
    }

    void lockSwitchedAfterTheEditStays() {
        Fixture f;
        f.Press(4);
        f.ws.Doc.Layers[1].Locked = true;
        f.ws.Doc.Mask.SetLocked(1, true);
        f.ws.undoClick();
        QVERIFY(f.ws.Doc.Mask.Locked[1]);
        f.ws.redoClick();
        QVERIFY(f.ws.Doc.Mask.Locked[1]);
        f.ws.Doc.Mask.PaintSpan(0, 0, 9, 0);
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(4, 0)), 1); // the locked layer keeps its pixel
    }

    void clearedHistoryUndoesNothing() {
        Fixture f;
        f.Press(1);
        const TMask edited = f.Mask();
        f.ws.ClearHistory();
        f.ws.undoClick();
        f.ws.redoClick();
        QCOMPARE(f.Mask(), edited);
        QCOMPARE(f.ws.History.NodeCount(), 0);
    }

    // Rows read from a file are kept as stored, however odd: undo gives them back
    // exactly, at the extremes of their numbers too.
    void oddRowsComeBackExactly() {
        Fixture f;
        TMask odd = TMask::CreateBlank(10, 5);
        odd.Rows[0] = {};                                               // no run at all
        odd.Rows[1] = {{3, 5, 2}};                                      // First > Last
        odd.Rows[2] = {{1, -7, 4}, {2, 2, 9}, {0, 100, 2147483647}};    // overlaps, past Width
        odd.Rows[3] = {{255, -2147483647 - 1, 2147483647}, {4, 0, -5}}; // the extremes
        odd.Rows[4] = {{1, 0, 3}, {2, 6, 9}};                           // a gap
        f.ws.Doc.Mask = odd;
        f.Press(1);
        f.Press(8);
        f.ws.undoClick();
        f.ws.undoClick();
        QCOMPARE(f.ws.Doc.Mask.Rows, odd.Rows);
        QCOMPARE(f.ws.Doc.Mask.Width, 10);
        QCOMPARE(f.ws.Doc.Mask.Height, 5);
    }

    // Snapshots of masks of different sizes in one history each come back whole.
    void masksOfOtherSizesInOneHistory() {
        Fixture f;
        f.ws.Doc.Mask.PaintSpan(1, 0, 3, 1);
        const TMask small = f.Mask();
        f.Press(2);
        f.ws.Doc.Mask = TMask::CreateBlank(30, 7);
        f.ws.Doc.Mask.PaintSpan(6, 10, 20, 1);
        const TMask large = f.Mask();
        f.Press(25);
        f.ws.Doc.Mask = TMask::CreateBlank(10, 2);
        f.Press(4);
        f.ws.undoClick(); // keeps the present, shows the blank 10 × 2 before the press
        QCOMPARE(f.Mask(), TMask::CreateBlank(10, 2));
        f.ws.undoClick();
        QCOMPARE(f.Mask(), large);
        f.ws.undoClick();
        QCOMPARE(f.Mask(), small);
        f.ws.redoClick();
        QCOMPARE(f.Mask(), large);
    }

    void snapshotsShareUnchangedRows() {
        Fixture f;
        f.ws.Doc.Mask = TMask::CreateBlank(1000, 500);
        f.ws.PushUndo();
        const size_t first = f.ws.History.SnapshotBytes();
        f.ws.Doc.Mask.PaintSpan(10, 0, 5, 1);
        f.ws.PushUndo();
        // The second snapshot holds only the one changed row.
        QVERIFY(f.ws.History.SnapshotBytes() - first < first / 20);
        f.ws.undoClick(); // the newest snapshot already holds the present
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(3, 10)), 1);
        f.ws.undoClick();
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(3, 10)), 0);
        QCOMPARE(f.ws.Doc.Mask.Rows.size(), size_t(500));
    }
};

QTEST_GUILESS_MAIN(TestUndoHistory)
#include "test_undohistory.moc"
