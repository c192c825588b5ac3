// Draws the pictures of smart selection for the help page and the README with the
// program itself, offscreen: the demo house with its facade layer emptied, the smart
// selection tool chosen and one stroke across the facade, its proposal shown over the
// photograph.
//   make-help-pictures FOLDER   (writes FOLDER/chytry-vyber.png)
#include "DemoHouse.h"

#include "app/AppWindows.h"
#include "app/ImageView.h"
#include "app/MainWindow.h"
#include "project/PhotoFiles.h"
#include "widgets/GlintImage.h"
#include "workspace/ProjectOperations.h"
#include "workspace/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollArea>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// No catalogue beside the pictures' project: whatever would be asked is answered
// with its default, unseen.
class QuietPrompts : public Prompts {
public:
    Button Message(const QString&, const QString&, Icon, Buttons buttons, Button) override {
        return buttons.testFlag(Ok) ? Ok : No;
    }
    QString OpenFileName(const QString&, FileUse) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&, FileUse) override {
        return {};
    }
    QString InputText(const QString&, const QString&, const QString& text, int) override {
        return text;
    }
    Colour ChooseColour(Colour) override { return NoColour; }
};

void Send(QWidget* widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
          QPoint at) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "Použití: make-help-pictures SLOŽKA\n";
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("domy")));
    const int w = 1200, h = 800;
    DemoProject demo = MakeDemoHouse(w, h);
    for (int y = 0; y < h; ++y) {
        for (const MaskRun& run : MaskRow(demo.Mask.Rows[y])) {
            if (run.Layer == 1)
                demo.Mask.PaintSpan(y, run.First, run.Last, 0);
        }
    }
    const QString photo = dir.filePath(QStringLiteral("domy/Rodinný dům.bmp"));
    PhotoFiles::SaveBmp(photo, demo.Photo);
    demo.Mask.SaveToFile(photo + QStringLiteral(".mask"), demo.Layers, demo.Schemes);

    QuietPrompts prompts;
    AppWindows windows(dir.path(), &prompts);
    MainWindow& mainWindow = *windows.mainWindow;
    mainWindow.resize(1000, 680);
    mainWindow.show();
    Workspace& ws = mainWindow.Workspace();
    if (!OpenProjectFile(ws, windows.prompts, photo)) {
        err << "Demo dům nelze otevřít.\n";
        return 1;
    }
    mainWindow.onEditModeClicked();
    mainWindow.ChooseTool(SmartSelectTool);
    mainWindow.toolSettingSlider->setValue(4);
    mainWindow.layerList->setCurrentRow(1);
    mainWindow.onZoomOutClicked(); // the whole house at half size
    QApplication::processEvents();

    // One stroke across the facade, above the windows.
    const double z = ws.ZoomFactor;
    const int y = int(0.40 * h * z);
    const int x0 = int(0.27 * w * z), x1 = int(0.73 * w * z);
    Send(mainWindow.imageView, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
         QPoint(x0, y));
    for (int x = x0; x <= x1; x += 8)
        Send(mainWindow.imageView, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton,
             QPoint(x, y + (x / 8) % 3));
    Send(mainWindow.imageView, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton,
         QPoint(x1, y));
    QApplication::processEvents();
    if (ws.Smart.Proposal().IsEmpty()) {
        err << "Nic nebylo navrženo.\n";
        return 1;
    }
    const QString path = QDir(out).filePath(QStringLiteral("chytry-vyber.png"));
    if (!mainWindow.grab().save(path)) {
        err << "Obrázek nelze uložit: " << path << '\n';
        return 1;
    }
    QTextStream(stdout) << path << '\n';
    return 0;
}
