// Keys pressed in the tool windows under a real window manager (openbox on a virtual X
// server): the catalogue, the palette and the layer dialog are owned by the main window,
// and its Enter and Esc must not be taken from their fields. The main window keeps its
// keys where its own focus is. Skips when no X server can be started here.
#include "app/AppWindows.h"
#include "app/ImageView.h"
#include "app/MainWindow.h"
#include "catalogue/CatalogueWindow.h"
#include "layers/LayerDialog.h"
#include "palette/PaletteWindow.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"
#include "support/TestProjects.h"
#include "support/XServer.h"
#include "widgets/GlintImage.h"
#include "workspace/ProjectOperations.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

XServer* server = nullptr;

// What is pending in the main window while the key is pressed elsewhere.
enum class Pending { Proposal, ScaleMarks, LineChain };
// Where the key goes.
enum class Field { CatalogueSearch, CatalogueQuantity, PaletteTolerance, LayerName, LayerList };

} // namespace

Q_DECLARE_METATYPE(Pending)
Q_DECLARE_METATYPE(Field)

class TestWindowKeys : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!server)
            QSKIP("No X server with a window manager can be started here.");
        QVERIFY(dir.isValid());
        QCOMPARE(TestCatalogue::Build(dir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows()),
                 QString());
        photo = SaveDemoProject(dir.path(), QStringLiteral("Dům.bmp"), 240, 180);
    }

    void init() {
        prompts.asked.clear();
        windows = std::make_unique<AppWindows>(dir.path(), &prompts);
        MainWindow& main = *windows->mainWindow;
        main.setGeometry(20, 40, 800, 600);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(OpenProjectFile(main.Workspace(), prompts, photo));
        QTest::mouseClick(main.Button(QStringLiteral("editModeButton")), Qt::LeftButton);
        main.layerList->setCurrentRow(1);
    }
    void cleanup() { windows.reset(); }

    void keysStayInTheWindowWithTheFocus_data() {
        QTest::addColumn<Pending>("pending");
        QTest::addColumn<Field>("field");
        QTest::addColumn<int>("key");
        QTest::newRow("Enter searches the catalogue, the proposal stays")
            << Pending::Proposal << Field::CatalogueSearch << int(Qt::Key_Return);
        QTest::newRow("Enter on the keypad searches the catalogue")
            << Pending::Proposal << Field::CatalogueSearch << int(Qt::Key_Enter);
        QTest::newRow("Esc in the catalogue keeps the proposal")
            << Pending::Proposal << Field::CatalogueSearch << int(Qt::Key_Escape);
        QTest::newRow("Esc in the catalogue keeps the scale's marks")
            << Pending::ScaleMarks << Field::CatalogueSearch << int(Qt::Key_Escape);
        QTest::newRow("Esc in the catalogue keeps the line chain")
            << Pending::LineChain << Field::CatalogueQuantity << int(Qt::Key_Escape);
        QTest::newRow("Enter stores the catalogue's quantity")
            << Pending::Proposal << Field::CatalogueQuantity << int(Qt::Key_Return);
        QTest::newRow("Enter in a tolerance field searches the palette")
            << Pending::Proposal << Field::PaletteTolerance << int(Qt::Key_Return);
        QTest::newRow("Enter confirms the layer dialog")
            << Pending::Proposal << Field::LayerName << int(Qt::Key_Return);
        QTest::newRow("Esc cancels the layer dialog")
            << Pending::Proposal << Field::LayerName << int(Qt::Key_Escape);
        QTest::newRow("Enter in the main window applies the proposal")
            << Pending::Proposal << Field::LayerList << int(Qt::Key_Return);
        QTest::newRow("Esc in the main window drops the proposal")
            << Pending::Proposal << Field::LayerList << int(Qt::Key_Escape);
        QTest::newRow("Esc in the main window drops the scale's marks")
            << Pending::ScaleMarks << Field::LayerList << int(Qt::Key_Escape);
        QTest::newRow("Esc in the main window ends the line chain")
            << Pending::LineChain << Field::LayerList << int(Qt::Key_Escape);
    }
    void keysStayInTheWindowWithTheFocus() {
        QFETCH(Pending, pending);
        QFETCH(Field, field);
        QFETCH(int, key);
        MainWindow& main = *windows->mainWindow;
        Workspace& ws = main.Workspace();
        MakePending(pending);
        const TMask maskBefore = ws.Doc.Mask;
        const QString nameBefore = ws.Doc.Layers[1].Name;
        const int quantityBefore = ws.Doc.Layers[1].Quantity;

        QLineEdit* edit = nullptr;
        QWidget* window = &main;
        CatalogueWindow& catalogue = *windows->catalogue;
        switch (field) {
        case Field::CatalogueSearch:
        case Field::CatalogueQuantity:
            catalogue.ShowForLayer(1, ws.Doc.Layers[1]);
            window = &catalogue;
            edit = field == Field::CatalogueSearch ? catalogue.searchEdit : catalogue.quantityEdit;
            edit->setText(field == Field::CatalogueSearch ? QStringLiteral("E 001")
                                                          : QStringLiteral("7"));
            break;
        case Field::PaletteTolerance:
            catalogue.ShowForLayer(1, ws.Doc.Layers[1]);
            catalogue.fanDeckList->setCurrentRow(1);
            catalogue.onFanDeckListClicked();
            catalogue.shadeList->setCurrentRow(0); // the colour searched around
            catalogue.onShadeListClicked();
            window = windows->palette.get();
            windows->palette->ShowOnShade(); // as a double click on the shade does
            edit = windows->palette->redToleranceEdit;
            edit->setText(QStringLiteral("-5")); // a search that finds nothing
            break;
        case Field::LayerName:
            main.Layers().EditLayer(1);
            window = windows->layerDialog.get();
            edit = windows->layerDialog->nameEdit;
            edit->setText(QStringLiteral("Štít"));
            break;
        case Field::LayerList:
            break;
        }
        const int shadesBefore = catalogue.shadeList->count();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QWidget* focused = edit ? static_cast<QWidget*>(edit) : main.layerList;
        focused->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), focused);
        QTest::keyClick(focused, Qt::Key(key));
        QTest::qWait(50);

        const bool inMain = field == Field::LayerList;
        const bool escape = key == Qt::Key_Escape;
        // What was pending in the main window: only its own keys act on it.
        switch (pending) {
        case Pending::Proposal:
            QCOMPARE(ws.Smart.Proposal().IsEmpty(), inMain);
            QCOMPARE(ws.Doc.Mask == maskBefore, !inMain || escape);
            break;
        case Pending::ScaleMarks:
            QCOMPARE(main.Tools().Scale.PendingPoints().size(), inMain ? 0 : 2);
            break;
        case Pending::LineChain:
            QCOMPARE(ws.LineAnchorX < 0, inMain);
            break;
        }
        // What the key does where it was pressed.
        switch (field) {
        case Field::CatalogueSearch:
            if (escape)
                QCOMPARE(catalogue.Model.Mode, ShadeListMode::FanDeckShades);
            else
                QCOMPARE(catalogue.shadeList->count(), 2); // "E 001 - 01", "E 001 - 02"
            break;
        case Field::CatalogueQuantity:
            QCOMPARE(ws.Doc.Layers[1].Quantity, escape ? quantityBefore : 7);
            break;
        case Field::PaletteTolerance:
            QVERIFY(shadesBefore > 0);
            QCOMPARE(catalogue.shadeList->count(), 0);
            break;
        case Field::LayerName:
            QCOMPARE(ws.Doc.Layers[1].Name, escape ? nameBefore : QStringLiteral("Štít"));
            QVERIFY(!windows->layerDialog->isVisible());
            break;
        case Field::LayerList:
            break;
        }
        QVERIFY2(prompts.asked.isEmpty(), qPrintable(prompts.asked.value(0).text));
    }

