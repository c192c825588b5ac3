#include "overview/ProjectListWindow.h"
#include "overview/ProjectListing.h"
#include "project/PhotoFiles.h"
#include "project/RecoveryFile.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "support/TestWidgets.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace TestPictures;

class TestProjectList : public QObject {
    Q_OBJECT
private slots:
    void thumbnailRects_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("1800 × 600") << QSize(1800, 600) << QRect(10, 105, 180, 60);
        QTest::newRow("120 × 80 at its own size") << QSize(120, 80) << QRect(10, 105, 120, 80);
        QTest::newRow("400 × 400") << QSize(400, 400) << QRect(10, 105, 90, 90);
        QTest::newRow("6000 × 4000") << QSize(6000, 4000) << QRect(10, 105, 135, 90);
    }
    void thumbnailRects() {
        QFETCH(QSize, picture);
        QFETCH(QRect, expected);
        QCOMPARE(ProjectListing::ThumbnailRect(QRect(0, 100, 281, 100), picture), expected);
    }

    void namesAndColumns() {
        QCOMPARE(ProjectListing::DisplayName(QStringLiteral("dum.bmp")), QStringLiteral("dum"));
        const auto c = ProjectListing::ColumnsFor(582);
        QCOMPARE(c.leftListWidth, 281);
        QCOMPARE(c.leftFrameWidth, 283);
        QCOMPARE(c.leftButtonX, 78);
        QCOMPARE(c.rightListX, 296);
        QCOMPARE(c.rightFrameX, 295);
        QCOMPARE(c.rightListWidth, 281);
        QCOMPARE(c.rightButtonX, 296 + 140 - 62);
    }

    void folderListing() {
        QTemporaryDir dir;
        for (const char* name :
             {"dum.bmp", "dum.bmp.mask", "DUM2.BMP", "Chata.bmp", "foto.jpg", ".skryty.bmp"})
            WriteFile(dir.filePath(QString::fromUtf8(name)), "x");
        QDir(dir.path()).mkdir(QStringLiteral("slozka.bmp"));
        QCOMPARE(ProjectListing::ProjectFiles(dir.path()),
                 (QStringList{QStringLiteral("Chata.bmp"), QStringLiteral("dum.bmp"),
                              QStringLiteral("DUM2.BMP")}));
        QVERIFY(ProjectListing::ProjectFiles(dir.filePath(QStringLiteral("chybi"))).isEmpty());
    }

    void selectionAndChoice() {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("domy"));
        QDir(dir.path()).mkpath(QStringLiteral("interier"));
        PhotoFiles::SaveBmp(dir.filePath(QStringLiteral("domy/vila.bmp")), Quadrants(1800, 600));
        WriteFile(dir.filePath(QStringLiteral("domy/rozbity.bmp")), "not a picture");
        PhotoFiles::SaveBmp(dir.filePath(QStringLiteral("interier/kuchyn.bmp")),
                            Quadrants(120, 80));
        ScriptedPrompts prompts;
        TOpenList list(dir.path(), prompts);
        list.FillProjectLists();
        QCOMPARE(Rows(list.ListBox1),
                 (QStringList{QStringLiteral("rozbity.bmp"), QStringLiteral("vila.bmp")}));
        QCOMPARE(Rows(list.ListBox2), QStringList{QStringLiteral("kuchyn.bmp")});
        QCOMPARE(list.ThumbnailOf(dir.filePath(QStringLiteral("domy/vila.bmp"))).size,
                 QSize(1800, 600));
        QVERIFY(list.ThumbnailOf(dir.filePath(QStringLiteral("domy/rozbity.bmp"))).image.isNull());

        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.grab(); // paints every visible row, the unreadable one too
        const QRect left = list.ListBox1->visualItemRect(list.ListBox1->item(1));
        QTest::mouseClick(list.ListBox1->viewport(), Qt::LeftButton, {}, left.center());
        const QRect right = list.ListBox2->visualItemRect(list.ListBox2->item(0));
        QTest::mouseClick(list.ListBox2->viewport(), Qt::LeftButton, {}, right.center());
        QVERIFY(list.ListBox1->selectedItems().isEmpty());
        list.Vybratprojekt1Click();
        QCOMPARE(list.ChosenProjectPath,
                 QDir(dir.path()).filePath(QStringLiteral("interier/kuchyn.bmp")));
        QVERIFY(!list.isVisible());

        list.FillProjectLists();
        QVERIFY(list.ChosenProjectPath.isEmpty());
        list.ListDoubleClick(list.ListBox1); // no selected row: nothing
        QVERIFY(list.ChosenProjectPath.isEmpty());
    }

    void deletingAsksAndSparesTheOpenProject() {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("domy"));
        const QString photo = dir.filePath(QStringLiteral("domy/dum.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(10, 10));
        WriteFile(photo + QStringLiteral(".mask"), "mask");
        ScriptedPrompts prompts;
        TOpenList list(dir.path(), prompts);
        QString open = photo;
        list.OpenProjectPath = [&open] { return open; };
        list.FillProjectLists();
        list.ListBox1->setCurrentRow(0);
        list.Smazatprojekt1Click();
        QCOMPARE(prompts.Texts(), QStringList{QStringLiteral("Otevřený projekt nelze smazat.")});
        QVERIFY(QFile::exists(photo));

        open.clear();
        prompts.asked.clear();
        prompts.answers.enqueue(Prompts::No);
        list.ListBox1->setCurrentRow(0);
        list.Smazatprojekt1Click();
        QCOMPARE(prompts.asked[0].text, QStringLiteral("Opravdu chcete projekt smazat?"));
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Potvrzení"));
        QCOMPARE(prompts.asked[0].buttons, Prompts::Yes | Prompts::No);
        QVERIFY(QFile::exists(photo));

        prompts.answers.enqueue(Prompts::Yes);
        list.ListBox1->setCurrentRow(0);
        list.Smazatprojekt1Click();
        QVERIFY(!QFile::exists(photo));
        QVERIFY(!QFile::exists(photo + QStringLiteral(".mask")));
        QCOMPARE(list.ListBox1->count(), 0);
    }

    // Changes kept at a logout belong to the project and go with it: a new project of
    // the same name never inherits them.
    void deletingTakesKeptChangesAlong() {
        QTemporaryDir dir;
        const QString photo = dir.filePath(QStringLiteral("dum.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(10, 10));
        WriteFile(photo + QStringLiteral(".mask"), "mask");
        WriteFile(RecoveryFile::PathFor(photo), "kept");
        QVERIFY(ProjectListing::DeleteProject(photo, nullptr));
        QVERIFY(!QFile::exists(RecoveryFile::PathFor(photo)));
    }

    // A photograph that cannot be removed keeps its mask: the project stays whole.
    void aPhotographThatStaysKeepsItsMask() {
        QTemporaryDir dir;
        const QString photo = dir.filePath(QStringLiteral("dum.bmp"));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("dum.bmp/inside"))); // not removable
        WriteFile(photo + QStringLiteral(".mask"), "mask");
        QString reason;
        QVERIFY(!ProjectListing::DeleteProject(photo, &reason));
        QVERIFY(reason.contains(QStringLiteral("dum.bmp")));
        QVERIFY(QFile::exists(photo + QStringLiteral(".mask")));
    }
};

QTEST_MAIN(TestProjectList)
#include "test_projectlist.moc"
