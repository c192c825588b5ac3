// Thumbnails of photographs kept as the desktop keeps them: named by the MD5 of the
// photograph's file URI in $XDG_CACHE_HOME/thumbnails/large, PNG files whose text
// chunks say which file and which version of it they show. File managers read ours
// and we read theirs; an outdated one is made again; where nothing can be written
// they live in memory.
#include "overview/ProjectListing.h"
#include "project/BoxReduction.h"
#include "project/Errors.h"
#include "project/PhotoFiles.h"
#include "project/Thumbnails.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Workspace.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <fcntl.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace TestPictures;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The chunks of a PNG file in order, read by the format's own rules.
struct Chunk {
    QByteArray type;
    QByteArray data;
};
QList<Chunk> PngChunks(const QByteArray& png) {
    QList<Chunk> chunks;
    if (!png.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8)))
        return chunks;
    qsizetype at = 8;
    while (at + 12 <= png.size()) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        chunks.append({png.mid(at + 4, 4), png.mid(at + 8, length)});
        at += 12 + qsizetype(length);
    }
    return chunks;
}

// The plain text chunks (tEXt) of a PNG: key, then value.
QMap<QByteArray, QByteArray> TextChunks(const QByteArray& png) {
    QMap<QByteArray, QByteArray> texts;
    for (const Chunk& chunk : PngChunks(png)) {
        if (chunk.type == "tEXt") {
            const qsizetype zero = chunk.data.indexOf('\0');
            texts.insert(chunk.data.left(zero), chunk.data.mid(zero + 1));
        }
    }
    return texts;
}

qint64 MTime(const QString& path) {
    return QFileInfo(path).lastModified().toSecsSinceEpoch();
}

void SetMTime(const QString& path, qint64 seconds) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::fromSecsSinceEpoch(seconds),
                             QFileDevice::FileModificationTime));
}

// The nanoseconds of a file's modification time.
qint64 Nanoseconds(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return qint64(info.st_mtim.tv_nsec);
}

void SetFileTime(const QString& path, qint64 seconds, long nanoseconds) {
    const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

int Mode(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return int(info.st_mode & 0777);
}

// What the thumbnail of a photograph must hold: the whole picture, each pixel the
// mean of its block, at most 256 × 256.
QImage Expected(const QString& photo) {
    const QImage picture = PhotoFiles::LoadBmp(photo);
    return BoxReduction::Reduce(picture, PhotoFiles::SizeWithin(picture.size(), QSize(256, 256)));
}

QImage AsRgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

// A thumbnail as a file manager writes it: Qt's own PNG writer, 8-bit RGB, its keys
// in whatever chunks that writer picks.
void WriteForeignThumbnail(const QString& path, const QColor& colour,
                           const QMap<QString, QString>& keys) {
    QImage image(200, 67, QImage::Format_RGB888);
    image.fill(colour);
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        image.setText(it.key(), it.value());
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(image.save(path, "PNG"));
}

// Every test gets a cache of its own.
struct Cache {
    QTemporaryDir dir;
    QString root = dir.filePath(QStringLiteral("cache"));
    Cache() { qputenv("XDG_CACHE_HOME", QFile::encodeName(root)); }
    QString Large() const { return root + QStringLiteral("/thumbnails/large"); }
};

} // namespace

