#pragma once

#include "platform/errors/CRunTimeError.h"

#include <memory>
#include <string>

class CErrorReporter;

// The component's one error trap: every procedure runs its body under Run, which hands a
// caught error to the object's error reporter (description, number, flag, empty detail,
// source "qlAboutBox.<Class>.<Procedure>", then Log) and returns the result type's empty
// value. Nothing is thrown to the caller; without a reporter the error is dropped.
namespace qlAboutBox::MErrorTrap {

// The error being handled (call only inside a catch block), as a run-time error.
CRunTimeError CurrentError();

// Hands the error being handled to pReporter and logs it.
void LogCurrent(const std::shared_ptr<CErrorReporter>& pReporter, const char* szSource,
                bool bFlag) noexcept;

template <class TResult, class TBody>
TResult Run(const std::shared_ptr<CErrorReporter>& pReporter, const char* szSource, bool bFlag,
            TBody&& fnBody) noexcept {
    try {
        return fnBody();
    } catch (...) {
        LogCurrent(pReporter, szSource, bFlag);
    }
    return TResult();
}

} // namespace qlAboutBox::MErrorTrap
