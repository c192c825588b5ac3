// Texts from files and from the catalogue shown as they are, never as markup. A shade
// remark such as <img src="/dev/zero"> made a label read the device until memory ran
// out; one naming a FIFO held the program for good. Each window that shows such texts
// is filled here with names and remarks that name a FIFO (and /dev/zero) and drawn:
// read as markup, the drawing would wait for a writer of the FIFO (after a minute the
// test gives it one, and fails).
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "catalogue/CatalogueWindow.h"
#include "overview/OverviewWindow.h"
#include "overview/ProjectListWindow.h"
#include "palette/PaletteWindow.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"
#include "support/TestProjects.h"
#include "widgets/CzechMessageDialog.h"
#include "workspace/ProjectOperations.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Runs action. A reader that waits on the FIFO gets a writer after a minute (and
// again while it waits), so that the action ends; returns whether it never waited.
bool RunsWithoutWaitingOn(const QString& fifo, const std::function<void()>& action) {
    std::atomic<bool> done{false};
    std::atomic<bool> released{false};
    const QByteArray path = QFile::encodeName(fifo);
    std::thread watchdog([&] {
        const auto start = std::chrono::steady_clock::now();
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (std::chrono::steady_clock::now() - start < std::chrono::seconds(60))
                continue;
            const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                released = true;
                ::close(fd);
            }
        }
    });
    action();
    done = true;
    watchdog.join();
    return !released;
}

// Draws the window as the screen would.
void Draw(QWidget& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    (void)window.grab();
}

} // namespace

class TestHostileTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(fifoDir.isValid() && appDir.isValid());
        fifo = fifoDir.filePath(QStringLiteral("f"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        hostile = QStringLiteral("<img src=\"%1\">").arg(fifo);
        QVERIFY(hostile.size() <= 32); // fits a layer's name
        const QString rows =
            QStringLiteral("INSERT INTO verze VALUES (0);\n"
                           "INSERT INTO Firma VALUES (1, 'H', '<b>l</b>', 'd');\n"
                           "INSERT INTO Vejir VALUES (12, 'H', 'd', 0);\n"
                           "INSERT INTO Firma_in_vejir VALUES (1, 12);\n"
                           "INSERT INTO Odstin VALUES (1, 'H', 200, 10, 10, 'H');\n"
                           "INSERT INTO Odstin VALUES (2, '<img src=\"/dev/zero\">', 10, 10, "
                           "10, '<b>tučně</b>');\n"
                           "INSERT INTO Odstin_In_Vejir VALUES (1, 12, 1);\n"
                           "INSERT INTO Odstin_In_Vejir VALUES (2, 12, 1);\n"
                           "COMMIT;\n")
                .replace(QStringLiteral("'H'"), QLatin1Char('\'') + hostile + QLatin1Char('\''));
        QCOMPARE(TestCatalogue::Build(appDir.filePath(QStringLiteral("odrex.tom")), rows),
                 QString());
        // A project whose layer and scheme bear the name, its shade the hostile one;
        // and a photograph named after a FIFO beside the program's working folder.
        const DemoProject demo = MakeDemoHouse(120, 80);
        LayerList layers = demo.Layers;
        layers[1].Name = hostile;
        layers[1].ShadeId = 1;
        layers[1].FanDeckId = 12;
        layers[1].PaintKindId = 1;
        SchemeList schemes = demo.Schemes;
        schemes[0].Name = hostile;
        photo = SaveProject(appDir.path(), QStringLiteral("dum.bmp"), demo, layers, schemes);
        hostilePhoto = SaveProject(appDir.path(), QStringLiteral("<img src=\"f\">.bmp"), demo,
                                   layers, schemes);
        QVERIFY(QDir::setCurrent(fifoDir.path())); // where "f" is the FIFO

        windows = std::make_unique<AppWindows>(appDir.path(), &prompts);
        QVERIFY(prompts.asked.isEmpty());
        QVERIFY(OpenProjectFile(windows->mainWindow->Workspace(), prompts, photo));
    }

    void cleanupTestCase() { windows.reset(); }

    void theMainWindowsLists() {
        QVERIFY(RunsWithoutWaitingOn(fifo, [&] { Draw(*windows->mainWindow); }));
        QCOMPARE(windows->mainWindow->schemeList->item(0)->text(), hostile);
    }

    // The remark, the unit and the window's caption of the layer's name.
    void theCatalogue() {
        CatalogueWindow& catalogue = *windows->catalogue;
        QCOMPARE(catalogue.noticeLabel->textFormat(), Qt::PlainText);
        QCOMPARE(catalogue.unitLabel->textFormat(), Qt::PlainText);
        QVERIFY(RunsWithoutWaitingOn(fifo, [&] {
            const Document& doc = windows->mainWindow->Workspace().Doc;
            catalogue.ShowForLayer(1, doc.Layers[1]);
            const QList<QListWidgetItem*> found =
                catalogue.shadeList->findItems(hostile, Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            catalogue.shadeList->setCurrentItem(found[0]);
            catalogue.onShadeListClicked();
            Draw(catalogue);
        }));
        QCOMPARE(catalogue.noticeLabel->text(), hostile);
        QCOMPARE(catalogue.unitLabel->text(), QStringLiteral("<b>l</b>"));
        QCOMPARE(catalogue.windowTitle(), hostile);
    }

    void thePalettesHintBar() {
        PaletteWindow& palette = *windows->palette;
        for (QLabel* label : {palette.fanDeckLabel, palette.shadeLabel})
            QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY(RunsWithoutWaitingOn(fifo, [&] {
            palette.ShowOnShade();
            Draw(palette);
        }));
        QCOMPARE(palette.shadeLabel->text(), hostile);
    }

    void theOverview() {
        QVERIFY(RunsWithoutWaitingOn(fifo, [&] {
            windows->overview->FillOverview();
            Draw(*windows->overview);
        }));
        windows->overview->hide();
    }

    void theProjectList() {
        QVERIFY(RunsWithoutWaitingOn(fifo, [&] {
            windows->projectList->FillProjectLists();
            Draw(*windows->projectList);
        }));
        QCOMPARE(windows->projectList->exteriorList->count(), 2);
        windows->projectList->hide();
    }

    // A message that quotes a name, as the question before deleting a project does.
    void aMessageQuotingAName() {
        const auto box = BuildCzechMessageDialog(
            QStringLiteral("Potvrzení"),
            QStringLiteral("Opravdu chcete smazat projekt „%1“?").arg(hostile),
            Prompts::Icon::Question, Prompts::Yes | Prompts::No, Prompts::No, 0, nullptr);
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QVERIFY(RunsWithoutWaitingOn(fifo, [&] { Draw(*box); }));
        QVERIFY(box->text().contains(hostile));
    }

    // Two files handed over at once: the hint bar names the first, which is opened.
    void theMainWindowsHintBar() {
        MainWindow& main = *windows->mainWindow;
        QVERIFY(RunsWithoutWaitingOn(fifo, [&] {
            main.OpenOrImportFiles({hostilePhoto, photo});
            Draw(main);
        }));
        QCOMPARE(main.Workspace().Doc.ProjectPath, hostilePhoto);
        QVERIFY(main.hintBar && main.hintBar->isVisible());
        QCOMPARE(main.hintBar->textFormat(), Qt::PlainText);
        QCOMPARE(main.hintBar->text(), QStringLiteral("Otevírá se jen první ze souborů "
                                                      "(<img src=\"f\">.bmp), ostatní (1) "
                                                      "zůstaly stranou."));
    }

private:
    QTemporaryDir fifoDir{QStringLiteral("/tmp/th-XXXXXX")};
    QTemporaryDir appDir;
    QString fifo, hostile, photo, hostilePhoto;
    ScriptedPrompts prompts;
    std::unique_ptr<AppWindows> windows;
};

QTEST_MAIN(TestHostileTexts)
#include "test_hostiletexts.moc"
