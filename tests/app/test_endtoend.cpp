// The main job from end to end, through the windows: open the demo house, make a
// layer with a sampled real colour, paint, draw lines, fill, undo and redo, pick a
// shade in the catalogue, see the layer recoloured, save and open again.
#include "CatalogueScript.h"
#include "DemoHouse.h"
#include "app/AppWindows.h"
#include "app/ImageView.h"
#include "app/MainWindow.h"
#include "catalogue/CatalogueWindow.h"
#include "layers/LayerDialog.h"
#include "layers/MasterChooserDialog.h"
#include "overview/OverviewRowPainter.h"
#include "overview/OverviewWindow.h"
#include "palette/PaletteGrid.h"
#include "palette/PaletteWindow.h"
#include "project/CzechNumber.h"
#include "project/PhotoFiles.h"
#include "render/ShadePixel.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"
#include "support/TestProjects.h"
#include "support/TestWidgets.h"
#include "widgets/GlintImage.h"
#include "workspace/ProjectOperations.h"

#include <QPushButton>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScrollArea>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void theMainJob() {
        QTemporaryDir dir;
        const QString photo =
            SaveDemoProject(dir.path(), QStringLiteral("Rodinný dům.bmp"), 360, 240);
        QCOMPARE(TestCatalogue::Build(dir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows()),
                 QString());

        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        MainWindow& mainWindow = *windows.mainWindow;
        Workspace& ws = mainWindow.Workspace();
        mainWindow.resize(1000, 700);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        QVERIFY(OpenProjectFile(ws, prompts, photo));
        const int layersBefore = int(ws.Doc.Layers.size());

        // Mask mode, then a new layer whose real colour is sampled from the garden.
        QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QVERIFY(ws.MaskEditMode);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("newLayerButton")), Qt::LeftButton);
        LayerDialog& dialog = *windows.layerDialog;
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.MaskColour(), AutoMaskColour(layersBefore));
        // The name typed and the mask colour chosen first survive the sample.
        dialog.nameEdit->insert(QStringLiteral("Trávník")); // typed
        prompts.colours.enqueue(Rgb(40, 200, 60));
        QTest::mouseClick(dialog.maskColourPanel, Qt::LeftButton);
        QCOMPARE(dialog.MaskColour(), Rgb(40, 200, 60));
        const QPoint garden(20, 230);
        QTest::mouseClick(mainWindow.imageView, Qt::LeftButton, {}, garden);
        QVERIFY(dialog.RealColour() != Rgb(208, 208, 208));
        QCOMPARE(dialog.nameEdit->text(), QStringLiteral("Trávník"));
        QCOMPARE(dialog.MaskColour(), Rgb(40, 200, 60));
        QVERIFY(ws.History.NodeCount() == 0); // a sample paints nothing
        QTest::mouseClick(dialog.confirmButton, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        const int lawn = layersBefore;
        QCOMPARE(ws.Doc.Layers.size(), layersBefore + 1);
        QCOMPARE(mainWindow.layerList->currentRow(), lawn);

        // Pencil, two line presses and a tolerance fill of the garden.
        QTest::mouseClick(mainWindow.Button(QStringLiteral("pencilButton")), Qt::LeftButton);
        QTest::mouseClick(mainWindow.imageView, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(int(ws.Doc.Mask.LayerAt(10, 10)), lawn);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("linesButton")), Qt::LeftButton);
        QTest::mouseClick(mainWindow.imageView, Qt::LeftButton, {}, QPoint(30, 20));
        QTest::mouseClick(mainWindow.imageView, Qt::LeftButton, {}, QPoint(60, 20));
        QCOMPARE(int(ws.Doc.Mask.LayerAt(45, 20)), lawn);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("toleranceFillButton")), Qt::LeftButton);
        // Threshold 60: the grass, not the path or the sky.
        mainWindow.toolSettingSlider->setValue(12);
        QCOMPARE(mainWindow.Tools().ActiveTolerance, 60);
        QTest::mouseClick(mainWindow.imageView, Qt::LeftButton, {}, QPoint(15, 232));
        QCOMPARE(int(ws.Doc.Mask.LayerAt(5, 235)), lawn);
        const TMask filled = ws.Doc.Mask;

        // Undo the fill, redo it.
        QTest::mouseClick(mainWindow.Button(QStringLiteral("undoButton")), Qt::LeftButton);
        QVERIFY(ws.Doc.Mask != filled);
        QCOMPARE(int(ws.Doc.Mask.LayerAt(5, 235)), 0);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("redoButton")), Qt::LeftButton);
        QCOMPARE(ws.Doc.Mask, filled);

        // Colour mode, the layer shown there, then the catalogue from its swatch.
        QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        const QRect row = mainWindow.layerList->visualItemRect(mainWindow.layerList->item(lawn));
        mainWindow.layerList->scrollToItem(mainWindow.layerList->item(lawn));
        const QRect shown = mainWindow.layerList->visualItemRect(mainWindow.layerList->item(lawn));
        QTest::mouseClick(mainWindow.layerList->viewport(), Qt::LeftButton, {},
                          shown.topLeft() + QPoint(10, 10));
        QVERIFY(!ws.Doc.Layers[lawn].HiddenInColourMode);
        QTest::mouseClick(mainWindow.layerList->viewport(), Qt::LeftButton, {},
                          shown.topLeft() + QPoint(45, 10));
        CatalogueWindow& catalogue = *windows.catalogue;
        QVERIFY(catalogue.isVisible());
        QCOMPARE(catalogue.windowTitle(), QStringLiteral("Trávník"));
        Q_UNUSED(row);

        // A shade of the first fan deck goes into the layer at once.
        const QRect shadeRow = catalogue.shadeList->visualItemRect(catalogue.shadeList->item(0));
        QTest::mouseClick(catalogue.shadeList->viewport(), Qt::LeftButton, {}, shadeRow.center());
        const LayerRecord& layer = ws.Doc.Layers[lawn];
        QCOMPARE(layer.ShadeColour, catalogue.Model.Shades[0].ColourValue());
        QCOMPARE(layer.ShadeId, catalogue.Model.Shades[0].id);

        // Every view pixel of the layer is ShadePixel of the photograph's pixel.
        ws.Marker.EraseMarker(ws.ViewBitmap);
        int checked = 0;
        for (int y = 0; y < ws.Doc.Mask.Height; ++y) {
            for (int x = 0; x < ws.Doc.Mask.Width; ++x) {
                if (ws.Doc.Mask.LayerAt(x, y) != lawn)
                    continue;
                const QColor p = ws.Doc.PhotoBitmap.pixelColor(x, y);
                const QColor v = ws.ViewBitmap.pixelColor(x, y);
                QCOMPARE(Rgb(v.red(), v.green(), v.blue()),
                         ShadePixel(Rgb(p.red(), p.green(), p.blue()), ws.Doc.Layers, lawn));
                ++checked;
            }
        }
        QVERIFY(checked > 1000);

        // Save, open again: the same mask.
        prompts.asked.clear();
        QTest::mouseClick(mainWindow.Button(QStringLiteral("saveButton")), Qt::LeftButton);
        QCOMPARE(prompts.Texts(), QStringList{QStringLiteral("Soubor byl uložen")});
        const TMask saved = ws.Doc.Mask;
        QVERIFY(OpenProjectFile(ws, prompts, photo));
        QCOMPARE(ws.Doc.Mask, saved);
        QCOMPARE(ws.Doc.Layers[lawn].Name, QStringLiteral("Trávník"));
        // Opening another project dropped the catalogue's link to the layer.
        QVERIFY(!catalogue.isVisible());
        QCOMPARE(catalogue.CurrentLayerIndex, -1);
    }

    // The palette's way: the catalogue opened for a layer, a double click on a shade
    // opens the palette on it, a cell picked there recolours the layer, and a double
    // click on another cell takes that one and closes the palette.
    void aShadePickedInThePalette() {
        QTemporaryDir dir;
        const QString photo = SaveDemoProject(dir.path(), QStringLiteral("dum.bmp"), 300, 200);
        QCOMPARE(TestCatalogue::Build(dir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::PaletteRows()),
                 QString());
        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        MainWindow& mainWindow = *windows.mainWindow;
        Workspace& ws = mainWindow.Workspace();
        mainWindow.resize(1000, 700);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        QVERIFY(OpenProjectFile(ws, prompts, photo));
        const int facade = 1;
        ws.Doc.Layers[facade].HiddenInColourMode = false;

        // The facade's swatch opens the catalogue for it; the fan deck "Paleta".
        mainWindow.layerList->scrollToItem(mainWindow.layerList->item(facade));
        const QRect layerRow =
            mainWindow.layerList->visualItemRect(mainWindow.layerList->item(facade));
        QTest::mouseClick(mainWindow.layerList->viewport(), Qt::LeftButton, {},
                          layerRow.topLeft() + QPoint(45, 10));
        CatalogueWindow& catalogue = *windows.catalogue;
        QVERIFY(catalogue.isVisible());
        QListWidget* decks = catalogue.fanDeckList;
        const int paleta = int(Rows(decks).indexOf(QStringLiteral("Paleta")));
        QTest::mouseClick(decks->viewport(), Qt::LeftButton, {},
                          decks->visualItemRect(decks->item(paleta)).center());
        QCOMPARE(catalogue.shadeList->count(), 35);

        // A double click on "P 03": assigned by its first click, the palette opens on it.
        QListWidget* shades = catalogue.shadeList;
        const QPoint shadeRow = shades->visualItemRect(shades->item(2)).center();
        QTest::mouseClick(shades->viewport(), Qt::LeftButton, {}, shadeRow);
        QTest::mouseDClick(shades->viewport(), Qt::LeftButton, {}, shadeRow);
        PaletteWindow& palette = *windows.palette;
        QVERIFY(palette.isVisible());
        QVERIFY(palette.infoPanel->isVisible());
        QCOMPARE(palette.redValueLabel->text(), QStringLiteral("21"));
        QCOMPARE(ws.Doc.Layers[facade].ShadeId, 103);

        // A cell picked in the grid goes into the facade and recolours it.
        const QPoint cell(11, 0); // "P 12"
        QTest::mouseClick(palette.shadeGrid->viewport(), Qt::LeftButton, {},
                          palette.shadeGrid->CellRectInView(cell).center());
        const ShadeRecord& picked = catalogue.Model.Shades[11];
        QCOMPARE(ws.Doc.Layers[facade].ShadeId, picked.id);
        QCOMPARE(ws.Doc.Layers[facade].ShadeColour, picked.ColourValue());
        QCOMPARE(shades->currentRow(), 11);
        QCOMPARE(palette.shadeLabel->text(), QStringLiteral("P 12"));
        ws.Marker.EraseMarker(ws.ViewBitmap);
        int checked = 0;
        for (int y = 0; y < ws.Doc.Mask.Height; y += 2) {
            for (int x = 0; x < ws.Doc.Mask.Width; x += 2) {
                if (ws.Doc.Mask.LayerAt(x, y) != facade)
                    continue;
                const QColor p = ws.Doc.PhotoBitmap.pixelColor(x, y);
                const QColor v = ws.ViewBitmap.pixelColor(x, y);
                QCOMPARE(Rgb(v.red(), v.green(), v.blue()),
                         ShadePixel(Rgb(p.red(), p.green(), p.blue()), ws.Doc.Layers, facade));
                ++checked;
            }
        }
        QVERIFY(checked > 500);

        // A double click on "P 20" takes it and closes the palette.
        const QPoint last = palette.shadeGrid->CellRectInView({19, 0}).center();
        QTest::mouseClick(palette.shadeGrid->viewport(), Qt::LeftButton, {}, last);
        QTest::mouseDClick(palette.shadeGrid->viewport(), Qt::LeftButton, {}, last);
        QVERIFY(!palette.isVisible());
        QCOMPARE(ws.Doc.Layers[facade].ShadeId, 120);
        QVERIFY(prompts.asked.isEmpty());
    }

    void schemesAndSubordinateLayers() {
        QTemporaryDir dir;
        const DemoProject demo = MakeDemoHouse(240, 160);
        // The demo's layers without their links and schemes.
        LayerList layers = demo.Layers;
        for (LayerRecord& layer : layers)
            layer.Subordinate = false;
        const QString photo = SaveProject(dir.path(), QStringLiteral("dum.bmp"), demo, layers, {});
        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        MainWindow& mainWindow = *windows.mainWindow;
        Workspace& ws = mainWindow.Workspace();
        mainWindow.show();
        QVERIFY(OpenProjectFile(ws, prompts, photo));
        const int facade = 1, plinth = 5, chimney = 6;

        // Two schemes with different facade shades, switched by clicks.
        ws.Doc.Layers[facade].ShadeColour = Rgb(240, 200, 120);
        prompts.inputs.enqueue(QStringLiteral("Teplé"));
        QTest::mouseClick(mainWindow.Button(QStringLiteral("saveNewSchemeButton")), Qt::LeftButton);
        ws.Doc.Layers[facade].ShadeColour = Rgb(120, 140, 220);
        prompts.inputs.enqueue(QStringLiteral("Studené"));
        QTest::mouseClick(mainWindow.Button(QStringLiteral("saveNewSchemeButton")), Qt::LeftButton);
        QCOMPARE(mainWindow.schemeList->count(), 2);
        // The saved scheme is the selected one: overwritten at once, without a click
        // that would apply it; a cancelled name selects nothing new.
        QCOMPARE(mainWindow.schemeList->currentRow(), 1);
        prompts.inputs.enqueue(QString());
        QTest::mouseClick(mainWindow.Button(QStringLiteral("saveNewSchemeButton")), Qt::LeftButton);
        QCOMPARE(mainWindow.schemeList->currentRow(), 1);
        ws.Doc.Layers[facade].ShadeColour = Rgb(120, 140, 221);
        prompts.answers.enqueue(Prompts::Yes);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("overwriteSchemeButton")),
                          Qt::LeftButton);
        QCOMPARE(ws.Doc.Schemes[1].Layers[facade].ShadeColour, Rgb(120, 140, 221));
        QCOMPARE(ws.Doc.Schemes[0].Layers[facade].ShadeColour, Rgb(240, 200, 120));
        QTest::mouseClick(
            mainWindow.schemeList->viewport(), Qt::LeftButton, {},
            mainWindow.schemeList->visualItemRect(mainWindow.schemeList->item(0)).center());
        QCOMPARE(ws.Doc.Layers[facade].ShadeColour, Rgb(240, 200, 120));
        QTest::mouseClick(
            mainWindow.schemeList->viewport(), Qt::LeftButton, {},
            mainWindow.schemeList->visualItemRect(mainWindow.schemeList->item(1)).center());
        QCOMPARE(ws.Doc.Layers[facade].ShadeColour, Rgb(120, 140, 221));

        // The chimney follows the plinth through the chooser.
        mainWindow.layerList->setCurrentRow(chimney);
        QTimer::singleShot(0, windows.masterChooser.get(), [&windows] {
            windows.masterChooser->layerList->setCurrentRow(
                5); // rows 0..5 are the layers before the chimney
            windows.masterChooser->onConfirmClicked();
        });
        mainWindow.onToggleSubordinateTriggered();
        QVERIFY(ws.Doc.Layers[chimney].Subordinate);
        QCOMPARE(ws.Doc.Layers[chimney].MasterName, ws.Doc.Layers[plinth].Name);
        QPoint chimneyPixel, plinthPixel;
        for (int y = 0; y < ws.Doc.Mask.Height; ++y)
            for (int x = 0; x < ws.Doc.Mask.Width; ++x) {
                if (ws.Doc.Mask.LayerAt(x, y) == chimney)
                    chimneyPixel = QPoint(x, y);
                if (ws.Doc.Mask.LayerAt(x, y) == plinth)
                    plinthPixel = QPoint(x, y);
            }
        const auto photoAt = [&ws](QPoint p) {
            const QColor c = ws.Doc.PhotoBitmap.pixelColor(p);
            return Rgb(c.red(), c.green(), c.blue());
        };
        const auto viewAt = [&ws](QPoint p) {
            const QColor c = ws.ViewBitmap.pixelColor(p);
            return Rgb(c.red(), c.green(), c.blue());
        };
        QCOMPARE(viewAt(chimneyPixel), ShadePixel(photoAt(chimneyPixel), ws.Doc.Layers, plinth));
        QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("showAllLayersButton")),
                          Qt::LeftButton); // all shown
        ws.Marker.EraseMarker(ws.ViewBitmap);
        QCOMPARE(viewAt(chimneyPixel), ws.Doc.Layers[plinth].MaskColour);
        QCOMPARE(viewAt(plinthPixel), ws.Doc.Layers[plinth].MaskColour);

        // Saved and opened again: schemes and links as they were, display flags off.
        QTest::mouseClick(mainWindow.Button(QStringLiteral("saveButton")), Qt::LeftButton);
        QVERIFY(OpenProjectFile(ws, prompts, photo));
        QCOMPARE(ws.Doc.Schemes.size(), 2);
        QCOMPARE(ws.Doc.Schemes[1].Name, QStringLiteral("Studené"));
        QCOMPARE(ws.Doc.Schemes[0].Layers[facade].ShadeColour, Rgb(240, 200, 120));
        QVERIFY(ws.Doc.Layers[chimney].Subordinate);
        QVERIFY(!ws.Doc.Layers[plinth].ShownInMaskMode);
        QVERIFY(!ws.Doc.Schemes[0].Layers[facade].ShownInMaskMode);
        QCOMPARE(mainWindow.schemeList->count(), 2);
    }

    // Open the demo house, choose shades for the facade and the roof in the catalogue,
    // open the overview from the Projekt button, export the picture over an older
    // file, and close the overview.
    void overviewOfTheDemoHouse() {
        QTemporaryDir dir;
        const QString photo =
            SaveDemoProject(dir.path(), QStringLiteral("Rodinný dům.bmp"), 360, 240);
        QCOMPARE(TestCatalogue::Build(dir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows()),
                 QString());
        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        MainWindow& mainWindow = *windows.mainWindow;
        Workspace& ws = mainWindow.Workspace();
        mainWindow.resize(1000, 700);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        QVERIFY(OpenProjectFile(ws, prompts, photo));
        CatalogueWindow& catalogue = *windows.catalogue;

        // The catalogue for a layer from its swatch in the layer list, a quantity,
        // then a shade row: the shade goes into the layer.
        const auto choose = [&](int layer, int fanDeckRow, const QString& quantity) {
            mainWindow.layerList->scrollToItem(mainWindow.layerList->item(layer));
            const QRect row =
                mainWindow.layerList->visualItemRect(mainWindow.layerList->item(layer));
            QTest::mouseClick(mainWindow.layerList->viewport(), Qt::LeftButton, {},
                              row.topLeft() + QPoint(45, 10));
            QVERIFY(catalogue.isVisible());
            QTest::mouseClick(
                catalogue.fanDeckList->viewport(), Qt::LeftButton, {},
                catalogue.fanDeckList->visualItemRect(catalogue.fanDeckList->item(fanDeckRow))
                    .center());
            catalogue.quantityEdit->setText(quantity);
            QTest::mouseClick(
                catalogue.shadeList->viewport(), Qt::LeftButton, {},
                catalogue.shadeList->visualItemRect(catalogue.shadeList->item(0)).center());
        };
        choose(1, 0, QStringLiteral("48")); // Syntetika: S 001 - 01 in Email
        choose(2, 1, QStringLiteral("20")); // Exteriér: its first shade, E 002 - 01
        const LayerRecord facade = ws.Doc.Layers[1];
        const LayerRecord roof = ws.Doc.Layers[2];
        QCOMPARE(facade.ShadeId, 5);
        QCOMPARE(facade.Quantity, 48);
        QCOMPARE(roof.ShadeId, 1);
        QCOMPARE(roof.Quantity, 20);
        catalogue.hide();

        const QString jpeg = dir.filePath(QStringLiteral("výsledek.jpg"));
        {
            QFile old(jpeg);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("starý obrázek");
        }
        prompts.fileNames.enqueue(jpeg);
        prompts.asked.clear();

        OverviewWindow& overview = *windows.overview;
        QStringList rows;
        QColor facadeSwatch, roofSwatch;
        bool modal = false, recipeOffered = false, stayedOpen = false;
        QTimer::singleShot(0, &overview, [&] {
            modal = QApplication::activeModalWidget() == &overview;
            rows = Rows(overview.layerList);
            const QImage shot = overview.layerList->viewport()->grab().toImage();
            facadeSwatch = shot.pixelColor(50, 45);
            roofSwatch = shot.pixelColor(50, 90 + 45);
            QTest::mouseClick(
                overview.layerList->viewport(), Qt::LeftButton, {},
                overview.layerList->visualItemRect(overview.layerList->item(0)).center());
            recipeOffered = overview.recipeButton->isVisible();
            QTest::mouseClick(overview.exportButton, Qt::LeftButton);
            stayedOpen = overview.isVisible();
            QTest::mouseClick(overview.closeButton, Qt::LeftButton);
        });
        QTest::mouseClick(mainWindow.Button(QStringLiteral("overviewButton")), Qt::LeftButton);

        QVERIFY(modal);
        QVERIFY(!overview.isVisible());
        // Every layer but the chimney, which takes the plinth's paint.
        QCOMPARE(rows, (QStringList{"1", "2", "3", "4", "5"}));
        QCOMPARE(facadeSwatch, QColor(255, 255, 255));
        QCOMPARE(roofSwatch, QColor(200, 10, 10)); // E 002 - 01
        QVERIFY(recipeOffered);
        QVERIFY(stayedOpen);
        QVERIFY(prompts.asked.isEmpty()); // no question before the old file was replaced
        const QImage exported = PhotoFiles::LoadJpeg(jpeg);
        QCOMPARE(exported.size(), QSize(360, 240));
        QCOMPARE(ws.Doc.Layers[1], facade); // the overview changed nothing
    }

    // Smart selection through the window: the demo house's facade layer emptied, one
    // stroke across the facade selects it, Enter writes it, undo and redo.
    void smartSelectionOfTheFacade() {
        QTemporaryDir dir;
        const int w = 960, h = 640;
        const DemoProject demo = MakeDemoHouse(w, h);
        // The facade as the demo draws it: layer 1 of its mask.
        TMask empty = demo.Mask;
        for (int y = 0; y < h; ++y) {
            for (const MaskRun& run : demo.Mask.Rows[y]) {
                if (run.Layer == 1)
                    empty.PaintSpan(y, run.First, run.Last, 0);
            }
        }
        DemoProject emptied = demo;
        emptied.Mask = empty;
        const QString photo = SaveProject(dir.path(), QStringLiteral("Rodinný dům.bmp"), emptied,
                                          demo.Layers, demo.Schemes);
        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        MainWindow& mainWindow = *windows.mainWindow;
        Workspace& ws = mainWindow.Workspace();
        mainWindow.resize(1000, 700);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        QVERIFY(OpenProjectFile(ws, prompts, photo));
        QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("smartSelectButton")), Qt::LeftButton);
        QCOMPARE(ws.CurrentTool, int(SmartSelectTool));
        QVERIFY(mainWindow.Button(QStringLiteral("smartSelectButton"))->toolTip() ==
                QStringLiteral("Chytrý výběr: tahem označte, co k vrstvě patří, pravým "
                               "tlačítkem, co nepatří"));
        QVERIFY(mainWindow.toolSettingSlider->isVisible());
        mainWindow.toolSettingSlider->setValue(3);
        QCOMPARE(ws.Thickness, 3);
        mainWindow.layerList->setCurrentRow(1);
        QVERIFY(!mainWindow.applySmartButton->isVisible());

        // One stroke across the facade, above the windows and through the eaves'
        // shadow; the proposal shows before anything is written.
        const int y = int(0.40 * h);
        const QPoint onPath(int(0.5 * w) / 20 * 20, y + (int(0.5 * w) / 20) % 3);
        const QImage before = mainWindow.imageView->grab().toImage();
        QTest::mousePress(mainWindow.imageView, Qt::LeftButton, {}, QPoint(int(0.27 * w), y));
        for (int x = int(0.27 * w); x <= int(0.73 * w); x += 20)
            QTest::mouseMove(mainWindow.imageView, QPoint(x, y + (x / 20) % 3));
        // The stroke being drawn shows along its whole path, in green.
        const QColor inked = mainWindow.imageView->grab().toImage().pixelColor(onPath);
        const QColor plain = before.pixelColor(onPath);
        QVERIFY(plain.green() < plain.red()); // the facade is no green
        QVERIFY(inked.green() > inked.red() + 50 && inked.green() > inked.blue() + 50);
        QTest::mouseRelease(mainWindow.imageView, Qt::LeftButton, {}, QPoint(int(0.73 * w), y));
        const SmartProposal proposal = ws.Smart.Proposal();
        QVERIFY(!proposal.IsEmpty());
        QVERIFY(mainWindow.applySmartButton->isVisible());
        // Right of the tool setting, left of the scale tool.
        QCOMPARE(mainWindow.applySmartButton->geometry(), QRect(594, 30, 64, 24));
        // Compared with the photograph, only the comparison is seen: the sky left of
        // the divider is the photograph's, not dimmed round the proposal.
        QTest::mouseClick(mainWindow.Button(QStringLiteral("compareButton")), Qt::LeftButton);
        QCOMPARE(mainWindow.imageView->grab().toImage().pixelColor(3, 3),
                 ws.Doc.PhotoBitmap.pixelColor(3, 3));
        QTest::mouseClick(mainWindow.Button(QStringLiteral("compareButton")), Qt::LeftButton);
        QVERIFY(mainWindow.imageView->grab().toImage().pixelColor(3, 3) !=
                ws.Doc.PhotoBitmap.pixelColor(3, 3)); // dimmed again
        QCOMPARE(ws.Doc.Mask, empty);
        // Drawn over the picture: the proposed pixels change colour on the screen.
        const QImage seen = mainWindow.imageView->grab().toImage();
        const QPoint inside(w / 2, h / 2);
        QVERIFY(proposal.Contains(inside.x(), inside.y()));
        QVERIFY(seen.pixelColor(inside) != ws.ViewBitmap.pixelColor(inside));

        int both = 0, either = 0;
        for (int yy = 0; yy < h; ++yy) {
            for (int x = 0; x < w; ++x) {
                const bool wall = demo.Mask.LayerAt(x, yy) == 1, chosen = proposal.Contains(x, yy);
                both += wall && chosen;
                either += wall || chosen;
            }
        }
        QVERIFY2(double(both) / either > 0.95, qPrintable(QString::number(double(both) / either)));

        // Enter writes it as one undo step; undo and redo.
        QTest::keyClick(&mainWindow, Qt::Key_Return);
        QVERIFY(ws.Smart.Proposal().IsEmpty());
        QVERIFY(!mainWindow.applySmartButton->isVisible());
        TMask expected = empty;
        WriteProposal(expected, proposal, 1);
        QCOMPARE(ws.Doc.Mask, expected);
        QCOMPARE(ws.History.NodeCount(), 1);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("undoButton")), Qt::LeftButton);
        QCOMPARE(ws.Doc.Mask, empty);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("redoButton")), Qt::LeftButton);
        QCOMPARE(ws.Doc.Mask, expected);

        // A stroke with the right button, then Esc: nothing proposed, nothing changed.
        QTest::mousePress(mainWindow.imageView, Qt::RightButton, {}, QPoint(20, 20));
        QTest::mouseMove(mainWindow.imageView, QPoint(60, 25));
        QTest::mouseRelease(mainWindow.imageView, Qt::RightButton, {}, QPoint(90, 30));
        QCOMPARE(ws.Smart.Strokes().size(), size_t(1));
        QVERIFY(!ws.Smart.Strokes().front().Include);
        QTest::keyClick(&mainWindow, Qt::Key_Escape);
        QVERIFY(ws.Smart.Strokes().empty());
        QCOMPARE(ws.Doc.Mask, expected);
        // Another tool drops strokes too.
        QTest::mousePress(mainWindow.imageView, Qt::LeftButton, {}, QPoint(int(0.3 * w), y));
        QTest::mouseRelease(mainWindow.imageView, Qt::LeftButton, {}, QPoint(int(0.5 * w), y));
        QVERIFY(!ws.Smart.Strokes().empty());
        QTest::mouseClick(mainWindow.Button(QStringLiteral("pencilButton")), Qt::LeftButton);
        QVERIFY(ws.Smart.Strokes().empty());
        QCOMPARE(ws.Doc.Mask, expected);
    }

    // Mark a window of the demo house with the tool "Měřítko", type its size, and read
    // the facade's area in the overview: the facade's pixels counted one by one, each
    // 1,2 / 31 m wide and 1,5 / 37 m tall (the marks lie on the window's corner pixels).
    void measuringTheFacade() {
        QTemporaryDir dir;
        const QString photo =
            SaveDemoProject(dir.path(), QStringLiteral("Rodinný dům.bmp"), 360, 240);
        QCOMPARE(TestCatalogue::Build(dir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows()),
                 QString());
        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        MainWindow& mainWindow = *windows.mainWindow;
        Workspace& ws = mainWindow.Workspace();
        mainWindow.resize(1000, 700);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        QVERIFY(OpenProjectFile(ws, prompts, photo));
        if (!ws.MaskEditMode)
            QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QVERIFY(ws.MaskEditMode);
        TGlintImage* scale = mainWindow.Button(QStringLiteral("scaleButton"));
        QVERIFY(scale && scale->isVisible());
        QCOMPARE(scale->toolTip(), QStringLiteral("Měřítko: rohy obdélníku známé velikosti (po "
                                                  "dvou bodech pravým tlačítkem délka)"));
        QTest::mouseClick(scale, Qt::LeftButton);
        QCOMPARE(ws.CurrentTool, int(ScaleTool));

        // The lower left window of the ground floor: pixels 108 … 139 across, 105 … 142 down.
        QCOMPARE(ws.Doc.Mask.LayerAt(108, 105), std::uint8_t(3));
        QCOMPARE(ws.Doc.Mask.LayerAt(107, 105), std::uint8_t(1));
        const QPoint corners[] = {{108, 105}, {139, 105}, {139, 142}, {108, 142}};
        // Esc drops corners placed half way, and asks nothing.
        QTest::mouseClick(mainWindow.imageView, Qt::LeftButton, {}, corners[0]);
        QTest::mouseClick(mainWindow.imageView, Qt::LeftButton, {}, corners[2]);
        QCOMPARE(mainWindow.Tools().Scale.PendingPoints().size(), 2);
        QTest::keyClick(&mainWindow, Qt::Key_Escape);
        QVERIFY(mainWindow.Tools().Scale.PendingPoints().isEmpty());
        QVERIFY(prompts.inputCaptions.isEmpty());
        prompts.inputs << QStringLiteral("1,2") << QStringLiteral("1,5");
        const QImage before = ws.ViewBitmap.copy();
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(mainWindow.imageView, Qt::LeftButton, {}, corners[i]);
        // The marks placed so far are on the picture, over it, not in the view bitmap.
        const QImage placing = mainWindow.imageView->grab().toImage();
        QVERIFY(placing.pixelColor(139, 105) != ws.ViewBitmap.pixelColor(139, 105));
        QCOMPARE(ws.ViewBitmap.pixel(139, 105), before.pixel(139, 105));
        QTest::mouseClick(mainWindow.imageView, Qt::LeftButton, {}, corners[3]);
        QCOMPARE(prompts.inputCaptions, (QStringList{"Měřítko", "Měřítko"}));
        QVERIFY(prompts.asked.isEmpty());
        QCOMPARE(ws.Doc.Measures.References.size(), 1);
        QVERIFY(ws.Doc.Modified);

        // The layer menu offers the reference, checked for the facade.
        mainWindow.layerList->setCurrentRow(1);
        emit mainWindow.layerScaleMenu->aboutToShow();
        const QList<QAction*> choices = mainWindow.layerScaleMenu->actions();
        QCOMPARE(choices.size(), 1);
        QCOMPARE(choices[0]->text(), QStringLiteral("Měřítko 1: obdélník 1,20 × 1,50 m"));
        QVERIFY(choices[0]->isChecked());

        qint64 facadePixels = 0;
        for (int y = 0; y < ws.Doc.Mask.Height; ++y)
            for (int x = 0; x < ws.Doc.Mask.Width; ++x)
                facadePixels += ws.Doc.Mask.LayerAt(x, y) == 1;
        const double facade = double(facadePixels) * (1.2 / 31) * (1.5 / 37);
        const QString expected =
            QStringLiteral("Plocha: %1 m²").arg(CzechNumber::Format(facade, 1));

        OverviewWindow& overview = *windows.overview;
        QStringList texts;
        QImage rowShot;
        QTimer::singleShot(0, &overview, [&] {
            for (const Overview::RowText& text :
                 Overview::RowTexts(overview.RowOfLayer(overview.LayerOfRow(0))))
                texts << text.text;
            rowShot = overview.layerList->viewport()->grab().toImage();
            QTest::mouseClick(overview.closeButton, Qt::LeftButton);
        });
        QTest::mouseClick(mainWindow.Button(QStringLiteral("overviewButton")), Qt::LeftButton);
        QVERIFY2(texts.contains(expected),
                 qPrintable(texts.join(QLatin1Char('|')) + " / " + expected));
        QVERIFY(texts.contains(QStringLiteral("Fasáda")));
        QVERIFY(facade > 10 && facade < 100);
        // Drawn on the right of the facade's row.
        int ink = 0;
        for (int y = 6; y < 20; ++y)
            for (int x = rowShot.width() - 120; x < rowShot.width() - 10; ++x)
                ink += rowShot.pixelColor(x, y) != QColor(235, 250, 254);
        QVERIFY(ink > 30);

        // Another tool: the marks leave the picture; saved, they come back with it.
        QTest::mouseClick(mainWindow.Button(QStringLiteral("pencilButton")), Qt::LeftButton);
        QCOMPARE(QColor(mainWindow.imageView->grab().toImage().pixel(139, 105)),
                 QColor(ws.ViewBitmap.pixel(139, 105)));
        QTest::mouseClick(mainWindow.Button(QStringLiteral("saveButton")), Qt::LeftButton);
        QVERIFY(QFile::exists(photo + QStringLiteral(".mereni")));
        Workspace again;
        QVERIFY(OpenProjectFile(again, prompts, photo));
        QCOMPARE(again.Doc.Measures, ws.Doc.Measures);

        // A second reference (the upper right window), then the facade's reference
        // chosen in the layer menu: one step of its own, after a dab of the pencil.
        QTest::mouseClick(scale, Qt::LeftButton);
        prompts.inputs << QStringLiteral("1,2") << QStringLiteral("1,5");
        for (const QPoint corner :
             {QPoint(220, 40), QPoint(251, 40), QPoint(251, 77), QPoint(220, 77)})
            QTest::mouseClick(mainWindow.imageView, Qt::LeftButton, {}, corner);
        QCOMPARE(ws.Doc.Measures.References.size(), 2);
        const int facadeLayer = 1;
        const int planeBefore = ws.Doc.Measures.PlaneOfLayer(ws.Doc.Layers[facadeLayer].Name);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("pencilButton")), Qt::LeftButton);
        mainWindow.layerList->setCurrentRow(facadeLayer);
        QTest::mouseClick(mainWindow.imageView, Qt::LeftButton, {}, QPoint(30, 200));
        const TMask dabbed = ws.Doc.Mask;
        emit mainWindow.layerScaleMenu->aboutToShow();
        QCOMPARE(mainWindow.layerScaleMenu->actions().size(), 2);
        mainWindow.layerScaleMenu->actions()[1 - planeBefore]->trigger();
        QCOMPARE(ws.Doc.Measures.PlaneOfLayer(ws.Doc.Layers[facadeLayer].Name), 1 - planeBefore);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("undoButton")), Qt::LeftButton);
        QCOMPARE(ws.Doc.Measures.PlaneOfLayer(ws.Doc.Layers[facadeLayer].Name), planeBefore);
        QCOMPARE(ws.Doc.Mask, dabbed); // the dab is the step planeBefore, still there
        QTest::mouseClick(mainWindow.Button(QStringLiteral("redoButton")), Qt::LeftButton);
        QCOMPARE(ws.Doc.Measures.PlaneOfLayer(ws.Doc.Layers[facadeLayer].Name), 1 - planeBefore);
    }
};

QTEST_MAIN(TestEndToEnd)
#include "test_endtoend.moc"
