#include "layers/LayerOperations.h"
#include "project/MaskFile.h"
#include "project/TextField.h"
#include "render/LayerMap.h"
#include "support/ScriptedPrompts.h"
#include "workspace/Workspace.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

struct Fixture {
    Workspace ws;
    ScriptedPrompts prompts;
    LayerEditor editor{ws, prompts};
    Fixture() {
        ws.Doc.ProjectPath = QStringLiteral("/x/dum.bmp");
        QImage photo(20, 10, QImage::Format_BGR888);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                photo.setPixelColor(x, y, QColor(x * 10, y * 20, 7));
        ws.Doc.PhotoBitmap = photo;
        ws.Doc.Mask = TMask::CreateBlank(20, 10);
        ws.MaskEditMode = false;
        ws.ResizeView();
    }
    void Add(const QString& name) {
        editor.NewLayer();
        QVERIFY(
            editor.Confirm(name, Rgb(208, 208, 208), AutoMaskColour(int(ws.Doc.Layers.size()))));
    }
};

using LayerAction = std::function<void(Fixture&)>;

} // namespace

Q_DECLARE_METATYPE(LayerAction)

class TestLayerOperations : public QObject {
    Q_OBJECT
private slots:
    void newLayerProposals() {
        Fixture f;
        LayerRecord shown;
        f.editor.ShowDialog = [&shown](const LayerRecord& layer) { shown = layer; };
        f.editor.NewLayer();
        QVERIFY(f.editor.RealColourPickMode);
        QCOMPARE(f.editor.EditedLayerIndex, -1);
        QVERIFY(shown.Name.isEmpty());
        QCOMPARE(shown.RealColour, Rgb(208, 208, 208));
        QCOMPARE(shown.MaskColour, Rgb(93, 170, 70));
        QVERIFY(
            !f.editor.Confirm(QString(), shown.RealColour, shown.MaskColour)); // empty name: stays
        QVERIFY(f.editor.RealColourPickMode);
        QVERIFY(f.editor.Confirm(QStringLiteral("Fasáda"), Rgb(1, 2, 3), shown.MaskColour));
        QCOMPARE(f.ws.Doc.Layers.size(), 2);
        const LayerRecord& added = f.ws.Doc.Layers[1];
        QCOMPARE(added.RealColour, Rgb(1, 2, 3));
        QVERIFY(added.ShownInMaskMode);
        QVERIFY(added.HiddenInColourMode);
        QVERIFY(f.ws.Doc.Modified);
        QVERIFY(f.editor.LayersEdited);
        QVERIFY(!f.editor.RealColourPickMode);
    }

    void duplicateNamesAreRefused() {
        Fixture f;
        f.Add(QStringLiteral("Zeď"));
        f.ws.Doc.Modified = false;
        f.editor.NewLayer();
        QVERIFY(f.editor.Confirm(QStringLiteral("Zeď"), 0, 0));
        QCOMPARE(f.prompts.Texts(),
                 QStringList{QStringLiteral("Vrstva téhož jména již v seznamu existuje.")});
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QCOMPARE(f.ws.Doc.Layers.size(), 2);
        QVERIFY(!f.ws.Doc.Modified);
        QVERIFY(f.editor.RealColourPickMode); // the next press samples and reopens
        QCOMPARE(f.editor.EditedLayer.Name, QStringLiteral("Zeď"));
        QVERIFY(f.editor.Confirm(QStringLiteral("zeď"), 0, 0)); // names compare by case
        QCOMPARE(f.ws.Doc.Layers.size(), 3);
    }

