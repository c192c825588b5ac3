#include "app/SignalHandling.h"
#include "overview/ProjectListing.h"
#include "project/AtomicFile.h"
#include "project/Errors.h"
#include "project/ImportRoom.h"
#include "project/PhotoFiles.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Workspace.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace TestPictures;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A project folder with a workspace and prompts around it.
struct Fixture {
    QTemporaryDir dir;
    QString domy = dir.filePath(QStringLiteral("domy"));
    Workspace ws;
    ScriptedPrompts prompts;

    Fixture() { QDir().mkpath(domy); }

    bool Import(const QString& name, const QByteArray& jpeg) {
        const QString path = dir.filePath(name);
        WriteFile(path, jpeg);
        prompts.fileNames.enqueue(path);
        return ImportPhotograph(ws, prompts, domy);
    }
    QString InDomy(const QString& name) const { return QDir(domy).filePath(name); }
};

// Sets the process's file size limit for as long as it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        IgnoreFileSizeSignal();
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

constexpr qint64 MB = 1 << 20;

// The bytes the process maps now (what the address space limit counts).
qint64 MappedBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readLine().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE);
}

// Lets the process map only so many bytes more (ulimit -v) for as long as it lives.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(qint64 moreBytes) {
        getrlimit(RLIMIT_AS, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = rlim_t(MappedBytes() + moreBytes);
        setrlimit(RLIMIT_AS, &limit);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved_); }

private:
    rlimit saved_{};
};

void WriteText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

class TestImportSafety : public QObject {
    Q_OBJECT
private slots:
    // 6000 × 4000 needs a photograph of 72 MB (and its mask), three times that in
    // memory; unknown values (-1) do not refuse.
    void roomForAnImport_data() {
        QTest::addColumn<qint64>("disk");
        QTest::addColumn<qint64>("fileLimit");
        QTest::addColumn<qint64>("memory");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("plenty") << 10'000 * MB << qint64(-1) << 8'000 * MB << QString();
        QTest::newRow("nothing known") << qint64(-1) << qint64(-1) << qint64(-1) << QString();
        QTest::newRow("exactly enough disk")
            << ImportDiskBytes(QSize(6000, 4000)) << qint64(-1) << qint64(-1) << QString();
        QTest::newRow("one byte short") << ImportDiskBytes(QSize(6000, 4000)) - 1 << qint64(-1)
                                        << qint64(-1) << QStringLiteral("na disku není dost místa");
        QTest::newRow("small file limit")
            << 10'000 * MB << 50 * MB << qint64(-1) << QStringLiteral("soubor by byl větší");
        QTest::newRow("little memory")
            << 10'000 * MB << qint64(-1) << 100 * MB << QStringLiteral("není dost paměti");
    }
    void roomForAnImport() {
        QFETCH(qint64, disk);
        QFETCH(qint64, fileLimit);
        QFETCH(qint64, memory);
        QFETCH(QString, refusal);
        QCOMPARE(ImportDiskBytes(QSize(6000, 4000)), 54 + 18000LL * 4000 + 4 + 4000 * 7 + 140);
        QCOMPARE(ImportMemoryBytes(QSize(6000, 4000)),
                 18000LL * 4000 + 24000LL * 4000 + 18000LL * 4000);
        const ImportRoom room{disk, fileLimit, memory};
        try {
            CheckImportRoom(QSize(6000, 4000), room, QStringLiteral("/foto/Dum.jpg"),
                            QStringLiteral("/app/domy"));
            QVERIFY(refusal.isEmpty());
        } catch (const IoError& error) {
            QVERIFY2(!refusal.isEmpty(), qPrintable(error.message()));
            QVERIFY(error.message().startsWith(
                QStringLiteral("Obrázek /foto/Dum.jpg (6000 × 4000 bodů) nelze importovat: ")));
            QVERIFY2(error.message().contains(refusal), qPrintable(error.message()));
        }
    }

