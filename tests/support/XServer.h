#pragma once

#include <QApplication>
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QTest>
#include <memory>
#include <optional>

// A virtual X server (Xvfb) of the test's own with the window manager openbox, so that
// a test can see how a real window manager stacks the program's windows. Both go when
// the object does.
class XServer {
public:
    XServer() = default;
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Starts both; false (with Reason()) when either cannot be started here.
    bool Start();
    const QString& Reason() const { return reason_; }
    // ":N", for DISPLAY.
    const QString& Display() const { return display_; }

    // The managed windows from the bottom of the stack to the top, as the window
    // manager keeps them in _NET_CLIENT_LIST_STACKING (read with xprop).
    QList<quint64> Stacking() const;
    // A real press and release of the left button at a point of the screen (xdotool),
    // which the window manager sees as the user's click.
    bool Click(QPoint global) const;

private:
    // The program's output; nothing when it could not run or failed.
    std::optional<QString> Run(const QString& program, const QStringList& arguments) const;

    std::unique_ptr<QProcess> xvfb_;
    std::unique_ptr<QProcess> openbox_;
    QString display_;
    QString reason_;
};

// The main of a test that needs the X server: the server comes first, since the
// application connects to it when it is made; *server is set when it runs (the test
// then skips without it).
template <typename Test> int RunUnderXServer(int argc, char* argv[], XServer*& server) {
    XServer x;
    if (x.Start()) {
        server = &x;
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("DISPLAY", x.Display().toLocal8Bit());
    } else {
        qWarning("%s", qPrintable(x.Reason()));
    }
    QApplication application(argc, argv);
    Test test;
    const int result = QTest::qExec(&test, argc, argv);
    server = nullptr;
    return result;
}