    // A scheme's records follow a renamed layer by its old name wherever they stand:
    // a scheme saved before a layer was removed holds them at other positions.
    void renamingFindsSchemeRecordsByName() {
        Fixture f;
        f.Add(QStringLiteral("Zeď"));
        f.Add(QStringLiteral("Střecha"));
        f.Add(QStringLiteral("Okna"));
        f.ws.Doc.Schemes = {{QStringLiteral("A"), f.ws.Doc.Layers}};
        // Records in another order, one of a layer since removed, one missing.
        LayerList records = f.ws.Doc.Layers;
        std::swap(records[1], records[3]);
        records[2].Name = QStringLiteral("Komín");
        f.ws.Doc.Schemes.append({QStringLiteral("B"), records});
        f.editor.EditLayer(1); // "Zeď"
        QVERIFY(f.editor.Confirm(QStringLiteral("Fasáda"), 0, 0));
        const auto names = [](const LayerList& layers) {
            QStringList list;
            for (const LayerRecord& layer : layers)
                list << layer.Name;
            return list;
        };
        QCOMPARE(names(f.ws.Doc.Schemes[0].Layers),
                 (QStringList{"Originál", "Fasáda", "Střecha", "Okna"}));
        QCOMPARE(names(f.ws.Doc.Schemes[1].Layers),
                 (QStringList{"Originál", "Okna", "Komín", "Fasáda"}));
    }

    void renamingRenamesSchemeRecordsButNotMasters() {
        Fixture f;
        f.Add(QStringLiteral("Zeď"));
        f.Add(QStringLiteral("Římsa"));
        f.ws.Doc.Layers[2].Subordinate = true;
        f.ws.Doc.Layers[2].MasterName = QStringLiteral("Zeď");
        f.ws.Doc.Schemes = {{QStringLiteral("A"), f.ws.Doc.Layers}};
        f.editor.EditLayer(1);
        QVERIFY(f.editor.Confirm(QStringLiteral("Fasáda"), 0, 0));
        QCOMPARE(f.ws.Doc.Layers[1].Name, QStringLiteral("Fasáda"));
        QCOMPARE(f.ws.Doc.Schemes[0].Layers[1].Name, QStringLiteral("Fasáda"));
        QCOMPARE(f.ws.Doc.Layers[2].MasterName, QStringLiteral("Zeď"));
    }

    void editingClearsTheHistory() {
        Fixture f;
        f.ws.PushUndo();
        f.editor.NewLayer();
        f.editor.Cancel();
        QCOMPARE(f.ws.History.NodeCount(), 0);
        QCOMPARE(f.ws.Doc.Layers.size(), 1);
        QVERIFY(!f.editor.RealColourPickMode);
    }

