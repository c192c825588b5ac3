// The main window's Projekt button: the overview of the paints chosen for the project.
#include "app/MainWindow.h"
#include "overview/OverviewWindow.h"
#include "widgets/GlintImage.h"

void MainWindow::SetOverview(OverviewWindow* overview) {
    overview_ = overview;
    connect(Button(QStringLiteral("overviewButton")), &TGlintImage::Click, this,
            &MainWindow::onOverviewClicked);
}

void MainWindow::onOverviewClicked() {
    if (!overview_)
        return;
    overview_->FillOverview();
    overview_->move(geometry().center() - overview_->rect().center());
    overview_->exec();
}
