// The overview window "Přehled" as a user meets it: its layout, the rows drawn from
// the catalogue on every paint of a visible row, the row click that offers the
// recipe, and the export, recipe, order and proposal buttons.
#include "CatalogueScript.h"
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueStatements.h"
#include "overview/OverviewWindow.h"
#include "overview/PaintCoverage.h"
#include "project/PhotoFiles.h"
#include "support/PaintedLayers.h"
#include "support/PdfText.h"
#include "support/ScriptedPrompts.h"
#include "support/TestCatalogue.h"
#include "support/TestWidgets.h"
#include "widgets/GlintImage.h"
#include "widgets/QtPrompts.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QColor Background(235, 250, 254);
const QColor Selected(10, 159, 197);

// The small test catalogue, built once for all tests.
QString SmallCatalogue() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("odrex.tom"));
        const QString failure = TestCatalogue::Build(file, TestCatalogue::SmallRows());
        if (!failure.isEmpty())
            qFatal("%s", qPrintable(failure));
        return file;
    }();
    return path;
}

struct Fixture {
    QTemporaryDir dir;
    Workspace ws;
    ScriptedPrompts prompts;
    CatalogueDatabase catalogue;
    std::unique_ptr<OverviewWindow> window;

    explicit Fixture(const LayerList& layers, bool withCatalogue = true) {
        if (withCatalogue)
            catalogue.Open(SmallCatalogue());
        ws.Doc.ProjectPath = dir.filePath(QStringLiteral("Rodinný dům.bmp"));
        QImage photo(60, 40, QImage::Format_BGR888);
        photo.fill(QColor(120, 130, 140));
        ws.Doc.PhotoBitmap = photo;
        ws.Doc.Mask = TMask::CreateBlank(60, 40);
        ws.Doc.Layers = layers;
        ws.MaskEditMode = false;
        ws.ResizeView();
        ws.UpdateWholePicture();
        window = std::make_unique<OverviewWindow>(ws, prompts, &catalogue);
    }

    QListWidget& List() { return *window->layerList; }
    void ClickRow(int row) {
        List().scrollToItem(List().item(row));
        QTest::mouseClick(List().viewport(), Qt::LeftButton, {},
                          List().visualItemRect(List().item(row)).center());
    }
    bool RecipeShown() const { return window->recipeButton->isVisibleTo(window.get()); }
};

LayerList SampleLayers() {
    return WithOriginal({PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 1, 12),
                         PaintedLayer(QStringLiteral("Sokl"), 3, 12, 1, 5),
                         PaintedLayer(QStringLiteral("Okna"), 0, 0, 0, 3, Rgb(1, 2, 3)),
                         PaintedLayer(QStringLiteral("Střecha"), -1, -1, -1, 0)});
}

} // namespace

