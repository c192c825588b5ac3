#include "DemoHouse.h"
#include "app/AppWindows.h"
#include "app/CzechMessageDialog.h"
#include "app/GlintImage.h"
#include "app/ImageView.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "catalogue/CatalogueWindow.h"
#include "layers/LayerDialog.h"
#include "layers/MasterChooser.h"
#include "overview/OverviewWindow.h"
#include "overview/ProjectListWindow.h"
#include "palette/PaletteWindow.h"
#include "project/PhotoFiles.h"
#include "support/ScriptedPrompts.h"
#include "support/TestProjects.h"
#include "support/TestWidgets.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

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

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startState() {
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        TForm1 form(dir.path(), prompts);
        QCOMPARE(form.windowTitle(), QStringLiteral("Tintora"));
        QVERIFY(QDir(dir.filePath(QStringLiteral("domy"))).exists());
        QVERIFY(QDir(dir.filePath(QStringLiteral("interier"))).exists());
        QVERIFY(!form.Panel5->isVisibleTo(&form));
        Workspace& ws = form.Workspace();
        QVERIFY(!ws.MaskEditMode);
        QCOMPARE(ws.CurrentTool, int(PickLayerTool));
        QCOMPARE(ws.Thickness, 1);
        QCOMPARE(ws.Threshold, 20);
        QCOMPARE(ws.ZoomFactor, 1.0f);
        QVERIFY(ws.Doc.ProjectPath.isEmpty());
        QVERIFY(!ws.Doc.Modified);
        QCOMPARE(ws.Doc.Mask.Width, 1);
        QCOMPARE(Rows(form.ListBox2), QStringList{QStringLiteral("Originál")});
        QCOMPARE(form.ListBox2->currentRow(), -1);
        QCOMPARE(form.scheme->count(), 0);
        QVERIFY(prompts.asked.isEmpty());
    }

    void buttonsCarryTheirHintsAndFaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("fixed");
        const QSize big(56, 52), tool(26, 26), panel(114, 18);
        QTest::newRow("open") << "GlintImage1"
                              << "Otevřít vytvořený projekt / Import nového obrázku" << big << true;
        QTest::newRow("save") << "GlintImage2"
                              << "Uložit masku projektu" << big << true;
        QTest::newRow("import") << "GlintImage11"
                                << "" << big << false;
        QTest::newRow("mask mode") << "GlintImage13"
                                   << "Mód editace masky" << big << true;
        QTest::newRow("project") << "GlintImage20"
                                 << "Celkový souhrn vybraných odstínů pro projekt" << QSize(57, 52)
                                 << false;
        QTest::newRow("help") << "GlintImage18"
                              << "" << big << false;
        QTest::newRow("undo") << "GlintImage3"
                              << "Krok zpět" << tool << true;
        QTest::newRow("redo") << "GlintImage12"
                              << "Zpět krok zpět" << tool << true;
        QTest::newRow("zoom in") << "GlintImage9"
                                 << "Zvětšení" << tool << true;
        QTest::newRow("zoom out") << "GlintImage10"
                                  << "Zmenšení" << tool << true;
        QTest::newRow("pencil") << "GlintImage4"
                                << "Tužka" << tool << true;
        QTest::newRow("lines") << "GlintImage7"
                               << "Čáry" << tool << true;
        QTest::newRow("tolerance") << "GlintImage5"
                                   << "Vyplnit oblast s tolerancí" << tool << true;
        QTest::newRow("full fill") << "GlintImage6"
                                   << "Plné vyplnění oblasti" << tool << true;
        QTest::newRow("pick") << "GlintImage8"
                              << "Seznam odstínů" << tool << true;
        QTest::newRow("all") << "GlintImage14"
                             << "Vybrat všechny vrstvy" << panel << false;
        QTest::newRow("none") << "GlintImage15"
                              << "Zrušit výběr vrstev" << panel << false;
        QTest::newRow("new layer") << "GlintImage16"
                                   << "Vytvořit novou vrstvu masky" << panel << false;
        QTest::newRow("remove layer") << "GlintImage17"
                                      << "Smazat vrstvu" << panel << false;
        QTest::newRow("new scheme") << "saveNewScheme"
                                    << "Uložit nové barevné schéma" << panel << false;
        QTest::newRow("overwrite") << "overwriteScheme"
                                   << "Přepsat existující barevné schéma" << panel << false;
        QTest::newRow("delete scheme") << "GlintImage19"
                                       << "Smazat barevné schéma" << panel << false;
    }
    void buttonsCarryTheirHintsAndFaces() {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        QFETCH(QSize, size);
        QFETCH(bool, fixed);
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        TForm1 form(dir.path(), prompts);
        TGlintImage* button = form.Button(name);
        QVERIFY(button);
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
        TForm1 form(dir.path(), prompts);
        form.show();
        QTest::mouseClick(form.Button(QStringLiteral("GlintImage13")), Qt::LeftButton);
        QVERIFY(form.Panel5->isVisible());
        QVERIFY(form.Workspace().MaskEditMode);
        QCOMPARE(form.Workspace().CurrentTool, int(PickLayerTool));
        QVERIFY(form.Button(QStringLiteral("GlintImage8"))->ShowFixedPicture());

        QTest::mouseClick(form.Button(QStringLiteral("GlintImage4")), Qt::LeftButton);
        QCOMPARE(form.Workspace().CurrentTool, int(PencilTool));
        QVERIFY(form.Button(QStringLiteral("GlintImage4"))->ShowFixedPicture());
        QVERIFY(!form.Button(QStringLiteral("GlintImage8"))->ShowFixedPicture());
        QCOMPARE(form.trackBarKind->text(), QStringLiteral("Tloušťka:"));
        QVERIFY(form.trackBar->isVisible());
        form.trackBar->setValue(7);
        QCOMPARE(form.Workspace().Thickness, 7);

        QTest::mouseClick(form.Button(QStringLiteral("GlintImage5")), Qt::LeftButton);
        QCOMPARE(form.trackBarKind->text(), QStringLiteral("Práh:"));
        QCOMPARE(form.trackBar->value(), 4);
        form.trackBar->setValue(9);
        QCOMPARE(form.Workspace().Threshold, 45);

        QTest::mouseClick(form.Button(QStringLiteral("GlintImage6")), Qt::LeftButton);
        QVERIFY(!form.trackBar->isVisible());

        QTest::mouseClick(form.Button(QStringLiteral("GlintImage13")), Qt::LeftButton);
        QVERIFY(!form.Panel5->isVisible());
        QCOMPARE(form.Workspace().CurrentTool, int(PickLayerTool));
    }

    void helpPageGoesToTheDefaultHandler() {
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        TForm1 form(dir.path(), prompts);
        QString opened;
        form.OpenHelpPage = [&opened](const QString& path) { opened = path; };
        form.show();
        QTest::mouseClick(form.Button(QStringLiteral("GlintImage18")), Qt::LeftButton);
        QCOMPARE(opened, dir.path() + QStringLiteral("/help/help.htm"));
        QVERIFY(prompts.asked.isEmpty());
    }

    void closingWithoutChangesAsksNothing() {
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        TForm1 form(dir.path(), prompts);
        form.show();
        QVERIFY(form.close());
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
        TForm1 form(dir.path(), prompts);
        Document& doc = form.Workspace().Doc;
        if (withProject) {
            doc.ProjectPath = dir.filePath(QStringLiteral("domy/dum.bmp"));
            doc.Mask = TMask::CreateBlank(3, 2);
        }
        doc.Modified = true;
        form.show();
        prompts.answers.enqueue(Prompts::Button(answer));
        QCOMPARE(form.close(), closes);
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
        TForm1 form(dir.path(), prompts);
        form.Workspace().Doc.ProjectPath = dir.filePath(QStringLiteral("chybi/dum.bmp"));
        form.Workspace().Doc.Modified = true;
        form.show();
        prompts.answers.enqueue(Prompts::Yes);
        QVERIFY(!form.close());
        QCOMPARE(prompts.asked.size(), 2);
        QCOMPARE(prompts.asked[1].caption, QStringLiteral("Chyba"));
        QVERIFY(form.Workspace().Doc.Modified);
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

    void windowsAreCreatedInOrderWithTheirCaptions() {
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        const QList<QWidget*> order{windows.Form1.get(),   windows.eLayer.get(),
                                    windows.barvy.get(),   windows.TPaleta.get(),
                                    windows.Prehled.get(), windows.Form2.get(),
                                    windows.OpenList.get()};
        const QStringList captions{QStringLiteral("Tintora"),
                                   QStringLiteral("Vlastnosti vrstvy"),
                                   QStringLiteral("barvy"),
                                   QStringLiteral("Paleta barev"),
                                   QStringLiteral("Přehled"),
                                   QStringLiteral("Zvolit podřízenou vrstvu"),
                                   QStringLiteral("Seznam vytvořených projektů")};
        int buttons = 0;
        for (int i = 0; i < order.size(); ++i) {
            QCOMPARE(order[i]->windowTitle(), captions[i]);
            QVERIFY(!order[i]->isVisible());
            for (TGlintImage* button : order[i]->findChildren<TGlintImage*>()) {
                if (button->window() == order[i])
                    ++buttons;
            }
        }
        QCOMPARE(buttons, 34); // the overview carries the order button as well
    }

    void openThroughTheProjectList() {
        QTemporaryDir dir;
        const DemoProject demo = MakeDemoHouse(300, 200);
        const QString photo = SaveProject(dir.path(), QStringLiteral("Rodinný dům.bmp"), demo,
                                          demo.Layers, demo.Schemes);

        ScriptedPrompts prompts;
        AppWindows windows(dir.path(), &prompts);
        TForm1& form = *windows.Form1;
        form.show();
        QTimer::singleShot(0, windows.OpenList.get(), [&windows] {
            windows.OpenList->ListBox1->setCurrentRow(0);
            windows.OpenList->Vybratprojekt1Click();
        });
        QTest::mouseClick(form.Button(QStringLiteral("GlintImage1")), Qt::LeftButton);
        Workspace& ws = form.Workspace();
        QCOMPARE(ws.Doc.ProjectPath, photo);
        QCOMPARE(Rows(form.ListBox2).size(), demo.Layers.size());
        QCOMPARE(Rows(form.scheme),
                 (QStringList{QStringLiteral("Teplá okrová"), QStringLiteral("Chladná šedá")}));
        QCOMPARE(form.image->size(), QSize(300, 200));
        QVERIFY(ws.ViewBitmap != ws.Doc.PhotoBitmap); // shaded layers are recoloured

        // An edit, then undo and redo through the buttons.
        const TMask opened = ws.Doc.Mask;
        ws.PushUndo();
        ws.Doc.Mask.PaintSpan(10, 0, 299, 2);
        ws.History.MarkPresentChanged();
        const TMask edited = ws.Doc.Mask;
        QTest::mouseClick(form.Button(QStringLiteral("GlintImage13")), Qt::LeftButton);
        QTest::mouseClick(form.Button(QStringLiteral("GlintImage3")), Qt::LeftButton);
        QCOMPARE(ws.Doc.Mask, opened);
        QTest::mouseClick(form.Button(QStringLiteral("GlintImage12")), Qt::LeftButton);
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
        QVERIFY(windows->Form1->isVisible());
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Tintora 1.2"));
        const auto topLevels = QApplication::topLevelWidgets();
        for (QWidget* widget : topLevels)
            QVERIFY(widget->windowType() != Qt::SplashScreen || !widget->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
