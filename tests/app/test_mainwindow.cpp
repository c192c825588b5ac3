#include "DemoHouse.h"
#include "app/AppWindows.h"
#include "app/HelpWindow.h"
#include "app/ImageView.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "catalogue/CatalogueWindow.h"
#include "editing/SmartSelection.h"
#include "layers/LayerDialog.h"
#include "layers/LayerRowDelegate.h"
#include "layers/MasterChooserDialog.h"
#include "overview/ComparisonWindow.h"
#include "overview/OverviewWindow.h"
#include "overview/ProjectListWindow.h"
#include "palette/PaletteWindow.h"
#include "project/PhotoFiles.h"
#include "render/RenderRegion.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "support/TestProjects.h"
#include "support/TestWidgets.h"
#include "widgets/CzechMessageDialog.h"
#include "widgets/GlintImage.h"
#include "widgets/QtPrompts.h"
#include "workspace/ProjectOperations.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHelpEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using Ask = std::function<void(Prompts&)>;

class FakeClock : public StartupClock {
public:
    explicit FakeClock(std::int64_t creationMs) : creationMs_(creationMs) {}
    std::int64_t NowMs() override { return calls_++ == 0 ? 1000 : 1000 + creationMs_; }
    void WaitMs(std::int64_t ms) override { waited.append(ms); }
    QList<std::int64_t> waited;

private:
    std::int64_t creationMs_;
    int calls_ = 0;
};

// Runs act on the modal dialog of type T once it shows: on a loaded machine its event
// loop may start later than a fixed wait.
template <typename T> void WhenShown(std::function<void(T*)> act, int triesLeft = 200) {
    QTimer::singleShot(50, [act, triesLeft] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(dialog);
        else if (triesLeft > 0)
            WhenShown<T>(act, triesLeft - 1);
    });
}

// Accepts a file dialog with a path typed into its name field: a file only selected
// may not be in the dialog's list yet, and the dialog would then take its folder.
void AcceptFile(QFileDialog* dialog, const QString& path) {
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(path);
    else
        dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
}

} // namespace

