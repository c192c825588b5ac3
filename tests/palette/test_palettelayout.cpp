// The palette grid's arithmetic and its cell drawing, on pictures painted in memory.
#include "palette/PaletteCells.h"
#include "palette/PaletteLayout.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace PaletteLayout;

namespace {

ShadeRecord Shade(int r, int g, int b) {
    ShadeRecord shade;
    shade.red = r;
    shade.green = g;
    shade.blue = b;
    return shade;
}

// 35 shades, the fourth without colour.
ShadeList ThirtyFive() {
    ShadeList shades;
    for (int i = 0; i < 35; ++i)
        shades << (i == 3 ? Shade(NoComponent, 50, 50) : Shade(7 * i, 100 + i, (37 * i) % 256));
    return shades;
}

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

} // namespace

class TestPaletteLayout : public QObject {
    Q_OBJECT
private slots:
    void columnsAndRows_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("shades");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::newRow("35 at 300: the last row half empty") << 300 << 35 << 10 << 4;
        QTest::newRow("35 at 329: still 10 columns") << 329 << 35 << 10 << 4;
        QTest::newRow("35 at 330: 11 columns, 3 x 11 + 2") << 330 << 35 << 11 << 4;
        QTest::newRow("the window's 780") << 780 << 35 << 26 << 2;
        QTest::newRow("a full last row adds none") << 300 << 40 << 10 << 4;
        QTest::newRow("one past a full row") << 300 << 41 << 10 << 5;
        QTest::newRow("empty list: one row") << 780 << 0 << 26 << 1;
        QTest::newRow("narrower than a cell: one column") << 29 << 5 << 1 << 5;
        QTest::newRow("no width at all") << 0 << 3 << 1 << 3;
        QTest::newRow("exactly one cell") << 30 << 1 << 1 << 1;
    }
    void columnsAndRows() {
        QFETCH(int, width);
        QFETCH(int, shades);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QCOMPARE(LayoutGrid(width, shades), (GridShape{columns, rows}));
    }

    // Columns that would hide under the scroll bar are not counted.
    void columnsBesideTheScrollBar_data() {
        QTest::addColumn<int>("shades");
        QTest::addColumn<int>("columns");
        QTest::newRow("650 fit in 25 rows of 26: no bar") << 650 << 26;
        QTest::newRow("651 need a bar: 25 columns beside it") << 651 << 25;
        QTest::newRow("50,000") << 50000 << 25;
    }
    void columnsBesideTheScrollBar() {
        QFETCH(int, shades);
        QFETCH(int, columns);
        const GridShape shape = LayoutGridBesideScrollBar(780, 381, shades, 15);
        QCOMPARE(shape.columns, columns);
        QCOMPARE(shape.rows, RowsFor(columns, shades));
    }

    void theSelectedShadesCellMovesWithTheColumns() {
        // Row 34, the last of 35: column 4 of row 3 at 10 columns, column 1 at 11.
        QCOMPARE(CellOfRow(34, LayoutGrid(300, 35).columns), QPoint(4, 3));
        QCOMPARE(CellOfRow(34, LayoutGrid(329, 35).columns), QPoint(4, 3));
        QCOMPARE(CellOfRow(34, LayoutGrid(330, 35).columns), QPoint(1, 3));
        QCOMPARE(CellOfRow(0, 26), QPoint(0, 0));
        QCOMPARE(CellOfRow(26, 26), QPoint(0, 1));
    }

    void cellsAfterTheLastShadeShowNoShade_data() {
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<int>("row");
        QTest::newRow("first") << QPoint(0, 0) << 0;
        QTest::newRow("last shade") << QPoint(4, 3) << 34;
        QTest::newRow("first empty cell") << QPoint(5, 3) << -1;
        QTest::newRow("last empty cell") << QPoint(9, 3) << -1;
        QTest::newRow("past the columns") << QPoint(10, 0) << -1;
        QTest::newRow("below the rows") << QPoint(0, 4) << -1;
        QTest::newRow("none") << QPoint(-1, -1) << -1;
    }
    void cellsAfterTheLastShadeShowNoShade() {
        QFETCH(QPoint, cell);
        QFETCH(int, row);
        QCOMPARE(RowOfCell(cell, 10, 35), row);
        if (row >= 0)
            QCOMPARE(CellOfRow(row, 10), cell);
    }

    void pointsToCells_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QPoint>("cell");
        QTest::newRow("corner") << QPoint(0, 0) << QPoint(0, 0);
        QTest::newRow("last pixel of the first cell") << QPoint(29, 14) << QPoint(0, 0);
        QTest::newRow("next cell both ways") << QPoint(30, 15) << QPoint(1, 1);
        QTest::newRow("an empty cell is still a cell") << QPoint(299, 59) << QPoint(9, 3);
        QTest::newRow("right of the columns") << QPoint(300, 0) << QPoint(-1, -1);
        QTest::newRow("below the rows") << QPoint(0, 60) << QPoint(-1, -1);
        QTest::newRow("left of the grid") << QPoint(-1, 3) << QPoint(-1, -1);
    }
    void pointsToCells() {
        QFETCH(QPoint, point);
        QFETCH(QPoint, cell);
        QCOMPARE(CellAt(point, GridShape{10, 4}), cell);
    }

    void cellsInAnArea() {
        const GridShape shape{10, 4};
        QCOMPARE(CellsIn(QRect(0, 0, 300, 60), shape), QRect(QPoint(0, 0), QPoint(9, 3)));
        QCOMPARE(CellsIn(QRect(31, 16, 1, 1), shape), QRect(QPoint(1, 1), QPoint(1, 1)));
        QCOMPARE(CellsIn(QRect(0, 0, 1000, 1000), shape), QRect(QPoint(0, 0), QPoint(9, 3)));
        QVERIFY(CellsIn(QRect(0, 60, 300, 40), shape).isEmpty());
        QVERIFY(CellsIn(QRect(300, 0, 50, 60), shape).isEmpty());
        QVERIFY(CellsIn(QRect(), shape).isEmpty());
    }

    void cellsShowTheirShadesWithGaps() {
        const ShadeList shades = ThirtyFive();
        QImage image(300, 60, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        {
            QPainter painter(&image);
            PaletteCells::Paint(painter, shades, GridShape{10, 4}, image.rect(), QPoint(-1, -1));
        }
        const QColor background = PaletteCells::GridBackground;
        // Cell (1, 0): shade 1 in x 30..58, y 1..13; its right column and bottom row
        // are the gap, and so is the top row of row 0.
        const QColor one(7, 101, 37);
        QCOMPARE(At(image, 30, 1), one);
        QCOMPARE(At(image, 58, 13), one);
        QCOMPARE(At(image, 59, 5), background);
        QCOMPARE(At(image, 40, 14), background);
        QCOMPARE(At(image, 40, 0), background);
        // Column 0 also has a gap on its left.
        QCOMPARE(At(image, 0, 20), background);
        QCOMPARE(At(image, 1, 20), QColor(70, 110, (37 * 10) % 256)); // cell (0, 1): shade 10
        // A cell in neither the first row nor column starts at its corner.
        QCOMPARE(At(image, 60, 15), QColor(7 * 12, 112, (37 * 12) % 256));
        // Cells after the last shade: background only.
        for (int x = 150; x < 300; ++x)
            for (int y = 45; y < 60; ++y)
                QCOMPARE(At(image, x, y), background);
    }

    void aShadeWithoutColourShowsASmallRedCross() {
        const ShadeList shades = ThirtyFive();
        QImage image(300, 60, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        {
            QPainter painter(&image);
            PaletteCells::Paint(painter, shades, GridShape{10, 4}, image.rect(), QPoint(-1, -1));
        }
        // Cell (3, 0): x 90..119, y 0..14; the cross lies in the box x 100..110, y 5..10.
        int red = 0;
        for (int x = 90; x < 120; ++x) {
            for (int y = 0; y < 15; ++y) {
                const QColor c = At(image, x, y);
                const bool inBox = x >= 100 && x <= 110 && y >= 5 && y <= 10;
                if (c == PaletteCells::NoColourCross) {
                    QVERIFY2(inBox, qPrintable(QStringLiteral("red at %1, %2").arg(x).arg(y)));
                    ++red;
                } else {
                    QCOMPARE(c, PaletteCells::GridBackground);
                }
            }
        }
        QVERIFY(red >= 16); // two diagonals of about ten pixels each
        QCOMPARE(At(image, 100, 10), PaletteCells::NoColourCross);
        QCOMPARE(At(image, 100, 5), PaletteCells::NoColourCross);
    }

    void theFocusedCellHasAFrame() {
        const ShadeList shades = ThirtyFive();
        QImage image(300, 60, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            PaletteCells::Paint(painter, shades, GridShape{10, 4}, image.rect(), QPoint(2, 1));
        }
        // Cell (2, 1): x 60..89, y 15..29; a 3-pixel frame inside its edges.
        const QColor frame = PaletteCells::FocusFrame;
        QCOMPARE(At(image, 60, 22), frame);
        QCOMPARE(At(image, 62, 22), frame);
        QCOMPARE(At(image, 88, 22), frame);
        QCOMPARE(At(image, 75, 15), frame);
        QCOMPARE(At(image, 75, 28), frame);
        QCOMPARE(At(image, 64, 22), QColor(7 * 12, 112, (37 * 12) % 256)); // inside: the shade
        // The neighbour has none.
        QCOMPARE(At(image, 91, 22), QColor(7 * 13, 113, (37 * 13) % 256));
    }

    // Only the cells that the area touches are drawn: a paint of one cell's part
    // leaves the rest of the picture alone.
    void paintsOnlyTheCellsTheAreaTouches() {
        const ShadeList shades = ThirtyFive();
        QImage image(300, 60, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        {
            QPainter painter(&image);
            painter.setClipRect(QRect(35, 20, 10, 5));
            PaletteCells::Paint(painter, shades, GridShape{10, 4}, QRect(35, 20, 10, 5),
                                QPoint(-1, -1));
        }
        QCOMPARE(At(image, 40, 22), QColor(7 * 11, 111, (37 * 11) % 256));
        QCOMPARE(At(image, 34, 22), QColor(Qt::magenta));
        QCOMPARE(At(image, 40, 19), QColor(Qt::magenta));
        QCOMPARE(At(image, 200, 50), QColor(Qt::magenta));
    }

    void aScrolledPaintDrawsTheRowsInView() {
        // 100 rows of 26; a view 400 high starting at row 50 shows rows 50 .. 76.
        ShadeList shades;
        for (int i = 0; i < 2600; ++i)
            shades << Shade(i % 256, (i / 256) % 256, 9);
        const GridShape shape{26, 100};
        QImage image(780, 400, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            painter.translate(0, -50 * CellHeight);
            PaletteCells::Paint(painter, shades, shape, QRect(0, 50 * CellHeight, 780, 400),
                                QPoint(-1, -1));
        }
        const int k = 50 * 26 + 3; // cell (3, 50) at the top of the view
        QCOMPARE(At(image, 95, 5), QColor(k % 256, (k / 256) % 256, 9));
    }
};

QTEST_MAIN(TestPaletteLayout)
#include "test_palettelayout.moc"
