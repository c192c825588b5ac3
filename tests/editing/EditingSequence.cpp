#include "editing/EditingSequence.h"

#include "editing/PlainModel.h"
#include "editing/SequenceChecks.h"
#include "editing/SequencePictures.h"
#include "layers/LayerOperations.h"
#include "layers/Schemes.h"
#include "layers/SubordinateLayers.h"
#include "project/Errors.h"
#include "project/PhotoFiles.h"
#include "support/ScriptedPrompts.h"
#include "support/TestPictures.h"
#include "workspace/ProjectOperations.h"
#include "workspace/SaveMask.h"
#include "workspace/ToolActions.h"
#include "workspace/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cmath>
#include <optional>
#include <thread>

namespace EditingSequence {

namespace {

using Plain::History;
using namespace SequenceChecks;

constexpr int MostLayers = 12;
const int Thresholds[] = {10, 20, 35, 60};
const Colour Shades[] = {NoColour, Rgb(200, 80, 60), Rgb(60, 120, 200), Rgb(240, 230, 120)};

const std::vector<SequencePictures::Project>& Projects() {
    static const std::vector<SequencePictures::Project> projects =
        SequencePictures::SavedProjects();
    return projects;
}

const std::vector<QByteArray>& ImportJpegs() {
    static const std::vector<QByteArray> jpegs = [] {
        std::vector<QByteArray> files;
        for (const QImage& photo : SequencePictures::ImportedPhotographs())
            files.push_back(TestPictures::Jpeg(photo));
        return files;
    }();
    return jpegs;
}

QString Name(const QString& path) {
    return QFileInfo(path).fileName();
}

QString Point(QPoint p) {
    return QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y());
}

// Answers the master chooser with the name the run decided on.
class ScriptedChooser : public MasterChooser {
public:
    std::optional<QString> answer;
    std::optional<QString> ChooseMasterLayer(const LayerList&, int, const QString&) override {
        return answer;
    }
};

// One run: the program's core and the model, the same steps given to both.
class Runner {
public:
    explicit Runner(quint32 start);
    Outcome Execute(const std::vector<Step>& steps);

private:
    QString Do(const Step& step);
    void Fail(const QString& check, const QString& message);
    void Verify();
    void ExpectMessage(const QString& caption, const QString& text) {
        expectedMessages_ << caption + QStringLiteral(": ") + text;
    }

    // The view point of raw numbers: mostly inside the view, now and then just past it.
    QPoint ViewPoint(const Step& step) const;
    QPoint ImagePixel(QPoint view) const;
    int Row(quint32 n) const { return int(n % quint32(doc_.Layers.size())); }
    int LaterRow(quint32 n) const { return 1 + int(n % quint32(doc_.Layers.size() - 1)); }
    bool NameTaken(const QString& name, int except) const;
    // The model's picture at a zoom, rendered again only when what it shows changed.
    const QImage& ModelView(int zoom);

    QString DoOpen(const Step& step);
    QString DoImport(const Step& step);
    QString DoSave();
    QString DoPaint(const Step& step);
    QString DoFill(const Step& step);
    QString DoPick(const Step& step);
    QString DoHistory(bool undo);
    QString DoLayerDialog(const Step& step);
    QString DoRemoveOrClear(const Step& step);
    QString DoFlag(const Step& step);
    QString DoSubordinate(const Step& step);
    QString DoShade(const Step& step);
    QString DoScheme(const Step& step);

    // The program.
    QTemporaryDir dir_;
    QString projectFolder_;
    Workspace ws_;
    ScriptedPrompts prompts_;
    ToolActions tools_{ws_, prompts_};
    LayerEditor editor_{ws_, prompts_};
    SchemeEditor schemes_{ws_, editor_, prompts_};
    ScriptedChooser chooser_;
    int selected_ = -1; // the layer list's selection, as the window keeps it

    // The model.
    Plain::Document doc_;
    History history_;
    History::Anchor anchor_;
    int zoom_ = 1;
    bool maskMode_ = true;
    int modelSelected_ = -1;
    QMap<QString, Plain::Document> files_; // what each project's files hold
    QStringList paths_;                    // the projects that can be opened
    int imports_ = 0;
    QStringList expectedMessages_;
    struct RenderedView {
        Plain::PixelMask mask;
        LayerList layers;
        bool maskMode = false;
        qint64 photo = 0;
        QImage view;
    };
    RenderedView rendered_[2]; // zoom 1 and 2

