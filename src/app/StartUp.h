#pragma once

#include "app/AppWindows.h"

#include <QString>
#include <cstdint>
#include <memory>

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

// Sets the application title, shows the splash, creates every window in order,
// keeps the splash up for at least 5000 ms in total and shows the main window.
std::unique_ptr<AppWindows> StartUp(const QString& appDir, StartupClock& clock,
                                    Prompts* testPrompts = nullptr);
