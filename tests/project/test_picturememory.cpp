// Large photographs keep to about two pictures' worth of memory: the export is made
// and encoded a band of rows at a time, and a photograph being opened or imported
// takes the memory of the view (and the new view that of the old photograph). What
// the user sees and gets must not change for it: the tests compare with pictures
// made whole, and check that a read that fails shows the open project as before.
#include "project/PhotoFiles.h"
#include "render/RenderRegion.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <sys/resource.h>

using namespace TestPictures;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An uncoded 8-bit BMP of two palette colours whose very last pixel in the file (the
// top row's last one) names a colour the palette lacks: reading it fails only after
// every other row was decoded.
QByteArray BmpFailingAtItsLastPixel(int width, int height) {
    const int stride = (width + 3) & ~3;
    const int dataStart = 14 + 40 + 2 * 4;
    QByteArray bytes(dataStart + stride * height, '\0');
    char* b = bytes.data();
    b[0] = 'B';
    b[1] = 'M';
    qToLittleEndian<quint32>(quint32(bytes.size()), b + 2);
    qToLittleEndian<quint32>(quint32(dataStart), b + 10);
    qToLittleEndian<quint32>(40, b + 14);
    qToLittleEndian<qint32>(width, b + 18);
    qToLittleEndian<qint32>(height, b + 22);
    qToLittleEndian<quint16>(1, b + 26);
    qToLittleEndian<quint16>(8, b + 28);
    qToLittleEndian<quint32>(2, b + 46); // colours used
    const uchar palette[8] = {90, 90, 90, 0, 20, 40, 220, 0};
    std::memcpy(b + 54, palette, 8);
    for (int row = 0; row < height; ++row)
        std::memset(b + dataStart + row * stride, 1, size_t(width));
    b[dataStart + (height - 1) * stride + width - 1] = 7;
    return bytes;
}

struct Fixture {
    QTemporaryDir dir;
    QString domy = dir.filePath(QStringLiteral("domy"));
    Workspace ws;
    ScriptedPrompts prompts;

    Fixture() { QDir().mkpath(domy); }

    // A saved project of a noisy photograph whose rows are split between a shaded
    // layer, a layer that mask mode shows in its colour, and one left as photographed.
    QString MakeProject(const QString& name, QSize size, unsigned seed = 1) {
        const QString photo = QDir(domy).filePath(name);
        PhotoFiles::SaveBmp(photo, Noise(size.width(), size.height(), seed));
        TMask mask = TMask::CreateBlank(size.width(), size.height());
        for (int y = 0; y < size.height(); ++y) {
            const int a = size.width() / 3 + y % 5, b = 2 * size.width() / 3 - y % 3;
            mask.PaintSpan(y, 0, a - 1, 1);
            mask.PaintSpan(y, a, b - 1, 2);
            mask.PaintSpan(y, b, size.width() - 1, 3);
        }
        LayerList layers{OriginalLayerTemplate()};
        for (int i = 1; i <= 3; ++i) {
            LayerRecord layer = NewLayerTemplate(i);
            layer.Name = QStringLiteral("Vrstva %1").arg(i);
            layer.MaskColour = Rgb(30 * i, 250 - 60 * i, 100);
            layer.ShadeColour = i == 3 ? NoColour : Rgb(60 * i, 120, 200 - 50 * i);
            layer.RealColour = Rgb(128, 128, 128);
            layers.append(layer);
        }
        mask.SaveToFile(photo + QStringLiteral(".mask"), layers, {});
        return photo;
    }

    bool Open(const QString& photo) {
        const bool opened = OpenProjectFile(ws, prompts, photo);
        if (opened) {
            ws.Doc.Layers[2].ShownInMaskMode = true; // never stored: mask mode shows it
            ws.UpdateWholePicture();
        }
        return opened;
    }

    void Zoom(float zoom) {
        ws.ZoomFactor = zoom;
        ws.ResizeView();
        ws.UpdateWholePicture();
    }

    // The view at zoom 1 as a fresh workspace shows the document.
    QImage ViewAtOne() const {
        Workspace reference;
        reference.Doc = ws.Doc;
        reference.MaskEditMode = ws.MaskEditMode;
        reference.ResizeView();
        reference.UpdateWholePicture();
        return reference.ViewBitmap;
    }
};

} // namespace

