// The references file beside a project (NAME.bmp.mereni): its text, round trips,
// damaged files, saving and opening with the project, and an import that must not
// inherit the references of an earlier photograph of its name.
#include "project/MeasurementFile.h"
#include "project/PhotoFiles.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "workspace/ProjectOperations.h"
#include "workspace/SaveMask.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace TestPictures;

namespace {

const QSize Photo(300, 200);

PlaneReference Window() {
    return {PlaneReference::Kind::Rectangle,
            {{100.25, 40}, {160, 42.5}, {161, 120}, {99, 118}},
            1.2,
            1.45};
}

PlaneReference Door() {
    return {PlaneReference::Kind::Length, {{10, 190}, {10.5, 130}}, 2.05, 0};
}

LayerList Named(const QStringList& names) {
    LayerList layers{OriginalLayerTemplate()};
    for (const QString& name : names) {
        LayerRecord layer = NewLayerTemplate(int(layers.size()));
        layer.Name = name;
        layers << layer;
    }
    return layers;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A project of 300 × 200 pixels with a wall and a roof, saved.
struct Project {
    QTemporaryDir dir;
    QString photo = dir.filePath(QStringLiteral("dum.bmp"));
    QString file = MeasurementFile::PathFor(photo);
    ScriptedPrompts prompts;

    Project() {
        PhotoFiles::SaveBmp(photo, Quadrants(Photo.width(), Photo.height()));
        TMask::CreateBlank(Photo.width(), Photo.height())
            .SaveToFile(photo + QStringLiteral(".mask"),
                        Named({QStringLiteral("Zeď"), QStringLiteral("Střecha")}), {});
    }
};

} // namespace

class TestMeasurementFile : public QObject {
    Q_OBJECT
private slots:
    void pathBesideTheProject() {
        QCOMPARE(MeasurementFile::PathFor(QStringLiteral("/domy/dům.bmp")),
                 QStringLiteral("/domy/dům.bmp.mereni"));
    }

    // The text as docs/measurement-file.md describes it, to the byte.
    void theDocumentedText() {
        Measurements measures;
        measures.References << Window() << Door();
        measures.LayerPlanes.insert(QStringLiteral("Střecha nad verandou"), 1);
        measures.LayerPlanes.insert(QStringLiteral("Zeď"), 0);     // the first: no line
        measures.LayerPlanes.insert(QStringLiteral("Smazaná"), 1); // no such layer
        const QByteArray expected =
            "TINTORA-MERENI 1\n"
            "# Měřítka projektu Tintora: body v pixelech fotografie, délky v metrech.\n"
            "obdelnik 100.25 40 160 42.5 161 120 99 118 1.2 1.45\n"
            "usecka 10 190 10.5 130 2.05\n"
            "vrstva 2 Střecha nad verandou\n";
        QCOMPARE(
            MeasurementFile::Serialize(
                measures, Named({QStringLiteral("Zeď"), QStringLiteral("Střecha nad verandou")})),
            expected);
    }

    void roundTrip_data() {
        QTest::addColumn<Measurements>("measures");
        QTest::addColumn<QStringList>("layers");
        Measurements one;
        one.References << Window();
        QTest::newRow("one rectangle") << one << QStringList{QStringLiteral("Zeď")};
        Measurements two = one;
        two.References << Door();
        two.LayerPlanes.insert(QStringLiteral("  Dveře a rám  "), 1);
        two.LayerPlanes.insert(QStringLiteral("Okno č. 2 %1"), 1);
        QTest::newRow("two planes, names with blanks and signs")
            << two
            << QStringList{QStringLiteral("Zeď"), QStringLiteral("  Dveře a rám  "),
                           QStringLiteral("Okno č. 2 %1")};
        Measurements odd;
        odd.References << PlaneReference{
            PlaneReference::Kind::Length, {{0.1 + 0.2, 1.0 / 3}, {299.5, 199.5}}, 0.1 + 0.7, 0};
        QTest::newRow("numbers with no short decimal") << odd << QStringList{};
    }
    void roundTrip() {
        QFETCH(Measurements, measures);
        QFETCH(QStringList, layers);
        const QByteArray bytes = MeasurementFile::Serialize(measures, Named(layers));
        QCOMPARE(MeasurementFile::Parse(bytes, QStringLiteral("x"), Photo), measures);
    }

