#include "aboutbox/MErrorTrap.h"

#include "platform/errors/CErrorReporter.h"

#include <exception>

namespace qlAboutBox::MErrorTrap {

CRunTimeError CurrentError() {
    try {
        throw;
    } catch (const std::exception& oException) {
        return CRunTimeError::FromException(oException);
    } catch (...) {
        return CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
    }
}

void LogCurrent(const std::shared_ptr<CErrorReporter>& pReporter, const char* szSource,
                bool bFlag) noexcept {
    try {
        const CRunTimeError oError = CurrentError();
        if (!pReporter) {
            return;
        }
        pReporter->SetDescription(oError.Description());
        pReporter->SetNumber(oError.Number());
        pReporter->SetFlag(bFlag);
        pReporter->SetDetail("");
        pReporter->SetSource(szSource);
        pReporter->Log();
    } catch (...) {
        // The report itself failed: nothing may cross the component's boundary.
    }
}

} // namespace qlAboutBox::MErrorTrap
