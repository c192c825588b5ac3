#include "layers/LayerOperations.h"
#include "layers/MasterChooserDialog.h"
#include "layers/Schemes.h"
#include "layers/SubordinateLayers.h"
#include "render/ShadePixel.h"
#include "support/ScriptedPrompts.h"
#include "workspace/Workspace.h"

#include <QListWidget>
#include <QTest>
#include <QTimer>

namespace {

struct Fixture {
    Workspace ws;
    ScriptedPrompts prompts;
    LayerEditor layers{ws, prompts};
    SchemeEditor schemes{ws, layers, prompts};
    Fixture() {
        ws.Doc.ProjectPath = QStringLiteral("/x/dum.bmp");
        QImage photo(12, 4, QImage::Format_BGR888);
        photo.fill(QColor(150, 140, 130));
        ws.Doc.PhotoBitmap = photo;
        ws.Doc.Mask = TMask::CreateBlank(12, 4);
        ws.MaskEditMode = false;
        ws.ResizeView();
        for (const char* name : {"A", "B", "C"}) {
            LayerRecord layer = NewLayerTemplate(int(ws.Doc.Layers.size()));
            layer.Name = QString::fromUtf8(name);
            layer.HiddenInColourMode = false;
            ws.Doc.Layers.append(layer);
        }
    }
    void Save(const QString& name) {
        prompts.inputs.enqueue(name);
        schemes.SaveNew();
    }
};

// Answers the chooser as a test says, and records what it was offered.
class ScriptedChooser : public MasterChooser {
public:
    std::optional<QString> answer;
    QString preselected;
    std::optional<QString> ChooseMasterLayer(const LayerList&, int, const QString& pre) override {
        preselected = pre;
        return answer;
    }
};

QColor ViewAt(const Workspace& ws, int x, int y) {
    return ws.ViewBitmap.pixelColor(x, y);
}

} // namespace

class TestSchemes : public QObject {
    Q_OBJECT
private slots:
    void saveAndApplyByName() {
        Fixture f;
        f.ws.Doc.Layers[1].ShadeColour = Rgb(200, 0, 0);
        f.Save(QStringLiteral("Léto"));
        QCOMPARE(f.prompts.inputCaptions, QStringList{QStringLiteral("Zadejte název schématu")});
        QCOMPARE(f.ws.Doc.Schemes.size(), 1);
        QVERIFY(f.ws.Doc.Modified);
        f.ws.Doc.Layers[1].ShadeColour = Rgb(0, 0, 200);
        f.Save(QStringLiteral("Léto")); // names may repeat; each applies on its own
        f.ws.Doc.Modified = false;
        QVERIFY(f.schemes.Apply(0));
        QCOMPARE(f.ws.Doc.Layers[1].ShadeColour, Rgb(200, 0, 0));
        QVERIFY(f.ws.Doc.Modified);
        QVERIFY(f.schemes.Apply(1));
        QCOMPARE(f.ws.Doc.Layers[1].ShadeColour, Rgb(0, 0, 200));
    }

