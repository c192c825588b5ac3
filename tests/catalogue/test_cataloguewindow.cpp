#include "catalogue/CatalogueWindow.h"
#include "project/LayerRecord.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"
#include "support/TestWidgets.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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
        // The unit of the selected paint kind ("Email", in litres), not a stale one.
        QCOMPARE(window.LabelUnit->text(), QStringLiteral("l"));
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
        QTRY_COMPARE_WITH_TIMEOUT(assigned, 1, 3000); // "E 002 - 01" has id 1
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

    void showForLayerWithAndWithoutAShade() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        QList<int> assigned;
        QString quantity;
        window.AssignShade = [&](int layer, Colour colour, int shadeId, int deckId, int kindId,
                                 const QString& q) {
            assigned = {layer, colour, shadeId, deckId, kindId};
            quantity = q;
        };
        // A layer with no shade: only the title; the lists and the quantity stay.
        window.EditQuantity->setText(QStringLiteral("12"));
        LayerRecord plain = NewLayerTemplate(1);
        plain.Name = QStringLiteral("Fasáda");
        window.ShowForLayer(1, plain);
        QCOMPARE(window.windowTitle(), QStringLiteral("Fasáda"));
        QVERIFY(window.isVisible());
        QCOMPARE(window.ListBoxFirmy->currentRow(), 0);
        QCOMPARE(window.EditQuantity->text(), QStringLiteral("12"));
        // Choosing a shade then carries the quantity to this layer.
        window.ListBoxOdstiny->setCurrentRow(0);
        window.ListBoxOdstinyClick();
        QCOMPARE(assigned, (QList<int>{1, Rgb(255, 255, 255), 5, 20, 3}));
        QCOMPARE(quantity, QStringLiteral("12"));

        // A layer coloured with shade 4 of fan deck 13 and paint kind 2, quantity 7.
        LayerRecord coloured = plain;
        coloured.Name = QStringLiteral("Sokl");
        coloured.ShadeId = 4;
        coloured.FanDeckId = 13;
        coloured.PaintKindId = 2;
        coloured.Quantity = 7;
        assigned.clear();
        window.ShowForLayer(2, coloured);
        QCOMPARE(window.ListBoxFirmy->count(), 3); // every fan deck name once
        QCOMPARE(window.ListBoxFirmy->currentItem()->text(), QStringLiteral("Exteriér"));
        QCOMPARE(window.ComboBoxDruhBarvy->currentText(), QStringLiteral("Silikonová barva"));
        QCOMPARE(window.ListBoxOdstiny->currentItem()->text(), QStringLiteral("E 101 - 01"));
        QCOMPARE(window.EditQuantity->text(), QStringLiteral("7"));
        QVERIFY(assigned.isEmpty()); // shown, not assigned again
    }

    void foundShadesAndWholeFanDeck() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        QList<int> assigned;
        window.AssignShade = [&](int layer, Colour colour, int shadeId, int deckId, int kindId,
                                 const QString&) {
            assigned = {layer, colour, shadeId, deckId, kindId};
        };
        window.CurrentLayerIndex = 1;
        window.EditSearch->setText(QStringLiteral("101"));
        window.EditSearchEnter();
        window.ListBoxOdstiny->setCurrentRow(0);
        window.ListBoxOdstinyClick();
        // The paint kinds of the found shade's own fan deck, the first one used.
        QCOMPARE(window.ComboBoxDruhBarvy->count(), 1);
        QCOMPARE(window.ComboBoxDruhBarvy->currentText(), QStringLiteral("Silikonová barva"));
        QCOMPARE(assigned, (QList<int>{1, Rgb(0, 0, 0), 4, 13, 2}));

        window.OnlyAlkyd->trigger();
        window.EditSearchEnter();
        window.ListBoxOdstiny->setCurrentRow(0);
        assigned.clear();
        window.ShowVejirFromOdstinClick();
        QVERIFY(window.AlkydDisperz->isChecked());
        QCOMPARE(window.ListBoxFirmy->count(), 4);
        QCOMPARE(window.ListBoxFirmy->currentRow(), 2); // the row with id 13
        QCOMPARE(window.ListBoxOdstiny->currentItem()->text(), QStringLiteral("E 101 - 01"));
        QVERIFY(assigned.isEmpty());
    }

    void shadeWithoutColourAndRemark() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        Colour colour = 0;
        window.AssignShade = [&](int, Colour c, int, int, int, const QString&) { colour = c; };
        window.ListBoxFirmy->setCurrentRow(1);
        window.ListBoxFirmyClick();
        window.ShortOdstinDB->trigger();
        window.ListBoxOdstiny->setCurrentRow(2); // E 001 - 01: red NULL
        window.ListBoxOdstinyClick();
        QCOMPARE(colour, NoColour);
        window.ListBoxOdstiny->setCurrentRow(1); // with a remark
        window.ListBoxOdstinyClick();
        QCOMPARE(window.LabelNotice->text(), QStringLiteral("Vhodné i do exteriéru"));
    }

    void quantityField() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        QList<int> stored;
        window.StoreQuantity = [&stored](int layer, int quantity) { stored = {layer, quantity}; };
        window.CurrentLayerIndex = 3;
        window.EditQuantity->setText(QStringLiteral("12"));
        window.EditQuantityEnter();
        QCOMPARE(stored, (QList<int>{3, 12}));
        stored.clear();
        window.EditQuantity->setText(QStringLiteral("1,5"));
        window.EditQuantityEnter();
        QVERIFY(stored.isEmpty());
        QCOMPARE(prompts.Texts(),
                 QStringList{QStringLiteral("Vkládaná hodnota musí být celé číslo.")});
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Chyba při vkládání parametru"));
        QCOMPARE(window.EditQuantity->text(), QStringLiteral("1,5"));
    }

    void droppedLinkWritesNowhere() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        bool assigned = false;
        window.AssignShade = [&](int, Colour, int, int, int, const QString&) { assigned = true; };
        window.show();
        window.DropLayerLink();
        QVERIFY(!window.isVisible());
        window.ListBoxOdstiny->setCurrentRow(0);
        window.ListBoxOdstinyClick();
        QVERIFY(!assigned);
    }

    // One left click or one key move is one choice; focus and the context menu are
    // none, so a search result survives a right click on a fan deck.
    void oneUserActionIsOneChoice() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        window.Timer1.stop();
        window.Timer2.stop();
        int assigned = 0;
        window.AssignShade = [&assigned](int, Colour, int, int, int, const QString&) {
            ++assigned;
        };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto centreOf = [](QListWidget* list, int row) {
            return list->visualItemRect(list->item(row)).center();
        };
        QSignalSpy loads(&window.Model, &CatalogueModel::PaintKindsChanged);
        QTest::mouseClick(window.ListBoxFirmy->viewport(), Qt::LeftButton, {},
                          centreOf(window.ListBoxFirmy, 1));
        QCOMPARE(loads.count(), 1);
        QCOMPARE(Rows(window.ListBoxOdstiny).size(), 3);

        window.ListBoxOdstiny->setFocus(Qt::TabFocusReason);
        QCOMPARE(assigned, 0);
        QVERIFY(window.ListBoxOdstiny->selectedItems().isEmpty());
        QTest::mouseClick(window.ListBoxOdstiny->viewport(), Qt::LeftButton, {},
                          centreOf(window.ListBoxOdstiny, 1));
        QCOMPARE(assigned, 1);
        QTest::keyClick(window.ListBoxOdstiny, Qt::Key_Down);
        QCOMPARE(assigned, 2);
        QCOMPARE(window.ListBoxOdstiny->selectedItems().constFirst()->text(),
                 Rows(window.ListBoxOdstiny)[2]);
        QTest::keyClick(window.ListBoxOdstiny, Qt::Key_Down); // already the last row
        QCOMPARE(assigned, 2);

        QTest::mouseClick(window.ListBoxOdstiny->viewport(), Qt::RightButton, {},
                          centreOf(window.ListBoxOdstiny, 0));
        window.ShadeMenu->hide();
        QCOMPARE(assigned, 2);
        QCOMPARE(window.ListBoxOdstiny->row(window.ListBoxOdstiny->selectedItems().constFirst()),
                 2);

        window.EditSearch->setText(QStringLiteral("E"));
        window.EditSearchEnter();
        const QStringList found = Rows(window.ListBoxOdstiny);
        loads.clear();
        QTest::mouseClick(window.ListBoxFirmy->viewport(), Qt::RightButton, {},
                          centreOf(window.ListBoxFirmy, 0));
        window.FanDeckMenu->hide();
        QCOMPARE(loads.count(), 0);
        QCOMPARE(window.Model.Mode, ShadeListMode::FoundShades);
        QCOMPARE(Rows(window.ListBoxOdstiny), found);
        QCOMPARE(assigned, 2);
    }

    // The quantity is typed in the unit shown beside it, so the unit is always that of
    // the paint kind in the box, also after a fan-deck choice selected the first one.
    void unitFollowsTheSelectedPaintKind() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        window.ListBoxFirmy->setCurrentRow(1); // Exteriér: Fasádní barva (l), Silikonová (Kg)
        window.ListBoxFirmyClick();
        QCOMPARE(window.LabelUnit->text(), QStringLiteral("l"));
        window.ComboBoxDruhBarvyChange(1);
        QCOMPARE(window.LabelUnit->text(), QStringLiteral("Kg"));
        window.ListBoxFirmy->setCurrentRow(0); // Syntetika: Email (l)
        window.ListBoxFirmyClick();
        QCOMPARE(window.ComboBoxDruhBarvy->currentText(), QStringLiteral("Email"));
        QCOMPARE(window.LabelUnit->text(), QStringLiteral("l"));
        // A found shade of another fan deck brings that fan deck's paint kinds.
        window.CurrentLayerIndex = 1;
        window.EditSearch->setText(QStringLiteral("101"));
        window.EditSearchEnter();
        window.ListBoxOdstiny->setCurrentRow(0);
        window.ListBoxOdstinyClick();
        QCOMPARE(window.ComboBoxDruhBarvy->currentText(), QStringLiteral("Silikonová barva"));
        QCOMPARE(window.LabelUnit->text(), QStringLiteral("Kg"));
    }

    // Found shades are drawn with their fan deck a size smaller, without complaints.
    void foundShadeRowsDrawQuietly() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        window.EditSearch->setText(QStringLiteral("E"));
        window.EditSearchEnter();
        QVERIFY(window.ListBoxOdstiny->count() > 2);
        window.show();
        QTest::failOnWarning(QRegularExpression(QStringLiteral("QFont")));
        QVERIFY(!window.ListBoxOdstiny->viewport()->grab().isNull());
    }

    void paintKindBoxGrowsWithTheWindow() {
        ScriptedPrompts prompts;
        Tbarvy window(dir.path(), prompts);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.ComboBoxDruhBarvy->geometry().left(), 24);
        QCOMPARE(window.ComboBoxDruhBarvy->width(), 175);
        window.resize(316, window.height());
        QTRY_COMPARE(window.ComboBoxDruhBarvy->width(), 275);
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestCatalogueWindow)
#include "test_cataloguewindow.moc"
