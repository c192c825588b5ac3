#include "project/MaskFile.h"
#include "project/MeasurementFile.h"
#include "project/RecoveryFile.h"
#include "support/TestCatalogue.h"
#include "support/TestProjects.h"

#include <QDir>
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

private:
    QTemporaryDir appDir;
    QString photo;
    QByteArray maskBytes;
};

QTEST_GUILESS_MAIN(TestSignals)
#include "test_signals.moc"
