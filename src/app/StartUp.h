#pragma once

#include "app/AppWindows.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

// The tick count and the wait of the splash window's minimum time.
class StartupClock {
public:
    virtual ~StartupClock() = default;
    virtual std::int64_t NowMs() = 0;
    // Waits while the splash keeps painting.
    virtual void WaitMs(std::int64_t ms) = 0;
};

class SystemStartupClock : public StartupClock {
public:
    std::int64_t NowMs() override;
    void WaitMs(std::int64_t ms) override;
};

// Qt's own dialogs (files, colours, input) in Czech, and Czech number formats.
// Returns whether Qt's Czech translation was found.
bool InstallCzechQtTranslation();

// Qt's file dialogs write dates in the locale the environment names for dates, which
// Qt reads once while the application object is made: an object of this class names
// the Czech one for that moment, whatever the user's settings, so that a file dialog
// reads "8. 12. 25", not "8 Dec 2025". Make it before the application object and call
// Restore right after: the environment is as it was, and the C library's locale the
// user's.
class CzechDatesInQtDialogs {
public:
    CzechDatesInQtDialogs();
    void Restore();

private:
    // The variables as they were (unset: not present).
    QList<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
    bool restored_ = false;
};

// Sets the application title, shows the splash, creates every window in order,
// keeps the splash up for at least 5000 ms in total and shows the main window.
std::unique_ptr<AppWindows> StartUp(const QString& appDir, StartupClock& clock,
                                    Prompts* testPrompts = nullptr);
