#include "DemoHouse.h"
#include "app/ExportCommand.h"
#include "project/PhotoFiles.h"
#include "project/ProjectOperations.h"

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

Run Export(const QStringList& arguments) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = RunExportCommand(arguments, outStream, errStream);
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
    }

private:
    QTemporaryDir dir;
    QString photo;
};

QTEST_GUILESS_MAIN(TestExportCommand)
#include "test_exportcommand.moc"
