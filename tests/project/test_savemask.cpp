#include "support/ScriptedPrompts.h"
#include "workspace/SaveMask.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
