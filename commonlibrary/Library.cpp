#include "commonlibrary/Library.h"

#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CRunTimeError.h"

#include <utility>

// The frame of the Library object: its life, the error convention its operations follow and
// its name. The operations live beside it by concern: LibraryShell.cpp (shell links, special
// folders, folders and files), LibraryStrings.cpp (text), LibraryValues.cpp (numbers, dates,
// variants and keys).

namespace qlCommonLibrary {

Library::Library(std::shared_ptr<CErrorReporter> pReporter)
    : m_pErrorReporter(std::move(pReporter)) {}

Library::~Library() = default;

void Library::ReportError(const char* szOperation, std::exception_ptr pError) noexcept {
    try {
        if (!m_pErrorReporter) {
            return;
        }
        CRunTimeError oError = CRunTimeError::Standard(RunTimeErrors::InvalidProcedureCall);
        try {
            std::rethrow_exception(pError);
        } catch (const std::exception& oException) {
            oError = CRunTimeError::FromException(oException);
        } catch (...) {
        }
        CErrorReporter& oReporter = *m_pErrorReporter;
        oReporter.SetDescription(oError.Description());
        oReporter.SetNumber(oError.Number());
        oReporter.SetFlag(true);
        oReporter.SetDetail("");
        oReporter.SetSource(std::string("qlCommonLibrary.Library.") + szOperation);
        oReporter.Log();
    } catch (...) {
        // The report itself failed: nothing may cross the component's boundary.
    }
}

std::string Library::ClassName() {
    std::string sResult;
    Guard("ClassName", [&] { sResult = "Library"; });
    return sResult;
}

} // namespace qlCommonLibrary
