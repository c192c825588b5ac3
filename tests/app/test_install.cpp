#include "project/PhotoKinds.h"
#include "support/ChildProcess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <csignal>
#include <sys/types.h>

namespace {

const QString AppId = QStringLiteral("cz.tintora.Tintora");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FilesUnder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

// The program installed with `cmake --install` into a prefix of the test's own, as a
// package installs it under /usr.
class TestInstall : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(prefix_.isValid());
        QProcess install;
        install.start(QStringLiteral(CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(TINTORA_BUILD_DIR),
                       QStringLiteral("--prefix"), prefix_.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
    }

    // Where the Filesystem Hierarchy Standard and the desktops expect each part.
    void everyPartInItsPlace() {
        const QStringList files = FilesUnder(prefix_.path());
        for (const QString& expected :
             {QStringLiteral("bin/tintora"), QStringLiteral("bin/tintora-export"),
              QStringLiteral("share/tintora/help/help.htm"),
              QStringLiteral("share/tintora/odrex.tom"),
              QStringLiteral("share/tintora/domy/Rodinný dům.bmp"),
              QStringLiteral("share/tintora/domy/Rodinný dům.bmp.mask"),
              QStringLiteral("share/applications/") + AppId + QStringLiteral(".desktop"),
              QStringLiteral("share/metainfo/") + AppId + QStringLiteral(".metainfo.xml"),
              QStringLiteral("share/icons/hicolor/scalable/apps/") + AppId + QStringLiteral(".svg"),
              QStringLiteral("share/icons/hicolor/48x48/apps/") + AppId + QStringLiteral(".png")})
            QVERIFY2(files.contains(expected),
                     qPrintable(expected + " missing from:\n" + files.join('\n')));
        QVERIFY(QFileInfo(prefix_.filePath(QStringLiteral("share/tintora/interier"))).isDir());
        // The catalogue may lie where nobody writes: it is read only.
        QVERIFY(!(QFile::permissions(prefix_.filePath(QStringLiteral("share/tintora/odrex.tom"))) &
                  QFileDevice::WriteOwner));
        // Nothing of the staged folder's habits: no projects beside the program.
        QVERIFY(!QFileInfo::exists(prefix_.filePath(QStringLiteral("bin/domy"))));
    }

    // Each icon size is a picture of its size; the scalable one is a well-formed SVG.
    void iconsOfEverySize() {
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QImage icon(prefix_.filePath(
                QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId)));
            QCOMPARE(icon.size(), QSize(size, size));
            QVERIFY(icon.hasAlphaChannel());
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);                 // round corners
            QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255); // the house
        }
        QXmlStreamReader svg(
            ReadAll(prefix_.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/") + AppId +
                                     QStringLiteral(".svg"))));
        int shapes = 0;
        while (!svg.atEnd())
            if (svg.readNext() == QXmlStreamReader::StartElement &&
                svg.name() != QLatin1String("svg"))
                ++shapes;
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
        QVERIFY(shapes >= 8);
    }

    // "Otevřít v programu" offers the program for every kind of photograph it reads,
    // and for no other.
    void desktopEntryNamesTheKindsRead() {
        const QString entry = prefix_.filePath(QStringLiteral("share/applications/") + AppId +
                                               QStringLiteral(".desktop"));
        // Its own format, not an INI file: a ';' separates values, starts no comment.
        QMap<QString, QString> keys;
        for (const QByteArray& line : ReadAll(entry).split('\n')) {
            const qsizetype equals = line.indexOf('=');
            if (equals > 0)
                keys[QString::fromUtf8(line.left(equals))] =
                    QString::fromUtf8(line.mid(equals + 1));
        }
        QStringList types =
            keys.value(QStringLiteral("MimeType")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QStringList read = PhotoFiles::ImportMimeTypes();
        types.sort();
        read.sort();
        QCOMPARE(types, read);
        QCOMPARE(keys.value(QStringLiteral("Exec")), QStringLiteral("tintora %f"));
        QCOMPARE(keys.value(QStringLiteral("Icon")), AppId);
        QCOMPARE(keys.value(QStringLiteral("Categories")), QStringLiteral("Graphics;"));
    }
    // Installed where nobody may write, started by a user with an empty data folder:
    // the program starts, reads its catalogue without a message, makes the project
    // folders in $XDG_DATA_HOME/tintora with the demo house copied in, and writes
    // nothing into the installation.
    void installedProgramStartsWithTheUsersFolders() {
        QTemporaryDir dir;
        const ChildProcess::User user = ChildProcess::UnprivilegedUser();
        ChildProcess::OpenForAll(dir.path());
        const QString installed = dir.filePath(QStringLiteral("usr"));
        QVERIFY(ChildProcess::CopyFolder(prefix_.path(), installed));
        ChildProcess::MakeReadOnly(installed);
        const QStringList before = FilesUnder(installed);
        const QString home = dir.filePath(QStringLiteral("home"));
        const QString data = dir.filePath(QStringLiteral("data"));
        const QString locks = dir.filePath(QStringLiteral("firebird"));
        for (const QString& folder : {home, data, locks}) {
            QDir().mkpath(folder);
            ChildProcess::HandTo(folder, user);
        }
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        environment.insert(QStringLiteral("FIREBIRD_LOCK"), locks);
        program.setProcessEnvironment(environment);
        ChildProcess::RunAs(program, user);
        // A photograph named on the command line is imported at start-up.
        const QString photograph = dir.filePath(QStringLiteral("Chata.png"));
        QImage picture(64, 48, QImage::Format_RGB888);
        picture.fill(QColor(200, 120, 40));
        QVERIFY(picture.save(photograph));
        ChildProcess::HandTo(photograph, user);
        program.start(installed + QStringLiteral("/bin/tintora"), {photograph});
        QVERIFY(program.waitForStarted());
        const bool started = ChildProcess::WaitUntilIgnored(program, SIGXFSZ, 90000);
        if (!started) {
            program.kill();
            program.waitForFinished();
        }
        QVERIFY2(started, program.readAllStandardError().constData());
        QCOMPARE(::kill(pid_t(program.processId()), SIGTERM), 0);
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 0);

        const QString houses = data + QStringLiteral("/tintora/domy");
        for (const QString& name :
             {QStringLiteral("Rodinný dům.bmp"), QStringLiteral("Rodinný dům.bmp.mask")})
            QCOMPARE(ReadAll(houses + QLatin1Char('/') + name),
                     ReadAll(installed + QStringLiteral("/share/tintora/domy/") + name));
        QVERIFY(QFileInfo(data + QStringLiteral("/tintora/interier")).isDir());
        const QImage imported(houses + QStringLiteral("/Chata.bmp"));
        QCOMPARE(imported.size(), QSize(64, 48));
        QCOMPARE(imported.pixelColor(10, 10), QColor(200, 120, 40));
        QCOMPARE(FilesUnder(installed), before);
    }

    // --help and --version print and end at once, even without a display.
    void helpAndVersionWithoutADisplay_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("printed");
        QTest::newRow("--help") << QStringLiteral("--help")
                                << QStringLiteral("Použití: tintora [SOUBOR]");
        QTest::newRow("--version") << QStringLiteral("--version") << QStringLiteral("Tintora 1.2");
    }
    void helpAndVersionWithoutADisplay() {
        QFETCH(QString, option);
        QFETCH(QString, printed);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        program.setProcessEnvironment(environment);
        program.start(prefix_.filePath(QStringLiteral("bin/tintora")), {option});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).startsWith(printed));
    }

private:
    QTemporaryDir prefix_;
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
