// The colour proposal "Návrh barev": what a customer reads in the PDF (through
// pdftotext), the pictures on its pages (through pdftoppm), the table rows, the
// colouring of a project without schemes and how the file is written.
#include "catalogue/CatalogueDatabase.h"
#include "overview/PdfPages.h"
#include "overview/PdfTable.h"
#include "overview/Proposal.h"
#include "project/Errors.h"
#include "project/PlaneReference.h"
#include "support/PaintedLayers.h"
#include "support/PdfText.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// A house front as wide as the page's picture: the facade (layer 1) on the left, the
// door (layer 2) on the right; plain grey plaster where the sky is ("Originál").
Document House(int width = 600, int height = 400) {
    Document doc;
    doc.ProjectPath = QStringLiteral("/projekty/domy/Dům u lesa.bmp");
    doc.PhotoBitmap = QImage(width, height, QImage::Format_BGR888);
    doc.PhotoBitmap.fill(QColor(200, 200, 200));
    doc.Mask = TMask::CreateBlank(width, height);
    for (int y = height / 4; y < height; ++y) {
        doc.Mask.PaintSpan(y, 0, width / 2 - 1, 1);
        doc.Mask.PaintSpan(y, width / 2, width - 1, 2);
    }
    LayerRecord facade = PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 1, 12, Rgb(250, 220, 100));
    LayerRecord door = PaintedLayer(QStringLiteral("Dveře"), 2, 12, 1, 0, Rgb(10, 10, 10));
    for (LayerRecord* layer : {&facade, &door}) {
        layer->RealColour = Rgb(200, 200, 200);
        layer->HiddenInColourMode = false;
    }
    doc.Layers = WithOriginal({facade, door});
    return doc;
}

// A scheme: the facade in another catalogue shade, the door as it is.
SchemeRecord Scheme(const QString& name, const Document& doc, int shade, Colour colour,
                    int quantity) {
    SchemeRecord scheme{name, doc.Layers};
    scheme.Layers[1].ShadeId = shade;
    scheme.Layers[1].FanDeckId = shade == 4 ? 13 : 12;
    scheme.Layers[1].PaintKindId = shade == 4 ? 2 : 1;
    scheme.Layers[1].ShadeColour = colour;
    scheme.Layers[1].Quantity = quantity;
    return scheme;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QString Squeezed(const QString& text) {
    QString squeezed = text;
    squeezed.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    return squeezed;
}

} // namespace

class TestProposal : public QObject {
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

