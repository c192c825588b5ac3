// What the overview lists and what each row says: the listed layers, the three
// catalogue look-ups behind a row, the texts and the swatch a row is drawn with,
// the summary of the paint order and the recipe file.
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueStatements.h"
#include "overview/OrderSheet.h"
#include "overview/OverviewRowPainter.h"
#include "overview/OverviewRows.h"
#include "overview/Recipe.h"
#include "support/PaintedLayers.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(OverviewRow)

namespace {

QStringList Described(const QList<Overview::RowText>& texts) {
    QStringList lines;
    for (const Overview::RowText& t : texts)
        lines << QStringLiteral("%1 @%2 %3pt%4%5")
                     .arg(t.text, QString::number(t.fromBottom), QString::number(t.pointSize),
                          t.bold ? QStringLiteral(" bold") : QString(),
                          t.right ? QStringLiteral(" right") : QString());
    return lines;
}

QStringList Described(const QList<OrderTotal>& totals) {
    QStringList lines;
    for (const OrderTotal& t : totals)
        lines << QStringLiteral("%1 | %2 | %3 | %4 | %5")
                     .arg(t.shade, t.fanDeck, t.paintKind,
                          (QString::number(t.quantity) + QLatin1Char(' ') + t.unit).trimmed(),
                          t.layers.join(QStringLiteral(", ")));
    return lines;
}

OverviewRow Row(const QString& name, int quantity, QList<OverviewShade> shades,
                QStringList fanDecks, QList<OverviewPaintKind> kinds) {
    return OverviewRow{name, quantity, std::move(shades), std::move(fanDecks), std::move(kinds)};
}

} // namespace

