#pragma once

#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <exception>
#include <functional>
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
    // The lock file that keeps one instance per user (Main only; empty: no such check).
    std::string sLockFile;
    // The run only reads the journal (--list, --export): nothing is made or changed in the
    // data folder, which may be read-only.
    bool bReadOnly = false;
};

// The parts of start-up that need the desktop, given by the window layer. Each may be empty.
struct SWindowSteps {
    std::function<void()> ShowSplash;      // shows the splash window, modeless
    std::function<void()> DoEvents;        // lets pending window messages run
    std::function<void()> SetHelpFile;     // sets the help that every help command opens
    std::function<void()> CreateAboutBox;  // obtains the about box and gives it its values
    std::function<void()> LoadMainWindow;  // loads the main window (its load sequence runs)
    std::function<void()> ReleaseAboutBox; // after a failed start
    std::function<void()> UnloadSplash;    // after a failed start
};

// How Main ended.
enum class EStart {
    Running,       // the main window is loaded: the program lives on in it
    AlreadyLoaded, // another instance runs; the user was told
    Failed,        // start-up failed; the user was told, the application-wide objects are gone
};

// The program's entry: refuses a second instance, shows the splash, creates the
// application-wide objects in their order (error reporter, help, assertion object, event log,
// library, about box, settings and repository) and loads the main window.
EStart Main(const SEnvironment& oEnvironment, const SWindowSteps& oSteps);

// Error reporter (with ErrorLog.txt), assertion object, event log (EventLog.txt), library,
// settings registry and repository, in that order. The program folder must exist, unless the
// run only reads. Unless it only reads, the data folder and the settings folder are made
// private to the user first when an earlier run or umask left them open to others
// (MPrivateFiles::Tighten), and Daily is made when missing. A settings file that may have
// lost one of the private folders (CRegistry::KeyIncomplete of the Privacy group) is kept as
// it is for the whole run.
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
// fIsPrivate tells the documents of the private folders, which are neither filed nor counted
// (empty: none is private).
int CaptureOnce(const std::string& sRecentFolder, std::ostream& oOut, std::ostream& oErr,
                const std::function<bool(const std::string& sTargetFile)>& fIsPrivate = {});
// The same with standard error for oErr.
int CaptureOnce(const std::string& sRecentFolder, std::ostream& oOut,
                const std::function<bool(const std::string& sTargetFile)>& fIsPrivate = {});

} // namespace MDayfold
