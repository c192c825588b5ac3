#include "app/MainWindow.h"

#include "app/HelpWindow.h"
#include "app/ImageView.h"
#include "overview/ProjectListWindow.h"
#include "widgets/GlintImage.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Prompts.h"
#include "workspace/SaveMask.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>

MainWindow::MainWindow(const QString& appDir, Prompts& prompts, QWidget* parent)
    : QWidget(parent), appDir_(appDir), folders_(LocateProgramFolders(appDir)), prompts_(prompts) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Tintora"));
    resize(718, 567);

    // Missing project folders are made (an installed program's in the user's data
    // folder, with the demo house at the first start); a failure is not reported.
    PrepareProjectFolders(folders_);

    BuildLayout();
    ConnectControls();
    ConnectEditing();
    ConnectComparison();
    ConnectShortcuts();
    setAcceptDrops(true);
    workspace_.SetViewPort(this);
    connect(&workspace_, &Workspace::LayersChanged, this, &MainWindow::FillLayerList);
    connect(&workspace_, &Workspace::SchemesChanged, this, &MainWindow::FillSchemeList);

    workspace_.NewDocument();
    workspace_.Thickness = 1;
    workspace_.Threshold = 20;
    workspace_.Marker.Reset();
    // The editing bar is visible in the design: switching once hides it.
    onEditModeClicked();
}

MainWindow::~MainWindow() {
    workspace_.SetViewPort(nullptr);
}

TGlintImage* MainWindow::Button(const QString& name) const {
    return findChild<TGlintImage*>(name);
}

void MainWindow::FillLayerList() {
    layerList->clear();
    for (const LayerRecord& layer : workspace_.Doc.Layers)
        layerList->addItem(layer.Name);
    layerList->setCurrentRow(-1);
}

void MainWindow::FillSchemeList() {
    schemeList->clear();
    for (const SchemeRecord& record : workspace_.Doc.Schemes)
        schemeList->addItem(record.Name);
    schemeList->setCurrentRow(-1);
}

void MainWindow::SetProjectList(ProjectListWindow* list) {
    projectList_ = list;
    list->ImportInto = [this](const QString& folder) { ImportInto(folder); };
    list->OpenProjectPath = [this] { return workspace_.Doc.ProjectPath; };
}

void MainWindow::onOpenClicked() {
    if (projectList_)
        OpenProject(workspace_, prompts_, *projectList_);
}

void MainWindow::onImportClicked() {
    ImportInto(folders_.Houses());
}

void MainWindow::ImportInto(const QString& folder) {
    QString note;
    const bool imported = ImportPhotograph(
        workspace_, prompts_, folder,
        [this] {
            if (projectList_ && projectList_->isVisible())
                projectList_->reject();
        },
        {}, &note);
    ShowNote(note);
    // The new document's tool shows on its button.
    if (imported && workspace_.MaskEditMode)
        ChooseTool(workspace_.CurrentTool);
}

void MainWindow::onUndoClicked() {
    workspace_.undoClick();
}

void MainWindow::onRedoClicked() {
    workspace_.redoClick();
}

void MainWindow::onSaveClicked() {
    SaveMask(workspace_.Doc, prompts_);
}

void MainWindow::onEditModeClicked() {
    workspace_.HideMarker(); // the other mode's tool draws another marker
    editingBar->setVisible(!editingBar->isVisibleTo(this));
    workspace_.MaskEditMode = editingBar->isVisibleTo(this);
    tools_.DropSmartSelection();
    workspace_.CurrentTool = PickLayerTool;
    tools_.Scale.Reset();
    ShowSmartControls();
    if (workspace_.MaskEditMode)
        LatchToolButton(QStringLiteral("pickLayerButton"));
    workspace_.UpdateWholePicture();
    layerList->viewport()->update();
}

void MainWindow::onHelpClicked() {
    // In a window of the program: a desktop without a browser would show nothing.
    if (!helpWindow)
        helpWindow = new HelpWindow(this);
    const QString page = folders_.HelpPage();
    if (!helpWindow->ShowPage(page))
        prompts_.Error(QStringLiteral("Stránku nápovědy %1 nelze otevřít: soubor neexistuje.")
                           .arg(QDir::toNativeSeparators(page)));
}