    void removingRenumbersTheMask() {
        Fixture f;
        for (const char* name : {"A", "B", "C"})
            f.Add(QString::fromUtf8(name));
        f.ws.Doc.Mask.PaintSpan(0, 0, 4, 1);
        f.ws.Doc.Mask.PaintSpan(0, 5, 9, 2);
        f.ws.Doc.Mask.PaintSpan(0, 10, 14, 3);
        f.ws.Doc.Layers[3].Locked = true;
        f.ws.Doc.Mask.SetLocked(3, true);
        f.prompts.answers.enqueue(Prompts::Yes);
        QVERIFY(f.editor.RemoveLayer(2));
        QCOMPARE(f.prompts.asked[0].text, QStringLiteral("Opravdu chcete vrstvu odstranit?"));
        QCOMPARE(f.ws.Doc.Layers.size(), 3);
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(7, 0)), 0);
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(12, 0)), 2);
        QVERIFY(f.ws.Doc.Mask.Locked[2]);
        QVERIFY(!f.ws.Doc.Mask.Locked[3]);
        f.prompts.answers.enqueue(Prompts::No);
        QVERIFY(!f.editor.RemoveLayer(1));
        QCOMPARE(f.ws.Doc.Layers.size(), 3);
    }

    void removingASubordinateGivesItsPixelsToTheMaster() {
        Fixture f;
        for (const char* name : {"Sub", "X", "Master"})
            f.Add(QString::fromUtf8(name));
        f.ws.Doc.Layers[1].Subordinate = true;
        f.ws.Doc.Layers[1].MasterName = QStringLiteral("Master");
        f.ws.Doc.Mask.PaintSpan(2, 0, 9, 1);
        f.prompts.answers.enqueue(Prompts::Yes);
        QVERIFY(f.editor.RemoveLayer(1));
        QCOMPARE(f.ws.Doc.Layers[2].Name, QStringLiteral("Master"));
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(3, 2)), 2);
    }

    void removingAMasterReleasesItsSubordinates() {
        Fixture f;
        f.Add(QStringLiteral("Master"));
        f.Add(QStringLiteral("Sub"));
        f.ws.Doc.Layers[2].Subordinate = true;
        f.ws.Doc.Layers[2].MasterName = QStringLiteral("Master");
        f.prompts.answers.enqueue(Prompts::Yes);
        QVERIFY(f.editor.RemoveLayer(1));
        QVERIFY(!f.ws.Doc.Layers[1].Subordinate);
        QVERIFY(f.ws.Doc.Layers[1].MasterName.isEmpty());
    }

    void pendingEditOfARemovedLayerEnds() {
        Fixture f;
        f.Add(QStringLiteral("A"));
        f.Add(QStringLiteral("B"));
        f.editor.EditLayer(2);
        f.prompts.answers.enqueue(Prompts::Yes);
        f.editor.RemoveLayer(1);
        QVERIFY(!f.editor.RealColourPickMode);
        // A confirm that comes anyway writes nowhere.
        f.editor.EditedLayerIndex = 7;
        QVERIFY(f.editor.Confirm(QStringLiteral("X"), 0, 0));
        QCOMPARE(f.ws.Doc.Layers.size(), 2);
    }

    void sampling_data() {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<QPoint>("view");
        QTest::addColumn<int>("red");
        QTest::newRow("corner at zoom 1: only pixels inside")
            << 1.0f << QPoint(0, 0) << 50;                                     // x 0..10
        QTest::newRow("zoom 4: half-size 2") << 4.0f << QPoint(40, 20) << 100; // x 8..12
        QTest::newRow("zoom 0.25: half-size 40 covers all")
            << 0.25f << QPoint(2, 1) << 95; // x 0..19
    }
    void sampling() {
        QFETCH(float, zoom);
        QFETCH(QPoint, view);
        QFETCH(int, red);
        Fixture f;
        f.ws.ZoomFactor = zoom;
        f.editor.NewLayer();
        Colour sampled = NoColour;
        f.editor.ShowSampledColour = [&sampled](Colour c) { sampled = c; };
        f.editor.SampleRealColour(view.x(), view.y());
        QCOMPARE(RedOf(sampled), red);
        QCOMPARE(BlueOf(sampled), 7);
    }

    void cleaningAskAndRefuse() {
        Fixture f;
        f.Add(QStringLiteral("A"));
        f.ws.Doc.Mask.PaintSpan(1, 2, 8, 1);
        f.ws.Doc.Mask.PaintSpan(3, 0, 19, 1);
        f.ws.Doc.Layers[0].Locked = true;
        f.editor.CleanLayer(1);
        QCOMPARE(f.prompts.Texts(), QStringList{QStringLiteral(
                                        "Vrstva \"Originál\" je zamčená. Nejprve ji odemkněte.")});
        f.ws.Doc.Layers[0].Locked = false;
        f.ws.Doc.Layers[1].Locked = true;
        f.prompts.asked.clear();
        f.editor.CleanLayer(1);
        QCOMPARE(f.prompts.Texts(),
                 QStringList{QStringLiteral("Vrstva je zamčená. Nejprve ji odemkněte.")});
        f.ws.Doc.Layers[1].Locked = false;
        f.prompts.asked.clear();
        f.prompts.answers.enqueue(Prompts::Yes);
        f.editor.CleanLayer(1);
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Potvrzení"));
        for (const MaskRow& row : f.ws.Doc.Mask.Rows)
            QCOMPARE(row, (MaskRow{{0, 0, 19}}));
    }

    void clickZones_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("zone");
        using Z = LayerEditor::Zone;
        QTest::newRow("lock on Originál") << 30 << 0 << int(Z::Lock);
        QTest::newRow("lock edge") << 23 << 2 << int(Z::Lock);
        QTest::newRow("swatch") << 45 << 1 << int(Z::Catalogue);
        QTest::newRow("no swatch on Originál") << 45 << 0 << int(Z::None);
        QTest::newRow("visibility") << 6 << 1 << int(Z::Visibility);
        QTest::newRow("name") << 80 << 1 << int(Z::None);
    }
    void clickZones() {
        QFETCH(int, x);
        QFETCH(int, row);
        QFETCH(int, zone);
        QCOMPARE(int(LayerEditor::ZoneAt(x, row)), zone);
    }

    void lockAndVisibility() {
        Fixture f;
        f.Add(QStringLiteral("A"));
        f.editor.ToggleLock(0);
        QVERIFY(f.ws.Doc.Layers[0].Locked);
        QVERIFY(f.ws.Doc.Mask.Locked[0]);
        f.editor.ToggleVisibility(1);
        QVERIFY(!f.ws.Doc.Layers[1].HiddenInColourMode);
        f.ws.MaskEditMode = true;
        f.editor.ToggleVisibility(1);
        QVERIFY(!f.ws.Doc.Layers[1].ShownInMaskMode);
        f.editor.ShowAllLayers();
        QVERIFY(f.ws.Doc.Layers[1].ShownInMaskMode);
        f.ws.MaskEditMode = false;
        f.editor.ShowNoLayers();
        QVERIFY(f.ws.Doc.Layers[1].HiddenInColourMode);
    }

    void assigningAShade() {
        Fixture f;
        f.Add(QStringLiteral("A"));
        f.ws.Doc.Modified = false;
        f.editor.AssignShadeToLayer(1, Rgb(1, 2, 3), 11, 12, 13, QStringLiteral("12"));
        const LayerRecord& layer = f.ws.Doc.Layers[1];
        QCOMPARE(layer.ShadeColour, Rgb(1, 2, 3));
        QCOMPARE(layer.ShadeId, 11);
        QCOMPARE(layer.FanDeckId, 12);
        QCOMPARE(layer.PaintKindId, 13);
        QCOMPARE(layer.Quantity, 12);
        QVERIFY(f.ws.Doc.Modified); // the chosen paint is stored in the mask file
        // A quantity that is not a whole number: reported, the old quantity stays, and
        // the picture still shows the new colour.
        f.ws.Doc.Layers[1].HiddenInColourMode = false;
        f.ws.Doc.Mask.PaintSpan(0, 0, 19, 1);
        f.editor.AssignShadeToLayer(1, Rgb(200, 0, 0), 21, 22, 23, QStringLiteral("1,5"));
        QCOMPARE(layer.Quantity, 12);
        QCOMPARE(layer.ShadeId, 21);
        QCOMPARE(f.prompts.asked.size(), 1);
        QVERIFY(f.ws.ViewBitmap.pixelColor(5, 0).red() > 0);
        QCOMPARE(f.ws.ViewBitmap.pixelColor(5, 0).green(), 0);
        // An index outside the layers changes nothing.
        f.editor.AssignShadeToLayer(9, Rgb(1, 1, 1), 1, 1, 1, QStringLiteral("1"));
        f.editor.AssignShadeToLayer(-1, Rgb(1, 1, 1), 1, 1, 1, QStringLiteral("1"));
        QCOMPARE(f.ws.Doc.Layers.size(), 2);
    }

    // Layers named A, B, C, D with links given as "index>master name" pairs.
    void effectiveLayer_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<QList<int>>("expected");
        const QStringList abcd{OriginalLayerName, QStringLiteral("A"), QStringLiteral("B"),
                               QStringLiteral("C")};
        QTest::newRow("no links") << abcd << QStringList() << QList<int>{0, 1, 2, 3};
        QTest::newRow("C under A") << abcd << QStringList{"3>A"} << QList<int>{0, 1, 2, 1};
        QTest::newRow("missing master") << abcd << QStringList{"2>X"} << QList<int>{0, 1, 2, 3};
        QTest::newRow("own name") << abcd << QStringList{"2>B"} << QList<int>{0, 1, 2, 3};
        QTest::newRow("under Originál")
            << abcd << QStringList{"1>Originál"} << QList<int>{0, 0, 2, 3};
        QTest::newRow("a circle") << abcd << QStringList{"1>B", "2>A"} << QList<int>{0, 2, 1, 3};
        QTest::newRow("chain followed once")
            << abcd << QStringList{"1>B", "2>C"} << QList<int>{0, 2, 3, 3};
        // A file may hold two layers of one name: the last other one is the master,
        // never the layer itself.
        QTest::newRow("twice named, last wins")
            << QStringList{OriginalLayerName, QStringLiteral("B"), QStringLiteral("B"),
                           QStringLiteral("B")}
            << QStringList{"1>B", "3>B"} << QList<int>{0, 3, 2, 2};
    }
    void effectiveLayer() {
        QFETCH(QStringList, names);
        QFETCH(QStringList, links);
        QFETCH(QList<int>, expected);
        LayerList layers;
        for (const QString& name : names) {
            LayerRecord layer = OriginalLayerTemplate();
            layer.Name = name;
            layers.append(layer);
        }
        for (const QString& link : links) {
            const int index = link.section(QLatin1Char('>'), 0, 0).toInt();
            layers[index].Subordinate = true;
            layers[index].MasterName = link.section(QLatin1Char('>'), 1);
        }
        const LayerMap map = BuildLayerMap(layers);
        for (int i = 0; i < layers.size(); ++i) {
            QCOMPARE(EffectiveLayer(layers, i), expected[i]);
            QCOMPARE(int(map[i]), expected[i]); // the picture follows the same rule
        }
    }

    // Ordinary renames make a layer its own master: removing it must still leave a
    // mask whose every run names a layer, so that the saved file opens again.
    void removingALayerNamedAfterItsOwnMaster() {
        Fixture f;
        f.Add(QStringLiteral("A"));
        f.Add(QStringLiteral("B"));
        f.ws.Doc.Layers[1].Subordinate = true; // A under B
        f.ws.Doc.Layers[1].MasterName = QStringLiteral("B");
        f.editor.EditLayer(2); // B becomes C; the link keeps the old name
        QVERIFY(f.editor.Confirm(QStringLiteral("C"), 0, 0));
        f.editor.EditLayer(1); // A becomes "B": its own master by name
        QVERIFY(f.editor.Confirm(QStringLiteral("B"), 0, 0));
        f.ws.Doc.Mask.PaintSpan(3, 2, 9, 1);
        f.ws.Doc.Mask.PaintSpan(4, 0, 19, 2);
        f.prompts.answers.enqueue(Prompts::Yes);
        QVERIFY(f.editor.RemoveLayer(1));
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(5, 3)), 0);
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(5, 4)), 1); // C moved down to 1
        const MaskFile::Contents reread = MaskFile::Parse(
            MaskFile::Serialize(f.ws.Doc.Mask, f.ws.Doc.Layers, f.ws.Doc.Schemes), QString());
        QCOMPARE(reread.Mask.Rows, f.ws.Doc.Mask.Rows);
        // The last layer, named after its own master, goes the same way.
        f.ws.Doc.Layers[1].Subordinate = true;
        f.ws.Doc.Layers[1].MasterName = QStringLiteral("C");
        f.prompts.answers.enqueue(Prompts::Yes);
        QVERIFY(f.editor.RemoveLayer(1));
        QCOMPARE(int(f.ws.Doc.Mask.LayerAt(5, 4)), 0);
        QCOMPARE(f.ws.Doc.Layers.size(), 1);
    }

    // The mask file holds at most 255 layers: the 256th is refused, and a project
    // with 255 opens again.
    void theLayerLimitSurvivesTheFile() {
        Fixture f;
        for (int i = 1; i < MaskFile::MaxLayerCount; ++i)
            f.Add(QStringLiteral("L%1").arg(i));
        QCOMPARE(f.ws.Doc.Layers.size(), MaskFile::MaxLayerCount);
        f.ws.Doc.Mask.PaintSpan(0, 0, 19, 254);
        f.editor.NewLayer();
        QCOMPARE(f.prompts.Texts(),
                 QStringList{QStringLiteral("Projekt už má nejvíce vrstev, 255.")});
        QVERIFY(!f.editor.RealColourPickMode);
        QCOMPARE(f.ws.Doc.Layers.size(), MaskFile::MaxLayerCount);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dum.bmp.mask"));
        f.ws.Doc.Mask.SaveToFile(path, f.ws.Doc.Layers, f.ws.Doc.Schemes);
        LayerList layers;
        SchemeList schemes;
        const TMask mask = TMask::LoadFromFile(path, layers, schemes);
        QCOMPARE(layers.size(), MaskFile::MaxLayerCount);
        QCOMPARE(int(mask.LayerAt(7, 0)), 254);
    }

    // Everything the mask file stores is unsaved work once changed; what it does
    // not store (the display flags) is not.
    void storedChangesSetModified_data() {
        using Action = LayerAction;
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("modified");
        QTest::newRow("shade") << Action([](Fixture& f) {
            f.editor.AssignShadeToLayer(1, Rgb(1, 2, 3), 4, 5, 6, QStringLiteral("0"));
        }) << true;
        QTest::newRow("remove") << Action([](Fixture& f) {
            f.prompts.answers.enqueue(Prompts::Yes);
            f.editor.RemoveLayer(1);
        }) << true;
        QTest::newRow("remove, declined") << Action([](Fixture& f) {
            f.prompts.answers.enqueue(Prompts::No);
            f.editor.RemoveLayer(1);
        }) << false;
        QTest::newRow("clear") << Action([](Fixture& f) {
            f.prompts.answers.enqueue(Prompts::Yes);
            f.editor.CleanLayer(1);
        }) << true;
        QTest::newRow("clear, declined") << Action([](Fixture& f) {
            f.prompts.answers.enqueue(Prompts::No);
            f.editor.CleanLayer(1);
        }) << false;
        QTest::newRow("lock") << Action([](Fixture& f) { f.editor.ToggleLock(1); }) << true;
        QTest::newRow("original colour")
            << Action([](Fixture& f) { f.editor.ResetShade(1); }) << true;
        QTest::newRow("visibility")
            << Action([](Fixture& f) { f.editor.ToggleVisibility(1); }) << false;
        QTest::newRow("show none") << Action([](Fixture& f) { f.editor.ShowNoLayers(); }) << false;
    }
    void storedChangesSetModified() {
        QFETCH(LayerAction, action);
        QFETCH(bool, modified);
        Fixture f;
        f.Add(QStringLiteral("A"));
        f.ws.Doc.Mask.PaintSpan(0, 0, 5, 1);
        f.ws.Doc.Modified = false;
        action(f);
        QCOMPARE(f.ws.Doc.Modified, modified);
    }

    // A shade, a lock and a link set while the dialog is open survive its confirm.
    void confirmKeepsWhatTheDialogDoesNotEdit() {
        Fixture f;
        f.Add(QStringLiteral("A"));
        f.Add(QStringLiteral("B"));
        f.editor.EditLayer(1);
        f.editor.AssignShadeToLayer(1, Rgb(10, 20, 30), 7, 8, 9, QStringLiteral("12"));
        f.editor.ToggleLock(1);
        f.ws.Doc.Layers[1].Subordinate = true;
        f.ws.Doc.Layers[1].MasterName = QStringLiteral("B");
        QVERIFY(f.editor.Confirm(QStringLiteral("Fasáda"), Rgb(1, 1, 1), Rgb(2, 2, 2)));
        const LayerRecord& layer = f.ws.Doc.Layers[1];
        QCOMPARE(layer.Name, QStringLiteral("Fasáda"));
        QCOMPARE(layer.RealColour, Rgb(1, 1, 1));
        QCOMPARE(layer.MaskColour, Rgb(2, 2, 2));
        QCOMPARE(layer.ShadeColour, Rgb(10, 20, 30));
        QCOMPARE(layer.ShadeId, 7);
        QCOMPARE(layer.Quantity, 12);
        QVERIFY(layer.Locked);
        QVERIFY(f.ws.Doc.Mask.Locked[1]);
        QVERIFY(layer.Subordinate);
        QCOMPARE(layer.MasterName, QStringLiteral("B"));
    }

    // A sample shows the dialog again without putting back what it showed at first.
    void samplingOnlySetsTheRealColour() {
        Fixture f;
        int shown = 0, raised = 0;
        Colour sampled = -1;
        f.editor.ShowDialog = [&shown](const LayerRecord&) { ++shown; };
        f.editor.RaiseDialog = [&raised] { ++raised; };
        f.editor.ShowSampledColour = [&sampled](Colour c) { sampled = c; };
        f.editor.NewLayer();
        QCOMPARE(shown, 1);
        f.editor.SampleRealColour(0, 0);
        QCOMPARE(shown, 1);
        QCOMPARE(raised, 1);
        QCOMPARE(sampled, f.editor.EditedLayer.RealColour);
        QVERIFY(sampled != Rgb(208, 208, 208));
    }

    // Names the mask file cannot hold are refused before anything changes, for a new
    // layer and for a renamed one: "日" and "本" would otherwise both be stored as the
    // same byte.
    void namesOutsideTheCodePageAreRefused_data() {
        QTest::addColumn<bool>("renaming");
        QTest::addColumn<QString>("name");
        QTest::newRow("new layer") << false << QStringLiteral("日本");
        QTest::newRow("renamed layer") << true << QStringLiteral("日本");
        QTest::newRow("renamed layer, one sign among Czech letters")
            << true << QStringLiteral("Střecha €→");
    }
    void namesOutsideTheCodePageAreRefused() {
        QFETCH(bool, renaming);
        QFETCH(QString, name);
        Fixture f;
        if (renaming) {
            f.Add(QStringLiteral("Zeď"));
            f.ws.Doc.Schemes = {{QStringLiteral("S"), f.ws.Doc.Layers}};
            f.ws.Doc.Modified = false;
            f.editor.EditLayer(1);
        } else {
            f.editor.NewLayer();
        }
        const LayerList layers = f.ws.Doc.Layers;
        QVERIFY(!f.editor.Confirm(name, Rgb(1, 2, 3), Rgb(4, 5, 6)));
        QCOMPARE(f.ws.Doc.Layers, layers);
        QCOMPARE(f.ws.Doc.Schemes.value(0).Layers, renaming ? layers : LayerList{});
        QVERIFY(!f.ws.Doc.Modified);
        QVERIFY(f.editor.RealColourPickMode); // the dialog stays open
        QCOMPARE(f.prompts.asked.size(), 1);
        QCOMPARE(f.prompts.asked[0].caption, QStringLiteral("Chyba"));
        QVERIFY(f.prompts.asked[0].text.contains(name.right(1)));
        QVERIFY(f.editor.Confirm(QStringLiteral("Střecha"), 0, 0));
        QCOMPARE(f.ws.Doc.Layers.size(), 2);
        QCOMPARE(f.ws.Doc.Layers[1].Name, QStringLiteral("Střecha"));
    }

    // A pending edit dropped from outside gives the picture its cross cursor back.
    void abandoningAnEditEndsThePickMode() {
        Fixture f;
        QSignalSpy pickMode(&f.ws, &Workspace::PickModeChanged);
        f.editor.NewLayer();
        f.editor.Abandon();
        QVERIFY(!f.editor.RealColourPickMode);
        QCOMPARE(pickMode.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestLayerOperations)
#include "test_layeroperations.moc"
