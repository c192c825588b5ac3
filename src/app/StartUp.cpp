#include "app/StartUp.h"

#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "app/StartupTiming.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

std::int64_t SystemStartupClock::NowMs() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

void SystemStartupClock::WaitMs(std::int64_t ms) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(ms), &loop, &QEventLoop::quit);
    loop.exec();
}

bool InstallCzechQtTranslation() {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    static QTranslator* translator = nullptr;
    if (translator)
        return true;
    auto* loaded = new QTranslator(QCoreApplication::instance());
    if (!loaded->load(QLocale(QLocale::Czech), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

std::unique_ptr<AppWindows> StartUp(const QString& appDir, StartupClock& clock,
                                    Prompts* testPrompts) {
    // The application's title; not a display name, which Qt would append to every
    // window caption.
    QCoreApplication::setApplicationName(QStringLiteral("Tintora"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2"));
    InstallCzechQtTranslation();

    auto splash = std::make_unique<SplashWindow>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    const std::int64_t started = clock.NowMs();
    auto windows = std::make_unique<AppWindows>(appDir, testPrompts);
    const std::int64_t remaining = SplashRemainingMs(clock.NowMs() - started);
    if (remaining > 0)
        clock.WaitMs(remaining);
    splash.reset();

    windows->mainWindow->showMaximized();
    return windows;
}
