#include "catalogue/CatalogueModel.h"
#include "catalogue/ColourSort.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

ShadeRecord Shade(const QString& name, int r, int g, int b) {
    ShadeRecord shade;
    shade.name = name;
    shade.red = r;
    shade.green = g;
    shade.blue = b;
    return shade;
}

QStringList Names(const ShadeList& shades) {
    QStringList names;
    for (const ShadeRecord& s : shades)
        names << s.name;
    return names;
}

// The chain written plainly: the pool in order, strict less-than from 16777216.
ShadeList PlainChain(ShadeList pool) {
    ShadeList sorted;
    int r = 0, g = 0, b = 0;
    while (!pool.isEmpty()) {
        int best = 16777216, index = 0;
        for (int i = 0; i < pool.size(); ++i) {
            const int d = (pool[i].red - r) * (pool[i].red - r) +
                          (pool[i].green - g) * (pool[i].green - g) +
                          (pool[i].blue - b) * (pool[i].blue - b);
            if (d < best) {
                best = d;
                index = i;
            }
        }
        sorted << pool.takeAt(index);
        r = sorted.last().red;
        g = sorted.last().green;
        b = sorted.last().blue;
    }
    return sorted;
}

} // namespace

class TestColourSort : public QObject {
    Q_OBJECT
private slots:
    void workedExample() {
        const ShadeList shades{Shade("10", 10, 10, 10), Shade("255", 255, 255, 255),
                               Shade("0", 0, 0, 0), Shade("250", 250, 250, 250)};
        QCOMPARE(Names(SortShadesByColour(shades)), (QStringList{"0", "10", "250", "255"}));
    }

    void tiesGoToTheEarlierShade() {
        const ShadeList shades{Shade("start", 0, 0, 0), Shade("first", 10, 0, 0),
                               Shade("second", 0, 10, 0), Shade("third", 0, 0, 10)};
        QCOMPARE(Names(SortShadesByColour(shades)),
                 (QStringList{"start", "first", "second", "third"}));
    }

    void shadeWithoutColourIsNeverTheStart() {
        const ShadeList shades{Shade("none", 300, 300, 300), Shade("white", 255, 255, 255)};
        QCOMPARE(Names(SortShadesByColour(shades)).first(), QStringLiteral("white"));
    }

    void emptyAndSingle() {
        QVERIFY(SortShadesByColour({}).isEmpty());
        QCOMPARE(SortShadesByColour({Shade("a", 1, 2, 3)}).size(), 1);
    }

    // The vectorised chain must give exactly the plain chain, ties included.
    void agreesWithThePlainChain_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("levels");
        QTest::newRow("100 coarse") << 100 << 4;
        QTest::newRow("537 fine") << 537 << 256;
        QTest::newRow("1000 with many ties") << 1000 << 3;
    }
    void agreesWithThePlainChain() {
        QFETCH(int, count);
        QFETCH(int, levels);
        QRandomGenerator random(count);
        ShadeList shades;
        for (int i = 0; i < count; ++i) {
            const auto c = [&] {
                return int(random.bounded(levels)) * (255 / std::max(1, levels - 1));
            };
            shades << (i % 50 == 7 ? Shade(QString::number(i), 300, 300, 300)
                                   : Shade(QString::number(i), c(), c(), c()));
        }
        QCOMPARE(Names(SortShadesByColour(shades)), Names(PlainChain(shades)));
    }

    void typeAhead_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("row");
        const QStringList shades{"E 001 - 01", "E 001 - 02", "E 002 - 01"};
        QTest::newRow("e") << shades << "e" << 0;
        QTest::newRow("e 002") << shades << "e 002" << 2;
        QTest::newRow("no match gives row 0") << shades << "x" << 0;
        QTest::newRow("backspace") << shades << "e 002\b\b1" << 0;
        const QStringList decks{"Exteriér", "Interiér", "Zářivé"};
        QTest::newRow("last row") << decks << "z" << 2;
        QTest::newRow("zá") << decks << "zá" << 2;
        QTest::newRow("only a-z are upper-cased") << QStringList{"Ábel", "ábel"} << "á" << 1;
    }
    void typeAhead() {
        QFETCH(QStringList, rows);
        QFETCH(QString, keys);
        QFETCH(int, row);
        QString typed;
        for (QChar key : keys)
            typed = TypeAheadText(typed, key);
        QCOMPARE(TypeAheadRow(rows, typed), row);
    }

    void typeAheadEdges() {
        QCOMPARE(TypeAheadText(QString(), QLatin1Char('\b')), QString());
        QCOMPARE(TypeAheadRow({}, QStringLiteral("a")), -1);
    }
};

QTEST_GUILESS_MAIN(TestColourSort)
#include "test_coloursort.moc"