void MainWindow::LatchToolButton(const QString& chosen) {
    // Only the tool buttons are ever latched.
    for (const char* name : {"pencilButton", "linesButton", "toleranceFillButton", "fullFillButton",
                             "smartSelectButton", "pickLayerButton", "scaleButton"}) {
        if (TGlintImage* button = Button(QString::fromLatin1(name)))
            button->SetShowFixedPicture(false);
    }
    if (TGlintImage* button = Button(chosen))
        button->SetShowFixedPicture(true);
}

void MainWindow::ChooseTool(int tool) {
    static const QString ButtonOfTool[] = {{},
                                           QStringLiteral("pencilButton"),
                                           QStringLiteral("toleranceFillButton"),
                                           QStringLiteral("fullFillButton"),
                                           QStringLiteral("linesButton"),
                                           QStringLiteral("pickLayerButton"),
                                           QStringLiteral("smartSelectButton"),
                                           QStringLiteral("scaleButton")};
    workspace_.HideMarker(); // the new tool draws its own marker at the next move
    // Another tool drops smart selection's strokes and proposal; choosing it again
    // keeps them. The scale's marks show only while it is the tool; unfinished ones
    // are dropped.
    if (tool != SmartSelectTool)
        tools_.DropSmartSelection();
    tools_.Scale.Reset();
    workspace_.CurrentTool = tool;
    ShowSmartControls();
    imageView->update();
    LatchToolButton(ButtonOfTool[tool]);
    if (tool == PencilTool || tool == LineTool)
        workspace_.LineAnchorX = -1;
    else if (tool == ToleranceFillTool)
        tools_.ActiveTolerance = workspace_.Threshold;
    else if (tool == FullFillTool)
        tools_.ActiveTolerance = 255;
    toolSettingLabel->hide();
    toolSettingSlider->hide();
    toolSettingValue->hide();
    const QSignalBlocker blocker(toolSettingSlider);
    if (tool == PencilTool || tool == LineTool || tool == SmartSelectTool) {
        toolSettingLabel->setText(QStringLiteral("Tloušťka:"));
        toolSettingSlider->setValue(workspace_.Thickness);
        toolSettingValue->setText(QString::number(workspace_.Thickness));
    } else if (tool == ToleranceFillTool) {
        toolSettingLabel->setText(QStringLiteral("Práh:"));
        toolSettingSlider->setValue(qRound(workspace_.Threshold / 5.0));
        toolSettingValue->setText(QString::number(workspace_.Threshold));
    } else {
        return;
    }
    toolSettingLabel->show();
    toolSettingSlider->show();
    toolSettingValue->show();
}

void MainWindow::onToolSettingChanged(int position) {
    if (workspace_.CurrentTool == PencilTool || workspace_.CurrentTool == LineTool ||
        workspace_.CurrentTool == SmartSelectTool) {
        workspace_.Thickness = position;
        toolSettingValue->setText(QString::number(position));
    } else if (workspace_.CurrentTool == ToleranceFillTool) {
        workspace_.Threshold = position * 5;
        tools_.ActiveTolerance = workspace_.Threshold;
        toolSettingValue->setText(QString::number(workspace_.Threshold));
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!workspace_.Doc.Modified) {
        event->accept();
        return;
    }
    const Prompts::Button answer =
        prompts_.Message(QStringLiteral("Chcete uložit změny?"), QStringLiteral("Dotaz"),
                         Prompts::Icon::Question, Prompts::Yes | Prompts::No | Prompts::Cancel);
    if (answer == Prompts::Yes) {
        // A save that failed keeps the window open; "nothing to save" lets it close.
        if (SaveMask(workspace_.Doc, prompts_) == SaveResult::Failed)
            event->ignore();
        else
            event->accept();
    } else if (answer == Prompts::No) {
        event->accept();
    } else {
        event->ignore();
    }
}

QPoint MainWindow::ScrollPosition() const {
    return QPoint(pictureArea->horizontalScrollBar()->value(),
                  pictureArea->verticalScrollBar()->value());
}

void MainWindow::SetScrollPosition(QPoint position) {
    pictureArea->horizontalScrollBar()->setValue(position.x());
    pictureArea->verticalScrollBar()->setValue(position.y());
}

void MainWindow::ViewChanged(const QRect& viewRect) {
    if (imageView->size() != workspace_.ViewBitmap.size()) {
        const QSize before = imageView->size();
        imageView->SizeToView();
        KeepDividerOnResize(before);
    }
    imageView->repaint(viewRect);
}
