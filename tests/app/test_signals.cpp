#include "project/AtomicFile.h"
#include "project/MaskFile.h"
#include "project/MeasurementFile.h"
#include "project/RecoveryFile.h"
#include "support/TestCatalogue.h"
#include "support/TestProjects.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The program with a project open, ended by a real signal from outside: it ends
// cleanly (the event loop quits, the windows and the catalogue's connection close),
// the catalogue keeps working to the end, and unsaved changes are kept beside the
// project, never over its mask file.
class TestSignals : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(appDir.isValid());
        QCOMPARE(TestCatalogue::Build(appDir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows(), true),
                 QString());
        photo = SaveDemoProject(appDir.path(), QStringLiteral("dum.bmp"), 120, 80);
        maskBytes = ReadAll(photo + QStringLiteral(".mask"));
    }

    void endsCleanly_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("modified");
        for (const auto& [name, signal] :
             {std::pair{"SIGTERM", SIGTERM}, std::pair{"SIGINT", SIGINT},
              std::pair{"SIGHUP", SIGHUP}}) {
            QTest::addRow("%s, unsaved changes", name) << signal << true;
            QTest::addRow("%s, nothing unsaved", name) << signal << false;
        }
    }
    void endsCleanly() {
        QFETCH(int, signal);
        QFETCH(bool, modified);
        RecoveryFile::Remove(photo);
        QProcess program;
        QStringList arguments{appDir.path(), photo};
        if (modified)
            arguments << QStringLiteral("modify");
        program.start(QStringLiteral(SIGNAL_PROBE), arguments);
        QVERIFY(program.waitForStarted());
        QByteArray output;
        while (!output.contains("ready\n") && program.waitForReadyRead(60000))
            output += program.readAllStandardOutput();
        QVERIFY2(output.contains("ready\n"), program.readAllStandardError().constData());

        QCOMPARE(::kill(pid_t(program.processId()), signal), 0);
        QVERIFY(program.waitForFinished(60000));
        output += program.readAllStandardOutput();
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        // The Firebird client used to take the signal and close the connection:
        // every catalogue action then failed with "invalid database handle".
        QVERIFY2(output.contains("catalogue 0\n"), output.constData());
        QVERIFY(output.contains("asked 0\n")); // no question was waiting for an answer
        QVERIFY(output.endsWith("closed\n"));

        QCOMPARE(ReadAll(photo + QStringLiteral(".mask")), maskBytes);
        QCOMPARE(QFile::exists(RecoveryFile::PathFor(photo)), modified);
        if (modified) {
            const MaskFile::Contents kept = MaskFile::Parse(ReadAll(RecoveryFile::PathFor(photo)),
                                                            RecoveryFile::PathFor(photo));
            MaskFile::Contents edited = MaskFile::Parse(maskBytes, photo);
            edited.Mask.PaintSpan(2, 0, 10, 1); // what the probe painted
            QCOMPARE(kept.Mask, edited.Mask);
            QVERIFY(kept.Mask != MaskFile::Parse(maskBytes, photo).Mask);
            QCOMPARE(kept.Layers, edited.Layers);
            // The reference marked in the session is kept beside the mask's changes.
            const Measurements references = MeasurementFile::Parse(
                ReadAll(RecoveryFile::MeasuresPathFor(photo)), photo, QSize(120, 80));
            QCOMPARE(references.References.size(), 1);
            QCOMPARE(references.References[0].width, 1.0);
        }
        QCOMPARE(QFile::exists(RecoveryFile::MeasuresPathFor(photo)), modified);
    }

    // With no project open nothing is kept, not even when the document counts as
    // changed (a layer committed before any project was opened): no recovery file
    // beside the projects, in the program's folder, or in the folder the program was
    // started from.
    void withoutAProjectNothingIsKept_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("modified");
        QTest::newRow("SIGTERM, a layer committed") << int(SIGTERM) << true;
        QTest::newRow("SIGINT, nothing changed") << int(SIGINT) << false;
    }
    void withoutAProjectNothingIsKept() {
        QFETCH(int, signal);
        QFETCH(bool, modified);
        QTemporaryDir startedIn;
        const QStringList before = Everything(appDir.path());
        QProcess program;
        program.setWorkingDirectory(startedIn.path());
        QStringList arguments{appDir.path(), QStringLiteral("-")};
        if (modified)
            arguments << QStringLiteral("modify");
        program.start(QStringLiteral(SIGNAL_PROBE), arguments);
        QVERIFY(program.waitForStarted());
        QByteArray output;
        while (!output.contains("ready\n") && program.waitForReadyRead(60000))
            output += program.readAllStandardOutput();
        QVERIFY2(output.contains("ready\n"), program.readAllStandardError().constData());
        QCOMPARE(::kill(pid_t(program.processId()), signal), 0);
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(Everything(startedIn.path()), QStringList());
        QCOMPARE(Everything(appDir.path()), before);
    }

    // A signal while "Obnovit neuložené změny?" was on screen deleted the kept
    // changes the question offered. Only the question's answers may remove them: the
    // program ends and the file stays as it was.
    void aSignalDuringTheRecoveryQuestionKeepsTheChanges_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void aSignalDuringTheRecoveryQuestionKeepsTheChanges() {
        QFETCH(int, signal);
        const QString recovery = RecoveryFile::PathFor(photo);
        MaskFile::Contents edited = MaskFile::Parse(maskBytes, photo);
        edited.Mask.PaintSpan(3, 0, 20, 1);
        const QByteArray kept = MaskFile::Serialize(edited.Mask, edited.Layers, edited.Schemes);
        QFile file(recovery);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kept) == kept.size());
        file.close();

        QProcess program;
        program.start(QStringLiteral(SIGNAL_PROBE), {appDir.path(), photo, QStringLiteral("ask")});
        QVERIFY(program.waitForStarted());
        QByteArray output;
        while (!output.contains("ready\n") && program.waitForReadyRead(60000))
            output += program.readAllStandardOutput();
        QVERIFY2(output.contains("ready\n"), program.readAllStandardError().constData());
        QCOMPARE(::kill(pid_t(program.processId()), signal), 0);
        const bool finished = program.waitForFinished(60000);
        if (!finished) {
            program.kill();
            program.waitForFinished();
        }
        QVERIFY(finished);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(ReadAll(recovery), kept);
        QCOMPARE(ReadAll(photo + QStringLiteral(".mask")), maskBytes);
        QFile::remove(recovery);
    }

    // tintora-export ended by a signal while its pictures were being written: the
    // hidden ".tintora-XXXXXX.part" files of its unfinished outputs stayed beside them
    // (past the 64 the command kept the names of). The command ends at once, says so,
    // and leaves no file of the run behind, also with the catalogue open (whose
    // database client installs signal handlers of its own).
    void exportEndedBySignalLeavesNoTemporaryFiles_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("withCatalogue");
        QTest::addColumn<int>("waiting"); // pictures written, not yet in place, at the signal
        for (const auto& [name, signal] :
             {std::pair{"SIGTERM", SIGTERM}, std::pair{"SIGINT", SIGINT},
              std::pair{"SIGHUP", SIGHUP}}) {
            QTest::addRow("%s, a picture", name) << signal << false << 1;
            QTest::addRow("%s, a picture and a paint order", name) << signal << true << 1;
        }
        QTest::newRow("SIGTERM, 150 pictures") << int(SIGTERM) << false << 150;
    }
    void exportEndedBySignalLeavesNoTemporaryFiles() {
        QFETCH(int, signal);
        QFETCH(bool, withCatalogue);
        QFETCH(int, waiting);
        // More schemes than are waited for: the run is caught while its pictures
        // wait beside their names.
        QTemporaryDir work;
        const DemoProject demo = waiting > 1 ? MakeDemoHouse(240, 160) : MakeDemoHouse(1200, 800);
        SchemeList schemes;
        for (int i = 0; i < std::max(40, 3 * waiting); ++i) {
            SchemeRecord scheme = demo.Schemes[i % demo.Schemes.size()];
            scheme.Name = QStringLiteral("Schéma ") + QString::number(i + 1);
            schemes << scheme;
        }
        const QString project =
            SaveProject(work.path(), QStringLiteral("dum.bmp"), demo, demo.Layers, schemes);
        const QString folder = work.filePath(QStringLiteral("schemata"));
        QStringList arguments{project, QStringLiteral("--all-schemes"), folder,
                              QStringLiteral("--out"), work.filePath(QStringLiteral("dum.png"))};
        if (withCatalogue)
            arguments << QStringLiteral("--order-sheet")
                      << work.filePath(QStringLiteral("objednavka.pdf"))
                      << QStringLiteral("--catalogue")
                      << appDir.filePath(QStringLiteral("odrex.tom"));
        const QStringList before = Everything(work.path());

        QProcess command;
        command.start(QStringLiteral(TINTORA_EXPORT), arguments);
        QVERIFY(command.waitForStarted());
        int pending = 0;
        for (int waited = 0; pending < waiting && waited < 120000; waited += 2) {
            QTest::qSleep(2);
            if (command.state() != QProcess::Running)
                break;
            pending = 0;
            for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                pending += IsTemporaryFileName(name) ? 1 : 0;
        }
        QVERIFY2(pending >= waiting, command.readAllStandardError().constData());
        QCOMPARE(::kill(pid_t(command.processId()), signal), 0);
        QVERIFY(command.waitForFinished(60000));
        QCOMPARE(command.exitStatus(), QProcess::NormalExit);
        QCOMPARE(command.exitCode(), 128 + signal);
        const QString err = QString::fromLocal8Bit(command.readAllStandardError());
        QVERIFY2(err.endsWith(QStringLiteral("tintora-export končí na signál ") +
                              QString::number(signal) + QStringLiteral(".\n")),
                 qPrintable(err));
        // Nothing of the run: no temporary file, no output; the folder it made may stay.
        QStringList after = Everything(work.path());
        after.removeOne(QStringLiteral("schemata"));
        QCOMPARE(after, before);
    }

private:
    // Every file and folder under folder, hidden ones too, as paths relative to it.
    static QStringList Everything(const QString& folder) {
        QStringList entries;
        QDirIterator it(folder,
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            entries << QDir(folder).relativeFilePath(it.next());
        entries.sort();
        return entries;
    }

    QTemporaryDir appDir;
    QString photo;
    QByteArray maskBytes;
};

QTEST_GUILESS_MAIN(TestSignals)
#include "test_signals.moc"
