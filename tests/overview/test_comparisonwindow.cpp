// The window "Porovnání schémat" as a user meets it: opened from the scheme list's
// menu, panes that show each ticked scheme's colouring, moved and zoomed together,
// a scheme applied with one click, and a document left as it was.
#include "DemoHouse.h"
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "layers/Schemes.h"
#include "overview/ComparisonPane.h"
#include "overview/ComparisonWindow.h"
#include "render/RenderRegion.h"
#include "support/PdfText.h"
#include "support/ScriptedPrompts.h"
#include "support/TestProjects.h"
#include "widgets/GlintImage.h"
#include "workspace/ProjectOperations.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace {

// The demo house with its two schemes and two more: a green facade and blue doors.
struct Scene {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<AppWindows> windows;
    MainWindow* main = nullptr;
    ComparisonWindow* window = nullptr;

    explicit Scene(int schemes = 4) {
        DemoProject demo = MakeDemoHouse(1200, 800);
        SchemeList list = demo.Schemes;
        for (int i = 2; i < schemes; ++i) {
            SchemeRecord extra = demo.Schemes[i % 2];
            extra.Name = QStringLiteral("Návrh č. %1").arg(i + 1);
            for (LayerRecord& layer : extra.Layers)
                layer.ShadeColour = Rgb(40 * i, 200 - 30 * i, 60 + 40 * i);
            list << extra;
        }
        while (list.size() > schemes)
            list.removeLast();
        const QString photo =
            SaveProject(dir.path(), QStringLiteral("dům.bmp"), demo, demo.Layers, list);
        windows = std::make_unique<AppWindows>(dir.path(), &prompts);
        main = windows->mainWindow.get();
        window = windows->comparison.get();
        main->show();
        if (!OpenProjectFile(main->Workspace(), prompts, photo))
            qFatal("the demo project did not open");
    }
    Document& Doc() { return main->Workspace().Doc; }
    // The document coloured by a scheme, at zoom 1.
    QImage Rendered(int scheme) {
        Document coloured = Doc();
        coloured.Layers = LayersWithScheme(Doc().Layers, Doc().Schemes[scheme]);
        return RenderFullSize(coloured, false).convertToFormat(QImage::Format_RGB32);
    }
    void OpenWindow(int row) {
        window->Open(row);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
};

QStringList Rows(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

} // namespace

class TestComparisonWindow : public QObject {
    Q_OBJECT
private slots:
    // The menu item needs two schemes; it opens the window on the chosen scheme.
    void openedFromTheSchemeListsMenu_data() {
        QTest::addColumn<int>("schemes");
        QTest::addColumn<bool>("offered");
        QTest::newRow("one scheme") << 1 << false;
        QTest::newRow("two schemes") << 2 << true;
    }
    void openedFromTheSchemeListsMenu() {
        QFETCH(int, schemes);
        QFETCH(bool, offered);
        Scene scene(schemes);
        QAction* item = scene.main->schemeMenu->findChild<QAction*>(
            QStringLiteral("compareSchemesItem"), Qt::FindDirectChildrenOnly);
        if (!item) {
            for (QAction* action : scene.main->schemeMenu->actions()) {
                if (action->objectName() == QStringLiteral("compareSchemesItem"))
                    item = action;
            }
        }
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("Porovnat schémata"));
        emit scene.main->schemeMenu->aboutToShow();
        QCOMPARE(item->isEnabled(), offered);
        bool shown = false;
        QTimer::singleShot(0, scene.window, [&] {
            shown = scene.window->isVisible();
            QCOMPARE(scene.window->windowTitle(), QStringLiteral("Porovnání schémat"));
            scene.window->close();
        });
        scene.main->schemeList->setCurrentRow(schemes - 1);
        item->trigger();
        QCOMPARE(shown, offered);
        if (offered)
            QCOMPARE(scene.window->TickedSchemes(), (QList<int>{0, 1}));
    }

