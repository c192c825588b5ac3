#pragma once

#include "project/Errors.h"
#include "project/Progress.h"
#include "workspace/Prompts.h"

#include <exception>
#include <memory>
#include <new>

// Runs one operation of an event handler; an error it does not handle itself ends
// it and is shown in the general error report; work the user stopped ends without a
// word. Returns whether it completed.
template <typename Operation> bool RunGuarded(Prompts& prompts, Operation&& operation) {
    try {
        operation();
        return true;
    } catch (const Cancelled&) {
    } catch (const TintoraError& error) {
        prompts.Error(error.message());
    } catch (const std::bad_alloc&) {
        prompts.Error(QStringLiteral("Pro tuto operaci není dost paměti."));
    } catch (const std::exception& error) {
        prompts.Error(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

// Runs one long operation, operation(Progress&), under a progress bar described by
// text, as RunGuarded runs it; the bar goes before an error is shown.
template <typename Operation>
bool RunGuardedWithProgress(Prompts& prompts, const QString& text, Operation&& operation) {
    std::exception_ptr failure;
    {
        const std::unique_ptr<Progress> progress = prompts.ShowProgress(text);
        try {
            operation(*progress);
            return true;
        } catch (...) {
            failure = std::current_exception();
        }
    }
    return RunGuarded(prompts, [&failure] { std::rethrow_exception(failure); });
}