class TestPictureMemory : public QObject {
    Q_OBJECT
private slots:
    // The exported file holds exactly the bytes of the view at zoom 1 encoded whole,
    // although it is made and encoded sixteen rows at a time.
    void exportEqualsTheFullSizeViewEncoded_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("maskMode");
        QTest::addColumn<float>("zoom");
        QTest::newRow("one band") << QSize(40, 16) << false << 1.0f;
        QTest::newRow("bands and a part of one") << QSize(53, 41) << false << 1.0f;
        QTest::newRow("mask mode at zoom 2") << QSize(37, 35) << true << 2.0f;
        QTest::newRow("zoomed out") << QSize(120, 67) << false << 0.5f;
        QTest::newRow("a single row") << QSize(29, 1) << true << 1.0f;
        QTest::newRow("tall and narrow") << QSize(3, 100) << false << 0.25f;
    }
    void exportEqualsTheFullSizeViewEncoded() {
        QFETCH(QSize, size);
        QFETCH(bool, maskMode);
        QFETCH(float, zoom);
        Fixture f;
        QVERIFY(f.Open(f.MakeProject(QStringLiteral("dum.bmp"), size)));
        f.ws.MaskEditMode = maskMode;
        f.Zoom(zoom);
        const QImage view = f.ws.ViewBitmap.copy();
        const QString out = f.dir.filePath(QStringLiteral("vystup.jpg"));
        f.prompts.fileNames.enqueue(out);
        QVERIFY(ExportPicture(f.ws, f.prompts));
        QVERIFY(f.prompts.asked.isEmpty());
        QCOMPARE(ReadAll(out), PhotoFiles::EncodeJpeg(f.ViewAtOne()));
        QCOMPARE(f.ws.ViewBitmap, view); // the view stays as it was
    }

    // A disk that fills in the middle of the export: the file that was there stays
    // whole, no part of the new one is left, and the user is told why.
    void failedExportKeepsTheFileThatWasThere() {
        Fixture f;
        QVERIFY(f.Open(f.MakeProject(QStringLiteral("dum.bmp"), QSize(300, 200))));
        const QString out = f.dir.filePath(QStringLiteral("vystup.jpg"));
        WriteFile(out, QByteArray("the earlier export"));
        f.prompts.fileNames.enqueue(out);

        // The file size limit stands for the full disk (the signal it sends is ignored,
        // as the program ignores it).
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        rlimit limited = previous;
        limited.rlim_cur = 16 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const bool exported = ExportPicture(f.ws, f.prompts);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!exported);
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QVERIFY2(f.prompts.asked[0].text.contains(QStringLiteral("soubor by byl větší")),
                 qPrintable(f.prompts.asked[0].text));
        QCOMPARE(ReadAll(out), QByteArray("the earlier export"));
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("vystup.jpg")});
    }

    // Opening or importing reads the new photograph into the memory of the view shown;
    // when the reading fails half way, the open project is shown exactly as before,
    // marker included.
    void failedReadShowsTheOpenProjectAsBefore_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<float>("zoom");
        QTest::newRow("photograph fails at its last pixel") << "open bmp" << 1.0f;
        QTest::newRow("the same, zoomed out") << "open bmp" << 0.5f;
        QTest::newRow("photograph of another size fails") << "open other size" << 1.0f;
        QTest::newRow("mask file broken") << "open mask" << 1.0f;
        QTest::newRow("imported JPEG ends early") << "import short" << 1.0f;
        QTest::newRow("imported JPEG ends early, zoomed out") << "import short" << 0.25f;
        QTest::newRow("mask of the import cannot be written") << "import mask" << 1.0f;
    }
    void failedReadShowsTheOpenProjectAsBefore() {
        QFETCH(QString, how);
        QFETCH(float, zoom);
        const QSize size(70, 30);
        Fixture f;
        QVERIFY(f.Open(f.MakeProject(QStringLiteral("dobry.bmp"), size)));
        f.Zoom(zoom);
        f.ws.Marker.DrawMarker(f.ws.ViewBitmap, QPoint(8, 6), QPoint(1, 1), 3);
        const Document before = f.ws.Doc;
        const QImage view = f.ws.ViewBitmap.copy();

        bool succeeded = true;
        if (how.startsWith(QLatin1String("open"))) {
            const QString bad = f.MakeProject(QStringLiteral("zly.bmp"), size, 2);
            if (how == QLatin1String("open bmp"))
                WriteFile(bad, BmpFailingAtItsLastPixel(size.width(), size.height()));
            else if (how == QLatin1String("open other size"))
                WriteFile(bad, BmpFailingAtItsLastPixel(size.width() + 1, size.height()));
            else
                WriteFile(bad + QStringLiteral(".mask"), QByteArray("TMSK", 4));
            succeeded = f.Open(bad);
        } else {
            const QString jpeg = f.dir.filePath(QStringLiteral("novy.jpg"));
            const QByteArray whole = Jpeg(Noise(size.width(), size.height(), 3));
            WriteFile(jpeg,
                      how == QLatin1String("import short") ? whole.left(whole.size() / 2) : whole);
            if (how == QLatin1String("import mask"))
                QDir(f.domy).mkdir(QStringLiteral("novy.bmp.mask"));
            f.prompts.fileNames.enqueue(jpeg);
            succeeded = ImportPhotograph(f.ws, f.prompts, f.domy);
        }
        QVERIFY(!succeeded);
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QCOMPARE(f.ws.Doc.ProjectPath, before.ProjectPath);
        QCOMPARE(f.ws.Doc.PhotoBitmap, before.PhotoBitmap);
        QCOMPARE(f.ws.Doc.Mask, before.Mask);
        QCOMPARE(f.ws.ZoomFactor, zoom);
        QCOMPARE(f.ws.ViewBitmap, view);
        // The marker is still known: erasing it gives the picture alone.
        f.ws.Marker.EraseMarker(f.ws.ViewBitmap);
        QVERIFY(f.ws.ViewBitmap != view);
    }

    // Projects of the same size one after another, at zoom 1 and not: each shows its
    // own photograph and mask only, whatever memory the pictures came in.
    void projectsOfOneSizeInTurnShowOnlyTheirOwnPicture() {
        const QSize size(90, 40);
        Fixture f;
        const QString first = f.MakeProject(QStringLiteral("a.bmp"), size, 1);
        const QString second = f.MakeProject(QStringLiteral("b.bmp"), size, 2);
        const QString jpeg = f.dir.filePath(QStringLiteral("c.jpg"));
        WriteFile(jpeg, Jpeg(Noise(size.width(), size.height(), 3)));
        const QString steps[] = {first, second, QStringLiteral("import"), first, second};
        float zoom = 1.0f;
        for (const QString& step : steps) {
            if (step == QLatin1String("import")) {
                f.prompts.fileNames.enqueue(jpeg);
                QVERIFY(ImportPhotograph(f.ws, f.prompts, f.domy));
                QCOMPARE(f.ws.Doc.PhotoBitmap, PhotoFiles::DecodeJpeg(ReadAll(jpeg), jpeg));
            } else {
                QVERIFY(f.Open(step));
                QCOMPARE(f.ws.Doc.PhotoBitmap, PhotoFiles::LoadBmp(step));
            }
            QCOMPARE(f.ws.ViewBitmap, f.ViewAtOne());
            // Zoomed out before the next one comes.
            zoom = zoom == 1.0f ? 0.5f : 1.0f;
            f.Zoom(zoom);
        }
        QVERIFY(f.prompts.asked.isEmpty());
    }

    // A photograph still held elsewhere (here a copy of the document) is never
    // written over by the next one.
    void aPhotographHeldElsewhereIsNeverWrittenOver() {
        const QSize size(64, 32);
        Fixture f;
        QVERIFY(f.Open(f.MakeProject(QStringLiteral("a.bmp"), size, 1)));
        const Document kept = f.ws.Doc;
        const QImage photo = kept.PhotoBitmap.copy();
        const QImage view = f.ws.ViewBitmap.copy();
        const QImage heldView = f.ws.ViewBitmap;
        QVERIFY(f.Open(f.MakeProject(QStringLiteral("b.bmp"), size, 2)));
        QVERIFY(f.Open(f.MakeProject(QStringLiteral("c.bmp"), size, 3)));
        QCOMPARE(kept.PhotoBitmap, photo);
        QCOMPARE(heldView, view);
    }
};

QTEST_GUILESS_MAIN(TestPictureMemory)
#include "test_picturememory.moc"
