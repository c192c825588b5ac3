// The palette window through its controls, on a real catalogue: layout, cells chosen
// by mouse and keys, the catalogue's commands that open it, following the catalogue's
// list, both search buttons, the likeness ranking, the free colour on a real picture,
// placement and closing.
#include "DemoHouse.h"
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "catalogue/CatalogueWindow.h"
#include "palette/PaletteCells.h"
#include "palette/PaletteGrid.h"
#include "palette/PaletteWindow.h"
#include "palette/ShadeRanking.h"
#include "render/ShadePixel.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"
#include "support/TestProjects.h"
#include "support/TestWidgets.h"
#include "widgets/GlintImage.h"
#include "workspace/ProjectOperations.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Assignment {
    int layer;
    Colour colour;
    int shadeId;
    int fanDeckId;
    int paintKindId;
};

// The catalogue and the palette side by side, with the catalogue's assignments kept.
struct Windows {
    ScriptedPrompts prompts;
    CatalogueWindow catalogue;
    PaletteWindow palette;
    QList<Assignment> assigned;

    explicit Windows(const QString& appDir)
        : catalogue(appDir, prompts), palette(catalogue, prompts) {
        catalogue.AssignShade = [this](int layer, Colour colour, int shadeId, int fanDeckId,
                                       int paintKindId, const QString&) {
            assigned.append({layer, colour, shadeId, fanDeckId, paintKindId});
        };
        catalogue.CurrentLayerIndex = 1;
    }

    void ChooseFanDeck(const QString& name) {
        catalogue.fanDeckList->setCurrentRow(int(Rows(catalogue.fanDeckList).indexOf(name)));
        catalogue.onFanDeckListClicked();
    }
    QPoint CellCentre(QPoint cell) const {
        return palette.shadeGrid->CellRectInView(cell).center();
    }
    void ClickCell(QPoint cell) {
        QTest::mouseClick(palette.shadeGrid->viewport(), Qt::LeftButton, {}, CellCentre(cell));
    }
    const ShadeRecord& Selected() const {
        return catalogue.Model.Shades[catalogue.Model.SelectedShade];
    }
};

QStringList LabelTexts(const QWidget& window) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

QColor ViewColour(const QImage& image, QPoint at) {
    return image.pixelColor(at);
}

} // namespace

class TestPaletteWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        QCOMPARE(TestCatalogue::Build(dir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::PaletteRows()),
                 QString());
    }

    void layoutAtItsInitialSize() {
        Windows w(dir.path());
        PaletteWindow& palette = w.palette;
        QCOMPARE(palette.windowTitle(), QStringLiteral("Paleta barev"));
        QVERIFY(palette.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!palette.isModal());
        QVERIFY(!palette.isVisible());
        QCOMPARE(palette.size(), QSize(780, 531));
        for (QLineEdit* edit :
             {palette.redToleranceEdit, palette.greenToleranceEdit, palette.blueToleranceEdit}) {
            QCOMPARE(edit->text(), QStringLiteral("30"));
            QCOMPARE(edit->width(), 33);
        }
        const QString hint =
            QStringLiteral("Vyhledat podobné odstínz v e všech vějířích se yadanou tolerancí");
        QCOMPARE(palette.searchButton->toolTip(), hint);
        QCOMPARE(palette.freeColourSearchButton->toolTip(), hint);
        QCOMPARE(palette.searchButton->size(), QSize(114, 18));
        QVERIFY(!palette.rankButton->toolTip().isEmpty());
        const QStringList texts = LabelTexts(palette);
        for (const char* caption :
             {"Tolerance pro vyhledání podobné barvy:", "Zvolit barvu z palety:", "Vějíř:",
              "Odstín:", "Červená:", "Zelená:", "Modrá:"})
            QVERIFY2(texts.contains(QString::fromUtf8(caption)), caption);
        QCOMPARE(texts.count(QStringLiteral("Červená:")), 2);
        QCOMPARE(palette.freeColourShape->geometry(), QRect(608, 64, 81, 25));
        QCOMPARE(palette.previewShape->geometry(), QRect(21, 51, 89, 57));

        w.ChooseFanDeck(QStringLiteral("Paleta"));
        w.catalogue.shadeList->setCurrentRow(0);
        w.catalogue.onShadeListDoubleClicked();
        QVERIFY(palette.isVisible());
        QCOMPARE(palette.infoPanel->height(), 128);
        QCOMPARE(palette.hintBar->height(), 21);
        // The hint bar ends in a grey line, and its captions are bold.
        QCOMPARE(palette.hintBar->grab().toImage().pixelColor(5, 20), QColor(160, 160, 160));
        for (QLabel* label : palette.hintBar->findChildren<QLabel*>()) {
            if (label->text().endsWith(QLatin1Char(':')))
                QVERIFY2(label->font().bold(), qPrintable(label->text()));
        }
        QCOMPARE(palette.shadeGrid->width(), 780);
        QCOMPARE(palette.shadeGrid->Shape(), (PaletteLayout::GridShape{26, 2}));
        QCOMPARE(palette.shadeGrid->geometry().bottom(), palette.height() - 1);
    }

    // 35 shades: 10 columns at 300 and 329 pixels, 11 at 330, and the selected
    // shade's cell moves with the columns.
    void thirtyFiveShadesAtThreeWidths() {
        Windows w(dir.path());
        w.ChooseFanDeck(QStringLiteral("Paleta"));
        QCOMPARE(w.catalogue.Model.Shades.size(), 35);
        w.catalogue.SelectShadeRow(34);
        w.catalogue.onShowFanDeckPaletteTriggered();
        PaletteWindow& palette = w.palette;
        QVERIFY(palette.isVisible());
        const struct {
            int width;
            PaletteLayout::GridShape shape;
            QPoint cell;
        } steps[] = {{300, {10, 4}, {4, 3}},
                     {329, {10, 4}, {4, 3}},
                     {330, {11, 4}, {1, 3}},
                     {300, {10, 4}, {4, 3}}};
        for (const auto& step : steps) {
            palette.resize(step.width, 531);
            QCOMPARE(palette.shadeGrid->width(), step.width);
            QCOMPARE(palette.shadeGrid->Shape(), step.shape);
            QCOMPARE(palette.shadeGrid->CurrentCell(), step.cell);
        }
        QVERIFY(w.assigned.isEmpty()); // laying out chooses nothing
        // The last row at 300: five coloured cells, five empty ones.
        const QImage grid = palette.shadeGrid->viewport()->grab().toImage();
        QCOMPARE(grid.pixelColor(w.CellCentre({4, 3})),
                 QColor(QColor(7 * 35, 135, (37 * 35) % 256)));
        QCOMPARE(grid.pixelColor(w.CellCentre({5, 3})), PaletteCells::GridBackground);
    }

    void aCellChosenByMouseGoesIntoTheLayer() {
        Windows w(dir.path());
        w.ChooseFanDeck(QStringLiteral("Paleta"));
        w.catalogue.shadeList->setCurrentRow(0);
        w.catalogue.onShadeListDoubleClicked();
        PaletteWindow& palette = w.palette;
        w.ClickCell({2, 0}); // "P 03": 21, 103, 111
        QCOMPARE(w.catalogue.Model.SelectedShade, 2);
        QCOMPARE(w.catalogue.shadeList->currentRow(), 2);
        QCOMPARE(w.assigned.size(), 1);
        QCOMPARE(w.assigned[0].shadeId, 103);
        QCOMPARE(w.assigned[0].colour, Rgb(21, 103, 111));
        QCOMPARE(w.assigned[0].fanDeckId, 40);
        QCOMPARE(w.assigned[0].layer, 1);
        QCOMPARE(palette.redValueLabel->text(), QStringLiteral("21"));
        QCOMPARE(palette.greenValueLabel->text(), QStringLiteral("103"));
        QCOMPARE(palette.blueValueLabel->text(), QStringLiteral("111"));
        QCOMPARE(palette.shadeLabel->text(), QStringLiteral("P 03"));
        QCOMPARE(palette.fanDeckLabel->text(), QStringLiteral("[D] Paleta"));
        QCOMPARE(palette.previewShape->Brush(), QBrush(QColor(21, 103, 111)));
        QCOMPARE(palette.shadeGrid->CurrentCell(), QPoint(2, 0));
        // The difference is to the shade the palette was opened on ("P 01"), not to the
        // one just clicked, so that candidates can be compared.
        QCOMPARE(palette.deltaELabel->text(), ShadeRanking::DeltaEText(ShadeRanking::DeltaE00(
                                                  Rgb(7, 101, 37), Rgb(21, 103, 111))));
        QVERIFY(palette.deltaELabel->text() != QStringLiteral("ΔE 0,0"));

        // Keys move the same way: right goes to "P 04".
        palette.shadeGrid->setFocus();
        QTest::keyClick(palette.shadeGrid, Qt::Key_Right);
        QCOMPARE(w.catalogue.Model.SelectedShade, 3);
        QCOMPARE(w.assigned.last().shadeId, 104);
        QTest::keyClick(palette.shadeGrid, Qt::Key_Down);
        QCOMPARE(w.catalogue.Model.SelectedShade, 29);
        QCOMPARE(w.assigned.size(), 3);
    }

    void aShadeWithoutColourShowsACrossAndHatchedPreview() {
        Windows w(dir.path());
        w.ChooseFanDeck(QStringLiteral("Paleta"));
        w.catalogue.SelectShadeRow(0);
        w.catalogue.onShadeListDoubleClicked();
        PaletteWindow& palette = w.palette;
        const QImage grid = palette.shadeGrid->viewport()->grab().toImage();
        const QRect cell = palette.shadeGrid->CellRectInView({6, 0}); // "P 07"
        int red = 0;
        for (int x = cell.left(); x <= cell.right(); ++x)
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                red += grid.pixelColor(x, y) == PaletteCells::NoColourCross ? 1 : 0;
        QVERIFY(red > 10);
        QCOMPARE(grid.pixelColor(cell.left() + 3, cell.top() + 3), PaletteCells::GridBackground);

        w.ClickCell({6, 0});
        QCOMPARE(w.assigned.last().colour, NoColour);
        QCOMPARE(w.assigned.last().shadeId, 107);
        QCOMPARE(palette.redValueLabel->text(), QString());
        QCOMPARE(palette.greenValueLabel->text(), QString());
        QCOMPARE(palette.blueValueLabel->text(), QString());
        QCOMPARE(palette.previewShape->Brush().style(), Qt::DiagCrossPattern);
        QCOMPARE(palette.previewShape->Brush().color(), QColor(255, 0, 0));
        QCOMPARE(palette.deltaELabel->text(), QString());

        // A free colour then shows as a solid preview.
        w.prompts.colours.enqueue(Rgb(10, 20, 30));
        QTest::mouseClick(palette.freeColourShape, Qt::LeftButton);
        QCOMPARE(palette.previewShape->Brush(), QBrush(QColor(10, 20, 30)));
        QCOMPARE(palette.freeColourShape->Brush(), QBrush(QColor(10, 20, 30)));
        QCOMPARE(palette.redValueLabel->text(), QStringLiteral("10"));
    }

    // A click on an empty cell after the last shade keeps both selections and runs
    // the catalogue's click action again for the shade already selected.
    void anEmptyCellRepeatsTheClickAction() {
        Windows w(dir.path());
        w.ChooseFanDeck(QStringLiteral("Paleta"));
        w.catalogue.SelectShadeRow(0);
        w.catalogue.onShadeListDoubleClicked();
        w.palette.resize(300, 531);
        w.ClickCell({4, 3}); // "P 35"
        QCOMPARE(w.assigned.size(), 1);
        const QString labels = w.palette.redValueLabel->text();
        w.ClickCell({7, 3});
        QCOMPARE(w.assigned.size(), 2);
        QCOMPARE(w.assigned[1].shadeId, 135);
        QCOMPARE(w.catalogue.Model.SelectedShade, 34);
        QCOMPARE(w.catalogue.shadeList->currentRow(), 34);
        QCOMPARE(w.palette.shadeGrid->CurrentCell(), QPoint(4, 3));
        QCOMPARE(w.palette.redValueLabel->text(), labels);
        // A key move into the empty cells does the same.
        w.palette.shadeGrid->setFocus();
        QTest::keyClick(w.palette.shadeGrid, Qt::Key_Right);
        QCOMPARE(w.assigned.size(), 3);
        QCOMPARE(w.palette.shadeGrid->CurrentCell(), QPoint(4, 3));
    }

    void aDoubleClickAssignsAndCloses() {
        Windows w(dir.path());
        w.ChooseFanDeck(QStringLiteral("Paleta"));
        w.catalogue.SelectShadeRow(0);
        w.catalogue.onShadeListDoubleClicked();
        // As a double click arrives: a press (with its release), then the double click.
        QTest::mouseClick(w.palette.shadeGrid->viewport(), Qt::LeftButton, {},
                          w.CellCentre({5, 1}));
        QTest::mouseDClick(w.palette.shadeGrid->viewport(), Qt::LeftButton, {},
                           w.CellCentre({5, 1}));
        QVERIFY(!w.palette.isVisible());
        QCOMPARE(w.assigned.size(), 2); // the press, then the double click
        QCOMPARE(w.assigned.last().shadeId, 100 + 26 + 5 + 1);
        QCOMPARE(w.catalogue.Model.SelectedShade, 31);
    }

    // "Zobrazit paletu odstínů vějíře": row 0 selected in the catalogue, nothing
    // assigned, the information panel hidden and the grid taking its height.
    void openedOnTheList() {
        Windows w(dir.path());
        w.ChooseFanDeck(QStringLiteral("Paleta"));
        QCOMPARE(w.catalogue.Model.SelectedShade, -1);
        w.catalogue.onShowFanDeckPaletteTriggered();
        PaletteWindow& palette = w.palette;
        QVERIFY(palette.isVisible());
        QCOMPARE(w.catalogue.Model.SelectedShade, 0);
        QCOMPARE(w.catalogue.shadeList->currentRow(), 0);
        QVERIFY(w.assigned.isEmpty());
        QVERIFY(!palette.infoPanel->isVisible());
        QCOMPARE(palette.shadeGrid->height(), 531 - 1 - 21);
        QCOMPARE(palette.shadeLabel->text(), QStringLiteral("P 01"));
        QCOMPARE(palette.shadeGrid->CurrentCell(), QPoint(0, 0));

        // With an empty list the catalogue warns and the palette stays as it is.
        palette.hide();
        w.catalogue.searchEdit->setText(QStringLiteral("nic takového"));
        w.catalogue.onSearchEntered();
        w.catalogue.onShowFanDeckPaletteTriggered();
        QVERIFY(!palette.isVisible());
        QCOMPARE(w.prompts.Texts(), QStringList{QStringLiteral(
                                        "Paletu nelze zobrazit. Vějíř neobsahuje žádný odstín.")});
    }

    // A double click on a shade row: assigned by the first click, then the palette
    // opens with the information panel and the shade's values.
    void openedOnAShadeRow() {
        Windows w(dir.path());
        w.ChooseFanDeck(QStringLiteral("Paleta"));
        w.catalogue.show();
        QListWidget* list = w.catalogue.shadeList;
        const QRect row = list->visualItemRect(list->item(4));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QVERIFY(w.palette.isVisible());
        QVERIFY(w.palette.infoPanel->isVisible());
        QVERIFY(!w.assigned.isEmpty());
        QCOMPARE(w.assigned.last().shadeId, 105);
        QCOMPARE(w.palette.redValueLabel->text(), QStringLiteral("35"));
        QCOMPARE(w.palette.greenValueLabel->text(), QStringLiteral("105"));
        QCOMPARE(w.palette.blueValueLabel->text(), QString::number((37 * 5) % 256));
        QCOMPARE(w.palette.shadeGrid->CurrentCell(), QPoint(4, 0));
        QCOMPARE(w.palette.shadeLabel->text(), QStringLiteral("P 05"));
    }

    // While showing, the grid follows every refill, re-sort and shade choice of the
    // catalogue.
    void followsTheCatalogue() {
        Windows w(dir.path());
        w.ChooseFanDeck(QStringLiteral("Paleta"));
        w.catalogue.onShowFanDeckPaletteTriggered();
        PaletteWindow& palette = w.palette;
        QCOMPARE(palette.shadeGrid->Shape().rows, 2);

        w.ChooseFanDeck(QStringLiteral("Hrany"));
        QCOMPARE(palette.shadeGrid->Shape(), (PaletteLayout::GridShape{26, 1}));
        QCOMPARE(w.catalogue.Model.SelectedShade, -1); // a load selects nothing

        w.ChooseFanDeck(QStringLiteral("Paleta"));
        w.catalogue.sortByColourAction->trigger();
        const ShadeRecord first = w.catalogue.Model.Shades[0];
        const QImage grid = palette.shadeGrid->viewport()->grab().toImage();
        QCOMPARE(grid.pixelColor(w.CellCentre({0, 0})), QColor(first.red, first.green, first.blue));

        // A shade chosen in the catalogue's list: hint bar and cell follow.
        w.catalogue.shadeList->setCurrentRow(30);
        w.catalogue.onShadeListClicked();
        QCOMPARE(palette.shadeLabel->text(), w.catalogue.Model.Shades[30].name);
        QCOMPARE(palette.shadeGrid->CurrentCell(), QPoint(4, 1));

        w.catalogue.searchEdit->setText(QStringLiteral("H "));
        w.catalogue.onSearchEntered();
        QCOMPARE(w.catalogue.Model.Shades.size(), 12); // "H střed" twice
        QCOMPARE(palette.shadeGrid->Shape(), (PaletteLayout::GridShape{26, 1}));
    }

    void searchButtons() {
        Windows w(dir.path());
        PaletteWindow& palette = w.palette;
        w.ChooseFanDeck(QStringLiteral("Hrany"));
        w.catalogue.SelectShadeRow(int(Rows(w.catalogue.shadeList).indexOf("H střed")));
        w.catalogue.onShadeListDoubleClicked();
        QVERIFY(QTest::qWaitForWindowExposed(&palette));
        QCOMPARE(palette.redValueLabel->text(), QStringLiteral("125"));

        QTest::mouseClick(palette.searchButton, Qt::LeftButton);
        QVERIFY(w.prompts.asked.isEmpty());
        QCOMPARE(w.catalogue.Model.Mode, ShadeListMode::FoundShades);
        QCOMPARE(w.catalogue.shadeList->count(), 4);
        QCOMPARE(w.Selected().name, QStringLiteral("H střed"));
        QCOMPARE(w.Selected().fanDeckId, 41);
        QCOMPARE(palette.shadeLabel->text(), QStringLiteral("H střed"));
        QCOMPARE(palette.fanDeckLabel->text(), QStringLiteral("[D] Hrany"));
        QCOMPARE(palette.redValueLabel->text(), QStringLiteral("125")); // still the colour searched
        QCOMPARE(palette.shadeGrid->CurrentCell(),
                 PaletteLayout::CellOfRow(w.catalogue.Model.SelectedShade, 26));
        QVERIFY(palette.shadeGrid->hasFocus());
        QVERIFY(w.assigned.isEmpty()); // a search assigns nothing

        // Nothing found: the tolerance box's button keeps the grid's cell, the free
        // colour's clears it and says so.
        palette.redToleranceEdit->setText(QStringLiteral("-5"));
        const QPoint before = palette.shadeGrid->CurrentCell();
        QTest::mouseClick(palette.searchButton, Qt::LeftButton);
        QVERIFY(w.prompts.asked.isEmpty());
        QCOMPARE(w.catalogue.shadeList->count(), 0);
        QCOMPARE(palette.shadeGrid->CurrentCell(), QPoint(before.x(), 0));
        QCOMPARE(palette.shadeGrid->Shape().rows, 1);

        QTest::mouseClick(palette.freeColourSearchButton, Qt::LeftButton);
        QCOMPARE(w.prompts.asked.size(), 1);
        QCOMPARE(w.prompts.asked[0].caption, QStringLiteral("Výsledek vyhledávání"));
        QCOMPARE(palette.shadeGrid->CurrentCell(), QPoint(-1, -1));

        // The tolerance box's button without a selected shade: the message, no search.
        w.prompts.asked.clear();
        palette.redToleranceEdit->setText(QStringLiteral("30"));
        QTest::mouseClick(palette.searchButton, Qt::LeftButton);
        QCOMPARE(w.prompts.asked.size(), 1);
        QCOMPARE(w.prompts.asked[0].caption, QStringLiteral("Výsledek vyhledávání"));
        QCOMPARE(w.catalogue.shadeList->count(), 0);

        // A bad tolerance: the parameter message; the list stays.
        w.prompts.asked.clear();
        QTest::mouseClick(palette.freeColourSearchButton, Qt::LeftButton);
        QCOMPARE(w.catalogue.shadeList->count(), 4);
        palette.blueToleranceEdit->setText(QStringLiteral("abc"));
        QTest::mouseClick(palette.freeColourSearchButton, Qt::LeftButton);
        QCOMPARE(w.prompts.asked.size(), 1);
        QCOMPARE(w.prompts.asked[0].caption, QStringLiteral("Chyba při vkládání parametru"));
        QCOMPARE(w.catalogue.shadeList->count(), 4);
    }

    // Around a free colour: the found shades, the ΔE00 of the selected one in the
    // hint bar, and the ranking that puts the nearest first.
    void freeColourSearchRankingAndDeltaE() {
        Windows w(dir.path());
        PaletteWindow& palette = w.palette;
        w.ChooseFanDeck(QStringLiteral("Paleta"));
        w.catalogue.SelectShadeRow(0);
        w.catalogue.onShadeListDoubleClicked(); // with the information panel
        w.prompts.colours.enqueue(Rgb(130, 30, 215));
        QTest::mouseClick(palette.freeColourShape, Qt::LeftButton);
        QCOMPARE(palette.redValueLabel->text(), QStringLiteral("130"));
        QVERIFY(w.assigned.isEmpty()); // the free colour goes to the main window's layer

        QTest::mouseClick(palette.freeColourSearchButton, Qt::LeftButton);
        QCOMPARE(w.catalogue.Model.Shades.size(), 6);
        const Colour reference = Rgb(130, 30, 215);
        QCOMPARE(palette.deltaELabel->text(), ShadeRanking::DeltaEText(ShadeRanking::DeltaE00(
                                                  reference, w.Selected().ColourValue())));
        // Clicking the found shades one by one compares each with the colour searched
        // around, though the value labels follow the clicked shade.
        w.ClickCell({1, 0});
        QVERIFY(palette.redValueLabel->text() != QStringLiteral("130"));
        QCOMPARE(palette.deltaELabel->text(), ShadeRanking::DeltaEText(ShadeRanking::DeltaE00(
                                                  reference, w.Selected().ColourValue())));
        w.prompts.colours.enqueue(Rgb(130, 30, 215)); // back to the free colour
        QTest::mouseClick(palette.freeColourShape, Qt::LeftButton);
        w.assigned.clear();

        w.catalogue.SelectShadeRow(
            int(Rows(w.catalogue.shadeList).indexOf(QStringLiteral("H horní roh"))));
        const ShadeRecord selected = w.Selected();
        QTest::mouseClick(palette.rankButton, Qt::LeftButton);
        QCOMPARE(w.Selected(), selected);
        QCOMPARE(w.catalogue.Model.Shades[0].name, QStringLiteral("H střed"));
        QCOMPARE(w.catalogue.Model.Shades[1].name, QStringLiteral("H střed"));
        QCOMPARE(Rows(w.catalogue.shadeList), w.catalogue.Model.ShadeNames());
        QCOMPARE(w.catalogue.shadeList->currentRow(), w.catalogue.Model.SelectedShade);
        QCOMPARE(palette.shadeGrid->CurrentCell(),
                 PaletteLayout::CellOfRow(w.catalogue.Model.SelectedShade, 26));
        QVERIFY(!w.catalogue.sortByColourAction->isChecked());
        QVERIFY(!w.catalogue.sortByInsertionAction->isChecked());
        QVERIFY(w.assigned.isEmpty());
        QVERIFY(w.prompts.asked.isEmpty());

        // Without a colour to compare with: a message, the list as it was.
        const QStringList rows = Rows(w.catalogue.shadeList);
        palette.redValueLabel->clear();
        QTest::mouseClick(palette.rankButton, Qt::LeftButton);
        QCOMPARE(w.prompts.asked.size(), 1);
        QCOMPARE(Rows(w.catalogue.shadeList), rows);
    }

    // First shown over the main window's picture, never at the screen's corner; then
    // where the user put it. Closing only hides it.
    void placementAndClosing() {
        Windows w(dir.path());
        PaletteWindow& palette = w.palette;
        const QRect picture(10, 20, 780, 560);
        QWidget pictureArea;
        pictureArea.setGeometry(picture);
        pictureArea.show();
        palette.PictureArea = &pictureArea;
        w.ChooseFanDeck(QStringLiteral("Paleta"));
        w.catalogue.onShowFanDeckPaletteTriggered();
        QVERIFY(palette.isVisible());
        QVERIFY(palette.pos() != QPoint(0, 0));
        QVERIFY2((palette.frameGeometry().center() - picture.center()).manhattanLength() <= 6,
                 qPrintable(QStringLiteral("%1 %2 %3 %4")
                                .arg(palette.frameGeometry().x())
                                .arg(palette.frameGeometry().y())
                                .arg(palette.frameGeometry().width())
                                .arg(palette.frameGeometry().height())));

        palette.move(120, 90);
        palette.close();
        QVERIFY(!palette.isVisible());
        w.catalogue.SelectShadeRow(3);
        w.catalogue.onShadeListDoubleClicked();
        QVERIFY(palette.isVisible());
        QCOMPARE(palette.pos(), QPoint(120, 90));
        QCOMPARE(palette.shadeLabel->text(), QStringLiteral("P 04"));
    }

    // The free colour on a real project: the layer of the main window's current row
    // takes it with references 0 and its quantity kept, the document is changed, the
    // picture recoloured; the catalogue's list is untouched.
    void freeColourOnAPicture() {
        QTemporaryDir appDir;
        const QString photo = SaveDemoProject(appDir.path(), QStringLiteral("dum.bmp"), 240, 160);
        QCOMPARE(TestCatalogue::Build(appDir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::PaletteRows()),
                 QString());
        ScriptedPrompts prompts;
        AppWindows windows(appDir.path(), &prompts);
        MainWindow& mainWindow = *windows.mainWindow;
        Workspace& ws = mainWindow.Workspace();
        mainWindow.show();
        QVERIFY(OpenProjectFile(ws, prompts, photo));
        const int facade = 1;
        ws.Doc.Layers[facade].Quantity = 12;
        ws.Doc.Layers[facade].HiddenInColourMode = false;
        ws.Doc.Modified = false;
        PaletteWindow& palette = *windows.palette;
        CatalogueWindow& catalogue = *windows.catalogue;
        const QStringList listBefore = Rows(catalogue.shadeList);

        // No layer selected: only the palette's own controls change.
        mainWindow.layerList->clearSelection();
        const LayerList layersBefore = ws.Doc.Layers;
        prompts.colours.enqueue(Rgb(1, 2, 3));
        QTest::mouseClick(palette.freeColourShape, Qt::LeftButton);
        QCOMPARE(palette.blueValueLabel->text(), QStringLiteral("3"));
        QCOMPARE(ws.Doc.Layers, layersBefore);
        QVERIFY(!ws.Doc.Modified);
        // "Originál" takes no colour either.
        mainWindow.layerList->setCurrentRow(0);
        prompts.colours.enqueue(Rgb(1, 2, 3));
        QTest::mouseClick(palette.freeColourShape, Qt::LeftButton);
        QCOMPARE(ws.Doc.Layers, layersBefore);

        mainWindow.layerList->setCurrentRow(facade);
        prompts.colours.enqueue(Rgb(10, 20, 30));
        QTest::mouseClick(palette.freeColourShape, Qt::LeftButton);
        QCOMPARE(palette.redValueLabel->text(), QStringLiteral("10"));
        QCOMPARE(palette.greenValueLabel->text(), QStringLiteral("20"));
        QCOMPARE(palette.blueValueLabel->text(), QStringLiteral("30"));
        const LayerRecord& layer = ws.Doc.Layers[facade];
        QCOMPARE(layer.ShadeColour, Rgb(10, 20, 30));
        QCOMPARE(layer.ShadeId, 0);
        QCOMPARE(layer.FanDeckId, 0);
        QCOMPARE(layer.PaintKindId, 0);
        QCOMPARE(layer.Quantity, 12);
        QVERIFY(ws.Doc.Modified);
        QCOMPARE(Rows(catalogue.shadeList), listBefore);

        ws.Marker.EraseMarker(ws.ViewBitmap);
        int checked = 0;
        for (int y = 0; y < ws.Doc.Mask.Height; y += 3) {
            for (int x = 0; x < ws.Doc.Mask.Width; x += 3) {
                if (ws.Doc.Mask.LayerAt(x, y) != facade)
                    continue;
                const QColor p = ws.Doc.PhotoBitmap.pixelColor(x, y);
                const QColor v = ViewColour(ws.ViewBitmap, QPoint(x, y));
                QCOMPARE(Rgb(v.red(), v.green(), v.blue()),
                         ShadePixel(Rgb(p.red(), p.green(), p.blue()), ws.Doc.Layers, facade));
                ++checked;
            }
        }
        QVERIFY(checked > 100);
        QCOMPARE(palette.freeColourShape->Brush(), QBrush(QColor(10, 20, 30)));
        // The colour dialog opens on the colour last chosen in it.
        prompts.colourInitials.clear();
        QTest::mouseClick(palette.freeColourShape, Qt::LeftButton); // cancelled: nothing changes
        QCOMPARE(prompts.colourInitials, QList<Colour>{Rgb(10, 20, 30)});
        QCOMPARE(ws.Doc.Layers[facade].ShadeColour, Rgb(10, 20, 30));
        QCOMPARE(palette.redValueLabel->text(), QStringLiteral("10"));
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestPaletteWindow)
#include "test_palettewindow.moc"
