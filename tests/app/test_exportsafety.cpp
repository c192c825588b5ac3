#include "DemoHouse.h"
#include "app/ExportCommand.h"
#include "project/PhotoFiles.h"
#include "workspace/ProjectOperations.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run {
    int code;
    QString err;
    bool finished = true;
    QProcess::ExitStatus status = QProcess::NormalExit;
};

Run Export(const QStringList& arguments) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = RunExportCommand(arguments, outStream, errStream);
    errStream.flush();
    return {code, err};
}

// The real tintora-export, with an optional file size limit set in the child.
Run ExportProcess(const QStringList& arguments, rlim_t fileSizeLimit = RLIM_INFINITY) {
    QProcess process;
    process.setChildProcessModifier([fileSizeLimit] {
        if (fileSizeLimit != RLIM_INFINITY) {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
    });
    process.start(QStringLiteral(TINTORA_EXPORT), arguments);
    Run run{-1, QString()};
    run.finished = process.waitForFinished(60000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.code = process.exitCode();
    run.status = process.exitStatus();
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestExportSafety : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        photo = dir->filePath(QStringLiteral("dum.bmp"));
        mask = photo + QStringLiteral(".mask");
        catalogue = dir->filePath(QStringLiteral("odrex.tom"));
        const DemoProject demo = MakeDemoHouse(240, 160);
        PhotoFiles::SaveBmp(photo, demo.Photo);
        demo.Mask.SaveToFile(mask, demo.Layers, demo.Schemes);
        photoBytes = ReadAll(photo);
        maskBytes = ReadAll(mask);
    }

    // --out naming the photograph replaced it with the rendered picture (at zoom 0.5
    // the project could not be opened again). However the output names one of the
    // project's files, the run is refused and both stay as they were.
    void outputNamingAnInputIsRefused_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("the same path") << "same";
        QTest::newRow("the same path at zoom 0.5") << "zoom";
        QTest::newRow("another spelling") << "spelling";
        QTest::newRow("a link to the photograph") << "link";
        QTest::newRow("a hard link to the photograph") << "hard link";
        QTest::newRow("a link to the mask") << "mask link";
        QTest::newRow("a scheme picture linked to the photograph") << "scheme link";
        QTest::newRow("the proposal over the mask") << "proposal";
        QTest::newRow("the proposal over the catalogue it reads") << "proposal catalogue";
        QTest::newRow("the paint order over a link to the catalogue") << "order catalogue";
    }
    void outputNamingAnInputIsRefused() {
        QFETCH(QString, how);
        QStringList arguments{photo, QStringLiteral("--out"), photo};
        if (how == QLatin1String("zoom")) {
            arguments << QStringLiteral("--zoom") << QStringLiteral("0.5");
        } else if (how == QLatin1String("spelling")) {
            QDir(dir->path()).mkdir(QStringLiteral("sub"));
            arguments[2] = dir->filePath(QStringLiteral("sub/../dum.bmp"));
        } else if (how == QLatin1String("link")) {
            arguments[2] = dir->filePath(QStringLiteral("odkaz.bmp"));
            QVERIFY(QFile::link(photo, arguments[2]));
        } else if (how == QLatin1String("hard link")) {
            arguments[2] = dir->filePath(QStringLiteral("pevny.bmp"));
            QVERIFY(::link(QFile::encodeName(photo).constData(),
                           QFile::encodeName(arguments[2]).constData()) == 0);
        } else if (how == QLatin1String("mask link")) {
            arguments[2] = dir->filePath(QStringLiteral("maska.png"));
            QVERIFY(QFile::link(mask, arguments[2]));
        } else if (how == QLatin1String("scheme link")) {
            const QString folder = dir->filePath(QStringLiteral("schemata"));
            QDir().mkpath(folder);
            QVERIFY(
                QFile::link(photo, QDir(folder).filePath(QStringLiteral("dum-Teplá okrová.jpg"))));
            arguments = QStringList{photo, QStringLiteral("--all-schemes"), folder};
        } else if (how == QLatin1String("proposal")) {
            arguments = QStringList{photo, QStringLiteral("--proposal"), mask};
        } else if (how.endsWith(QLatin1String("catalogue"))) {
            QFile file(catalogue);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("katalog") == 7);
            file.close();
            const bool order = how.startsWith(QLatin1String("order"));
            const QString target =
                order ? dir->filePath(QStringLiteral("objednavka.pdf")) : catalogue;
            if (order)
                QVERIFY(QFile::link(catalogue, target));
            arguments = QStringList{
                photo, order ? QStringLiteral("--order-sheet") : QStringLiteral("--proposal"),
                target, QStringLiteral("--catalogue"), catalogue};
        }
        const Run run = Export(arguments);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("své vstupní soubory nikdy nepřepisuje")),
                 qPrintable(run.err));
        QCOMPARE(ReadAll(photo), photoBytes);
        QCOMPARE(ReadAll(mask), maskBytes);
        QCOMPARE(LoadProject(photo).Photo.size(), QSize(240, 160));
        if (how.endsWith(QLatin1String("catalogue")))
            QCOMPARE(ReadAll(catalogue), QByteArray("katalog"));
    }

    // A run that fails changes no file that stood before it and leaves nothing of
    // its own: not the picture that stood at --out, not the photograph, not the
    // folders it made.
    void failedRunLeavesEverythingAsItWas_data() {
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("schemes");
        QTest::newRow("schemes folder under a file") << "stary.png"
                                                     << "soubor/schemata";
        QTest::newRow("new picture, folder under a file") << "novy.png"
                                                          << "soubor/schemata";
        QTest::newRow("photograph, folder under a file") << "dum.bmp"
                                                         << "soubor/schemata";
        QTest::newRow("out is a folder, schemes in new folders") << "slozka.png"
                                                                 << "a/b/c";
    }
    void failedRunLeavesEverythingAsItWas() {
        QFETCH(QString, out);
        QFETCH(QString, schemes);
        const QString old = dir->filePath(QStringLiteral("stary.png"));
        QFile::copy(photo, old);
        QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray oldBytes = ReadAll(old);
        QFile(dir->filePath(QStringLiteral("soubor"))).open(QIODevice::WriteOnly);
        QDir(dir->path()).mkdir(QStringLiteral("slozka.png"));
        const QStringList before = Entries(dir->path());

        const Run run = Export({photo, QStringLiteral("--out"), dir->filePath(out),
                                QStringLiteral("--all-schemes"), dir->filePath(schemes)});
        QCOMPARE(run.code, 1);
        QVERIFY(!run.err.isEmpty());
        QCOMPARE(Entries(dir->path()), before);
        QCOMPARE(ReadAll(old), oldBytes);
        QCOMPARE(ReadAll(photo), photoBytes);
        QCOMPARE(ReadAll(mask), maskBytes);
        QVERIFY(Entries(dir->filePath(QStringLiteral("slozka.png"))).isEmpty());
    }

    // A FIFO named like a photograph or a mask hung the tool, a mask linked to
    // /dev/zero read until memory ran out: only regular files are read.
    void onlyRegularFilesAreRead_data() {
        QTest::addColumn<QString>("what");
        QTest::newRow("photograph is a FIFO") << "photo fifo";
        QTest::newRow("mask is a FIFO") << "mask fifo";
        QTest::newRow("mask links to /dev/zero") << "zero";
    }
    void onlyRegularFilesAreRead() {
        QFETCH(QString, what);
        const QString odd = dir->filePath(QStringLiteral("divny.bmp"));
        if (what == QLatin1String("photo fifo")) {
            QVERIFY(::mkfifo(QFile::encodeName(odd).constData(), 0600) == 0);
            QVERIFY(QFile::copy(mask, odd + QStringLiteral(".mask")));
        } else {
            QVERIFY(QFile::copy(photo, odd));
            const QByteArray oddMask = QFile::encodeName(odd + QStringLiteral(".mask"));
            if (what == QLatin1String("mask fifo"))
                QVERIFY(::mkfifo(oddMask.constData(), 0600) == 0);
            else
                QVERIFY(::symlink("/dev/zero", oddMask.constData()) == 0);
        }
        const Run run = ExportProcess(
            {odd, QStringLiteral("--out"), dir->filePath(QStringLiteral("vystup.png"))});
        QVERIFY(run.finished);
        QCOMPARE(run.status, QProcess::NormalExit);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("není to obyčejný soubor")), qPrintable(run.err));
        QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("vystup.png"))));
    }

    // A write past the file size limit ended the process with SIGXFSZ; now the
    // write fails and is reported like a full disk, and no part of it stays.
    void fileSizeLimitIsAReportedFailure() {
        const QString out = dir->filePath(QStringLiteral("velky.bmp"));
        const QStringList before = Entries(dir->path());
        const Run run = ExportProcess(
            {photo, QStringLiteral("--zoom"), QStringLiteral("2"), QStringLiteral("--out"), out},
            200 * 1024); // the picture takes 461 kB
        QVERIFY(run.finished);
        QCOMPARE(run.status, QProcess::NormalExit);
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("soubor by byl větší, než systém dovoluje")),
                 qPrintable(run.err));
        QCOMPARE(Entries(dir->path()), before);
        // Within the limit the same run succeeds.
        QCOMPARE(ExportProcess({photo, QStringLiteral("--out"), out}, 200 * 1024).code, 0);
        QCOMPARE(QImage(out).size(), QSize(240, 160));
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString photo, mask;
    QString catalogue;
    QByteArray photoBytes, maskBytes;
};

QTEST_GUILESS_MAIN(TestExportSafety)
#include "test_exportsafety.moc"
