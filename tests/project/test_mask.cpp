#include "project/Mask.h"

#include <QTest>

Q_DECLARE_METATYPE(MaskRow)

namespace {

MaskRow Row(std::initializer_list<MaskRun> runs) {
    return MaskRow(runs);
}

} // namespace

class TestMask : public QObject {
    Q_OBJECT
private slots:
    void blankMaskHasOneRunPerRow() {
        const TMask mask = TMask::CreateBlank(5, 3);
        QCOMPARE(mask.Width, 5);
        QCOMPARE(mask.Height, 3);
        QCOMPARE(int(mask.Rows.size()), 3);
        for (const MaskRow& row : mask.Rows)
            QCOMPARE(row, Row({{0, 0, 4}}));
        for (bool locked : mask.Locked)
            QVERIFY(!locked);
        QCOMPARE(TMask::CreateBlank(1, 1).Rows[0], Row({{0, 0, 0}}));
    }

    void copyIsDeep() {
        TMask original = TMask::CreateBlank(10, 2);
        original.SetLocked(7, true);
        TMask copy = TMask::CopyOf(original);
        original.PaintSpan(0, 2, 4, 3);
        original.SetLocked(7, false);
        QCOMPARE(copy.Rows[0], Row({{0, 0, 9}}));
        QVERIFY(copy.Locked[7]);
    }

    void layerAt_data() {
        QTest::addColumn<MaskRow>("row");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("expected");
        const MaskRow row = Row({{1, 0, 2}, {2, 3, 5}, {0, 6, 9}});
        QTest::newRow("first pixel") << row << 0 << 1;
        QTest::newRow("run end") << row << 2 << 1;
        QTest::newRow("next run start") << row << 3 << 2;
        QTest::newRow("beyond the last run") << Row({{4, 0, 3}}) << 7 << 0;
        QTest::newRow("negative x") << row << -1 << 0;
        QTest::newRow("overlap: first run wins") << Row({{3, 0, 5}, {4, 2, 9}}) << 4 << 3;
        QTest::newRow("gap") << Row({{3, 0, 2}, {4, 6, 9}}) << 4 << 0;
        QTest::newRow("First > Last covers nothing") << Row({{5, 6, 2}, {1, 0, 9}}) << 4 << 1;
    }
    void layerAt() {
        QFETCH(MaskRow, row);
        QFETCH(int, x);
        QFETCH(int, expected);
        TMask mask = TMask::CreateBlank(10, 1);
        mask.Rows[0] = row;
        QCOMPARE(int(mask.LayerAt(x, 0)), expected);
    }

    void layerAtOutsideRowsIsZero() {
        const TMask mask = TMask::CreateBlank(4, 2);
        QCOMPARE(int(mask.LayerAt(0, 2)), 0);
        QCOMPARE(int(mask.LayerAt(0, -1)), 0);
    }