Q_DECLARE_METATYPE(Ask)

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startState() {
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        MainWindow mainWindow(dir.path(), prompts);
        QCOMPARE(mainWindow.windowTitle(), QStringLiteral("Tintora"));
        QVERIFY(QDir(dir.filePath(QStringLiteral("domy"))).exists());
        QVERIFY(QDir(dir.filePath(QStringLiteral("interier"))).exists());
        QVERIFY(!mainWindow.editingBar->isVisibleTo(&mainWindow));
        Workspace& ws = mainWindow.Workspace();
        QVERIFY(!ws.MaskEditMode);
        QCOMPARE(ws.CurrentTool, int(PickLayerTool));
        QCOMPARE(ws.Thickness, 1);
        QCOMPARE(ws.Threshold, 20);
        QCOMPARE(ws.ZoomFactor, 1.0f);
        QVERIFY(ws.Doc.ProjectPath.isEmpty());
        QVERIFY(!ws.Doc.Modified);
        QCOMPARE(ws.Doc.Mask.Width, 1);
        QCOMPARE(Rows(mainWindow.layerList), QStringList{QStringLiteral("Originál")});
        QCOMPARE(mainWindow.layerList->currentRow(), -1);
        QCOMPARE(mainWindow.schemeList->count(), 0);
        QVERIFY(prompts.asked.isEmpty());
    }

    // The layer dialog opens beside the picture, not over the toolbar in the screen's
    // corner, keeps the place the user moved it to, and shows every caption whole.
    void layerDialogPlacementAndCaptions() {
        QTemporaryDir dir;
        const DemoProject demo = MakeDemoHouse(300, 200);
        const QString photo =
            SaveProject(dir.path(), QStringLiteral("dum.bmp"), demo, demo.Layers, demo.Schemes);
        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        MainWindow& mainWindow = *windows.mainWindow;
        mainWindow.setGeometry(0, 0, 780, 580);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        QVERIFY(OpenProjectFile(mainWindow.Workspace(), prompts, photo));
        QTest::mouseClick(mainWindow.Button(QStringLiteral("newLayerButton")), Qt::LeftButton);
        LayerDialog& dialog = *windows.layerDialog;
        QVERIFY(dialog.isVisible());
        const QRect picture(mainWindow.pictureArea->mapToGlobal(QPoint(0, 0)),
                            mainWindow.pictureArea->size());
        QVERIFY(picture.contains(dialog.frameGeometry()));
        QCOMPARE(mainWindow.imageView->cursor().shape(), Qt::PointingHandCursor);
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text().endsWith(QLatin1Char(':'))) {
                QVERIFY2(label->geometry().right() < dialog.nameEdit->x() ||
                             label->geometry().bottom() < dialog.nameEdit->y() ||
                             label->y() > dialog.nameEdit->geometry().bottom(),
                         qPrintable(label->text()));
                QVERIFY(label->width() >= label->sizeHint().width());
            }
        }
        // A close box offered by the window manager cancels the edit.
        dialog.close();
        QVERIFY(!mainWindow.Layers().RealColourPickMode);
        QCOMPARE(mainWindow.imageView->cursor().shape(), Qt::CrossCursor);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("newLayerButton")), Qt::LeftButton);
        dialog.move(40, 30);
        QTest::mouseClick(dialog.cancelButton, Qt::LeftButton);
        mainWindow.layerList->setCurrentRow(1);
        mainWindow.onLayerListDoubleClicked();
        QCOMPARE(dialog.pos(), QPoint(40, 30));

        // A pending edit dropped by opening a project gives back the cross cursor.
        QVERIFY(OpenProjectFile(mainWindow.Workspace(), prompts, photo));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(mainWindow.imageView->cursor().shape(), Qt::CrossCursor);
    }

    // The cursor marker goes with the pointer and with the tool: no square of the
    // pencil stays on the picture after leaving mask mode or the picture.
    void markerLeavesWithThePointerAndTheTool() {
        QTemporaryDir dir;
        const DemoProject demo = MakeDemoHouse(300, 200);
        const QString photo =
            SaveProject(dir.path(), QStringLiteral("dum.bmp"), demo, demo.Layers, demo.Schemes);
        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        MainWindow& mainWindow = *windows.mainWindow;
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        Workspace& ws = mainWindow.Workspace();
        QVERIFY(OpenProjectFile(ws, prompts, photo));
        const auto clean = [&ws] {
            return ws.ViewBitmap == RenderFullSize(ws.Doc, ws.MaskEditMode);
        };
        QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("pencilButton")), Qt::LeftButton);
        mainWindow.toolSettingSlider->setValue(5);
        QTest::mouseMove(mainWindow.imageView, QPoint(60, 60));
        QVERIFY(ws.Marker.MarkerDrawn);
        QVERIFY(!clean());
        QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QVERIFY(clean());
        QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("pencilButton")), Qt::LeftButton);
        QTest::mouseMove(mainWindow.imageView, QPoint(80, 70));
        QVERIFY(!clean());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(mainWindow.imageView, &leave);
        QVERIFY(clean());
    }

    void excludingStrokeFollowsItsPath_data() {
        QTest::addColumn<int>("zoomSteps");
        QTest::newRow("zoom 1") << 0;
        QTest::newRow("zoom 2") << 1;
    }

    // A stroke with the right button along an arc: every move of the pointer is a point
    // of the stroke, its trail shows while it is drawn, and what it leaves out follows
    // the arc, not the straight line between its ends.
    void excludingStrokeFollowsItsPath() {
        QFETCH(int, zoomSteps);
        QTemporaryDir dir;
        const int w = 600, h = 400;
        // A wall of one plaster colour: what a stroke leaves out is what it passes over.
        DemoProject wall = MakeDemoHouse(w, h);
        wall.Photo.fill(QColor(200, 180, 150));
        const QString photo =
            SaveProject(dir.path(), QStringLiteral("zed.bmp"), wall, wall.Layers, wall.Schemes);
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
        mainWindow.toolSettingSlider->setValue(3);
        mainWindow.layerList->setCurrentRow(1);
        for (int i = 0; i < zoomSteps; ++i)
            mainWindow.onZoomInClicked();
        const int z = 1 << zoomSteps;
        const auto view = [z](QPoint p) { return p * z; };

        // The wall taken in.
        const SmartStroke in{{QPoint(160, 60), QPoint(440, 60)}, 3, true};
        QTest::mousePress(mainWindow.imageView, Qt::LeftButton, {}, view(in.Points.front()));
        QTest::mouseMove(mainWindow.imageView, view(in.Points.back()));
        QTest::mouseRelease(mainWindow.imageView, Qt::LeftButton, {}, view(in.Points.back()));
        QCOMPARE(ws.Smart.Strokes().size(), size_t(1));

        // An arc hanging down over the wall, its ends on one level.
        SmartStroke arc{{}, 3, false};
        const double pi = 3.14159265358979;
        for (int i = 0; i <= 40; ++i) {
            const double angle = pi * (0.15 + 0.7 * i / 40.0);
            arc.Points.push_back(QPoint(int(std::lround(300 - 110 * std::cos(angle))),
                                        int(std::lround(130 + 110 * std::sin(angle)))));
        }
        const QPoint apex = arc.Points[20];
        const QPoint apexInView = view(apex) + QPoint(z / 2, z / 2);
        const QColor plain = mainWindow.imageView->grab().toImage().pixelColor(apexInView);
        QTest::mousePress(mainWindow.imageView, Qt::RightButton, {}, view(arc.Points.front()));
        for (size_t i = 1; i + 1 < arc.Points.size(); ++i) {
            QTest::mouseMove(mainWindow.imageView, view(arc.Points[i]));
            if (i == 30) {
                // The trail shows where the pointer has been, in red.
                const QColor inked = mainWindow.imageView->grab().toImage().pixelColor(apexInView);
                QVERIFY2(inked.red() > inked.green() + 50 && inked.red() > inked.blue() + 50 &&
                             std::abs(inked.green() - plain.green()) > 50,
                         qPrintable(inked.name() + plain.name()));
            }
        }
        QTest::mouseRelease(mainWindow.imageView, Qt::RightButton, {}, view(arc.Points.back()));
        QCOMPARE(ws.Smart.Strokes().size(), size_t(2));
        QCOMPARE(ws.Smart.Strokes().back(), arc);

        const auto p = PrepareSmartSelection(ws.Doc.PhotoBitmap);
        const SmartProposal proposal = ws.Smart.Proposal();
        QVERIFY(proposal == ProposeRegion(*p, ws.Doc.PhotoBitmap, {in, arc}));
        QVERIFY(!proposal.Contains(apex.x(), apex.y()));
        // The straight line between the ends would keep the arc's lowest point.
        SmartStroke chord = arc;
        chord.Points = {arc.Points.front(), arc.Points.back()};
        const SmartProposal straight = ProposeRegion(*p, ws.Doc.PhotoBitmap, {in, chord});
        QVERIFY(straight.Contains(apex.x(), apex.y()));
    }

    void proposalStandsOutInTheWindow_data() {
        QTest::addColumn<double>("brightness"); // of the demo house's photograph
        QTest::addColumn<int>("layer");
        QTest::newRow("dark photograph, window frames' cream") << 0.3 << 3;
        QTest::newRow("dark photograph, facade's beige") << 0.3 << 1;
        QTest::newRow("light photograph, facade's beige") << 1.6 << 1;
    }

    // A proposal over the photograph in the window: its pixels differ clearly in
    // brightness from the picture without it (the contrast ratio of their relative
    // luminances), and the rest of the picture is dimmed.
    void proposalStandsOutInTheWindow() {
        QFETCH(double, brightness);
        QFETCH(int, layer);
        QTemporaryDir dir;
        const int w = 600, h = 400;
        DemoProject house = MakeDemoHouse(w, h);
        for (int y = 0; y < h; ++y) {
            uchar* row = house.Photo.scanLine(y);
            for (int i = 0; i < 3 * w; ++i)
                row[i] = uchar(std::min(255.0, std::round(row[i] * brightness)));
        }
        const QString photo =
            SaveProject(dir.path(), QStringLiteral("dum.bmp"), house, house.Layers, house.Schemes);
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
        mainWindow.layerList->setCurrentRow(layer);
        const QImage plain = mainWindow.imageView->grab().toImage();
        QTest::mousePress(mainWindow.imageView, Qt::LeftButton, {}, QPoint(170, 160));
        QTest::mouseMove(mainWindow.imageView, QPoint(430, 165));
        QTest::mouseRelease(mainWindow.imageView, Qt::LeftButton, {}, QPoint(430, 165));
        QTest::mouseMove(mainWindow.imageView, QPoint(590, 390));
        const SmartProposal proposal = ws.Smart.Proposal();
        QVERIFY(proposal.PixelCount() > 20000);
        const QImage seen = mainWindow.imageView->grab().toImage();
        const auto luminance = [](QRgb p) {
            const auto linear = [](int v) {
                const double c = v / 255.0;
                return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * linear(qRed(p)) + 0.7152 * linear(qGreen(p)) +
                   0.0722 * linear(qBlue(p)) + 0.05;
        };
        double inside = 0;
        int insideCount = 0, dimmed = 0, outsideCount = 0;
        for (int y = 1; y + 1 < h; ++y) {
            for (int x = 1; x + 1 < w; ++x) {
                const double a = luminance(seen.pixel(x, y)), b = luminance(plain.pixel(x, y));
                if (!proposal.Contains(x, y)) {
                    // Away from the marker in the corner.
                    if (x < 560 || y < 350) {
                        dimmed += a < b || b < 0.06;
                        ++outsideCount;
                    }
                } else if (proposal.Contains(x - 1, y) && proposal.Contains(x + 1, y) &&
                           proposal.Contains(x, y - 1) && proposal.Contains(x, y + 1)) {
                    inside += std::max(a, b) / std::min(a, b);
                    ++insideCount;
                }
            }
        }
        inside /= insideCount;
        QVERIFY2(inside >= 2.0, qPrintable(QString::number(inside)));
        QCOMPARE(dimmed, outsideCount);
    }

    // A picture imported in colour mode keeps the layer pick: a press on it picks a
    // layer and paints nothing while the editing bar is hidden. In mask mode the
    // pencil is chosen, on its button.
    void importChoosesAToolThatShows() {
        QTemporaryDir dir;
        const QString jpeg = dir.filePath(QStringLiteral("Chata.jpg"));
        TestPictures::WriteFile(jpeg, TestPictures::Jpeg(TestPictures::Quadrants(64, 48)));
        ScriptedPrompts prompts;
        MainWindow mainWindow(dir.path(), prompts);
        prompts.fileNames.enqueue(jpeg);
        mainWindow.onImportClicked();
        QCOMPARE(mainWindow.Workspace().Doc.Layers.size(), 1);
        QCOMPARE(mainWindow.Workspace().CurrentTool, int(PickLayerTool));
        mainWindow.onImageViewMouseDown(Qt::LeftButton, 10, 10);
        QVERIFY(prompts.asked.isEmpty());
        QVERIFY(!mainWindow.Workspace().Doc.Modified);

        QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        prompts.fileNames.enqueue(jpeg);
        QVERIFY(QFile::rename(jpeg, dir.filePath(QStringLiteral("Chalupa.jpg"))));
        prompts.fileNames.clear();
        prompts.fileNames.enqueue(dir.filePath(QStringLiteral("Chalupa.jpg")));
        mainWindow.onImportClicked();
        QCOMPARE(
            mainWindow.Workspace().Doc.ProjectPath,
            QDir(dir.filePath(QStringLiteral("domy"))).filePath(QStringLiteral("Chalupa.bmp")));
        QCOMPARE(mainWindow.Workspace().CurrentTool, int(PencilTool));
        QVERIFY(mainWindow.Button(QStringLiteral("pencilButton"))->ShowFixedPicture());
    }

    void fileFiltersNameTheirPatternsOnce_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("shown");
        QTest::newRow("import") << QStringLiteral("Obrázky JPEG (*.jpg *.jpeg)|*.jpg;*.jpeg")
                                << QStringLiteral("Obrázky JPEG (*.jpg *.jpeg)");
        QTest::newRow("export") << QStringLiteral(
                                       "Obrázky JPG (*.jpg)|*.jpg|Všechny soubory (*.*)|*.*")
                                << QStringLiteral("Obrázky JPG (*.jpg);;Všechny soubory (*.*)");
        QTest::newRow("two patterns")
            << QStringLiteral("Obrázky|*.jpg;*.jpeg") << QStringLiteral("Obrázky (*.jpg *.jpeg)");
    }
    void fileFiltersNameTheirPatternsOnce() {
        QFETCH(QString, filter);
        QFETCH(QString, shown);
        QCOMPARE(QtFileFilter(filter), shown);
    }

    void longLayerNamesEndWithAnEllipsis() {
        const QFontMetrics metrics(QApplication::font());
        const int width = 129 - LayerRowDelegate::NameX(1);
        const QString name = QStringLiteral("Fasáda severní strany se štítem");
        const QString shown = LayerRowDelegate::ShownName(name, metrics, width);
        QVERIFY(shown.endsWith(QChar(0x2026)));
        QVERIFY(metrics.horizontalAdvance(shown) <= width);
        QCOMPARE(LayerRowDelegate::ShownName(QStringLiteral("Sokl"), metrics, width),
                 QStringLiteral("Sokl"));

        // In the list, the cut name shows whole as the row's hint; a whole one keeps
        // the list's own hint.
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        MainWindow mainWindow(dir.path(), prompts);
        mainWindow.Workspace().Doc.Layers.append(LayerRecord{});
        mainWindow.Workspace().Doc.Layers.last().Name = name;
        emit mainWindow.Workspace().LayersChanged();
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        QWidget* rows = mainWindow.layerList->viewport();
        const auto hintAt = [&](int row) {
            QToolTip::hideText();
            const QPoint at =
                mainWindow.layerList->visualItemRect(mainWindow.layerList->item(row)).center();
            QHelpEvent help(QEvent::ToolTip, at, rows->mapToGlobal(at));
            QCoreApplication::sendEvent(rows, &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(hintAt(1), name);
        QVERIFY(hintAt(0) != name);
    }

    void buttonsCarryTheirHintsAndFaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("fixed");
        // Where the design puts it (the panels' buttons in their panel).
        QTest::addColumn<QPoint>("at");
        const QSize big(56, 52), tool(26, 26), panel(114, 18);
        QTest::newRow("open") << "openButton"
                              << "Otevřít vytvořený projekt / Import nového obrázku (Ctrl+O)" << big
                              << true << QPoint(25, 0);
        QTest::newRow("save") << "saveButton"
                              << "Uložit masku projektu (Ctrl+S)" << big << true << QPoint(81, 0);
        QTest::newRow("import") << "importButton"
                                << "Import (Ctrl+I)" << big << false << QPoint(137, 0);
        QTest::newRow("mask mode") << "editModeButton"
                                   << "Mód editace masky" << big << true << QPoint(193, 0);
        QTest::newRow("project") << "overviewButton"
                                 << "Celkový souhrn vybraných odstínů pro projekt" << QSize(57, 52)
                                 << false << QPoint(249, 0);
        QTest::newRow("before and after")
            << "compareButton"
            << "Porovnat s původní fotografií" << big << true << QPoint(719, 0);
        QTest::newRow("help") << "helpButton"
                              << "Nápověda (F1)" << big << false << QPoint(306, 0);
        QTest::newRow("undo") << "undoButton"
                              << "Krok zpět (Ctrl+Z)" << tool << true << QPoint(8, 28);
        QTest::newRow("redo") << "redoButton"
                              << "Zpět krok zpět (Ctrl+Y)" << tool << true << QPoint(38, 28);
        QTest::newRow("zoom in") << "zoomInButton"
                                 << "Zvětšení (Ctrl++)" << tool << true << QPoint(78, 28);
        QTest::newRow("zoom out") << "zoomOutButton"
                                  << "Zmenšení (Ctrl+-)" << tool << true << QPoint(107, 28);
        QTest::newRow("pencil") << "pencilButton"
                                << "Tužka" << tool << true << QPoint(144, 28);
        QTest::newRow("lines") << "linesButton"
                               << "Čáry" << tool << true << QPoint(173, 28);
        QTest::newRow("tolerance")
            << "toleranceFillButton"
            << "Vyplnit oblast s tolerancí" << tool << true << QPoint(202, 28);
        QTest::newRow("full fill") << "fullFillButton"
                                   << "Plné vyplnění oblasti" << tool << true << QPoint(231, 28);
        QTest::newRow("pick") << "pickLayerButton"
                              << "Seznam odstínů" << tool << true << QPoint(268, 28);
        QTest::newRow("smart selection")
            << "smartSelectButton"
            << "Chytrý výběr: tahem označte, co k vrstvě patří, pravým tlačítkem, co nepatří"
            << tool << true << QPoint(560, 28);
        QTest::newRow("scale") << "scaleButton"
                               << "Měřítko: rohy obdélníku známé velikosti (po dvou bodech "
                                  "pravým tlačítkem délka)"
                               << tool << true << QPoint(684, 28);
        QTest::newRow("all") << "showAllLayersButton"
                             << "Vybrat všechny vrstvy" << panel << false << QPoint(7, 3);
        QTest::newRow("none") << "showNoLayersButton"
                              << "Zrušit výběr vrstev" << panel << false << QPoint(7, 24);
        QTest::newRow("new layer")
            << "newLayerButton"
            << "Vytvořit novou vrstvu masky" << panel << false << QPoint(7, 45);
        QTest::newRow("remove layer") << "removeLayerButton"
                                      << "Smazat vrstvu" << panel << false << QPoint(7, 66);
        QTest::newRow("new scheme")
            << "saveNewSchemeButton"
            << "Uložit nové barevné schéma" << panel << false << QPoint(7, 5);
        QTest::newRow("overwrite")
            << "overwriteSchemeButton"
            << "Přepsat existující barevné schéma" << panel << false << QPoint(7, 26);
        QTest::newRow("delete scheme")
            << "deleteSchemeButton"
            << "Smazat barevné schéma" << panel << false << QPoint(7, 47);
    }
    void buttonsCarryTheirHintsAndFaces() {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        QFETCH(QSize, size);
        QFETCH(bool, fixed);
        QFETCH(QPoint, at);
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        MainWindow mainWindow(dir.path(), prompts);
        TGlintImage* button = mainWindow.Button(name);
        QVERIFY(button);
        QCOMPARE(button->pos(), at);
        QCOMPARE(button->toolTip(), hint);
        QCOMPARE(button->size(), size);
        QVERIFY(button->OverChange());
        QVERIFY(!button->NormalPicture().isNull());
        QVERIFY(!button->OverPicture().isNull());
        QVERIFY(button->NormalPicture().toImage() != button->OverPicture().toImage());
        QCOMPARE(!button->FixedPicture().isNull(), fixed);
        QCOMPARE(button->Picture().toImage(), button->NormalPicture().toImage());
    }

    void maskModeSwitchAndToolChoice() {
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        MainWindow mainWindow(dir.path(), prompts);
        mainWindow.show();
        QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QVERIFY(mainWindow.editingBar->isVisible());
        QVERIFY(mainWindow.Workspace().MaskEditMode);
        QCOMPARE(mainWindow.Workspace().CurrentTool, int(PickLayerTool));
        QVERIFY(mainWindow.Button(QStringLiteral("pickLayerButton"))->ShowFixedPicture());

        QTest::mouseClick(mainWindow.Button(QStringLiteral("pencilButton")), Qt::LeftButton);
        QCOMPARE(mainWindow.Workspace().CurrentTool, int(PencilTool));
        QVERIFY(mainWindow.Button(QStringLiteral("pencilButton"))->ShowFixedPicture());
        QVERIFY(!mainWindow.Button(QStringLiteral("pickLayerButton"))->ShowFixedPicture());
        QCOMPARE(mainWindow.toolSettingLabel->text(), QStringLiteral("Tloušťka:"));
        QVERIFY(mainWindow.toolSettingSlider->isVisible());
        // The setting where the design puts it, its caption whole before the slider.
        QCOMPARE(mainWindow.toolSettingLabel->x(), 303);
        QCOMPARE(mainWindow.toolSettingSlider->x(), 356);
        QCOMPARE(mainWindow.toolSettingValue->x(), 504);
        QVERIFY(mainWindow.toolSettingLabel->geometry().right() < 356);
        QVERIFY(mainWindow.toolSettingSlider->geometry().right() < 504);
        QVERIFY(mainWindow.toolSettingLabel->fontMetrics().horizontalAdvance(QStringLiteral(
                    "Tloušťka:")) <= mainWindow.toolSettingLabel->contentsRect().width());
        QCOMPARE(mainWindow.findChild<QLabel*>(QStringLiteral("logo"))->pos(), QPoint(400, 0));
        mainWindow.toolSettingSlider->setValue(7);
        QCOMPARE(mainWindow.Workspace().Thickness, 7);

        QTest::mouseClick(mainWindow.Button(QStringLiteral("toleranceFillButton")), Qt::LeftButton);
        QCOMPARE(mainWindow.toolSettingLabel->text(), QStringLiteral("Práh:"));
        QCOMPARE(mainWindow.toolSettingSlider->value(), 4);
        mainWindow.toolSettingSlider->setValue(9);
        QCOMPARE(mainWindow.Workspace().Threshold, 45);

        QTest::mouseClick(mainWindow.Button(QStringLiteral("fullFillButton")), Qt::LeftButton);
        QVERIFY(!mainWindow.toolSettingSlider->isVisible());

        QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QVERIFY(!mainWindow.editingBar->isVisible());
        QCOMPARE(mainWindow.Workspace().CurrentTool, int(PickLayerTool));
    }

    // Help in a window of the program: the page with its pictures and its links
    // between sections; a missing page is reported.
    void helpShowsInAWindowOfTheProgram() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("help")));
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(QColor(200, 30, 40));
        QVERIFY(picture.save(dir.filePath(QStringLiteral("help/obrazek.png"))));
        QFile page(dir.filePath(QStringLiteral("help/help.htm")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><body><h2>Jak program pracuje</h2><p><a href=\"#konec\">Na konec"
                   "</a></p><p><img src=\"obrazek.png\"></p><h2 id=\"konec\">Konec</h2>"
                   "</body></html>");
        page.close();
        ScriptedPrompts prompts;
        MainWindow mainWindow(dir.path(), prompts);
        mainWindow.show();
        QTest::mouseClick(mainWindow.Button(QStringLiteral("helpButton")), Qt::LeftButton);
        QVERIFY(prompts.asked.isEmpty());
        HelpWindow* help = mainWindow.helpWindow;
        QVERIFY(help);
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QCOMPARE(help->windowTitle(), QStringLiteral("Nápověda"));
        QCOMPARE(help->parentWidget(), &mainWindow);
        QCOMPARE(help->browser->source(), QUrl::fromLocalFile(page.fileName()));
        QVERIFY(help->browser->toPlainText().contains(QStringLiteral("Jak program pracuje")));
        // The picture beside the page is drawn.
        const QImage shown = help->browser->viewport()->grab().toImage();
        int red = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                red += shown.pixelColor(x, y) == QColor(200, 30, 40);
        QVERIFY2(red >= 40 * 30, qPrintable(QString::number(red)));
        // A second call shows the same window again.
        help->hide();
        QTest::mouseClick(mainWindow.Button(QStringLiteral("helpButton")), Qt::LeftButton);
        QCOMPARE(mainWindow.helpWindow, help);
        QVERIFY(help->isVisible());

        // Without the page: a message, no empty window.
        help->hide();
        QVERIFY(QFile::remove(page.fileName()));
        QTest::mouseClick(mainWindow.Button(QStringLiteral("helpButton")), Qt::LeftButton);
        QVERIFY(!help->isVisible());
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Chyba"));
        QVERIFY(prompts.asked[0].text.contains(QDir::toNativeSeparators(page.fileName())));
    }

    // Each file dialog opens where it was last used, the save dialogs offering the
    // project's name; the export's folder is not the paint order's nor the import's.
    void fileDialogsRememberTheirOwnFolders() {
        QTemporaryDir dir;
        const QString project = dir.filePath(QStringLiteral("domy"));
        const QString elsewhere = dir.filePath(QStringLiteral("obrázky"));
        const QString orders = dir.filePath(QStringLiteral("objednávky"));
        for (const QString& folder : {project, elsewhere, orders})
            QVERIFY(QDir().mkpath(folder));
        QFile photo(orders + QStringLiteral("/foto.jpg"));
        QVERIFY(photo.open(QIODevice::WriteOnly));
        photo.close();
        QtPrompts prompts;
        struct Seen {
            QString folder, name;
        };
        // Notes where the dialog opened and what name it offered, then answers it.
        const auto answer = [](Seen& seen, const QString& choice) {
            WhenShown<QFileDialog>([&seen, choice](QFileDialog* dialog) {
                seen.folder = dialog->directory().absolutePath();
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    seen.name = name->text();
                if (choice.isEmpty()) {
                    dialog->reject();
                    return;
                }
                AcceptFile(dialog, choice);
            });
        };
        const QString exportFilter = QStringLiteral("Obrázky JPG (*.jpg)|*.jpg");
        const QString offered = project + QStringLiteral("/dům.jpg");
        Seen first, second, order, import, again;
        answer(first, elsewhere + QStringLiteral("/jiný.jpg"));
        QCOMPARE(prompts.SaveFileName(QStringLiteral("jpg"), exportFilter, offered,
                                      Prompts::FileUse::Export),
                 elsewhere + QStringLiteral("/jiný.jpg"));
        QCOMPARE(first.folder, project);
        QCOMPARE(first.name, QStringLiteral("dům.jpg"));
        answer(second, QString());
        prompts.SaveFileName(QStringLiteral("jpg"), exportFilter, offered,
                             Prompts::FileUse::Export);
        QCOMPARE(second.folder, elsewhere);
        QCOMPARE(second.name, QStringLiteral("dům.jpg"));
        answer(order, orders + QStringLiteral("/objednávka.pdf"));
        prompts.SaveFileName(QStringLiteral("pdf"), QStringLiteral("Dokumenty PDF (*.pdf)|*.pdf"),
                             project + QStringLiteral("/dům.pdf"), Prompts::FileUse::Order);
        QCOMPARE(order.folder, project);
        QCOMPARE(order.name, QStringLiteral("dům.pdf"));
        answer(import, photo.fileName());
        QCOMPARE(prompts.OpenFileName(QStringLiteral("Obrázky JPEG (*.jpg *.jpeg)|*.jpg;*.jpeg"),
                                      Prompts::FileUse::Import),
                 photo.fileName());
        QVERIFY(import.folder != elsewhere);
        answer(again, QString());
        prompts.OpenFileName(QStringLiteral("Obrázky JPEG (*.jpg *.jpeg)|*.jpg;*.jpeg"),
                             Prompts::FileUse::Import);
        QCOMPARE(again.folder, orders);
    }

    // The import lists JPEG pictures by either ending, in any letter case.
    void theImportListsJpegPicturesInAnyCase() {
        QTemporaryDir dir;
        QtPrompts prompts;
        const QStringList files{"a.JPG", "b.jpeg", "c.Jpeg", "d.png", "e.jpg", "f.bmp"};
        for (const QString& name : files) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        // The folder: where the dialog of the import was last used.
        WhenShown<QFileDialog>([&dir](QFileDialog* dialog) {
            AcceptFile(dialog, dir.filePath(QStringLiteral("e.jpg")));
        });
        QCOMPARE(prompts.OpenFileName(QStringLiteral("Obrázky|*.jpg"), Prompts::FileUse::Import),
                 dir.filePath(QStringLiteral("e.jpg")));
        Workspace ws;
        QTemporaryDir domy;
        QStringList listed;
        WhenShown<QFileDialog>([&listed](QFileDialog* dialog) {
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            for (int i = 0; i < 100 && view && view->model()->rowCount(view->rootIndex()) == 0; ++i)
                QTest::qWait(50);
            if (view) {
                for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                    listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
            }
            dialog->reject();
        });
        QVERIFY(!ImportPhotograph(ws, prompts, domy.path())); // cancelled
        listed.sort();
        // Every kind of photograph read, JPEG by either ending; no BMP.
        QCOMPARE(listed, (QStringList{"a.JPG", "b.jpeg", "c.Jpeg", "d.png", "e.jpg"}));
    }

    // The scheme name's field takes no more than the mask file keeps.
    void theInputFieldTakesAtMostItsLength() {
        QtPrompts prompts;
        QString typed;
        int limit = -1;
        bool roomy = false;
        WhenShown<QInputDialog>([&typed, &limit, &roomy](QInputDialog* dialog) {
            auto* field = dialog->findChild<QLineEdit*>();
            limit = field->maxLength();
            // Its title, the question, has room beside a title bar's buttons.
            QFont bold = dialog->font();
            bold.setBold(true);
            roomy = dialog->width() >=
                    QFontMetrics(bold).horizontalAdvance(dialog->windowTitle()) + 100;
            // Typed key by key (keyClicks takes only ASCII).
            for (QChar c : QStringLiteral("Žluťoučká varianta pro babičku Růženu"))
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            typed = field->text();
            dialog->accept();
        });
        const QString name = prompts.InputText(QStringLiteral("Zadejte název schématu"),
                                               QStringLiteral("Název"), QString(), 32);
        QCOMPARE(limit, 32);
        QVERIFY(roomy);
        QCOMPARE(typed, QStringLiteral("Žluťoučká varianta pro babičku R"));
        QCOMPARE(name, typed);
    }

    void closingWithoutChangesAsksNothing() {
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        MainWindow mainWindow(dir.path(), prompts);
        mainWindow.show();
        QVERIFY(mainWindow.close());
        QVERIFY(prompts.asked.isEmpty());
    }

    void closingQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("withProject");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QStringList>("messages");
        const QString question = QStringLiteral("Chcete uložit změny?");
        QTest::newRow("yes saves and closes")
            << int(Prompts::Yes) << true << true
            << QStringList{question, QStringLiteral("Soubor byl uložen")};
        QTest::newRow("yes without a project")
            << int(Prompts::Yes) << false << true
            << QStringList{question, QStringLiteral("Není co ukládat")};
        QTest::newRow("no closes") << int(Prompts::No) << true << true << QStringList{question};
        QTest::newRow("cancel stays")
            << int(Prompts::Cancel) << true << false << QStringList{question};
    }
    void closingQuestion() {
        QFETCH(int, answer);
        QFETCH(bool, withProject);
        QFETCH(bool, closes);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        MainWindow mainWindow(dir.path(), prompts);
        Document& doc = mainWindow.Workspace().Doc;
        if (withProject) {
            doc.ProjectPath = dir.filePath(QStringLiteral("domy/dum.bmp"));
            doc.Mask = TMask::CreateBlank(3, 2);
        }
        doc.Modified = true;
        mainWindow.show();
        prompts.answers.enqueue(Prompts::Button(answer));
        QCOMPARE(mainWindow.close(), closes);
        QCOMPARE(prompts.Texts(), messages);
        QCOMPARE(prompts.asked[0].caption, QStringLiteral("Dotaz"));
        QCOMPARE(prompts.asked[0].icon, Prompts::Icon::Question);
        QCOMPARE(prompts.asked[0].buttons, Prompts::Yes | Prompts::No | Prompts::Cancel);
        const bool saved = QFile::exists(dir.filePath(QStringLiteral("domy/dum.bmp.mask")));
        QCOMPARE(saved, withProject && answer == Prompts::Yes);
        QCOMPARE(doc.Modified, !saved);
    }

    void failedSaveKeepsTheWindowOpen() {
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        MainWindow mainWindow(dir.path(), prompts);
        mainWindow.Workspace().Doc.ProjectPath = dir.filePath(QStringLiteral("chybi/dum.bmp"));
        mainWindow.Workspace().Doc.Modified = true;
        mainWindow.show();
        prompts.answers.enqueue(Prompts::Yes);
        QVERIFY(!mainWindow.close());
        QCOMPARE(prompts.asked.size(), 2);
        QCOMPARE(prompts.asked[1].caption, QStringLiteral("Chyba"));
        QVERIFY(mainWindow.Workspace().Doc.Modified);
    }

    void czechMessageDialogCaptions() {
        auto box = BuildCzechMessageDialog(
            QStringLiteral("Dotaz"), QStringLiteral("Otázka?"), Prompts::Icon::Question,
            Prompts::Yes | Prompts::No | Prompts::Cancel, Prompts::No, 0);
        QCOMPARE(box->windowTitle(), QStringLiteral("Dotaz"));
        QCOMPARE(box->button(QMessageBox::Yes)->text(), QStringLiteral("&Ano"));
        QCOMPARE(box->button(QMessageBox::No)->text(), QStringLiteral("&Ne"));
        QCOMPARE(box->button(QMessageBox::Cancel)->text(), QStringLiteral("Storno"));
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
        QCOMPARE(box->icon(), QMessageBox::Question);

        auto error =
            BuildCzechMessageDialog(QStringLiteral("Chyba"), QStringLiteral("Špatně"),
                                    Prompts::Icon::Error, Prompts::Ok, Prompts::NoButton, 0);
        QCOMPARE(error->buttons().size(), 1);
        QVERIFY(!error->button(QMessageBox::Ok)->text().isEmpty());
        QVERIFY(error->button(QMessageBox::Ok)->text() != QStringLiteral("&Ano"));
        QCOMPARE(error->icon(), QMessageBox::Critical);
    }

    // The open dialog's preview reads only regular files and never waits: a FIFO among
    // the photographs held the dialog until something wrote into it. Picked after a
    // picture, it leaves the preview empty.
    void theOpenDialogsPreviewSkipsAFifo() {
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("a.png"));
        QImage red(40, 30, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(picture));
        const QString fifo = dir.filePath(QStringLiteral("b.png"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        // A preview waiting on the FIFO gets a writer after ten seconds, and the test fails.
        std::atomic<bool> done{false}, released{false};
        std::thread watchdog([&] {
            for (int waited = 0; !done; waited += 50) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (waited < 10000)
                    continue;
                const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    released = true;
                    ::close(fd);
                }
            }
        });
        QSize pictureShown;
        bool emptyAfterFifo = false;
        QtPrompts prompts;
        QTimer::singleShot(50, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* preview = dialog->findChild<QLabel*>(QStringLiteral("preview"));
            emit dialog->currentChanged(picture);
            pictureShown = preview->pixmap().size();
            emit dialog->currentChanged(fifo);
            emptyAfterFifo = preview->pixmap().isNull();
            dialog->reject();
        });
        prompts.OpenFileName(QStringLiteral("Obrázky|*.png"), Prompts::FileUse::Import);
        done = true;
        watchdog.join();
        QCOMPARE(pictureShown, QSize(220, 165));
        QVERIFY(!released);
        QVERIFY(emptyAfterFifo);
    }

    // Every message and dialog stands above the windows that stay on top (the
    // catalogue) and is centred on the window the user works in.
    void dialogsStandAboveEveryWindow_data() {
        QTest::addColumn<Ask>("ask");
        QTest::newRow("question") << Ask([](Prompts& p) {
            QCOMPARE(p.Message(QStringLiteral("Opravdu chcete smazat obsah této vrstvy?"),
                               QStringLiteral("Potvrzení"), Prompts::Icon::Question,
                               Prompts::Yes | Prompts::No),
                     Prompts::No);
        });
        QTest::newRow("colour") << Ask([](Prompts& p) { p.ChooseColour(Rgb(1, 2, 3)); });
        QTest::newRow("input") << Ask([](Prompts& p) {
            p.InputText(QStringLiteral("Zadejte název schématu"), QStringLiteral("Název"), {}, 32);
        });
        QTest::newRow("file") << Ask([](Prompts& p) {
            p.SaveFileName(QStringLiteral("jpg"), QStringLiteral("Obrázky JPG (*.jpg)|*.jpg"),
                           QDir::temp().filePath(QStringLiteral("dům.jpg")),
                           Prompts::FileUse::Export);
        });
    }
    void dialogsStandAboveEveryWindow() {
        QFETCH(Ask, ask);
        QWidget main;
        main.setGeometry(0, 0, 900, 700);
        main.show();
        QWidget onTop(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
        onTop.setGeometry(300, 40, 216, 506); // room around it on the 800 × 600 screen
        onTop.show();
        onTop.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&onTop));
        QtPrompts prompts;
        prompts.SetParentWindow(&main);
        // What the user saw, noted before the dialog is closed.
        struct Seen {
            bool shown = false, aboveAll = false, noVisible = true, isFile = false;
            QWidget* owner = nullptr;
            QPoint offset;
        } seen;
        QTimer::singleShot(50, &main, [&seen, &onTop] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            seen.shown = true;
            seen.aboveAll = dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            seen.owner = dialog->parentWidget();
            seen.offset = dialog->frameGeometry().center() - onTop.frameGeometry().center();
            seen.isFile = qobject_cast<QFileDialog*>(dialog) != nullptr;
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                seen.noVisible = box->button(QMessageBox::No)->isVisible();
                box->button(QMessageBox::No)->click();
            } else {
                static_cast<QDialog*>(dialog)->reject();
            }
        });
        ask(prompts);
        QVERIFY(seen.shown);
        QVERIFY(seen.aboveAll);
        QCOMPARE(seen.owner, &onTop);
        QVERIFY(seen.noVisible);
        if (!seen.isFile) // a file dialog is larger than the catalogue and kept on screen
            QVERIFY2(
                seen.offset.manhattanLength() < 4,
                qPrintable(QStringLiteral("%1, %2").arg(seen.offset.x()).arg(seen.offset.y())));
    }

    void windowsAreCreatedInOrderWithTheirCaptions() {
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        const QList<QWidget*> order{windows.mainWindow.get(),  windows.layerDialog.get(),
                                    windows.catalogue.get(),   windows.palette.get(),
                                    windows.overview.get(),    windows.masterChooser.get(),
                                    windows.projectList.get(), windows.comparison.get()};
        const QStringList captions{QStringLiteral("Tintora"),
                                   QStringLiteral("Vlastnosti vrstvy"),
                                   QStringLiteral("barvy"),
                                   QStringLiteral("Paleta barev"),
                                   QStringLiteral("Přehled"),
                                   QStringLiteral("Zvolit podřízenou vrstvu"),
                                   QStringLiteral("Seznam vytvořených projektů"),
                                   QStringLiteral("Porovnání schémat")};
        int buttons = 0;
        // Every modal window stands above the catalogue and the palette.
        for (QWidget* modal : {static_cast<QWidget*>(windows.overview.get()),
                               static_cast<QWidget*>(windows.masterChooser.get()),
                               static_cast<QWidget*>(windows.projectList.get()),
                               static_cast<QWidget*>(windows.comparison.get())})
            QVERIFY(modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        for (int i = 0; i < order.size(); ++i) {
            QCOMPARE(order[i]->windowTitle(), captions[i]);
            QVERIFY(!order[i]->isVisible());
            for (TGlintImage* button : order[i]->findChildren<TGlintImage*>()) {
                if (button->window() == order[i])
                    ++buttons;
            }
        }
        // 33 image buttons, the palette's likeness ranking beside its search, the
        // overview's paint order, spreading rates and colour proposal, smart selection, the
        // tool "Měřítko", the main window's before-and-after and the scheme comparison's
        // proposal, three zoom buttons, close button and the four panes' apply buttons.
        QCOMPARE(buttons, 49);
    }

    void openThroughTheProjectList() {
        QTemporaryDir dir;
        const DemoProject demo = MakeDemoHouse(300, 200);
        const QString photo = SaveProject(dir.path(), QStringLiteral("Rodinný dům.bmp"), demo,
                                          demo.Layers, demo.Schemes);

        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        MainWindow& mainWindow = *windows.mainWindow;
        mainWindow.show();
        QTimer::singleShot(0, windows.projectList.get(), [&windows] {
            windows.projectList->exteriorList->setCurrentRow(0);
            windows.projectList->onChooseProjectTriggered();
        });
        QTest::mouseClick(mainWindow.Button(QStringLiteral("openButton")), Qt::LeftButton);
        Workspace& ws = mainWindow.Workspace();
        QCOMPARE(ws.Doc.ProjectPath, photo);
        QCOMPARE(Rows(mainWindow.layerList).size(), demo.Layers.size());
        QCOMPARE(Rows(mainWindow.schemeList),
                 (QStringList{QStringLiteral("Teplá okrová"), QStringLiteral("Chladná šedá")}));
        QCOMPARE(mainWindow.imageView->size(), QSize(300, 200));
        QVERIFY(ws.ViewBitmap != ws.Doc.PhotoBitmap); // shaded layers are recoloured

        // An edit, then undo and redo through the buttons.
        const TMask opened = ws.Doc.Mask;
        ws.PushUndo();
        ws.Doc.Mask.PaintSpan(10, 0, 299, 2);
        ws.History.MarkPresentChanged();
        const TMask edited = ws.Doc.Mask;
        QTest::mouseClick(mainWindow.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("undoButton")), Qt::LeftButton);
        QCOMPARE(ws.Doc.Mask, opened);
        QTest::mouseClick(mainWindow.Button(QStringLiteral("redoButton")), Qt::LeftButton);
        QCOMPARE(ws.Doc.Mask, edited);
    }

    void splashStaysFiveSecondsInTotal_data() {
        QTest::addColumn<int>("creationMs");
        QTest::addColumn<QList<std::int64_t>>("waits");
        QTest::newRow("1 s of creation") << 1000 << QList<std::int64_t>{4000};
        QTest::newRow("7 s of creation") << 7000 << QList<std::int64_t>{};
        QTest::newRow("exactly 5 s") << 5000 << QList<std::int64_t>{};
    }
    void splashStaysFiveSecondsInTotal() {
        QFETCH(int, creationMs);
        QFETCH(QList<std::int64_t>, waits);
        QTemporaryDir dir;
        FakeClock clock(creationMs);
        ScriptedPrompts prompts;
        const auto windows = StartUp(dir.path(), clock, &prompts);
        // Without a catalogue beside the program the user is told so, and it starts.
        QCOMPARE(prompts.asked.size(), 1);
        QVERIFY(prompts.asked[0].text.contains(QStringLiteral("odrex.tom")));
        QCOMPARE(clock.waited, waits);
        QVERIFY(windows->mainWindow->isVisible());
        // The title is the application's; the captions stay exactly as they are.
        QCOMPARE(QCoreApplication::applicationName() + QLatin1Char(' ') +
                     QCoreApplication::applicationVersion(),
                 QStringLiteral("Tintora 1.2"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
        QCOMPARE(windows->mainWindow->windowTitle(), QStringLiteral("Tintora"));
        QCOMPARE(windows->catalogue->windowTitle(), QStringLiteral("barvy"));
        // Qt's own dialogs speak Czech.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Zrušit"));
        const auto topLevels = QApplication::topLevelWidgets();
        for (QWidget* widget : topLevels)
            QVERIFY(widget->windowType() != Qt::SplashScreen || !widget->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
