#include "overview/ProjectListWindow.h"
#include "overview/ProjectListing.h"
#include "overview/ThumbnailLoader.h"
#include "project/MeasurementFile.h"
#include "project/PhotoFiles.h"
#include "project/RecoveryFile.h"
#include "project/Thumbnails.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "support/TestWidgets.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QtEndian>

#include <memory>

using namespace TestPictures;

namespace {

// Every test keeps its thumbnails in a cache of its own.
struct Cache {
    QTemporaryDir dir;
    Cache() { qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.path())); }
    QStringList Thumbnails() const {
        return QDir(dir.filePath(QStringLiteral("thumbnails/large"))).entryList(QDir::Files);
    }
};

// A pool of one thread that waits until the test lets it go: the thumbnails asked
// for meanwhile stay pending.
struct HeldPool {
    QThreadPool pool;
    QSemaphore gate;
    HeldPool() {
        pool.setMaxThreadCount(1);
        pool.start([this] { gate.acquire(); });
    }
    void Release() { gate.release(); }
    ~HeldPool() {
        gate.release();
        pool.waitForDone();
    }
};

// Two project folders beside a program.
struct Folders {
    QTemporaryDir dir;
    Folders() {
        QDir(dir.path()).mkpath(QStringLiteral("domy"));
        QDir(dir.path()).mkpath(QStringLiteral("interier"));
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
};

// An 8-bit BMP whose header is sound but whose pixel names a colour its palette lacks.
QByteArray BadPaletteBmp() {
    QByteArray bmp(14 + 40 + 2 * 4 + 4, '\0');
    char* b = bmp.data();
    b[0] = 'B';
    b[1] = 'M';
    qToLittleEndian<quint32>(quint32(bmp.size()), b + 2);
    qToLittleEndian<quint32>(14 + 40 + 8, b + 10);
    qToLittleEndian<quint32>(40, b + 14);
    qToLittleEndian<qint32>(4, b + 18);
    qToLittleEndian<qint32>(1, b + 22);
    qToLittleEndian<quint16>(1, b + 26);
    qToLittleEndian<quint16>(8, b + 28);
    qToLittleEndian<quint32>(2, b + 46); // two colours
    b[14 + 40 + 8 + 2] = 5;              // the third pixel: colour 5
    return bmp;
}

QRect ThumbnailRectOf(const QListWidget* list, int row, QSize picture) {
    return ProjectListing::ThumbnailRect(list->visualItemRect(list->item(row)), picture);
}

void SetMTime(const QString& path, qint64 seconds) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::fromSecsSinceEpoch(seconds),
                             QFileDevice::FileModificationTime));
}

const QColor Placeholder(214, 219, 222);

} // namespace