    // Every chosen scheme's name and every shade it uses are in the text; a scheme
    // not chosen is not.
    void theCustomerReadsEveryChosenScheme_data() {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("shades");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("all three")
            << QList<int>{0, 1, 2} << QStringList{"Letní žlutá", "Černá klasika", "Šedý kámen"}
            << QStringList{"Žlutá kuchyň", "E 101 - 01", "E 002 - 01", "E 001 - 02"}
            << QStringList{};
        QTest::newRow("two, in the order chosen")
            << QList<int>{2, 1} << QStringList{"Šedý kámen", "Černá klasika"}
            << QStringList{"E 002 - 01", "E 101 - 01", "E 001 - 02"}
            << QStringList{"Letní žlutá", "Žlutá kuchyň"};
    }
    void theCustomerReadsEveryChosenScheme() {
        QFETCH(QList<int>, chosen);
        QFETCH(QStringList, names);
        QFETCH(QStringList, shades);
        QFETCH(QStringList, absent);
        Document doc = House();
        doc.Schemes = {Scheme(QStringLiteral("Letní žlutá"), doc, 6, Rgb(250, 220, 100), 12),
                       Scheme(QStringLiteral("Černá klasika"), doc, 4, Rgb(0, 0, 0), 9),
                       Scheme(QStringLiteral("Šedý kámen"), doc, 1, Rgb(200, 10, 10), 0)};
        const Document untouched = doc;
        const Proposal proposal = Proposals::Make(doc, chosen, &catalogue, QDate(2025, 6, 2));
        QVERIFY(doc.Layers == untouched.Layers && doc.Schemes == untouched.Schemes);
        const QString pdf = dir.filePath(QStringLiteral("návrh.pdf"));
        Proposals::Write(pdf, proposal);
        const QString text = Squeezed(PdfText(pdf));
        QVERIFY2(!text.isEmpty(), "pdftotext read nothing");
        for (const QString& line :
             QStringList{"Návrh barev", "Projekt: Dům u lesa", "Datum: 2. 6. 2025"} + names +
                 shades)
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral("\n---\n") + text));
        for (const QString& line : absent)
            QVERIFY2(!text.contains(line), qPrintable(line));
        // The first page, then a page per scheme headed by its name, in the order chosen.
        QCOMPARE(PdfPages(pdf), 1 + int(chosen.size()));
        const QStringList pages = text.split(QLatin1Char('\f'));
        for (int i = 0; i < names.size(); ++i) {
            QVERIFY(pages[0].contains(names[i]));
            QVERIFY2(pages[i + 1].contains(QStringLiteral("\n") + names[i] + QStringLiteral("\n")),
                     qPrintable(pages[i + 1]));
        }
        QVERIFY(!text.contains(QStringLiteral("Katalog barev nebyl")));
    }

    // A scheme's page: the table with its columns and the facade's row with the shade,
    // fan deck, paint kind and quantity with its unit; no area column while no layer
    // has one.
    void aSchemesTable() {
        Document doc = House();
        doc.Schemes = {Scheme(QStringLiteral("Černá klasika"), doc, 4, Rgb(0, 0, 0), 9)};
        const QString pdf = dir.filePath(QStringLiteral("tabulka.pdf"));
        Proposals::Write(pdf, Proposals::Make(doc, {0}, &catalogue, QDate(2025, 6, 2)));
        const QString page = Squeezed(PdfText(pdf)).split(QLatin1Char('\f')).value(1);
        QVERIFY2(page.contains(QStringLiteral("Vrstva Odstín Vějíř Druh barvy Množství")),
                 qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("Fasáda E 101 - 01 Exteriér Silikonová barva 9 Kg")),
                 qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("Dveře E 001 - 02 Exteriér Fasádní barva\n")),
                 qPrintable(page));
        QVERIFY(!page.contains(QStringLiteral("Plocha")));
    }

    // A measured project: each layer's area in the table, the quantity entered or,
    // without one, what the area needs by the paint kind's spreading rate.
    void aMeasuredSchemesAreasAndQuantities() {
        Document doc = House();
        // 20 pixels are a metre: each half of the house's lower three quarters is
        // 300 × 300 pixels of 0,0025 m², 225 m².
        doc.Measures.References << PlaneReference{
            PlaneReference::Kind::Length, {{0, 0}, {20, 0}}, 1.0, 0};
        doc.Schemes = {Scheme(QStringLiteral("Černá klasika"), doc, 4, Rgb(0, 0, 0), 9)};
        // Fasádní barva (the door's): 30 m² a litre, two coats, 15 litres. The
        // facade's silicone paint would need 23 Kg, but 9 were entered.
        const CoverageTable coverage{{1, Coverage{30, 2}}, {2, Coverage{10, 1}}};
        const Proposal proposal =
            Proposals::Make(doc, {0}, &catalogue, QDate(2025, 6, 2), coverage);
        QCOMPARE(proposal.schemes.size(), 1);
        QStringList rows;
        for (const OrderLine& line : proposal.schemes[0].lines) {
            const ProposalRow row = Proposals::RowOf(line);
            rows << row.layer + QLatin1Char('|') + row.area + QLatin1Char('|') + row.quantity;
        }
        QCOMPARE(rows, (QStringList{"Fasáda|225,0 m²|9 Kg", "Dveře|225,0 m²|15 l"}));

        const QString pdf = dir.filePath(QStringLiteral("změřený.pdf"));
        Proposals::Write(pdf, proposal);
        const QString page = Squeezed(PdfText(pdf)).split(QLatin1Char('\f')).value(1);
        QVERIFY2(page.contains(QStringLiteral("Vrstva Odstín Vějíř Druh barvy Plocha Množství")),
                 qPrintable(page));
        QVERIFY2(
            page.contains(QStringLiteral("Dveře E 001 - 02 Exteriér Fasádní barva 225,0 m² 15 l")),
            qPrintable(page));
    }

    // The table as a customer sees it printed: black text on every row, a row without
    // a swatch too, and each swatch framed, so that a white shade shows on white paper.
    void theTableReadsOnPaper() {
        Document doc = House();
        doc.Layers[2] = PaintedLayer(QStringLiteral("Dveře"), 5, 20, 3, 1, Rgb(255, 255, 255));
        doc.Layers << PaintedLayer(QStringLiteral("Okapy"), -1, -1, -1, 0);
        const QString pdf = dir.filePath(QStringLiteral("na papíře.pdf"));
        Proposals::Write(pdf, Proposals::Make(doc, {}, &catalogue, QDate(2025, 6, 2)));
        constexpr int Scale = 2; // 144 dots per inch: two pixels a point
        const QImage page = PdfPage(pdf, 2, 72 * Scale);
        QVERIFY(!page.isNull());
        const auto darkest = [&page](const QRectF& box) {
            int dark = 255;
            const QRect pixels = QRectF(box.topLeft() * Scale, box.size() * Scale).toRect();
            for (int y = pixels.top(); y <= pixels.bottom(); ++y)
                for (int x = pixels.left(); x <= pixels.right(); ++x)
                    dark = std::min(dark, qGray(page.pixel(x, y)));
            return dark;
        };
        QMap<QString, QRectF> boxes;
        for (const PdfWord& word : PdfWords(pdf, 2))
            boxes.insert(word.text, word.box);
        for (const char* word : {"Vrstva", "Množství", "Fasáda", "Dveře", "Okapy", "beze"}) {
            QVERIFY2(boxes.contains(QString::fromUtf8(word)), word);
            QVERIFY2(darkest(boxes[QString::fromUtf8(word)]) < 60, word);
        }
        // The door's white swatch, left of its name: its outline is dark.
        const QRectF door = boxes[QStringLiteral("Dveře")];
        const QRectF swatch(QPointF(0, door.top() - 2),
                            QPointF(door.left() - 2, door.bottom() + 2));
        QVERIFY(darkest(swatch) < 60);
        // The unpainted layer has no swatch: white there.
        const QRectF eaves = boxes[QStringLiteral("Okapy")];
        QCOMPARE(
            darkest(QRectF(QPointF(0, eaves.top()), QPointF(eaves.left() - 2, eaves.bottom()))),
            255);
    }

    // Names as long as the catalogue takes stand whole in a scheme's table: wrapped in
    // their columns, never cut, nothing printed over anything.
    void theTablePrintsEveryTextWhole() {
        QTemporaryDir here;
        const QString file = here.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(file, TestCatalogue::LongNameRows()), QString());
        CatalogueDatabase longNames;
        longNames.Open(file);
        Document doc = House();
        doc.Layers[2].Name = QStringLiteral("Vchodové dveře a okenní rámy v přízemí");
        doc.Measures.References << PlaneReference{
            PlaneReference::Kind::Length, {{0, 0}, {20, 0}}, 1.0, 0};
        doc.Schemes = {Scheme(QStringLiteral("Grafitová s pískovou"), doc, 4, Rgb(0, 0, 0), 9)};
        const CoverageTable coverage{{1, Coverage{30, 2}}};
        const QString pdf = dir.filePath(QStringLiteral("dlouhá jména.pdf"));
        Proposals::Write(pdf, Proposals::Make(doc, {0}, &longNames, QDate(2025, 6, 2), coverage));

        using namespace TestCatalogue;
        const QStringList whole{"Vrstva",           "Odstín",         "Vějíř",       "Druh barvy",
                                "Plocha",           "Množství",       "Fasáda",      LongDarkShade,
                                LongExteriorDeck,   LongSiliconeKind, "225,0 m²",    "9 Kg",
                                doc.Layers[2].Name, LongFrameShade,   LongPaintKind, "15 l"};
        QCOMPARE(PdfPages(pdf), 2);
        const QList<PdfWord> words = PdfWords(pdf, 2);
        QVERIFY2(PdfOverlappingWords(words).isEmpty(),
                 qPrintable(PdfOverlappingWords(words).join(QStringLiteral("\n"))));
        for (const QString& text : whole)
            QVERIFY2(PdfHasWholeText(words, text),
                     qPrintable(text + QStringLiteral("\n---\n") + PdfPageText(pdf, 2)));
        QVERIFY(!PdfText(pdf).contains(QChar(0x2026))); // no ellipsis: nothing cut
    }

    // Columns from the widths of their texts: each as wide as its widest text when all
    // fit, the room left to the stretching ones; between its widest word and widest
    // text when not; the widest words scaled down when even they do not fit.
    void columnWidths_data() {
        QTest::addColumn<QList<qreal>>("widest");
        QTest::addColumn<QList<qreal>>("narrowest");
        QTest::addColumn<QList<bool>>("stretch");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<QList<qreal>>("widths");
        // Gaps of 10 between columns.
        QTest::newRow("all fit, the room to the text columns by their widths")
            << QList<qreal>{100, 50, 30} << QList<qreal>{40, 20, 30}
            << QList<bool>{true, true, false} << qreal(350) << QList<qreal>{200, 100, 30};
        QTest::newRow("all fit exactly")
            << QList<qreal>{100, 50} << QList<qreal>{40, 20} << QList<bool>{true, false}
            << qreal(160) << QList<qreal>{100, 50};
        QTest::newRow("between, in proportion to what each would need")
            << QList<qreal>{200, 100, 30} << QList<qreal>{50, 50, 30}
            << QList<bool>{true, true, false} << qreal(250) << QList<qreal>{125, 75, 30};
        QTest::newRow("not even the widest words fit")
            << QList<qreal>{200, 100} << QList<qreal>{100, 50} << QList<bool>{true, true}
            << qreal(85) << QList<qreal>{50, 25};
    }
    void columnWidths() {
        QFETCH(QList<qreal>, widest);
        QFETCH(QList<qreal>, narrowest);
        QFETCH(QList<bool>, stretch);
        QFETCH(qreal, width);
        QFETCH(QList<qreal>, widths);
        QCOMPARE(ColumnWidths(widest, narrowest, stretch, width, 10), widths);
    }

    // A table of short texts spans its width: its number column ends at its right edge,
    // its text columns share the room.
    void aTableSpansItsWidth() {
        QImage page(800, 200, QImage::Format_RGB32);
        page.setDotsPerMeterX(3780); // 96 dots per inch
        page.setDotsPerMeterY(3780);
        const PdfTable table(
            {{QStringLiteral("Vrstva")},
             {QStringLiteral("Odstín")},
             {QStringLiteral("Množství"), true}},
            {{QStringLiteral("Sokl"), QStringLiteral("Žlutá"), QStringLiteral("3 l")}},
            PdfFont(9, true), PdfFont(9), &page, 700);
        QCOMPARE(table.Left(2) + table.Width(2), qreal(700));
        QVERIFY(table.Width(0) > 200 && table.Width(1) > 200);
        QCOMPARE(table.Left(1), table.Left(0) + table.Width(0) + PdfTable::Gap);
    }

    // What a row says of a layer, with and without the catalogue's rows.
    void rowsOfTheTable_data() {
        QTest::addColumn<LayerRecord>("layer");
        QTest::addColumn<bool>("withCatalogue");
        QTest::addColumn<QStringList>("texts"); // layer, shade, fan deck, kind, quantity
        QTest::addColumn<QColor>("swatch");
        QTest::newRow("a catalogue shade")
            << PaintedLayer(QStringLiteral("Sokl"), 6, 30, 1, 30, Rgb(250, 220, 100)) << true
            << QStringList{"Sokl", "Žlutá kuchyň", "Moje", "Fasádní barva", "30 l"}
            << QColor(250, 220, 100);
        QTest::newRow("a shade without colour")
            << PaintedLayer(QStringLiteral("Římsa"), 3, 12, 1, 2, Rgb(1, 2, 3)) << true
            << QStringList{"Římsa", "E 001 - 01", "Exteriér", "Fasádní barva", "2 l"} << QColor();
        QTest::newRow("without the catalogue")
            << PaintedLayer(QStringLiteral("Sokl"), 6, 30, 1, 30, Rgb(250, 220, 100)) << false
            << QStringList{"Sokl", "odstín č. 6", "vějíř č. 30", "druh barvy č. 1", "30"}
            << QColor(250, 220, 100);
        QTest::newRow("a free colour from the palette")
            << PaintedLayer(QStringLiteral("Okna"), 0, 0, 0, 0, Rgb(18, 52, 86)) << true
            << QStringList{"Okna", "vlastní barva #123456", "–", "–", ""} << QColor(18, 52, 86);
        QTest::newRow("a colour without a catalogue shade")
            << PaintedLayer(QStringLiteral("Okna"), -1, -1, -1, 3, Rgb(18, 52, 86)) << true
            << QStringList{"Okna", "vlastní barva #123456", "–", "–", "3"} << QColor(18, 52, 86);
        QTest::newRow("no paint") << PaintedLayer(QStringLiteral("Dveře"), -1, -1, -1, 0) << true
                                  << QStringList{"Dveře", "beze změny", "", "", ""} << QColor();
    }
    void rowsOfTheTable() {
        QFETCH(LayerRecord, layer);
        QFETCH(bool, withCatalogue);
        QFETCH(QStringList, texts);
        QFETCH(QColor, swatch);
        const QList<OrderLine> lines =
            Order::Lines(WithOriginal({layer}), withCatalogue ? &catalogue : nullptr);
        QCOMPARE(lines.size(), 1);
        const ProposalRow row = Proposals::RowOf(lines[0]);
        QCOMPARE(QStringList({row.layer, row.shade, row.fanDeck, row.paintKind, row.quantity}),
                 texts);
        QCOMPARE(row.swatch, swatch);
        QCOMPARE(row.area, QString());
    }

    // A project without schemes: its current colouring alone, on two pages.
    void withoutSchemesTheCurrentColouring() {
        const Document doc = House();
        const Proposal proposal =
            Proposals::Make(doc, Proposals::AllSchemes(doc), &catalogue, QDate(2025, 6, 2));
        QCOMPARE(proposal.schemes.size(), 1);
        QCOMPARE(proposal.schemes[0].name, Proposals::CurrentColouring);
        // Rows that name no scheme are passed over, as if nothing were chosen.
        const Proposal stale = Proposals::Make(doc, {-1, 0, 3}, &catalogue, QDate(2025, 6, 2));
        QCOMPARE(stale.schemes.size(), 1);
        QCOMPARE(stale.schemes[0].name, Proposals::CurrentColouring);
        const QString pdf = dir.filePath(QStringLiteral("bez schémat.pdf"));
        Proposals::Write(pdf, proposal);
        QCOMPARE(PdfPages(pdf), 2);
        const QString text = Squeezed(PdfText(pdf));
        for (const char* line : {"Současné obarvení", "Žlutá kuchyň", "Moje", "12 l", "E 001 - 02"})
            QVERIFY2(text.contains(QString::fromUtf8(line)), qPrintable(text));
    }

    // The pictures are the schemes' colourings: on the first page side by side, on each
    // scheme's page across the page's width.
    void thePicturesAreTheSchemesColourings() {
        Document doc = House();
        doc.Schemes = {Scheme(QStringLiteral("Modrá"), doc, 6, Rgb(20, 40, 220), 1),
                       Scheme(QStringLiteral("Zelená"), doc, 6, Rgb(20, 200, 40), 1)};
        const QString pdf = dir.filePath(QStringLiteral("obrázky.pdf"));
        Proposals::Write(pdf, Proposals::Make(doc, {0, 1}, &catalogue, QDate(2025, 6, 2)));
        const auto facadeColours = [](const QImage& page) {
            int blue = 0, green = 0;
            for (int y = 0; y < page.height(); ++y) {
                for (int x = 0; x < page.width(); ++x) {
                    const QColor c = page.pixelColor(x, y);
                    blue += c.blue() > 150 && c.red() < 80 && c.green() < 80;
                    green += c.green() > 130 && c.red() < 80 && c.blue() < 80;
                }
            }
            return std::pair{blue, green};
        };
        const auto [blue1, green1] = facadeColours(PdfPage(pdf, 1, 36));
        QVERIFY(blue1 > 200 && green1 > 200); // both on the first page
        const QImage second = PdfPage(pdf, 2, 36);
        const auto [blue2, green2] = facadeColours(second);
        QVERIFY(blue2 > blue1 && green2 == 0); // larger, alone
        const auto [blue3, green3] = facadeColours(PdfPage(pdf, 3, 36));
        QVERIFY(green3 > green1 && blue3 == 0);
        // On its page the picture spans the width between the margins.
        int left = second.width(), right = 0;
        for (int x = 0; x < second.width(); ++x) {
            for (int y = 0; y < second.height() / 2; ++y) {
                const QColor c = second.pixelColor(x, y);
                if (c.blue() > 150 && c.red() < 80 && c.green() < 80) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        const int margin = qRound(15 / 25.4 * 36);
        QVERIFY2(qAbs(left - margin) <= 2, qPrintable(QString::number(left)));
        QVERIFY2(right > second.width() / 2 - 4, qPrintable(QString::number(right)));
    }

    // Pictures wider than the page carries are reduced a band at a time, as the paint
    // order's: no scheme's picture is kept at full size.
    void largePicturesAreReducedForThePage() {
        Document doc = House(3000, 200);
        doc.Schemes = {Scheme(QStringLiteral("A"), doc, 6, Rgb(20, 40, 220), 1),
                       Scheme(QStringLiteral("B"), doc, 4, Rgb(0, 0, 0), 1)};
        const Proposal proposal = Proposals::Make(doc, {0, 1}, &catalogue, QDate(2025, 6, 2));
        for (const ProposalScheme& scheme : proposal.schemes) {
            QCOMPARE(scheme.picture.size(), QSize(1000, 67)); // a third: 3000 / 3
            QCOMPARE(scheme.picture, Order::Picture(doc, LayersWithSchemeFor(doc, scheme.name)));
        }
    }

    void writtenWholeOrNotAtAll() {
        const QString pdf = dir.filePath(QStringLiteral("starý návrh.pdf"));
        {
            QFile old(pdf);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(100000, 'x'));
        }
        const Proposal proposal = Proposals::Make(House(), {}, &catalogue, QDate(2025, 6, 2));
        Proposals::Write(pdf, proposal);
        QFile written(pdf);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(!bytes.contains(QByteArray(1000, 'x')));
        const QString nowhere = dir.filePath(QStringLiteral("chybí/návrh.pdf"));
        QVERIFY_THROWS_EXCEPTION(IoError, Proposals::Write(nowhere, proposal));
        QVERIFY(!QFile::exists(nowhere));
    }

    // A disk that takes only part of the document: the old file stays, no temporary
    // file is left, and the failure is reported.
    void aDocumentThatCannotBeWrittenWholeLeavesTheOldFile() {
        QTemporaryDir here;
        const QString pdf = here.filePath(QStringLiteral("návrh.pdf"));
        WriteBytes(pdf, "starý návrh");
        Document doc = House();
        doc.Schemes = {Scheme(QStringLiteral("Modrá"), doc, 6, Rgb(20, 40, 220), 1)};
        const Proposal proposal = Proposals::Make(doc, {0}, &catalogue, QDate(2025, 6, 2));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 20000;
        setrlimit(RLIMIT_FSIZE, &small);
        QString message;
        try {
            Proposals::Write(pdf, proposal);
        } catch (const IoError& error) {
            message = error.message();
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        // The reason of the write that failed, not of the commit after it.
        QCOMPARE(message, QStringLiteral("Soubor %1 nelze uložit: soubor by byl větší, než "
                                         "systém dovoluje.")
                              .arg(QDir::toNativeSeparators(pdf)));
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("starý návrh"));
        QCOMPARE(QDir(here.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("návrh.pdf")});
    }

    // More colourings than their pictures may take memory for: the first page shows
    // small copies, all of them together within a bound, and each colouring's page its
    // picture at full size again, drawn for the page.
    void manySchemesKeepOnlyThumbnails() {
        Document doc = House(1400, 1000);
        // Sixteen pictures of 1400 × 1000 take 67,2 MB; fifteen would be kept.
        QVERIFY(Proposals::PicturesKept(doc, 15));
        QVERIFY(!Proposals::PicturesKept(doc, 16));
        QList<QColor> colours;
        for (int i = 0; i < 16; ++i) {
            colours << QColor::fromHsv(i * 360 / 16, 255, 230);
            doc.Schemes << Scheme(QStringLiteral("Schéma %1").arg(i + 1), doc, 6,
                                  Rgb(colours[i].red(), colours[i].green(), colours[i].blue()), 1);
        }
        const Proposal proposal =
            Proposals::Make(doc, Proposals::AllSchemes(doc), &catalogue, QDate(2025, 6, 2));
        qint64 thumbnailBytes = 0;
        for (const ProposalScheme& scheme : proposal.schemes) {
            QVERIFY(scheme.picture.isNull());
            QVERIFY(scheme.thumbnail.width() < 1400 && scheme.thumbnail.width() >= 300);
            QVERIFY(qAbs(double(scheme.thumbnail.width()) / scheme.thumbnail.height() - 1.4) <
                    0.01);
            thumbnailBytes += scheme.thumbnail.sizeInBytes();
        }
        QVERIFY2(thumbnailBytes <= Proposals::ThumbnailBytes,
                 qPrintable(QString::number(thumbnailBytes)));

        const QString pdf = dir.filePath(QStringLiteral("mnoho schémat.pdf"));
        Proposals::Write(pdf, proposal);
        // The first pages' grid, then a page per scheme with the whole picture of its
        // own colouring.
        const int pages = PdfPages(pdf);
        QVERIFY2(pages > 17, qPrintable(QString::number(pages)));
        const QList<QSize> images = PdfImageSizes(pdf);
        QCOMPARE(images.size(), 32);
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(images[i], proposal.schemes[i].thumbnail.size());
            QCOMPARE(images[16 + i], QSize(1400, 1000));
        }
        for (int i = 0; i < 16; i += 5) {
            const QImage page = PdfPage(pdf, pages - 15 + i, 24);
            int own = 0;
            for (int y = 0; y < page.height(); ++y)
                for (int x = 0; x < page.width(); ++x) {
                    const QColor c = page.pixelColor(x, y);
                    own += qAbs(c.red() - colours[i].red()) + qAbs(c.green() - colours[i].green()) +
                               qAbs(c.blue() - colours[i].blue()) <
                           30;
                }
            QVERIFY2(own > 1000, qPrintable(QString::number(own)));
        }
    }

    void withoutTheCatalogue() {
        const QString pdf = dir.filePath(QStringLiteral("bez katalogu.pdf"));
        Proposals::Write(pdf, Proposals::Make(House(), {}, nullptr, QDate(2025, 6, 2)));
        const QString text = Squeezed(PdfText(pdf));
        QVERIFY(text.contains(QStringLiteral("Katalog barev nebyl k dispozici")));
        QVERIFY(text.contains(QStringLiteral("odstín č. 6")));
        QVERIFY(!text.contains(QStringLiteral("Žlutá kuchyň")));
        // The heading bold, the rows upright, the note of the missing catalogue slanted.
        QCOMPARE(PdfFaces(pdf),
                 (QStringList{"DejaVuSans", "DejaVuSans-Bold", "DejaVuSans-Oblique"}));
    }

    void saveFromAWindow() {
        ScriptedPrompts prompts;
        QVERIFY(!SaveProposal(Document(), {}, prompts, &catalogue));
        QCOMPARE(prompts.Texts(), QStringList{QStringLiteral("Není co ukládat")});

        Document doc = House();
        doc.Schemes = {Scheme(QStringLiteral("Letní žlutá"), doc, 6, Rgb(250, 220, 100), 12),
                       Scheme(QStringLiteral("Černá klasika"), doc, 4, Rgb(0, 0, 0), 9)};
        prompts.asked.clear();
        QVERIFY(!SaveProposal(doc, {1}, prompts, &catalogue)); // cancelled
        QCOMPARE(
            prompts.fileFilters,
            QStringList{QStringLiteral("Dokumenty PDF (*.pdf)|*.pdf|Všechny soubory (*.*)|*.*")});
        const QString pdf = dir.filePath(QStringLiteral("z okna.pdf"));
        prompts.fileNames.enqueue(pdf);
        QVERIFY(SaveProposal(doc, {1}, prompts, &catalogue));
        QVERIFY(prompts.asked.isEmpty());
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Černá klasika")));
        QVERIFY(!text.contains(QStringLiteral("Letní žlutá")));

        prompts.fileNames.enqueue(dir.filePath(QStringLiteral("chybí/x.pdf")));
        QVERIFY(!SaveProposal(doc, {0}, prompts, &catalogue));
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Chyba"));
    }

private:
    static LayerList LayersWithSchemeFor(const Document& doc, const QString& name) {
        for (const SchemeRecord& scheme : doc.Schemes) {
            if (scheme.Name == name) {
                LayerList layers = doc.Layers;
                for (const LayerRecord& record : scheme.Layers)
                    for (LayerRecord& layer : layers)
                        if (layer.Name == record.Name)
                            layer = record;
                return layers;
            }
        }
        return doc.Layers;
    }

    QTemporaryDir dir;
    CatalogueDatabase catalogue;
};

QTEST_MAIN(TestProposal)
#include "test_proposal.moc"
