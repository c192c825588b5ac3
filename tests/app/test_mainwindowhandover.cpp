#include "DemoHouse.h"
#include "app/ImageView.h"
#include "app/MainWindow.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPhotographs.h"
#include "support/TestPictures.h"
#include "support/TestProjects.h"
#include "widgets/GlintImage.h"

#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

// The main window shown and active, with the demo house open and a photograph of
// every kind beside the program's folder.
struct Fixture {
    QTemporaryDir dir;
    QString house = SaveDemoProject(dir.path(), QStringLiteral("Rodinný dům.bmp"), 120, 90);
    ScriptedPrompts prompts;
    MainWindow window{dir.path(), prompts};
    Workspace& ws = window.Workspace();

    Fixture() {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(window.Folders().Projects == dir.path());
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString Houses(const QString& name) const {
        return dir.filePath(QStringLiteral("domy/") + name);
    }
    void Open() {
        window.OpenOrImportFiles({house});
        QCOMPARE(ws.Doc.ProjectPath, house);
    }
    void Press(const QString& button) { QTest::mouseClick(window.Button(button), Qt::LeftButton); }
    void Keys(const QKeySequence& keys) { QTest::keySequence(&window, keys); }
    // Drops files on the window as a file manager does; the work runs right after.
    void Drop(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        const QPointF at(window.width() / 2.0, window.height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &drop);
        QVERIFY(drop.isAccepted());
        QCoreApplication::processEvents();
    }
};

} // namespace