    // Under ulimit -v the memory the import may take is what the limit leaves, however
    // much the system has: a valid photograph is refused for want of memory, not
    // called damaged when its decoder cannot get the memory.
    void addressSpaceLimitIsTheRoom() {
        ImportRoom room;
        {
            const AddressSpaceLimit limit(64 * MB);
            room = MeasureImportRoom(QDir::tempPath());
        }
        QVERIFY2(room.FreeMemoryBytes >= 0 && room.FreeMemoryBytes <= 64 * MB,
                 qPrintable(QString::number(room.FreeMemoryBytes)));

        Fixture f;
        const QString path = f.dir.filePath(QStringLiteral("Dum.png"));
        QImage flat(3000, 2000, QImage::Format_RGB888);
        flat.fill(QColor(200, 120, 80));
        QVERIFY(flat.save(path, "png"));
        f.prompts.fileNames.enqueue(path);
        bool imported = true;
        {
            const AddressSpaceLimit limit(40 * MB); // the import needs about 60 MB
            imported = ImportPhotograph(f.ws, f.prompts, f.domy);
        }
        QVERIFY(!imported);
        QCOMPARE(f.prompts.asked.size(), 1);
        QVERIFY2(f.prompts.asked[0].text.contains(QStringLiteral("(3000 × 2000 bodů) nelze "
                                                                 "importovat: není dost paměti")),
                 qPrintable(f.prompts.asked[0].text));
        QVERIFY(Entries(f.domy).isEmpty());
    }

    // The memory cgroup's limits, of version 2 (memory.max) or 1
    // (memory.limit_in_bytes), in the process's group or one above it.
    void cgroupLimitIsTheRoom_data() {
        QTest::addColumn<QByteArray>("self");
        QTest::addColumn<QStringList>("files"); // path, text, path, text, …
        QTest::addColumn<qint64>("room");
        QTest::newRow("v2, the parent's limit") << QByteArray("0::/user.slice/tintora\n")
                                                << QStringList{"user.slice/tintora/memory.max",
                                                               "max\n",
                                                               "user.slice/tintora/memory.current",
                                                               "1000\n",
                                                               "user.slice/memory.max",
                                                               "104857600\n",
                                                               "user.slice/memory.current",
                                                               "52428800\n"}
                                                << 50 * MB;
        QTest::newRow("v2, its own limit, used beyond")
            << QByteArray("0::/a\n")
            << QStringList{"a/memory.max", "1000", "a/memory.current", "4000"} << qint64(0);
        QTest::newRow("v2 beside v1, no limit") << QByteArray("4:memory:/\n0::/\n")
                                                << QStringList{"memory.max",
                                                               "max",
                                                               "memory.current",
                                                               "5",
                                                               "memory/memory.limit_in_bytes",
                                                               "9223372036854771712",
                                                               "memory/memory.usage_in_bytes",
                                                               "2303045632"}
                                                << qint64(-1);
        QTest::newRow("v1") << QByteArray("5:devices:/\n4:memory:/process_api/0e82\n3:cpuset:/\n")
                            << QStringList{"memory/process_api/0e82/memory.limit_in_bytes",
                                           "209715200",
                                           "memory/process_api/0e82/memory.usage_in_bytes",
                                           "10485760",
                                           "memory/memory.limit_in_bytes",
                                           "9223372036854771712",
                                           "memory/memory.usage_in_bytes",
                                           "2303045632"}
                            << 190 * MB;
        QTest::newRow("hybrid, v2 under unified")
            << QByteArray("0::/x\n")
            << QStringList{"unified/x/memory.max", "3000", "unified/x/memory.current", "1000"}
            << qint64(2000);
        QTest::newRow("nothing mounted") << QByteArray("0::/x\n") << QStringList{} << qint64(-1);
    }
    void cgroupLimitIsTheRoom() {
        QFETCH(QByteArray, self);
        QFETCH(QStringList, files);
        QFETCH(qint64, room);
        QTemporaryDir root;
        for (qsizetype i = 0; i + 1 < files.size(); i += 2)
            WriteText(root.filePath(files[i]), files[i + 1].toUtf8());
        QCOMPARE(CgroupMemoryRoom(self, root.path()), room);
    }

