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
