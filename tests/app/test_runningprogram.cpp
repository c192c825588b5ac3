#include "support/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The catalogue file as it lies on the disk: its bytes and when it was last written.
struct FileState {
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const FileState&) const = default;
};
FileState StateOf(const QString& path) {
    return {ReadAll(path), QFileInfo(path).lastModified()};
}

} // namespace

// The real program, started from a copy of its staged folder and ended by a real
// signal once it has started (it ignores SIGXFSZ from then on).
class TestRunningProgram : public QObject {
    Q_OBJECT
private slots:
    void endsCleanlyOnSignal_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void endsCleanlyOnSignal() {
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("tintora"));
        QVERIFY(ChildProcess::CopyFolder(QStringLiteral(TINTORA_STAGE), folder));
        const QString catalogue = QDir(folder).filePath(QStringLiteral("odrex.tom"));
        const FileState before = StateOf(catalogue);

        QProcess program;
        program.setProcessEnvironment(Environment());
        program.start(QDir(folder).filePath(QStringLiteral("tintora")), {});
        EndWith(program, signal);
        // The program only reads its catalogue: no session writes to the file.
        QVERIFY(StateOf(catalogue) == before);
    }

    // Installed where nobody may write (the program's folder and everything in it
    // read-only), the program starts, opens its catalogue without a message and
    // ends cleanly; the catalogue file is not touched.
    void startsFromAReadOnlyFolder() {
        QTemporaryDir dir;
        const ChildProcess::User user = ChildProcess::UnprivilegedUser();
        ChildProcess::OpenForAll(dir.path());
        const QString folder = dir.filePath(QStringLiteral("tintora"));
        QVERIFY(ChildProcess::CopyFolder(QStringLiteral(TINTORA_STAGE), folder));
        const QString catalogue = QDir(folder).filePath(QStringLiteral("odrex.tom"));
        ChildProcess::MakeReadOnly(folder);
        const FileState before = StateOf(catalogue);
        // The user's own places: a home and the database engine's lock folder.
        const QString home = dir.filePath(QStringLiteral("home"));
        const QString locks = dir.filePath(QStringLiteral("firebird"));
        QDir().mkpath(home);
        QDir().mkpath(locks);
        ChildProcess::HandTo(home, user);
        ChildProcess::HandTo(locks, user);

        QProcess program;
        QProcessEnvironment environment = Environment();
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("FIREBIRD_LOCK"), locks);
        program.setProcessEnvironment(environment);
        ChildProcess::RunAs(program, user);
        program.start(QDir(folder).filePath(QStringLiteral("tintora")), {});
        EndWith(program, SIGTERM);
        QVERIFY(StateOf(catalogue) == before);
    }

    // A catalogue server that accepts the connection and never answers held the
    // program behind its splash screen for three minutes, deaf to SIGTERM. A signal
    // now ends it while the database client waits.
    void endsOnSignalWhileTheCatalogueServerIsSilent() {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("tintora"));
        QVERIFY(ChildProcess::CopyFolder(QStringLiteral(TINTORA_STAGE), folder));
        QFile ini(QDir(folder).filePath(QStringLiteral("tintora.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[catalogue]\ndatabase = 127.0.0.1/%1:/srv/odrex.tom\n"
                                 "timeout = 3600\n")
                      .arg(silent.serverPort())
                      .toUtf8());
        ini.close();

        QProcess program;
        program.setProcessEnvironment(Environment());
        program.start(QDir(folder).filePath(QStringLiteral("tintora")), {});
        QVERIFY(program.waitForStarted());
        QVERIFY(silent.waitForNewConnection(90000));
        QCOMPARE(::kill(pid_t(program.processId()), SIGTERM), 0);
        const bool finished = program.waitForFinished(60000);
        if (!finished) {
            program.kill();
            program.waitForFinished();
        }
        QVERIFY(finished);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }

private:
    static QProcessEnvironment Environment() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        return environment;
    }

    // Waits until the program has started (a message box at start-up, such as a
    // catalogue it cannot open, would hold it before that), sends the signal and
    // expects a clean end.
    static void EndWith(QProcess& program, int signal) {
        QVERIFY(program.waitForStarted());
        const bool started = ChildProcess::WaitUntilIgnored(program, SIGXFSZ, 90000);
        if (!started) {
            program.kill();
            program.waitForFinished();
        }
        QVERIFY2(started, program.readAllStandardError().constData());
        QCOMPARE(::kill(pid_t(program.processId()), signal), 0);
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRunningProgram)
#include "test_runningprogram.moc"
