#include "app/HelpWindow.h"

#include "widgets/WindowPlacement.h"

#include <QBoxLayout>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Nápověda"));
    resize(820, 640);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("helpBrowser"));
    browser->setOpenExternalLinks(true);
    layout->addWidget(browser);
}

bool HelpWindow::ShowPage(const QString& path) {
    const QFileInfo page(path);
    if (!page.isFile() || !page.isReadable())
        return false;
    browser->setSearchPaths({page.absolutePath()});
    browser->setSource(QUrl::fromLocalFile(page.absoluteFilePath()));
    ShowCentredOn(this, parentWidget());
    return true;
}