private:
    void MakePending(Pending pending) {
        MainWindow& main = *windows->mainWindow;
        Workspace& ws = main.Workspace();
        const int w = main.imageView->width(), h = main.imageView->height();
        switch (pending) {
        case Pending::Proposal:
            QTest::mouseClick(main.Button(QStringLiteral("smartSelectButton")), Qt::LeftButton);
            QTest::mousePress(main.imageView, Qt::LeftButton, {}, QPoint(w / 4, h / 2));
            for (int x = w / 4; x <= 3 * w / 4; x += 10)
                QTest::mouseMove(main.imageView, QPoint(x, h / 2));
            QTest::mouseRelease(main.imageView, Qt::LeftButton, {}, QPoint(3 * w / 4, h / 2));
            QVERIFY(!ws.Smart.Proposal().IsEmpty());
            break;
        case Pending::ScaleMarks:
            QTest::mouseClick(main.Button(QStringLiteral("scaleButton")), Qt::LeftButton);
            QTest::mouseClick(main.imageView, Qt::LeftButton, {}, QPoint(20, 20));
            QTest::mouseClick(main.imageView, Qt::LeftButton, {}, QPoint(80, 20));
            QCOMPARE(main.Tools().Scale.PendingPoints().size(), 2);
            break;
        case Pending::LineChain:
            QTest::mouseClick(main.Button(QStringLiteral("linesButton")), Qt::LeftButton);
            QTest::mouseClick(main.imageView, Qt::LeftButton, {}, QPoint(20, 20));
            QVERIFY(ws.LineAnchorX >= 0);
            break;
        }
    }

    QTemporaryDir dir;
    QString photo;
    ScriptedPrompts prompts;
    std::unique_ptr<AppWindows> windows;
};

int main(int argc, char* argv[]) {
    return RunUnderXServer<TestWindowKeys>(argc, argv, server);
}

#include "test_windowkeys.moc"
