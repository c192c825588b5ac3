// Spreading rates and suggested quantities: what a user types, what the settings
// keep, the rounding up to whole units, the overview's rows and the paint order's
// totals of a measured project, and the click that takes a suggestion.
#include "catalogue/CatalogueDatabase.h"
#include "overview/OrderSheet.h"
#include "overview/OverviewMeasures.h"
#include "overview/OverviewRowPainter.h"
#include "overview/PaintCoverage.h"
#include "project/LayerAreas.h"
#include "support/PaintedLayers.h"
#include "support/TestCatalogue.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A project of 100 × 100 pixels seen head-on at 10 cm a pixel (a pixel is 0,01 m²):
// the facade 1030 pixels, the roof 700, the plinth 510, the windows, subordinate to
// the facade, 200.
Document MeasuredHouse() {
    Document doc;
    doc.ProjectPath = QStringLiteral("/domy/dům.bmp");
    doc.Mask = TMask::CreateBlank(100, 100);
    const int pixels[] = {1030, 700, 510, 200};
    int at = 0;
    for (int layer = 1; layer <= 4; ++layer) {
        for (int n = 0; n < pixels[layer - 1]; ++n, ++at)
            doc.Mask.PaintSpan(at / 100, at % 100, at % 100, std::uint8_t(layer));
    }
    doc.Layers = WithOriginal({PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 1, 12),
                               PaintedLayer(QStringLiteral("Střecha"), 4, 13, 2, 8),
                               PaintedLayer(QStringLiteral("Sokl"), 6, 30, 1, 30),
                               Subordinated(PaintedLayer(QStringLiteral("Okna"), 2, 12, 3, 1),
                                            QStringLiteral("Fasáda"))});
    doc.Measures.References << PlaneReference{
        PlaneReference::Kind::Length, {{0, 0}, {0, 10}}, 1.0, 0};
    return doc;
}

} // namespace

