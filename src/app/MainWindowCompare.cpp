// The main window's comparisons: the picture split by a divider into the original
// photograph and the recoloured picture, and the schemes side by side.
#include "app/ImageView.h"
#include "app/MainWindow.h"
#include "overview/ComparisonWindow.h"
#include "widgets/GlintImage.h"

#include <QEvent>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

void MainWindow::ConnectComparison() {
    connect(Button(QStringLiteral("compareButton")), &TGlintImage::Click, this,
            &MainWindow::onCompareClicked);
    // Another project ends the comparison; the photograph it showed is gone.
    connect(&workspace_, &Workspace::ProjectChanged, this, [this] { SetComparing(false); });
    connect(pictureArea->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &MainWindow::FollowGrip);
    pictureArea->viewport()->installEventFilter(this);
    QAction* compareSchemes = schemeMenu->addAction(QStringLiteral("Porovnat schémata"));
    compareSchemes->setObjectName(QStringLiteral("compareSchemesItem"));
    connect(compareSchemes, &QAction::triggered, this, &MainWindow::onCompareSchemesTriggered);
    // Two schemes at least make a comparison.
    connect(schemeMenu, &QMenu::aboutToShow, this, [this, compareSchemes] {
        compareSchemes->setEnabled(workspace_.Doc.Schemes.size() >= 2);
    });
}

void MainWindow::SetComparisonWindow(ComparisonWindow* comparison) {
    comparisonWindow_ = comparison;
    comparison->ApplyScheme = [this](int row) {
        if (!schemeEditor_.Apply(row))
            return false;
        schemeList->setCurrentRow(row);
        return true;
    };
}

void MainWindow::onCompareSchemesTriggered() {
    if (!comparisonWindow_ || workspace_.Doc.Schemes.size() < 2)
        return;
    comparisonWindow_->Open(schemeList->currentRow());
    comparisonWindow_->move(geometry().center() - comparisonWindow_->rect().center());
    comparisonWindow_->exec();
}

void MainWindow::onCompareClicked() {
    SetComparing(!comparing_);
}

void MainWindow::SetComparing(bool on) {
    on = on && workspace_.Doc.HasProject();
    if (on == comparing_)
        return;
    comparing_ = on;
    Button(QStringLiteral("compareButton"))->SetShowFixedPicture(on);
    if (on) {
        workspace_.HideMarker(); // the tools rest while the divider is dragged
        const QScrollBar* across = pictureArea->horizontalScrollBar();
        const int seen = std::min(pictureArea->viewport()->width(),
                                  workspace_.ViewBitmap.width() - across->value());
        beforeAfter_.MoveDivider(across->value() + seen / 2, workspace_.ViewBitmap.size(), 0);
        gripRow_ = GripRow();
        imageView->DrawPicture = [this](QPainter& painter, const QRegion& area) {
            DrawComparison(painter, area);
        };
        imageView->setCursor(Qt::SplitHCursor);
    } else {
        imageView->DrawPicture = nullptr;
        imageView->setCursor(layerEditor_.RealColourPickMode ? Qt::PointingHandCursor
                                                             : Qt::CrossCursor);
    }
    imageView->update();
}

void MainWindow::DrawComparison(QPainter& painter, const QRegion& area) {
    const RenderInput picture{workspace_.Doc.PhotoBitmap, workspace_.Doc.Mask,
                              workspace_.Doc.Layers, workspace_.ZoomFactor, false};
    beforeAfter_.Paint(painter, area, picture, workspace_.ViewBitmap, gripRow_);
}

void MainWindow::MoveDivider(int x) {
    imageView->update(beforeAfter_.MoveDivider(x, workspace_.ViewBitmap.size(), gripRow_));
}

// A press puts the divider where it is and a drag takes it along; with Shift held
// the picture is panned as in the editing tools. Nothing reaches the tools.
void MainWindow::onComparisonMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                       QPoint at) {
    panFrom_ = at;
    if (button == Qt::LeftButton && !modifiers.testFlag(Qt::ShiftModifier))
        MoveDivider(at.x());
}

void MainWindow::onComparisonMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                       QPoint at) {
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        // The picture follows the pointer; the point under it stays under it.
        const QPoint delta = panFrom_ - at;
        panFrom_ = at + delta;
        pictureArea->horizontalScrollBar()->setValue(pictureArea->horizontalScrollBar()->value() +
                                                     delta.x());
        pictureArea->verticalScrollBar()->setValue(pictureArea->verticalScrollBar()->value() +
                                                   delta.y());
        return;
    }
    panFrom_ = at;
    if (buttons.testFlag(Qt::LeftButton))
        MoveDivider(at.x());
}

int MainWindow::GripRow() const {
    const int top = pictureArea->verticalScrollBar()->value();
    const int seen =
        std::min(pictureArea->viewport()->height(), workspace_.ViewBitmap.height() - top);
    return top + std::max(0, seen) / 2;
}

// The grip stays in the middle of what is in sight while the picture scrolls.
void MainWindow::FollowGrip() {
    if (!comparing_)
        return;
    const int row = GripRow();
    if (row == gripRow_)
        return;
    const QSize size = workspace_.ViewBitmap.size();
    const int x = beforeAfter_.Divider();
    const QRegion changed =
        BeforeAfter::DividerArea(x, size, gripRow_) | BeforeAfter::DividerArea(x, size, row);
    gripRow_ = row;
    imageView->update(changed);
}

// A new zoom: the divider keeps its place on the photograph.
void MainWindow::KeepDividerOnResize(QSize before) {
    if (!comparing_ || before.width() <= 0)
        return;
    const QSize after = workspace_.ViewBitmap.size();
    beforeAfter_.MoveDivider(
        int(std::lround(double(beforeAfter_.Divider()) * after.width() / before.width())), after,
        gripRow_);
    gripRow_ = GripRow();
    imageView->update();
}
