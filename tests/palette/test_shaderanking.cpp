// Likeness to a colour: sRGB to CIELAB, CIEDE2000 against published test pairs, the
// ranking of a shade list, and the reordering of a real catalogue's list.
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueModel.h"
#include "palette/ShadeRanking.h"
#include "palette/SimilarShadeSearch.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdint>

using namespace ShadeRanking;

namespace {

ShadeRecord Shade(const QString& name, int r, int g, int b) {
    ShadeRecord shade;
    shade.name = name;
    shade.red = r;
    shade.green = g;
    shade.blue = b;
    return shade;
}

QStringList NamesInOrder(const ShadeList& shades, const QList<int>& order) {
    QStringList names;
    for (int row : order)
        names << shades[row].name;
    return names;
}

} // namespace

class TestShadeRanking : public QObject {
    Q_OBJECT
private slots:
    // Pairs from Sharma, Wu and Dalal's CIEDE2000 test data, among them the ones
    // where the mean hue crosses 0°/360°.
    void publishedPairs_data() {
        QTest::addColumn<double>("L1");
        QTest::addColumn<double>("a1");
        QTest::addColumn<double>("b1");
        QTest::addColumn<double>("L2");
        QTest::addColumn<double>("a2");
        QTest::addColumn<double>("b2");
        QTest::addColumn<double>("deltaE");
        QTest::newRow("1") << 50.0 << 2.6772 << -79.7751 << 50.0 << 0.0 << -82.7485 << 2.0425;
        QTest::newRow("2") << 50.0 << 3.1571 << -77.2803 << 50.0 << 0.0 << -82.7485 << 2.8615;
        QTest::newRow("7") << 50.0 << 0.0 << 0.0 << 50.0 << -1.0 << 2.0 << 2.3669;
        QTest::newRow("13") << 50.0 << 2.49 << -0.001 << 50.0 << -2.49 << 0.0009 << 7.1792;
        QTest::newRow("15") << 50.0 << 2.49 << -0.001 << 50.0 << -2.49 << 0.0011 << 7.2195;
        QTest::newRow("17") << 50.0 << -0.001 << 2.49 << 50.0 << 0.0009 << -2.49 << 4.8045;
        QTest::newRow("19") << 50.0 << 2.5 << 0.0 << 50.0 << 0.0 << -2.5 << 4.3065;
        QTest::newRow("20") << 50.0 << 2.5 << 0.0 << 73.0 << 25.0 << -18.0 << 27.1492;
        QTest::newRow("25") << 60.2574 << -34.0099 << 36.2677 << 60.4626 << -34.1751 << 39.4387
                            << 1.2644;
        QTest::newRow("31") << 90.8027 << -2.0831 << 1.4410 << 91.1528 << -1.6435 << 0.0447
                            << 1.4441;
        QTest::newRow("34") << 2.0776 << 0.0795 << -1.1350 << 0.9033 << -0.0636 << -0.5514
                            << 0.9082;
    }
    void publishedPairs() {
        QFETCH(double, L1);
        QFETCH(double, a1);
        QFETCH(double, b1);
        QFETCH(double, L2);
        QFETCH(double, a2);
        QFETCH(double, b2);
        QFETCH(double, deltaE);
        const Lab first{L1, a1, b1}, second{L2, a2, b2};
        QVERIFY2(std::abs(DeltaE00(first, second) - deltaE) < 5e-5,
                 qPrintable(QString::number(DeltaE00(first, second), 'f', 6)));
        QCOMPARE(DeltaE00(second, first), DeltaE00(first, second));
    }

    // sRGB values of the D65 white point's CIELAB.
    void srgbToLab_data() {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::addColumn<double>("L");
        QTest::addColumn<double>("A");
        QTest::addColumn<double>("B");
        QTest::newRow("white") << 255 << 255 << 255 << 100.0 << 0.0 << 0.0;
        QTest::newRow("black") << 0 << 0 << 0 << 0.0 << 0.0 << 0.0;
        QTest::newRow("grey 128") << 128 << 128 << 128 << 53.585 << 0.0 << 0.0;
        QTest::newRow("red") << 255 << 0 << 0 << 53.241 << 80.092 << 67.203;
        QTest::newRow("green") << 0 << 255 << 0 << 87.735 << -86.183 << 83.179;
        QTest::newRow("blue") << 0 << 0 << 255 << 32.297 << 79.188 << -107.860;
    }
    void srgbToLab() {
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QFETCH(double, L);
        QFETCH(double, A);
        QFETCH(double, B);
        const Lab lab = ToLab(Rgb(r, g, b));
        const auto near = [](double x, double y) { return std::abs(x - y) < 0.05; };
        QVERIFY2(near(lab.L, L) && near(lab.a, A) && near(lab.b, B),
                 qPrintable(QStringLiteral("%1 %2 %3").arg(lab.L).arg(lab.a).arg(lab.b)));
    }