class TestPaintQuantities : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        QCOMPARE(TestCatalogue::Build(dir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows()),
                 QString());
        catalogue.Open(dir.filePath(QStringLiteral("odrex.tom")));
    }

    void suggested_data() {
        QTest::addColumn<double>("area");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("coats");
        QTest::addColumn<qint64>("units"); // -1: none
        QTest::newRow("whole") << 40.0 << 8.0 << 2 << qint64(10);
        QTest::newRow("a little more rounds up") << 40.1 << 8.0 << 2 << qint64(11);
        QTest::newRow("one coat") << 12.5 << 10.0 << 1 << qint64(2);
        QTest::newRow("a rounding error above a whole number")
            << 0.1 + 0.2 << 0.3 << 1 << qint64(1);
        QTest::newRow("nothing to paint") << 0.0 << 8.0 << 2 << qint64(0);
        QTest::newRow("a tenth of a unit") << 0.8 << 8.0 << 1 << qint64(1);
        QTest::newRow("rate 0") << 40.0 << 0.0 << 2 << qint64(-1);
        QTest::newRow("no coats") << 40.0 << 8.0 << 0 << qint64(-1);
        QTest::newRow("negative area") << -1.0 << 8.0 << 2 << qint64(-1);
        QTest::newRow("no area") << std::nan("") << 8.0 << 2 << qint64(-1);
        // 2·10²⁰ units: more than a 64-bit integer holds.
        QTest::newRow("beyond any house, at most what a quantity holds")
            << 1e15 << 0.0001 << 20 << qint64(2147483647);
        QTest::newRow("just what a quantity holds")
            << 2147483647.0 << 1.0 << 1 << qint64(2147483647);
    }
    void suggested() {
        QFETCH(double, area);
        QFETCH(double, rate);
        QFETCH(int, coats);
        QFETCH(qint64, units);
        const std::optional<std::int64_t> got = PaintCoverage::Suggested(area, {rate, coats});
        QCOMPARE(got.value_or(-1), units);
    }

    void typed_data() {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("coats");
        QTest::addColumn<double>("expectedRate"); // 0: refused
        QTest::addColumn<int>("expectedCoats");
        QTest::newRow("decimal comma") << "8,5"
                                       << "2" << 8.5 << 2;
        QTest::newRow("point and blanks") << " 12.25 "
                                          << " 3 " << 12.25 << 3;
        QTest::newRow("rate 0") << "0"
                                << "2" << 0.0 << 0;
        QTest::newRow("rate a word") << "hodně"
                                     << "2" << 0.0 << 0;
        QTest::newRow("rate too high") << "1000,5"
                                       << "2" << 0.0 << 0;
        QTest::newRow("no coats") << "8"
                                  << "0" << 0.0 << 0;
        QTest::newRow("half a coat") << "8"
                                     << "1,5" << 0.0 << 0;
        QTest::newRow("too many coats") << "8"
                                        << "21" << 0.0 << 0;
    }
    void typed() {
        QFETCH(QString, rate);
        QFETCH(QString, coats);
        QFETCH(double, expectedRate);
        QFETCH(int, expectedCoats);
        try {
            const Coverage got = PaintCoverage::Parse(rate, coats);
            QCOMPARE(got, (Coverage{expectedRate, expectedCoats}));
        } catch (const TintoraError& error) {
            QCOMPARE(expectedRate, 0.0);
            QVERIFY(error.message().startsWith(expectedCoats == 0 &&
                                                       rate.trimmed().toDouble() > 0 &&
                                                       rate.trimmed().toDouble() <= 1000
                                                   ? QStringLiteral("Počet nátěrů „")
                                                   : QStringLiteral("Vydatnost „")));
        }
    }

    // Kept per paint kind in the user's settings file; what is not a usable entry
    // there is left out.
    void keptInTheUsersSettings() {
        QTemporaryDir here;
        const QString file = here.filePath(QStringLiteral("Tintora/Tintora.conf"));
        QVERIFY(PaintCoverage::Load(file).isEmpty());
        PaintCoverage::Store(1, {8.5, 2}, file);
        PaintCoverage::Store(2, {4, 1}, file);
        PaintCoverage::Store(3, {6, 3}, file);
        PaintCoverage::Store(2, {5.25, 2}, file); // replaced
        PaintCoverage::Forget(3, file);
        {
            QSettings other(file, QSettings::IniFormat);
            other.setValue(QStringLiteral("PaintKind7/SpreadingRate"), QStringLiteral("hodně"));
            other.setValue(QStringLiteral("PaintKind7/Coats"), 2);
            other.setValue(QStringLiteral("PaintKind8/SpreadingRate"), 5);
            other.setValue(QStringLiteral("PaintKind8/Coats"), 0);
        }
        const CoverageTable expected{{1, {8.5, 2}}, {2, {5.25, 2}}};
        QCOMPARE(PaintCoverage::Load(file), expected);
        // The default file lies in the user's configuration folder.
        QVERIFY(PaintCoverage::SettingsPath().endsWith(QStringLiteral("/Tintora/Tintora.conf")));
        QVERIFY(PaintCoverage::SettingsPath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    }

    void settingsThatCannotBeWrittenAreReported() {
        QTemporaryDir here;
        const QString file = here.filePath(QStringLiteral("Tintora.conf"));
        QVERIFY(QDir().mkpath(file)); // a folder in its place
        try {
            PaintCoverage::Store(1, {8, 2}, file);
            QFAIL("no error");
        } catch (const IoError& error) {
            QVERIFY(error.message().startsWith(QStringLiteral("Nastavení nelze uložit")));
        }
    }

    // Each listed row: the area its paint covers (the windows' with the facade) and
    // what it needs, for the paint kinds whose rate is known.
    void rowsOfAMeasuredProject() {
        const Document doc = MeasuredHouse();
        const CoverageTable coverage{{1, {8, 2}}, {3, {10, 1}}};
        const QList<double> areas = LayerAreas::Painted(doc);
        const QList<OrderLine> lines = Order::Lines(doc, &catalogue, coverage);
        QCOMPARE(lines.size(), 3); // the windows follow the facade
        QCOMPARE(lines[0].row.area.value_or(-1), 12.3);
        QCOMPARE(lines[0].row.suggested.value_or(-1), 4); // 24,6 / 8
        QCOMPARE(lines[1].row.area.value_or(-1), 7.0);
        QVERIFY(!lines[1].row.suggested); // no rate for paint kind 2
        QCOMPARE(lines[2].row.area.value_or(-1), 5.1);
        QCOMPARE(lines[2].row.suggested.value_or(-1), 2);
        QCOMPARE(areas[4], 2.0);
        for (const OverviewRow& free :
             {Overview::RowWithoutCatalogue(PaintedLayer(QStringLiteral("V"), 0, 0, 0, 1)),
              Overview::RowWithoutCatalogue(PaintedLayer(QStringLiteral("V"), -1, -1, -1, 1))}) {
            OverviewRow row = free;
            Overview::AddMeasures(row, PaintedLayer(QStringLiteral("V"), 0, 0, 0, 1), 1, areas,
                                  {{0, {1, 1}}, {-1, {1, 1}}});
            QCOMPARE(row.area.value_or(-1), 12.3);
            QVERIFY(!row.suggested); // no paint kind, no suggestion
        }
        OverviewRow unmeasured = lines[0].row;
        Overview::AddMeasures(unmeasured, lines[0].layer, 1, {}, coverage);
        QVERIFY(!unmeasured.area && !unmeasured.suggested);
    }

    // The totals add the areas of one paint and round the sum up once: facade and
    // plinth need ceil((12,3 + 5,1) × 2 / 8) = 5 litres, not 4 + 2.
    void totalsRoundOncePerPaint() {
        const QList<OrderTotal> totals =
            Order::Summarise(Order::Lines(MeasuredHouse(), &catalogue, {{1, {8, 2}}}));
        QCOMPARE(totals.size(), 2);
        QCOMPARE(totals[0].layers, (QStringList{"Fasáda", "Sokl"}));
        QVERIFY(std::abs(totals[0].area.value_or(-1) - 17.4) < 1e-9);
        QCOMPARE(totals[0].suggested.value_or(-1), 5);
        QCOMPARE(totals[0].quantity, 42);
        QCOMPARE(totals[1].area.value_or(-1), 7.0);
        QVERIFY(!totals[1].suggested);
        Document unmeasured = MeasuredHouse();
        unmeasured.Measures = {};
        for (const OrderTotal& total :
             Order::Summarise(Order::Lines(unmeasured, &catalogue, {{1, {8, 2}}})))
            QVERIFY(!total.area && !total.suggested);
    }

    // The click on a suggestion: it becomes the layer's quantity, a change to save.
    void takingTheSuggestion_data() {
        QTest::addColumn<int>("layer");
        QTest::addColumn<qint64>("suggested");
        QTest::addColumn<int>("quantity"); // -1: nothing taken
        QTest::newRow("taken") << 1 << qint64(4) << 4;
        QTest::newRow("the same as typed") << 1 << qint64(12) << -1;
        QTest::newRow("more than a quantity holds") << 2 << qint64(1) << 1;
        QTest::newRow("huge") << 2 << (qint64(1) << 40) << std::numeric_limits<std::int32_t>::max();
        QTest::newRow("Originál") << 0 << qint64(4) << -1;
        QTest::newRow("no such layer") << 5 << qint64(4) << -1;
    }
    void takingTheSuggestion() {
        QFETCH(int, layer);
        QFETCH(qint64, suggested);
        QFETCH(int, quantity);
        Document doc = MeasuredHouse();
        const LayerList before = doc.Layers;
        QCOMPARE(Overview::TakeSuggestedQuantity(doc, layer, suggested), quantity >= 0);
        QCOMPARE(doc.Modified, quantity >= 0);
        if (quantity >= 0)
            QCOMPARE(doc.Layers[layer].Quantity, quantity);
        else
            QCOMPARE(doc.Layers, before);
    }

    // The suggestion is drawn where a click takes it: right of the quantity.
    void suggestionWhereItIsDrawn() {
        OverviewRow row =
            Overview::RowWithoutCatalogue(PaintedLayer(QStringLiteral("F"), 1, 1, 1, 2));
        const QFont font(QStringLiteral("DejaVu Sans"));
        const QRect rect(0, 90, 489, 90);
        QVERIFY(Overview::SuggestedRect(rect, row, font).isEmpty());
        row.suggested = 6;
        const QRect at = Overview::SuggestedRect(rect, row, font);
        QCOMPARE(at.right(), 489 - Overview::TextRight - 1);
        QCOMPARE(at.top(), 180 - 24);
        QVERIFY(at.left() > 300);
        QImage picture(489, 270, QImage::Format_RGB32);
        picture.fill(Qt::white);
        {
            QPainter painter(&picture);
            Overview::PaintRow(painter, rect, false, row, font);
        }
        int inside = 0, right = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = 300; x < 489; ++x) {
                if (picture.pixelColor(x, y) != Overview::RowBackground())
                    (at.adjusted(-1, -1, 1, 1).contains(x, y) ? inside : right)++;
            }
        }
        QVERIFY(inside > 20);
        QCOMPARE(right, 0);
    }

private:
    QTemporaryDir dir;
    CatalogueDatabase catalogue;
};

QTEST_MAIN(TestPaintQuantities)
#include "test_paintquantities.moc"
