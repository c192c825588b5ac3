// Draws the picture of the main window that the README opens with: the program
// itself, started on the offscreen platform from a staged program folder, opens the
// demo house, applies its first colour scheme and grabs the window.
//   make-screenshot STAGE_FOLDER OUTPUT.png
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "workspace/ProjectOperations.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTextStream>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTextStream err(stderr);
    if (argc != 3) {
        err << "Použití: make-screenshot SLOŽKA_PROGRAMU VÝSTUP.png\n";
        return 2;
    }
    const QString stage = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    AppWindows windows(stage);
    MainWindow& mainWindow = *windows.mainWindow;
    mainWindow.resize(1100, 720);
    mainWindow.show();
    Workspace& ws = mainWindow.Workspace();
    const QString photo = QDir(stage).filePath(QStringLiteral("domy/Rodinný dům.bmp"));
    if (!OpenProjectFile(ws, windows.prompts, photo) || ws.Doc.Schemes.isEmpty()) {
        err << "Demo dům nelze otevřít: " << photo << '\n';
        return 1;
    }
    mainWindow.onSchemeListClicked(0);
    mainWindow.schemeList->setCurrentRow(0);
    mainWindow.onZoomOutClicked(); // the whole house at half size
    QApplication::processEvents();
    if (!mainWindow.grab().save(QString::fromLocal8Bit(argv[2]))) {
        err << "Obrázek nelze uložit.\n";
        return 1;
    }
    return 0;
}
