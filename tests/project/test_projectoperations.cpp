#include "project/MaskFile.h"
#include "project/PhotoFiles.h"
#include "render/RenderRegion.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "workspace/ProjectOperations.h"
#include "workspace/SaveMask.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace TestPictures;

namespace {

class FixedChooser : public ProjectChooser {
public:
    QString path;
    int shown = 0;
    QString ChooseProject() override {
        ++shown;
        return path;
    }
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A project folder with a workspace and prompts around it.
struct Fixture {
    QTemporaryDir dir;
    QString domy = dir.filePath(QStringLiteral("domy"));
    Workspace ws;
    ScriptedPrompts prompts;
    FixedChooser chooser;

    Fixture() { QDir().mkpath(domy); }

    QString Import(const QString& name, const QImage& picture) {
        const QString jpeg = dir.filePath(name);
        WriteFile(jpeg, Jpeg(picture));
        prompts.fileNames.enqueue(jpeg);
        ImportPhotograph(ws, prompts, domy);
        return QDir(domy).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".bmp"));
    }

    // A saved project with two layers and a scheme.
    QString MakeProject(const QString& name, int width, int height) {
        const QString photo = QDir(domy).filePath(name);
        PhotoFiles::SaveBmp(photo, Quadrants(width, height));
        TMask mask = TMask::CreateBlank(width, height);
        mask.PaintSpan(0, 0, width / 2, 1);
        LayerRecord wall = NewLayerTemplate(1);
        wall.Name = QStringLiteral("Zeď");
        wall.ShadeColour = Rgb(200, 100, 50);
        const LayerList layers{OriginalLayerTemplate(), wall};
        mask.SaveToFile(photo + QStringLiteral(".mask"), layers,
                        {{QStringLiteral("Léto"), layers}});
        return photo;
    }

    bool Open(const QString& photo) {
        chooser.path = photo;
        return OpenProject(ws, prompts, chooser);
    }
};

} // namespace

class TestProjectOperations : public QObject {
    Q_OBJECT
private slots:
    void importMakesAProject() {
        Fixture f;
        const QImage source = Quadrants(800, 600);
        const QString photo = f.Import(QStringLiteral("Dum.jpg"), source);
        QCOMPARE(photo, QDir(f.domy).filePath(QStringLiteral("Dum.bmp")));
        QVERIFY(f.prompts.asked.isEmpty());
        // Every kind read first, then the old filter as it was.
        QCOMPARE(f.prompts.fileFilters.size(), 1);
        QVERIFY(f.prompts.fileFilters[0].startsWith(QStringLiteral("Fotografie|*.jpg;*.jpeg;")));
        QVERIFY(f.prompts.fileFilters[0].endsWith(QStringLiteral("|Obrázky (jpg)|*.jpg")));
        for (const char* pattern : {"*.png", "*.webp", "*.tif", "*.tiff", "*.heic", "*.heif",
                                    "*.avif", "*.HEIC", "*.JPG"})
            QVERIFY(f.prompts.fileFilters[0].contains(QLatin1String(pattern)));
        QCOMPARE(f.prompts.fileUses, QList<Prompts::FileUse>{Prompts::FileUse::Import});
        const QImage written = PhotoFiles::LoadBmp(photo);
        QCOMPARE(written.size(), QSize(800, 600));
        QCOMPARE(written, PhotoFiles::DecodeJpeg(Jpeg(source), QStringLiteral("x")));
        QCOMPARE(QFileInfo(photo + QStringLiteral(".mask")).size(), 4344);
        QCOMPARE(f.ws.Doc.ProjectPath, photo);
        QCOMPARE(f.ws.Doc.Layers.size(), 1);
        QCOMPARE(f.ws.Doc.Mask.Width, 800);
        QCOMPARE(f.ws.ViewBitmap.size(), QSize(800, 600));
        QCOMPARE(f.ws.ZoomFactor, 1.0f);
        QCOMPARE(f.ws.CurrentTool, int(PencilTool));
        QVERIFY(!f.ws.Doc.Modified);
    }

