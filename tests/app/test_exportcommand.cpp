#include "DemoHouse.h"
#include "app/ExportCommand.h"
#include "overview/PaintCoverage.h"
#include "project/CzechNumber.h"
#include "project/PhotoFiles.h"
#include "render/RenderRegion.h"
#include "support/PdfText.h"
#include "support/TestCatalogue.h"
#include "workspace/ProjectOperations.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int code;
    QString out;
    QString err;
};

// Runs the command as if it lay in programDir (where it looks for odrex.tom).
Run Export(const QStringList& arguments, const QString& programDir = QString()) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = RunExportCommand(arguments, outStream, errStream, programDir);
    outStream.flush();
    errStream.flush();
    return {code, out, err};
}

} // namespace

class TestExportCommand : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        photo = dir.filePath(QStringLiteral("Rodinný dům.bmp"));
        const DemoProject demo = MakeDemoHouse(240, 160);
        PhotoFiles::SaveBmp(photo, demo.Photo);
        demo.Mask.SaveToFile(photo + QStringLiteral(".mask"), demo.Layers, demo.Schemes);

        // The same house with paints from the small test catalogue, and a scheme that
        // paints the facade otherwise.
        paintedPhoto = dir.filePath(QStringLiteral("Natřený dům.bmp"));
        LayerList layers = demo.Layers;
        const auto paint = [&layers](int layer, int shade, int fanDeck, int kind) {
            layers[layer].ShadeId = shade;
            layers[layer].FanDeckId = fanDeck;
            layers[layer].PaintKindId = kind;
        };
        paint(1, 6, 30, 1);
        paint(2, 6, 30, 1);
        paint(5, 4, 13, 2);
        SchemeRecord other{QStringLiteral("Jiná"), layers};
        other.Layers[1].ShadeId = 4;
        other.Layers[1].FanDeckId = 13;
        other.Layers[1].PaintKindId = 2;
        other.Layers[1].Quantity = 7;
        PhotoFiles::SaveBmp(paintedPhoto, demo.Photo);
        demo.Mask.SaveToFile(paintedPhoto + QStringLiteral(".mask"), layers, {other});

        // The painted house without any scheme.
        plainPhoto = dir.filePath(QStringLiteral("Bez schémat.bmp"));
        PhotoFiles::SaveBmp(plainPhoto, demo.Photo);
        demo.Mask.SaveToFile(plainPhoto + QStringLiteral(".mask"), layers, {});
        catalogue = dir.filePath(QStringLiteral("katalog.tom"));
        QCOMPARE(TestCatalogue::Build(catalogue, TestCatalogue::SmallRows()), QString());
    }

    void rendersAsOpened() {
        const QString out = dir.filePath(QStringLiteral("obr.png"));
        const Run run = Export({photo, QStringLiteral("--out"), out});
        QCOMPARE(run.code, 0);
        LoadedProject project = LoadProject(photo);
        Document doc;
        doc.PhotoBitmap = project.Photo;
        doc.Mask = project.Mask;
        doc.Layers = project.Layers;
        QCOMPARE(QImage(out).convertToFormat(QImage::Format_RGB32),
                 RenderFullSize(doc, false).convertToFormat(QImage::Format_RGB32));
    }

    void zoomAndFormats_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("zoom");
        QTest::addColumn<QSize>("size");
        QTest::newRow("bmp at 0.5") << "a.bmp"
                                    << "0.5" << QSize(120, 80);
        QTest::newRow("jpg at 2") << "a.jpg"
                                  << "2" << QSize(480, 320);
        QTest::newRow("png at 0.25") << "a.png"
                                     << "0.25" << QSize(60, 40);
    }
    void zoomAndFormats() {
        QFETCH(QString, name);
        QFETCH(QString, zoom);
        QFETCH(QSize, size);
        const QString out = dir.filePath(name);
        QCOMPARE(Export({photo, QStringLiteral("--zoom"), zoom, QStringLiteral("--out"), out}).code,
                 0);
        QCOMPARE(QImage(out).size(), size);
    }

    void schemesAndMaskMode() {
        const QString cool = dir.filePath(QStringLiteral("cool.png"));
        const QString warm = dir.filePath(QStringLiteral("warm.png"));
        const QString mask = dir.filePath(QStringLiteral("mask.png"));
        QCOMPARE(Export({photo, QStringLiteral("--scheme"), QStringLiteral("Chladná šedá"),
                         QStringLiteral("--out"), cool})
                     .code,
                 0);
        QCOMPARE(Export({photo, QStringLiteral("--scheme"), QStringLiteral("Teplá okrová"),
                         QStringLiteral("--out"), warm})
                     .code,
                 0);
        QCOMPARE(Export({photo, QStringLiteral("--mask-mode"), QStringLiteral("--out"), mask}).code,
                 0);
        QVERIFY(QImage(cool) != QImage(warm));
        // In mask mode the facade is its flat mask colour.
        const QImage flat(mask);
        const QColor facade = flat.pixelColor(62, 75);
        QCOMPARE(facade, QColor(93, 170, 70));

        const QString all = dir.filePath(QStringLiteral("vse"));
        QCOMPARE(Export({photo, QStringLiteral("--all-schemes"), all}).code, 0);
        QCOMPARE(QDir(all).entryList(QDir::Files),
                 (QStringList{QStringLiteral("Rodinný dům-Chladná šedá.jpg"),
                              QStringLiteral("Rodinný dům-Teplá okrová.jpg")}));
    }

    // The pictures of --all-schemes are named once, as plain text: a project named
    // with "%1" lost it (the name was formatted twice). Two schemes of one name, or of
    // names told apart only by letter case, and a scheme whose picture --out already
    // writes each get a number, never the same file.
    void allSchemesNamesAreMadeOnceAndUnique() {
        QTemporaryDir here;
        const QString odd = here.filePath(QStringLiteral("dům %1 %2.bmp"));
        const DemoProject demo = MakeDemoHouse(60, 40);
        PhotoFiles::SaveBmp(odd, demo.Photo);
        SchemeList schemes{demo.Schemes[0], demo.Schemes[0], demo.Schemes[0], demo.Schemes[1]};
        schemes[0].Name = QStringLiteral("Léto");
        schemes[1].Name = QStringLiteral("Léto");
        schemes[1].Layers[1].ShadeColour = 0x0000FF;
        schemes[2].Name = QStringLiteral("LÉTO");
        schemes[3].Name = QStringLiteral("Zima");
        demo.Mask.SaveToFile(odd + QStringLiteral(".mask"), demo.Layers, schemes);
        const QString folder = here.filePath(QStringLiteral("schemata"));
        QVERIFY(QDir().mkpath(folder));
        const Run run =
            Export({odd, QStringLiteral("--all-schemes"), folder, QStringLiteral("--out"),
                    QDir(folder).filePath(QStringLiteral("dům %1 %2-Zima.jpg"))});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        const QStringList names = QDir(folder).entryList(QDir::Files);
        QCOMPARE(QSet<QString>(names.begin(), names.end()),
                 (QSet<QString>{
                     QStringLiteral("dům %1 %2-Léto.jpg"), QStringLiteral("dům %1 %2-Léto (2).jpg"),
                     QStringLiteral("dům %1 %2-LÉTO (3).jpg"), QStringLiteral("dům %1 %2-Zima.jpg"),
                     QStringLiteral("dům %1 %2-Zima (2).jpg")}));
        // The second "Léto" is its own picture, not the first one written again.
        const QImage first(QDir(folder).filePath(QStringLiteral("dům %1 %2-Léto.jpg")));
        const QImage second(QDir(folder).filePath(QStringLiteral("dům %1 %2-Léto (2).jpg")));
        QVERIFY(!first.isNull() && first != second);
    }

    void listShowsEveryStoredField() {
        const Run run = Export({photo, QStringLiteral("--list")});
        QCOMPARE(run.code, 0);
        const QJsonObject root = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(root[QStringLiteral("Width")].toInt(), 240);
        const QJsonArray layers = root[QStringLiteral("Layers")].toArray();
        QCOMPARE(layers.size(), 7);
        QCOMPARE(layers[0].toObject()[QStringLiteral("Name")].toString(),
                 QStringLiteral("Originál"));
        const QJsonObject chimney = layers[6].toObject();
        QCOMPARE(chimney[QStringLiteral("MasterName")].toString(), QStringLiteral("Sokl"));
        QVERIFY(chimney[QStringLiteral("Subordinate")].toBool());
        for (const char* key : {"ReservedText", "RealColour", "MaskColour", "ShadeColour", "Locked",
                                "ShadeId", "FanDeckId", "Quantity", "PaintKindId"})
            QVERIFY(chimney.contains(QLatin1String(key)));
        QCOMPARE(root[QStringLiteral("Schemes")].toArray().size(), 2);
        // No reference, no areas.
        QVERIFY(!chimney.contains(QStringLiteral("Area")));
        QVERIFY(!root.contains(QStringLiteral("References")));
    }

    // With a reference (a line of 2 m over 100 pixels: 4 cm² a pixel) every layer
    // gives its own area, and those the overview lists the area their paint covers;
    // the order sheet has them with the quantities the user's spreading rates suggest.
    void measuredProject() {
        const QString measured = dir.filePath(QStringLiteral("Změřený dům.bmp"));
        QVERIFY(QFile::copy(paintedPhoto, measured));
        QVERIFY(QFile::copy(paintedPhoto + QStringLiteral(".mask"),
                            measured + QStringLiteral(".mask")));
        QFile file(measured + QStringLiteral(".mereni"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("TINTORA-MERENI 1\nusecka 0 0 0 100 2\n");
        file.close();
        const LoadedProject project = LoadProject(measured);
        QList<double> pixels(project.Layers.size(), 0.0);
        for (int y = 0; y < project.Mask.Height; ++y)
            for (int x = 0; x < project.Mask.Width; ++x)
                pixels[project.Mask.LayerAt(x, y)] += 0.0004;

        const Run run = Export({measured, QStringLiteral("--list")});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err, QString());
        const QJsonObject root = QJsonDocument::fromJson(run.out.toUtf8()).object();
        const QJsonArray layers = root[QStringLiteral("Layers")].toArray();
        for (int i = 0; i < layers.size(); ++i) {
            const QJsonObject layer = layers[i].toObject();
            QVERIFY(std::abs(layer[QStringLiteral("Area")].toDouble() - pixels[i]) < 1e-9);
            QCOMPARE(layer[QStringLiteral("Reference")].toInt(), 1);
        }
        // The chimney is subordinate to the plinth: its area goes to the plinth's paint.
        QVERIFY(!layers[6].toObject().contains(QStringLiteral("PaintedArea")));
        QVERIFY(std::abs(layers[5].toObject()[QStringLiteral("PaintedArea")].toDouble() -
                         (pixels[5] + pixels[6])) < 1e-9);
        QVERIFY(std::abs(layers[1].toObject()[QStringLiteral("PaintedArea")].toDouble() -
                         pixels[1]) < 1e-9);
        const QJsonArray references = root[QStringLiteral("References")].toArray();
        QCOMPARE(references.size(), 1);
        QCOMPARE(references[0].toObject()[QStringLiteral("Kind")].toString(),
                 QStringLiteral("Length"));
        QCOMPARE(references[0].toObject()[QStringLiteral("Length")].toDouble(), 2.0);

        // Fasádní barva (kind 1) covers 5 m² a litre in two coats, in the user's settings.
        PaintCoverage::Store(1, {5, 2});
        QTemporaryDir program;
        QCOMPARE(TestCatalogue::Build(program.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows()),
                 QString());
        const QString pdf = program.filePath(QStringLiteral("změřeno.pdf"));
        const Run sheet = Export({measured, QStringLiteral("--order-sheet"), pdf}, program.path());
        PaintCoverage::Forget(1);
        QCOMPARE(sheet.code, 0);
        const QString text = PdfText(pdf);
        const double facade = pixels[1], roof = pixels[2];
        const auto m2 = [](double a) { return CzechNumber::Format(a, 1) + QStringLiteral(" m²"); };
        QVERIFY2(text.contains(QStringLiteral("Plocha: ") + m2(facade)), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Spotřeba: %1 l").arg(std::ceil(facade * 2 / 5))));
        QVERIFY(text.contains(m2(facade + roof))); // the same paint on both
        QVERIFY(text.contains(QStringLiteral("Plocha")));
    }

    // A damaged references file is reported; the command goes on without areas.
    void damagedReferencesAreReported() {
        const QString damaged = dir.filePath(QStringLiteral("Poškozený dům.bmp"));
        QVERIFY(QFile::copy(photo, damaged));
        QVERIFY(QFile::copy(photo + QStringLiteral(".mask"), damaged + QStringLiteral(".mask")));
        QFile file(damaged + QStringLiteral(".mereni"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("TINTORA-MERENI 1\nusecka 0 0 0 0 2\n");
        file.close();
        const Run run = Export({damaged, QStringLiteral("--list")});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.err.contains(QStringLiteral("je poškozený (řádek 2: měřítko 1 neplatí: Oba "
                                                 "konce úsečky měřítka leží v jednom bodě.)")),
                 qPrintable(run.err));
        const QJsonObject root = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QVERIFY(!root[QStringLiteral("Layers")].toArray()[1].toObject().contains(
            QStringLiteral("Area")));
    }

    void failuresLeaveNoFile_data() {
        QTest::addColumn<QStringList>("arguments");
        const QString out = QStringLiteral("OUT");
        QTest::newRow("unknown scheme")
            << QStringList{QStringLiteral("PHOTO"), QStringLiteral("--scheme"),
                           QStringLiteral("Nic"), QStringLiteral("--out"), out};
        QTest::newRow("missing photo")
            << QStringList{QStringLiteral("chybi.bmp"), QStringLiteral("--out"), out};
        QTest::newRow("bad zoom") << QStringList{QStringLiteral("PHOTO"), QStringLiteral("--zoom"),
                                                 QStringLiteral("3"), QStringLiteral("--out"), out};
        QTest::newRow("bad format") << QStringList{QStringLiteral("PHOTO"), QStringLiteral("--out"),
                                                   QStringLiteral("OUT.gif")};
        QTest::newRow("nothing to do") << QStringList{QStringLiteral("PHOTO")};
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("PHOTO"), QStringLiteral("--fast")};
        QTest::newRow("order sheet of an unknown scheme") << QStringList{
            QStringLiteral("PHOTO"), QStringLiteral("--scheme"), QStringLiteral("Nic"),
            QStringLiteral("--order-sheet"), QStringLiteral("OUT.pdf")};
        QTest::newRow("proposal with an unknown scheme among known ones") << QStringList{
            QStringLiteral("PHOTO"),    QStringLiteral("--scheme"), QStringLiteral("Teplá okrová"),
            QStringLiteral("--scheme"), QStringLiteral("Nic"),      QStringLiteral("--proposal"),
            QStringLiteral("OUT.pdf")};
        QTest::newRow("proposal with no file named")
            << QStringList{QStringLiteral("PHOTO"), QStringLiteral("--proposal")};
        QTest::newRow("two schemes for one picture")
            << QStringList{QStringLiteral("PHOTO"),        QStringLiteral("--scheme"),
                           QStringLiteral("Teplá okrová"), QStringLiteral("--scheme"),
                           QStringLiteral("Chladná šedá"), QStringLiteral("--out"),
                           QStringLiteral("OUT"),          QStringLiteral("--proposal"),
                           QStringLiteral("OUT.pdf")};
        QTest::newRow("order sheet and a failing picture") << QStringList{
            QStringLiteral("PHOTO"), QStringLiteral("--order-sheet"), QStringLiteral("OUT.pdf"),
            QStringLiteral("--all-schemes"), QStringLiteral("/proc/nelze")};
    }
    void failuresLeaveNoFile() {
        QFETCH(QStringList, arguments);
        QTemporaryDir outDir;
        const QString out = outDir.filePath(QStringLiteral("x.png"));
        for (QString& a : arguments) {
            a.replace(QStringLiteral("PHOTO"), photo);
            a.replace(QStringLiteral("OUT"), outDir.filePath(QStringLiteral("x")));
            if (a == outDir.filePath(QStringLiteral("x")))
                a = out;
        }
        const Run run = Export(arguments);
        QVERIFY(run.code != 0);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(QDir(outDir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void malformedMaskFails() {
        QTemporaryDir other;
        const QString bad = other.filePath(QStringLiteral("x.bmp"));
        QFile::copy(photo, bad);
        QFile mask(bad + QStringLiteral(".mask"));
        QVERIFY(mask.open(QIODevice::WriteOnly));
        mask.write("\x02\x00\x01\x00", 4);
        mask.close();
        const Run run =
            Export({bad, QStringLiteral("--out"), other.filePath(QStringLiteral("o.png"))});
        QCOMPARE(run.code, 1);
        QVERIFY(!QFile::exists(other.filePath(QStringLiteral("o.png"))));
    }

    void help() {
        const Run run = Export({QStringLiteral("--help")});
        QCOMPARE(run.code, 0);
        QVERIFY(run.out.contains(QStringLiteral("--all-schemes")));
        QVERIFY(run.out.contains(QStringLiteral("--order-sheet")));
        QVERIFY(run.out.contains(QStringLiteral("--catalogue")));
        QVERIFY(run.out.contains(QStringLiteral("--proposal")));
        // The version answers without a project, as the program's own does.
        const Run version = Export({QStringLiteral("--version")});
        QCOMPARE(version.code, 0);
        QCOMPARE(version.out, QStringLiteral("tintora-export 1.2\n"));
    }

    void orderSheetWithTheCatalogue_data() {
        QTest::addColumn<bool>("besideTheProgram");
        QTest::newRow("--catalogue") << false;
        QTest::newRow("odrex.tom beside the program") << true;
    }
    void orderSheetWithTheCatalogue() {
        QFETCH(bool, besideTheProgram);
        QTemporaryDir program;
        const QString catalogue = program.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(catalogue, TestCatalogue::SmallRows()), QString());
        const QString pdf = dir.filePath(QStringLiteral("objednávka.pdf"));
        QStringList arguments{paintedPhoto, QStringLiteral("--order-sheet"), pdf};
        if (!besideTheProgram)
            arguments << QStringLiteral("--catalogue") << catalogue;
        const Run run = Export(arguments, besideTheProgram ? program.path() : dir.path());
        QCOMPARE(run.err, QString());
        QCOMPARE(run.code, 0);
        const QString text = PdfText(pdf);
        for (const char* line :
             {"Objednávka barev", "Projekt: Natřený dům", "Fasáda", "Odstín: Žlutá kuchyň",
              "Vějíř: [D] Moje", "Druh barvy: Fasádní barva", "Množství: 48 l", "Sokl",
              "Množství: 12 Kg", "Vrstvy: Fasáda, Střecha"})
            QVERIFY2(text.contains(QString::fromUtf8(line)), line);
        QVERIFY(!text.contains(QStringLiteral("Katalog barev nebyl")));
    }

    void orderSheetWithoutACatalogue_data() {
        QTest::addColumn<QString>("catalogueRows"); // empty: no file at all
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QString() << QStringLiteral("soubor neexistuje");
        QTest::newRow("wrong version")
            << TestCatalogue::SmallRows(1)
            << QStringLiteral("Špatná databáze! Kontaktujte výrobce programu.");
    }
    void orderSheetWithoutACatalogue() {
        QFETCH(QString, catalogueRows);
        QFETCH(QString, reason);
        QTemporaryDir program;
        if (!catalogueRows.isEmpty())
            QCOMPARE(
                TestCatalogue::Build(program.filePath(QStringLiteral("odrex.tom")), catalogueRows),
                QString());
        const QString pdf = program.filePath(QStringLiteral("bez katalogu.pdf"));
        const Run run =
            Export({paintedPhoto, QStringLiteral("--order-sheet"), pdf}, program.path());
        QCOMPARE(run.code, 0);
        QVERIFY2(run.err.contains(reason), qPrintable(run.err));
        QVERIFY(run.err.contains(QStringLiteral("bez jmen odstínů")));
        const QString text = PdfText(pdf);
        for (const char* line : {"Katalog barev nebyl k dispozici", "Fasáda", "Množství: 48",
                                 "Sokl", "Množství: 12", "odstín č. 6"})
            QVERIFY2(text.contains(QString::fromUtf8(line)), line);
        QVERIFY(!text.contains(QStringLiteral("Žlutá kuchyň")));
    }

    void orderSheetOfAScheme() {
        QTemporaryDir program;
        QCOMPARE(TestCatalogue::Build(program.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows()),
                 QString());
        const QString pdf = program.filePath(QStringLiteral("schéma.pdf"));
        const QString png = program.filePath(QStringLiteral("schéma.png"));
        const Run run = Export({paintedPhoto, QStringLiteral("--scheme"), QStringLiteral("Jiná"),
                                QStringLiteral("--order-sheet"), pdf, QStringLiteral("--out"), png},
                               program.path());
        QCOMPARE(run.code, 0);
        QVERIFY(QFile::exists(png));
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Barevné schéma: Jiná")));
        // The scheme paints the facade with another shade in another quantity.
        QVERIFY(text.contains(QStringLiteral("Odstín: E 101 - 01")));
        QVERIFY(text.contains(QStringLiteral("Množství: 7 Kg")));
        QVERIFY(!text.contains(QStringLiteral("Množství: 48")));
    }

    // The colour proposal: the schemes named (each once, in the order given), every
    // scheme without --scheme, the current colouring of a project without schemes.
    void proposal_data() {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QStringList>("schemes");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("absent");
        QTest::addColumn<int>("pages");
        QTest::newRow("every scheme")
            << "demo" << QStringList{}
            << QStringList{"Teplá okrová", "Chladná šedá", "Fasáda", "Střecha", "Sokl"}
            << QStringList{"Současné obarvení"} << 3;
        QTest::newRow("one named twice")
            << "demo" << QStringList{"Chladná šedá", "Chladná šedá"} << QStringList{"Chladná šedá"}
            << QStringList{"Teplá okrová"} << 2;
        QTest::newRow("catalogue shades of a scheme")
            << "painted" << QStringList{"Jiná"}
            << QStringList{"Jiná", "E 101 - 01", "Žlutá kuchyň", "Silikonová barva", "7 Kg", "Moje"}
            << QStringList{"Současné obarvení"} << 2;
        QTest::newRow("no schemes: the current colouring")
            << "plain" << QStringList{}
            << QStringList{"Současné obarvení", "Žlutá kuchyň", "E 101 - 01", "48 l"}
            << QStringList{"Jiná"} << 2;
    }
    void proposal() {
        QFETCH(QString, project);
        QFETCH(QStringList, schemes);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, absent);
        QFETCH(int, pages);
        const QString path = project == QLatin1String("demo")      ? photo
                             : project == QLatin1String("painted") ? paintedPhoto
                                                                   : plainPhoto;
        const QString pdf = dir.filePath(QStringLiteral("návrh %1.pdf").arg(project));
        QStringList arguments{path, QStringLiteral("--proposal"), pdf,
                              QStringLiteral("--catalogue"), catalogue};
        for (const QString& scheme : schemes)
            arguments << QStringLiteral("--scheme") << scheme;
        const Run run = Export(arguments, dir.path());
        QCOMPARE(run.err, QString());
        QCOMPARE(run.code, 0);
        QCOMPARE(PdfPages(pdf), pages);
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Návrh barev")));
        for (const QString& line : expected)
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral("\n---\n") + text));
        for (const QString& line : absent)
            QVERIFY2(!text.contains(line), qPrintable(line));
    }

    // A scheme the project does not have: said in Czech, and nothing is written.
    void proposalOfAnUnknownScheme() {
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("návrh.pdf"));
        const Run run = Export({paintedPhoto, QStringLiteral("--proposal"), pdf,
                                QStringLiteral("--scheme"), QStringLiteral("Jiná"),
                                QStringLiteral("--scheme"), QStringLiteral("Modrá obloha")},
                               dir.path());
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, QStringLiteral("Projekt nemá barevné schéma „Modrá obloha“.\n"));
        QVERIFY(QDir(out.path()).isEmpty());
    }

private:
    QTemporaryDir dir;
    QString photo;
    QString paintedPhoto;
    QString plainPhoto;
    QString catalogue;
};

// The paint order is drawn with fonts: a graphical application, as the command makes.
QTEST_MAIN(TestExportCommand)
#include "test_exportcommand.moc"
