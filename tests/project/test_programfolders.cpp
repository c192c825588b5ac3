#include "catalogue/CatalogueLocation.h"
#include "project/ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A program installed into a prefix (bin/ and share/tintora/ with the help page and
// the demo house) and a user whose data and settings folders are in the test's own
// folder.
struct Installation {
    QTemporaryDir dir;
    QString bin = dir.filePath(QStringLiteral("usr/bin"));
    QString share = dir.filePath(QStringLiteral("usr/share/tintora"));
    QString userData = dir.filePath(QStringLiteral("data"));
    QString userConfig = dir.filePath(QStringLiteral("config"));
    QString systemConfig = dir.filePath(QStringLiteral("etc-xdg"));

    Installation() {
        QDir().mkpath(bin);
        Write(share + QStringLiteral("/help/help.htm"), "<html></html>");
        Write(share + QStringLiteral("/domy/Rodinný dům.bmp"), "photograph");
        Write(share + QStringLiteral("/domy/Rodinný dům.bmp.mask"), "mask");
        qputenv("XDG_DATA_HOME", QFile::encodeName(userData));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(userConfig));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(systemConfig));
    }
};

} // namespace

class TestProgramFolders : public QObject {
    Q_OBJECT
private slots:
    // Staged and writable: everything beside the program, as scripts/run stages it.
    // Staged where the user cannot write: the projects go to the user's data folder.
    // Installed: the data in share/tintora, the projects always the user's own.
    void foldersFollowTheInstallation_data() {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("projects");
        QTest::addColumn<QString>("settings");
        QTest::newRow("staged") << false << true << "/opt/tintora"
                                << "/opt/tintora"
                                << "/opt/tintora/tintora.ini";
        QTest::newRow("staged, read-only") << false << false << "/opt/tintora"
                                           << "/home/eva/.local/share/tintora"
                                           << "/opt/tintora/tintora.ini";
        QTest::newRow("installed") << true << false << "/usr/share/tintora"
                                   << "/home/eva/.local/share/tintora"
                                   << "/home/eva/.config/tintora/tintora.ini";
        QTest::newRow("installed, run by root") << true << true << "/usr/share/tintora"
                                                << "/home/eva/.local/share/tintora"
                                                << "/home/eva/.config/tintora/tintora.ini";
    }
    void foldersFollowTheInstallation() {
        QFETCH(bool, installed);
        QFETCH(bool, writable);
        QFETCH(QString, data);
        QFETCH(QString, projects);
        QFETCH(QString, settings);
        const ProgramFolders folders = ChooseProgramFolders(
            installed ? QStringLiteral("/usr/bin") : QStringLiteral("/opt/tintora"),
            installed ? QStringLiteral("/usr/share/tintora") : QString(), writable,
            QStringLiteral("/home/eva/.local/share/tintora"),
            QStringLiteral("/home/eva/.config/tintora/tintora.ini"));
        QCOMPARE(folders.Installed, installed);
        QCOMPARE(folders.Data, data);
        QCOMPARE(folders.Projects, projects);
        QCOMPARE(folders.Settings, settings);
        QCOMPARE(folders.Houses(), projects + QStringLiteral("/domy"));
        QCOMPARE(folders.Interiors(), projects + QStringLiteral("/interier"));
        QCOMPARE(folders.HelpPage(), data + QStringLiteral("/help/help.htm"));
    }

    void installedProgramIsFound() {
        Installation installation;
        const ProgramFolders folders = LocateProgramFolders(installation.bin);
        QVERIFY(folders.Installed);
        QCOMPARE(folders.Data, installation.share);
        QCOMPARE(folders.Projects, installation.userData + QStringLiteral("/tintora"));
        QCOMPARE(folders.Settings,
                 installation.userConfig + QStringLiteral("/tintora/tintora.ini"));
        // The computer's settings count when the user has none of their own.
        Write(installation.systemConfig + QStringLiteral("/tintora/tintora.ini"), "");
        QCOMPARE(LocateProgramFolders(installation.bin).Settings,
                 installation.systemConfig + QStringLiteral("/tintora/tintora.ini"));
    }

    // The staged folder of scripts/run stays as it was: help page, projects and
    // settings beside the program, even with an installed copy next to it.
    void stagedFolderKeepsEverythingBesideTheProgram() {
        Installation installation;
        Write(installation.bin + QStringLiteral("/help/help.htm"), "<html></html>");
        const ProgramFolders folders = LocateProgramFolders(installation.bin);
        QVERIFY(!folders.Installed);
        QCOMPARE(folders.Data, installation.bin);
        QCOMPARE(folders.Projects, installation.bin);
        QCOMPARE(folders.Settings, installation.bin + QStringLiteral("/tintora.ini"));
        PrepareProjectFolders(folders);
        QVERIFY(QFileInfo(installation.bin + QStringLiteral("/domy")).isDir());
        QVERIFY(QFileInfo(installation.bin + QStringLiteral("/interier")).isDir());
        QVERIFY(!QFileInfo::exists(installation.userData));
    }

    // The first start copies the demo house into the user's folder; a later start
    // leaves the folder as the user left it (a deleted demo stays deleted).
    void firstStartCopiesTheDemoHouse() {
        Installation installation;
        const ProgramFolders folders = LocateProgramFolders(installation.bin);
        PrepareProjectFolders(folders);
        QCOMPARE(Files(folders.Houses()), (QStringList{QStringLiteral("Rodinný dům.bmp"),
                                                       QStringLiteral("Rodinný dům.bmp.mask")}));
        QCOMPARE(ReadAll(folders.Houses() + QStringLiteral("/Rodinný dům.bmp.mask")),
                 QByteArray("mask"));
        QVERIFY(Files(folders.Interiors()).isEmpty());
        QVERIFY(QFile::remove(folders.Houses() + QStringLiteral("/Rodinný dům.bmp")));
        QVERIFY(QFile::remove(folders.Houses() + QStringLiteral("/Rodinný dům.bmp.mask")));
        PrepareProjectFolders(LocateProgramFolders(installation.bin));
        QVERIFY(Files(folders.Houses()).isEmpty());
        // Nothing went into the installation.
        QCOMPARE(Files(installation.bin), QStringList());
    }

    // The installed program reads the catalogue of its data folder unless the
    // user's tintora.ini names another, a relative name from that folder as well.
    void installedCatalogue() {
        Installation installation;
        QCOMPARE(CatalogueSettings::Read(installation.bin).path,
                 installation.share + QStringLiteral("/odrex.tom"));
        Write(installation.userConfig + QStringLiteral("/tintora/tintora.ini"),
              "[catalogue]\ndatabase = obchod/odrex.tom\n");
        QCOMPARE(CatalogueSettings::Read(installation.bin).path,
                 installation.share + QStringLiteral("/obchod/odrex.tom"));
        Write(installation.userConfig + QStringLiteral("/tintora/tintora.ini"),
              "[catalogue]\ndatabase = sklad:/data/odrex.tom\n");
        const CatalogueLocation server = CatalogueSettings::Read(installation.bin);
        QCOMPARE(server.host, QStringLiteral("sklad"));
        QCOMPARE(server.path, QStringLiteral("/data/odrex.tom"));
    }
};

QTEST_GUILESS_MAIN(TestProgramFolders)
#include "test_programfolders.moc"