    void importReplacesLayersAndSchemes() {
        Fixture f;
        QVERIFY(f.Open(f.MakeProject(QStringLiteral("stary.bmp"), 40, 30)));
        QCOMPARE(f.ws.Doc.Layers.size(), 2);
        QCOMPARE(f.ws.Doc.Schemes.size(), 1);
        const QString photo = f.Import(QStringLiteral("novy.jpg"), Quadrants(50, 20));
        LayerList layers;
        SchemeList schemes;
        TMask::LoadFromFile(photo + QStringLiteral(".mask"), layers, schemes);
        QCOMPARE(layers.size(), 1);
        QVERIFY(schemes.isEmpty());
        QCOMPARE(f.ws.Doc.Layers.size(), 1);
        QVERIFY(f.ws.Doc.Schemes.isEmpty());
    }

    void importNameClashChangesNothing() {
        Fixture f;
        const QString existing = f.MakeProject(QStringLiteral("Dum.bmp"), 20, 10);
        const QByteArray before = ReadAll(existing);
        f.Import(QStringLiteral("Dum.jpg"), Quadrants(30, 30));
        QCOMPARE(f.prompts.Texts(),
                 QStringList{QStringLiteral("Obrázek daného jména již v databázi existuje.")});
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QCOMPARE(ReadAll(existing), before);
        QVERIFY(f.ws.Doc.ProjectPath.isEmpty());
    }

    void importAsksAboutUnsavedChanges() {
        Fixture f;
        f.ws.Doc.Modified = true;
        f.prompts.answers.enqueue(Prompts::Cancel);
        QVERIFY(!ImportPhotograph(f.ws, f.prompts, f.domy));
        QCOMPARE(f.prompts.Texts(),
                 QStringList{QStringLiteral("Chcete uložit změny v dokumentu?")});
        QCOMPARE(f.prompts.asked[0].icon, Prompts::Icon::None);
        QCOMPARE(f.prompts.asked[0].buttons, Prompts::Yes | Prompts::No | Prompts::Cancel);
        QVERIFY(f.prompts.fileFilters.isEmpty()); // no file dialog after Cancel
        // No goes on; the import leaves Modified as it was.
        f.prompts.answers.enqueue(Prompts::No);
        f.Import(QStringLiteral("a.jpg"), Quadrants(10, 10));
        QVERIFY(!f.ws.Doc.ProjectPath.isEmpty());
        QVERIFY(f.ws.Doc.Modified);
    }

