#include "commonlibrary/Application.h"

#include "commonlibrary/Library.h"
#include "platform/errors/CErrorComponent.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CRunTimeError.h"

#include <exception>

namespace qlCommonLibrary {

namespace {

// A reporter from the error component; none when even that fails (the object still works).
std::shared_ptr<CErrorReporter> NewReporterOrNone() noexcept {
    try {
        return CErrorComponent::NewErrorReporter();
    } catch (...) {
        return nullptr;
    }
}

CRunTimeError CurrentError() {
    try {
        throw;
    } catch (const std::exception& oException) {
        return CRunTimeError::FromException(oException);
    } catch (...) {
        return CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
    }
}

} // namespace

Application::Application() : m_pErrorReporter(NewReporterOrNone()) {}

Application::~Application() = default;

void Application::ReportError(const char* szMember, std::int32_t lNumber,
                              const std::string& sDescription) noexcept {
    try {
        if (!m_pErrorReporter) {
            return;
        }
        CErrorReporter& oReporter = *m_pErrorReporter;
        oReporter.SetDescription(sDescription);
        oReporter.SetNumber(lNumber);
        oReporter.SetFlag(true);
        oReporter.SetDetail("");
        oReporter.SetSource(std::string("qlCommonLibrary.Application.") + szMember);
        oReporter.Log();
    } catch (...) {
        // The report itself failed: nothing may cross the component's boundary.
    }
}

std::string Application::ClassName() {
    try {
        return "Application";
    } catch (...) {
        try {
            const CRunTimeError oError = CurrentError();
            ReportError("GetClassName", oError.Number(), oError.Description());
        } catch (...) {
        }
        return std::string();
    }
}

std::string Application::Version() {
    try {
        return std::to_string(QLCOMMONLIBRARY_VERSION_MAJOR) + "." +
               std::to_string(QLCOMMONLIBRARY_VERSION_MINOR) + "." +
               std::to_string(QLCOMMONLIBRARY_VERSION_REVISION);
    } catch (...) {
        try {
            const CRunTimeError oError = CurrentError();
            ReportError("GetVersion", oError.Number(), oError.Description());
        } catch (...) {
        }
        return std::string();
    }
}

std::unique_ptr<qlCommonLibrary::Library> Application::Library() {
    try {
        return std::make_unique<qlCommonLibrary::Library>(NewReporterOrNone());
    } catch (...) {
        try {
            const CRunTimeError oError = CurrentError();
            ReportError("Library", oError.Number(), oError.Description());
        } catch (...) {
        }
        return nullptr;
    }
}

} // namespace qlCommonLibrary
