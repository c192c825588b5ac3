#include "project/MaskFile.h"
#include "project/PhotoFiles.h"
#include "project/RecoveryFile.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "workspace/ProjectOperations.h"
#include "workspace/SaveMask.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace TestPictures;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A saved project with a wall layer, and the same project with unsaved changes.
struct Fixture {
    QTemporaryDir dir;
    QString photo = dir.filePath(QStringLiteral("dum.bmp"));
    ScriptedPrompts prompts;
    QByteArray savedMask;

    Fixture() {
        PhotoFiles::SaveBmp(photo, Quadrants(30, 20));
        LayerRecord wall = NewLayerTemplate(1);
        wall.Name = QStringLiteral("Zeď");
        TMask::CreateBlank(30, 20).SaveToFile(photo + QStringLiteral(".mask"),
                                              {OriginalLayerTemplate(), wall}, {});
        savedMask = ReadAll(photo + QStringLiteral(".mask"));
    }

    // Opens the project, paints a stripe and adds a scheme without saving, and keeps
    // the changes as the program does when a signal ends it.
    Document EditAndKeep() {
        Workspace ws;
        ScriptedPrompts quiet;
        if (!OpenProjectFile(ws, quiet, photo))
            return {};
        ws.Doc.Mask.PaintSpan(4, 0, 29, 1);
        ws.Doc.Schemes.append({QStringLiteral("Léto"), ws.Doc.Layers});
        ws.Doc.Modified = true;
        RecoveryFile::Write(ws.Doc);
        return ws.Doc;
    }
};

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void keptBesideTheProjectNeverOverTheMask() {
        Fixture f;
        const Document edited = f.EditAndKeep();
        QCOMPARE(RecoveryFile::PathFor(f.photo), f.photo + QStringLiteral(".mask.obnova"));
        QVERIFY(QFile::exists(RecoveryFile::PathFor(f.photo)));
        QCOMPARE(ReadAll(f.photo + QStringLiteral(".mask")), f.savedMask);
        QCOMPARE(ReadAll(RecoveryFile::PathFor(f.photo)),
                 MaskFile::Serialize(edited.Mask, edited.Layers, edited.Schemes));
    }

    void nothingKeptWithoutChangesOrProject() {
        Fixture f;
        Document doc;
        doc.Modified = true; // a layer committed before any project was open
        RecoveryFile::Write(doc);
        Workspace ws;
        QVERIFY(OpenProjectFile(ws, f.prompts, f.photo));
        RecoveryFile::Write(ws.Doc); // opened, not modified
        QVERIFY(!QFile::exists(RecoveryFile::PathFor(f.photo)));
        QVERIFY(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden).size() == 2);
    }

    // Yes opens the kept changes as unsaved changes; No the saved version. Either
    // way the question is answered once: the kept file goes.
    void openingOffersTheKeptChanges_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(Prompts::Yes);
        QTest::newRow("no") << int(Prompts::No);
    }
    void openingOffersTheKeptChanges() {
        QFETCH(int, answer);
        Fixture f;
        const Document edited = f.EditAndKeep();
        Workspace ws;
        f.prompts.answers.enqueue(Prompts::Button(answer));
        QVERIFY(OpenProjectFile(ws, f.prompts, f.photo));
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].text, QStringLiteral("Obnovit neuložené změny?"));
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Dotaz"));
        QCOMPARE(f.prompts.asked[0].icon, Prompts::Icon::Question);
        QCOMPARE(f.prompts.asked[0].buttons, Prompts::Yes | Prompts::No);
        QVERIFY(!QFile::exists(RecoveryFile::PathFor(f.photo)));
        QCOMPARE(ReadAll(f.photo + QStringLiteral(".mask")), f.savedMask);
        if (answer == Prompts::Yes) {
            QCOMPARE(ws.Doc.Mask, edited.Mask);
            QCOMPARE(ws.Doc.Schemes.size(), 1);
            QVERIFY(ws.Doc.Modified); // not saved yet: closing asks about them
            // Undo has nothing to go back to.
            QCOMPARE(ws.History.NodeCount(), 0);
        } else {
            QCOMPARE(ws.Doc.Mask, TMask::CreateBlank(30, 20));
            QVERIFY(ws.Doc.Schemes.isEmpty());
            QVERIFY(!ws.Doc.Modified);
        }
        // Opening again asks nothing.
        f.prompts.asked.clear();
        Workspace again;
        QVERIFY(OpenProjectFile(again, f.prompts, f.photo));
        QVERIFY(f.prompts.asked.isEmpty());
    }

    // Kept changes that do not fit the photograph are reported, not offered; the
    // saved version opens and the file stays for the user to look at.
    void unfittingKeptChangesAreReported() {
        Fixture f;
        TMask::CreateBlank(31, 20).SaveToFile(RecoveryFile::PathFor(f.photo),
                                              {OriginalLayerTemplate()}, {});
        Workspace ws;
        QVERIFY(OpenProjectFile(ws, f.prompts, f.photo));
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QVERIFY(f.prompts.asked[0].text.startsWith(
            QStringLiteral("Neuložené změny projektu nelze obnovit.\n")));
        QCOMPARE(ws.Doc.Mask, TMask::CreateBlank(30, 20));
        QVERIFY(!ws.Doc.Modified);
        QVERIFY(QFile::exists(RecoveryFile::PathFor(f.photo)));
    }

    // Changes kept for a deleted project never come back with a new photograph of
    // the same name.
    void importDropsChangesKeptForTheName() {
        Fixture f;
        f.EditAndKeep();
        const QString domy = f.dir.filePath(QStringLiteral("domy"));
        QDir().mkpath(domy);
        const QString target = QDir(domy).filePath(QStringLiteral("dum.bmp"));
        QVERIFY(QFile::copy(RecoveryFile::PathFor(f.photo), RecoveryFile::PathFor(target)));
        const QString jpeg = f.dir.filePath(QStringLiteral("dum.jpg"));
        WriteFile(jpeg, Jpeg(Quadrants(30, 20)));
        f.prompts.fileNames.enqueue(jpeg);
        Workspace ws;
        QVERIFY(ImportPhotograph(ws, f.prompts, domy));
        QVERIFY(!QFile::exists(RecoveryFile::PathFor(target)));
        Workspace again;
        QVERIFY(OpenProjectFile(again, f.prompts, target));
        QVERIFY(f.prompts.asked.isEmpty());
    }

    // References changed in an unsaved session are kept beside the mask's changes and
    // come back with them; an earlier version's kept changes, without references,
    // keep the saved ones; kept references that cannot be read are reported and the
    // saved ones stay.
    void referencesKeptWithTheChanges_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("kept"); // empty: the program's own, "-": none
        QTest::addColumn<int>("expected");    // references after opening
        QTest::addColumn<bool>("warned");
        QTest::newRow("yes") << int(Prompts::Yes) << QByteArray() << 2 << false;
        QTest::newRow("no") << int(Prompts::No) << QByteArray() << 1 << false;
        QTest::newRow("yes, none kept") << int(Prompts::Yes) << QByteArray("-") << 1 << false;
        QTest::newRow("yes, all removed")
            << int(Prompts::Yes) << QByteArray("TINTORA-MERENI 1\n") << 0 << false;
        QTest::newRow("yes, damaged")
            << int(Prompts::Yes) << QByteArray("TINTORA-MERENI 1\nx\n") << 1 << true;
    }
    void referencesKeptWithTheChanges() {
        QFETCH(int, answer);
        QFETCH(QByteArray, kept);
        QFETCH(int, expected);
        QFETCH(bool, warned);
        Fixture f;
        const PlaneReference line{PlaneReference::Kind::Length, {{1, 1}, {21, 1}}, 1.0, 0};
        {
            Workspace ws;
            QVERIFY(OpenProjectFile(ws, f.prompts, f.photo));
            Measuring::AddReference(ws.Doc, line);
            QCOMPARE(SaveMask(ws.Doc, f.prompts), SaveResult::Saved);
            Measuring::AddReference(ws.Doc, line);
            QVERIFY(Measuring::ChooseLayerPlane(ws.Doc, 1, 1));
            RecoveryFile::Write(ws.Doc);
        }
        const QString keptPath = RecoveryFile::MeasuresPathFor(f.photo);
        QCOMPARE(keptPath, f.photo + QStringLiteral(".mereni.obnova"));
        QVERIFY(QFile::exists(keptPath));
        if (kept == "-")
            QFile::remove(keptPath);
        else if (!kept.isEmpty())
            WriteFile(keptPath, kept);
        f.prompts.asked.clear();
        f.prompts.answers.enqueue(Prompts::Button(answer));
        Workspace ws;
        QVERIFY(OpenProjectFile(ws, f.prompts, f.photo));
        QCOMPARE(ws.Doc.Measures.References.size(), expected);
        if (expected == 2)
            QCOMPARE(ws.Doc.Measures.PlaneOfLayer(QStringLiteral("Zeď")), 1);
        QCOMPARE(f.prompts.asked.size(), warned ? 2 : 1);
        if (warned)
            QVERIFY(f.prompts.asked[1].text.contains(QStringLiteral("je poškozený")));
        QVERIFY(!QFile::exists(keptPath));
        QVERIFY(!QFile::exists(RecoveryFile::PathFor(f.photo)));
    }
};

QTEST_GUILESS_MAIN(TestRecovery)
#include "test_recovery.moc"
