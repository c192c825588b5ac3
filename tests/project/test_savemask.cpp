#include "support/ScriptedPrompts.h"
#include "support/SpecialFiles.h"
#include "workspace/SaveMask.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

class TestSaveMask : public QObject {
    Q_OBJECT
private slots:
    void nothingToSaveWithoutAProject() {
        Document doc;
        doc.Modified = true;
        ScriptedPrompts prompts;
        QCOMPARE(SaveMask(doc, prompts), SaveResult::NothingToSave);
        QCOMPARE(prompts.Texts(), QStringList{QStringLiteral("Není co ukládat")});
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Chyba"));
        QCOMPARE(prompts.asked[0].icon, Prompts::Icon::Error);
        QVERIFY(doc.Modified);
    }

    void savedClearsModified() {
        QTemporaryDir dir;
        Document doc;
        doc.ProjectPath = dir.filePath(QStringLiteral("dum.bmp"));
        doc.Mask = TMask::CreateBlank(2, 1);
        doc.Modified = true;
        ScriptedPrompts prompts;
        QCOMPARE(SaveMask(doc, prompts), SaveResult::Saved);
        QVERIFY(!doc.Modified);
        QCOMPARE(QFile(doc.ProjectPath + QStringLiteral(".mask")).size(), 151);
        QCOMPARE(prompts.Texts(), QStringList{QStringLiteral("Soubor byl uložen")});
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Informace"));
        QCOMPARE(prompts.asked[0].icon, Prompts::Icon::Information);
    }

    // The mask's name may be a link: the file it leads to gets the mask and the link
    // stays. A FIFO, a device, a socket or a folder standing at the name was replaced
    // by a file (run as root, a mask linked to /dev/null replaced the device); each is
    // refused and stays as it was.
    void onlyARegularFileIsReplaced_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason"); // empty: saved
        QTest::newRow("link to a mask") << "link" << QString();
        QTest::newRow("link to a link to a mask") << "link chain" << QString();
        QTest::newRow("link to nothing") << "dangling"
                                         << "odkaz na soubor, který neexistuje";
        QTest::newRow("FIFO") << "fifo"
                              << "je to roura (FIFO)";
        QTest::newRow("device") << "device"
                                << "je to zařízení";
        QTest::newRow("link to /dev/null") << "device link"
                                           << "je to zařízení";
        QTest::newRow("socket") << "socket"
                                << "je to socket";
        QTest::newRow("folder") << "folder"
                                << "je to složka";
    }
    void onlyARegularFileIsReplaced() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("jinde")));
        const QString real = dir.filePath(QStringLiteral("jinde/skutecna.mask"));
        Document doc;
        doc.ProjectPath = dir.filePath(QStringLiteral("dum.bmp"));
        const QString mask = doc.ProjectPath + QStringLiteral(".mask");
        doc.Mask = TMask::CreateBlank(2, 1);
        doc.Modified = true;
        const QByteArray path = QFile::encodeName(mask);
        if (kind.startsWith(QLatin1String("link"))) {
            QFile old(real);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("stará") > 0);
            old.close();
            QVERIFY(QFile::link(real, mask + QStringLiteral(".1")));
            QVERIFY(QFile::link(kind == QLatin1String("link") ? real : mask + QStringLiteral(".1"),
                                mask));
        } else if (kind == QLatin1String("dangling")) {
            QVERIFY(QFile::link(real, mask));
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        } else if (kind == QLatin1String("device")) {
            // The numbers of /dev/null; only root may make a device.
            if (::mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
                QSKIP("A device can be made only by root.");
        } else if (kind == QLatin1String("device link")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), mask));
        } else if (kind == QLatin1String("socket")) {
            QVERIFY(BindSocket(mask));
        } else {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dum.bmp.mask")));
        }
        const mode_t before = KindAt(mask);
        ScriptedPrompts prompts;
        const SaveResult result = SaveMask(doc, prompts);
        QCOMPARE(KindAt(mask), before);
        if (reason.isEmpty()) {
            QCOMPARE(result, SaveResult::Saved);
            QCOMPARE(QFile(real).size(), 151);
            QVERIFY(!doc.Modified);
        } else {
            QCOMPARE(result, SaveResult::Failed);
            QCOMPARE(prompts.asked.size(), 1);
            QVERIFY2(prompts.asked[0].text.contains(reason), qPrintable(prompts.asked[0].text));
            QVERIFY(doc.Modified);
            QVERIFY(!QFile::exists(real));
        }
        // No temporary file stays behind, beside the name or beside the file it leads to.
        for (const QString& folder : {dir.path(), dir.filePath(QStringLiteral("jinde"))}) {
            for (const QString& name :
                 QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
                QVERIFY2(!name.endsWith(QLatin1String(".part")), qPrintable(name));
        }
    }

    void writeErrorIsReportedAndKeepsModified() {
        QTemporaryDir dir;
        Document doc;
        doc.ProjectPath = dir.filePath(QStringLiteral("chybi/dum.bmp"));
        doc.Modified = true;
        ScriptedPrompts prompts;
        QCOMPARE(SaveMask(doc, prompts), SaveResult::Failed);
        QVERIFY(doc.Modified);
        QCOMPARE(prompts.asked.size(), 1);
        QVERIFY(prompts.asked[0].text.contains(QStringLiteral("nelze uložit")));
        QCOMPARE(prompts.asked[0].icon, Prompts::Icon::Error);
    }
};

QTEST_GUILESS_MAIN(TestSaveMask)
#include "test_savemask.moc"