    void paintSpan_data() {
        QTest::addColumn<MaskRow>("before");
        QTest::addColumn<int>("x1");
        QTest::addColumn<int>("x2");
        QTest::addColumn<int>("layer");
        QTest::addColumn<int>("lockedLayer");
        QTest::addColumn<MaskRow>("after");
        const MaskRow blank = Row({{0, 0, 9}});
        QTest::newRow("middle") << blank << 3 << 5 << 2 << -1
                                << Row({{0, 0, 2}, {2, 3, 5}, {0, 6, 9}});
        QTest::newRow("whole row") << blank << 0 << 9 << 1 << -1 << Row({{1, 0, 9}});
        QTest::newRow("x1 = x2 = -4 paints pixel 0")
            << blank << -4 << -4 << 1 << -1 << Row({{1, 0, 0}, {0, 1, 9}});
        QTest::newRow("wholly right clamps to the last pixel")
            << blank << 20 << 30 << 1 << -1 << Row({{0, 0, 8}, {1, 9, 9}});
        QTest::newRow("x1 > x2 paints nothing but merges")
            << Row({{1, 0, 3}, {1, 4, 6}, {0, 7, 9}}) << 5 << 3 << 2 << -1
            << Row({{1, 0, 6}, {0, 7, 9}});
        QTest::newRow("locked pixels stay, others are painted")
            << Row({{0, 0, 2}, {3, 3, 5}, {0, 6, 9}}) << 0 << 9 << 1 << 3
            << Row({{1, 0, 2}, {3, 3, 5}, {1, 6, 9}});
        QTest::newRow("locked target changes nothing")
            << Row({{1, 0, 3}, {1, 4, 9}}) << 0 << 9 << 2 << 2 << Row({{1, 0, 3}, {1, 4, 9}});
        QTest::newRow("painting back to Originál merges")
            << Row({{0, 0, 2}, {2, 3, 5}, {0, 6, 9}}) << 3 << 5 << 0 << -1 << Row({{0, 0, 9}});
        QTest::newRow("malformed row: overlaps and runs past the width")
            << Row({{1, 0, 6}, {2, 3, 40}, {3, 8, 2}}) << 0 << 1 << 4 << -1
            << Row({{4, 0, 1}, {1, 2, 6}, {2, 7, 9}});
        QTest::newRow("malformed row: gap becomes Originál")
            << Row({{1, 0, 2}, {2, 7, 9}}) << 9 << 9 << 1 << -1
            << Row({{1, 0, 2}, {0, 3, 6}, {2, 7, 8}, {1, 9, 9}});
    }
    void paintSpan() {
        QFETCH(MaskRow, before);
        QFETCH(int, x1);
        QFETCH(int, x2);
        QFETCH(int, layer);
        QFETCH(int, lockedLayer);
        QFETCH(MaskRow, after);
        TMask mask = TMask::CreateBlank(10, 3);
        mask.Rows[1] = before;
        if (lockedLayer >= 0)
            mask.SetLocked(lockedLayer, true);
        mask.PaintSpan(1, x1, x2, std::uint8_t(layer));
        QCOMPARE(mask.Rows[1], after);
        QCOMPARE(mask.Rows[0], Row({{0, 0, 9}}));
        QCOMPARE(mask.Rows[2], Row({{0, 0, 9}}));
    }

    void paintSpanClampsTheRow() {
        TMask mask = TMask::CreateBlank(4, 2);
        mask.PaintSpan(-3, 0, 1, 1);
        mask.PaintSpan(9, 2, 3, 2);
        QCOMPARE(mask.Rows[0], Row({{1, 0, 1}, {0, 2, 3}}));
        QCOMPARE(mask.Rows[1], Row({{0, 0, 1}, {2, 2, 3}}));
    }

    void autoMaskColour_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("colour");
        QTest::newRow("1") << 1 << Rgb(93, 170, 70);
        QTest::newRow("2") << 2 << Rgb(186, 85, 140);
        QTest::newRow("3") << 3 << Rgb(24, 0, 210);
    }
    void autoMaskColour() {
        QFETCH(int, n);
        QFETCH(int, colour);
        QCOMPARE(AutoMaskColour(n), colour);
        const LayerRecord layer = NewLayerTemplate(n);
        QCOMPARE(layer.MaskColour, colour);
        QCOMPARE(layer.RealColour, Rgb(208, 208, 208));
        QVERIFY(layer.Name.isEmpty());
        QCOMPARE(layer.ShadeColour, NoColour);
    }

    void originalTemplate() {
        const LayerRecord layer = OriginalLayerTemplate();
        QCOMPARE(layer.Name, QStringLiteral("Originál"));
        QCOMPARE(layer.RealColour, Rgb(255, 255, 255));
        QCOMPARE(layer.MaskColour, Rgb(255, 255, 255));
        QCOMPARE(layer.ShadeColour, -1);
        QVERIFY(layer.ShownInMaskMode);
        QVERIFY(layer.HiddenInColourMode);
        QCOMPARE(layer.ShadeId, -1);
        QCOMPARE(layer.FanDeckId, -1);
        QCOMPARE(layer.PaintKindId, -1);
        QCOMPARE(layer.Quantity, 0);
        QVERIFY(!layer.Subordinate);
    }
};

QTEST_GUILESS_MAIN(TestMask)
#include "test_mask.moc"