    // A small file declaring a picture larger than the program may write is refused
    // before decoding (its damaged data is never looked at) and writes nothing.
    void importTooLargeForTheFileLimitWritesNothing() {
        Fixture f;
        QByteArray jpeg = Jpeg(Quadrants(2000, 1500), JpegKind::Baseline, 50);
        jpeg.truncate(jpeg.size() / 2);
        bool imported = true;
        {
            const FileSizeLimit limit(1 * MB); // the photograph would take 9 MB
            imported = f.Import(QStringLiteral("Velky.jpg"), jpeg);
        }
        QVERIFY(!imported);
        QCOMPARE(f.prompts.asked.size(), 1);
        QVERIFY2(f.prompts.asked[0].text.contains(QStringLiteral(
                     "(2000 × 1500 bodů) nelze importovat: soubor by byl větší, než systém "
                     "dovoluje.")),
                 qPrintable(f.prompts.asked[0].text));
        QVERIFY(Entries(f.domy).isEmpty());
        QVERIFY(!f.ws.Doc.HasProject());
    }

    // The first kilobyte of a photograph became a full-size grey project: now it
    // is refused, and nothing is written.
    void cutShortJpegImportsNothing() {
        Fixture f;
        const QByteArray jpeg = Jpeg(Noise(400, 300), JpegKind::Baseline, 95);
        QVERIFY(!f.Import(QStringLiteral("Dum.jpg"), jpeg.left(1000)));
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QVERIFY(f.prompts.asked[0].text.contains(QStringLiteral("je poškozený nebo neúplný.")));
        QVERIFY(Entries(f.domy).isEmpty());
        QVERIFY(!f.ws.Doc.HasProject());
        // The whole photograph imports.
        QVERIFY(f.Import(QStringLiteral("Dum.jpg"), jpeg));
        QCOMPARE(f.ws.Doc.PhotoBitmap.size(), QSize(400, 300));
    }

    // At a signal only the files of writers still unfinished go: a name that a
    // committed or cancelled writer had may be another file's by then.
    void aSignalRemovesOnlyUnfinishedTemporaries() {
        QTemporaryDir dir;
        QStringList parts; // the temporary files' names, in the order made
        const auto newPart = [&dir, &parts] {
            for (const QString& name :
                 QDir(dir.path())
                     .entryList({QStringLiteral(".tintora-*.part")}, QDir::Files | QDir::Hidden)) {
                if (!parts.contains(dir.filePath(name)))
                    parts << dir.filePath(name);
            }
            return parts.constLast();
        };
        AtomicFile committed(dir.filePath(QStringLiteral("a.txt")));
        const QString committedPart = newPart();
        AtomicFile cancelled(dir.filePath(QStringLiteral("b.txt")));
        const QString cancelledPart = newPart();
        AtomicFile unfinished(dir.filePath(QStringLiteral("c.txt")));
        const QString unfinishedPart = newPart();
        committed.Write(QByteArray("a"));
        committed.Commit();
        cancelled.Cancel();
        for (const QString& path : {committedPart, cancelledPart})
            WriteFile(path, QByteArray("cizí"));
        RemoveUnfinishedTemporaries();
        QVERIFY(QFile::exists(committedPart));
        QVERIFY(QFile::exists(cancelledPart));
        QVERIFY(!QFile::exists(unfinishedPart));
    }

