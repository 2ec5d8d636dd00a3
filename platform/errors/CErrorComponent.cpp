#include "platform/errors/CErrorComponent.h"

#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CMessagePresenter.h"
#include "platform/shell/CClock.h"

namespace {
struct SSettings {
    std::string sLogFile;
    const CClock* pClock = &CClock::System();
    CMessagePresenter* pPresenter = &CMessagePresenter::Console();
};
SSettings& Settings() {
    static SSettings oSettings;
    return oSettings;
}
} // namespace

std::shared_ptr<CErrorReporter> CErrorComponent::NewErrorReporter() {
    auto pReporter = std::make_shared<CErrorReporter>();
    pReporter->SetLogFile(Settings().sLogFile);
    pReporter->SetClock(Settings().pClock);
    pReporter->SetPresenter(Settings().pPresenter);
    return pReporter;
}

void CErrorComponent::SetLogFile(const std::string& sPath) {
    Settings().sLogFile = sPath;
}
void CErrorComponent::SetClock(const CClock* pClock) {
    Settings().pClock = pClock;
}
void CErrorComponent::SetPresenter(CMessagePresenter* pPresenter) {
    Settings().pPresenter = pPresenter;
}
void CErrorComponent::Reset() {
    Settings() = SSettings{};
}