class TestProjectList : public QObject {
    Q_OBJECT
private slots:
    // Thumbnails still being made belong to the test that asked for them.
    void cleanup() { QThreadPool::globalInstance()->waitForDone(); }

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
        Cache cache;
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("domy"));
        QDir(dir.path()).mkpath(QStringLiteral("interier"));
        PhotoFiles::SaveBmp(dir.filePath(QStringLiteral("domy/vila.bmp")), Quadrants(1800, 600));
        WriteFile(dir.filePath(QStringLiteral("domy/rozbity.bmp")), "not a picture");
        PhotoFiles::SaveBmp(dir.filePath(QStringLiteral("interier/kuchyn.bmp")),
                            Quadrants(120, 80));
        ScriptedPrompts prompts;
        ProjectListWindow list(dir.path(), prompts);
        list.FillProjectLists();
        QCOMPARE(Rows(list.exteriorList),
                 (QStringList{QStringLiteral("rozbity.bmp"), QStringLiteral("vila.bmp")}));
        QCOMPARE(Rows(list.interiorList), QStringList{QStringLiteral("kuchyn.bmp")});
        QCOMPARE(list.PictureOf(dir.filePath(QStringLiteral("domy/vila.bmp"))).size,
                 QSize(1800, 600));
        QVERIFY(!list.PictureOf(dir.filePath(QStringLiteral("domy/rozbity.bmp"))).readable);

        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.grab(); // paints every visible row, the unreadable one too
        const QRect left = list.exteriorList->visualItemRect(list.exteriorList->item(1));
        QTest::mouseClick(list.exteriorList->viewport(), Qt::LeftButton, {}, left.center());
        const QRect right = list.interiorList->visualItemRect(list.interiorList->item(0));
        QTest::mouseClick(list.interiorList->viewport(), Qt::LeftButton, {}, right.center());
        QVERIFY(list.exteriorList->selectedItems().isEmpty());
        list.onChooseProjectTriggered();
        QCOMPARE(list.ChosenProjectPath,
                 QDir(dir.path()).filePath(QStringLiteral("interier/kuchyn.bmp")));
        QVERIFY(!list.isVisible());

        list.FillProjectLists();
        QVERIFY(list.ChosenProjectPath.isEmpty());
        list.onProjectListDoubleClicked(list.exteriorList); // no selected row: nothing
        QVERIFY(list.ChosenProjectPath.isEmpty());
    }

    // The list shows names and sizes at once, from the headers alone; each thumbnail
    // fills in when it has been made; no row asks the user anything.
    void listAppearsBeforeThumbnailsAndFillsIn() {
        Cache cache;
        Folders folders;
        const QString vila = folders.Path(QStringLiteral("domy/vila.bmp"));
        const QString paleta = folders.Path(QStringLiteral("domy/paleta.bmp"));
        const QString rozbity = folders.Path(QStringLiteral("domy/rozbity.bmp"));
        const QString kuchyn = folders.Path(QStringLiteral("interier/kuchyn.bmp"));
        const QString pokoj = folders.Path(QStringLiteral("interier/pokoj.bmp"));
        PhotoFiles::SaveBmp(vila, Quadrants(1800, 600));
        WriteFile(paleta, BadPaletteBmp());
        WriteFile(rozbity, "not a picture");
        PhotoFiles::SaveBmp(kuchyn, Quadrants(120, 80));
        PhotoFiles::SaveBmp(pokoj, Quadrants(400, 400));

        HeldPool held;
        ScriptedPrompts prompts;
        ProjectListWindow list(folders.dir.path(), prompts);
        list.Loader().SetPool(&held.pool);
        list.FillProjectLists();
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const QImage waiting = list.exteriorList->viewport()->grab().toImage();
        list.interiorList->viewport()->grab();

        QCOMPARE(list.PictureOf(vila).size, QSize(1800, 600));
        QVERIFY(list.PictureOf(vila).thumbnail.isNull());
        QCOMPARE(list.PictureOf(paleta).size, QSize(4, 1));
        QVERIFY(!list.PictureOf(paleta).failed);
        QVERIFY(!list.PictureOf(rozbity).readable);
        QCOMPARE(list.PictureOf(pokoj).size, QSize(400, 400));
        const QRect vilaRect = ThumbnailRectOf(list.exteriorList, 2, QSize(1800, 600));
        QCOMPARE(vilaRect.size(), QSize(180, 60));
        QCOMPARE(waiting.pixelColor(vilaRect.center()), Placeholder);
        QCOMPARE(waiting.pixelColor(vilaRect.topLeft()), Placeholder);
        QCOMPARE(waiting.pixelColor(vilaRect.bottomRight()), Placeholder);
        QVERIFY(waiting.pixelColor(vilaRect.bottomRight() + QPoint(1, 1)) != Placeholder);
        QVERIFY(cache.Thumbnails().isEmpty());

        held.Release();
        QTRY_VERIFY(!list.PictureOf(vila).thumbnail.isNull());
        QTRY_VERIFY(!list.PictureOf(kuchyn).thumbnail.isNull());
        QTRY_VERIFY(!list.PictureOf(pokoj).thumbnail.isNull());
        QTRY_VERIFY(list.PictureOf(paleta).failed);
        // Each exactly the size of its thumbnail rectangle.
        QCOMPARE(list.PictureOf(vila).thumbnail.size(), QSize(180, 60));
        QCOMPARE(list.PictureOf(kuchyn).thumbnail.size(), QSize(120, 80));
        QCOMPARE(list.PictureOf(pokoj).thumbnail.size(), QSize(90, 90));

        const QImage shown = list.exteriorList->viewport()->grab().toImage();
        const QRect r = vilaRect;
        QVERIFY(Distance(shown.pixelColor(r.left() + 20, r.top() + 10), QColor(220, 0, 0)) <= 2);
        QVERIFY(Distance(shown.pixelColor(r.right() - 20, r.top() + 10), QColor(0, 200, 0)) <= 2);
        QVERIFY(Distance(shown.pixelColor(r.left() + 20, r.bottom() - 10), QColor(0, 0, 220)) <= 2);
        QVERIFY(Distance(shown.pixelColor(r.right() - 20, r.bottom() - 10), Qt::white) <= 2);
        const QImage right = list.interiorList->viewport()->grab().toImage();
        const QRect k = ThumbnailRectOf(list.interiorList, 0, QSize(120, 80));
        QCOMPARE(right.pixelColor(k.topLeft()), QColor(220, 0, 0));
        QCOMPARE(right.pixelColor(k.bottomRight()), QColor(255, 255, 255));
        // Stored for the next time: the three that could be read.
        QCOMPARE(cache.Thumbnails().size(), 3);
        QVERIFY(prompts.asked.isEmpty());
    }

    // Closing the list stops the work it was waiting for; opened again, it asks anew.
    void closingCancelsWhatIsPending() {
        Cache cache;
        Folders folders;
        for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
            PhotoFiles::SaveBmp(folders.Path(QStringLiteral("domy/") + QLatin1String(name)),
                                Quadrants(300, 200));
        HeldPool held;
        ScriptedPrompts prompts;
        ProjectListWindow list(folders.dir.path(), prompts);
        list.Loader().SetPool(&held.pool);
        QSignalSpy ready(&list.Loader(), &ThumbnailLoader::Ready);
        list.FillProjectLists();
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.exteriorList->viewport()->grab();
        list.reject();
        held.Release();
        held.pool.waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(ready.count(), 0);
        QVERIFY(cache.Thumbnails().isEmpty());

        list.FillProjectLists();
        list.show();
        list.exteriorList->viewport()->grab();
        QTRY_COMPARE(ready.count(), 3);
        QCOMPARE(cache.Thumbnails().size(), 3);
    }

    // A window destroyed with work pending, or with results on their way, is never
    // reached by them.
    void destroyedWindowIsNeverReached_data() {
        QTest::addColumn<bool>("finishedFirst");
        QTest::newRow("pending") << false;
        QTest::newRow("results on their way") << true;
    }
    void destroyedWindowIsNeverReached() {
        QFETCH(bool, finishedFirst);
        Cache cache;
        Folders folders;
        for (const char* name : {"a.bmp", "b.bmp"})
            PhotoFiles::SaveBmp(folders.Path(QStringLiteral("domy/") + QLatin1String(name)),
                                Quadrants(300, 200));
        HeldPool held;
        ScriptedPrompts prompts;
        auto list = std::make_unique<ProjectListWindow>(folders.dir.path(), prompts);
        list->Loader().SetPool(&held.pool);
        list->FillProjectLists();
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
        list->exteriorList->viewport()->grab();
        if (finishedFirst) {
            held.Release();
            held.pool.waitForDone();
        }
        list.reset();
        held.Release();
        held.pool.waitForDone();
        QCoreApplication::processEvents();
        // Work that was done is kept for the next time; work not begun never starts.
        QCOMPARE(cache.Thumbnails().size(), finishedFirst ? 2 : 0);
    }

    // The window forgets its thumbnails when closed: a photograph changed meanwhile
    // shows as it is now.
    void reopeningShowsAChangedPhotograph() {
        Cache cache;
        Folders folders;
        const QString vila = folders.Path(QStringLiteral("domy/vila.bmp"));
        PhotoFiles::SaveBmp(vila, Quadrants(600, 400));
        ScriptedPrompts prompts;
        ProjectListWindow list(folders.dir.path(), prompts);
        list.FillProjectLists();
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.exteriorList->viewport()->grab();
        QTRY_VERIFY(!list.PictureOf(vila).thumbnail.isNull());
        QCOMPARE(list.PictureOf(vila).thumbnail.pixelColor(3, 3), QColor(220, 0, 0));
        list.reject();

        PhotoFiles::SaveBmp(vila, Quadrants(600, 400).mirrored(true, true));
        SetMTime(vila, QFileInfo(vila).lastModified().toSecsSinceEpoch() + 9);
        list.FillProjectLists();
        list.show();
        list.exteriorList->viewport()->grab();
        QTRY_VERIFY(!list.PictureOf(vila).thumbnail.isNull());
        QCOMPARE(list.PictureOf(vila).thumbnail.pixelColor(3, 3), QColor(255, 255, 255));
        QCOMPARE(cache.Thumbnails().size(), 1);
    }

    void deletingAsksAndSparesTheOpenProject() {
        Cache cache;
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("domy"));
        const QString photo = dir.filePath(QStringLiteral("domy/dum.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(10, 10));
        WriteFile(photo + QStringLiteral(".mask"), "mask");
        ScriptedPrompts prompts;
        ProjectListWindow list(dir.path(), prompts);
        QString open = photo;
        list.OpenProjectPath = [&open] { return open; };
        list.FillProjectLists();
        list.exteriorList->setCurrentRow(0);
        list.onDeleteProjectTriggered();
        QCOMPARE(prompts.Texts(), QStringList{QStringLiteral("Otevřený projekt nelze smazat.")});
        QVERIFY(QFile::exists(photo));

        open.clear();
        prompts.asked.clear();
        prompts.answers.enqueue(Prompts::No);
        list.exteriorList->setCurrentRow(0);
        list.onDeleteProjectTriggered();
        QCOMPARE(prompts.asked[0].text, QStringLiteral("Opravdu chcete smazat projekt „dum“?"));
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Potvrzení"));
        QCOMPARE(prompts.asked[0].buttons, Prompts::Yes | Prompts::No);
        QVERIFY(QFile::exists(photo));

        Thumbnails::Obtain(photo);
        QVERIFY(QFile::exists(Thumbnails::PathFor(photo)));
        prompts.answers.enqueue(Prompts::Yes);
        list.exteriorList->setCurrentRow(0);
        list.onDeleteProjectTriggered();
        QVERIFY(!QFile::exists(photo));
        QVERIFY(!QFile::exists(Thumbnails::PathFor(photo)));
        QVERIFY(!QFile::exists(photo + QStringLiteral(".mask")));
        QCOMPARE(list.exteriorList->count(), 0);
    }

    // Changes kept at a logout and the references belong to the project and go with
    // it: a new project of the same name never inherits them.
    void deletingTakesKeptChangesAlong() {
        QTemporaryDir dir;
        const QString photo = dir.filePath(QStringLiteral("dum.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(10, 10));
        WriteFile(photo + QStringLiteral(".mask"), "mask");
        WriteFile(RecoveryFile::PathFor(photo), "kept");
        WriteFile(MeasurementFile::PathFor(photo), "references");
        WriteFile(RecoveryFile::MeasuresPathFor(photo), "kept references");
        QVERIFY(ProjectListing::DeleteProject(photo, nullptr));
        QVERIFY(!QFile::exists(RecoveryFile::PathFor(photo)));
        QVERIFY(!QFile::exists(MeasurementFile::PathFor(photo)));
        QVERIFY(!QFile::exists(RecoveryFile::MeasuresPathFor(photo)));
        QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
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
