// A catalogue server that accepts a connection and never answers (a listener of the
// test's own on 127.0.0.1): the program waits only as long as the catalogue's
// timeout, or until the user or a signal says so, then goes on without the
// catalogue; tintora-export ends at once on a signal even while the database client
// waits for the server.
#include "DemoHouse.h"
#include "app/ExportCommand.h"
#include "catalogue/CatalogueConnection.h"
#include "catalogue/CatalogueDatabase.h"
#include "project/EndRequest.h"
#include "project/Errors.h"
#include "project/PhotoFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

QString RefusalOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const DatabaseError& error) {
        return error.message();
    }
    return QString();
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace

class TestSilentServer : public QObject {
    Q_OBJECT
private slots:
    void init() {
        EndRequest::Clear();
        silent = std::make_unique<QTcpServer>();
        QVERIFY(silent->listen(QHostAddress::LocalHost));
    }

    // The connections left waiting end once the listener is gone.
    void cleanup() {
        EndRequest::Clear();
        silent.reset();
        QTRY_COMPARE_WITH_TIMEOUT(CatalogueConnection::StillWaiting(), 0, 60000);
    }

    // Connecting gives up after the timeout, when the program's waiting says so (the
    // user chose to go on without the catalogue), or when the program is asked to
    // end; the program then works without the catalogue.
    void connectingToAServerThatNeverAnswers_data() {
        QTest::addColumn<QString>("stop");
        QTest::newRow("the timeout") << "timeout";
        QTest::newRow("the user goes on without it") << "user";
        QTest::newRow("a signal asks the program to end") << "signal";
    }
    void connectingToAServerThatNeverAnswers() {
        QFETCH(QString, stop);
        CatalogueLocation location;
        location.host = QStringLiteral("127.0.0.1");
        location.port = QString::number(silent->serverPort());
        location.path = QStringLiteral("/srv/odrex.tom");
        location.timeoutSeconds = stop == QLatin1String("timeout") ? 1 : 3600;
        CatalogueDatabase catalogue;
        // Stands for the program's waiting: gives up on the third call when the user
        // goes on, notes a signal on the third call in the row of the signal.
        struct Waiting : CatalogueWaiting {
            QString stop;
            int asked = 0;
            int ended = 0;
            bool KeepWaiting(std::chrono::milliseconds) override {
                ++asked;
                if (stop == QLatin1String("signal") && asked == 3)
                    EndRequest::Note(SIGTERM);
                return stop != QLatin1String("user") || asked < 3;
            }
            void WaitingEnded() override { ++ended; }
        } waiting;
        waiting.stop = stop;
        catalogue.SetWaiting(&waiting);
        const QString message = RefusalOf([&] { catalogue.Open(location); });
        const int asked = waiting.asked;
        QCOMPARE(waiting.ended, 1);
        QCOMPARE(message, stop == QLatin1String("signal")
                              ? QStringLiteral("Program končí.")
                              : QStringLiteral("Katalog barev /srv/odrex.tom na serveru "
                                               "127.0.0.1/%1 nelze otevřít: server neodpovídá.")
                                    .arg(silent->serverPort()));
        QVERIFY(asked >= 3);
        QVERIFY(!catalogue.IsOpen());
        QCOMPARE(RefusalOf([&] { catalogue.Version(); }),
                 QStringLiteral("Katalog barev není otevřen."));
        QCOMPARE(CatalogueConnection::StillWaiting(), 1);
    }

    // tintora-export with a tintora.ini that names the silent server: the order sheet
    // is made without the catalogue's names once the timeout has passed.
    void theOrderSheetIsMadeWithoutTheSilentCatalogue() {
        QTemporaryDir dir;
        const QString photo = MakeProject(dir.path());
        WriteIni(dir.path(), 1);
        const QString sheet = dir.filePath(QStringLiteral("objednavka.pdf"));
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const int code = RunExportCommand({photo, QStringLiteral("--order-sheet"), sheet},
                                          outStream, errStream, dir.path());
        errStream.flush();
        QCOMPARE(code, 0);
        QVERIFY2(err.contains(QStringLiteral("nelze otevřít: server neodpovídá.")),
                 qPrintable(err));
        QVERIFY(err.contains(QStringLiteral("je bez jmen odstínů")));
        QFile pdf(sheet);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(4) == "%PDF");
    }

    // While the database client waits for the server, SIGTERM and SIGINT were
    // ignored: the command now ends at once, and nothing of the run stays (the
    // picture it was writing, its temporary file, the order sheet).
    void aSignalEndsTheCommandWhileTheClientWaits_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void aSignalEndsTheCommandWhileTheClientWaits() {
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("program"));
        QVERIFY(QDir().mkpath(program));
        const QString command = QDir(program).filePath(QStringLiteral("tintora-export"));
        QVERIFY(QFile::copy(QStringLiteral(TINTORA_EXPORT), command));
        QVERIFY(QFile::setPermissions(command, QFile::ReadOwner | QFile::ExeOwner));
        WriteIni(program, 3600);
        const QString photo = MakeProject(dir.path());
        const QString outputs = dir.filePath(QStringLiteral("vystupy"));
        QVERIFY(QDir().mkpath(outputs));

        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        run.setProcessEnvironment(environment);
        run.start(command, {photo, QStringLiteral("--out"), QDir(outputs).filePath("obr.bmp"),
                            QStringLiteral("--order-sheet"), QDir(outputs).filePath("o.pdf")});
        QVERIFY(run.waitForStarted());
        // The client has connected and waits for the server's answer.
        QVERIFY(silent->waitForNewConnection(60000));
        QCOMPARE(::kill(pid_t(run.processId()), signal), 0);
        const bool finished = run.waitForFinished(60000);
        if (!finished) {
            run.kill();
            run.waitForFinished();
        }
        QVERIFY(finished);
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), 128 + signal);
        QVERIFY2(run.readAllStandardError().contains(
                     QStringLiteral("tintora-export končí na signál %1.").arg(signal).toUtf8()),
                 "no word of the signal");
        QCOMPARE(Entries(outputs), QStringList());
    }

private:
    // A small project in folder.
    static QString MakeProject(const QString& folder) {
        const QString photo = QDir(folder).filePath(QStringLiteral("dum.bmp"));
        const DemoProject demo = MakeDemoHouse(120, 80);
        PhotoFiles::SaveBmp(photo, demo.Photo);
        demo.Mask.SaveToFile(photo + QStringLiteral(".mask"), demo.Layers, demo.Schemes);
        return photo;
    }

    // tintora.ini in folder naming a catalogue on the silent server.
    void WriteIni(const QString& folder, int timeoutSeconds) {
        QFile ini(QDir(folder).filePath(QStringLiteral("tintora.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[catalogue]\ndatabase = 127.0.0.1/%1:/srv/odrex.tom\n"
                                 "timeout = %2\n")
                      .arg(silent->serverPort())
                      .arg(timeoutSeconds)
                      .toUtf8());
    }

    std::unique_ptr<QTcpServer> silent;
};

QTEST_MAIN(TestSilentServer)
#include "test_silentserver.moc"
