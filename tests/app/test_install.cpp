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

private:
    QTemporaryDir prefix_;
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