class TestThumbnails : public QObject {
    Q_OBJECT
private slots:
    void fileUris_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("uri");
        QTest::newRow("the convention's example") << QStringLiteral("/home/jens/photos/me.png")
                                                  << QByteArray("file:///home/jens/photos/me.png");
        QTest::newRow("Czech letters and a space")
            << QStringLiteral("/nikde-tintora/domy/kuchyň a jídelna.bmp")
            << QByteArray("file:///nikde-tintora/domy/kuchy%C5%88%20a%20j%C3%ADdelna.bmp");
        QTest::newRow("kept marks")
            << QStringLiteral("/nikde-tintora/a-b_c.d!e~f*g'h(i)j@k&l=m+n$o,p:q.bmp")
            << QByteArray("file:///nikde-tintora/"
                          "a-b_c.d!e~f*g'h(i)j@k&l=m+n$o,p:q.bmp");
        QTest::newRow("escaped marks")
            << QStringLiteral("/nikde-tintora/50%;#?[x]{y}|\"<>^`.bmp")
            << QByteArray(
                   "file:///nikde-tintora/50%25%3B%23%3F%5Bx%5D%7By%7D%7C%22%3C%3E%5E%60.bmp");
        QTest::newRow("dots taken out") << QStringLiteral("/nikde-tintora/domy/../domy/./dum.bmp")
                                        << QByteArray("file:///nikde-tintora/domy/dum.bmp");
    }
    void fileUris() {
        QFETCH(QString, path);
        QFETCH(QByteArray, uri);
        QCOMPARE(Thumbnails::FileUri(path), uri);
    }

    void thumbnailNamedByTheHashOfTheUri() {
        Cache cache;
        QCOMPARE(Thumbnails::PathFor(QStringLiteral("/home/jens/photos/me.png")),
                 cache.Large() + QStringLiteral("/c6ee772d9e49320e97ec29a7eb5b1697.png"));
        // Without XDG_CACHE_HOME, or with a relative one, ~/.cache holds them.
        qputenv("XDG_CACHE_HOME", "relative/cache");
        QCOMPARE(Thumbnails::LargeFolder(),
                 QDir::homePath() + QStringLiteral("/.cache/thumbnails/large"));
        qunsetenv("XDG_CACHE_HOME");
        QCOMPARE(Thumbnails::LargeFolder(),
                 QDir::homePath() + QStringLiteral("/.cache/thumbnails/large"));
    }

    // A project reached through a linked folder has one thumbnail, the one a file
    // manager finds under the folder's real path.
    void linkedFoldersShareTheThumbnail() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("skutecna")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("skutecna")),
                            dir.filePath(QStringLiteral("odkaz"))));
        const QByteArray real =
            Thumbnails::FileUri(dir.filePath(QStringLiteral("skutecna/dum.bmp")));
        QCOMPARE(Thumbnails::FileUri(dir.filePath(QStringLiteral("odkaz/dum.bmp"))), real);
        QVERIFY(real.endsWith("/skutecna/dum.bmp"));
    }

    void madeThumbnailFileAndChunks() {
        Cache cache;
        QTemporaryDir photos;
        const QString photo = photos.filePath(QStringLiteral("vila.bmp"));
        PhotoFiles::SaveBmp(photo, Noise(1800, 600));
        const QImage thumbnail = Thumbnails::Obtain(photo);
        QCOMPARE(thumbnail.size(), QSize(256, 85));
        QCOMPARE(AsRgb(thumbnail), AsRgb(Expected(photo)));

        const QByteArray uri = Thumbnails::FileUri(photo);
        const QString path = Thumbnails::PathFor(photo);
        QCOMPARE(path, cache.Large() + QLatin1Char('/') +
                           QString::fromLatin1(
                               QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
                           QStringLiteral(".png"));
        const QByteArray png = ReadAll(path);
        const QList<Chunk> chunks = PngChunks(png);
        QVERIFY(!chunks.isEmpty());
        QCOMPARE(chunks.first().type, QByteArray("IHDR"));
        const QByteArray ihdr = chunks.first().data;
        QCOMPARE(qFromBigEndian<quint32>(ihdr.constData()), 256u);
        QCOMPARE(qFromBigEndian<quint32>(ihdr.constData() + 4), 85u);
        QCOMPARE(int(ihdr[8]), 8);  // bits per channel
        QCOMPARE(int(ihdr[9]), 6);  // red, green, blue and alpha
        QCOMPARE(int(ihdr[12]), 0); // not interlaced
        const auto texts = TextChunks(png);
        QCOMPARE(texts.value("Thumb::URI"), uri);
        QCOMPARE(texts.value("Thumb::MTime"), QByteArray::number(MTime(photo)));
        QCOMPARE(texts.value("Thumb::Size"), QByteArray::number(QFileInfo(photo).size()));
        QCOMPARE(texts.value("Thumb::Image::Width"), QByteArray("1800"));
        QCOMPARE(texts.value("Thumb::Image::Height"), QByteArray("600"));
        // The keys come before the pixels, where a reader finds them first.
        qsizetype firstData = 0;
        while (chunks[firstData].type != "IDAT")
            ++firstData;
        for (qsizetype i = firstData; i < chunks.size(); ++i)
            QVERIFY(chunks[i].type != "tEXt");
        // Another reader sees the same keys (the chunks' checksums hold).
        const QImage viaQt(path);
        QCOMPARE(viaQt.text(QStringLiteral("Thumb::URI")).toUtf8(), uri);
        QCOMPARE(viaQt.text(QStringLiteral("Thumb::MTime")).toLongLong(), MTime(photo));
        QCOMPARE(AsRgb(viaQt), AsRgb(thumbnail));

        // Readable by the user alone, in folders of the user alone; nothing else left.
        QCOMPARE(Mode(path), 0600);
        QCOMPARE(Mode(cache.Large()), 0700);
        QCOMPARE(Mode(cache.root + QStringLiteral("/thumbnails")), 0700);
        QCOMPARE(QDir(cache.Large()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QFileInfo(path).fileName()});

        // Asked again, the stored one is used as it is.
        const QDateTime written = QFileInfo(path).lastModified();
        QCOMPARE(AsRgb(Thumbnails::Find(photo)), AsRgb(thumbnail));
        QCOMPARE(AsRgb(Thumbnails::Obtain(photo)), AsRgb(thumbnail));
        QCOMPARE(QFileInfo(path).lastModified(), written);
    }

    // A picture smaller than a thumbnail is kept at its own size.
    void smallPicturesKeepTheirSize() {
        Cache cache;
        QTemporaryDir photos;
        const QString photo = photos.filePath(QStringLiteral("kuchyn.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(120, 80));
        QCOMPARE(AsRgb(Thumbnails::Obtain(photo)), AsRgb(Quadrants(120, 80)));
    }

    void anotherProgramsThumbnailIsUsed() {
        Cache cache;
        QTemporaryDir photos;
        const QString photo = photos.filePath(QStringLiteral("vila.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(900, 300));
        const QString path = Thumbnails::PathFor(photo);
        WriteForeignThumbnail(
            path, QColor(10, 200, 30),
            {{QStringLiteral("Thumb::URI"), QString::fromLatin1(Thumbnails::FileUri(photo))},
             {QStringLiteral("Thumb::MTime"), QString::number(MTime(photo))}});
        const QByteArray before = ReadAll(path);
        const QImage found = Thumbnails::Obtain(photo);
        QCOMPARE(found.size(), QSize(200, 67));
        QCOMPARE(found.pixelColor(100, 30), QColor(10, 200, 30));
        QCOMPARE(ReadAll(path), before);
    }

    void outdatedThumbnailsAreMadeAgain_data() {
        QTest::addColumn<QString>("fault");
        for (const char* fault :
             {"older time", "newer time", "no time", "other nanoseconds", "other size",
              "other file", "not a picture", "too large", "a link to a device"})
            QTest::newRow(fault) << QString::fromLatin1(fault);
    }
    void outdatedThumbnailsAreMadeAgain() {
        QFETCH(QString, fault);
        Cache cache;
        QTemporaryDir photos;
        const QString photo = photos.filePath(QStringLiteral("vila.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(900, 300));
        const QString path = Thumbnails::PathFor(photo);
        QMap<QString, QString> keys{
            {QStringLiteral("Thumb::URI"), QString::fromLatin1(Thumbnails::FileUri(photo))},
            {QStringLiteral("Thumb::MTime"), QString::number(MTime(photo))},
            {QStringLiteral("Thumb::Size"), QString::number(QFileInfo(photo).size())}};
        if (fault == QLatin1String("older time"))
            keys[QStringLiteral("Thumb::MTime")] = QString::number(MTime(photo) - 100);
        else if (fault == QLatin1String("newer time"))
            keys[QStringLiteral("Thumb::MTime")] = QString::number(MTime(photo) + 1);
        else if (fault == QLatin1String("no time"))
            keys.remove(QStringLiteral("Thumb::MTime"));
        else if (fault == QLatin1String("other nanoseconds"))
            keys[QStringLiteral("X-Tintora::MTime::Nanoseconds")] =
                QString::number(Nanoseconds(photo) ^ 1);
        else if (fault == QLatin1String("other size"))
            keys[QStringLiteral("Thumb::Size")] = QString::number(QFileInfo(photo).size() + 3);
        else if (fault == QLatin1String("other file"))
            keys[QStringLiteral("Thumb::URI")] = QStringLiteral("file:///jinde/vila.bmp");
        if (fault == QLatin1String("not a picture")) {
            WriteFile(path, "not a PNG at all");
        } else if (fault == QLatin1String("a link to a device")) {
            QDir().mkpath(cache.Large());
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        } else if (fault == QLatin1String("too large")) {
            QImage huge(1100, 20, QImage::Format_RGB888);
            huge.fill(Qt::black);
            for (auto it = keys.cbegin(); it != keys.cend(); ++it)
                huge.setText(it.key(), it.value());
            QDir().mkpath(cache.Large());
            QVERIFY(huge.save(path, "PNG"));
        } else {
            WriteForeignThumbnail(path, QColor(10, 200, 30), keys);
        }
        QVERIFY(Thumbnails::Find(photo).isNull());
        const QImage made = Thumbnails::Obtain(photo);
        QCOMPARE(AsRgb(made), AsRgb(Expected(photo)));
        const auto texts = TextChunks(ReadAll(path));
        QCOMPARE(texts.value("Thumb::MTime"), QByteArray::number(MTime(photo)));
        QCOMPARE(texts.value("X-Tintora::MTime::Nanoseconds"),
                 QByteArray::number(Nanoseconds(photo)));
        QCOMPARE(AsRgb(Thumbnails::Find(photo)), AsRgb(made));
    }

    // Another photograph of the same size written within the same second kept the
    // old thumbnail: the program's own key holds the time to the nanosecond. A
    // desktop's thumbnail without that key is still taken by its seconds.
    void aPhotographReplacedWithinTheSameSecond_data() {
        QTest::addColumn<bool>("onDisk");
        QTest::newRow("thumbnail on the disk") << true;
        QTest::newRow("thumbnail in memory") << false;
    }
    void aPhotographReplacedWithinTheSameSecond() {
        QFETCH(bool, onDisk);
        Cache cache;
        if (!onDisk) {
            QDir().mkpath(cache.root);
            WriteFile(cache.root + QStringLiteral("/thumbnails"), "a file, not a folder");
        }
        QTemporaryDir photos;
        const QString photo = photos.filePath(QStringLiteral("vila.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(600, 400));
        SetFileTime(photo, 1'700'000'000, 100);
        QCOMPARE(Thumbnails::Obtain(photo).pixelColor(10, 10).red(), 220);
        QCOMPARE(QFileInfo::exists(Thumbnails::PathFor(photo)), onDisk);
        PhotoFiles::SaveBmp(photo, Quadrants(600, 400).mirrored(true, false));
        SetFileTime(photo, 1'700'000'000, 900'000'000);
        QVERIFY(Thumbnails::Find(photo).isNull());
        QCOMPARE(Thumbnails::Obtain(photo).pixelColor(10, 10), QColor(0, 200, 0));
        if (!onDisk)
            return;
        // A file manager's thumbnail of the same photograph: seconds and size agree.
        WriteForeignThumbnail(
            Thumbnails::PathFor(photo), QColor(10, 200, 30),
            {{QStringLiteral("Thumb::URI"), QString::fromLatin1(Thumbnails::FileUri(photo))},
             {QStringLiteral("Thumb::MTime"), QStringLiteral("1700000000")}});
        QCOMPARE(Thumbnails::Find(photo).pixelColor(100, 30), QColor(10, 200, 30));
    }

    // A FIFO in place of a thumbnail held the thread that read it, and the program
    // never finished ending. Only regular files are read from the cache, never
    // waiting; the FIFO is passed over and a thumbnail made in its place.
    void aFifoInTheCacheIsPassedOver() {
        Cache cache;
        QTemporaryDir photos;
        const QString photo = photos.filePath(QStringLiteral("vila.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(600, 400));
        const QString path = Thumbnails::PathFor(photo);
        QDir().mkpath(cache.Large());
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QImage found(1, 1, QImage::Format_RGB32);
        std::unique_ptr<QThread> reader(QThread::create([&] { found = Thumbnails::Find(photo); }));
        reader->start();
        const bool finished = reader->wait(QDeadlineTimer(60000));
        if (!finished) {
            // Let the waiting reader go with an empty FIFO, so that the test can end.
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
            ::close(fd);
            reader->wait();
        }
        QVERIFY(finished);
        QVERIFY(found.isNull());
        QCOMPARE(AsRgb(Thumbnails::Obtain(photo)), AsRgb(Expected(photo)));
        QVERIFY(QFileInfo(path).isFile());
    }

    // A photograph replaced by another of the same name and size: the time differs,
    // the thumbnail follows.
    void aChangedPhotographGetsANewThumbnail() {
        Cache cache;
        QTemporaryDir photos;
        const QString photo = photos.filePath(QStringLiteral("vila.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(600, 400));
        const QImage first = Thumbnails::Obtain(photo);
        QCOMPARE(first.pixelColor(10, 10).red(), 220);
        QImage mirrored = Quadrants(600, 400).mirrored(true, false);
        PhotoFiles::SaveBmp(photo, mirrored);
        SetMTime(photo, MTime(photo) + 7);
        QVERIFY(Thumbnails::Find(photo).isNull());
        const QImage second = Thumbnails::Obtain(photo);
        QCOMPARE(AsRgb(second), AsRgb(Expected(photo)));
        QCOMPARE(second.pixelColor(10, 10), QColor(0, 200, 0));
        // Back to an older time: still a change.
        SetMTime(photo, MTime(photo) - 20);
        QVERIFY(Thumbnails::Find(photo).isNull());
    }

    void unwritableCacheKeepsThumbnailsInMemory_data() {
        QTest::addColumn<QString>("blocker"); // a file where a folder would have to be
        QTest::newRow("thumbnails is a file") << QStringLiteral("thumbnails");
        QTest::newRow("large is a file") << QStringLiteral("thumbnails/large");
        // The system's administrator may write anywhere; other users meet this one.
        if (::geteuid() != 0)
            QTest::newRow("large may not be written") << QString();
    }
    void unwritableCacheKeepsThumbnailsInMemory() {
        QFETCH(QString, blocker);
        Cache cache;
        const auto block = [&](bool blocked) {
            if (blocker.isEmpty()) {
                QDir().mkpath(cache.Large());
                QFile::setPermissions(cache.Large(),
                                      blocked
                                          ? QFile::ReadOwner | QFile::ExeOwner
                                          : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            } else if (blocked) {
                QDir().mkpath(QFileInfo(cache.root + QLatin1Char('/') + blocker).absolutePath());
                WriteFile(cache.root + QLatin1Char('/') + blocker, "a file, not a folder");
            } else {
                QFile::remove(cache.root + QLatin1Char('/') + blocker);
            }
        };
        block(true);
        QTemporaryDir photos;
        const QString photo = photos.filePath(QStringLiteral("vila.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(700, 500));

        const QImage made = Thumbnails::Obtain(photo);
        QCOMPARE(AsRgb(made), AsRgb(Expected(photo)));
        QVERIFY(!QFileInfo::exists(Thumbnails::PathFor(photo)));
        QCOMPARE(AsRgb(Thumbnails::Find(photo)), AsRgb(made)); // from memory

        // In memory too, a changed photograph is not shown by its old thumbnail.
        PhotoFiles::SaveBmp(photo, Quadrants(700, 500).mirrored(true, true));
        SetMTime(photo, MTime(photo) + 5);
        QVERIFY(Thumbnails::Find(photo).isNull());
        QCOMPARE(AsRgb(Thumbnails::Obtain(photo)), AsRgb(Expected(photo)));

        // Once the folder can be written, the disk takes over.
        block(false);
        SetMTime(photo, MTime(photo) + 5);
        QCOMPARE(AsRgb(Thumbnails::Obtain(photo)), AsRgb(Expected(photo)));
        QVERIFY(QFileInfo::exists(Thumbnails::PathFor(photo)));

        Thumbnails::Remove(photo);
        QVERIFY(Thumbnails::Find(photo).isNull());
    }

    void anUnreadablePhotographIsReported() {
        Cache cache;
        QTemporaryDir photos;
        const QString photo = photos.filePath(QStringLiteral("rozbity.bmp"));
        WriteFile(photo, "not a picture");
        QVERIFY_THROWS_EXCEPTION(IoError, Thumbnails::Obtain(photo));
        QVERIFY(!QFileInfo::exists(Thumbnails::PathFor(photo)));
        QVERIFY_THROWS_EXCEPTION(IoError,
                                 Thumbnails::Obtain(photos.filePath(QStringLiteral("chybi.bmp"))));
    }

    // An import over the name of a project deleted by hand (as a file manager does,
    // leaving the thumbnail) must not show the old picture, even within the same
    // second and at the same size.
    void importMakesTheThumbnailAgain() {
        Cache cache;
        QTemporaryDir dir;
        const QString domy = dir.filePath(QStringLiteral("domy"));
        QDir().mkpath(domy);
        Workspace ws;
        ScriptedPrompts prompts;
        const auto import = [&](const QImage& picture) {
            const QString jpeg = dir.filePath(QStringLiteral("dum.jpg"));
            WriteFile(jpeg, Jpeg(picture));
            prompts.fileNames.enqueue(jpeg);
            QVERIFY(ImportPhotograph(ws, prompts, domy));
        };
        const QString photo = QDir(domy).filePath(QStringLiteral("dum.bmp"));
        const QString path = Thumbnails::PathFor(photo);

        import(Quadrants(640, 480));
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(AsRgb(QImage(path)), AsRgb(Expected(photo)));
        // Made from the picture in memory, it is the one the file itself gives.
        QCOMPARE(AsRgb(Thumbnails::Find(photo)), AsRgb(Thumbnails::Make(photo)));

        ws.NewDocument();
        QVERIFY(QFile::remove(photo));
        QVERIFY(QFile::remove(photo + QStringLiteral(".mask")));
        import(Quadrants(640, 480).mirrored(true, true));
        const QImage stored(path);
        QCOMPARE(AsRgb(stored), AsRgb(Expected(photo)));
        QVERIFY(Distance(stored.pixelColor(5, 5), QColor(255, 255, 255)) <= 3); // white top left
        QVERIFY(prompts.asked.isEmpty());
    }

    void deletingAProjectRemovesItsThumbnail() {
        Cache cache;
        QTemporaryDir dir;
        const QString photo = dir.filePath(QStringLiteral("dum.bmp"));
        PhotoFiles::SaveBmp(photo, Quadrants(300, 200));
        WriteFile(photo + QStringLiteral(".mask"), "mask");
        Thumbnails::Obtain(photo);
        QVERIFY(QFileInfo::exists(Thumbnails::PathFor(photo)));
        QVERIFY(ProjectListing::DeleteProject(photo, nullptr));
        QVERIFY(!QFileInfo::exists(Thumbnails::PathFor(photo)));
        // A new photograph of the name starts afresh.
        PhotoFiles::SaveBmp(photo, Quadrants(300, 200).mirrored(true, false));
        QCOMPARE(AsRgb(Thumbnails::Obtain(photo)), AsRgb(Expected(photo)));
    }
};

QTEST_MAIN(TestThumbnails)
#include "test_thumbnails.moc"
