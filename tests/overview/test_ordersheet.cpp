// The printable paint order: what a painter reads in the PDF (through pdftotext),
// the picture on its first page (through pdftoppm), and how the file is written.
#include "CatalogueScript.h"
#include "DemoHouse.h"
#include "catalogue/CatalogueDatabase.h"
#include "overview/OrderSheet.h"
#include "project/BoxReduction.h"
#include "project/CzechNumber.h"
#include "project/Errors.h"
#include "project/PlaneReference.h"
#include "render/RenderRegion.h"
#include "support/PaintedLayers.h"
#include "support/PdfText.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The demo house with catalogue paints on its layers; the chimney follows the plinth.
Document PaintedHouse() {
    const DemoProject demo = MakeDemoHouse(300, 200);
    Document doc;
    doc.ProjectPath = QStringLiteral("/projekty/domy/Rodinný dům.bmp");
    doc.PhotoBitmap = demo.Photo;
    doc.Mask = demo.Mask;
    doc.Layers = demo.Layers;
    const struct {
        int shade, fanDeck, kind, quantity;
    } paints[] = {{6, 30, 1, 12}, {4, 13, 2, 8}, {2, 12, 1, 4}, {-1, -1, -1, 0}, {6, 30, 1, 30}};
    for (int i = 0; i < 5; ++i) {
        LayerRecord& layer = doc.Layers[i + 1];
        layer.ShadeId = paints[i].shade;
        layer.FanDeckId = paints[i].fanDeck;
        layer.PaintKindId = paints[i].kind;
        layer.Quantity = paints[i].quantity;
    }
    return doc;
}

// Blanks squeezed, so that a line reads the same however pdftotext spaced it.
QString Squeezed(const QString& text) {
    QString squeezed = text;
    squeezed.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    return squeezed;
}

} // namespace