    // A killed import leaves temporary files; the next import into the folder
    // removes those of the program's patterns that no running writer holds, and
    // nothing else.
    void staleTemporariesGoAtTheNextImport() {
        Fixture f;
        const QString own = f.InDomy(QStringLiteral(".tintora-AbC123.part"));
        const QString earlier = f.InDomy(QStringLiteral(".Dum.part.bmp"));
        const QString held = f.InDomy(QStringLiteral(".tintora-XyZ789.part"));
        const QString notes = f.InDomy(QStringLiteral("poznamky.part"));
        const QString victim = f.dir.filePath(QStringLiteral("obet.txt"));
        const QString link = f.InDomy(QStringLiteral(".tintora-LnK000.part"));
        for (const QString& path : {own, earlier, held, notes, victim})
            WriteFile(path, QByteArray("data"));
        QVERIFY(QFile::link(victim, link));
        // Another instance still writing holds its file locked.
        const int fd = ::open(QFile::encodeName(held).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        QVERIFY(::flock(fd, LOCK_EX | LOCK_NB) == 0);

        QVERIFY(f.Import(QStringLiteral("Novy.jpg"), Jpeg(Quadrants(20, 10))));
        ::close(fd);
        QCOMPARE(Entries(f.domy),
                 (QStringList{QStringLiteral(".tintora-LnK000.part"),
                              QStringLiteral(".tintora-XyZ789.part"), QStringLiteral("Novy.bmp"),
                              QStringLiteral("Novy.bmp.mask"), QStringLiteral("poznamky.part")}));
        QCOMPARE(ReadAll(victim), QByteArray("data"));
    }

    // The old temporary name was predictable: a link planted there redirected the
    // photograph into another file. Temporary files are now made exclusively under
    // unpredictable names, and the file the link points to stays as it was.
    void plantedLinkIsNeverWrittenThrough() {
        Fixture f;
        const QString victim = f.dir.filePath(QStringLiteral("obet.txt"));
        WriteFile(victim, QByteArray("keep me"));
        QVERIFY(QFile::link(victim, f.InDomy(QStringLiteral(".Dum.part.bmp"))));
        QVERIFY(f.Import(QStringLiteral("Dum.jpg"), Jpeg(Quadrants(40, 30))));
        QCOMPARE(ReadAll(victim), QByteArray("keep me"));
        QCOMPARE(PhotoFiles::LoadBmp(f.InDomy(QStringLiteral("Dum.bmp"))).size(), QSize(40, 30));
        // A save to a name the caller gives is another matter: a link there is the
        // user's own, and the file it leads to is written (the link stays a link).
        const QString link = f.InDomy(QStringLiteral(".Dum.part.bmp"));
        PhotoFiles::SaveBmp(link, Quadrants(4, 4));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(PhotoFiles::LoadBmp(victim).size(), QSize(4, 4));
    }

    // The mask goes in place first and the photograph last, so a project is listed
    // only when both are whole: a mask left alone is no project and does not block
    // importing the name again.
    void maskAloneIsNoProject() {
        Fixture f;
        WriteFile(f.InDomy(QStringLiteral("Dum.bmp.mask")), QByteArray("half an import"));
        QVERIFY(ProjectListing::ProjectFiles(f.domy).isEmpty());
        QVERIFY(f.Import(QStringLiteral("Dum.jpg"), Jpeg(Quadrants(40, 30))));
        QCOMPARE(ProjectListing::ProjectFiles(f.domy), QStringList{QStringLiteral("Dum.bmp")});
        QCOMPARE(f.ws.Doc.Mask, TMask::CreateBlank(40, 30));
        Workspace other;
        QVERIFY(OpenProjectFile(other, f.prompts, f.InDomy(QStringLiteral("Dum.bmp"))));
        QCOMPARE(other.Doc.Mask, TMask::CreateBlank(40, 30));
    }

    // When the photograph cannot be put in place, the mask written before it is
    // taken back: nothing of the import stays.
    void failedPhotographTakesTheMaskBack() {
        Fixture f;
        QVERIFY(QDir(f.domy).mkdir(QStringLiteral("Dum.bmp"))); // a folder where it should go
        QVERIFY(!f.Import(QStringLiteral("Dum.jpg"), Jpeg(Quadrants(40, 30))));
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(Entries(f.domy), QStringList{QStringLiteral("Dum.bmp")});
        QVERIFY(!f.ws.Doc.HasProject());
    }
};

QTEST_GUILESS_MAIN(TestImportSafety)
#include "test_importsafety.moc"