    Outcome outcome_;
};

Runner::Runner(quint32 start) {
    projectFolder_ = dir_.filePath(QStringLiteral("domy"));
    QDir().mkpath(projectFolder_);
    QDir().mkpath(dir_.filePath(QStringLiteral("src")));
    for (const SequencePictures::Project& project : Projects()) {
        Plain::Document doc = project.Doc;
        doc.Path = QDir(projectFolder_).filePath(project.FileName);
        PhotoFiles::SaveBmp(doc.Path, doc.Photo);
        TMask mask = TMask::CreateBlank(doc.Mask.Width, doc.Mask.Height);
        for (int y = 0; y < mask.Height; ++y)
            mask.SetRowFromPixels(y, &doc.Mask.At(0, y));
        mask.SaveToFile(doc.Path + QStringLiteral(".mask"), doc.Layers, doc.Schemes);
        files_[doc.Path] = doc;
        paths_ << doc.Path;
    }

    tools_.SelectedRow = [this] { return selected_; };
    tools_.RealColourPickMode = [this] { return editor_.RealColourPickMode; };
    tools_.SampleRealColour = [this](int x, int y) { editor_.SampleRealColour(x, y); };
    tools_.PickLayer = [this](int layer) { selected_ = layer; };
    // As the layer list does: rebuilt without a selection, then a row selected.
    QObject::connect(&ws_, &Workspace::LayersChanged, [this] { selected_ = -1; });
    QObject::connect(&ws_, &Workspace::LayerSelected, [this](int row) { selected_ = row; });

    outcome_.done << DoOpen(Step{Kind::Open, {start, 0, 0, 0}});
    Verify();
}

Outcome Runner::Execute(const std::vector<Step>& steps) {
    for (size_t i = 0; i < steps.size() && !outcome_.Failed(); ++i) {
        outcome_.done << Do(steps[i]);
        Verify();
        if (outcome_.Failed()) {
            outcome_.failedStep = int(i);
            outcome_.failedKind = steps[i].kind;
        }
    }
    return outcome_;
}

void Runner::Fail(const QString& check, const QString& message) {
    if (!outcome_.check.isEmpty())
        return;
    outcome_.check = check;
    outcome_.message = message;
}

bool Runner::NameTaken(const QString& name, int except) const {
    for (int i = 0; i < doc_.Layers.size(); ++i) {
        if (i != except && doc_.Layers[i].Name == name)
            return true;
    }
    return false;
}

const QImage& Runner::ModelView(int zoom) {
    RenderedView& cached = rendered_[zoom - 1];
    if (cached.view.isNull() || cached.photo != doc_.Photo.cacheKey() ||
        cached.maskMode != maskMode_ || !(cached.mask == doc_.Mask) ||
        cached.layers != doc_.Layers) {
        cached = {doc_.Mask, doc_.Layers, maskMode_, doc_.Photo.cacheKey(),
                  Plain::Render(doc_, maskMode_, zoom)};
    }
    return cached.view;
}

QPoint Runner::ViewPoint(const Step& step) const {
    const int w = doc_.Mask.Width * zoom_, h = doc_.Mask.Height * zoom_;
    QPoint p(int(step.n[0] % quint32(w)), int(step.n[1] % quint32(h)));
    if (step.n[3] % 16 == 0) // just past the left or right edge
        p.setX(step.n[2] % 2 ? -1 - int(step.n[2] / 2 % 3) : w + int(step.n[2] / 2 % 3));
    return p;
}

QPoint Runner::ImagePixel(QPoint view) const {
    return QPoint(int(std::nearbyint(view.x() / double(zoom_))),
                  int(std::nearbyint(view.y() / double(zoom_))));
}

QString Runner::Do(const Step& step) {
    prompts_.answers.clear();
    prompts_.inputs.clear();
    prompts_.fileNames.clear();
    switch (step.kind) {
    case Kind::Open:
        return DoOpen(step);
    case Kind::Import:
        return DoImport(step);
    case Kind::Save:
        return DoSave();
    case Kind::Select: {
        const int row = int(step.n[0] % quint32(doc_.Layers.size() + 1)) - 1;
        selected_ = modelSelected_ = row;
        return QStringLiteral("select row %1").arg(row);
    }
    case Kind::Pencil:
    case Kind::Line:
    case Kind::RightClick:
        return DoPaint(step);
    case Kind::ToleranceFill:
    case Kind::FullFill:
        return DoFill(step);
    case Kind::Pick:
        return DoPick(step);
    case Kind::Undo:
    case Kind::Redo:
        return DoHistory(step.kind == Kind::Undo);
    case Kind::Zoom:
        if (zoom_ == 1)
            ws_.ZoomIn(QSize(200, 150));
        else
            ws_.ZoomOut(QSize(200, 150));
        zoom_ = 3 - zoom_;
        return QStringLiteral("zoom to %1").arg(zoom_);
    case Kind::MaskMode:
        ws_.MaskEditMode = !ws_.MaskEditMode;
        ws_.UpdateWholePicture();
        maskMode_ = !maskMode_;
        return maskMode_ ? QStringLiteral("mask mode on") : QStringLiteral("mask mode off");
    case Kind::NewLayer:
    case Kind::Rename:
        return DoLayerDialog(step);
    case Kind::Remove:
    case Kind::Clear:
        return DoRemoveOrClear(step);
    case Kind::Lock:
    case Kind::Visibility:
        return DoFlag(step);
    case Kind::Subordinate:
        return DoSubordinate(step);
    case Kind::Shade:
        return DoShade(step);
    case Kind::SaveScheme:
    case Kind::ApplyScheme:
    case Kind::OverwriteScheme:
    case Kind::DeleteScheme:
        return DoScheme(step);
    }
    return {};
}

QString Runner::DoOpen(const Step& step) {
    const QString path = paths_[int(step.n[0] % quint32(paths_.size()))];
    OpenProjectFile(ws_, prompts_, path);
    doc_ = files_[path];
    doc_.Layers = AsRead(doc_.Layers);
    doc_.Schemes = AsRead(doc_.Schemes);
    history_.Clear();
    anchor_.x = -1;
    zoom_ = 1;
    modelSelected_ = -1;
    return QStringLiteral("open %1").arg(Name(path));
}

QString Runner::DoImport(const Step& step) {
    const std::vector<QByteArray>& jpegs = ImportJpegs();
    const int which = int(step.n[0] % quint32(jpegs.size()));
    const QString source =
        dir_.filePath(QStringLiteral("src/foto%1.jpg").arg(++imports_)); // a new name each time
    TestPictures::WriteFile(source, jpegs[size_t(which)]);
    prompts_.fileNames.enqueue(source);
    prompts_.answers.enqueue(Prompts::No); // when asked whether to save the changes first
    ImportPhotograph(ws_, prompts_, projectFolder_);

    Plain::Document doc;
    doc.Path = QDir(projectFolder_).filePath(QStringLiteral("foto%1.bmp").arg(imports_));
    doc.Photo = PhotoFiles::LoadJpeg(source);
    doc.Mask = Plain::PixelMask::Blank(doc.Photo.width(), doc.Photo.height());
    doc.Layers = {Plain::OriginalLayer()};
    files_[doc.Path] = doc;
    paths_ << doc.Path;
    doc_ = doc;
    history_.Clear();
    anchor_.x = -1;
    zoom_ = 1;
    modelSelected_ = -1;
    return QStringLiteral("import picture %1 as %2").arg(which).arg(Name(doc.Path));
}

QString Runner::DoSave() {
    SaveMask(ws_.Doc, prompts_);
    ExpectMessage(QStringLiteral("Informace"), QStringLiteral("Soubor byl uložen"));
    files_[doc_.Path] = doc_;
    // The saved files reopen to the document as it is, display flags aside.
    try {
        const LoadedProject reopened = LoadProject(doc_.Path);
        if (!(reopened.Mask == ws_.Doc.Mask))
            Fail(QStringLiteral("saved file"), QStringLiteral("the mask reads back otherwise"));
        if (reopened.Photo != ws_.Doc.PhotoBitmap)
            Fail(QStringLiteral("saved file"),
                 QStringLiteral("the photograph reads back otherwise"));
        const QString layers =
            CompareLayers(reopened.Layers, AsRead(ws_.Doc.Layers), QStringLiteral("read back"));
        if (!layers.isEmpty())
            Fail(QStringLiteral("saved file"), layers);
        const QString schemes = CompareSchemes(reopened.Schemes, AsRead(ws_.Doc.Schemes));
        if (!schemes.isEmpty())
            Fail(QStringLiteral("saved file"), QStringLiteral("read back: ") + schemes);
    } catch (const TintoraError& error) {
        Fail(QStringLiteral("saved file"), QStringLiteral("reading it back: ") + error.message());
    }
    return QStringLiteral("save");
}

QString Runner::DoPaint(const Step& step) {
    if (step.kind == Kind::RightClick) {
        tools_.ImageMouseDown(true, 0, 0);
        anchor_.x = -1;
        return QStringLiteral("right click");
    }
    const bool pencil = step.kind == Kind::Pencil;
    const int thickness = 1 + int(step.n[2] % 4);
    const QPoint view = ViewPoint(step);
    const QPoint p = ImagePixel(view);
    const int row = modelSelected_;
    ws_.CurrentTool = pencil ? PencilTool : LineTool;
    ws_.Thickness = thickness;
    tools_.ImageMouseDown(false, view.x(), view.y());

    QString text = QStringLiteral("%1 %2 at view %3 = image %4, zoom %5, layer %6")
                       .arg(pencil ? QStringLiteral("pencil") : QStringLiteral("line to"))
                       .arg(thickness)
                       .arg(Point(view), Point(p))
                       .arg(zoom_)
                       .arg(row);
    if (row < 0) {
        ExpectMessage(QStringLiteral("Rada"), pencil ? QStringLiteral("Vyberte, prosím, vrstvu.")
                                                     : QStringLiteral("Vyberte, prosím, vrsrvu."));
        return text;
    }
    if (pencil) {
        history_.PushUndo(doc_.Mask, anchor_);
        Plain::PaintBrush(doc_, p.x(), p.y(), thickness, row);
        history_.MarkPresentChanged();
        // A stroke: the button held while the pointer moves on.
        const int moves = int(step.n[3] % 3);
        for (int m = 1; m <= moves; ++m) {
            const QPoint to =
                view + QPoint(int(step.n[3] / 3 % 9) * m, int(step.n[3] / 27 % 5) * m);
            tools_.ImageMouseMove(true, false, to.x(), to.y());
            const QPoint q = ImagePixel(to);
            Plain::PaintBrush(doc_, q.x(), q.y(), thickness, row);
            text += QStringLiteral(", drawn to %1").arg(Point(q));
        }
        return text;
    }
    if (anchor_.x < 0) {
        anchor_ = {p.x(), p.y()};
        return text + QStringLiteral(" (the chain's start)");
    }
    history_.PushUndo(doc_.Mask, anchor_);
    history_.MarkPresentChanged();
    Plain::PaintThickLine(doc_, anchor_.x, anchor_.y, p.x(), p.y(), thickness, row);
    text += QStringLiteral(" from %1").arg(Point(QPoint(anchor_.x, anchor_.y)));
    anchor_ = {p.x(), p.y()};
    return text;
}

QString Runner::DoFill(const Step& step) {
    const bool full = step.kind == Kind::FullFill;
    const int tolerance = full ? 255 : Thresholds[step.n[2] % 4];
    const QPoint view = ViewPoint(step);
    const QPoint p = ImagePixel(view);
    const int row = modelSelected_;
    ws_.CurrentTool = full ? FullFillTool : ToleranceFillTool;
    tools_.ActiveTolerance = tolerance;
    tools_.ImageMouseDown(false, view.x(), view.y());

    const QString text = QStringLiteral("%1 at view %2 = image %3, zoom %4, layer %5")
                             .arg(full ? QStringLiteral("full fill")
                                       : QStringLiteral("tolerance fill %1").arg(tolerance))
                             .arg(Point(view), Point(p))
                             .arg(zoom_)
                             .arg(row);
    if (row < 0) {
        ExpectMessage(QStringLiteral("Rada"), QStringLiteral("Vyberte, prosím, vrsrvu."));
        return text;
    }
    history_.PushUndo(doc_.Mask, anchor_);
    Plain::Fill(doc_, ModelView(1), maskMode_, p.x(), p.y(), tolerance, row);
    history_.MarkPresentChanged();
    return text;
}

QString Runner::DoPick(const Step& step) {
    const QPoint view = ViewPoint(step);
    const QPoint p = ImagePixel(view);
    ws_.CurrentTool = PickLayerTool;
    tools_.ImageMouseDown(false, view.x(), view.y());
    const QString text =
        QStringLiteral("pick at view %1 = image %2, zoom %3").arg(Point(view), Point(p)).arg(zoom_);
    if (p.x() < 0 || p.y() < 0 || p.x() >= doc_.Mask.Width || p.y() >= doc_.Mask.Height)
        return text;
    const int own = doc_.Mask.At(p.x(), p.y());
    if (own == 0)
        return text;
    const int layer = Plain::EffectiveLayer(doc_.Layers, own);
    doc_.Layers[layer].ShownInMaskMode = false;
    modelSelected_ = layer;
    return text + QStringLiteral(": layer %1 picks %2").arg(own).arg(layer);
}

QString Runner::DoHistory(bool undo) {
    if (undo) {
        ws_.undoClick();
        history_.Undo(doc_.Mask, anchor_);
    } else {
        ws_.redoClick();
        history_.Redo(doc_.Mask, anchor_);
    }
    return undo ? QStringLiteral("undo") : QStringLiteral("redo");
}

// The layer dialog, opened and left in one step: a new layer, or another name and
// mask colour for a layer. A name in use is refused, and the dialog then cancelled.
QString Runner::DoLayerDialog(const Step& step) {
    const bool adding = step.kind == Kind::NewLayer;
    if (adding ? doc_.Layers.size() >= MostLayers : doc_.Layers.size() < 2)
        return adding ? QStringLiteral("new layer: none, the list is full")
                      : QStringLiteral("rename: no layer");
    const int row = adding ? int(doc_.Layers.size()) : LaterRow(step.n[0]);
    const QString name = SequencePictures::LayerNames()[int(step.n[1] % 7)];
    // Now and then a mask colour of the photograph, which then bars the fills.
    const Colour real = adding ? Rgb(208, 208, 208) : doc_.Layers[row].RealColour;
    Colour mask = adding ? AutoMaskColour(int(doc_.Layers.size())) : doc_.Layers[row].MaskColour;
    if (step.n[2] % 3 == 0) {
        const QPoint at(int(step.n[3] % quint32(doc_.Mask.Width)),
                        int(step.n[3] / 256 % quint32(doc_.Mask.Height)));
        const uchar* p = doc_.Photo.constScanLine(at.y()) + 3 * at.x();
        mask = Rgb(p[2], p[1], p[0]);
    }
    if (adding)
        editor_.NewLayer();
    else
        editor_.EditLayer(row);
    editor_.Confirm(name, real, mask);

    QString text = adding ? QStringLiteral("new layer %1").arg(name)
                          : QStringLiteral("rename layer %1 (%2) to %3")
                                .arg(row)
                                .arg(doc_.Layers[row].Name, name);
    text += QStringLiteral(", mask colour %1").arg(ColourText(mask));
    history_.Clear();
    if (NameTaken(name, adding ? -1 : row)) {
        ExpectMessage(QStringLiteral("Chyba"),
                      QStringLiteral("Vrstva téhož jména již v seznamu existuje."));
        editor_.Cancel();
        return text + QStringLiteral(": the name is taken, cancelled");
    }
    if (adding) {
        doc_.Layers.append(Plain::NewLayer(name, real, mask));
    } else {
        LayerRecord& layer = doc_.Layers[row];
        const QString oldName = layer.Name;
        layer.Name = name;
        layer.RealColour = real;
        layer.MaskColour = mask;
        if (oldName != name) {
            for (SchemeRecord& scheme : doc_.Schemes) {
                for (LayerRecord& record : scheme.Layers) {
                    if (record.Name == oldName)
                        record.Name = name;
                }
            }
        }
    }
    modelSelected_ = row;
    return text;
}

QString Runner::DoRemoveOrClear(const Step& step) {
    const int row = Row(step.n[0]);
    prompts_.answers.enqueue(Prompts::Yes);
    if (step.kind == Kind::Remove) {
        editor_.RemoveLayer(row);
        if (row > 0) {
            Plain::RemoveLayer(doc_, row);
            history_.Clear();
            modelSelected_ = -1;
        }
        return QStringLiteral("remove layer %1").arg(row);
    }
    editor_.CleanLayer(row);
    if (row > 0) {
        if (doc_.Layers[row].Locked)
            ExpectMessage(QStringLiteral("Chyba"),
                          QStringLiteral("Vrstva je zamčená. Nejprve ji odemkněte."));
        else if (doc_.Layers[0].Locked)
            ExpectMessage(QStringLiteral("Chyba"),
                          QStringLiteral("Vrstva \"Originál\" je zamčená. Nejprve ji odemkněte."));
        else
            Plain::CleanLayer(doc_, row);
    }
    return QStringLiteral("clear layer %1").arg(row);
}

QString Runner::DoFlag(const Step& step) {
    const int row = Row(step.n[0]);
    if (step.kind == Kind::Lock) {
        editor_.ToggleLock(row);
        doc_.Layers[row].Locked = !doc_.Layers[row].Locked;
        return QStringLiteral("lock or unlock layer %1").arg(row);
    }
    editor_.ToggleVisibility(row);
    if (row > 0) {
        LayerRecord& layer = doc_.Layers[row];
        if (maskMode_)
            layer.ShownInMaskMode = !layer.ShownInMaskMode;
        else
            layer.HiddenInColourMode = !layer.HiddenInColourMode;
    }
    return QStringLiteral("show or hide layer %1").arg(row);
}

// Links a layer to a master chosen among the other layers, or releases it.
QString Runner::DoSubordinate(const Step& step) {
    if (doc_.Layers.size() < 2)
        return QStringLiteral("subordinate: no layer");
    const int row = LaterRow(step.n[0]);
    LayerRecord& layer = doc_.Layers[row];
    if (layer.Subordinate) {
        ToggleSubordinate(ws_, chooser_, row);
        layer.Subordinate = false;
        return QStringLiteral("release layer %1").arg(row);
    }
    QList<int> candidates;
    for (int i = 0; i < doc_.Layers.size(); ++i) {
        if (i != row)
            candidates << i;
    }
    const int choice = int(step.n[1] % quint32(candidates.size() + 1));
    if (choice == candidates.size()) {
        chooser_.answer.reset();
        ToggleSubordinate(ws_, chooser_, row);
        return QStringLiteral("subordinate layer %1: cancelled").arg(row);
    }
    const QString master = doc_.Layers[candidates[choice]].Name;
    chooser_.answer = master;
    ToggleSubordinate(ws_, chooser_, row);
    layer.Subordinate = true;
    layer.MasterName = master;
    return QStringLiteral("subordinate layer %1 to %2").arg(row).arg(master);
}

QString Runner::DoShade(const Step& step) {
    if (doc_.Layers.size() < 2)
        return QStringLiteral("shade: no layer");
    const int row = LaterRow(step.n[0]);
    const Colour shade = Shades[step.n[1] % 4];
    const int id = shade == NoColour ? -1 : int(step.n[2] % 500) + 1;
    editor_.AssignShadeToLayer(row, shade, id, id + 1, id + 2, QStringLiteral("3"));
    LayerRecord& layer = doc_.Layers[row];
    layer.ShadeColour = shade;
    layer.ShadeId = id;
    layer.FanDeckId = id + 1;
    layer.PaintKindId = id + 2;
    layer.Quantity = 3;
    return QStringLiteral("shade %1 for layer %2").arg(ColourText(shade)).arg(row);
}

QString Runner::DoScheme(const Step& step) {
    if (step.kind == Kind::SaveScheme) {
        const QString name = SequencePictures::SchemeNames()[int(step.n[0] % 3)];
        prompts_.inputs.enqueue(name);
        schemes_.SaveNew();
        doc_.Schemes.append(SchemeRecord{name, doc_.Layers});
        return QStringLiteral("save scheme %1").arg(name);
    }
    if (doc_.Schemes.isEmpty())
        return QStringLiteral("scheme: none");
    const int row = int(step.n[0] % quint32(doc_.Schemes.size()));
    prompts_.answers.enqueue(Prompts::Yes);
    switch (step.kind) {
    case Kind::ApplyScheme:
        schemes_.Apply(row);
        Plain::ApplyScheme(doc_, doc_.Schemes[row]);
        return QStringLiteral("apply scheme %1 (%2)").arg(row).arg(doc_.Schemes[row].Name);
    case Kind::OverwriteScheme: {
        schemes_.Overwrite(row);
        LayerList& records = doc_.Schemes[row].Layers;
        for (int i = 0; i < doc_.Layers.size(); ++i) {
            if (i < records.size())
                records[i] = doc_.Layers[i];
            else
                records.append(doc_.Layers[i]);
        }
        return QStringLiteral("overwrite scheme %1").arg(row);
    }
    default:
        schemes_.Delete(row);
        doc_.Schemes.removeAt(row);
        return QStringLiteral("delete scheme %1").arg(row);
    }
}

void Runner::Verify() {
    const Document& real = ws_.Doc;
    if (real.ProjectPath != doc_.Path)
        return Fail(QStringLiteral("project"),
                    QStringLiteral("%1 is open, expected %2").arg(real.ProjectPath, doc_.Path));
    QString difference = CompareLayers(real.Layers, doc_.Layers, QStringLiteral("layers"));
    if (!difference.isEmpty())
        return Fail(QStringLiteral("layers"), difference);
    difference = CompareSchemes(real.Schemes, doc_.Schemes);
    if (!difference.isEmpty())
        return Fail(QStringLiteral("schemes"), difference);
    difference = CompareMask(real.Mask, doc_.Mask, int(real.Layers.size()));
    if (!difference.isEmpty())
        return Fail(QStringLiteral("mask"), difference);
    for (int i = 0; i < 256; ++i) {
        if (real.Mask.Locked[i] != Plain::IsLocked(doc_.Layers, i))
            return Fail(QStringLiteral("locks"),
                        QStringLiteral("the mask's lock of layer %1 is %2, the layer's %3")
                            .arg(i)
                            .arg(real.Mask.Locked[i])
                            .arg(Plain::IsLocked(doc_.Layers, i)));
    }
    const UndoHistory& h = ws_.History;
    if (h.NodeCount() != history_.NodeCount() || h.CurrentIndex() != history_.CurrentIndex() ||
        h.RedoIndex() != history_.RedoIndex() ||
        (history_.NodeCount() > 0 && h.PresentInHistory() != history_.PresentInHistory()))
        return Fail(QStringLiteral("history"),
                    QStringLiteral("nodes %1, undo at %2, redo at %3, present kept %4; expected "
                                   "%5, %6, %7, %8")
                        .arg(h.NodeCount())
                        .arg(h.CurrentIndex())
                        .arg(h.RedoIndex())
                        .arg(h.PresentInHistory())
                        .arg(history_.NodeCount())
                        .arg(history_.CurrentIndex())
                        .arg(history_.RedoIndex())
                        .arg(history_.PresentInHistory()));
    if (ws_.LineAnchorX != anchor_.x || (anchor_.x >= 0 && ws_.LineAnchorY != anchor_.y))
        return Fail(QStringLiteral("line anchor"),
                    QStringLiteral("%1, expected %2")
                        .arg(Point(QPoint(ws_.LineAnchorX, ws_.LineAnchorY)),
                             Point(QPoint(anchor_.x, anchor_.y))));
    if (selected_ != modelSelected_)
        return Fail(
            QStringLiteral("selection"),
            QStringLiteral("row %1 is selected, expected %2").arg(selected_).arg(modelSelected_));
    if (ws_.ZoomFactor != float(zoom_))
        return Fail(QStringLiteral("zoom"), QStringLiteral("zoom %1").arg(ws_.ZoomFactor));
    // The picture shown, without the cursor marker.
    const bool marker = ws_.Marker.MarkerDrawn;
    if (marker)
        ws_.Marker.EraseMarker(ws_.ViewBitmap);
    difference = CompareImages(ws_.ViewBitmap, ModelView(zoom_));
    if (marker)
        ws_.Marker.DrawMarker(ws_.ViewBitmap);
    if (!difference.isEmpty())
        return Fail(QStringLiteral("view"), difference);
    // Messages other than questions: hints, refusals, notices.
    QStringList shown;
    for (const ScriptedPrompts::Asked& asked : prompts_.asked) {
        if (asked.caption != QStringLiteral("Dotaz") &&
            asked.caption != QStringLiteral("Potvrzení"))
            shown << asked.caption + QStringLiteral(": ") + asked.text;
    }
    prompts_.asked.clear();
    const QStringList expected = expectedMessages_;
    expectedMessages_.clear();
    if (shown != expected)
        return Fail(QStringLiteral("messages"), QStringLiteral("shown [%1], expected [%2]")
                                                    .arg(shown.join(QStringLiteral(" | ")),
                                                         expected.join(QStringLiteral(" | "))));
}

Kind RandomKind(QRandomGenerator& random) {
    // How often each step comes, roughly as a user's hour of editing has them.
    static const std::pair<Kind, int> weights[] = {{Kind::Open, 4},
                                                   {Kind::Import, 2},
                                                   {Kind::Save, 3},
                                                   {Kind::Select, 12},
                                                   {Kind::Pencil, 12},
                                                   {Kind::Line, 8},
                                                   {Kind::RightClick, 2},
                                                   {Kind::ToleranceFill, 20},
                                                   {Kind::FullFill, 5},
                                                   {Kind::Pick, 2},
                                                   {Kind::Undo, 10},
                                                   {Kind::Redo, 6},
                                                   {Kind::Zoom, 5},
                                                   {Kind::MaskMode, 4},
                                                   {Kind::NewLayer, 4},
                                                   {Kind::Rename, 4},
                                                   {Kind::Remove, 3},
                                                   {Kind::Clear, 2},
                                                   {Kind::Lock, 4},
                                                   {Kind::Visibility, 2},
                                                   {Kind::Subordinate, 4},
                                                   {Kind::Shade, 3},
                                                   {Kind::SaveScheme, 2},
                                                   {Kind::ApplyScheme, 3},
                                                   {Kind::OverwriteScheme, 1},
                                                   {Kind::DeleteScheme, 1}};
    int total = 0;
    for (const auto& [kind, weight] : weights)
        total += weight;
    int pick = int(random.bounded(total));
    for (const auto& [kind, weight] : weights) {
        if (pick < weight)
            return kind;
        pick -= weight;
    }
    return Kind::Undo;
}

} // namespace

