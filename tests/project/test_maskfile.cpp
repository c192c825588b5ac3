#include "project/Errors.h"
#include "project/MaskFile.h"
#include "project/TextField.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <sys/resource.h>

namespace {

// Builds mask files byte by byte, as the format lays them out.
struct Bytes {
    QByteArray data;
    Bytes& u8(int v) {
        data.append(char(v));
        return *this;
    }
    Bytes& u16(int v) {
        char b[2];
        qToLittleEndian<quint16>(quint16(v), b);
        data.append(b, 2);
        return *this;
    }
    Bytes& i32(qint32 v) {
        char b[4];
        qToLittleEndian<qint32>(v, b);
        data.append(b, 4);
        return *this;
    }
    Bytes& run(int layer, int first, int last) { return u8(layer).u16(first).u16(last); }
    Bytes& text(const QByteArray& t) {
        QByteArray f = t.left(32);
        f.append(32 - f.size(), '\0');
        data.append(f);
        return *this;
    }
    Bytes& layer(const QByteArray& name = "Origin\xe1l", int locked = 0) {
        text(name).text("").text("");
        return i32(0xFFFFFF).i32(0xFFFFFF).i32(-1).i32(locked).i32(0).i32(-1).i32(-1).i32(0).i32(
            -1);
    }
    // A layer block whose Locked and Subordinate fields hold the given four bytes.
    Bytes& layerWithFlags(const QByteArray& locked, const QByteArray& subordinate) {
        text("Zed").text("").text("Origin\xe1l");
        i32(0xFFFFFF).i32(0xFFFFFF).i32(-1);
        data.append(locked);
        data.append(subordinate);
        return i32(-1).i32(-1).i32(0).i32(-1);
    }
};

LayerRecord Sample(const QString& name, int seed) {
    LayerRecord layer;
    layer.Name = name;
    layer.ReservedText = QStringLiteral("rezerva %1").arg(seed);
    layer.RealColour = Rgb(10 + seed, 20, 30);
    layer.MaskColour = Rgb(200, 100 + seed, 0);
    layer.ShadeColour = seed % 2 ? NoColour : Rgb(1, 2, 3 + seed);
    layer.Locked = seed % 3 == 0;
    layer.ShownInMaskMode = true;
    layer.HiddenInColourMode = true;
    layer.ShadeId = 1000 + seed;
    layer.FanDeckId = 7 + seed;
    layer.Quantity = 12 * seed;
    layer.PaintKindId = 3;
    layer.MasterName = seed == 2 ? QStringLiteral("Fasáda") : QString();
    layer.Subordinate = seed == 2;
    return layer;
}

LayerRecord AsRead(LayerRecord layer) {
    layer.ShownInMaskMode = false;
    layer.HiddenInColourMode = false;
    return layer;
}

} // namespace

class TestMaskFile : public QObject {
    Q_OBJECT
private slots:
    void blankOneByOneIs151Bytes() {
        const TMask mask = TMask::CreateBlank(2, 1);
        const QByteArray bytes = MaskFile::Serialize(mask, {OriginalLayerTemplate()}, {});
        QCOMPARE(bytes.size(), 151);
        const QByteArray expected =
            Bytes().u16(2).u16(1).u16(1).run(0, 0, 1).i32(1).layer().i32(0).data;
        QCOMPARE(bytes, expected);
        QCOMPARE(
            MaskFile::Serialize(TMask::CreateBlank(1, 1), {OriginalLayerTemplate()}, {}).size(),
            151);
    }

    void roundTripKeepsEveryStoredField() {
        TMask mask = TMask::CreateBlank(300, 4);
        mask.PaintSpan(1, 10, 200, 1);
        mask.PaintSpan(2, 0, 299, 2);
        mask.PaintSpan(3, 150, 151, 3);
        const LayerList layers{OriginalLayerTemplate(), Sample(QStringLiteral("Fasáda"), 1),
                               Sample(QStringLiteral("Střecha ěščřžýáíé"), 2),
                               Sample(QStringLiteral("Okna"), 3)};
        const SchemeList schemes{{QStringLiteral("Letní"), {layers[0], layers[1]}},
                                 {QStringLiteral("Zimní"), layers},
                                 {QStringLiteral("Prázdné"), {}}};
        LayerList readLayers;
        SchemeList readSchemes;
        const MaskFile::Contents read =
            MaskFile::Parse(MaskFile::Serialize(mask, layers, schemes), QStringLiteral("x"));
        QCOMPARE(read.Mask.Width, 300);
        QCOMPARE(read.Mask.Height, 4);
        QCOMPARE(read.Mask.Rows, mask.Rows);
        QCOMPARE(read.Layers.size(), layers.size());
        for (int i = 0; i < layers.size(); ++i)
            QCOMPARE(read.Layers[i], AsRead(layers[i]));
        QCOMPARE(read.Schemes.size(), 3);
        QCOMPARE(read.Schemes[1].Name, QStringLiteral("Zimní"));
        for (int i = 0; i < layers.size(); ++i)
            QCOMPARE(read.Schemes[1].Layers[i], AsRead(layers[i]));
        QVERIFY(read.Schemes[2].Layers.isEmpty());
        // Lock flags come from the layers; scheme layers do not touch them.
        QVERIFY(read.Mask.Locked[3]);
        QVERIFY(!read.Mask.Locked[1]);
        QVERIFY(!read.Mask.Locked[0]);
        // Written again, the file is the same.
        QCOMPARE(MaskFile::Serialize(read.Mask, read.Layers, read.Schemes),
                 MaskFile::Serialize(mask, layers, schemes));
    }