    // A whole list is converted at once; every value equals the one of its own colour.
    void aListConvertsAsItsColoursOneByOne() {
        QRandomGenerator random(11);
        ShadeList shades;
        for (int i = 0; i < 2500; ++i)
            shades << Shade(QString(), int(random.bounded(256)), int(random.bounded(256)),
                            int(random.bounded(256)));
        const std::vector<Lab> lab = ToLab(shades);
        QCOMPARE(int(lab.size()), 2500);
        for (int i : {0, 1, 1023, 1024, 1025, 2047, 2048, 2499}) {
            const Lab one = ToLab(shades[i].ColourValue());
            QCOMPARE(lab[size_t(i)].L, one.L);
            QCOMPARE(lab[size_t(i)].a, one.a);
            QCOMPARE(lab[size_t(i)].b, one.b);
        }
    }

    void colourDifferences() {
        QCOMPARE(DeltaE00(Rgb(120, 40, 200), Rgb(120, 40, 200)), 0.0);
        // Two greys one step apart differ little; black and white by the whole scale.
        QVERIFY(DeltaE00(Rgb(128, 128, 128), Rgb(129, 129, 129)) < 0.5);
        QVERIFY(std::abs(DeltaE00(Rgb(0, 0, 0), Rgb(255, 255, 255)) - 100.0) < 1e-6);
    }

    // Nearest first; shades without colour last; equal colours in their order.
    void rankingOrder() {
        const ShadeList shades{
            Shade("far blue", 0, 0, 255),
            Shade("none", NoComponent, 10, 10),
            Shade("same A", 200, 60, 50),
            Shade("near", 205, 62, 55),
            Shade("white", 255, 255, 255),
            Shade("same B", 200, 60, 50),
            Shade("none 2", NoComponent, NoComponent, NoComponent),
            Shade("middle", 170, 90, 80),
            Shade("same C", 200, 60, 50),
        };
        // White is nearer than pure blue in RGB (288 against 293), but the eye sees
        // blue nearer: ΔE00 48.0 against 45.3.
        const QList<int> order = RankOrder(shades, Rgb(200, 60, 50));
        QCOMPARE(NamesInOrder(shades, order),
                 (QStringList{"same A", "same B", "same C", "near", "middle", "far blue", "white",
                              "none", "none 2"}));
        // Steps of 30 in green and in blue are equal in RGB; ΔE00 sees the green one
        // larger (19.4 against 13.6).
        const ShadeList pair{Shade("green step", 100, 130, 100), Shade("blue step", 100, 100, 130)};
        QCOMPARE(NamesInOrder(pair, RankOrder(pair, Rgb(100, 100, 100))),
                 (QStringList{"blue step", "green step"}));
    }

    void rankingEdgeLists() {
        QVERIFY(RankOrder(ShadeList{}, Rgb(1, 2, 3)).isEmpty());
        const ShadeList none{Shade("a", NoComponent, 0, 0), Shade("b", NoComponent, 0, 0)};
        QCOMPARE(RankOrder(none, Rgb(1, 2, 3)), (QList<int>{0, 1}));
    }

    // Ranked differences never fall; ranking the ranked list again changes nothing.
    void rankingIsSortedAndSettled() {
        QRandomGenerator random(3);
        ShadeList shades;
        for (int i = 0; i < 3000; ++i) {
            // Few distinct colours, so that many differences are equal.
            shades << Shade(QString::number(i), 40 * int(random.bounded(7)),
                            40 * int(random.bounded(7)), 40 * int(random.bounded(7)));
        }
        const Colour reference = Rgb(90, 130, 170);
        const QList<int> order = RankOrder(shades, reference);
        QCOMPARE(order.size(), shades.size());
        ShadeList ranked;
        for (int row : order)
            ranked << shades[row];
        for (int i = 1; i < ranked.size(); ++i) {
            const double before = DeltaE00(reference, ranked[i - 1].ColourValue());
            const double now = DeltaE00(reference, ranked[i].ColourValue());
            QVERIFY(before <= now);
            if (before == now) // ties keep the list's order
                QVERIFY(order[i - 1] < order[i]);
        }
        QList<int> identity(ranked.size());
        for (int i = 0; i < identity.size(); ++i)
            identity[i] = i;
        QCOMPARE(RankOrder(ranked, reference), identity);
    }

