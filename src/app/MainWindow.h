#pragma once

#include "layers/LayerOperations.h"
#include "layers/Schemes.h"
#include "project/ProgramFolders.h"
#include "render/BeforeAfter.h"
#include "workspace/ToolActions.h"
#include "workspace/Workspace.h"

#include <QWidget>
#include <functional>

class GradientStrip;
class ImageView;
class Prompts;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QKeySequence;
class QShortcut;
class QScrollArea;
class QSlider;
class QTimer;
class TGlintImage;
class ProjectListWindow;
class OverviewWindow;
class LayerDialog;
class CatalogueWindow;
class PaletteWindow;
class MasterChooserDialog;
class ComparisonWindow;

// The main window: the top band of large buttons, the layer and scheme lists on the
// left, the mask-editing bar and the scrolling picture. It owns the workspace and
// forwards its controls' events to the operations.
class HelpWindow;

class MainWindow : public QWidget, private ViewPort {
    Q_OBJECT
public:
    MainWindow(const QString& appDir, Prompts& prompts, QWidget* parent = nullptr);
    ~MainWindow() override;

    const QString& AppDir() const { return appDir_; }
    ::Workspace& Workspace() { return workspace_; }

    // The help page's window, made at the first call for help.
    HelpWindow* helpWindow = nullptr;

    TGlintImage* Button(const QString& name) const;
    // The project list that OpenProject shows; set once the windows exist.
    void SetProjectList(ProjectListWindow* list);
    // The layer dialog, the catalogue and the palette, linked once they exist.
    void ConnectWindows(LayerDialog* layerDialog, CatalogueWindow* catalogue,
                        PaletteWindow* palette, MasterChooserDialog* masterChooser);
    // The project overview that the Projekt button fills and shows.
    void SetOverview(OverviewWindow* overview);
    // The schemes side by side, opened from the scheme list's menu.
    void SetComparisonWindow(ComparisonWindow* comparison);

    LayerEditor& Layers() { return layerEditor_; }
    ToolActions& Tools() { return tools_; }
    QListWidget* layerList = nullptr;
    QListWidget* schemeList = nullptr;
    QWidget* editingBar = nullptr;
    QLabel* toolSettingLabel = nullptr;
    QSlider* toolSettingSlider = nullptr;
    QLineEdit* toolSettingValue = nullptr;
    QPushButton* applySmartButton = nullptr;
    QScrollArea* pictureArea = nullptr;
    ImageView* imageView = nullptr;
    QMenu* layerMenu = nullptr;
    QMenu* layerScaleMenu = nullptr; // the references a layer may be measured with
    QMenu* schemeMenu = nullptr;

    // Handlers of the controls.
    void onOpenClicked();
    void onSaveClicked();
    void onImportClicked();
    void onUndoClicked();
    void onRedoClicked();
    void ImportInto(const QString& folder);
    void onEditModeClicked();
    void onHelpClicked();
    void onOverviewClicked();
    void ChooseTool(int tool);
    void onToolSettingChanged(int position);
    void onZoomInClicked();
    void onZoomOutClicked();
    void onShowAllLayersClicked();
    void onShowNoLayersClicked();
    void onNewLayerClicked();
    void onRemoveLayerClicked();
    void onCleanLayerTriggered();
    void onSetOriginalColourTriggered();
    void onToggleSubordinateTriggered();
    void onSaveNewSchemeClicked();
    void onOverwriteSchemeClicked();
    void onDeleteSchemeClicked();
    void onRenameSchemeTriggered();
    void onSchemeListClicked(int row);
    void onCompareSchemesTriggered();
    // The before-and-after comparison: the photograph left of a divider on the picture.
    void onCompareClicked();
    bool Comparing() const { return comparing_; }
    const BeforeAfter& Comparison() const { return beforeAfter_; }
    SchemeEditor& Schemes() { return schemeEditor_; }
    void onLayerListClicked(int row);
    void onLayerListDoubleClicked();
    void onImageViewMouseDown(Qt::MouseButton button, int x, int y);
    void onImageViewMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x,
                              int y);
    void onImageViewMouseUp(Qt::MouseButton button, int x, int y);
    void onImageViewDoubleClick(Qt::MouseButton button, int x, int y);
    // Smart selection: Enter or "Použít" writes the proposal into the selected layer,
    // Esc (or choosing another tool) drops it.
    void onApplySmartClicked();
    void onDropSmartTriggered();
    // The layer menu's "Měřítko vrstvy": lists the references, the layer's checked.
    void onLayerScaleMenuShown();
    void onLayerScaleChosen(int reference);
    int SelectedLayerRow() const;
    // The x of the last press in the layer list, relative to its left edge.
    int LayerListClickX = 0;

    // Where the program's data and projects lie.
    const ProgramFolders& Folders() const { return folders_; }
    // Files handed over from outside, dropped on the window or named on the command
    // line: the first opens its project or is imported; the hint bar shows note and
    // what else the user should know (MainWindowHandover.cpp).
    void OpenOrImportFiles(const QStringList& paths, const QString& note = {});
    // A note in the hint bar at the foot of the picture, for a while.
    void ShowNote(const QString& text);
    QLabel* hintBar = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildLayout();
    QWidget* BuildTopBand();
    QWidget* BuildLeftColumn();
    QWidget* BuildEditingBar();
    void ConnectControls();
    void ConnectEditing();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void FillLayerList();
    void FillSchemeList();
    void LatchToolButton(const QString& chosen);
    // Smart selection's proposal and the stroke being drawn, over the view.
    void PaintSmartSelection(QPainter& painter, const QRect& area);
    void ShowSmartControls();
    void ConnectComparison();
    void SetComparing(bool on);
    void onComparisonMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);
    void onComparisonMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                               QPoint at);
    void DrawComparison(QPainter& painter, const QRegion& area);
    void MoveDivider(int x);
    // The view row the divider's grip stands on: the middle of what is in sight.
    int GripRow() const;
    void FollowGrip();
    void KeepDividerOnResize(QSize before);
    // The keyboard's shortcuts for the buttons (MainWindowShortcuts.cpp).
    void ConnectShortcuts();
    // A shortcut that acts while the focus is in this window, not in its tool windows.
    QShortcut* OwnShortcut(const QKeySequence& keys);
    bool CanPress(TGlintImage* button) const;

    // ViewPort
    QPoint ScrollPosition() const override;
    void SetScrollPosition(QPoint position) override;
    void ViewChanged(const QRect& viewRect) override;

    QString appDir_;
    ProgramFolders folders_;
    QTimer* hintTimer_ = nullptr;
    Prompts& prompts_;
    ::Workspace workspace_;
    GradientStrip* topBandGradient = nullptr;
    GradientStrip* editingBarGradient = nullptr;
    QWidget* topBand = nullptr;
    ProjectListWindow* projectList_ = nullptr;
    LayerDialog* layerDialog_ = nullptr;
    CatalogueWindow* catalogue_ = nullptr;
    PaletteWindow* palette_ = nullptr;
    LayerEditor layerEditor_{workspace_, prompts_};
    ToolActions tools_{workspace_, prompts_};
    SchemeEditor schemeEditor_{workspace_, layerEditor_, prompts_};
    MasterChooserDialog* masterChooser_ = nullptr;
    OverviewWindow* overview_ = nullptr;
    ComparisonWindow* comparisonWindow_ = nullptr;
    BeforeAfter beforeAfter_;
    bool comparing_ = false;
    int gripRow_ = 0;
    QPoint panFrom_;
};