class TestOrderSheet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
                 "pdftotext (poppler-utils) is installed by scripts/setup");
        QCOMPARE(TestCatalogue::Build(dir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows()),
                 QString());
        catalogue.Open(dir.filePath(QStringLiteral("odrex.tom")));
    }

    void thePainterReadsWhatToBuy() {
        const Document doc = PaintedHouse();
        const QString pdf = dir.filePath(QStringLiteral("objednávka.pdf"));
        Order::Write(pdf, Order::Make(doc, &catalogue, QDate(2025, 3, 5)));
        const QString text = Squeezed(PdfText(pdf));
        QVERIFY2(!text.isEmpty(), "pdftotext read nothing");
        const QStringList expected{
            "Objednávka barev", "Projekt: Rodinný dům", "Datum: 5. 3. 2025",
            // The rows as the overview draws them, quantities with their units, the
            // two fan decks named "Exteriér" told apart.
            "Fasáda", "Vějíř: [D] Moje", "Odstín: Žlutá kuchyň", "Druh barvy: Fasádní barva",
            "Množství: 12 l", "Střecha", "Odstín: E 101 - 01", "Vějíř: [D] Exteriér, č. 13",
            "Druh barvy: Silikonová barva", "Množství: 8 Kg", "Okenní rámy",
            "Vějíř: [D] Exteriér, č. 12", "Množství: 4 l", "Dveře", "Množství: 0\n", "Sokl",
            "Množství: 30 l",
            // The summary adds the facade and the plinth: the same shade, deck and kind.
            "Souhrn objednávky", "Žlutá kuchyň [D] Moje Fasádní barva 42 l", "Vrstvy: Fasáda, Sokl",
            "E 101 - 01 [D] Exteriér, č. 13 Silikonová barva 8 Kg"};
        for (const QString& line : expected)
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral("\n---\n") + text));
        QVERIFY(!text.contains(QStringLiteral("Odstin:")));
        QVERIFY(!text.contains(QStringLiteral("nezadáno"))); // the doors have no paint chosen
        // pdftotext joins a one-digit number to its unit when it stands right-aligned
        // under a wider heading; the page itself has the blank.
        QVERIFY(text.contains(QRegularExpression(
            QStringLiteral("E 001 - 02 \\[D\\] Exteriér, č. 12 Fasádní barva 4 ?l\n"))));
        QVERIFY(!text.contains(QStringLiteral("Komín"))); // subordinate: not ordered
        QVERIFY(!text.contains(QStringLiteral("Katalog barev nebyl")));
        // The doors have no paint: a row, but no line of the summary.
        const QString summary = text.mid(text.indexOf(QStringLiteral("Souhrn objednávky")));
        QVERIFY(!summary.contains(QStringLiteral("Dveře")));
        QCOMPARE(summary.count(QStringLiteral("Vrstvy:")), 3);
    }

    // A project with a reference: each row's area in the free space, the suggestion
    // beside the quantity, and the summary's area, suggested and entered quantities
    // side by side. The areas are the layers' pixels counted one by one, at 2 cm a
    // pixel; the plinth's paint covers the chimney too.
    void measuredAreasAndSuggestedQuantities() {
        Document doc = PaintedHouse();
        doc.Measures.References << PlaneReference{
            PlaneReference::Kind::Length, {{10, 10}, {10, 110}}, 2.0, 0};
        QList<qint64> pixels(doc.Layers.size(), 0);
        for (int y = 0; y < doc.Mask.Height; ++y)
            for (int x = 0; x < doc.Mask.Width; ++x)
                ++pixels[doc.Mask.LayerAt(x, y)];
        const auto area = [](qint64 n) { return double(n) * 0.02 * 0.02; };
        const double facade = area(pixels[1]), roof = area(pixels[2]),
                     plinth = area(pixels[5] + pixels[6]);
        const auto m2 = [](double a) { return CzechNumber::Format(a, 1) + QStringLiteral(" m²"); };
        // Fasádní barva (kind 1): 6 m² a litre, two coats; nothing known of kind 2.
        const CoverageTable coverage{{1, {6, 2}}};
        const auto litres = [](double a) { return qint64(std::ceil(a * 2 / 6)); };
        const QString pdf = dir.filePath(QStringLiteral("změřeno.pdf"));
        Order::Write(pdf, Order::Make(doc, &catalogue, QDate(2025, 3, 5), coverage));
        const QString text = Squeezed(PdfText(pdf));
        const QStringList expected{
            QStringLiteral("Fasáda Plocha: ") + m2(facade),
            QStringLiteral("Množství: 12 l Spotřeba: %1 l").arg(litres(facade)),
            QStringLiteral("Střecha Plocha: ") + m2(roof),
            QStringLiteral("Sokl Plocha: ") + m2(plinth),
            QStringLiteral("Množství: 30 l Spotřeba: %1 l").arg(litres(plinth)),
            QStringLiteral("Odstín Vějíř Druh barvy Plocha Spotřeba Množství"),
            QStringLiteral("E 101 - 01 [D] Exteriér"),
            QStringLiteral("Silikonová barva %1 – 8 Kg").arg(m2(roof))};
        for (const QString& line : expected)
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral("\n---\n") + text));
        // Summed once for the paint; a short number joins its unit in pdftotext.
        const QString total =
            QStringLiteral("Žlutá kuchyň \\[D\\] Moje Fasádní barva %1 %2 ?l 42 l")
                .arg(QRegularExpression::escape(m2(facade + plinth)))
                .arg(litres(facade + plinth));
        QVERIFY2(text.contains(QRegularExpression(total)),
                 qPrintable(total + QStringLiteral("\n---\n") + text));
        QVERIFY(litres(facade + plinth) < litres(facade) + litres(plinth));
        QVERIFY(!text.contains(QStringLiteral("Střecha Plocha: ") + m2(roof) +
                               QStringLiteral(" Spotřeba")));
        QVERIFY(facade > 1 && roof > 1 && plinth > 1);
    }

    void withoutTheCatalogueNamesAndQuantities() {
        const QString pdf = dir.filePath(QStringLiteral("bez katalogu.pdf"));
        Order::Write(pdf, Order::Make(PaintedHouse(), nullptr, QDate(2025, 3, 5)));
        const QString text = Squeezed(PdfText(pdf));
        for (const char* line :
             {"Katalog barev nebyl k dispozici", "Fasáda", "Množství: 12", "Sokl", "Množství: 30",
              "odstín č. 6 vějíř č. 30 druh barvy č. 1 42\n", "Vrstvy: Fasáda, Sokl"})
            QVERIFY2(text.contains(QString::fromUtf8(line)), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Odstin:")));
        QVERIFY(!text.contains(QStringLiteral("Množství: 12 l")));
        // The heading bold, the rows upright, the note of the missing catalogue slanted.
        QCOMPARE(PdfFaces(pdf),
                 (QStringList{"DejaVuSans", "DejaVuSans-Bold", "DejaVuSans-Oblique"}));
    }

    void theRecolouredPictureAcrossThePage() {
        // A plain red photograph whose only layer repaints its left half blue.
        Document doc;
        doc.ProjectPath = QStringLiteral("/x/Červený.bmp");
        doc.PhotoBitmap = QImage(2400, 1200, QImage::Format_BGR888);
        doc.PhotoBitmap.fill(QColor(200, 30, 30));
        doc.Mask = TMask::CreateBlank(2400, 1200);
        for (int y = 0; y < 1200; ++y)
            doc.Mask.PaintSpan(y, 0, 1199, 1);
        LayerRecord left = PaintedLayer(QStringLiteral("Levá"), 0, 0, 0, 1, Rgb(30, 30, 200));
        left.RealColour = Rgb(200, 30, 30);
        left.HiddenInColourMode = false;
        doc.Layers = WithOriginal({left});

        const OrderSheet sheet = Order::Make(doc, &catalogue, QDate(2025, 1, 1));
        QCOMPARE(sheet.picture.size(), QSize(1200, 600)); // every 2 × 2 pixels averaged
        const QString pdf = dir.filePath(QStringLiteral("obrázek.pdf"));
        Order::Write(pdf, sheet);
        const QImage page = PdfPage(pdf, 1, 48);
        QVERIFY(!page.isNull());
        // A4 at 48 dpi: 397 × 561; the picture fills the width between 15 mm margins.
        QRect red, blue;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                if (qAbs(c.red() - 200) < 30 && c.green() < 70 && c.blue() < 70)
                    red |= QRect(x, y, 1, 1);
                if (qAbs(c.blue() - 200) < 40 && c.red() < 80 && c.green() < 80)
                    blue |= QRect(x, y, 1, 1);
            }
        }
        const int margin = qRound(15 / 25.4 * 48);
        QVERIFY2(qAbs(blue.left() - margin) <= 2, qPrintable(QString::number(blue.left())));
        QVERIFY2(qAbs(red.right() - (page.width() - 1 - margin)) <= 2,
                 qPrintable(QString::number(red.right())));
        QVERIFY(qAbs(blue.right() + 1 - red.left()) <= 2); // halves meet in the middle
        QVERIFY(qAbs(red.height() - red.width()) <= 4 + red.width() / 100); // 2:1 overall
        QVERIFY(red.top() < page.height() / 2);
    }

    // The sheet's picture is the full-size picture in colour mode reduced by the
    // smallest whole factor that fits the page, though the full-size picture is never
    // made whole: it is reduced a band of rows at a time.
    void thePictureIsTheFullSizePictureReduced_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("reduced");
        QTest::newRow("within the width") << QSize(1400, 70) << QSize(1400, 70);
        QTest::newRow("just past it: halved") << QSize(1401, 121) << QSize(701, 61);
        QTest::newRow("a third, rows not a whole band") << QSize(2900, 91) << QSize(967, 31);
    }
    void thePictureIsTheFullSizePictureReduced() {
        QFETCH(QSize, size);
        QFETCH(QSize, reduced);
        const DemoProject demo = MakeDemoHouse(size.width(), size.height());
        Document doc;
        doc.ProjectPath = QStringLiteral("/projekty/domy/Široký.bmp");
        doc.PhotoBitmap = demo.Photo;
        doc.Mask = demo.Mask;
        doc.Layers = demo.Layers;
        const QImage picture = Order::Picture(doc);
        QCOMPARE(picture.size(), reduced);
        QCOMPARE(picture, BoxReduction::Reduce(RenderFullSize(doc, false), reduced));
    }

    // A colour picked freely is ordered by its value, to be mixed, with its swatch in
    // the layer's row; a paint chosen without a quantity is flagged in its row and
    // in the summary.
    void freeColoursAndMissingQuantities() {
        Document doc = PaintedHouse();
        LayerRecord& frames = doc.Layers[3];
        frames.ShadeId = frames.FanDeckId = frames.PaintKindId = 0;
        frames.ShadeColour = Rgb(20, 40, 200);
        frames.HiddenInColourMode = true; // the picture shows no blue of its own
        LayerRecord& doors = doc.Layers[4];
        doors.ShadeId = 5;
        doors.FanDeckId = 20;
        doors.PaintKindId = 3;
        doors.Quantity = 0;
        const QString pdf = dir.filePath(QStringLiteral("vlastní barvy.pdf"));
        Order::Write(pdf, Order::Make(doc, &catalogue, QDate(2025, 3, 5)));
        const QString text = Squeezed(PdfText(pdf));
        for (const char* line :
             {"Odstín: vlastní barva #1428C8 – namíchat", "Okenní rámy", "Množství: 4\n",
              "Odstín: S 001 - 01", "Vějíř: [A] Syntetika", "Množství: 0 l – množství nezadáno",
              "S 001 - 01 [A] Syntetika Email množství nezadáno", "Vrstvy: Dveře"})
            QVERIFY2(text.contains(QString::fromUtf8(line)),
                     qPrintable(QString::fromUtf8(line) + QStringLiteral("\n---\n") + text));
        // The free colour's swatches: 60 × 50 in its row, 22 × 14 in the summary.
        int swatchPixels = 0;
        for (int page = 1; page <= PdfPages(pdf); ++page) {
            const QImage image = PdfPage(pdf, page, 96);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    swatchPixels +=
                        qAbs(c.red() - 20) + qAbs(c.green() - 40) + qAbs(c.blue() - 200) < 12;
                }
        }
        QVERIFY2(swatchPixels > 58 * 48, qPrintable(QString::number(swatchPixels)));
    }

    // Names as long as the catalogue takes, and the flag of a paint without a quantity
    // beside the areas and suggestions of a measured sheet, stand whole in the summary:
    // wrapped in their columns, never cut, nothing printed over anything.
    void theSummaryPrintsEveryTextWhole() {
        QTemporaryDir here;
        const QString file = here.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(file, TestCatalogue::LongNameRows()), QString());
        CatalogueDatabase longNames;
        longNames.Open(file);
        Document doc = PaintedHouse();
        doc.Layers[2].Quantity = 0; // the roof's paint
        doc.Measures.References << PlaneReference{
            PlaneReference::Kind::Length, {{10, 10}, {10, 110}}, 2.0, 0};
        const CoverageTable coverage{{1, {6, 2}}, {2, {5, 1}}};
        const QString pdf = dir.filePath(QStringLiteral("dlouhá jména.pdf"));
        Order::Write(pdf, Order::Make(doc, &longNames, QDate(2025, 3, 5), coverage));

        using namespace TestCatalogue;
        const QStringList whole{"Odstín",
                                "Vějíř",
                                "Druh barvy",
                                "Plocha",
                                "Spotřeba",
                                "Množství",
                                LongShade,
                                "[D] " + LongFanDeck,
                                LongPaintKind,
                                "Vrstvy: Fasáda, Sokl",
                                LongDarkShade,
                                "[D] " + LongExteriorDeck + ", č. 13",
                                LongSiliconeKind,
                                "množství nezadáno",
                                "Vrstvy: Střecha",
                                LongFrameShade,
                                "[D] " + LongExteriorDeck + ", č. 12",
                                "Vrstvy: Okenní rámy"};
        QList<QList<PdfWord>> summary; // the words of the summary, page by page
        bool inSummary = false;
        for (int page = 1; page <= PdfPages(pdf); ++page) {
            QList<PdfWord> words = PdfWords(pdf, page);
            QVERIFY2(PdfOverlappingWords(words).isEmpty(),
                     qPrintable(PdfOverlappingWords(words).join(QStringLiteral("\n"))));
            const auto heading = std::find_if(words.begin(), words.end(), [](const PdfWord& w) {
                return w.text == QStringLiteral("Souhrn");
            });
            if (heading != words.end()) {
                const qreal top = heading->box.bottom();
                words.removeIf([top](const PdfWord& w) { return w.box.top() < top; });
                inSummary = true;
            }
            if (inSummary)
                summary << words;
        }
        QVERIFY(inSummary);
        for (const QString& text : whole)
            QVERIFY2(std::any_of(summary.begin(), summary.end(),
                                 [&text](const QList<PdfWord>& words) {
                                     return PdfHasWholeText(words, text);
                                 }),
                     qPrintable(text + QStringLiteral("\n---\n") + PdfText(pdf)));
        QVERIFY(!PdfText(pdf).contains(QChar(0x2026))); // no ellipsis: nothing cut
        // The quantities stand right-aligned under their heading, at the page's edge.
        const auto rightOf = [&summary](const QString& text) {
            for (const QList<PdfWord>& words : summary)
                for (const PdfWord& word : words)
                    if (word.text == text)
                        return word.box.right();
            return qreal(-1);
        };
        QVERIFY(rightOf(QStringLiteral("Množství")) > 0);
        QVERIFY(qAbs(rightOf(QStringLiteral("Množství")) - rightOf(QStringLiteral("nezadáno"))) <
                1);
    }

    // A summary longer than a page goes on: every one of its sixty lines is on a page.
    void aLongSummaryGoesOnTheNextPages() {
        Document doc = PaintedHouse();
        doc.Layers = {OriginalLayerTemplate()};
        for (int i = 1; i <= 60; ++i)
            doc.Layers << PaintedLayer(QStringLiteral("Vrstva č. %1").arg(i), 0, 0, 0, i,
                                       Rgb(4 * i, 255 - 4 * i, 100));
        const QString pdf = dir.filePath(QStringLiteral("dlouhý souhrn.pdf"));
        Order::Write(pdf, Order::Make(doc, &catalogue, QDate(2025, 3, 5)));
        const int pages = PdfPages(pdf);
        QVERIFY(pages >= 3);
        // Page by page, so that nothing drawn past a page's bottom edge counts.
        QStringList summaryLines;
        bool inSummary = false;
        for (int page = 1; page <= pages; ++page) {
            const QString text = Squeezed(PdfPageText(pdf, page));
            for (const QString& line : text.split(QLatin1Char('\n'))) {
                inSummary = inSummary || line.contains(QStringLiteral("Souhrn objednávky"));
                if (inSummary && line.trimmed().startsWith(QStringLiteral("Vrstvy:")))
                    summaryLines << line.trimmed();
            }
        }
        QStringList expected;
        for (int i = 1; i <= 60; ++i)
            expected << QStringLiteral("Vrstvy: Vrstva č. %1").arg(i);
        QCOMPARE(summaryLines, expected);
    }

    // The demo house orders what it shows: every layer of it and of both its schemes
    // names a shade of the demo catalogue, in a fan deck that holds it for the paint
    // kind named, with the shade's own colour and a quantity.
    void theDemoHouseOrdersRealPaints() {
        QTemporaryDir here;
        const QString file = here.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(file, CatalogueScript::DemoRows()), QString());
        CatalogueDatabase demoCatalogue;
        demoCatalogue.Open(file);
        const DemoProject demo = MakeDemoHouse(300, 200);
        QList<std::pair<QString, LayerList>> colourings{
            {QStringLiteral("the layers"), demo.Layers}};
        for (const SchemeRecord& scheme : demo.Schemes)
            colourings.append({scheme.Name, scheme.Layers});
        QCOMPARE(colourings.size(), 3);
        QVERIFY(colourings[1].second != colourings[2].second);
        for (const auto& [what, layers] : colourings) {
            for (int i = 1; i < layers.size(); ++i) {
                const LayerRecord& layer = layers[i];
                const QString where = what + QStringLiteral(": ") + layer.Name;
                const OverviewRow row = Overview::LookUpRow(&demoCatalogue, layer);
                QVERIFY2(row.shades.size() == 1 && row.fanDecks.size() == 1 &&
                             row.paintKinds.size() == 1,
                         qPrintable(where));
                const OverviewShade& shade = row.shades[0];
                QCOMPARE(layer.ShadeColour, Rgb(shade.red, shade.green, shade.blue));
                QVERIFY2(layer.Quantity > 0, qPrintable(where));
                int held = 0;
                demoCatalogue.Run(
                    QStringLiteral(
                        "SELECT OIV_odstin_id FROM Odstin_In_Vejir WHERE "
                        "OIV_odstin_id = %1 AND OIV_vejir_id = %2 AND OIV_firma_id = %3;")
                        .arg(layer.ShadeId)
                        .arg(layer.FanDeckId)
                        .arg(layer.PaintKindId),
                    [&held](const CatalogueRow&) {
                        ++held;
                        return true;
                    });
                QVERIFY2(held == 1, qPrintable(where));
            }
        }
        // Its paint order names them, with units.
        Document doc;
        doc.ProjectPath = QStringLiteral("/projekty/domy/Rodinný dům.bmp");
        doc.PhotoBitmap = demo.Photo;
        doc.Mask = demo.Mask;
        doc.Layers = demo.Layers;
        const QString pdf = dir.filePath(QStringLiteral("demo.pdf"));
        Order::Write(pdf, Order::Make(doc, &demoCatalogue, QDate(2025, 3, 5)));
        const QString text = Squeezed(PdfText(pdf));
        QVERIFY(!text.contains(QStringLiteral("Žádná vrstva nemá zvolený odstín.")));
        for (const char* line : {"Množství: 48 l", "Množství: 20 Kg", "Množství: 12 l",
                                 "Druh barvy: Fasádní barva "
                                 "Odrex",
                                 "Vějíř: [D] Exteriér, č. 1", "Vějíř: [D] Exteriér, č. 9"})
            QVERIFY2(text.contains(QString::fromUtf8(line)), qPrintable(text));
        QCOMPARE(text.count(QStringLiteral("Vrstvy:")), 5);
    }

    void longProjectsGoOnTheNextPages() {
        Document doc = PaintedHouse();
        doc.Layers = {OriginalLayerTemplate()};
        for (int i = 1; i <= 30; ++i)
            doc.Layers << PaintedLayer(QStringLiteral("Vrstva č. %1").arg(i), 2 + i % 2, 12, 1, i);
        const QString pdf = dir.filePath(QStringLiteral("dlouhá.pdf"));
        Order::Write(pdf, Order::Make(doc, &catalogue, QDate(2025, 3, 5)));
        QVERIFY(PdfPages(pdf) >= 3);
        const QString text = Squeezed(PdfText(pdf));
        for (int i = 1; i <= 30; ++i)
            QVERIFY(text.contains(QStringLiteral("Vrstva č. %1\n").arg(i)));
        // Odd ids 3 (no colour) and even 2: 15 layers each; 2+4+…+30 = 240, 1+3+…+29 = 225.
        QVERIFY2(text.contains(QStringLiteral("E 001 - 02 [D] Exteriér Fasádní barva 240 l")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("E 001 - 01 [D] Exteriér Fasádní barva 225 l")));
    }

    void writtenWholeOrNotAtAll() {
        const QString pdf = dir.filePath(QStringLiteral("stará.pdf"));
        {
            QFile old(pdf);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(100000, 'x'));
        }
        const OrderSheet sheet = Order::Make(PaintedHouse(), &catalogue, QDate(2025, 3, 5));
        Order::Write(pdf, sheet);
        QFile written(pdf);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        QVERIFY(!bytes.contains(QByteArray(1000, 'x')));

        const QString nowhere = dir.filePath(QStringLiteral("chybí/objednávka.pdf"));
        QVERIFY_THROWS_EXCEPTION(IoError, Order::Write(nowhere, sheet));
        QVERIFY(!QFile::exists(nowhere));
    }

    void saveFromTheOverview() {
        ScriptedPrompts prompts;
        Document none;
        QVERIFY(!SaveOrderSheet(none, prompts, &catalogue));
        QCOMPARE(prompts.Texts(), QStringList{QStringLiteral("Není co ukládat")});
        QVERIFY(prompts.fileFilters.isEmpty());

        const Document doc = PaintedHouse();
        prompts.asked.clear();
        QVERIFY(!SaveOrderSheet(doc, prompts, &catalogue)); // cancelled
        QCOMPARE(
            prompts.fileFilters,
            QStringList{QStringLiteral("Dokumenty PDF (*.pdf)|*.pdf|Všechny soubory (*.*)|*.*")});
        QCOMPARE(prompts.suggested, QStringList{QStringLiteral("/projekty/domy/Rodinný dům.pdf")});
        QCOMPARE(prompts.fileUses, QList<Prompts::FileUse>{Prompts::FileUse::Order});
        const QString pdf = dir.filePath(QStringLiteral("z přehledu.pdf"));
        prompts.fileNames.enqueue(pdf);
        QVERIFY(SaveOrderSheet(doc, prompts, &catalogue));
        QVERIFY(prompts.asked.isEmpty());
        QVERIFY(PdfText(pdf).contains(QStringLiteral("Žlutá kuchyň")));

        prompts.fileNames.enqueue(dir.filePath(QStringLiteral("chybí/x.pdf")));
        QVERIFY(!SaveOrderSheet(doc, prompts, &catalogue));
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Chyba"));
    }

private:
    QTemporaryDir dir;
    CatalogueDatabase catalogue;
};

QTEST_MAIN(TestOrderSheet)
#include "test_ordersheet.moc"