class TestMainWindowHandover : public QObject {
    Q_OBJECT
private slots:
    // Ctrl+Z takes back a pencil dab and Ctrl+Y brings it again (Ctrl+Shift+Z too),
    // in mask mode, where their buttons are; outside it they do nothing.
    void undoAndRedoKeys() {
        Fixture f;
        f.Open();
        f.Press(QStringLiteral("editModeButton"));
        f.Press(QStringLiteral("pencilButton"));
        f.window.layerList->setCurrentRow(1);
        const TMask before = f.ws.Doc.Mask;
        f.window.onImageViewMouseDown(Qt::LeftButton, 5, 5);
        const TMask dabbed = f.ws.Doc.Mask;
        QVERIFY(dabbed != before);
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(f.ws.Doc.Mask, before);
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_Y));
        QCOMPARE(f.ws.Doc.Mask, dabbed);
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        f.Keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QCOMPARE(f.ws.Doc.Mask, dabbed);
        // Out of mask mode the undo button is hidden, and so is its key.
        f.Press(QStringLiteral("editModeButton"));
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(f.ws.Doc.Mask, dabbed);
    }

    // Ctrl+S saves the mask as the button does, with its message.
    void saveKey() {
        Fixture f;
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(f.prompts.Texts(), QStringList{QStringLiteral("Není co ukládat")});
        f.Open();
        f.ws.Doc.Modified = true;
        QFile::remove(f.house + QStringLiteral(".mask"));
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(f.prompts.Texts().last(), QStringLiteral("Soubor byl uložen"));
        QVERIFY(!f.ws.Doc.Modified);
        QVERIFY(QFile::exists(f.house + QStringLiteral(".mask")));
    }

    // Ctrl++ and Ctrl+- step the zoom as the buttons do, Ctrl+0 goes back to zoom 1;
    // all only in mask mode, where the zoom buttons are.
    void zoomKeys() {
        Fixture f;
        f.Open();
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_Plus));
        QCOMPARE(f.ws.ZoomFactor, 1.0f);
        f.Press(QStringLiteral("editModeButton"));
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_Plus));
        QCOMPARE(f.ws.ZoomFactor, 2.0f);
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_Equal));
        QCOMPARE(f.ws.ZoomFactor, 4.0f);
        QCOMPARE(f.window.imageView->size(), QSize(480, 360));
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_0));
        QCOMPARE(f.ws.ZoomFactor, 1.0f);
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_Minus));
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_Minus));
        QCOMPARE(f.ws.ZoomFactor, 0.25f);
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_0));
        QCOMPARE(f.ws.ZoomFactor, 1.0f);
        QCOMPARE(f.window.imageView->size(), QSize(120, 90));
    }

    // Esc ends the line chain being drawn: the next press starts a new chain.
    void escapeEndsTheLineChain() {
        Fixture f;
        f.Open();
        f.Press(QStringLiteral("editModeButton"));
        f.Press(QStringLiteral("linesButton"));
        f.window.layerList->setCurrentRow(1);
        f.window.onImageViewMouseDown(Qt::LeftButton, 10, 10);
        QCOMPARE(f.ws.LineAnchorX, 10);
        f.Keys(QKeySequence(Qt::Key_Escape));
        QCOMPARE(f.ws.LineAnchorX, -1);
        // A press now draws no line from the old point.
        const TMask before = f.ws.Doc.Mask;
        f.window.onImageViewMouseDown(Qt::LeftButton, 100, 80);
        QCOMPARE(f.ws.LineAnchorX, 100);
        QVERIFY(f.ws.Doc.Mask.Rows[45] == before.Rows[45]); // nothing between the two
    }

    // F1 opens the help page; Ctrl+O the project list, Ctrl+I the import's dialog.
    void helpOpenAndImportKeys() {
        Fixture f;
        QString opened;
        f.window.OpenHelpPage = [&opened](const QString& path) { opened = path; };
        f.Keys(QKeySequence(Qt::Key_F1));
        QCOMPARE(opened, f.Path(QStringLiteral("help/help.htm")));
        f.Keys(QKeySequence(Qt::CTRL | Qt::Key_I));
        QCOMPARE(f.prompts.fileFilters.size(), 1); // the import asked for a photograph
        QVERIFY(f.prompts.fileFilters[0].startsWith(QStringLiteral("Fotografie|")));
    }

    // A photograph dropped on the window is imported, with the same questions as the
    // import button; a project's photograph or mask dropped opens the project.
    void dropPhotographAndProject_data() {
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("note");
        QTest::newRow("heic photograph") << QStringList{"Chata.heic"} << "domy/Chata.bmp"
                                         << "";
        QTest::newRow("project photograph")
            << QStringList{"domy/Rodinný dům.bmp"} << "domy/Rodinný dům.bmp"
            << "";
        QTest::newRow("project mask")
            << QStringList{"domy/Rodinný dům.bmp.mask"} << "domy/Rodinný dům.bmp"
            << "";
        QTest::newRow("three files")
            << QStringList{"Chata.heic", "domy/Rodinný dům.bmp", "Dopis.txt"} << "domy/Chata.bmp"
            << "Otevírá se jen první ze souborů (Chata.heic), ostatní (2) zůstaly stranou.";
    }
    void dropPhotographAndProject() {
        QFETCH(QStringList, dropped);
        QFETCH(QString, opened);
        QFETCH(QString, note);
        Fixture f;
        TestPictures::WriteFile(
            f.Path(QStringLiteral("Chata.heic")),
            TestPhotographs::Heif(
                TestPictures::Quadrants(64, 48).convertToFormat(QImage::Format_RGB888)));
        QStringList paths;
        for (const QString& name : dropped)
            paths << f.Path(name);
        f.Drop(paths);
        QCOMPARE(f.ws.Doc.ProjectPath, f.Path(opened));
        QVERIFY(f.prompts.asked.isEmpty());
        QVERIFY(f.prompts.fileFilters.isEmpty()); // no file dialog
        if (note.isEmpty()) {
            QVERIFY(!f.window.hintBar || !f.window.hintBar->isVisible());
        } else {
            QVERIFY(f.window.hintBar && f.window.hintBar->isVisible());
            QCOMPARE(f.window.hintBar->text(), note);
        }
    }

    // With unsaved changes a dropped photograph asks as the import button does;
    // Storno leaves everything as it was.
    void dropAsksAboutUnsavedChanges() {
        Fixture f;
        f.Open();
        f.ws.Doc.Modified = true;
        TestPictures::WriteFile(f.Path(QStringLiteral("Chata.jpg")),
                                TestPictures::Jpeg(TestPictures::Quadrants(64, 48)));
        f.prompts.answers.enqueue(Prompts::Cancel);
        f.Drop({f.Path(QStringLiteral("Chata.jpg"))});
        QCOMPARE(f.prompts.Texts(),
                 QStringList{QStringLiteral("Chcete uložit změny v dokumentu?")});
        QCOMPARE(f.ws.Doc.ProjectPath, f.house);
        QVERIFY(!QFile::exists(f.Houses(QStringLiteral("Chata.bmp"))));
        // A name already taken: the import button's message.
        f.prompts.answers.enqueue(Prompts::No);
        f.Drop({f.Path(QStringLiteral("Chata.jpg"))});
        QVERIFY(QFile::exists(f.Houses(QStringLiteral("Chata.bmp"))));
        f.prompts.answers.enqueue(Prompts::No);
        f.Drop({f.Path(QStringLiteral("Chata.jpg"))});
        QCOMPARE(f.prompts.Texts().last(),
                 QStringLiteral("Obrázek daného jména již v databázi existuje."));
    }

    // What the command line hands over at start-up goes the same way, its note (other
    // files named) in the hint bar, and a photograph's profile left out noted too.
    void commandLineFile() {
        Fixture f;
        const QByteArray broken = QByteArray("not a colour profile ").repeated(10);
        TestPictures::WriteFile(f.Path(QStringLiteral("Telefon.jpg")),
                                TestPhotographs::JpegWithProfile(
                                    TestPictures::Jpeg(TestPictures::Quadrants(64, 48)), broken));
        f.window.OpenOrImportFiles({f.Path(QStringLiteral("Telefon.jpg"))},
                                   QStringLiteral("Otevírá se jen první ze souborů (Telefon.jpg), "
                                                  "ostatní (1) zůstaly stranou."));
        QCOMPARE(f.ws.Doc.ProjectPath, f.Houses(QStringLiteral("Telefon.bmp")));
        QVERIFY(f.window.hintBar->isVisible());
        QVERIFY(f.window.hintBar->text().startsWith(QStringLiteral("Otevírá se jen první")));
        QVERIFY(f.window.hintBar->text().endsWith(QStringLiteral(
            "Barevný profil fotografie je poškozený; barvy jsou převzaty bez převodu.")));
    }
};

QTEST_MAIN(TestMainWindowHandover)
#include "test_mainwindowhandover.moc"