class TestOverviewRows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        path = dir.filePath(QStringLiteral("odrex.tom"));
        // Two more fan decks that read alike, with a name that holds a placeholder.
        const QString placeholderDecks =
            QStringLiteral("INSERT INTO Vejir VALUES (50, 'Venku %1', 'd', 0);\n"
                           "INSERT INTO Vejir VALUES (51, 'Venku %1', 'd', 0);\n"
                           "INSERT INTO Firma_in_vejir VALUES (1, 50);\n"
                           "INSERT INTO Firma_in_vejir VALUES (1, 51);\n"
                           "INSERT INTO Odstin_In_Vejir VALUES (1, 50, 1);\n"
                           "INSERT INTO Odstin_In_Vejir VALUES (2, 51, 1);\n"
                           "COMMIT;\n");
        QCOMPARE(TestCatalogue::Build(path, TestCatalogue::SmallRows() + placeholderDecks),
                 QString());
        catalogue.Open(path);
    }

    void listedLayers_data() {
        QTest::addColumn<LayerList>("layers");
        QTest::addColumn<QList<int>>("listed");
        const LayerRecord a = PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 1, 12);
        const LayerRecord b = PaintedLayer(QStringLiteral("Sokl"), 2, 12, 1, 5);
        const LayerRecord c = PaintedLayer(QStringLiteral("Střecha"), -1, -1, -1, 0);
        QTest::newRow("only Originál") << WithOriginal({}) << QList<int>{};
        QTest::newRow("2 subordinate to 1")
            << WithOriginal({a, Subordinated(b, a.Name), c}) << QList<int>{1, 3};
        QTest::newRow("all listed") << WithOriginal({a, b, c}) << QList<int>{1, 2, 3};
        // A link to a master that is gone still keeps the layer out.
        QTest::newRow("master missing")
            << WithOriginal({Subordinated(a, QStringLiteral("Nic")), b}) << QList<int>{2};
    }

    void listedLayers() {
        QFETCH(LayerList, layers);
        QFETCH(QList<int>, listed);
        QCOMPARE(Overview::ListedLayers(layers), listed);
    }

    void lookUp_data() {
        QTest::addColumn<LayerRecord>("layer");
        QTest::addColumn<OverviewRow>("row");
        QTest::newRow("shade, fan deck, paint kind")
            << PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 1, 12)
            << Row(QStringLiteral("Fasáda"), 12, {{QStringLiteral("Žlutá kuchyň"), 250, 220, 100}},
                   {QStringLiteral("Moje")},
                   {{QStringLiteral("Fasádní barva"), QStringLiteral("l")}});
        QTest::newRow("red missing reads 300")
            << PaintedLayer(QStringLiteral("Sokl"), 3, 12, 1, 5)
            << Row(QStringLiteral("Sokl"), 5, {{QStringLiteral("E 001 - 01"), 300, 50, 60}},
                   {QStringLiteral("Exteriér")},
                   {{QStringLiteral("Fasádní barva"), QStringLiteral("l")}});
        QTest::newRow("no colour, apostrophe in the name")
            << PaintedLayer(QStringLiteral("Dveře"), 7, 30, 2, 1)
            << Row(QStringLiteral("Dveře"), 1, {{QStringLiteral("O'Neil"), 300, 300, 300}},
                   {QStringLiteral("Moje")},
                   {{QStringLiteral("Silikonová barva"), QStringLiteral("Kg")}});
        QTest::newRow("free colour from the palette")
            << PaintedLayer(QStringLiteral("Okna"), 0, 0, 0, 3, Rgb(1, 2, 3))
            << Row(QStringLiteral("Okna"), 3, {}, {}, {});
        QTest::newRow("nothing chosen") << PaintedLayer(QStringLiteral("Střecha"), -1, -1, -1, 0)
                                        << Row(QStringLiteral("Střecha"), 0, {}, {}, {});
        QTest::newRow("ids the catalogue does not hold")
            << PaintedLayer(QStringLiteral("Komín"), 99, 98, 97, 7)
            << Row(QStringLiteral("Komín"), 7, {}, {}, {});
    }

    void lookUp() {
        QFETCH(LayerRecord, layer);
        QFETCH(OverviewRow, row);
        const int before = catalogue.StatementCount();
        QCOMPARE(Overview::LookUpRow(&catalogue, layer), row);
        // The three statements, whatever the references hold; the last one the paint kind's.
        QCOMPARE(catalogue.StatementCount(), before + 3);
        QCOMPARE(catalogue.LastStatement(), Statements::PaintKindStatement(layer.PaintKindId));
        // Asked again, asked anew: nothing is kept.
        QCOMPARE(Overview::LookUpRow(&catalogue, layer), row);
        QCOMPARE(catalogue.StatementCount(), before + 6);
        // Without a catalogue only what the layer itself holds.
        QCOMPARE(Overview::LookUpRow(nullptr, layer), Row(layer.Name, layer.Quantity, {}, {}, {}));
    }

    // Rows looked up together are the rows looked up one by one, their statements in
    // the same order, handed to the catalogue in one call.
    void rowsTogetherAreTheRowsOneByOne() {
        const QList<LayerRecord> layers{PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 1, 12),
                                        PaintedLayer(QStringLiteral("Okna"), 0, 0, 0, 3),
                                        PaintedLayer(QStringLiteral("Sokl"), 3, 12, 1, 5),
                                        PaintedLayer(QStringLiteral("Komín"), 99, 98, 97, 7)};
        QList<OverviewRow> oneByOne;
        for (const LayerRecord& layer : layers)
            oneByOne << Overview::LookUpRow(&catalogue, layer);
        const int before = catalogue.StatementCount();
        const int calls = catalogue.CallCount();
        QCOMPARE(Overview::LookUpRows(&catalogue, layers), oneByOne);
        QCOMPARE(catalogue.StatementCount(), before + 12);
        QCOMPARE(catalogue.CallCount(), calls + 1);
        QCOMPARE(catalogue.LastStatement(), Statements::PaintKindStatement(97));
        QVERIFY(oneByOne[0].shades.size() == 1 && oneByOne[2].fanDecks.size() == 1);
        QCOMPARE(Overview::LookUpRows(nullptr, layers).size(), layers.size());
    }

    void everyLookUpReadsInTheSameTransaction() {
        // A transaction begun and committed around each statement would write to the
        // database file three times per painted row.
        const auto transaction = [this] {
            int id = -1;
            catalogue.Run(QStringLiteral("SELECT CURRENT_TRANSACTION AS t FROM RDB$DATABASE;"),
                          [&id](const CatalogueRow& row) {
                              id = row.Int(QStringLiteral("t"));
                              return true;
                          });
            return id;
        };
        const int first = transaction();
        for (int i = 0; i < 20; ++i)
            Overview::LookUpRow(&catalogue, PaintedLayer(QStringLiteral("V"), i, i, i, i));
        QCOMPARE(transaction(), first);
    }

    void deletedFanDeckOrPaintKindLeavesItsLineOut() {
        QTemporaryDir here;
        const QString edited = here.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(edited, TestCatalogue::SmallRows()), QString());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), "edit");
            db.setDatabaseName(edited);
            db.setUserName(QStringLiteral("SYSDBA"));
            db.setPassword(QStringLiteral("pinewoods"));
            db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=WIN1250"));
            QVERIFY(db.open());
            QVERIFY(db.transaction());
            QSqlQuery q(db);
            for (const char* sql :
                 {"DELETE FROM Odstin_In_Vejir WHERE OIV_vejir_id = 30 OR OIV_firma_id = 2",
                  "DELETE FROM Firma_in_vejir WHERE FIV_vejir_id = 30 OR FIV_firma_id = 2",
                  "DELETE FROM Vejir WHERE vejir_id = 30", "DELETE FROM Firma WHERE firma_id = 2"})
                QVERIFY2(q.exec(QString::fromLatin1(sql)), sql);
            QVERIFY(db.commit());
            db.close();
        }
        QSqlDatabase::removeDatabase("edit");

        CatalogueDatabase after;
        after.Open(edited);
        const LayerRecord deckGone = PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 1, 12);
        QCOMPARE(Described(Overview::RowTexts(Overview::LookUpRow(&after, deckGone))),
                 (QStringList{"Odstin: Žlutá kuchyň @54 8pt", "Fasáda @84 9pt bold",
                              "Druh barvy: Fasádní barva @39 8pt", "Množství: 12 @24 8pt"}));
        const LayerRecord kindGone = PaintedLayer(QStringLiteral("Sokl"), 4, 13, 2, 5);
        QCOMPARE(Described(Overview::RowTexts(Overview::LookUpRow(&after, kindGone))),
                 (QStringList{"Odstin: E 101 - 01 @54 8pt", "Sokl @84 9pt bold",
                              "Vějíř: Exteriér @69 8pt", "Množství: 5 @24 8pt"}));
    }

    // The overview's rows: "Odstin" as the overview has always written it, and the
    // quantity as typed, without a unit.
    void rowTexts_data() {
        QTest::addColumn<OverviewRow>("row");
        QTest::addColumn<QStringList>("texts");
        const OverviewRow full = Row(
            QStringLiteral("Fasáda"), 12, {{QStringLiteral("Žlutá kuchyň"), 250, 220, 100}},
            {QStringLiteral("Moje")}, {{QStringLiteral("Fasádní barva"), QStringLiteral("Kg")}});
        QTest::newRow("complete") << full
                                  << QStringList{"Odstin: Žlutá kuchyň @54 8pt",
                                                 "Fasáda @84 9pt bold", "Vějíř: Moje @69 8pt",
                                                 "Druh barvy: Fasádní barva @39 8pt",
                                                 "Množství: 12 @24 8pt"};
        QTest::newRow("free colour") << Row(QStringLiteral("Okna"), 3, {}, {}, {})
                                     << QStringList{"Okna @84 9pt bold", "Množství: 3 @24 8pt"};
        QTest::newRow("nothing chosen")
            << Row(QStringLiteral("Střecha"), 0, {}, {}, {})
            << QStringList{"Střecha @84 9pt bold", "Množství: 0 @24 8pt"};
        QTest::newRow("negative quantity") << Row(QStringLiteral("X"), -4, {}, {}, {})
                                           << QStringList{"X @84 9pt bold", "Množství: -4 @24 8pt"};
        // Measured rows: the area beside the name, the suggestion beside the quantity,
        // both on the right; the texts of before stay as they were.
        OverviewRow measured = full;
        measured.area = 42.46;
        measured.suggested = 11;
        QTest::newRow("measured") << measured << QStringList{"Odstin: Žlutá kuchyň @54 8pt",
                                                             "Fasáda @84 9pt bold",
                                                             "Vějíř: Moje @69 8pt",
                                                             "Druh barvy: Fasádní barva @39 8pt",
                                                             "Množství: 12 @24 8pt",
                                                             "Plocha: 42,5 m² @84 8pt right",
                                                             "Spotřeba: 11 Kg @24 8pt right"};
        OverviewRow noRate = Row(QStringLiteral("Okna"), 3, {}, {}, {});
        noRate.area = 0.04;
        QTest::newRow("measured, no spreading rate")
            << noRate
            << QStringList{"Okna @84 9pt bold", "Množství: 3 @24 8pt",
                           "Plocha: 0,0 m² @84 8pt right"};
        OverviewRow noUnit = noRate;
        noUnit.area = 1234.56;
        noUnit.suggested = 0;
        QTest::newRow("measured, no unit")
            << noUnit
            << QStringList{"Okna @84 9pt bold", "Množství: 3 @24 8pt",
                           "Plocha: 1234,6 m² @84 8pt right", "Spotřeba: 0 @24 8pt right"};
    }

    void rowTexts() {
        QFETCH(OverviewRow, row);
        QFETCH(QStringList, texts);
        QCOMPARE(Described(Overview::RowTexts(row)), texts);
    }

    // The paint order's rows: "Odstín" written out, the fan deck with its type, the
    // quantity with its unit, a free colour by its value and an empty quantity flagged.
    void sheetRowTexts_data() {
        QTest::addColumn<LayerList>("layers");
        QTest::addColumn<QStringList>("texts"); // of the last layer's row
        const LayerRecord facade = PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 2, 12);
        QTest::newRow("complete") << WithOriginal({facade})
                                  << QStringList{"Odstín: Žlutá kuchyň @54 8pt",
                                                 "Fasáda @84 9pt bold", "Vějíř: [D] Moje @69 8pt",
                                                 "Druh barvy: Silikonová barva @39 8pt",
                                                 "Množství: 12 Kg @24 8pt"};
        QTest::newRow("free colour, to be mixed")
            << WithOriginal({PaintedLayer(QStringLiteral("Okna"), 0, 0, 0, 3, Rgb(16, 32, 250))})
            << QStringList{"Odstín: vlastní barva #1020FA – namíchat @54 8pt", "Okna @84 9pt bold",
                           "Množství: 3 @24 8pt"};
        QTest::newRow("a paint without a quantity")
            << WithOriginal({PaintedLayer(QStringLiteral("Sokl"), 5, 20, 3, 0)})
            << QStringList{"Odstín: S 001 - 01 @54 8pt", "Sokl @84 9pt bold",
                           "Vějíř: [A] Syntetika @69 8pt", "Druh barvy: Email @39 8pt",
                           "Množství: 0 l – množství nezadáno @24 8pt"};
        QTest::newRow("a free colour without a quantity")
            << WithOriginal({PaintedLayer(QStringLiteral("Okna"), 0, 0, 0, 0, Rgb(0, 0, 0))})
            << QStringList{"Odstín: vlastní barva #000000 – namíchat @54 8pt", "Okna @84 9pt bold",
                           "Množství: 0 – množství nezadáno @24 8pt"};
        QTest::newRow("no paint chosen: nothing to flag")
            << WithOriginal({PaintedLayer(QStringLiteral("Dveře"), -1, -1, -1, 0)})
            << QStringList{"Dveře @84 9pt bold", "Množství: 0 @24 8pt"};
        // Two fan decks named "Exteriér" of one type, each with its number.
        QTest::newRow("two fan decks that read alike")
            << WithOriginal({PaintedLayer(QStringLiteral("Sokl"), 4, 13, 2, 8),
                             PaintedLayer(QStringLiteral("Štít"), 1, 12, 1, 6)})
            << QStringList{"Odstín: E 002 - 01 @54 8pt", "Štít @84 9pt bold",
                           "Vějíř: [D] Exteriér, č. 12 @69 8pt",
                           "Druh barvy: Fasádní barva @39 8pt", "Množství: 6 l @24 8pt"};
        // The name is the catalogue's text: its "%1" is not where the number goes.
        QTest::newRow("fan decks named with a placeholder")
            << WithOriginal({PaintedLayer(QStringLiteral("Sokl"), 1, 50, 1, 8),
                             PaintedLayer(QStringLiteral("Štít"), 2, 51, 1, 6)})
            << QStringList{"Odstín: E 001 - 02 @54 8pt", "Štít @84 9pt bold",
                           "Vějíř: [D] Venku %1, č. 51 @69 8pt",
                           "Druh barvy: Fasádní barva @39 8pt", "Množství: 6 l @24 8pt"};
        QTest::newRow("one of them alone: no number")
            << WithOriginal({PaintedLayer(QStringLiteral("Štít"), 1, 12, 1, 6),
                             PaintedLayer(QStringLiteral("Okap"), 2, 12, 1, 1)})
            << QStringList{"Odstín: E 001 - 02 @54 8pt", "Okap @84 9pt bold",
                           "Vějíř: [D] Exteriér @69 8pt", "Druh barvy: Fasádní barva @39 8pt",
                           "Množství: 1 l @24 8pt"};
    }

    void sheetRowTexts() {
        QFETCH(LayerList, layers);
        QFETCH(QStringList, texts);
        const QList<OrderLine> lines = Order::Lines(layers, &catalogue);
        const OrderLine& last = lines.constLast();
        QCOMPARE(Described(Order::RowTexts(
                     last, Order::FanDeckLabels(lines).value(last.layer.FanDeckId))),
                 texts);
    }

    void rowPicture_data() {
        QTest::addColumn<OverviewRow>("row");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QColor>("swatch"); // invalid: no swatch
        // What each line of the row reads, from the top: name, fan deck, shade, paint
        // kind, quantity; empty where the row has no such line.
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("colour") << Row(QStringLiteral("Fasáda"), 1,
                                       {{QStringLiteral("Žlutá"), 250, 220, 100}}, {}, {})
                                << false << QColor(250, 220, 100)
                                << QStringList{"Fasáda", "", "Odstin: Žlutá", "", "Množství: 1"};
        QTest::newRow("selected") << Row(QStringLiteral("Fasáda"), 1,
                                         {{QStringLiteral("Černá"), 0, 0, 0}},
                                         {QStringLiteral("Exteriér")},
                                         {{QStringLiteral("Fasádní barva"), QStringLiteral("l")}})
                                  << true << QColor(0, 0, 0)
                                  << QStringList{"Fasáda", "Vějíř: Exteriér", "Odstin: Černá",
                                                 "Druh barvy: Fasádní barva", "Množství: 1"};
        QTest::newRow("red 300: no swatch")
            << Row(QStringLiteral("Sokl"), 1, {{QStringLiteral("E 001 - 01"), 300, 50, 60}}, {}, {})
            << false << QColor()
            << QStringList{"Sokl", "", "Odstin: E 001 - 01", "", "Množství: 1"};
        QTest::newRow("no shade: no swatch")
            << Row(QStringLiteral("Okna"), 1234, {}, {}, {}) << false << QColor()
            << QStringList{"Okna", "", "", "", "Množství: 1234"};
    }

    void rowPicture() {
        QFETCH(OverviewRow, row);
        QFETCH(bool, selected);
        QFETCH(QColor, swatch);
        QFETCH(QStringList, lines);
        QImage picture(489, 3 * 90, QImage::Format_RGB32);
        picture.fill(Qt::magenta);
        const QRect rect(0, 90, 489, 90); // the second row of a list
        {
            QPainter painter(&picture);
            Overview::PaintRow(painter, rect, selected, row, QFont(QStringLiteral("DejaVu Sans")));
        }
        const QColor back = selected ? QColor(10, 159, 197) : QColor(235, 250, 254);
        const auto at = [&](int x, int y) { return picture.pixelColor(x, 90 + y); };
        QCOMPARE(at(0, 0), back);
        QCOMPARE(at(488, 89), back);
        QCOMPARE(picture.pixelColor(0, 89), QColor(Qt::magenta)); // nothing outside the row
        QCOMPARE(picture.pixelColor(0, 180), QColor(Qt::magenta));
        if (swatch.isValid()) {
            // 60 × 50 from (20, 20), its outline one black pixel inside that.
            QCOMPARE(at(20, 20), QColor(Qt::black));
            QCOMPARE(at(79, 69), QColor(Qt::black));
            QCOMPARE(at(79, 20), QColor(Qt::black));
            QCOMPARE(at(50, 45), swatch);
            QCOMPARE(at(21, 21), swatch);
            QCOMPARE(at(78, 68), swatch);
            QCOMPARE(at(80, 45), back);
            QCOMPARE(at(50, 70), back);
            QCOMPARE(at(19, 45), back);
        } else {
            for (QPoint p : {QPoint(20, 20), QPoint(50, 45), QPoint(79, 69)})
                QCOMPARE(at(p.x(), p.y()), back);
        }
        // The texts lie right of x = 100; left of it only the swatch.
        int textPixels = 0;
        for (int y = 0; y < 90; ++y) {
            for (int x = 0; x < 489; ++x) {
                const bool inSwatch = x >= 20 && x < 80 && y >= 20 && y < 70;
                if (at(x, y) == back || (swatch.isValid() && inSwatch))
                    continue;
                QVERIFY2(x >= 100, qPrintable(QStringLiteral("ink at %1, %2").arg(x).arg(y)));
                ++textPixels;
            }
        }
        QVERIFY(textPixels > 100);
        // Each line where it belongs (its top 84, 69, 54, 39 and 24 pixels above the
        // row's bottom), as wide as its text set in the font: the name 9-point bold,
        // the others 8-point.
        const int tops[] = {90 - 84, 90 - 69, 90 - 54, 90 - 39, 90 - 24};
        for (int i = 0; i < 5; ++i) {
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPointSize(i == 0 ? 9 : 8);
            font.setBold(i == 0);
            const QRect ink = QFontMetrics(font).tightBoundingRect(lines[i]);
            int right = -1;
            for (int y = tops[i]; y < tops[i] + 14; ++y)
                for (int x = 100; x < 489; ++x)
                    if (at(x, y) != back)
                        right = std::max(right, x);
            const QString where = QStringLiteral("line %1 \"%2\": ink to x %3, text to %4")
                                      .arg(i)
                                      .arg(lines[i])
                                      .arg(right)
                                      .arg(100 + ink.right());
            if (lines[i].isEmpty())
                QVERIFY2(right < 0, qPrintable(where));
            else
                QVERIFY2(qAbs(right - (100 + ink.right())) <= 2, qPrintable(where));
        }
    }

    void recipeButtonNeedsAllThreeReferences_data() {
        QTest::addColumn<int>("shade");
        QTest::addColumn<int>("fanDeck");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("available");
        QTest::newRow("chosen") << 6 << 30 << 1 << true;
        QTest::newRow("free colour (0 is not -1)") << 0 << 0 << 0 << true;
        QTest::newRow("nothing") << -1 << -1 << -1 << false;
        QTest::newRow("no shade") << -1 << 30 << 1 << false;
        QTest::newRow("no fan deck") << 6 << -1 << 1 << false;
        QTest::newRow("no paint kind") << 6 << 30 << -1 << false;
    }

    void recipeButtonNeedsAllThreeReferences() {
        QFETCH(int, shade);
        QFETCH(int, fanDeck);
        QFETCH(int, kind);
        QFETCH(bool, available);
        QCOMPARE(
            Overview::RecipeAvailable(PaintedLayer(QStringLiteral("V"), shade, fanDeck, kind, 1)),
            available);
    }

    void summary_data() {
        QTest::addColumn<LayerList>("layers");
        QTest::addColumn<bool>("withCatalogue");
        QTest::addColumn<QStringList>("totals");
        const LayerRecord facade = PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 1, 12);
        const LayerRecord plinth = PaintedLayer(QStringLiteral("Sokl"), 6, 30, 1, 30);
        const LayerRecord roof = PaintedLayer(QStringLiteral("Střecha"), 4, 13, 2, 8);
        QTest::newRow("same paint adds up")
            << WithOriginal({facade, roof, plinth}) << true
            << QStringList{"Žlutá kuchyň | [D] Moje | Fasádní barva | 42 l | Fasáda, Sokl",
                           "E 101 - 01 | [D] Exteriér | Silikonová barva | 8 Kg | Střecha"};
        LayerRecord otherKind = plinth;
        otherKind.PaintKindId = 2;
        QTest::newRow("another paint kind is another paint")
            << WithOriginal({facade, otherKind}) << true
            << QStringList{"Žlutá kuchyň | [D] Moje | Fasádní barva | 12 l | Fasáda",
                           "Žlutá kuchyň | [D] Moje | Silikonová barva | 30 Kg | Sokl"};
        QTest::newRow("subordinate and unpainted layers are not ordered")
            << WithOriginal({facade, Subordinated(plinth, facade.Name),
                             PaintedLayer(QStringLiteral("Okna"), -1, -1, -1, 9)})
            << true << QStringList{"Žlutá kuchyň | [D] Moje | Fasádní barva | 12 l | Fasáda"};
        QTest::newRow("free colours told apart by colour")
            << WithOriginal({PaintedLayer(QStringLiteral("A"), 0, 0, 0, 1, Rgb(255, 0, 0)),
                             PaintedLayer(QStringLiteral("B"), 0, 0, 0, 2, Rgb(0, 0, 255)),
                             PaintedLayer(QStringLiteral("C"), 0, 0, 0, 4, Rgb(255, 0, 0))})
            << true
            << QStringList{"vlastní barva #FF0000 | – | – | 5 | A, C",
                           "vlastní barva #0000FF | – | – | 2 | B"};
        // The same shade id from two fan decks (both "Exteriér") is two paints.
        QTest::newRow("one shade from two fan decks")
            << WithOriginal({PaintedLayer(QStringLiteral("Štít"), 2, 12, 1, 6),
                             PaintedLayer(QStringLiteral("Sokl"), 2, 13, 1, 8),
                             PaintedLayer(QStringLiteral("Okap"), 2, 12, 1, 1)})
            << true
            << QStringList{"E 001 - 02 | [D] Exteriér, č. 12 | Fasádní barva | 7 l | Štít, Okap",
                           "E 001 - 02 | [D] Exteriér, č. 13 | Fasádní barva | 8 l | Sokl"};
        QTest::newRow("without the catalogue by ids")
            << WithOriginal({facade, roof, plinth}) << false
            << QStringList{"odstín č. 6 | vějíř č. 30 | druh barvy č. 1 | 42 | Fasáda, Sokl",
                           "odstín č. 4 | vějíř č. 13 | druh barvy č. 2 | 8 | Střecha"};
        QTest::newRow("nothing") << WithOriginal({}) << true << QStringList{};
    }

    void summary() {
        QFETCH(LayerList, layers);
        QFETCH(bool, withCatalogue);
        QFETCH(QStringList, totals);
        const QList<OrderLine> lines = Order::Lines(layers, withCatalogue ? &catalogue : nullptr);
        QCOMPARE(Described(Order::Summarise(lines)), totals);
    }

    void summarySwatches() {
        const LayerList layers =
            WithOriginal({PaintedLayer(QStringLiteral("A"), 6, 30, 1, 1, Rgb(9, 9, 9)),
                          PaintedLayer(QStringLiteral("B"), 3, 12, 1, 1, Rgb(9, 9, 9)),
                          PaintedLayer(QStringLiteral("C"), 0, 0, 0, 1, Rgb(1, 2, 3))});
        const QList<OrderTotal> totals = Order::Summarise(Order::Lines(layers, &catalogue));
        QCOMPARE(totals.size(), 3);
        QCOMPARE(totals[0].swatch, QColor(250, 220, 100)); // the catalogue's colour
        QVERIFY(!totals[1].swatch.isValid());              // a shade without colour
        QCOMPARE(totals[2].swatch, QColor(1, 2, 3));       // the free colour itself
    }

    void recipeText() {
        const LayerRecord layer = PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 2, 12);
        QCOMPARE(Recipe::Text(QStringLiteral("Rodinný dům"), layer,
                              Overview::LookUpRow(&catalogue, layer)),
                 QStringLiteral("Recept pro Huemix\n"
                                "Projekt: Rodinný dům\n"
                                "Vrstva: Fasáda\n"
                                "Odstín: Žlutá kuchyň\n"
                                "Barva: RGB(250, 220, 100), #FADC64\n"
                                "Vějíř: Moje\n"
                                "Druh barvy: Silikonová barva (Kg)\n"
                                "Množství: 12 Kg\n"));
        const LayerRecord free = PaintedLayer(QStringLiteral("Okna"), 0, 0, 0, 2, Rgb(16, 32, 48));
        QCOMPARE(
            Recipe::Text(QStringLiteral("X"), free, Overview::LookUpRow(&catalogue, free)),
            QStringLiteral("Recept pro Huemix\nProjekt: X\nVrstva: Okna\nOdstín: vlastní barva\n"
                           "Barva: RGB(16, 32, 48), #102030\nVějíř: –\nDruh barvy: –\n"
                           "Množství: 2\n"));
    }

    void recipeFileBesideTheProject() {
        QTemporaryDir here;
        Document doc;
        doc.ProjectPath = here.filePath(QStringLiteral("Rodinný dům.bmp"));
        doc.Layers = WithOriginal({PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 1, 12),
                                   PaintedLayer(QStringLiteral("Sokl"), 2, 12, 1, 3)});
        const QString file = here.filePath(QStringLiteral("Rodinný dům.recept.txt"));
        QCOMPARE(Recipe::PathFor(doc.ProjectPath), file);
        ScriptedPrompts prompts;
        QVERIFY(Recipe::Write(doc, 1, &catalogue, prompts));
        QVERIFY(Recipe::Write(doc, 2, &catalogue, prompts)); // the next one replaces it
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(written.readAll());
        QVERIFY(text.contains(QStringLiteral("Vrstva: Sokl\nOdstín: E 001 - 02\n")));
        QVERIFY(!text.contains(QStringLiteral("Fasáda")));
        QCOMPARE(prompts.asked.size(), 2);
        QCOMPARE(prompts.asked[1].caption, QStringLiteral("Informace"));
        QVERIFY(prompts.asked[1].text.contains(QDir::toNativeSeparators(file)));

        // Row 0 or beyond the layers: nothing, no message.
        QVERIFY(!Recipe::Write(doc, 0, &catalogue, prompts));
        QVERIFY(!Recipe::Write(doc, 3, &catalogue, prompts));
        QCOMPARE(prompts.asked.size(), 2);
        // A file that cannot be written is reported, and no success claimed.
        doc.ProjectPath = here.filePath(QStringLiteral("chybí/dům.bmp"));
        QVERIFY(!Recipe::Write(doc, 1, &catalogue, prompts));
        QCOMPARE(prompts.asked.size(), 3);
        QCOMPARE(prompts.asked[2].caption, QStringLiteral("Chyba"));
    }

private:
    QTemporaryDir dir;
    QString path;
    CatalogueDatabase catalogue;
};

QTEST_MAIN(TestOverviewRows)
#include "test_overviewrows.moc"
