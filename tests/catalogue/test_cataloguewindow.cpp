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
        CatalogueWindow window(dir.path(), prompts);
        QVERIFY(prompts.asked.isEmpty());
        QCOMPARE(window.windowTitle(), QStringLiteral("barvy"));
        // Above the main window it belongs to, not above the program's dialogs.
        QVERIFY(!(window.windowFlags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(Rows(window.fanDeckList),
                 (QStringList{"Syntetika", "Exteriér", "Exteriér", "Moje"}));
        QCOMPARE(window.fanDeckList->currentRow(), 0);
        QCOMPARE(window.paintKindCombo->currentText(), QStringLiteral("Email"));
        QCOMPARE(Rows(window.shadeList), QStringList{"S 001 - 01"});
        QVERIFY(window.alkydAndDispersionAction->isChecked());
        QVERIFY(window.showOwnFanDecksAction->isChecked());
        QVERIFY(window.sortByInsertionAction->isChecked());
        QVERIFY(!window.sortByNameAction->isChecked());
        QCOMPARE(window.quantityEdit->text(), QStringLiteral("0"));
        // The unit of the selected paint kind ("Email", in litres), not a stale one.
        QCOMPARE(window.unitLabel->text(), QStringLiteral("l"));
        QCOMPARE(window.searchEdit->text(), QStringLiteral("E"));
        QCOMPARE(window.fanDeckTypeAheadTimer.interval(), 1000);
        window.show();
        QCOMPARE(window.fanDeckTypeAheadTimer.interval(), CatalogueWindow::TypeAheadInterval);
        // Under the 24-pixel strip "VĚJÍŘE" the fan decks, under "ODSTÍNY" the shades.
        QCOMPARE(window.fanDeckList->geometry(), QRect(0, 24, 216, 100));
        QCOMPARE(window.shadeList->y(), 24 + 100 + 24);
        QVERIFY(!window.grab().isNull()); // every row drawn once
    }

    void menusAndChecks() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        window.onlyAlkydAction->trigger();
        QVERIFY(window.onlyAlkydAction->isChecked());
        QVERIFY(!window.alkydAndDispersionAction->isChecked());
        QCOMPARE(Rows(window.fanDeckList), QStringList{"Syntetika"});
        window.showOwnFanDecksAction->trigger();
        QVERIFY(!window.showOwnFanDecksAction->isChecked());
        window.onlyDispersionAction->trigger();
        QCOMPARE(Rows(window.fanDeckList), (QStringList{"Exteriér", "Exteriér"}));

        window.fanDeckList->setCurrentRow(0);
        window.onFanDeckListClicked();
        QCOMPARE(Rows(window.shadeList).size(), 3);
        window.sortByNameAction->trigger();
        QVERIFY(window.sortByNameAction->isChecked());
        QVERIFY(!window.sortByInsertionAction->isChecked());
        QCOMPARE(Rows(window.shadeList), (QStringList{"E 001 - 01", "E 001 - 02", "E 002 - 01"}));
        window.sortByColourAction->trigger();
        QVERIFY(window.sortByColourAction->isChecked());
        QCOMPARE(Rows(window.shadeList), (QStringList{"E 001 - 02", "E 002 - 01", "E 001 - 01"}));

        window.onPaintKindChanged(1);
        QCOMPARE(window.unitLabel->text(), QStringLiteral("Kg"));
        QCOMPARE(Rows(window.shadeList), QStringList{"E 101 - 01"});

        window.searchEdit->setText(QStringLiteral("Žlutá"));
        window.onSearchEntered();
        QCOMPARE(Rows(window.shadeList), QStringList{"Žlutá kuchyň"});
        QCOMPARE(window.Model.Mode, ShadeListMode::FoundShades);
        QCOMPARE(window.shadeList->visualItemRect(window.shadeList->item(0)).height(), 40);

        window.showOwnFanDecksAction->trigger();
        window.alkydAndDispersionAction->trigger();
        QCOMPARE(window.fanDeckList->count(), 4);
        QVERIFY(!window.grab().isNull());
    }

    void typeAheadInTheShadeList() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        int assigned = -2;
        window.AssignShade = [&assigned](int, Colour, int shadeId, int, int, const QString&) {
            assigned = shadeId;
        };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The timers' first run after creation commits once on its own; let it pass.
        QTRY_VERIFY(!window.fanDeckTypeAheadTimer.isActive() &&
                    !window.shadeTypeAheadTimer.isActive());
        assigned = -2;
        window.fanDeckList->setCurrentRow(1);
        window.onFanDeckListClicked();
        window.sortByNameAction->trigger();
        window.shadeList->setFocus();
        QTest::keyClicks(window.shadeList, QStringLiteral("e 002"));
        QVERIFY(window.shadeTypeAhead->isVisible());
        QCOMPARE(window.shadeTypeAhead->text(), QStringLiteral("e 002"));
        QCOMPARE(window.shadeList->currentRow(), 2);
        QVERIFY(window.shadeTypeAheadTimer.isActive());
        QTRY_COMPARE_WITH_TIMEOUT(assigned, 1, 3000); // "E 002 - 01" has id 1
        QVERIFY(!window.shadeTypeAhead->isVisible());
        QTest::keyClick(window.shadeList, Qt::Key_Backspace);
        QCOMPARE(window.shadeTypeAhead->text(), QString());
        QTest::keyClicks(window.shadeList, QStringLiteral("q"));
        QCOMPARE(window.shadeList->currentRow(), 0);
    }

    void typeAheadReachesTheLastFanDeck() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(!window.fanDeckTypeAheadTimer.isActive() &&
                    !window.shadeTypeAheadTimer.isActive());
        window.fanDeckList->setFocus();
        QTest::keyClicks(window.fanDeckList, QStringLiteral("mo"));
        QCOMPARE(window.fanDeckList->currentRow(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(window.paintKindCombo->currentText(),
                                  QStringLiteral("Fasádní barva"), 3000);
        QCOMPARE(Rows(window.shadeList), (QStringList{"Žlutá kuchyň", "O'Neil"}));
    }

    void missingCatalogueIsReportedOnce() {
        QTemporaryDir empty;
        ScriptedPrompts prompts;
        CatalogueWindow window(empty.path(), prompts);
        QCOMPARE(prompts.asked.size(), 1);
        QVERIFY(prompts.asked[0].text.contains(QStringLiteral("odrex.tom")));
        QCOMPARE(prompts.asked[0].icon, Prompts::Icon::Error);
        QCOMPARE(window.fanDeckList->count(), 0);
        window.onlyAlkydAction->trigger(); // nothing to load, nothing reported
        QCOMPARE(prompts.asked.size(), 1);
    }

    void wrongVersionEndsTheProgram() {
        QTemporaryDir other;
        QCOMPARE(TestCatalogue::Build(other.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows(1)),
                 QString());
        ScriptedPrompts prompts;
        bool ended = false;
        CatalogueWindow window(other.path(), prompts, nullptr, [&ended] { ended = true; });
        QVERIFY(ended);
        QCOMPARE(prompts.Texts(),
                 QStringList{QStringLiteral("Špatná databáze! Kontaktujte výrobce programu.")});
        QCOMPARE(prompts.asked[0].buttons, Prompts::Buttons(Prompts::Ok));
    }

    void showForLayerWithAndWithoutAShade() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        QList<int> assigned;
        QString quantity;
        window.AssignShade = [&](int layer, Colour colour, int shadeId, int deckId, int kindId,
                                 const QString& q) {
            assigned = {layer, colour, shadeId, deckId, kindId};
            quantity = q;
        };
        // A layer coloured with shade 4 of fan deck 13 and paint kind 2, quantity 12.
        LayerRecord coloured = NewLayerTemplate(1);
        coloured.Name = QStringLiteral("Sokl");
        coloured.ShadeId = 4;
        coloured.FanDeckId = 13;
        coloured.PaintKindId = 2;
        coloured.Quantity = 12;
        window.ShowForLayer(2, coloured);
        QCOMPARE(window.windowTitle(), QStringLiteral("Sokl"));
        QVERIFY(window.isVisible());
        QCOMPARE(window.fanDeckList->count(), 3); // every fan deck name once
        QCOMPARE(window.fanDeckList->currentItem()->text(), QStringLiteral("Exteriér"));
        QCOMPARE(window.paintKindCombo->currentText(), QStringLiteral("Silikonová barva"));
        QCOMPARE(window.shadeList->currentItem()->text(), QStringLiteral("E 101 - 01"));
        QCOMPARE(window.quantityEdit->text(), QStringLiteral("12"));
        QVERIFY(assigned.isEmpty()); // shown, not assigned again

        // Then a layer with no shade and its own quantity: that quantity, no shade of
        // the layer before shown as its, the lists as they were.
        LayerRecord plain = NewLayerTemplate(1);
        plain.Name = QStringLiteral("Fasáda");
        plain.Quantity = 48;
        window.ShowForLayer(1, plain);
        QCOMPARE(window.windowTitle(), QStringLiteral("Fasáda"));
        QCOMPARE(window.quantityEdit->text(), QStringLiteral("48"));
        QCOMPARE(window.Model.SelectedShade, -1);
        QVERIFY(window.shadeList->selectedItems().isEmpty());
        QCOMPARE(Rows(window.shadeList), QStringList{"E 101 - 01"});
        // Choosing a shade writes the layer's own quantity back.
        window.shadeList->setCurrentRow(0);
        window.onShadeListClicked();
        QCOMPARE(assigned, (QList<int>{1, Rgb(0, 0, 0), 4, 13, 2}));
        QCOMPARE(quantity, QStringLiteral("48"));
    }

    // A shade choice that gives the layer a paint kind of another unit clears the
    // quantity (it was typed for the other unit) and the notice line says so; one of
    // the same unit keeps it.
    void aPaintKindOfAnotherUnitClearsTheQuantity() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        LayerRecord layer = NewLayerTemplate(1);
        layer.Name = QStringLiteral("Sokl");
        layer.ShadeId = 4;
        layer.FanDeckId = 13;
        layer.PaintKindId = 2; // "Silikonová barva", Kg
        layer.Quantity = 12;
        QString quantity;
        window.AssignShade = [&](int, Colour, int shadeId, int deckId, int kindId,
                                 const QString& q) {
            layer.ShadeId = shadeId;
            layer.FanDeckId = deckId;
            layer.PaintKindId = kindId;
            quantity = q;
        };
        window.PaintKindOfLayer = [&layer](int) { return layer.PaintKindId; };
        window.ShowForLayer(1, layer);
        // A found shade of the other "Exteriér", carried by "Fasádní barva" (l).
        window.searchEdit->setText(QStringLiteral("E 001 - 02"));
        window.onSearchEntered();
        window.shadeList->setCurrentRow(0);
        window.onShadeListClicked();
        QCOMPARE(layer.PaintKindId, 1);
        QCOMPARE(quantity, QStringLiteral("0"));
        QCOMPARE(window.quantityEdit->text(), QStringLiteral("0"));
        QCOMPARE(window.noticeLabel->text(),
                 QStringLiteral("Druh barvy změněn na Fasádní barva (l), zkontrolujte množství"));
        // Whole in the window: wrapped within its width, every line within its height.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The search's caption ends before its field, colon and all.
        const auto* searchLabel = window.findChild<QLabel*>(QStringLiteral("searchLabel"));
        QVERIFY(searchLabel
                    ->mapTo(&window, QPoint(searchLabel->fontMetrics().horizontalAdvance(
                                                searchLabel->text()),
                                            0))
                    .x() < window.searchEdit->mapTo(&window, QPoint(0, 0)).x() - 2);
        QLabel& notice = *window.noticeLabel;
        QTRY_VERIFY(notice.height() > 20); // two lines, once the layout has settled
        const QRect needed = notice.fontMetrics().boundingRect(
            notice.contentsRect(), Qt::TextWordWrap | Qt::AlignCenter, notice.text());
        QVERIFY2(notice.contentsRect().contains(needed),
                 qPrintable(QStringLiteral("%1 × %2 in %3 × %4")
                                .arg(needed.width())
                                .arg(needed.height())
                                .arg(notice.contentsRect().width())
                                .arg(notice.contentsRect().height())));
        // Another shade of the same paint kind: what is typed now stays.
        window.quantityEdit->setText(QStringLiteral("9"));
        window.searchEdit->setText(QStringLiteral("E 002"));
        window.onSearchEntered();
        window.shadeList->setCurrentRow(0);
        window.onShadeListClicked();
        QCOMPARE(quantity, QStringLiteral("9"));
        QCOMPARE(window.noticeLabel->text(), QString());
        QVERIFY(prompts.asked.isEmpty());
    }

    void foundShadesAndWholeFanDeck() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        QList<int> assigned;
        window.AssignShade = [&](int layer, Colour colour, int shadeId, int deckId, int kindId,
                                 const QString&) {
            assigned = {layer, colour, shadeId, deckId, kindId};
        };
        window.CurrentLayerIndex = 1;
        window.searchEdit->setText(QStringLiteral("101"));
        window.onSearchEntered();
        window.shadeList->setCurrentRow(0);
        window.onShadeListClicked();
        // The paint kinds of the found shade's own fan deck, the first one used.
        QCOMPARE(window.paintKindCombo->count(), 1);
        QCOMPARE(window.paintKindCombo->currentText(), QStringLiteral("Silikonová barva"));
        QCOMPARE(assigned, (QList<int>{1, Rgb(0, 0, 0), 4, 13, 2}));

        window.onlyAlkydAction->trigger();
        window.onSearchEntered();
        window.shadeList->setCurrentRow(0);
        assigned.clear();
        window.onShowWholeFanDeckTriggered();
        QVERIFY(window.alkydAndDispersionAction->isChecked());
        QCOMPARE(window.fanDeckList->count(), 4);
        QCOMPARE(window.fanDeckList->currentRow(), 2); // the row with id 13
        QCOMPARE(window.shadeList->currentItem()->text(), QStringLiteral("E 101 - 01"));
        QVERIFY(assigned.isEmpty());
    }

    void shadeWithoutColourAndRemark() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        Colour colour = 0;
        window.AssignShade = [&](int, Colour c, int, int, int, const QString&) { colour = c; };
        window.fanDeckList->setCurrentRow(1);
        window.onFanDeckListClicked();
        window.sortByInsertionAction->trigger();
        window.shadeList->setCurrentRow(2); // E 001 - 01: red NULL
        window.onShadeListClicked();
        QCOMPARE(colour, NoColour);
        window.shadeList->setCurrentRow(1); // with a remark
        window.onShadeListClicked();
        QCOMPARE(window.noticeLabel->text(), QStringLiteral("Vhodné i do exteriéru"));
    }

    void quantityField() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        QList<int> stored;
        window.StoreQuantity = [&stored](int layer, int quantity) { stored = {layer, quantity}; };
        window.CurrentLayerIndex = 3;
        window.quantityEdit->setText(QStringLiteral("12"));
        window.onQuantityEntered();
        QCOMPARE(stored, (QList<int>{3, 12}));
        stored.clear();
        window.quantityEdit->setText(QStringLiteral("1,5"));
        window.onQuantityEntered();
        QVERIFY(stored.isEmpty());
        QCOMPARE(prompts.Texts(),
                 QStringList{QStringLiteral("Vkládaná hodnota musí být celé číslo.")});
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Chyba při vkládání parametru"));
        QCOMPARE(window.quantityEdit->text(), QStringLiteral("1,5"));
    }

    void droppedLinkWritesNowhere() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        bool assigned = false;
        window.AssignShade = [&](int, Colour, int, int, int, const QString&) { assigned = true; };
        window.show();
        window.DropLayerLink();
        QVERIFY(!window.isVisible());
        window.shadeList->setCurrentRow(0);
        window.onShadeListClicked();
        QVERIFY(!assigned);
    }

    // One left click or one key move is one choice; focus and the context menu are
    // none, so a search result survives a right click on a fan deck.
    void oneUserActionIsOneChoice() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        window.fanDeckTypeAheadTimer.stop();
        window.shadeTypeAheadTimer.stop();
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
        QTest::mouseClick(window.fanDeckList->viewport(), Qt::LeftButton, {},
                          centreOf(window.fanDeckList, 1));
        QCOMPARE(loads.count(), 1);
        QCOMPARE(Rows(window.shadeList).size(), 3);

        window.shadeList->setFocus(Qt::TabFocusReason);
        QCOMPARE(assigned, 0);
        QVERIFY(window.shadeList->selectedItems().isEmpty());
        QTest::mouseClick(window.shadeList->viewport(), Qt::LeftButton, {},
                          centreOf(window.shadeList, 1));
        QCOMPARE(assigned, 1);
        QTest::keyClick(window.shadeList, Qt::Key_Down);
        QCOMPARE(assigned, 2);
        QCOMPARE(window.shadeList->selectedItems().constFirst()->text(), Rows(window.shadeList)[2]);
        QTest::keyClick(window.shadeList, Qt::Key_Down); // already the last row
        QCOMPARE(assigned, 2);

        QTest::mouseClick(window.shadeList->viewport(), Qt::RightButton, {},
                          centreOf(window.shadeList, 0));
        window.shadeMenu->hide();
        QCOMPARE(assigned, 2);
        QCOMPARE(window.shadeList->row(window.shadeList->selectedItems().constFirst()), 2);

        window.searchEdit->setText(QStringLiteral("E"));
        window.onSearchEntered();
        const QStringList found = Rows(window.shadeList);
        loads.clear();
        QTest::mouseClick(window.fanDeckList->viewport(), Qt::RightButton, {},
                          centreOf(window.fanDeckList, 0));
        window.fanDeckMenu->hide();
        QCOMPARE(loads.count(), 0);
        QCOMPARE(window.Model.Mode, ShadeListMode::FoundShades);
        QCOMPARE(Rows(window.shadeList), found);
        QCOMPARE(assigned, 2);
    }

    // The quantity is typed in the unit shown beside it, so the unit is always that of
    // the paint kind in the box, also after a fan-deck choice selected the first one.
    void unitFollowsTheSelectedPaintKind() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        window.fanDeckList->setCurrentRow(1); // Exteriér: Fasádní barva (l), Silikonová (Kg)
        window.onFanDeckListClicked();
        QCOMPARE(window.unitLabel->text(), QStringLiteral("l"));
        window.onPaintKindChanged(1);
        QCOMPARE(window.unitLabel->text(), QStringLiteral("Kg"));
        window.fanDeckList->setCurrentRow(0); // Syntetika: Email (l)
        window.onFanDeckListClicked();
        QCOMPARE(window.paintKindCombo->currentText(), QStringLiteral("Email"));
        QCOMPARE(window.unitLabel->text(), QStringLiteral("l"));
        // A found shade of another fan deck brings that fan deck's paint kinds.
        window.CurrentLayerIndex = 1;
        window.searchEdit->setText(QStringLiteral("101"));
        window.onSearchEntered();
        window.shadeList->setCurrentRow(0);
        window.onShadeListClicked();
        QCOMPARE(window.paintKindCombo->currentText(), QStringLiteral("Silikonová barva"));
        QCOMPARE(window.unitLabel->text(), QStringLiteral("Kg"));
    }

    // Found shades are drawn with their fan deck a size smaller, without complaints.
    void foundShadeRowsDrawQuietly() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        window.searchEdit->setText(QStringLiteral("E"));
        window.onSearchEntered();
        QVERIFY(window.shadeList->count() > 2);
        window.show();
        QTest::failOnWarning(QRegularExpression(QStringLiteral("QFont")));
        QVERIFY(!window.shadeList->viewport()->grab().isNull());
    }

    // The frame round a row's swatch: its right and bottom lines are the last pixels of
    // (4, 1, 61, bottom), right and bottom exclusive, with the row's background after.
    void shadeRowFrameEndsWhereItShould_data() {
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("frameBottom"); // exclusive
        QTest::newRow("a fan deck's shades") << false << 30;
        QTest::newRow("found shades") << true << 38;
    }
    void shadeRowFrameEndsWhereItShould() {
        QFETCH(bool, found);
        QFETCH(int, frameBottom);
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        if (found) {
            window.searchEdit->setText(QStringLiteral("E"));
            window.onSearchEntered();
        } else {
            window.fanDeckList->setCurrentRow(1);
            window.onFanDeckListClicked();
        }
        QVERIFY(window.shadeList->count() > 1);
        window.shadeList->setCurrentRow(-1);
        window.show();
        const QImage seen = window.shadeList->viewport()->grab().toImage();
        const QRect row = window.shadeList->visualItemRect(window.shadeList->item(1));
        const QColor frame(202, 210, 218), background(235, 250, 254);
        const auto at = [&](int x, int y) {
            return seen.pixelColor(row.left() + x, row.top() + y);
        };
        QCOMPARE(at(4, 10), frame);
        QCOMPARE(at(60, 10), frame);
        QCOMPARE(at(61, 10), background);
        QCOMPARE(at(30, 1), frame);
        QCOMPARE(at(30, frameBottom - 1), frame);
        QCOMPARE(at(30, frameBottom), background);
    }

    void paintKindBoxGrowsWithTheWindow() {
        ScriptedPrompts prompts;
        CatalogueWindow window(dir.path(), prompts);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.paintKindCombo->geometry().left(), 24);
        QCOMPARE(window.paintKindCombo->width(), 175);
        window.resize(316, window.height());
        QTRY_COMPARE(window.paintKindCombo->width(), 275);
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestCatalogueWindow)
#include "test_cataloguewindow.moc"