std::vector<Step> RandomSteps(quint32 seed, int count) {
    QRandomGenerator random(seed);
    std::vector<Step> steps;
    for (int i = 0; i < count; ++i) {
        Step step;
        step.kind = RandomKind(random);
        for (quint32& n : step.n)
            n = random.generate();
        steps.push_back(step);
    }
    return steps;
}

Outcome Run(quint32 start, const std::vector<Step>& steps) {
    Outcome outcome;
    // A thread of its own: what the program keeps per thread starts afresh.
    std::thread thread([&] {
        Runner runner(start);
        outcome = runner.Execute(steps);
    });
    thread.join();
    return outcome;
}

std::vector<Step> Shrink(quint32 start, std::vector<Step> steps, const Outcome& failure,
                         int maxRuns) {
    const auto sameFailure = [&](const Outcome& o) {
        return o.Failed() && o.check == failure.check && o.failedKind == failure.failedKind;
    };
    steps.resize(size_t(failure.failedStep + 1));
    int runs = 0;
    for (size_t chunk = std::max<size_t>(steps.size() / 2, 1); chunk >= 1 && runs < maxRuns;) {
        bool removed = false;
        for (size_t at = 0; at < steps.size() && runs < maxRuns;) {
            std::vector<Step> candidate = steps;
            candidate.erase(candidate.begin() + qsizetype(at),
                            candidate.begin() + qsizetype(std::min(at + chunk, steps.size())));
            const Outcome o = Run(start, candidate);
            ++runs;
            if (sameFailure(o)) {
                candidate.resize(size_t(o.failedStep + 1));
                steps = candidate;
                removed = true;
            } else {
                at += chunk;
            }
        }
        if (!removed) {
            if (chunk == 1)
                break;
            chunk /= 2;
        }
    }
    return steps;
}

QString Report(const Outcome& outcome) {
    QString text = QStringLiteral("start: %1\n").arg(outcome.done.value(0));
    for (int i = 1; i < outcome.done.size(); ++i)
        text += QStringLiteral("%1. %2\n").arg(i).arg(outcome.done[i]);
    text += QStringLiteral("check %1 failed: %2").arg(outcome.check, outcome.message);
    return text;
}

} // namespace EditingSequence