    // Which schemes are ticked at first, and the limits of two and four.
    void ticksBetweenTwoAndFour() {
        Scene scene(5);
        scene.OpenWindow(2);
        QCOMPARE(scene.window->TickedSchemes(), (QList<int>{0, 2, 3, 4}));
        QVERIFY(!scene.window->schemeChecks[1]->isEnabled()); // a fifth would pass four
        QCOMPARE(scene.window->Panes()[0]->nameLabel->toolTip(), scene.Doc().Schemes[0].Name);
        scene.window->schemeChecks[0]->setChecked(false);
        scene.window->schemeChecks[3]->setChecked(false);
        QCOMPARE(scene.window->TickedSchemes(), (QList<int>{2, 4}));
        QVERIFY(!scene.window->schemeChecks[2]->isEnabled()); // one would be too few
        QVERIFY(scene.window->schemeChecks[1]->isEnabled());
        QCOMPARE(scene.window->Panes()[0]->nameLabel->toolTip(), scene.Doc().Schemes[2].Name);
        QCOMPARE(scene.window->Panes()[1]->nameLabel->toolTip(), scene.Doc().Schemes[4].Name);
        QVERIFY(scene.window->Panes()[1]->isVisible());
        QVERIFY(!scene.window->Panes()[2]->isVisible());
    }

