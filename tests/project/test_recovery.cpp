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

#include <unistd.h>

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
        // Not in the project's folder, nor in the folder the program runs in.
        QTemporaryDir current;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(current.path()));
        RecoveryFile::Write(doc);
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(
            QDir(current.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
        Workspace ws;
        QVERIFY(OpenProjectFile(ws, f.prompts, f.photo));
        RecoveryFile::Write(ws.Doc); // opened, not modified
        QVERIFY(!QFile::exists(RecoveryFile::PathFor(f.photo)));
        QVERIFY(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden).size() == 2);
    }

    // Yes opens the kept changes as unsaved changes, and the file goes (a signal keeps
    // them again). No opens the saved version and keeps the file, unless the user
    // confirms that the changes are to be discarded: one mis-click lost them for good.
    // A question the program's end closed unanswered keeps it too.
    void openingOffersTheKeptChanges_data() {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<bool>("kept");
        QTest::newRow("yes") << QList<int>{Prompts::Yes} << true << false;
        QTest::newRow("no, then discard them")
            << QList<int>{Prompts::No, Prompts::Yes} << false << false;
        QTest::newRow("no, then keep them")
            << QList<int>{Prompts::No, Prompts::No} << false << true;
        QTest::newRow("no, then the program ends")
            << QList<int>{Prompts::No, Prompts::NoButton} << false << true;
        QTest::newRow("the program ends during the question")
            << QList<int>{Prompts::NoButton} << false << true;
    }
    void openingOffersTheKeptChanges() {
        QFETCH(QList<int>, answers);
        QFETCH(bool, taken);
        QFETCH(bool, kept);
        Fixture f;
        const Document edited = f.EditAndKeep();
        const QByteArray keptBytes = ReadAll(RecoveryFile::PathFor(f.photo));
        Workspace ws;
        for (const int answer : answers)
            f.prompts.answers.enqueue(Prompts::Button(answer));
        QVERIFY(OpenProjectFile(ws, f.prompts, f.photo));
        QCOMPARE(f.prompts.asked.size(), answers.size());
        QCOMPARE(f.prompts.asked[0].text, QStringLiteral("Obnovit neuložené změny?"));
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Dotaz"));
        QCOMPARE(f.prompts.asked[0].icon, Prompts::Icon::Question);
        QCOMPARE(f.prompts.asked[0].buttons, Prompts::Yes | Prompts::No);
        if (answers.size() > 1) {
            QCOMPARE(f.prompts.asked[1].text,
                     QStringLiteral("Neuložené změny zůstanou uschovány a projekt je nabídne při "
                                    "příštím otevření.\nChcete je místo toho natrvalo zahodit?"));
            QCOMPARE(f.prompts.asked[1].caption, QStringLiteral("Potvrzení"));
            QCOMPARE(f.prompts.asked[1].buttons, Prompts::Yes | Prompts::No);
        }
        QCOMPARE(QFile::exists(RecoveryFile::PathFor(f.photo)), kept);
        if (kept)
            QCOMPARE(ReadAll(RecoveryFile::PathFor(f.photo)), keptBytes);
        QCOMPARE(ReadAll(f.photo + QStringLiteral(".mask")), f.savedMask);
        if (taken) {
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
        // Opening again offers what is still kept, and only that.
        f.prompts.asked.clear();
        f.prompts.answers.clear();
        f.prompts.answers.enqueue(Prompts::Yes);
        Workspace again;
        QVERIFY(OpenProjectFile(again, f.prompts, f.photo));
        QCOMPARE(f.prompts.Texts(),
                 kept ? QStringList{QStringLiteral("Obnovit neuložené změny?")} : QStringList());
        if (kept)
            QCOMPARE(again.Doc.Mask, edited.Mask);
    }

    // Changes kept and declined go with the next save of the project: what was saved
    // is newer. A save that fails keeps them.
    void savingTheProjectDropsKeptChanges() {
        Fixture f;
        f.EditAndKeep();
        Workspace ws;
        f.prompts.answers << Prompts::No << Prompts::No;
        QVERIFY(OpenProjectFile(ws, f.prompts, f.photo));
        QVERIFY(QFile::exists(RecoveryFile::PathFor(f.photo)));
        QFile::setPermissions(f.photo + QStringLiteral(".mask"), QFile::ReadOwner);
        QFile::setPermissions(f.dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        const SaveResult failed = SaveMask(ws.Doc, f.prompts);
        QFile::setPermissions(f.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (::geteuid() != 0) { // the administrator may write anywhere
            QCOMPARE(failed, SaveResult::Failed);
            QVERIFY(QFile::exists(RecoveryFile::PathFor(f.photo)));
        }
        QCOMPARE(SaveMask(ws.Doc, f.prompts), SaveResult::Saved);
        QVERIFY(!QFile::exists(RecoveryFile::PathFor(f.photo)));
    }

    // Kept changes that do not fit the photograph (in width or in height) are
    // reported, not offered; the saved version opens and the file stays for the user
    // to look at.
    void unfittingKeptChangesAreReported_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("one column wider") << QSize(31, 20);
        QTest::newRow("one row taller") << QSize(30, 21);
        QTest::newRow("one row shorter") << QSize(30, 19);
    }
    void unfittingKeptChangesAreReported() {
        QFETCH(QSize, size);
        Fixture f;
        TMask::CreateBlank(size.width(), size.height())
            .SaveToFile(RecoveryFile::PathFor(f.photo), {OriginalLayerTemplate()}, {});
        Workspace ws;
        QVERIFY(OpenProjectFile(ws, f.prompts, f.photo));
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QCOMPARE(f.prompts.asked[0].text,
                 QStringLiteral("Neuložené změny projektu nelze obnovit.\nMaska %1 (%2 × %3 bodů) "
                                "nepatří k obrázku velikosti 30 × 20 bodů.")
                     .arg(QDir::toNativeSeparators(RecoveryFile::PathFor(f.photo)),
                          QString::number(size.width()), QString::number(size.height())));
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
        // Ne keeps both files until the user confirms discarding them (not here).
        const bool stay = answer == Prompts::No;
        QCOMPARE(f.prompts.asked.size(), (warned ? 2 : 1) + (stay ? 1 : 0));
        if (warned)
            QVERIFY(f.prompts.asked[1].text.contains(QStringLiteral("je poškozený")));
        QCOMPARE(QFile::exists(keptPath), stay);
        QCOMPARE(QFile::exists(RecoveryFile::PathFor(f.photo)), stay);
    }
};

QTEST_GUILESS_MAIN(TestRecovery)
#include "test_recovery.moc"
