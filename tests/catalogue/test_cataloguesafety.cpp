#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueWindow.h"
#include "catalogue/FirebirdLockFolder.h"
#include "project/Errors.h"
#include "project/TextField.h"
#include "support/ChildProcess.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"
#include "support/TestWidgets.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

#include <sys/resource.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct FileState {
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const FileState&) const = default;
};
FileState StateOf(const QString& path) {
    return {ReadAll(path), QFileInfo(path).lastModified()};
}

QString DatabaseMessage(const std::function<void()>& action) {
    try {
        action();
    } catch (const DatabaseError& error) {
        return error.message();
    }
    return QString();
}

} // namespace

class TestCatalogueSafety : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        catalogue = dir.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(catalogue, TestCatalogue::SmallRows(), true), QString());
    }

    // Text that Windows-1250 cannot hold showed Firebird's "Cannot transliterate
    // character" box. It is refused with the message names get; the found shades
    // stay as they were.
    void searchRefusesCharactersOutsideWindows1250_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refused");
        QTest::newRow("emoji") << QStringLiteral("E 😀") << QStringLiteral("😀");
        QTest::newRow("Chinese") << QStringLiteral("中文") << QStringLiteral("中文");
        QTest::newRow("Czech and Greek") << QStringLiteral("Žlutá α") << QStringLiteral("α");
    }
    void searchRefusesCharactersOutsideWindows1250() {
        QFETCH(QString, text);
        QFETCH(QString, refused);
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        window.searchEdit->setText(QStringLiteral("Žlutá"));
        QTest::keyClick(window.searchEdit, Qt::Key_Return);
        const QStringList found = Rows(window.shadeList);
        QCOMPARE(found, QStringList{"Žlutá kuchyň"});

        window.searchEdit->setText(text);
        QTest::keyClick(window.searchEdit, Qt::Key_Return);
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked[0].text, OutsideWindows1250Message(refused));
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Chyba"));
        QCOMPARE(prompts.asked[0].icon, Prompts::Icon::Error);
        QCOMPARE(Rows(window.shadeList), found);
        QCOMPARE(window.searchEdit->text(), text); // the user can correct what was typed
    }

    // Hostile searches find nothing or what they name, and never change the
    // catalogue: the file is the same, byte for byte, and is never written.
    void hostileSearchesChangeNothing() {
        const FileState before = StateOf(catalogue);
        ScriptedPrompts prompts;
        {
            CatalogueWindow window(dir.path(), prompts);
            for (const char* text : {"'; DELETE FROM Odstin; --", "' OR '1'='1", "%", "_", "\\",
                                     "E' || '", "O'Neil"}) {
                window.searchEdit->setText(QString::fromUtf8(text));
                QTest::keyClick(window.searchEdit, Qt::Key_Return);
            }
            QCOMPARE(Rows(window.shadeList), QStringList{"O'Neil"});
            window.searchEdit->setText(QStringLiteral("E "));
            QTest::keyClick(window.searchEdit, Qt::Key_Return);
            QCOMPARE(Rows(window.shadeList).size(), 4);
        }
        QVERIFY(StateOf(catalogue) == before);
    }

    // The database's own words stay, under a Czech line that says what failed.
    void databaseMessagesGetACzechFirstLine() {
        CatalogueDatabase database;
        database.Open(catalogue);
        QStringList lines = DatabaseMessage([&] {
                                database.Run(QStringLiteral("SELECT nic FROM nikde;"),
                                             [](const CatalogueRow&) { return true; });
                            }).split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Dotaz do katalogu barev se nezdařil."));
        QVERIFY2(lines.value(1).contains(QLatin1String("NIKDE"), Qt::CaseInsensitive),
                 qPrintable(lines.join('|')));

        QTemporaryDir other;
        const QString broken = other.filePath(QStringLiteral("odrex.tom"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
        file.close();
        CatalogueDatabase second;
        lines = DatabaseMessage([&] { second.Open(broken); }).split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Katalog barev %1 nelze otevřít.")
                                     .arg(QDir::toNativeSeparators(broken)));
        QVERIFY(!lines.value(1).isEmpty());

        // The database's words quote the path; from a folder of a long name they are
        // shortened like every text from elsewhere, one short line each.
        const QString folder = other.filePath(QString(230, QLatin1Char('k')));
        QVERIFY(QDir().mkpath(folder));
        const QString deep = folder + QStringLiteral("/odrex.tom");
        QVERIFY(QFile::copy(broken, deep));
        CatalogueDatabase third;
        lines = DatabaseMessage([&] { third.Open(deep); }).split(QLatin1Char('\n'));
        QVERIFY(lines.size() >= 2);
        for (const QString& line : lines)
            QVERIFY2(line.size() <= 200, qPrintable(line));
        QVERIFY2(lines.join(QLatin1Char(' ')).contains(QStringLiteral("…")),
                 qPrintable(lines.join('|')));
    }

    // Statements handed over together run as each one alone would: those before a
    // failing one hand on their rows, the failing one says what failed, those after it
    // do not run, and the catalogue answers the next statements as before.
    void statementsTogetherStopAtTheOneThatFails() {
        CatalogueDatabase database;
        database.Open(catalogue);
        QStringList names;
        const auto name = [&names](const CatalogueRow& row) {
            names << row.Text(QStringLiteral("vejir_jmeno"));
            return true;
        };
        const QString first = QStringLiteral("SELECT vejir_jmeno FROM vejir WHERE vejir_id = 12;");
        const QString failing = QStringLiteral("SELECT nic FROM nikde;");
        const QString third = QStringLiteral("SELECT vejir_jmeno FROM vejir WHERE vejir_id = 30;");
        const int calls = database.CallCount();
        const QString message = DatabaseMessage([&] {
            database.RunEach({{first, name}, {failing, name}, {third, name}});
        });
        QCOMPARE(message.section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("Dotaz do katalogu barev se nezdařil."));
        QVERIFY2(message.contains(QLatin1String("NIKDE"), Qt::CaseInsensitive),
                 qPrintable(message));
        QCOMPARE(names, QStringList{QStringLiteral("Exteriér")});
        QCOMPARE(database.StatementCount(), 2);
        QCOMPARE(database.LastStatement(), failing);
        QCOMPARE(database.CallCount() - calls, 1);
        QVERIFY(!database.Busy());

        names.clear();
        database.RunEach({{third, name}, {first, name}});
        QCOMPARE(names, (QStringList{QStringLiteral("Moje"), QStringLiteral("Exteriér")}));
        QCOMPARE(database.StatementCount(), 4);
        QCOMPARE(database.LastStatement(), first);
        QCOMPARE(database.CallCount() - calls, 2);
    }

    // A catalogue in a place the user may only read: the demo catalogue (a
    // read-only database) opens and is never written; a user's own catalogue that
    // Firebird would have to open for writing gets a message saying what to do.
    void catalogueInAReadOnlyPlace_data() {
        QTest::addColumn<bool>("readOnlyDatabase");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("lockFolderGiven");
        QTest::newRow("read-only database") << true << QStringLiteral("ok 0 4") << true;
        QTest::newRow("read-write database") << false << QString() << true;
        // Firebird's shared lock folder /tmp/firebird belongs to whoever opened a
        // database first (this test, as another user): the program takes its own.
        QTest::newRow("shared lock folder not the user's")
            << true << QStringLiteral("ok 0 4") << false;
    }
    void catalogueInAReadOnlyPlace() {
        QFETCH(bool, readOnlyDatabase);
        QFETCH(QString, expected);
        QFETCH(bool, lockFolderGiven);
        QTemporaryDir place;
        const ChildProcess::User user = ChildProcess::UnprivilegedUser();
        ChildProcess::OpenForAll(place.path());
        const QString folder = place.filePath(QStringLiteral("program"));
        QDir().mkpath(folder);
        const QString path = QDir(folder).filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(path, TestCatalogue::SmallRows(), readOnlyDatabase),
                 QString());
        ChildProcess::MakeReadOnly(folder);
        const QString locks = place.filePath(QStringLiteral("firebird"));
        QDir().mkpath(locks);
        ChildProcess::HandTo(locks, user);
        const FileState before = StateOf(path);
        // Another user may not reach the build folder (a home folder, say): the probe
        // runs from a copy.
        const QString probeCopy = place.filePath(QStringLiteral("catalogue_probe"));
        QVERIFY(QFile::copy(QStringLiteral(CATALOGUE_PROBE), probeCopy));

        QProcess probe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (lockFolderGiven) {
            environment.insert(QStringLiteral("FIREBIRD_LOCK"), locks);
        } else {
            environment.remove(QStringLiteral("FIREBIRD_LOCK"));
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), locks);
        }
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        probe.setProcessEnvironment(environment);
        ChildProcess::RunAs(probe, user);
        probe.start(probeCopy, {path});
        QVERIFY(probe.waitForFinished(60000));
        const QString output = QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
        if (readOnlyDatabase) {
            QCOMPARE(output, expected);
        } else {
            const QStringList lines = output.split(QLatin1Char('\n'));
            QCOMPARE(lines.value(0),
                     QStringLiteral("Katalog barev %1 nelze otevřít: soubor je jen pro čtení.")
                         .arg(QDir::toNativeSeparators(path)));
            QVERIFY2(output.contains(QStringLiteral("Povolte zápis do souboru katalogu")),
                     qPrintable(output));
            QVERIFY(output.contains(QStringLiteral("gfix -mode read_only")));
        }
        QVERIFY(StateOf(path) == before);
        if (!lockFolderGiven)
            QVERIFY(QFileInfo(locks + QStringLiteral("/tintora-firebird")).isDir());
    }

    // The lock folder of the user's own is taken only when the shared one cannot be
    // used, and never when something else stands at its place in a folder for all.
    void lockFolderOfTheUsersOwn_data() {
        QTest::addColumn<QString>("shared");
        QTest::addColumn<QString>("runtime");
        QTest::addColumn<QString>("inTheWay");
        QTest::addColumn<QString>("expected");
        const QString own = QStringLiteral("tintora-firebird-%1").arg(::geteuid());
        QTest::newRow("shared folder usable") << "shared"
                                              << "runtime"
                                              << ""
                                              << "";
        QTest::newRow("in the runtime folder") << "missing"
                                               << "runtime"
                                               << ""
                                               << "runtime/tintora-firebird";
        QTest::newRow("shared one is a file") << "file"
                                              << ""
                                              << ""
                                              << "tmp/" + own;
        QTest::newRow("link in the way") << "missing"
                                         << ""
                                         << "link"
                                         << "";
        QTest::newRow("folder open to all in the way") << "missing"
                                                       << ""
                                                       << "open"
                                                       << "";
    }
    void lockFolderOfTheUsersOwn() {
        QFETCH(QString, shared);
        QFETCH(QString, runtime);
        QFETCH(QString, inTheWay);
        QFETCH(QString, expected);
        QTemporaryDir place;
        const QDir root(place.path());
        root.mkpath(QStringLiteral("shared"));
        root.mkpath(QStringLiteral("runtime"));
        root.mkpath(QStringLiteral("tmp"));
        QFile file(root.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString own =
            root.filePath(QStringLiteral("tmp/tintora-firebird-%1").arg(::geteuid()));
        if (inTheWay == QLatin1String("link"))
            QVERIFY(QFile::link(root.filePath(QStringLiteral("shared")), own));
        if (inTheWay == QLatin1String("open")) {
            QVERIFY(root.mkpath(own));
            QVERIFY(QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                   QFileDevice::ExeOther));
        }
        const QString folder = PrivateFirebirdLockFolder(
            root.filePath(shared), runtime.isEmpty() ? QString() : root.filePath(runtime),
            root.filePath(QStringLiteral("tmp")));
        QCOMPARE(folder, expected.isEmpty() ? QString() : root.filePath(expected));
        if (!folder.isEmpty())
            QCOMPARE(QFileInfo(folder).permissions() & 0x0077, QFileDevice::Permissions());
    }

    // Under a file size limit below the 1 MB lock table of the embedded engine, the
    // engine ended the program with a bus error while the catalogue opened (before
    // the main window appeared). The catalogue is refused with a Czech message and
    // the program goes on without it; from 1024 kB on it opens.
    void fileSizeLimitBelowWhatTheEngineNeeds_data() {
        QTest::addColumn<int>("kilobytes");
        QTest::addColumn<QString>("expected");
        const QString refused = QStringLiteral(
            "Katalog barev %1 nelze otevřít: systém dovoluje jen soubory do %2 kB, databáze "
            "potřebuje soubory o velikosti nejméně 1024 kB (omezení „ulimit -f“).");
        QTest::newRow("64 kB") << 64 << refused.arg("CATALOGUE", "64");
        QTest::newRow("1023 kB") << 1023 << refused.arg("CATALOGUE", "1023");
        QTest::newRow("1024 kB") << 1024 << QStringLiteral("ok 0 4");
    }
    void fileSizeLimitBelowWhatTheEngineNeeds() {
        QFETCH(int, kilobytes);
        QFETCH(QString, expected);
        expected.replace(QStringLiteral("CATALOGUE"), QDir::toNativeSeparators(catalogue));
        QProcess probe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        probe.setProcessEnvironment(environment);
        probe.setChildProcessModifier([kilobytes] {
            const rlimit limit{rlim_t(kilobytes) * 1024, rlim_t(kilobytes) * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        probe.start(QStringLiteral(CATALOGUE_PROBE), {catalogue});
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()).trimmed(), expected);
    }

    // An embedded catalogue is open in one program at a time. A second one (another
    // window of Tintora started from a file manager, say) says so in Czech; the first
    // keeps working.
    void catalogueOpenInAnotherProgram() {
        QTemporaryDir program;
        const QString path = program.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(TestCatalogue::Build(path, TestCatalogue::SmallRows(), false), QString());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(QStringLiteral(CATALOGUE_PROBE),
                    {QStringLiteral("--settings"), program.path()});
        QVERIFY(first.waitForReadyRead(60000));
        QVERIFY(first.readLine().startsWith("ok "));

        QProcess second;
        second.setProcessEnvironment(environment);
        second.start(QStringLiteral(CATALOGUE_PROBE), {path});
        QVERIFY(second.waitForFinished(60000));
        const QStringList lines =
            QString::fromUtf8(second.readAllStandardOutput()).trimmed().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0),
                 QStringLiteral("Katalog barev %1 právě používá jiný spuštěný program, nejspíš "
                                "další okno Tintory.")
                     .arg(QDir::toNativeSeparators(path)));

        first.write("read\n");
        QVERIFY(first.waitForReadyRead(60000));
        QVERIFY(first.readLine().startsWith("ok "));
        first.closeWriteChannel();
        QVERIFY(first.waitForFinished(60000));
    }

private:
    QTemporaryDir dir;
    QString catalogue;
};

QTEST_MAIN(TestCatalogueSafety)
#include "test_cataloguesafety.moc"
