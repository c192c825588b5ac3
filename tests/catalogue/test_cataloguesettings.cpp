// tintora.ini beside the program: which catalogue it names, as a file or on a server,
// and what the user hears when it cannot be used.
#include "catalogue/CatalogueLocation.h"
#include "catalogue/CatalogueWindow.h"
#include "project/Errors.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"
#include "support/TestWidgets.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString AppDir = QStringLiteral("/opt/tintora");

bool WriteIni(const QString& appDir, const QByteArray& text) {
    QFile ini(QDir(appDir).filePath(QStringLiteral("tintora.ini")));
    return ini.open(QIODevice::WriteOnly) && ini.write(text) == text.size();
}

QString RefusalOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const DatabaseError& error) {
        return error.message();
    }
    return QString();
}

} // namespace

class TestCatalogueSettings : public QObject {
    Q_OBJECT
private slots:
    void databaseNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("connection");
        QTest::newRow("none: odrex.tom beside the program") << ""
                                                            << ""
                                                            << ""
                                                            << "/opt/tintora/odrex.tom"
                                                            << "/opt/tintora/odrex.tom";
        QTest::newRow("blanks only") << "   "
                                     << ""
                                     << ""
                                     << "/opt/tintora/odrex.tom"
                                     << "/opt/tintora/odrex.tom";
        QTest::newRow("a file beside the program") << "katalog.tom"
                                                   << ""
                                                   << ""
                                                   << "/opt/tintora/katalog.tom"
                                                   << "/opt/tintora/katalog.tom";
        QTest::newRow("a file in a folder beside it") << "katalogy/odrex.tom"
                                                      << ""
                                                      << ""
                                                      << "/opt/tintora/katalogy/odrex.tom"
                                                      << "/opt/tintora/katalogy/odrex.tom";
        QTest::newRow("a file above it") << "../sdilene/odrex.tom"
                                         << ""
                                         << ""
                                         << "/opt/sdilene/odrex.tom"
                                         << "/opt/sdilene/odrex.tom";
        QTest::newRow("an absolute file") << "/srv/katalog/odrex.tom"
                                          << ""
                                          << ""
                                          << "/srv/katalog/odrex.tom"
                                          << "/srv/katalog/odrex.tom";
        QTest::newRow("a server") << "sklad:/srv/firebird/odrex.tom"
                                  << "sklad"
                                  << ""
                                  << "/srv/firebird/odrex.tom"
                                  << "sklad:/srv/firebird/odrex.tom";
        QTest::newRow("a server and port") << "katalog.barvy.cz/3051:/srv/firebird/odrex.tom"
                                           << "katalog.barvy.cz"
                                           << "3051"
                                           << "/srv/firebird/odrex.tom"
                                           << "katalog.barvy.cz/3051:/srv/firebird/odrex.tom";
        QTest::newRow("an address, a service and an alias") << "192.168.1.20/gds_db:odrex"
                                                            << "192.168.1.20"
                                                            << "gds_db"
                                                            << "odrex"
                                                            << "192.168.1.20/gds_db:odrex";
        QTest::newRow("an IPv6 address") << "[::1]/3050:/srv/odrex.tom"
                                         << "[::1]"
                                         << "3050"
                                         << "/srv/odrex.tom"
                                         << "[::1]/3050:/srv/odrex.tom";
        QTest::newRow("a Windows server's path") << "sklad:C:/Katalog/odrex.tom"
                                                 << "sklad"
                                                 << ""
                                                 << "C:/Katalog/odrex.tom"
                                                 << "sklad:C:/Katalog/odrex.tom";
        QTest::newRow("blanks around") << "  sklad/3050:/srv/odrex.tom  "
                                       << "sklad"
                                       << "3050"
                                       << "/srv/odrex.tom"
                                       << "sklad/3050:/srv/odrex.tom";
    }
    void databaseNames() {
        QFETCH(QString, name);
        QFETCH(QString, host);
        QFETCH(QString, port);
        QFETCH(QString, path);
        QFETCH(QString, connection);
        const CatalogueLocation location = CatalogueSettings::ParseDatabaseName(name, AppDir);
        QCOMPARE(location.host, host);
        QCOMPARE(location.port, port);
        QCOMPARE(location.path, path);
        QCOMPARE(location.OnServer(), !host.isEmpty());
        QCOMPARE(location.ConnectionName(), connection);
        QCOMPARE(location.user, QStringLiteral("SYSDBA"));
        QCOMPARE(location.password, QStringLiteral("pinewoods"));
    }

    void namesFirebirdWouldMisread_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no path") << "sklad:"
                                 << "za dvojtečkou chybí cesta k databázi na serveru";
        QTest::newRow("blank path") << "sklad/3050:  "
                                    << "za dvojtečkou chybí cesta k databázi na serveru";
        QTest::newRow("port 0") << "sklad/0:/srv/odrex.tom"
                                << "port „0“ není číslo od 1 do 65535 ani jméno služby";
        QTest::newRow("port too high") << "sklad/65536:/srv/odrex.tom"
                                       << "port „65536“ není číslo od 1 do 65535 ani jméno služby";
        QTest::newRow("empty port") << "sklad/:/srv/odrex.tom"
                                    << "port „“ není číslo od 1 do 65535 ani jméno služby";
        QTest::newRow("blank in the port")
            << "sklad/30 50:/srv/odrex.tom"
            << "port „30 50“ není číslo od 1 do 65535 ani jméno služby";
    }
    void namesFirebirdWouldMisread() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString message =
            RefusalOf([&] { CatalogueSettings::ParseDatabaseName(name, AppDir); });
        QCOMPARE(message, QStringLiteral("V nastavení tintora.ini je chybný katalog barev „%1“: "
                                         "%2.\nZadejte soubor, nebo databázi na serveru jako "
                                         "server:cesta či server/port:cesta.")
                              .arg(name.trimmed(), reason));
    }

    void withoutTheFileTheCatalogueBesideTheProgram() {
        QTemporaryDir dir;
        const CatalogueLocation location = CatalogueSettings::Read(dir.path());
        QVERIFY(!location.OnServer());
        QCOMPARE(location.path, dir.filePath(QStringLiteral("odrex.tom")));
        QCOMPARE(location.user, QStringLiteral("SYSDBA"));
        QCOMPARE(location.password, QStringLiteral("pinewoods"));
    }

    // As an administrator writes the file: comments, blanks, keys in any order,
    // commas and backslashes in quoted values.
    void theFileAsWritten_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("server, user and password")
            << QByteArray("; sdílený katalog\n[catalogue]\ndatabase = sklad/3051:/srv/odrex.tom\n"
                          "user = PULT\npassword = tajné\n")
            << "sklad/3051:/srv/odrex.tom"
            << "PULT"
            << "tajné";
        QTest::newRow("password only: the program's user")
            << QByteArray("[catalogue]\npassword=jine\ndatabase=sklad:odrex\n") << "sklad:odrex"
            << "SYSDBA"
            << "jine";
        QTest::newRow("user only: the catalogue beside the program")
            << QByteArray("[catalogue]\nuser = PULT\n") << "APPDIR/odrex.tom"
            << "PULT"
            << "pinewoods";
        QTest::newRow("another section only") << QByteArray("[okno]\nx=1\n") << "APPDIR/odrex.tom"
                                              << "SYSDBA"
                                              << "pinewoods";
        QTest::newRow("empty file") << QByteArray() << "APPDIR/odrex.tom"
                                    << "SYSDBA"
                                    << "pinewoods";
        QTest::newRow("a file named relative to the program")
            << QByteArray("[catalogue]\ndatabase = katalogy/muj.tom\n") << "APPDIR/katalogy/muj.tom"
            << "SYSDBA"
            << "pinewoods";
        QTest::newRow("a comma in a quoted password")
            << QByteArray("[catalogue]\ndatabase=sklad:odrex\npassword=\"a,b;c\"\n")
            << "sklad:odrex"
            << "SYSDBA"
            << "a,b;c";
        QTest::newRow("a comma in a bare password")
            << QByteArray("[catalogue]\ndatabase=sklad:odrex\npassword=a,b\n") << "sklad:odrex"
            << "SYSDBA"
            << "a,b";
        QTest::newRow("backslashes of a Windows server, doubled")
            << QByteArray("[catalogue]\ndatabase=\"sklad:C:\\\\Katalog\\\\odrex.tom\"\n")
            << "sklad:C:\\Katalog\\odrex.tom"
            << "SYSDBA"
            << "pinewoods";
    }
    void theFileAsWritten() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, connection);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QTemporaryDir dir;
        QVERIFY(WriteIni(dir.path(), ini));
        connection.replace(QStringLiteral("APPDIR"), dir.path());
        const CatalogueLocation location = CatalogueSettings::Read(dir.path());
        QCOMPARE(location.ConnectionName(), connection);
        QCOMPARE(location.user, user);
        QCOMPARE(location.password, password);
    }

    // A tintora.ini that is no readable file is reported, not waited on (a FIFO would
    // hold the start-up forever) and not passed over for another catalogue.
    void aFileThatCannotBeRead_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << "folder";
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("broken link") << "link";
    }
    void aFileThatCannotBeRead() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("tintora.ini"));
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(ini));
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(ini).constData(), 0644), 0);
        else
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("nikde.ini")), ini));
        QCOMPARE(RefusalOf([&] { CatalogueSettings::Read(dir.path()); }),
                 QStringLiteral("Nastavení katalogu barev %1 nelze přečíst.").arg(ini));
        // The catalogue window says it once and stays empty, though odrex.tom is there.
        QCOMPARE(TestCatalogue::Build(dir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows()),
                 QString());
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        QCOMPARE(
            prompts.Texts(),
            QStringList{QStringLiteral("Nastavení katalogu barev %1 nelze přečíst.").arg(ini)});
        QCOMPARE(window.fanDeckList->count(), 0);
    }

    // A file that tintora.ini names instead of odrex.tom is opened embedded as
    // odrex.tom is; a missing one is reported once by its own path.
    void aFileNamedInTheSettings() {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("katalogy"))));
        const QString own = dir.filePath(QStringLiteral("katalogy/muj.tom"));
        QCOMPARE(TestCatalogue::Build(own, TestCatalogue::SmallRows(), true), QString());
        QVERIFY(WriteIni(dir.path(), "[catalogue]\ndatabase = katalogy/muj.tom\n"));
        {
            ScriptedPrompts prompts;
            CatalogueWindow window(dir.path(), prompts);
            QVERIFY(prompts.asked.isEmpty());
            QCOMPARE(Rows(window.fanDeckList),
                     (QStringList{"Syntetika", "Exteriér", "Exteriér", "Moje"}));
            QCOMPARE(window.Database.Location().path, own);
        }
        QVERIFY(WriteIni(dir.path(), "[catalogue]\ndatabase = katalogy/chybi.tom\n"));
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        QCOMPARE(prompts.Texts(),
                 QStringList{QStringLiteral("Katalog barev %1 nelze otevřít: soubor neexistuje.")
                                 .arg(dir.filePath(QStringLiteral("katalogy/chybi.tom")))});
        QCOMPARE(window.fanDeckList->count(), 0);
    }
};

QTEST_MAIN(TestCatalogueSettings)
#include "test_cataloguesettings.moc"