    // 50,000 colours that all differ: many differences lie within a millionth of
    // each other, and still every one stands in order.
    void rankingOfManyDistinctColours() {
        ShadeList shades;
        for (std::uint32_t i = 0; i < 50000; ++i) {
            const std::uint32_t c = (i * 2654435761u) & 0xFFFFFFu;
            shades << Shade(QString(), int(c & 0xFF), int((c >> 8) & 0xFF), int(c >> 16));
        }
        const Colour reference = Rgb(150, 120, 100);
        const QList<int> order = RankOrder(shades, reference);
        QCOMPARE(order.size(), shades.size());
        QList<bool> seen(shades.size(), false);
        double before = -1;
        int close = 0;
        for (int row : order) {
            QVERIFY(!seen[row]);
            seen[row] = true;
            const double now = DeltaE00(reference, shades[row].ColourValue());
            QVERIFY(before <= now);
            close += now - before < now * 1e-6 ? 1 : 0;
            before = now;
        }
        QVERIFY(close > 10); // neighbours that only their last digits tell apart
    }

    void deltaEText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("one decimal, comma") << 2.43 << "ΔE 2,4";
        QTest::newRow("rounded up") << 2.46 << "ΔE 2,5";
        QTest::newRow("zero") << 0.0 << "ΔE 0,0";
        QTest::newRow("into the next unit") << 12.96 << "ΔE 13,0";
        QTest::newRow("black to white") << 100.0 << "ΔE 100,0";
    }
    void deltaEText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(DeltaEText(value), text);
    }

    // The catalogue's list reordered: the selection stays on the same shade, nothing
    // else is read, none of the three sort items is checked.
    void reorderingTheCatalogueList() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(path, TestCatalogue::PaletteRows()), QString());
        CatalogueDatabase db;
        db.Open(path);
        CatalogueModel model(db);
        model.LoadFanDecks();
        model.ChooseFanDeck(int(model.FanDeckNames().indexOf(QStringLiteral("Paleta"))));
        QCOMPARE(model.Shades.size(), 35);
        model.SelectedShade = 20; // "P 21"
        const ShadeRecord selected = model.Shades[20];
        const Colour reference = Rgb(140, 120, 200);

        model.Reorder(RankOrder(model.Shades, reference));
        QCOMPARE(model.Shades.size(), 35);
        QCOMPARE(model.Shades[model.SelectedShade], selected);
        QCOMPARE(model.Sort, SortOrder::BySimilarity);
        QCOMPARE(model.Mode, ShadeListMode::FanDeckShades);
        QCOMPARE(model.Shades.last().name, QStringLiteral("P 07")); // no colour: last
        for (int i = 1; i < 34; ++i)
            QVERIFY(DeltaE00(reference, model.Shades[i - 1].ColourValue()) <=
                    DeltaE00(reference, model.Shades[i].ColourValue()));

        // A list of found shades keeps its mode; an order that is no reordering of
        // the rows is refused.
        ScriptedPrompts prompts;
        model.SelectedShade = -1;
        SimilarShades::Search(model, prompts, SimilarShades::Variant::FreeColour,
                              {QStringLiteral("125"), QStringLiteral("25"), QStringLiteral("211")},
                              {QStringLiteral("30"), QStringLiteral("30"), QStringLiteral("30")});
        QCOMPARE(model.Shades.size(), 4);
        const ShadeList found = model.Shades;
        model.Reorder({0, 0, 1, 2});
        model.Reorder({0, 1, 2});
        QCOMPARE(model.Shades, found);
        model.Reorder(RankOrder(model.Shades, Rgb(125, 25, 211)));
        QCOMPARE(model.Mode, ShadeListMode::FoundShades);
        QCOMPARE(model.Shades[0].name, QStringLiteral("H střed"));
        QCOMPARE(model.Shades[1].name, QStringLiteral("H střed"));
        QCOMPARE(model.Shades[model.SelectedShade], found[0]);
    }
};

QTEST_MAIN(TestShadeRanking)
#include "test_shaderanking.moc"
