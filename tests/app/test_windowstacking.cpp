// How a real window manager (openbox on a virtual X server) stacks the program's
// windows: a modal dialog stays above the catalogue and the palette whatever the user
// clicks, and the two tool windows stay above the main window they belong to. Skips
// when no X server can be started here.
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "catalogue/CatalogueWindow.h"
#include "overview/OverviewWindow.h"
#include "palette/PaletteWindow.h"
#include "support/TestCatalogue.h"
#include "support/XServer.h"
#include "workspace/Prompts.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

XServer* server = nullptr;

enum class Modal { Question, Overview };
enum class Clicked { Catalogue, Palette, MainWindow };

} // namespace

Q_DECLARE_METATYPE(Modal)
Q_DECLARE_METATYPE(Clicked)

class TestWindowStacking : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!server)
            QSKIP("No X server with a window manager can be started here.");
        QVERIFY(dir.isValid());
        QCOMPARE(TestCatalogue::Build(dir.filePath(QStringLiteral("odrex.tom")),
                                      TestCatalogue::SmallRows()),
                 QString());
    }

    void init() {
        windows = std::make_unique<AppWindows>(dir.path());
        // Apart from each other, as a user places them: the tool windows right of
        // the main window.
        windows->mainWindow->setGeometry(20, 40, 700, 560);
        windows->mainWindow->show();
        windows->catalogue->move(1000, 40);
        windows->catalogue->show();
        windows->palette->setGeometry(300, 680, 720, 300);
        windows->palette->show();
        for (QWidget* window : {static_cast<QWidget*>(windows->mainWindow.get()),
                                static_cast<QWidget*>(windows->catalogue.get()),
                                static_cast<QWidget*>(windows->palette.get())})
            QVERIFY(QTest::qWaitForWindowExposed(window));
        // The user works in the main window: its dialogs are centred on it.
        windows->mainWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(windows->mainWindow.get()));
        QTest::qWait(300);
    }
    void cleanup() { windows.reset(); }

    // What the window manager keeps above what: every clicked window is raised, and
    // still the modal window stays on top of all of them.
    void aModalWindowStaysAboveTheToolWindows_data() {
        QTest::addColumn<Modal>("modal");
        QTest::addColumn<QList<Clicked>>("clicks");
        const QList<Clicked> both{Clicked::Catalogue, Clicked::Palette};
        QTest::newRow("a question, the catalogue and the palette clicked")
            << Modal::Question << both;
        QTest::newRow("a question, the palette and the catalogue clicked")
            << Modal::Question << QList<Clicked>{Clicked::Palette, Clicked::Catalogue};
        QTest::newRow("the overview") << Modal::Overview << both;
    }
    void aModalWindowStaysAboveTheToolWindows() {
        QFETCH(Modal, modal);
        QFETCH(QList<Clicked>, clicks);
        QList<quint64> stacking;
        quint64 dialog = 0;
        bool clicked = true;
        QTimer::singleShot(0, this, [&] {
            QWidget* shown = nullptr;
            for (int i = 0; i < 100 && !shown; ++i) {
                QTest::qWait(50);
                shown = QApplication::activeModalWidget();
            }
            if (!shown)
                return;
            QTest::qWaitForWindowExposed(shown);
            QTest::qWait(300);
            dialog = shown->winId();
            for (Clicked which : clicks) {
                clicked = clicked && server->Click(Centre(which));
                QTest::qWait(400);
            }
            stacking = server->Stacking();
            shown->close();
        });
        if (modal == Modal::Question)
            windows->prompts.Message(QStringLiteral("Chcete uložit změny?"),
                                     QStringLiteral("Dotaz"), Prompts::Icon::Question,
                                     Prompts::Yes | Prompts::No | Prompts::Cancel);
        else
            windows->mainWindow->onOverviewClicked();
        QVERIFY(clicked);
        QVERIFY2(dialog != 0, "no modal window was shown");
        const qsizetype top = stacking.indexOf(dialog);
        QVERIFY2(top >= 0, qPrintable(Describe(stacking, dialog)));
        for (QWidget* tool : {static_cast<QWidget*>(windows->catalogue.get()),
                              static_cast<QWidget*>(windows->palette.get())}) {
            const qsizetype at = stacking.indexOf(tool->winId());
            QVERIFY2(at >= 0 && at < top, qPrintable(Describe(stacking, dialog)));
        }
    }

    // A click into the main window leaves the catalogue and the palette above it:
    // they belong to it.
    void theToolWindowsStayAboveTheMainWindow() {
        QVERIFY(server->Click(Centre(Clicked::MainWindow)));
        QTest::qWait(400);
        const QList<quint64> stacking = server->Stacking();
        const qsizetype main = stacking.indexOf(windows->mainWindow->winId());
        QVERIFY(main >= 0);
        QVERIFY(stacking.indexOf(windows->catalogue->winId()) > main);
        QVERIFY(stacking.indexOf(windows->palette->winId()) > main);
    }

private:
    QPoint Centre(Clicked which) const {
        QWidget* window =
            which == Clicked::Catalogue ? static_cast<QWidget*>(windows->catalogue.get())
            : which == Clicked::Palette ? static_cast<QWidget*>(windows->palette.get())
                                        : static_cast<QWidget*>(windows->mainWindow.get());
        return window->geometry().center();
    }
    QString Describe(const QList<quint64>& stacking, quint64 dialog) const {
        QStringList names;
        for (quint64 id : stacking) {
            QString name = QString::number(id, 16);
            if (id == dialog)
                name = QStringLiteral("dialog");
            else if (id == windows->catalogue->winId())
                name = QStringLiteral("catalogue");
            else if (id == windows->palette->winId())
                name = QStringLiteral("palette");
            else if (id == windows->mainWindow->winId())
                name = QStringLiteral("main window");
            names << name;
        }
        return QStringLiteral("stacking, bottom first: ") + names.join(QStringLiteral(", "));
    }

    QTemporaryDir dir;
    std::unique_ptr<AppWindows> windows;
};

int main(int argc, char* argv[]) {
    return RunUnderXServer<TestWindowStacking>(argc, argv, server);
}

#include "test_windowstacking.moc"
