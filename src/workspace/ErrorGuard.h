#pragma once

#include "project/Errors.h"
#include "workspace/Prompts.h"

#include <exception>
#include <new>

// Runs one operation of an event handler; an error it does not handle itself ends
// it and is shown in the general error report. Returns whether it completed.
template <typename Operation> bool RunGuarded(Prompts& prompts, Operation&& operation) {
    try {
        operation();
        return true;
    } catch (const TintoraError& error) {
        prompts.Error(error.message());
    } catch (const std::bad_alloc&) {
        prompts.Error(QStringLiteral("Pro tuto operaci není dost paměti."));
    } catch (const std::exception& error) {
        prompts.Error(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