    void damaged_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray head = "TINTORA-MERENI 1\n";
        const QByteArray window = "obdelnik 100 40 160 42 161 120 99 118 1.2 1.45\n";
        QTest::newRow("empty") << QByteArray() << "(řádek 1: chybí záhlaví „TINTORA-MERENI 1“)";
        QTest::newRow("another version")
            << QByteArray("TINTORA-MERENI 2\n") << "(řádek 1: chybí záhlaví „TINTORA-MERENI 1“)";
        QTest::newRow("a mask file's bytes")
            << QByteArray("\x2c\x01\xc8\x00\x01\x00", 6) << "(řádek 1: text není v kódování UTF-8)";
        QTest::newRow("a mask file's ASCII bytes")
            << QByteArray("\x2c\x01\x48\x00\x01\x00", 6) << "(řádek 1: chybí záhlaví";
        QTest::newRow("not UTF-8") << head + "vrstva 1 Ze\xef\n"
                                   << "(řádek 2: text není v kódování UTF-8)";
        QTest::newRow("not UTF-8 further on")
            << head + window + "# poznámka\r\n" + window + "vrstva 1 Ze\xc4\n"
            << "(řádek 5: text není v kódování UTF-8)";
        QTest::newRow("unknown record") << head + window + "kruh 1 2 3\n"
                                        << "(řádek 3: neznámý záznam „kruh“)";
        QTest::newRow("numbers missing") << head + "obdelnik 100 40 160 42 161 120 99 118 1.2\n"
                                         << "(řádek 2: záznam „obdelnik“ má mít 10 čísel)";
        QTest::newRow("a number too many") << head + "usecka 1 2 3 4 5 6\n"
                                           << "(řádek 2: záznam „usecka“ má mít 5 čísel)";
        QTest::newRow("a word for a number") << head + "usecka 1 2 3 4 metr\n"
                                             << "(řádek 2: „metr“ není číslo)";
        QTest::newRow("not a finite number") << head + "usecka 1 2 3 4 inf\n"
                                             << "(řádek 2: „inf“ není číslo)";
        QTest::newRow("three corners on a line")
            << head + "obdelnik 10 10 20 10 30 10 20 50 1 1\n"
            << "(řádek 2: měřítko 1 neplatí: Tři rohy měřítka leží na jedné přímce";
        QTest::newRow("a corner outside the photograph")
            << head + window + "obdelnik 10 10 400 10 400 50 10 50 1 1\n"
            << "(řádek 3: měřítko 2 neplatí: Značka měřítka leží mimo fotografii.)";
        QTest::newRow("length 0")
            << head + "usecka 1 2 3 4 0\n"
            << "(řádek 2: měřítko 1 neplatí: Délka měřítka musí být větší než nula.)";
        QTest::newRow("a 1.5-pixel rectangle of 10 km")
            << head + window + "obdelnik 10 10 11.5 10 11.5 11.5 10 11.5 10000 10000\n"
            << "(řádek 3: měřítko 2 neplatí: Délka měřítka může být nejvýše 1000 m.)";
        QTest::newRow("a line of 20 m over 2 pixels")
            << head + "# dveře\n\nusecka 10 10 12 10 20\n"
            << "(řádek 4: měřítko 1 neplatí: Podle měřítka by jeden bod fotografie měřil víc "
               "než 5 m";
        QTest::newRow("layer of a reference not there")
            << head + window + "vrstva 2 Zeď\n"
            << "(řádek 3: vrstva odkazuje na měřítko 2, které v souboru není)";
        QTest::newRow("layer of reference 0") << head + window + "vrstva 0 Zeď\n"
                                              << "(řádek 3: vrstva odkazuje na měřítko 0";
        QTest::newRow("layer without a name")
            << head + window + "vrstva 1\n"
            << "(řádek 3: záznam „vrstva“ má mít číslo měřítka a jméno vrstvy)";
    }
    void damaged() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        try {
            MeasurementFile::Parse(bytes, QStringLiteral("/domy/dum.bmp.mereni"), Photo);
            QFAIL("a damaged file was taken");
        } catch (const BadFileError& error) {
            QVERIFY2(error.message().startsWith(
                         QStringLiteral("Soubor měřítek /domy/dum.bmp.mereni je poškozený ")),
                     qPrintable(error.message()));
            QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
        }
    }

    // What a hand or another program may leave: comments, blank lines, line ends of
    // Windows, blanks between numbers.
    void writtenByHand() {
        const QByteArray bytes = "TINTORA-MERENI 1\r\n\r\n# okno v přízemí\r\n"
                                 "obdelnik  100.25 40   160 42.5 161 120 99 118 1.2 1.45\r\n"
                                 "vrstva 1 Zeď\r\n";
        Measurements expected;
        expected.References << Window();
        expected.LayerPlanes.insert(QStringLiteral("Zeď"), 0);
        QCOMPARE(MeasurementFile::Parse(bytes, QStringLiteral("x"), Photo), expected);
    }

    // Saved with the mask, opened with it; none left, the file goes.
    void savedAndOpenedWithTheProject() {
        Project p;
        Workspace ws;
        QVERIFY(OpenProjectFile(ws, p.prompts, p.photo));
        QVERIFY(ws.Doc.Measures.IsEmpty());
        Measuring::AddReference(ws.Doc, Window());
        Measuring::AddReference(ws.Doc, Door());
        QVERIFY(Measuring::ChooseLayerPlane(ws.Doc, 2, 1));
        QCOMPARE(SaveMask(ws.Doc, p.prompts), SaveResult::Saved);
        QVERIFY(QFile::exists(p.file));
        Workspace again;
        QVERIFY(OpenProjectFile(again, p.prompts, p.photo));
        QCOMPARE(again.Doc.Measures, ws.Doc.Measures);
        QCOMPARE(again.Doc.Measures.PlaneOfLayer(QStringLiteral("Střecha")), 1);

        Measuring::RemoveReference(again.Doc, 1);
        Measuring::RemoveReference(again.Doc, 0);
        QCOMPARE(SaveMask(again.Doc, p.prompts), SaveResult::Saved);
        QVERIFY(!QFile::exists(p.file));
        QVERIFY(QDir(p.dir.path()).entryList(QDir::Files | QDir::Hidden).size() == 2);
    }

    // A damaged file is reported when the project opens, which opens without it; a
    // save with no references leaves it for the user, one with references replaces it.
    void damagedFileOpensWithoutReferences() {
        Project p;
        WriteFile(p.file, "TINTORA-MERENI 1\nobdelnik 1 2 3\n");
        Workspace ws;
        QVERIFY(OpenProjectFile(ws, p.prompts, p.photo));
        QCOMPARE(p.prompts.asked.size(), 1);
        QCOMPARE(p.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QCOMPARE(p.prompts.asked[0].icon, Prompts::Icon::Warning);
        QCOMPARE(p.prompts.asked[0].text,
                 QStringLiteral("Soubor měřítek %1 je poškozený (řádek 2: záznam „obdelnik“ má "
                                "mít 10 čísel).\nPlochy vrstev se bez měřítek nezobrazí. Soubor "
                                "zůstává, jak byl.")
                     .arg(QDir::toNativeSeparators(p.file)));
        QVERIFY(ws.Doc.Measures.IsEmpty());
        QVERIFY(!ws.Doc.Modified);
        QCOMPARE(ws.Doc.Mask.Width, 300);

        ws.Doc.Modified = true;
        QCOMPARE(SaveMask(ws.Doc, p.prompts), SaveResult::Saved);
        QCOMPARE(ReadAll(p.file), QByteArray("TINTORA-MERENI 1\nobdelnik 1 2 3\n"));
        Measuring::AddReference(ws.Doc, Window());
        QCOMPARE(SaveMask(ws.Doc, p.prompts), SaveResult::Saved);
        QCOMPARE(MeasurementFile::Load(p.file, Photo).References, QList<PlaneReference>{Window()});
    }

    // A file the program cannot read at all (here a folder of that name) is reported
    // the same way; the project opens.
    void unreadableFileOpensWithoutReferences() {
        Project p;
        QVERIFY(QDir().mkpath(p.file));
        Workspace ws;
        QVERIFY(OpenProjectFile(ws, p.prompts, p.photo));
        QCOMPARE(p.prompts.asked.size(), 1);
        QVERIFY(p.prompts.asked[0].text.endsWith(
            QStringLiteral("Plochy vrstev se bez měřítek nezobrazí. Soubor zůstává, jak byl.")));
        QVERIFY(ws.Doc.Measures.IsEmpty());
    }

    // A save that cannot write the references reports it and keeps the changes unsaved.
    void referencesThatCannotBeWrittenKeepModified() {
        Project p;
        Workspace ws;
        QVERIFY(OpenProjectFile(ws, p.prompts, p.photo));
        Measuring::AddReference(ws.Doc, Window());
        QVERIFY(QDir().mkpath(p.file + QStringLiteral("/zabráněno")));
        QCOMPARE(SaveMask(ws.Doc, p.prompts), SaveResult::Failed);
        QVERIFY(ws.Doc.Modified);
        QCOMPARE(p.prompts.asked.last().caption, QStringLiteral("Chyba"));
    }

    // A new photograph of a deleted project's name starts without its references.
    void importDropsReferencesOfTheName() {
        Project p;
        const QString domy = p.dir.filePath(QStringLiteral("domy"));
        QDir().mkpath(domy);
        const QString target = QDir(domy).filePath(QStringLiteral("dum.bmp"));
        WriteFile(MeasurementFile::PathFor(target), "TINTORA-MERENI 1\nusecka 10 10 20 10 1\n");
        const QString jpeg = p.dir.filePath(QStringLiteral("dum.jpg"));
        WriteFile(jpeg, Jpeg(Quadrants(30, 20)));
        p.prompts.fileNames.enqueue(jpeg);
        Workspace ws;
        QVERIFY(ImportPhotograph(ws, p.prompts, domy));
        QVERIFY(!QFile::exists(MeasurementFile::PathFor(target)));
        QVERIFY(ws.Doc.Measures.IsEmpty());
    }

    // Layers renamed keep their reference, removed ones let it go; a reference
    // removed sends its layers back to the first.
    void layerChoicesFollowTheLayers() {
        Document doc;
        doc.Mask = TMask::CreateBlank(Photo.width(), Photo.height());
        doc.Layers = Named({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        for (int i = 0; i < 3; ++i)
            Measuring::AddReference(doc, Door());
        doc.Modified = false;
        QVERIFY(!Measuring::ChooseLayerPlane(doc, 1, 0)); // already the first
        QVERIFY(!doc.Modified);
        QVERIFY(!Measuring::ChooseLayerPlane(doc, 1, 3)); // no such reference
        QVERIFY(Measuring::ChooseLayerPlane(doc, 1, 1));
        QVERIFY(Measuring::ChooseLayerPlane(doc, 2, 2));
        QVERIFY(Measuring::ChooseLayerPlane(doc, 3, 1));
        QVERIFY(doc.Modified);
        Measuring::RenameLayer(doc.Measures, QStringLiteral("A"), QStringLiteral("Á"));
        QCOMPARE(doc.Measures.PlaneOfLayer(QStringLiteral("Á")), 1);
        QCOMPARE(doc.Measures.PlaneOfLayer(QStringLiteral("A")), 0);
        Measuring::RemoveReference(doc, 1);
        QCOMPARE(doc.Measures.PlaneOfLayer(QStringLiteral("Á")), 0);
        QCOMPARE(doc.Measures.PlaneOfLayer(QStringLiteral("B")), 1); // was 2
        QCOMPARE(doc.Measures.PlaneOfLayer(QStringLiteral("C")), 0);
        Measuring::ForgetLayer(doc.Measures, QStringLiteral("B"));
        QCOMPARE(doc.Measures.PlaneOfLayer(QStringLiteral("B")), 0);
        Measuring::RemoveReference(doc, 0);
        Measuring::RemoveReference(doc, 0);
        QCOMPARE(doc.Measures.PlaneOfLayer(QStringLiteral("B")), -1);
        QVERIFY(doc.Measures.LayerPlanes.isEmpty());
    }

    // Four references; A, B and C measured with the second, third and fourth. A removed
    // reference sends its layers back to the first and the later ones down by one.
    void removingAReferenceRenumbersTheLayers_data() {
        QTest::addColumn<int>("references");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QList<int>>("planes"); // of A, B and C after the removal
        QTest::newRow("the first") << 4 << 0 << QList<int>{0, 1, 2};
        QTest::newRow("the second") << 4 << 1 << QList<int>{0, 1, 2};
        QTest::newRow("the third") << 4 << 2 << QList<int>{1, 0, 2};
        QTest::newRow("the last") << 4 << 3 << QList<int>{1, 2, 0};
        QTest::newRow("one of two") << 2 << 0 << QList<int>{0, 0, 0};
        QTest::newRow("no such reference") << 4 << 4 << QList<int>{1, 2, 3};
    }
    void removingAReferenceRenumbersTheLayers() {
        QFETCH(int, references);
        QFETCH(int, removed);
        QFETCH(QList<int>, planes);
        Document doc;
        doc.Mask = TMask::CreateBlank(Photo.width(), Photo.height());
        doc.Layers = Named({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        for (int i = 0; i < references; ++i)
            Measuring::AddReference(doc, Door());
        for (int layer = 1; layer <= 3; ++layer)
            Measuring::ChooseLayerPlane(doc, layer, std::min(layer, references - 1));
        Measuring::RemoveReference(doc, removed);
        QList<int> after;
        for (const QString name : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
            after << doc.Measures.PlaneOfLayer(name);
        QCOMPARE(after, planes);
        // No choice is left pointing past the references (the file would keep it).
        for (auto it = doc.Measures.LayerPlanes.cbegin(); it != doc.Measures.LayerPlanes.cend();
             ++it)
            QVERIFY2(it.value() >= 0 && it.value() < doc.Measures.References.size(),
                     qPrintable(it.key()));
    }
};

QTEST_GUILESS_MAIN(TestMeasurementFile)
#include "test_measurementfile.moc"