    // Zoomed to 1 and dragged, every pane shows the same corner of the house in its
    // scheme's colours: the pixels of a full render of that scheme.
    void panesShowTheSchemesColoursTogether() {
        Scene scene;
        const Document before = scene.Doc();
        scene.OpenWindow(0);
        const QList<ComparisonPane*> panes = scene.window->Panes();
        // Fitted: the whole picture in each pane, no larger than the pane.
        const float fit = scene.window->Zoom();
        QVERIFY(fit < 0.5f);
        QCOMPARE(fit, scene.window->FitZoom());
        const QSize paneSize = panes[0]->PictureSize();
        QVERIFY(1200 * fit <= paneSize.width() + 0.5 && 800 * fit <= paneSize.height() + 0.5);

        const QPoint middle(paneSize.width() / 2, paneSize.height() / 2);
        QWheelEvent wheel(QPointF(middle), panes[2]->picture->mapToGlobal(QPointF(middle)),
                          QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(panes[2]->picture, &wheel);
        QCOMPARE(scene.window->Zoom(), 0.5f);
        scene.window->ZoomAt(middle, true);
        QCOMPARE(scene.window->Zoom(), 1.0f);
        const QPoint start = scene.window->Scroll();
        QTest::mousePress(panes[1]->picture, Qt::LeftButton, {}, QPoint(200, 200));
        QTest::mouseMove(panes[1]->picture, QPoint(170, 190));
        QTest::mouseMove(panes[1]->picture, QPoint(150, 160));
        QTest::mouseRelease(panes[1]->picture, Qt::LeftButton, {}, QPoint(150, 160));
        QCOMPARE(scene.window->Scroll(), start + QPoint(50, 40));

        for (int i = 0; i < 4; ++i) {
            QCOMPARE(panes[i]->Zoom(), 1.0f);
            QCOMPARE(panes[i]->Scroll(), scene.window->Scroll());
            const QImage shown = panes[i]->PictureShown().convertToFormat(QImage::Format_RGB32);
            const QImage expected =
                scene.Rendered(i).copy(QRect(scene.window->Scroll(), shown.size()));
            QVERIFY2(shown == expected, qPrintable(QStringLiteral("pane %1").arg(i)));
            // The shades under the picture name the scheme's colours.
            QVERIFY(panes[i]->shadeList->count() > 0);
        }
        // The panes differ where the schemes do.
        QVERIFY(panes[0]->PictureShown() != panes[2]->PictureShown());

        // Back to the whole picture.
        QTest::mouseClick(scene.window->fitButton, Qt::LeftButton);
        QCOMPARE(scene.window->Zoom(), fit);
        // Nothing of the document changed.
        QVERIFY(!scene.Doc().Modified);
        QCOMPARE(scene.Doc().Layers, before.Layers);
        QCOMPARE(scene.Doc().Schemes, before.Schemes);
        QVERIFY(scene.Doc().Mask == before.Mask);
    }

    // Scrolling stops at the picture's edges for every pane alike.
    void scrollStaysInsideThePicture() {
        Scene scene(2);
        scene.OpenWindow(0);
        scene.window->ZoomAt(QPoint(), true);
        scene.window->ZoomAt(QPoint(), true);
        QCOMPARE(scene.window->Zoom(), 1.0f);
        scene.window->ScrollBy(QPoint(-5000, -5000));
        QCOMPARE(scene.window->Scroll(), QPoint(0, 0));
        scene.window->ScrollBy(QPoint(5000, 5000));
        const QSize pane = scene.window->Panes()[0]->PictureSize();
        QCOMPARE(scene.window->Scroll(), QPoint(1200 - pane.width(), 800 - pane.height()));
        QCOMPARE(scene.window->Panes()[1]->Scroll(), scene.window->Scroll());
    }

    // The proposal for the customer holds the ticked schemes, in their order, and
    // leaves the window open.
    void proposalOfTheTickedSchemes() {
        Scene scene;
        scene.OpenWindow(0);
        scene.window->schemeChecks[1]->setChecked(false);
        const QString pdf = scene.dir.filePath(QStringLiteral("návrh pro zákazníka.pdf"));
        scene.prompts.asked.clear();
        scene.prompts.fileNames.enqueue(pdf);
        QCOMPARE(scene.window->proposalButton->toolTip(),
                 QStringLiteral("Uložit návrh barev pro zákazníka (PDF)"));
        QTest::mouseClick(scene.window->proposalButton, Qt::LeftButton);
        QVERIFY(scene.prompts.asked.isEmpty());
        const QString text = PdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("Návrh barev")), qPrintable(text));
        const SchemeList& schemes = scene.Doc().Schemes;
        int previous = -1;
        for (int i : {0, 2, 3}) {
            const int at = int(text.indexOf(schemes[i].Name));
            QVERIFY2(at > previous, qPrintable(schemes[i].Name));
            previous = at;
        }
        QVERIFY(!text.contains(schemes[1].Name));
        QVERIFY(scene.window->isVisible());
        QVERIFY(!scene.Doc().Modified);
    }

    // One click applies a scheme; after unsaved edits the usual question comes first.
    void applyingAScheme_data() {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("applied");
        QTest::newRow("nothing edited") << false << int(Prompts::NoButton) << true;
        QTest::newRow("edited, yes") << true << int(Prompts::Yes) << true;
        QTest::newRow("edited, no") << true << int(Prompts::No) << false;
    }
    void applyingAScheme() {
        QFETCH(bool, edited);
        QFETCH(int, answer);
        QFETCH(bool, applied);
        Scene scene;
        Document& doc = scene.Doc();
        const LayerList layers = doc.Layers;
        scene.main->Layers().LayersEdited = edited;
        if (answer != Prompts::NoButton)
            scene.prompts.answers.enqueue(Prompts::Button(answer));
        scene.prompts.asked.clear();
        scene.OpenWindow(1);
        scene.window->schemeChecks[0]->setChecked(false);
        scene.window->schemeChecks[2]->setChecked(false);
        QCOMPARE(scene.window->TickedSchemes(), (QList<int>{1, 3}));
        ComparisonPane* pane = scene.window->Panes()[1];
        QCOMPARE(pane->applyButton->toolTip(), QStringLiteral("Použít toto schéma na projekt"));
        QTest::mouseClick(pane->applyButton, Qt::LeftButton);

        const QStringList questions =
            edited ? QStringList{QStringLiteral("Chcete použít dříve uložené schéma?")}
                   : QStringList{};
        QCOMPARE(scene.prompts.Texts(), questions);
        QCOMPARE(doc.Layers == LayersWithScheme(layers, doc.Schemes[3]), applied);
        QCOMPARE(doc.Layers == layers, !applied);
        QCOMPARE(doc.Modified, applied);
        QCOMPARE(scene.window->isVisible(), !applied);
        if (applied)
            QCOMPARE(scene.main->schemeList->currentRow(), 3);
    }
};

QTEST_MAIN(TestComparisonWindow)
#include "test_comparisonwindow.moc"
