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
#include <clocale>

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

namespace {

const char* const LocaleCategories[] = {
    "LC_CTYPE", "LC_NUMERIC", "LC_COLLATE",   "LC_MONETARY",    "LC_MESSAGES",      "LC_PAPER",
    "LC_NAME",  "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"};

std::optional<QByteArray> Variable(const char* name) {
    return qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name))
                                           : std::nullopt;
}

} // namespace

CzechDatesInQtDialogs::CzechDatesInQtDialogs() {
    saved_.append({"LC_ALL", Variable("LC_ALL")});
    saved_.append({"LC_TIME", Variable("LC_TIME")});
    for (const char* category : LocaleCategories)
        saved_.append({category, Variable(category)});
    // LC_ALL would overrule LC_TIME: what it says goes to each category it stood for.
    const QByteArray all = qgetenv("LC_ALL");
    if (!all.isEmpty()) {
        for (const char* category : LocaleCategories) {
            if (!qEnvironmentVariableIsSet(category))
                qputenv(category, all);
        }
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "cs_CZ.UTF-8");
}

void CzechDatesInQtDialogs::Restore() {
    if (restored_)
        return;
    restored_ = true;
    for (const auto& [name, value] : saved_) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
    // The C library may not know the Czech locale and then kept none at all.
    std::setlocale(LC_ALL, "");
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
