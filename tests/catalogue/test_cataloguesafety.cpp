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

private:
    QTemporaryDir dir;
    QString catalogue;
};

QTEST_MAIN(TestCatalogueSafety)
#include "test_cataloguesafety.moc"