    void undecodableJpegChangesNothing() {
        Fixture f;
        const QString jpeg = f.dir.filePath(QStringLiteral("zly.jpg"));
        WriteFile(jpeg, QByteArray("this is no picture"));
        f.prompts.fileNames.enqueue(jpeg);
        QVERIFY(!ImportPhotograph(f.ws, f.prompts, f.domy));
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].icon, Prompts::Icon::Error);
        QVERIFY(QDir(f.domy).entryList(QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(f.ws.Doc.ProjectPath.isEmpty());
    }

    void failedMaskWriteTakesThePhotographBack() {
        Fixture f;
        QDir(f.domy).mkdir(QStringLiteral("Dum.bmp.mask")); // a folder where the mask should go
        f.Import(QStringLiteral("Dum.jpg"), Quadrants(10, 10));
        QCOMPARE(f.prompts.asked.size(), 1);
        QVERIFY(!QFile::exists(QDir(f.domy).filePath(QStringLiteral("Dum.bmp"))));
        QVERIFY(f.ws.Doc.ProjectPath.isEmpty());
    }

    void openFillsTheDocumentAndEmptiesTheHistory() {
        Fixture f;
        const QString first = f.MakeProject(QStringLiteral("a.bmp"), 30, 20);
        QVERIFY(f.Open(first));
        f.ws.PushUndo();
        f.ws.Doc.Mask.PaintSpan(5, 0, 29, 1);
        f.ws.History.MarkPresentChanged();
        const QString second = f.MakeProject(QStringLiteral("b.bmp"), 16, 8);
        QVERIFY(f.Open(second));
        const TMask opened = f.ws.Doc.Mask;
        f.ws.undoClick();
        QCOMPARE(f.ws.Doc.Mask, opened); // never a mask of the previous project
        QCOMPARE(f.ws.Doc.ProjectPath, second);
        QCOMPARE(f.ws.Doc.PhotoBitmap.size(), QSize(16, 8));
        QCOMPARE(f.ws.ViewBitmap.size(), QSize(16, 8));
        QCOMPARE(f.ws.Doc.Layers[1].Name, QStringLiteral("Zeď"));
        QVERIFY(!f.ws.Doc.Layers[1].ShownInMaskMode);
        QVERIFY(!f.ws.Doc.Layers[1].HiddenInColourMode);
        // The layer with a shade is recoloured at once.
        const QColor p = f.ws.Doc.PhotoBitmap.pixelColor(0, 0);
        const QColor v = f.ws.ViewBitmap.pixelColor(0, 0);
        QVERIFY(p != v);
    }

    void openAsksToSaveFirst() {
        Fixture f;
        f.ws.Doc.Modified = true;
        f.prompts.answers.enqueue(Prompts::No);
        f.chooser.path.clear();
        QVERIFY(!OpenProject(f.ws, f.prompts, f.chooser));
        QCOMPARE(f.prompts.Texts(), QStringList{QStringLiteral("Chcete uložit změny?")});
        QCOMPARE(f.prompts.asked[0].buttons, Prompts::Yes | Prompts::No);
        QCOMPARE(f.chooser.shown, 1);
        QVERIFY(f.ws.Doc.Modified);
    }

    void badProjectsLeaveTheOpenOneWhole_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        const QString cannotOpen = QStringLiteral(
            "Soubor nelze otevřít. Ujistěte se, že existují soubory .bmp a .bmp.mask.");
        QTest::newRow("missing mask") << "missing mask" << cannotOpen;
        QTest::newRow("missing photograph") << "missing photo" << cannotOpen;
        QTest::newRow("256 layers")
            << "256 layers"
            << QStringLiteral(
                   "Soubor je špatný: maska MASK má 256 vrstev, smí jich mít nejvýš 255.");
        QTest::newRow("no layers") << "no layers"
                                   << QStringLiteral("Soubor je špatný: maska MASK nemá žádnou "
                                                     "vrstvu.");
        QTest::newRow("size mismatch") << "size" << QString();
        const QString otherSize =
            QStringLiteral("Maska %1 (%2) nepatří k obrázku velikosti 12 × 6 bodů.");
        QTest::newRow("mask one row taller") << "height 7" << otherSize.arg("MASK", "12 × 7 bodů");
        QTest::newRow("mask one row shorter") << "height 5" << otherSize.arg("MASK", "12 × 5 bodů");
        QTest::newRow("short mask") << "short" << QString();
        QTest::newRow("broken photograph") << "photo" << QString();
        QTest::newRow("photograph one byte short")
            << "photo byte"
            << QStringLiteral("Obrázek %1 je poškozený: soubor je kratší, než "
                              "udává jeho hlavička.");
        // A FIFO would block the program until something wrote into it.
        QTest::newRow("photograph is a FIFO") << "photo fifo" << cannotOpen;
        QTest::newRow("mask is a FIFO") << "mask fifo" << cannotOpen;
    }
    void badProjectsLeaveTheOpenOneWhole() {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        Fixture f;
        const QString good = f.MakeProject(QStringLiteral("dobry.bmp"), 20, 10);
        QVERIFY(f.Open(good));
        const Document before = f.ws.Doc;
        const QImage view = f.ws.ViewBitmap.copy();

        const QString bad = f.MakeProject(QStringLiteral("zly.bmp"), 12, 6);
        const QString mask = bad + QStringLiteral(".mask");
        QByteArray bytes = ReadAll(mask);
        message.replace(QStringLiteral("MASK"), QDir::toNativeSeparators(mask));
        if (damage == QLatin1String("missing mask")) {
            QFile::remove(mask);
        } else if (damage == QLatin1String("missing photo")) {
            QFile::remove(bad);
        } else if (damage == QLatin1String("256 layers")) {
            const QByteArray header = MaskFile::Serialize(TMask::CreateBlank(12, 6), {}, {});
            WriteFile(mask, header.left(header.size() - 8) + QByteArray("\x00\x01\x00\x00", 4));
        } else if (damage == QLatin1String("no layers")) {
            TMask empty = TMask::CreateBlank(12, 6);
            for (MaskRow& row : empty.Rows)
                row.clear();
            empty.SaveToFile(mask, {}, {});
        } else if (damage == QLatin1String("size")) {
            TMask::CreateBlank(13, 6).SaveToFile(mask, {OriginalLayerTemplate()}, {});
        } else if (damage.startsWith(QLatin1String("height"))) {
            TMask::CreateBlank(12, damage.back().digitValue())
                .SaveToFile(mask, {OriginalLayerTemplate()}, {});
            message.replace(QStringLiteral("MASK"), QDir::toNativeSeparators(mask));
        } else if (damage == QLatin1String("short")) {
            WriteFile(mask, bytes.left(bytes.size() / 2));
        } else if (damage == QLatin1String("photo byte")) {
            const QByteArray photo = ReadAll(bad);
            WriteFile(bad, photo.left(photo.size() - 1));
            message = message.arg(QDir::toNativeSeparators(bad));
        } else if (damage.endsWith(QLatin1String("fifo"))) {
            const QString fifo = damage.startsWith(QLatin1String("photo")) ? bad : mask;
            QFile::remove(fifo);
            QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        } else {
            WriteFile(bad, ReadAll(bad).left(60));
        }
        f.prompts.asked.clear();
        QVERIFY(!f.Open(bad));
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        if (!message.isEmpty())
            QCOMPARE(f.prompts.asked[0].text, message);
        QCOMPARE(f.ws.Doc.ProjectPath, before.ProjectPath);
        QCOMPARE(f.ws.Doc.Mask, before.Mask);
        QCOMPARE(f.ws.Doc.Layers, before.Layers);
        QCOMPARE(f.ws.Doc.Schemes, before.Schemes);
        QCOMPARE(f.ws.Doc.PhotoBitmap, before.PhotoBitmap);
        QCOMPARE(f.ws.ViewBitmap, view);
    }

    void saveReopenSaveGivesTheSameFile() {
        Fixture f;
        const QString photo = f.MakeProject(QStringLiteral("dum.bmp"), 25, 15);
        QVERIFY(f.Open(photo));
        QCOMPARE(SaveMask(f.ws.Doc, f.prompts), SaveResult::Saved);
        const QByteArray first = ReadAll(photo + QStringLiteral(".mask"));
        QVERIFY(f.Open(photo));
        QCOMPARE(SaveMask(f.ws.Doc, f.prompts), SaveResult::Saved);
        QCOMPARE(ReadAll(photo + QStringLiteral(".mask")), first);
    }

    void exportAtZoomTwoIsFullSize() {
        Fixture f;
        QVERIFY(f.Open(f.MakeProject(QStringLiteral("dum.bmp"), 40, 30)));
        f.ws.ZoomFactor = 2.0f;
        f.ws.ResizeView();
        f.ws.UpdateWholePicture();
        const QImage view = f.ws.ViewBitmap.copy();
        const QString out = f.dir.filePath(QStringLiteral("vystup.jpg"));
        f.prompts.fileNames.enqueue(out);
        QVERIFY(ExportPicture(f.ws, f.prompts));
        const QImage exported = PhotoFiles::LoadJpeg(out);
        QCOMPARE(exported.size(), QSize(40, 30));
        const QImage expected = RenderFullSize(f.ws.Doc, false);
        QVERIFY(Distance(exported.pixelColor(5, 5), expected.pixelColor(5, 5)) < 12);
        QCOMPARE(f.ws.ZoomFactor, 2.0f);
        QCOMPARE(f.ws.ViewBitmap, view);
        QCOMPARE(f.prompts.fileFilters.constLast(),
                 QStringLiteral("Obrázky JPG (*.jpg)|*.jpg|Všechny soubory (*.*)|*.*"));
    }

    void exportWithoutAProjectWritesNothing() {
        Fixture f;
        f.prompts.fileNames.enqueue(f.dir.filePath(QStringLiteral("x.jpg")));
        QVERIFY(!ExportPicture(f.ws, f.prompts));
        QCOMPARE(f.prompts.Texts(), QStringList{QStringLiteral("Není co ukládat")});
        QVERIFY(!QFile::exists(f.dir.filePath(QStringLiteral("x.jpg"))));
    }
};

QTEST_GUILESS_MAIN(TestProjectOperations)
#include "test_projectoperations.moc"