class TestOverviewWindow : public QObject {
    Q_OBJECT
private slots:
    void layout() {
        Fixture f(SampleLayers());
        OverviewWindow& w = *f.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Přehled"));
        QVERIFY(w.isModal());
        // The design's 489, the spreading rate's, the proposal and the order buttons.
        QCOMPARE(w.size(), QSize(855, 552));
        QLabel* title = nullptr;
        for (QLabel* label : w.findChildren<QLabel*>())
            if (label->text() == QStringLiteral("Celkový přehled odstínů použitých na projektu"))
                title = label;
        QVERIFY(title);
        QCOMPARE(title->mapTo(&w, QPoint(0, 0)), QPoint(40, 17));
        QCOMPARE(title->font().pixelSize(), 19);
        QCOMPARE(QFontInfo(title->font()).styleHint(), QFont::Serif);
        QCOMPARE(f.List().geometry(), QRect(0, 52, 855, 450));
        QCOMPARE(f.List().frameShape(), QFrame::NoFrame);

        const struct {
            TGlintImage* button;
            QRect geometry;
            QString hint;
        } buttons[] = {
            {w.recipeButton, QRect(11, 517, 170, 18), "Vybraný odstín receptovat v Huemix"},
            {w.exportButton, QRect(188, 517, 170, 18), "Uložit nově obarvený obrázek"},
            {w.coverageButton, QRect(366, 517, 114, 18),
             "Vydatnost a počet nátěrů druhu barvy vybrané vrstvy"},
            {w.proposalButton, QRect(488, 517, 114, 18), "Uložit návrh barev pro zákazníka (PDF)"},
            {w.orderButton, QRect(610, 517, 114, 18), "Uložit objednávku barev k tisku (PDF)"},
            {w.closeButton, QRect(732, 517, 114, 18), "Zavřít přehled"},
        };
        for (const auto& b : buttons) {
            QCOMPARE(b.button->geometry(), b.geometry);
            QCOMPARE(b.button->toolTip(), b.hint);
            QVERIFY(b.button->OverChange());
        }
        QVERIFY(!f.RecipeShown());
        QVERIFY(!w.coverageButton->isVisibleTo(&w));
        QVERIFY(w.exportButton->isVisibleTo(&w));

        // Left buttons keep to the left and bottom edges, the others to the right.
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(900, 600);
        QCOMPARE(w.recipeButton->pos(), QPoint(11, 565));
        QCOMPARE(w.exportButton->pos(), QPoint(188, 565));
        QCOMPARE(w.coverageButton->pos(), QPoint(411, 565));
        QCOMPARE(w.proposalButton->pos(), QPoint(533, 565));
        QCOMPARE(w.orderButton->pos(), QPoint(655, 565));
        QCOMPARE(w.closeButton->pos(), QPoint(777, 565));
        QCOMPARE(f.List().geometry(), QRect(0, 52, 900, 498));
        // Never so narrow that the buttons overlap: at the narrowest the export button
        // still ends before the spreading rate's begins.
        w.resize(300, 300);
        QVERIFY(w.width() >= 855);
        QVERIFY(w.exportButton->geometry().right() < w.coverageButton->geometry().left());
    }

    void listedRows_data() {
        QTest::addColumn<LayerList>("layers");
        QTest::addColumn<QStringList>("rows");
        const LayerRecord one = PaintedLayer(QStringLiteral("Fasáda"), 6, 30, 1, 12);
        QTest::newRow("only Originál") << WithOriginal({}) << QStringList{};
        QTest::newRow("layer 2 subordinate to 1")
            << WithOriginal(
                   {one, Subordinated(PaintedLayer(QStringLiteral("Sokl"), 2, 12, 1, 1), one.Name),
                    PaintedLayer(QStringLiteral("Okna"), -1, -1, -1, 0)})
            << QStringList{"1", "3"};
    }

    void listedRows() {
        QFETCH(LayerList, layers);
        QFETCH(QStringList, rows);
        Fixture f(layers);
        f.window->FillOverview();
        QCOMPARE(Rows(&f.List()), rows);
        f.window->FillOverview(); // filled anew, not added to
        QCOMPARE(Rows(&f.List()), rows);
    }

