#include "app/MainWindow.h"

#include "app/ImageView.h"
#include "overview/ProjectListWindow.h"
#include "widgets/GlintImage.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Prompts.h"
#include "workspace/SaveMask.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QUrl>

MainWindow::MainWindow(const QString& appDir, Prompts& prompts, QWidget* parent)
    : QWidget(parent), appDir_(appDir), prompts_(prompts) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Tintora"));
    resize(718, 567);

    // Missing project folders are made; a folder that cannot be made is not reported.
    QDir().mkpath(appDir_ + QStringLiteral("/domy"));
    QDir().mkpath(appDir_ + QStringLiteral("/interier"));

    OpenHelpPage = [](const QString& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };

    BuildLayout();
    ConnectControls();
    ConnectEditing();
    workspace_.SetViewPort(this);
    connect(&workspace_, &Workspace::LayersChanged, this, &MainWindow::FillLayerList);
    connect(&workspace_, &Workspace::SchemesChanged, this, &MainWindow::FillSchemeList);

    workspace_.NewDocument();
    workspace_.Thickness = 1;
    workspace_.Threshold = 20;
    workspace_.Marker.Reset();
    // The editing bar is visible in the design: switching once hides it.
    GlintImage13Click();
}

MainWindow::~MainWindow() {
    workspace_.SetViewPort(nullptr);
}

TGlintImage* MainWindow::Button(const QString& name) const {
    return findChild<TGlintImage*>(name);
}

void MainWindow::FillLayerList() {
    ListBox2->clear();
    for (const LayerRecord& layer : workspace_.Doc.Layers)
        ListBox2->addItem(layer.Name);
    ListBox2->setCurrentRow(-1);
}

void MainWindow::FillSchemeList() {
    scheme->clear();
    for (const SchemeRecord& record : workspace_.Doc.Schemes)
        scheme->addItem(record.Name);
    scheme->setCurrentRow(-1);
}

void MainWindow::SetProjectList(ProjectListWindow* list) {
    projectList_ = list;
    list->ImportInto = [this](const QString& folder) { ImportInto(folder); };
    list->OpenProjectPath = [this] { return workspace_.Doc.ProjectPath; };
}

void MainWindow::GlintImage1Click() {
    if (projectList_)
        OpenProject(workspace_, prompts_, *projectList_);
}

void MainWindow::GlintImage11Click() {
    ImportInto(appDir_ + QStringLiteral("/domy"));
}

void MainWindow::ImportInto(const QString& folder) {
    const bool imported = ImportPhotograph(workspace_, prompts_, folder, [this] {
        if (projectList_ && projectList_->isVisible())
            projectList_->reject();
    });
    // The new document's tool shows on its button.
    if (imported && workspace_.MaskEditMode)
        ChooseTool(workspace_.CurrentTool);
}

void MainWindow::undoClick() {
    workspace_.undoClick();
}

void MainWindow::redoClick() {
    workspace_.redoClick();
}

void MainWindow::GlintImage2Click() {
    SaveMask(workspace_.Doc, prompts_);
}

void MainWindow::GlintImage13Click() {
    workspace_.HideMarker(); // the other mode's tool draws another marker
    Panel5->setVisible(!Panel5->isVisibleTo(this));
    workspace_.MaskEditMode = Panel5->isVisibleTo(this);
    workspace_.CurrentTool = PickLayerTool;
    if (workspace_.MaskEditMode)
        LatchToolButton(QStringLiteral("GlintImage8"));
    workspace_.UpdateWholePicture();
    ListBox2->viewport()->update();
}

void MainWindow::GlintImage18Click() {
    OpenHelpPage(appDir_ + QStringLiteral("/help/help.htm"));
}

void MainWindow::LatchToolButton(const QString& chosen) {
    for (int i = 3; i <= 10; ++i) {
        if (TGlintImage* button = Button(QStringLiteral("GlintImage%1").arg(i)))
            button->SetShowFixedPicture(false);
    }
    if (TGlintImage* button = Button(chosen))
        button->SetShowFixedPicture(true);
}

void MainWindow::ChooseTool(int tool) {
    static const QString ButtonOfTool[] = {{},
                                           QStringLiteral("GlintImage4"),
                                           QStringLiteral("GlintImage5"),
                                           QStringLiteral("GlintImage6"),
                                           QStringLiteral("GlintImage7"),
                                           QStringLiteral("GlintImage8")};
    workspace_.HideMarker(); // the new tool draws its own marker at the next move
    workspace_.CurrentTool = tool;
    LatchToolButton(ButtonOfTool[tool]);
    if (tool == PencilTool || tool == LineTool)
        workspace_.LineAnchorX = -1;
    else if (tool == ToleranceFillTool)
        tools_.ActiveTolerance = workspace_.Threshold;
    else if (tool == FullFillTool)
        tools_.ActiveTolerance = 255;
    trackBarKind->hide();
    trackBar->hide();
    toolOption->hide();
    const QSignalBlocker blocker(trackBar);
    if (tool == PencilTool || tool == LineTool) {
        trackBarKind->setText(QStringLiteral("Tloušťka:"));
        trackBar->setValue(workspace_.Thickness);
        toolOption->setText(QString::number(workspace_.Thickness));
    } else if (tool == ToleranceFillTool) {
        trackBarKind->setText(QStringLiteral("Práh:"));
        trackBar->setValue(qRound(workspace_.Threshold / 5.0));
        toolOption->setText(QString::number(workspace_.Threshold));
    } else {
        return;
    }
    trackBarKind->show();
    trackBar->show();
    toolOption->show();
}

void MainWindow::trackBarChange(int position) {
    if (workspace_.CurrentTool == PencilTool || workspace_.CurrentTool == LineTool) {
        workspace_.Thickness = position;
        toolOption->setText(QString::number(position));
    } else if (workspace_.CurrentTool == ToleranceFillTool) {
        workspace_.Threshold = position * 5;
        tools_.ActiveTolerance = workspace_.Threshold;
        toolOption->setText(QString::number(workspace_.Threshold));
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
    return QPoint(ScrollBox1->horizontalScrollBar()->value(),
                  ScrollBox1->verticalScrollBar()->value());
}

void MainWindow::SetScrollPosition(QPoint position) {
    ScrollBox1->horizontalScrollBar()->setValue(position.x());
    ScrollBox1->verticalScrollBar()->setValue(position.y());
}

void MainWindow::ViewChanged(const QRect& viewRect) {
    if (image->size() != workspace_.ViewBitmap.size())
        image->SizeToView();
    image->repaint(viewRect);
}
