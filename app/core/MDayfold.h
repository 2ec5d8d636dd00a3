#pragma once

#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <exception>
#include <iosfwd>
#include <string>

class CAssert;
class CClock;
class CErrorReporter;
class CEventLog;
class CFileTypeProvider;
class CMessagePresenter;
class CRegistry;
class CRepository;
namespace qlCommonLibrary {
class Library;
}

// The program module: the application-wide objects, created once at start in a fixed order
// and held for the whole run, and the helpers every routine's error handler uses.
namespace MDayfold {

// What the application-wide objects are built on. Tests pass a temporary program folder, a
// fixed clock, a recording message presenter and an in-memory file-type table.
struct SEnvironment {
    std::string sAppPath;      // the program (data) folder, no trailing separator
    std::string sSettingsFile; // the per-user settings file
    CFileTypeProvider* pFileTypes = nullptr;
    const CClock* pClock = nullptr;          // null: the system clock
    CMessagePresenter* pPresenter = nullptr; // null: the console
};

// Error reporter (with ErrorLog.txt), assertion object, event log (EventLog.txt), library,
// settings registry and repository, in that order. The program folder must exist.
void CreateGlobals(const SEnvironment& oEnvironment);
void ReleaseGlobals();
bool GlobalsCreated();

CErrorReporter& ErrorReporter();
CEventLog& EventLog();
const CAssert& Assert();
qlCommonLibrary::Library& Library();
CRegistry& Registry();
CRepository& Repository();
const CClock& Clock();
CMessagePresenter& Presenter();
const std::string& AppPath();
std::string AppTitle();

// A reported error: "An error occurred " + the context phrase of string iContextId, shown to
// the user and logged, with sSource ("FMain.PollRecentFolder").
void ReportError(const std::exception& oError, int iContextId, const std::string& sSource);
// A logged error: "<number>-<description>" with sSource, logged only.
void LogError(const std::exception& oError, const std::string& sSource, bool bFlag);

// The text without its leading and trailing blanks; whether nothing else is in it. The
// assertions of "... is missing" test paths and names with these.
std::string Trim(const std::string& sText);
bool IsBlank(const std::string& sText);

// The date of a day folder ".../<yyyy>/<Month>/<dd>" (either separator); the empty date, with
// the failure logged, when the path does not name one.
CDateTime PathToDate(const std::string& sPath);

// Files the Recent folder once, as one poll does (no purge, no window, no dialogs): reads
// Favorites.dat (or rebuilds it), files, saves, and prints one line per filed shortcut and a
// summary to oOut. Returns the process exit code: 0, or 1 when a shortcut could not be filed
// or the store could not be read or saved; then oErr gets one line saying what failed and
// where the error log is, or, when the log itself cannot be written, every error of the run.
int CaptureOnce(const std::string& sRecentFolder, std::ostream& oOut, std::ostream& oErr);
// The same with standard error for oErr.
int CaptureOnce(const std::string& sRecentFolder, std::ostream& oOut);

} // namespace MDayfold
