#include "catalogue/CatalogueWindow.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList Rows(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

} // namespace

class TestCatalogueWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        QCOMPARE(TestCatalogue::Build(dir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows()),
                 QString());
    }

    void startState() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        QVERIFY(prompts.asked.isEmpty());
        QCOMPARE(window.windowTitle(), QStringLiteral("barvy"));
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(Rows(window.ListBoxFirmy),
                 (QStringList{"Syntetika", "Exteriér", "Exteriér", "Moje"}));
        QCOMPARE(window.ListBoxFirmy->currentRow(), 0);
        QCOMPARE(window.ComboBoxDruhBarvy->currentText(), QStringLiteral("Email"));
        QCOMPARE(Rows(window.ListBoxOdstiny), QStringList{"S 001 - 01"});
        QVERIFY(window.AlkydDisperz->isChecked());
        QVERIFY(window.ShowVlastniVejire->isChecked());
        QVERIFY(window.ShortOdstinDB->isChecked());
        QVERIFY(!window.ShortOdstinName->isChecked());
        QCOMPARE(window.EditQuantity->text(), QStringLiteral("0"));
        QCOMPARE(window.LabelUnit->text(), QStringLiteral("Kg"));
        QCOMPARE(window.EditSearch->text(), QStringLiteral("E"));
        QCOMPARE(window.Timer1.interval(), 1000);
        window.show();
        QCOMPARE(window.Timer1.interval(), Tbarvy::TypeAheadInterval);
        QVERIFY(!window.grab().isNull()); // every row drawn once
    }

    void menusAndChecks() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        window.OnlyAlkyd->trigger();
        QVERIFY(window.OnlyAlkyd->isChecked());
        QVERIFY(!window.AlkydDisperz->isChecked());
        QCOMPARE(Rows(window.ListBoxFirmy), QStringList{"Syntetika"});
        window.ShowVlastniVejire->trigger();
        QVERIFY(!window.ShowVlastniVejire->isChecked());
        window.OnlyDisperz->trigger();
        QCOMPARE(Rows(window.ListBoxFirmy), (QStringList{"Exteriér", "Exteriér"}));

        window.ListBoxFirmy->setCurrentRow(0);
        window.ListBoxFirmyClick();
        QCOMPARE(Rows(window.ListBoxOdstiny).size(), 3);
        window.ShortOdstinName->trigger();
        QVERIFY(window.ShortOdstinName->isChecked());
        QVERIFY(!window.ShortOdstinDB->isChecked());
        QCOMPARE(Rows(window.ListBoxOdstiny),
                 (QStringList{"E 001 - 01", "E 001 - 02", "E 002 - 01"}));
        window.ShortOdstinColor->trigger();
        QVERIFY(window.ShortOdstinColor->isChecked());
        QCOMPARE(Rows(window.ListBoxOdstiny),
                 (QStringList{"E 001 - 02", "E 002 - 01", "E 001 - 01"}));

        window.ComboBoxDruhBarvyChange(1);
        QCOMPARE(window.LabelUnit->text(), QStringLiteral("Kg"));
        QCOMPARE(Rows(window.ListBoxOdstiny), QStringList{"E 101 - 01"});

        window.EditSearch->setText(QStringLiteral("Žlutá"));
        window.EditSearchEnter();
        QCOMPARE(Rows(window.ListBoxOdstiny), QStringList{"Žlutá kuchyň"});
        QCOMPARE(window.Model.Mode, ShadeListMode::FoundShades);
        QCOMPARE(window.ListBoxOdstiny->visualItemRect(window.ListBoxOdstiny->item(0)).height(),
                 40);

        window.ShowVlastniVejire->trigger();
        window.AlkydDisperz->trigger();
        QCOMPARE(window.ListBoxFirmy->count(), 4);
        QVERIFY(!window.grab().isNull());
    }

    void typeAheadInTheShadeList() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        int assigned = -2;
        window.AssignShade = [&assigned](int, Colour, int shadeId, int, int, const QString&) {
            assigned = shadeId;
        };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The timers' first run after creation commits once on its own; let it pass.
        QTRY_VERIFY(!window.Timer1.isActive() && !window.Timer2.isActive());
        assigned = -2;
        window.ListBoxFirmy->setCurrentRow(1);
        window.ListBoxFirmyClick();
        window.ShortOdstinName->trigger();
        window.ListBoxOdstiny->setFocus();
        QTest::keyClicks(window.ListBoxOdstiny, QStringLiteral("e 002"));
        QVERIFY(window.ShadeTypeAhead->isVisible());
        QCOMPARE(window.ShadeTypeAhead->text(), QStringLiteral("e 002"));
        QCOMPARE(window.ListBoxOdstiny->currentRow(), 2);
        QVERIFY(window.Timer2.isActive());
        QTRY_COMPARE_WITH_TIMEOUT(assigned, 1, 3000);  // "E 002 - 01" has id 1
        QVERIFY(!window.ShadeTypeAhead->isVisible());
        QTest::keyClick(window.ListBoxOdstiny, Qt::Key_Backspace);
        QCOMPARE(window.ShadeTypeAhead->text(), QString());
        QTest::keyClicks(window.ListBoxOdstiny, QStringLiteral("q"));
        QCOMPARE(window.ListBoxOdstiny->currentRow(), 0);
    }

    void typeAheadReachesTheLastFanDeck() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(!window.Timer1.isActive() && !window.Timer2.isActive());
        window.ListBoxFirmy->setFocus();
        QTest::keyClicks(window.ListBoxFirmy, QStringLiteral("mo"));
        QCOMPARE(window.ListBoxFirmy->currentRow(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(window.ComboBoxDruhBarvy->currentText(),
                                  QStringLiteral("Fasádní barva"), 3000);
        QCOMPARE(Rows(window.ListBoxOdstiny), (QStringList{"Žlutá kuchyň", "O'Neil"}));
    }

    void missingCatalogueIsReportedOnce() {
        QTemporaryDir empty;
        ScriptedPrompts prompts;
        Tbarvy window(empty.path(), prompts);
        QCOMPARE(prompts.asked.size(), 1);
        QVERIFY(prompts.asked[0].text.contains(QStringLiteral("odrex.tom")));
        QCOMPARE(prompts.asked[0].icon, Prompts::Icon::Error);
        QCOMPARE(window.ListBoxFirmy->count(), 0);
        window.OnlyAlkyd->trigger(); // nothing to load, nothing reported
        QCOMPARE(prompts.asked.size(), 1);
    }

    void wrongVersionEndsTheProgram() {
        QTemporaryDir other;
        QCOMPARE(TestCatalogue::Build(other.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows(1)),
                 QString());
        ScriptedPrompts prompts;
        bool ended = false;
        Tbarvy window(other.path(), prompts, nullptr, [&ended] { ended = true; });
        QVERIFY(ended);
        QCOMPARE(prompts.Texts(),
                 QStringList{QStringLiteral("Špatná databáze! Kontaktujte výrobce programu.")});
        QCOMPARE(prompts.asked[0].buttons, Prompts::Buttons(Prompts::Ok));
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestCatalogueWindow)
#include "test_cataloguewindow.moc"