    void rowsAsDrawn() {
        Fixture f(SampleLayers());
        f.window->FillOverview();
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QCOMPARE(f.List().visualItemRect(f.List().item(1)).height(), 90);
        QImage shot = f.List().viewport()->grab().toImage();
        // Row 0: a coloured shade, swatch 60 × 50 at (20, 20) outlined in black.
        QCOMPARE(shot.pixelColor(50, 45), QColor(250, 220, 100));
        QCOMPARE(shot.pixelColor(20, 20), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(90, 45), Background);
        // Row 1: the shade has no red (300): no swatch.
        QCOMPARE(shot.pixelColor(50, 90 + 45), Background);
        QCOMPARE(shot.pixelColor(20, 90 + 20), Background);
        // Row 2: a free colour, nothing in the catalogue: no swatch either.
        QCOMPARE(shot.pixelColor(50, 180 + 45), Background);
        // What the rows read, line by line from the top (name, fan deck, shade, paint
        // kind, quantity): each line as wide as its text, the quantity without a unit.
        const QStringList lines[] = {{"Fasáda", "Vějíř: Moje", "Odstin: Žlutá kuchyň",
                                      "Druh barvy: Fasádní barva", "Množství: 12"},
                                     {"Sokl", "Vějíř: Exteriér", "Odstin: E 001 - 01",
                                      "Druh barvy: Fasádní barva", "Množství: 5"},
                                     {"Okna", "", "", "", "Množství: 3"}};
        for (int row = 0; row < 3; ++row) {
            for (int line = 0; line < 5; ++line) {
                QFont font = f.List().font();
                font.setPointSize(line == 0 ? 9 : 8);
                font.setBold(line == 0);
                const QString& text = lines[row][line];
                const int top = 90 * row + 6 + 15 * line;
                int right = -1;
                for (int y = top; y < top + 14; ++y)
                    for (int x = 100; x < shot.width(); ++x)
                        if (shot.pixelColor(x, y) != Background)
                            right = std::max(right, x);
                const int expected =
                    text.isEmpty() ? -1 : 100 + QFontMetrics(font).tightBoundingRect(text).right();
                QVERIFY2(qAbs(right - expected) <= 2,
                         qPrintable(QStringLiteral("row %1 \"%2\": ink to %3, text to %4")
                                        .arg(row)
                                        .arg(text)
                                        .arg(right)
                                        .arg(expected)));
            }
        }

        f.ClickRow(1);
        shot = f.List().viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(5, 90 + 5), Selected);
        QCOMPARE(shot.pixelColor(5, 5), Background);
        QVERIFY(f.prompts.asked.isEmpty());
    }

    void everyPaintAsksTheCatalogueForTheVisibleRowsOnly() {
        LayerList layers{OriginalLayerTemplate()};
        for (int i = 1; i <= 200; ++i)
            layers << PaintedLayer(QStringLiteral("Vrstva %1").arg(i), 2, 12, 1000 + i, i);
        Fixture f(layers);
        f.window->FillOverview();
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QCoreApplication::processEvents();

        QListWidget& list = f.List();
        const auto visibleRows = [&list] {
            int rows = 0;
            for (int i = 0; i < list.count(); ++i)
                rows += list.visualItemRect(list.item(i)).intersects(list.viewport()->rect());
            return rows;
        };
        const int visible = visibleRows();
        QCOMPARE(visible, 5);
        for (int paint = 0; paint < 3; ++paint) {
            const int before = f.catalogue.StatementCount();
            const int calls = f.catalogue.CallCount();
            list.viewport()->grab();
            QCOMPARE(f.catalogue.StatementCount() - before, 3 * visible);
            // All of them handed to the catalogue's thread at once: one wait per paint.
            QCOMPARE(f.catalogue.CallCount() - calls, 1);
            QCOMPARE(f.catalogue.LastStatement(), Statements::PaintKindStatement(1000 + visible));
        }
        // Scrolled to the end, the last rows are the ones asked for.
        list.scrollToBottom();
        QCoreApplication::processEvents();
        const int before = f.catalogue.StatementCount();
        const int calls = f.catalogue.CallCount();
        list.viewport()->grab();
        QCOMPARE(f.catalogue.StatementCount() - before, 3 * visibleRows());
        QCOMPARE(f.catalogue.CallCount() - calls, 1);
        QCOMPARE(f.catalogue.LastStatement(), Statements::PaintKindStatement(1200));
    }

    void rowClickOffersTheRecipe_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("shown");
        QTest::newRow("shade, fan deck and paint kind") << 0 << true;
        QTest::newRow("a shade without colour") << 1 << true;
        QTest::newRow("free colour: references 0") << 2 << true;
        QTest::newRow("nothing chosen: references -1") << 3 << false;
    }

    void rowClickOffersTheRecipe() {
        QFETCH(int, row);
        QFETCH(bool, shown);
        Fixture f(SampleLayers());
        f.window->FillOverview();
        f.window->show();
        f.ClickRow(row);
        QCOMPARE(f.RecipeShown(), shown);
        // Keys move the selection as a click does.
        QTest::keyClick(&f.List(), row == 3 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(f.RecipeShown(), f.List().currentRow() != 3);
    }

    void recipeButtonKeepsItsStateAcrossOpenings() {
        Fixture f(SampleLayers());
        f.window->FillOverview();
        f.window->show();
        f.ClickRow(0);
        QVERIFY(f.RecipeShown());
        f.window->close();
        QVERIFY(f.RecipeShown());

        f.window->FillOverview();
        f.window->show();
        QVERIFY(f.RecipeShown());
        QVERIFY(f.List().selectedItems().isEmpty());
        // Shown but no row selected: the button does nothing.
        QTest::mouseClick(f.window->recipeButton, Qt::LeftButton);
        QVERIFY(f.prompts.asked.isEmpty());
        QVERIFY(!QFile::exists(f.dir.filePath(QStringLiteral("Rodinný dům.recept.txt"))));

        f.ClickRow(3);
        QVERIFY(!f.RecipeShown());
        QTest::mouseClick(f.window->closeButton, Qt::LeftButton);
        QVERIFY(!f.window->isVisible());
        f.window->FillOverview();
        f.window->show();
        QVERIFY(!f.RecipeShown());
    }

    void recipeGoesBesideTheProject() {
        Fixture f(SampleLayers());
        f.window->FillOverview();
        f.window->show();
        f.ClickRow(1);
        QTest::mouseClick(f.window->recipeButton, Qt::LeftButton);
        const QString file = f.dir.filePath(QStringLiteral("Rodinný dům.recept.txt"));
        QFile recipe(file);
        QVERIFY(recipe.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(recipe.readAll());
        QVERIFY(text.contains(QStringLiteral("Vrstva: Sokl\nOdstín: E 001 - 01\n"
                                             "Barva: bez barevné hodnoty\nVějíř: Exteriér\n"
                                             "Druh barvy: Fasádní barva (l)\nMnožství: 5 l\n")));
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].text,
                 QStringLiteral("Recept vybraného odstínu byl uložen do souboru %1.")
                     .arg(QDir::toNativeSeparators(file)));
        QVERIFY(f.window->isVisible());
    }

    void exportReplacesAnExistingFileWithoutAQuestion() {
        Fixture f(SampleLayers());
        f.window->FillOverview();
        f.window->show();
        const QString jpeg = f.dir.filePath(QStringLiteral("výsledek.jpg"));
        {
            QFile old(jpeg);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(200000, 'x'));
        }
        f.prompts.fileNames.enqueue(jpeg);
        QTest::mouseClick(f.window->exportButton, Qt::LeftButton);
        QVERIFY(f.prompts.asked.isEmpty());
        QCOMPARE(
            f.prompts.fileFilters,
            QStringList{QStringLiteral("Obrázky JPG (*.jpg)|*.jpg|Všechny soubory (*.*)|*.*")});
        const QImage written = PhotoFiles::LoadJpeg(jpeg);
        QCOMPARE(written.size(), QSize(60, 40));
        QVERIFY(QFileInfo(jpeg).size() < 200000);
        QVERIFY(f.window->isVisible()); // the overview stays open
    }

    void orderSheetFromTheOverview() {
        Fixture f(SampleLayers());
        f.window->FillOverview();
        f.window->show();
        const QString pdf = f.dir.filePath(QStringLiteral("objednávka.pdf"));
        f.prompts.fileNames.enqueue(pdf);
        QTest::mouseClick(f.window->orderButton, Qt::LeftButton);
        QVERIFY(f.prompts.asked.isEmpty());
        const QString text = PdfText(pdf);
        for (const char* line : {"Projekt: Rodinný dům", "Odstín: Žlutá kuchyň", "Množství: 12 l",
                                 "Odstín: E 001 - 01", "Okna", "Střecha"})
            QVERIFY2(text.contains(QString::fromUtf8(line)), line);
        QVERIFY(f.window->isVisible());
    }

    // The proposal for the customer: every scheme of the project, or the current
    // colouring alone when there is none.
    void proposalFromTheOverview_data() {
        QTest::addColumn<QStringList>("schemes");
        QTest::newRow("no scheme") << QStringList{};
        QTest::newRow("two schemes")
            << QStringList{QStringLiteral("Letní žlutá"), QStringLiteral("Šedý sokl")};
    }
    void proposalFromTheOverview() {
        QFETCH(QStringList, schemes);
        Fixture f(SampleLayers());
        for (const QString& name : schemes)
            f.ws.Doc.Schemes << SchemeRecord{name, {f.ws.Doc.Layers[1]}};
        f.window->FillOverview();
        f.window->show();
        const QString pdf = f.dir.filePath(QStringLiteral("návrh.pdf"));
        f.prompts.fileNames.enqueue(pdf);
        QTest::mouseClick(f.window->proposalButton, Qt::LeftButton);
        QVERIFY(f.prompts.asked.isEmpty());
        const QString text = PdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("Návrh barev")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Rodinný dům")));
        QVERIFY(text.contains(QStringLiteral("Žlutá kuchyň")));
        QCOMPARE(text.contains(QStringLiteral("Současné obarvení")), schemes.isEmpty());
        for (const QString& name : schemes)
            QVERIFY2(text.contains(name), qPrintable(name));
        QVERIFY(!f.ws.Doc.Modified);
        QVERIFY(f.window->isVisible());
    }

    // A measured project: each row's area on the right, a suggestion for the paint kinds
    // whose spreading rate was given through the button, taken by a click into the
    // layer's quantity.
    void measuredRowsAndSuggestions() {
        Fixture f(SampleLayers());
        // 60 × 40 pixels at 5 cm a pixel: the facade's 900 pixels are 2,25 m², the
        // plinth's 300 are 0,75 m².
        for (int y = 0; y < 40; ++y)
            f.ws.Doc.Mask.PaintSpan(y, 0, 29, std::uint8_t(y < 30 ? 1 : 2));
        f.ws.Doc.Measures.References
            << PlaneReference{PlaneReference::Kind::Length, {{0, 0}, {20, 0}}, 1.0, 0};
        PaintCoverage::Forget(1);
        OverviewWindow& w = *f.window;
        w.FillOverview();
        QCOMPARE(w.RowOfLayer(1).area.value_or(-1), 2.25);
        QVERIFY(!w.RowOfLayer(1).suggested);
        QVERIFY(w.SuggestionRect(0).isEmpty());
        // Shown before any row is clicked: it asks about the first listed paint kind.
        QVERIFY(w.coverageButton->isVisibleTo(&w));
        f.prompts.inputs << QStringLiteral("3") << QStringLiteral("1");
        QTest::mouseClick(w.coverageButton, Qt::LeftButton);
        QCOMPARE(PaintCoverage::Load().value(1), (Coverage{3, 1}));
        f.prompts.inputCaptions.clear();

        // Fasádní barva: 2 m² a litre, two coats.
        f.ClickRow(0);
        QVERIFY(w.coverageButton->isVisibleTo(&w));
        f.prompts.inputs << QStringLiteral("2") << QStringLiteral("2");
        QTest::mouseClick(w.coverageButton, Qt::LeftButton);
        QCOMPARE(f.prompts.inputCaptions, (QStringList{"Vydatnost barvy", "Vydatnost barvy"}));
        QCOMPARE(PaintCoverage::Load().value(1), (Coverage{2, 2}));
        QCOMPARE(w.RowOfLayer(1).suggested.value_or(-1), 3);
        QCOMPARE(w.RowOfLayer(2).suggested.value_or(-1), 1); // 0,75 m² of the same kind
        // The free colour's row has no paint kind: no rate to give.
        f.ClickRow(2);
        QVERIFY(!w.coverageButton->isVisibleTo(&w));

        f.ws.Doc.Modified = false;
        const QRect suggestion = w.SuggestionRect(0);
        QVERIFY(!suggestion.isEmpty());
        QTest::mouseClick(f.List().viewport(), Qt::LeftButton, {}, suggestion.center());
        QCOMPARE(f.ws.Doc.Layers[1].Quantity, 3);
        QVERIFY(f.ws.Doc.Modified);
        // A click elsewhere in the row takes nothing.
        QTest::mouseClick(f.List().viewport(), Qt::LeftButton, {},
                          f.List().visualItemRect(f.List().item(1)).center());
        QCOMPARE(f.ws.Doc.Layers[2].Quantity, 5);

        // What the user sees: the row's texts on the right.
        const QImage shot = f.List().viewport()->grab().toImage();
        QVERIFY(shot.copy(QRect(suggestion.left(), suggestion.top(), suggestion.width(),
                                suggestion.height()))
                    .convertToFormat(QImage::Format_RGB32) !=
                QImage(suggestion.size(), QImage::Format_RGB32));
        PaintCoverage::Forget(1);
    }

    // A rate that is no rate is refused and the settings stay as they were.
    void aRateThatIsNoneIsRefused() {
        Fixture f(SampleLayers());
        PaintCoverage::Store(1, {8, 1});
        f.window->FillOverview();
        f.ClickRow(0);
        f.prompts.inputs << QStringLiteral("hodně") << QStringLiteral("2");
        QTest::mouseClick(f.window->coverageButton, Qt::LeftButton);
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QCOMPARE(PaintCoverage::Load().value(1), (Coverage{8, 1}));
        PaintCoverage::Forget(1);
    }

    void withoutTheCatalogueOnlyTheLayersOwnFields() {
        Fixture f(SampleLayers(), false);
        f.window->FillOverview();
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const QImage shot = f.List().viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(50, 45), Background); // no swatch: no shade known
        QCOMPARE(f.catalogue.StatementCount(), 0);
        QVERIFY(f.prompts.asked.isEmpty());
        f.ClickRow(0);
        QVERIFY(f.RecipeShown());
    }

    void aFailingCatalogueIsReportedOncePerOpening() {
        QTemporaryDir here;
        const QString broken = here.filePath(QStringLiteral("odrex.tom"));
        QCOMPARE(CatalogueScript::BuildDatabase(
                     broken, QStringLiteral("CREATE TABLE verze (verze_exe INTEGER);\nCOMMIT;\n"),
                     QStringLiteral("INSERT INTO verze VALUES (0);\nCOMMIT;\n")),
                 QString());
        Fixture f(SampleLayers(), false);
        f.catalogue.Open(broken);
        f.window->FillOverview();
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const QImage shot = f.List().viewport()->grab().toImage();
        // The rows are drawn all the same, with the layer's own name and quantity.
        int ink = 0;
        for (int y = 0; y < 90; ++y)
            for (int x = 100; x < 300; ++x)
                ink += shot.pixelColor(x, y) != Background;
        QVERIFY(ink > 50);
        QTRY_COMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QVERIFY(f.prompts.asked[0].text.startsWith(
            QStringLiteral("Dotaz do katalogu barev se nezdařil.")));
        f.List().viewport()->grab();
        QTest::qWait(20);
        QCOMPARE(f.prompts.asked.size(), 1);
        f.window->FillOverview();
        f.List().viewport()->grab();
        QTRY_COMPARE(f.prompts.asked.size(), 2);
    }

    void theSaveDialogDoesNotAskBeforeReplacing() {
        QTemporaryDir here;
        const QString existing = here.filePath(QStringLiteral("obrázek.jpg"));
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        bool optionSet = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            optionSet = dialog->testOption(QFileDialog::DontConfirmOverwrite);
            dialog->setDirectory(here.path());
            dialog->selectFile(existing);
            static_cast<QDialog*>(dialog)->accept();
        });
        QtPrompts prompts;
        const QString chosen = prompts.SaveFileName(
            QStringLiteral("jpg"),
            QStringLiteral("Obrázky JPG (*.jpg)|*.jpg|Všechny soubory (*.*)|*.*"),
            here.filePath(QStringLiteral("dům.jpg")), Prompts::FileUse::Export);
        QVERIFY(optionSet);
        QCOMPARE(QFileInfo(chosen), QFileInfo(existing));
    }
};

QTEST_MAIN(TestOverviewWindow)
#include "test_overviewwindow.moc"