    void czechTextIsWindows1250() {
        LayerRecord layer = OriginalLayerTemplate();
        const QByteArray bytes = MaskFile::Serialize(TMask::CreateBlank(1, 1), {layer}, {});
        QCOMPARE(bytes.mid(15, 9), QByteArray("Origin\xe1l\0\0", 9));
        layer.Name = QStringLiteral("Žluťoučký kůň");
        const QByteArray second = MaskFile::Serialize(TMask::CreateBlank(1, 1), {layer}, {});
        QCOMPARE(second.mid(15, 14), QByteArray("\x8elu\x9dou\xe8k\xfd k\xf9\xf2\0", 14));
    }

    // Characters the code page cannot hold are told before anything is stored, so
    // that two names never collapse into the same bytes.
    void charactersOutsideTheCodePage_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("outside");
        QTest::newRow("Czech") << QStringLiteral("Žluťoučký kůň, „schéma“ – 1") << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("Japanese") << QStringLiteral("日本") << QStringLiteral("日本");
        QTest::newRow("repeated") << QStringLiteral("a日b日") << QStringLiteral("日");
        QTest::newRow("emoji pair") << QStringLiteral("Zeď 😀") << QStringLiteral("😀");
        QTest::newRow("euro is there") << QStringLiteral("€") << QString();
        QTest::newRow("substitute byte itself") << QStringLiteral("\x1a") << QString();
    }
    void charactersOutsideTheCodePage() {
        QFETCH(QString, text);
        QFETCH(QString, outside);
        QCOMPARE(CharactersOutsideWindows1250(text), outside);
        if (outside.isEmpty()) {
            // What the code page holds comes back unchanged through a file.
            LayerRecord layer = OriginalLayerTemplate();
            layer.Name = text;
            const MaskFile::Contents read = MaskFile::Parse(
                MaskFile::Serialize(TMask::CreateBlank(1, 1), {layer}, {}), QString());
            QCOMPARE(read.Layers[0].Name, text.left(32));
        }
    }

    void nameLengths_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QString thirtyTwo = QStringLiteral("Fasáda severní strana nad vchode");
        QTest::newRow("32 characters, no NUL") << thirtyTwo << thirtyTwo;
        QTest::newRow("40 characters cut to 32")
            << thirtyTwo + QStringLiteral("m domu!!") << thirtyTwo;
        QTest::newRow("empty") << QString() << QString();
    }
    void nameLengths() {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        LayerRecord layer = OriginalLayerTemplate();
        layer.Name = name;
        const QByteArray bytes = MaskFile::Serialize(TMask::CreateBlank(1, 1), {layer}, {});
        QCOMPARE(bytes.size(), 151);
        const auto read = MaskFile::Parse(bytes, QStringLiteral("x"));
        QCOMPARE(read.Layers[0].Name, expected);
        if (name.size() >= 32)
            QVERIFY(!bytes.mid(15, 32).contains('\0'));
    }

    void layerCounts_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("0") << 0 << true;
        QTest::newRow("255") << 255 << true;
        QTest::newRow("256") << 256 << false;
    }
    void layerCounts() {
        QFETCH(int, count);
        QFETCH(bool, accepted);
        // One row without runs, so that no run names a layer.
        Bytes file;
        file.u16(3).u16(1).u16(0).i32(count);
        for (int i = 0; i < count; ++i)
            file.layer(QByteArray("L") + QByteArray::number(i));
        file.i32(0);
        if (accepted) {
            const auto read = MaskFile::Parse(file.data, QStringLiteral("x"));
            QCOMPARE(read.Layers.size(), count);
        } else {
            try {
                MaskFile::Parse(file.data, QStringLiteral("/domy/Dům.bmp.mask"));
                QFAIL("accepted");
            } catch (const BadFileError& error) {
                QCOMPARE(error.message(),
                         QStringLiteral("Soubor je špatný: maska %1 má %2 vrstev, smí jich mít "
                                        "nejvýš 255.")
                             .arg(QDir::toNativeSeparators(QStringLiteral("/domy/Dům.bmp.mask")))
                             .arg(count));
            }
        }
    }

    // Locked and Subordinate are told by the first byte of their four; files whose
    // other three bytes are not zero must still read as their first byte says.
    void flagsAreReadFromTheirFirstByte_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<bool>("set");
        QTest::newRow("1 0 0 0") << QByteArray("\x01\0\0\0", 4) << true;
        QTest::newRow("0 0 0 0") << QByteArray("\0\0\0\0", 4) << false;
        QTest::newRow("0 1 0 0 (256 as a whole)") << QByteArray("\0\x01\0\0", 4) << false;
        QTest::newRow("0 0 0 128 (negative as a whole)") << QByteArray("\0\0\0\x80", 4) << false;
        QTest::newRow("2 0 0 0") << QByteArray("\x02\0\0\0", 4) << true;
        QTest::newRow("1 255 255 255") << QByteArray("\x01\xff\xff\xff", 4) << true;
        QTest::newRow("255 0 0 0") << QByteArray("\xff\0\0\0", 4) << true;
    }
    void flagsAreReadFromTheirFirstByte() {
        QFETCH(QByteArray, field);
        QFETCH(bool, set);
        const QByteArray clear("\0\0\0\0", 4);
        // Layer 1 and the scheme's record carry the field as Locked, layer 2 and a
        // second record as Subordinate.
        const QByteArray file = Bytes()
                                    .u16(3)
                                    .u16(1)
                                    .u16(1)
                                    .run(1, 0, 2)
                                    .i32(3)
                                    .layer()
                                    .layerWithFlags(field, clear)
                                    .layerWithFlags(clear, field)
                                    .i32(1)
                                    .text("S")
                                    .i32(2)
                                    .layerWithFlags(field, clear)
                                    .layerWithFlags(clear, field)
                                    .data;
        const auto read = MaskFile::Parse(file, QStringLiteral("x"));
        QCOMPARE(read.Layers[1].Locked, set);
        QCOMPARE(read.Layers[1].Subordinate, false);
        QCOMPARE(read.Layers[2].Locked, false);
        QCOMPARE(read.Layers[2].Subordinate, set);
        QCOMPARE(read.Mask.Locked[1], set);
        QCOMPARE(read.Mask.Locked[2], false);
        QCOMPARE(read.Schemes[0].Layers[0].Locked, set);
        QCOMPARE(read.Schemes[0].Layers[1].Subordinate, set);
        // Written again, the flags take their stored form: 1 or 0, then three zeros.
        const QByteArray again = MaskFile::Serialize(read.Mask, read.Layers, read.Schemes);
        const int layer1 = 4 + 2 + 5 + 4 + 132;
        QCOMPARE(again.mid(layer1 + 108, 4), set ? QByteArray("\x01\0\0\0", 4) : clear);
        QCOMPARE(again.mid(layer1 + 132 + 112, 4), set ? QByteArray("\x01\0\0\0", 4) : clear);
    }

    void runNamingAMissingLayerIsABadFile() {
        const QByteArray file = Bytes()
                                    .u16(4)
                                    .u16(1)
                                    .u16(2)
                                    .run(0, 0, 1)
                                    .run(2, 2, 3)
                                    .i32(2)
                                    .layer()
                                    .layer("Zed")
                                    .i32(0)
                                    .data;
        QVERIFY_THROWS_EXCEPTION(BadFileError, MaskFile::Parse(file, QStringLiteral("x")));
    }

    void malformedFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good =
            Bytes().u16(2).u16(1).u16(1).run(0, 0, 1).i32(1).layer().i32(0).data;
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header only") << Bytes().u16(2).data;
        QTest::newRow("cut in a run") << good.left(8);
        QTest::newRow("cut in a layer") << good.left(100);
        QTest::newRow("no scheme count") << good.left(147);
        QTest::newRow("huge run count") << Bytes().u16(2).u16(1).u16(65535).run(0, 0, 1).data;
        QTest::newRow("huge height") << Bytes().u16(2).u16(65535).u16(1).run(0, 0, 1).data;
        QTest::newRow("negative layer count")
            << Bytes().u16(1).u16(1).u16(1).run(0, 0, 0).i32(-1).data;
        QTest::newRow("negative scheme count")
            << Bytes().u16(2).u16(1).u16(1).run(0, 0, 1).i32(1).layer().i32(-5).data;
        QTest::newRow("huge scheme count")
            << Bytes().u16(2).u16(1).u16(1).run(0, 0, 1).i32(1).layer().i32(0x7FFFFFFF).data;
        QTest::newRow("huge scheme layer count") << Bytes()
                                                        .u16(2)
                                                        .u16(1)
                                                        .u16(1)
                                                        .run(0, 0, 1)
                                                        .i32(1)
                                                        .layer()
                                                        .i32(1)
                                                        .text("S")
                                                        .i32(0x7FFFFFFF)
                                                        .data;
        QTest::newRow("negative scheme layer count") << Bytes()
                                                            .u16(2)
                                                            .u16(1)
                                                            .u16(1)
                                                            .run(0, 0, 1)
                                                            .i32(1)
                                                            .layer()
                                                            .i32(1)
                                                            .text("S")
                                                            .i32(-1)
                                                            .data;
    }
    void malformedFiles() {
        QFETCH(QByteArray, bytes);
        QVERIFY_THROWS_EXCEPTION(IoError, MaskFile::Parse(bytes, QStringLiteral("dum.bmp.mask")));
    }

    void bytesAfterTheLastSchemeAreIgnored() {
        QByteArray file = Bytes().u16(2).u16(1).u16(1).run(0, 0, 1).i32(1).layer().i32(0).data;
        file.append("garbage");
        QCOMPARE(MaskFile::Parse(file, QStringLiteral("x")).Layers.size(), 1);
    }

    void malformedRowsAreKeptAsStored() {
        const QByteArray file = Bytes()
                                    .u16(4)
                                    .u16(1)
                                    .u16(3)
                                    .run(1, 3, 1)
                                    .run(0, 0, 9)
                                    .run(1, 2, 2)
                                    .i32(2)
                                    .layer()
                                    .layer("Zed")
                                    .i32(0)
                                    .data;
        const auto read = MaskFile::Parse(file, QStringLiteral("x"));
        QCOMPARE(read.Mask.Rows[0], (MaskRow{{1, 3, 1}, {0, 0, 9}, {1, 2, 2}}));
        QCOMPARE(MaskFile::Serialize(read.Mask, read.Layers, read.Schemes), file);
    }

    void loadFailureLeavesTheListsAlone() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dum.bmp.mask"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Bytes().u16(2).u16(1).u16(1).run(0, 0, 1).i32(300).data);
        file.close();
        LayerList layers{OriginalLayerTemplate(), Sample(QStringLiteral("Zeď"), 1)};
        SchemeList schemes{{QStringLiteral("A"), layers}};
        const LayerList layersBefore = layers;
        const SchemeList schemesBefore = schemes;
        QVERIFY_THROWS_EXCEPTION(BadFileError, TMask::LoadFromFile(path, layers, schemes));
        QCOMPARE(layers, layersBefore);
        QCOMPARE(schemes, schemesBefore);
        QVERIFY_THROWS_EXCEPTION(
            IoError,
            TMask::LoadFromFile(dir.filePath(QStringLiteral("chybi.mask")), layers, schemes));
        QCOMPARE(layers, layersBefore);
    }

    void saveAndLoadThroughFiles() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dum.bmp.mask"));
        TMask mask = TMask::CreateBlank(20, 10);
        mask.PaintSpan(5, 2, 12, 1);
        const LayerList layers{OriginalLayerTemplate(), Sample(QStringLiteral("Zeď"), 3)};
        mask.SetLocked(1, true);
        mask.SaveToFile(path, layers, {});
        LayerList readLayers;
        SchemeList readSchemes{{QStringLiteral("old"), {}}};
        const TMask read = TMask::LoadFromFile(path, readLayers, readSchemes);
        QCOMPARE(read, mask);
        QCOMPARE(readLayers[1].Name, QStringLiteral("Zeď"));
        QVERIFY(readSchemes.isEmpty());
    }

    void failedSaveKeepsThePreviousFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dum.bmp.mask"));
        const LayerList layers{OriginalLayerTemplate()};
        TMask::CreateBlank(2, 1).SaveToFile(path, layers, {});
        QFile original(path);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        original.close();
        // Files may not grow past 1000 bytes: the new, larger file cannot be written.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 1000;
        setrlimit(RLIMIT_FSIZE, &small);
        const LayerList many(20, OriginalLayerTemplate());
        bool failed = false;
        try {
            TMask::CreateBlank(400, 50).SaveToFile(path, many, {});
        } catch (const IoError&) {
            failed = true;
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(failed);
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), before);
    }

    void saveIntoAMissingFolderFails() {
        QTemporaryDir dir;
        QVERIFY_THROWS_EXCEPTION(IoError, TMask::CreateBlank(2, 1).SaveToFile(
                                              dir.filePath(QStringLiteral("nic/dum.bmp.mask")),
                                              {OriginalLayerTemplate()}, {}));
    }
};

QTEST_GUILESS_MAIN(TestMaskFile)
#include "test_maskfile.moc"