    // A record applies to the layer of exactly its name: letter case and accents
    // count, as they do everywhere names link layers.
    void recordsMatchNamesExactly_data() {
        QTest::addColumn<QString>("layerName");
        QTest::addColumn<QString>("recordName");
        QTest::addColumn<bool>("applied");
        QTest::newRow("the same name") << QStringLiteral("Zeď") << QStringLiteral("Zeď") << true;
        QTest::newRow("capitals") << QStringLiteral("Zeď") << QStringLiteral("ZEĎ") << false;
        QTest::newRow("small letters") << QStringLiteral("Zeď") << QStringLiteral("zeď") << false;
        QTest::newRow("one letter") << QStringLiteral("d") << QStringLiteral("D") << false;
        QTest::newRow("without the accent")
            << QStringLiteral("Zeď") << QStringLiteral("Zed") << false;
        QTest::newRow("a trailing space")
            << QStringLiteral("Zeď") << QStringLiteral("Zeď ") << false;
    }
    void recordsMatchNamesExactly() {
        QFETCH(QString, layerName);
        QFETCH(QString, recordName);
        QFETCH(bool, applied);
        Fixture f;
        f.ws.Doc.Layers[2].Name = layerName;
        LayerRecord record = f.ws.Doc.Layers[2];
        record.Name = recordName;
        record.ShadeColour = Rgb(10, 200, 10);
        record.ShadeId = 77;
        record.Locked = true;
        record.Subordinate = true;
        record.MasterName = QStringLiteral("A");
        f.ws.Doc.Schemes = {{QStringLiteral("S"), {record}}};
        const LayerList before = f.ws.Doc.Layers;
        QVERIFY(f.schemes.Apply(0));
        if (applied) {
            QCOMPARE(f.ws.Doc.Layers[2], record);
        } else {
            QCOMPARE(f.ws.Doc.Layers, before);
        }
        QCOMPARE(f.ws.Doc.Mask.Locked[2], applied);
        f.ws.Doc.Mask.PaintSpan(0, 0, 11, 2);
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(5, 0)), applied ? 0 : 2);
    }

    void emptyNameSavesNothing() {
        Fixture f;
        f.schemes.SaveNew(); // cancelled: the empty default
        QVERIFY(f.ws.Doc.Schemes.isEmpty());
        QVERIFY(!f.ws.Doc.Modified);
    }

    void layerAddedAfterTheSchemeKeepsItsShade() {
        Fixture f;
        f.Save(QStringLiteral("S"));
        LayerRecord late = NewLayerTemplate(4);
        late.Name = QStringLiteral("D");
        late.ShadeColour = Rgb(1, 2, 3);
        f.ws.Doc.Layers.append(late);
        f.schemes.Apply(0);
        QCOMPARE(f.ws.Doc.Layers[4].ShadeColour, Rgb(1, 2, 3));
    }

    void lockedRecordLocksThePainting() {
        Fixture f;
        f.ws.Doc.Layers[2].Locked = true;
        f.Save(QStringLiteral("S"));
        f.ws.Doc.Layers[2].Locked = false;
        f.ws.Doc.Mask.SetLocked(2, false);
        f.schemes.Apply(0);
        QVERIFY(f.ws.Doc.Layers[2].Locked);
        QVERIFY(f.ws.Doc.Mask.Locked[2]);
        f.ws.Doc.Mask.PaintSpan(0, 0, 11, 2);
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(3, 0)), 0);
    }

    void overwriteGrowsTheScheme() {
        Fixture f;
        f.Save(QStringLiteral("S"));
        QCOMPARE(f.ws.Doc.Schemes[0].Layers.size(), 4);
        for (const char* name : {"D", "E"}) {
            LayerRecord layer = NewLayerTemplate(5);
            layer.Name = QString::fromUtf8(name);
            f.ws.Doc.Layers.append(layer);
        }
        f.prompts.answers.enqueue(Prompts::Yes);
        f.schemes.Overwrite(0);
        QCOMPARE(f.prompts.Texts(), QStringList{QStringLiteral("Chcete přepsat vybrané schéma?")});
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Dotaz"));
        QCOMPARE(f.ws.Doc.Schemes[0].Layers.size(), 6);
        QCOMPARE(f.ws.Doc.Schemes[0].Layers[5].Name, QStringLiteral("E"));
        QCOMPARE(f.ws.Doc.Schemes[0].Name, QStringLiteral("S"));
    }

    // A scheme name the mask file cannot hold is refused, when saved and when renamed.
    void namesOutsideTheCodePageAreRefused() {
        Fixture f;
        f.Save(QStringLiteral("Léto 😀"));
        QVERIFY(f.ws.Doc.Schemes.isEmpty());
        QVERIFY(!f.ws.Doc.Modified);
        f.Save(QStringLiteral("Léto"));
        f.prompts.inputs.enqueue(QStringLiteral("日"));
        f.schemes.Rename(0);
        QCOMPARE(f.ws.Doc.Schemes[0].Name, QStringLiteral("Léto"));
        QCOMPARE(f.prompts.asked.size(), 2);
        QVERIFY(f.prompts.asked[1].text.contains(QStringLiteral("日")));
        // The mask file keeps 32 characters: a longer name would come back cut.
        f.prompts.inputs.enqueue(QStringLiteral("Žluťoučká varianta pro babičku Růženu"));
        f.schemes.Rename(0);
        QCOMPARE(f.ws.Doc.Schemes[0].Name, QStringLiteral("Léto"));
        QCOMPARE(f.prompts.asked.size(), 3);
        f.Save(QStringLiteral("Žluťoučká varianta pro babičku R")); // exactly 32
        QCOMPARE(f.ws.Doc.Schemes.size(), 2);
    }

    void deleteAndRename() {
        Fixture f;
        f.Save(QStringLiteral("A"));
        f.Save(QStringLiteral("B"));
        f.ws.Doc.Modified = false;
        f.prompts.inputs.enqueue(QStringLiteral("Zimní"));
        f.schemes.Rename(1);
        QCOMPARE(f.ws.Doc.Schemes[1].Name, QStringLiteral("Zimní"));
        QVERIFY(f.ws.Doc.Modified); // the name is stored in the mask file
        f.prompts.answers.enqueue(Prompts::No);
        f.schemes.Delete(0);
        QCOMPARE(f.ws.Doc.Schemes.size(), 2);
        f.prompts.answers.enqueue(Prompts::Yes);
        f.schemes.Delete(0);
        QCOMPARE(f.ws.Doc.Schemes.size(), 1);
        QCOMPARE(f.ws.Doc.Schemes[0].Name, QStringLiteral("Zimní"));
        QVERIFY(f.ws.Doc.Modified);
        f.schemes.Delete(5); // no such scheme: nothing
        f.schemes.Rename(-1);
        QCOMPARE(f.ws.Doc.Schemes.size(), 1);
    }

    void questionAfterALayerEdit() {
        Fixture f;
        f.ws.Doc.Layers[1].ShadeColour = Rgb(9, 9, 9);
        f.Save(QStringLiteral("S"));
        f.layers.EditLayer(1);
        QVERIFY(f.layers.Confirm(QStringLiteral("A"), Rgb(1, 1, 1), Rgb(2, 2, 2)));
        f.ws.Doc.Layers[1].ShadeColour = Rgb(50, 50, 50);
        f.prompts.asked.clear();
        f.prompts.answers.enqueue(Prompts::No);
        QVERIFY(!f.schemes.Apply(0));
        QCOMPARE(f.prompts.Texts(),
                 QStringList{QStringLiteral("Chcete použít dříve uložené schéma?")});
        QCOMPARE(f.ws.Doc.Layers[1].ShadeColour, Rgb(50, 50, 50));
        f.prompts.answers.enqueue(Prompts::Yes);
        QVERIFY(f.schemes.Apply(0)); // asked again
        QCOMPARE(f.prompts.asked.size(), 2);
        QCOMPARE(f.ws.Doc.Layers[1].ShadeColour, Rgb(9, 9, 9));
        QVERIFY(f.schemes.Apply(0)); // the flag was cleared: no question
        QCOMPARE(f.prompts.asked.size(), 2);
    }

    void subordinateLinks() {
        Fixture f;
        f.ws.Doc.Layers[1].ShadeColour = Rgb(200, 100, 50);
        f.ws.Doc.Layers[3].ShadeColour = Rgb(10, 200, 10);
        f.ws.Doc.Mask.PaintSpan(0, 0, 5, 1);
        f.ws.Doc.Mask.PaintSpan(0, 6, 11, 3);
        ScriptedChooser chooser;
        chooser.answer = QStringLiteral("A");
        ToggleSubordinate(f.ws, chooser, 3);
        QVERIFY(f.ws.Doc.Layers[3].Subordinate);
        QVERIFY(f.ws.Doc.Modified);                       // the link is stored in the mask file
        QCOMPARE(ViewAt(f.ws, 8, 0), ViewAt(f.ws, 2, 0)); // drawn as the master
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(8, 0)), 3);    // its pixels stay its own
        f.ws.MaskEditMode = true;
        f.ws.Doc.Layers[1].ShownInMaskMode = true;
        f.ws.UpdateWholePicture();
        const Colour mask = f.ws.Doc.Layers[1].MaskColour;
        QCOMPARE(ViewAt(f.ws, 8, 0), QColor(RedOf(mask), GreenOf(mask), BlueOf(mask)));
        f.ws.MaskEditMode = false;

        // Released, then chosen again: the previous master is preselected.
        ToggleSubordinate(f.ws, chooser, 3);
        QVERIFY(!f.ws.Doc.Layers[3].Subordinate);
        QCOMPARE(f.ws.Doc.Layers[3].MasterName, QStringLiteral("A"));
        chooser.answer.reset(); // cancelled: nothing changes
        f.ws.Doc.Modified = false;
        ToggleSubordinate(f.ws, chooser, 3);
        QCOMPARE(chooser.preselected, QStringLiteral("A"));
        QVERIFY(!f.ws.Doc.Layers[3].Subordinate);
        QVERIFY(!f.ws.Doc.Modified);
    }

    void linkToOriginalShowsThePhotograph() {
        Fixture f;
        f.ws.Doc.Layers[2].ShadeColour = Rgb(10, 200, 10);
        f.ws.Doc.Mask.PaintSpan(1, 0, 11, 2);
        ScriptedChooser chooser;
        chooser.answer = OriginalLayerName;
        ToggleSubordinate(f.ws, chooser, 2);
        QCOMPARE(ViewAt(f.ws, 4, 1), QColor(150, 140, 130));
    }

    void twoLayersLinkedToEachOther() {
        Fixture f;
        f.ws.Doc.Layers[1].ShadeColour = Rgb(200, 0, 0);
        f.ws.Doc.Layers[2].ShadeColour = Rgb(0, 0, 200);
        f.ws.Doc.Layers[1].Subordinate = true;
        f.ws.Doc.Layers[1].MasterName = QStringLiteral("B");
        f.ws.Doc.Layers[2].Subordinate = true;
        f.ws.Doc.Layers[2].MasterName = QStringLiteral("A");
        f.ws.Doc.Mask.PaintSpan(0, 0, 5, 1);
        f.ws.Doc.Mask.PaintSpan(0, 6, 11, 2);
        f.ws.UpdateWholePicture();
        const QColor photo(150, 140, 130);
        const auto shaded = [&](int layer) {
            const Colour c = ShadePixel(Rgb(150, 140, 130), f.ws.Doc.Layers, layer);
            return QColor(RedOf(c), GreenOf(c), BlueOf(c));
        };
        QCOMPARE(ViewAt(f.ws, 2, 0), shaded(2));
        QCOMPARE(ViewAt(f.ws, 8, 0), shaded(1));
        Q_UNUSED(photo);
    }

    void chooserWindow() {
        LayerList layers{OriginalLayerTemplate()};
        for (const char* name : {"A", "B", "C"}) {
            LayerRecord layer = NewLayerTemplate(1);
            layer.Name = QString::fromUtf8(name);
            layers.append(layer);
        }
        MasterChooserDialog chooser;
        // Offered: every layer but the current one; the later master is preselected.
        QTimer::singleShot(0, &chooser, [&chooser] {
            QCOMPARE(chooser.layerList->count(), 3);
            QCOMPARE(chooser.layerList->item(2)->text(), QStringLiteral("C"));
            QCOMPARE(chooser.layerList->currentRow(), 2);
            // Inside the dialog's grey border the list's background begins at once.
            QCOMPARE(chooser.grab().toImage().pixelColor(8, 16), QColor(235, 250, 254));
            chooser.onConfirmClicked();
        });
        QCOMPARE(chooser.ChooseMasterLayer(layers, 1, QStringLiteral("C")),
                 std::optional<QString>(QStringLiteral("C")));
        // Confirm without a selection does nothing; the close box cancels.
        QTimer::singleShot(0, &chooser, [&chooser] {
            QVERIFY(chooser.layerList->currentRow() < 0);
            chooser.onConfirmClicked();
            QVERIFY(chooser.isVisible());
            chooser.close();
        });
        QCOMPARE(chooser.ChooseMasterLayer(layers, 2, QStringLiteral("nic")), std::nullopt);
        QTimer::singleShot(0, &chooser, [&chooser] { chooser.onCancelClicked(); });
        QCOMPARE(chooser.ChooseMasterLayer(layers, 2, QStringLiteral("A")), std::nullopt);
        QCOMPARE(CandidateLayer(0, 2), 0);
        QCOMPARE(CandidateLayer(2, 2), 3);
    }
};

QTEST_MAIN(TestSchemes)
#include "test_schemes.moc"
