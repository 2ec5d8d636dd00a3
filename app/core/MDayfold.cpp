#include "app/core/MDayfold.h"

#include "app/core/CAssert.h"
#include "app/core/MSettings.h"
#include "app/journal/CPrivateFolders.h"
#include "app/journal/MJournalText.h"
#include "app/repository/CCapture.h"
#include "app/repository/CRepository.h"
#include "app/repository/CShortcut.h"
#include "app/resources/MResources.h"
#include "app/views/CFavorites.h"
#include "commonlibrary/Application.h"
#include "commonlibrary/Library.h"
#include "platform/errors/CErrorComponent.h"
#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CEventLog.h"
#include "platform/errors/CLogFile.h"
#include "platform/errors/CMessagePresenter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistry.h"
#include "platform/shell/CClock.h"
#include "platform/shell/CShellFolders.h"
#include "platform/shell/CSingleInstance.h"
#include "platform/shell/MPrivateFiles.h"

#include <charconv>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <ostream>
#include <vector>

namespace MDayfold {

namespace {
struct SGlobals {
    std::string sAppPath;
    const CClock* pClock = nullptr;
    CMessagePresenter* pPresenter = nullptr;
    std::unique_ptr<CErrorReporter> pErrorReporter;
    std::unique_ptr<CAssert> pAssert;
    std::unique_ptr<CEventLog> pEventLog;
    std::unique_ptr<qlCommonLibrary::Library> pLibrary;
    std::unique_ptr<CRegistry> pRegistry;
    std::unique_ptr<CRepository> pRepository;
    // Held for the whole run: the lock that keeps a second instance out.
    std::unique_ptr<CSingleInstance> pInstance;
};

SGlobals& Globals() {
    static SGlobals oGlobals;
    return oGlobals;
}

bool ParseNumber(const std::string& sText, int& iValue) {
    const char* pEnd = sText.data() + sText.size();
    const auto oResult = std::from_chars(sText.data(), pEnd, iValue);
    return !sText.empty() && oResult.ec == std::errc() && oResult.ptr == pEnd;
}

// Cuts the last component off sPath and returns it.
std::string CutLast(std::string& sPath) {
    const size_t nPos = sPath.find_last_of("\\/");
    if (nPos == std::string::npos) {
        std::string sLast = sPath;
        sPath.clear();
        return sLast;
    }
    std::string sLast = sPath.substr(nPos + 1);
    sPath.erase(nPos);
    return sLast;
}
} // namespace

namespace {
// The steps of creating the application-wide objects, in the order Main takes them.
void CreateErrorReporter(const SEnvironment& oEnvironment) {
    SGlobals& g = Globals();
    g.sAppPath = oEnvironment.sAppPath;
    g.pClock = oEnvironment.pClock != nullptr ? oEnvironment.pClock : &CClock::System();
    g.pPresenter = oEnvironment.pPresenter != nullptr ? oEnvironment.pPresenter
                                                      : &CMessagePresenter::Console();
    const std::string sErrorLog = g.sAppPath + "/ErrorLog.txt";
    CErrorComponent::SetLogFile(sErrorLog);
    CErrorComponent::SetClock(g.pClock);
    CErrorComponent::SetPresenter(g.pPresenter);
    g.pErrorReporter = std::make_unique<CErrorReporter>();
    g.pErrorReporter->SetLogFile(sErrorLog);
    g.pErrorReporter->SetClock(g.pClock);
    g.pErrorReporter->SetPresenter(g.pPresenter);
}

// The assertion object writes to the event log, so the log object comes with it; the log is
// opened on its file right after.
void CreateAssertAndEventLog() {
    SGlobals& g = Globals();
    g.pEventLog = std::make_unique<CEventLog>();
    g.pEventLog->SetClock(g.pClock);
    g.pAssert = std::make_unique<CAssert>(g.pEventLog.get());
    g.pEventLog->OpenLog(g.sAppPath + "/EventLog.txt", 2);
}

void CreateLibrary() {
    Globals().pLibrary = qlCommonLibrary::Application().Library();
}

// What an earlier version or a looser umask left open to other users of the machine is closed
// once: a folder that is private already is not walked.
void KeepPrivate(const SEnvironment& oEnvironment) {
    const std::string sHome = CShellFolders::HomeFolder();
    for (const std::string& sFolder :
         {oEnvironment.sAppPath,
          std::filesystem::path(oEnvironment.sSettingsFile).parent_path().string()}) {
        if (sFolder.empty()) {
            continue;
        }
        const std::vector<std::string> vFailed = MPrivateFiles::Tighten(sFolder, sHome);
        if (vFailed.empty()) {
            continue;
        }
        constexpr size_t Named = 5;
        std::string sText = "Others may still read what lies in " + sFolder + ": ";
        for (size_t n = 0; n < vFailed.size() && n < Named; ++n) {
            sText += (n == 0 ? "" : "; ") + vFailed[n];
        }
        if (vFailed.size() > Named) {
            sText += "; and " + std::to_string(vFailed.size() - Named) + " more";
        }
        LogError(CRunTimeError(RunTimeErrors::PermissionDenied, sText), "MDayfold.KeepPrivate",
                 false);
    }
}

void CreateRegistryAndRepository(const SEnvironment& oEnvironment) {
    SGlobals& g = Globals();
    if (!oEnvironment.bReadOnly) {
        KeepPrivate(oEnvironment);
    }
    g.pRegistry = std::make_unique<CRegistry>(oEnvironment.sSettingsFile, oEnvironment.pFileTypes,
                                              g.pErrorReporter.get());
    // A settings file that may have lost one of the private folders is not written in this
    // run, before any owner makes its defaults: a write would drop the line that could not be
    // read, and the folder would be public from the next start on.
    if (g.pRegistry->KeyIncomplete(MSettings::GroupPath(CPrivateFolders::GroupName))) {
        g.pRegistry->KeepSettingsFile();
    }
    g.pRepository = std::make_unique<CRepository>(g.sAppPath, !oEnvironment.bReadOnly);
}

void Run(const std::function<void()>& fStep) {
    if (fStep) {
        fStep();
    }
}

// Runs a step whose failure must not stop the start.
void RunIgnoringErrors(const std::function<void()>& fStep) {
    try {
        Run(fStep);
    } catch (...) {
    }
}
} // namespace

void CreateGlobals(const SEnvironment& oEnvironment) {
    CreateErrorReporter(oEnvironment);
    CreateAssertAndEventLog();
    CreateLibrary();
    CreateRegistryAndRepository(oEnvironment);
}

void ReleaseGlobals() {
    SGlobals& g = Globals();
    g.pRepository.reset();
    g.pRegistry.reset();
    g.pLibrary.reset();
    g.pAssert.reset();
    g.pEventLog.reset();
    g.pErrorReporter.reset();
    g.pInstance.reset();
    CErrorComponent::Reset();
    g = SGlobals{};
}

EStart Main(const SEnvironment& oEnvironment, const SWindowSteps& oSteps) {
    // 1. to 4. run with errors ignored. 2. One instance per user.
    std::string sLockProblem;
    if (!oEnvironment.sLockFile.empty()) {
        try {
            auto pInstance = std::make_unique<CSingleInstance>(oEnvironment.sLockFile);
            const CSingleInstance::EResult eResult = pInstance->Acquire();
            if (eResult == CSingleInstance::HeldElsewhere) {
                CMessagePresenter& oPresenter = oEnvironment.pPresenter != nullptr
                                                    ? *oEnvironment.pPresenter
                                                    : CMessagePresenter::Console();
                oPresenter.Show(MResources::LoadResString(153), AppTitle(),
                                MessageBox::OkOnly + MessageBox::Information);
                return EStart::AlreadyLoaded;
            }
            if (eResult == CSingleInstance::Unavailable) {
                // Without the lock a second instance cannot be told apart; the program runs.
                sLockProblem = "The single-instance lock " + pInstance->LockFile() +
                               " cannot be used: " + pInstance->Error();
            }
            Globals().pInstance = std::move(pInstance);
        } catch (...) {
        }
    }
    // 3.
    RunIgnoringErrors(oSteps.ShowSplash);
    RunIgnoringErrors(oSteps.DoEvents);
    // 4.
    try {
        CreateErrorReporter(oEnvironment);
    } catch (...) {
    }
    // 5. From here on a failure ends the start.
    try {
        if (!GlobalsCreated()) {
            throw CRunTimeError::Standard(RunTimeErrors::ObjectRequired);
        }
        if (!sLockProblem.empty()) {
            LogError(CRunTimeError(RunTimeErrors::PathFileAccessError, sLockProblem),
                     "MDayfold.Main", false);
        }
        // 6. to 12.
        Run(oSteps.SetHelpFile);
        CreateAssertAndEventLog();
        CreateLibrary();
        Run(oSteps.CreateAboutBox);
        CreateRegistryAndRepository(oEnvironment);
        Run(oSteps.DoEvents);
        Run(oSteps.LoadMainWindow);
        return EStart::Running;
    } catch (const std::exception& oError) {
        // 13.
        try {
            if (GlobalsCreated()) {
                ReportError(oError, 119, "MDayfold.Main");
            }
        } catch (...) {
        }
        RunIgnoringErrors(oSteps.ReleaseAboutBox);
        RunIgnoringErrors([] { ReleaseGlobals(); });
        RunIgnoringErrors(oSteps.UnloadSplash);
        return EStart::Failed;
    }
}

bool GlobalsCreated() {
    return Globals().pErrorReporter != nullptr;
}

CErrorReporter& ErrorReporter() {
    return *Globals().pErrorReporter;
}
CEventLog& EventLog() {
    return *Globals().pEventLog;
}
const CAssert& Assert() {
    return *Globals().pAssert;
}
qlCommonLibrary::Library& Library() {
    return *Globals().pLibrary;
}
CRegistry& Registry() {
    return *Globals().pRegistry;
}
CRepository& Repository() {
    return *Globals().pRepository;
}
const CClock& Clock() {
    return *Globals().pClock;
}
CMessagePresenter& Presenter() {
    return *Globals().pPresenter;
}
const std::string& AppPath() {
    return Globals().sAppPath;
}
std::string AppTitle() {
    return "Dayfold";
}

void ReportError(const std::exception& oError, int iContextId, const std::string& sSource) {
    const CRunTimeError oRunTimeError = CRunTimeError::FromException(oError);
    CErrorReporter& oReporter = ErrorReporter();
    oReporter.Clear();
    oReporter.SetStyle(64);
    oReporter.SetDescription(oRunTimeError.Description());
    oReporter.SetNumber(oRunTimeError.Number());
    oReporter.SetFlag(false);
    oReporter.SetDetail("");
    oReporter.SetMessage(MResources::LoadResString(118) + MResources::LoadResString(iContextId));
    oReporter.SetSource(sSource);
    oReporter.SetTitle(AppTitle());
    oReporter.Show();
}

void LogError(const std::exception& oError, const std::string& sSource, bool bFlag) {
    const CRunTimeError oRunTimeError = CRunTimeError::FromException(oError);
    CErrorReporter& oReporter = ErrorReporter();
    oReporter.Clear();
    oReporter.SetDescription(std::to_string(oRunTimeError.Number()) + "-" +
                             oRunTimeError.Description());
    oReporter.SetNumber(oRunTimeError.Number());
    oReporter.SetFlag(bFlag);
    oReporter.SetDetail("");
    oReporter.SetSource(sSource);
    oReporter.Log();
}

std::string Trim(const std::string& sText) {
    const size_t nFirst = sText.find_first_not_of(' ');
    if (nFirst == std::string::npos) {
        return "";
    }
    return sText.substr(nFirst, sText.find_last_not_of(' ') - nFirst + 1);
}

bool IsBlank(const std::string& sText) {
    return sText.find_first_not_of(' ') == std::string::npos;
}

CDateTime PathToDate(const std::string& sPath) {
    Assert().Assert(!IsBlank(sPath), "MDayfold.PathToDate: Path is missing");
    try {
        std::string sRest = sPath;
        const std::string sDay = CutLast(sRest);
        const std::string sMonth = CutLast(sRest);
        const std::string sYear = CutLast(sRest);
        int iDay = 0;
        int iYear = 0;
        const int iMonth = CDateTime::MonthFromName(sMonth);
        if (!ParseNumber(sDay, iDay) || !ParseNumber(sYear, iYear) || iMonth == 0) {
            throw CRunTimeError::Standard(RunTimeErrors::TypeMismatch);
        }
        const auto oDate = CDateTime::FromValidParts(iYear, iMonth, iDay);
        if (!oDate) {
            throw CRunTimeError::Standard(RunTimeErrors::TypeMismatch);
        }
        return *oDate;
    } catch (const std::exception& oError) {
        LogError(oError, "MDayfold.PathToDate", false);
        return CDateTime();
    }
}

namespace {
// "Purge Age" as the options hold it; the default when it is missing or not a number.
std::int32_t StoredPurgeAge() {
    constexpr int DefaultPurgeAge = 30;
    try {
        const std::string sValue = Registry()
                                       .KeyFromPath(MSettings::GroupPath("Options"))
                                       .Values()
                                       .Item("Purge Age")
                                       .Value();
        int iValue = 0;
        return ParseNumber(sValue, iValue) ? iValue : DefaultPurgeAge;
    } catch (const std::exception&) {
        return DefaultPurgeAge;
    }
}
} // namespace

namespace {
// "1 document", "2 documents".
std::string Counted(long lCount, const std::string& sOne, const std::string& sMany) {
    return std::to_string(lCount) + " " + (lCount == 1 ? sOne : sMany);
}

// Collects the text of every error reported while it lives, and hands the reports on to the
// observer that was there before.
class CErrorCollector {
public:
    explicit CErrorCollector(CErrorReporter& oReporter)
        : m_oReporter(oReporter), m_fPrevious(oReporter.Reported) {
        m_oReporter.Reported = [this](const CErrorReporter& oReport) {
            m_vErrors.push_back(oReport.Source() + ": " + oReport.Description());
            if (m_fPrevious) {
                m_fPrevious(oReport);
            }
        };
    }
    ~CErrorCollector() { m_oReporter.Reported = m_fPrevious; }
    CErrorCollector(const CErrorCollector&) = delete;
    CErrorCollector& operator=(const CErrorCollector&) = delete;

    const std::vector<std::string>& Errors() const { return m_vErrors; }

private:
    CErrorReporter& m_oReporter;
    std::function<void(const CErrorReporter&)> m_fPrevious;
    std::vector<std::string> m_vErrors;
};
} // namespace

int CaptureOnce(const std::string& sRecentFolder, std::ostream& oOut, std::ostream& oErr,
                const std::function<bool(const std::string& sTargetFile)>& fIsPrivate) {
    const CErrorCollector oCollector(ErrorReporter());
    CFavorites oFavorites;
    oFavorites.SetAppPath(AppPath());
    oFavorites.SetDailyFolder("Daily");
    oFavorites.Read();

    CCapture oCapture;
    oCapture.SetRecentFolder(sRecentFolder);
    oCapture.SetPurgeAge(StoredPurgeAge());
    oCapture.SetFavorites(&oFavorites);
    oCapture.SetPrivateFolders(fIsPrivate);
    int iFiled = 0;
    int iCounted = 0;
    int iFailed = 0;
    oCapture.ShortcutFiled = [&](const CShortcut& oShortcut, bool bCounted) {
        ++iFiled;
        iCounted += bCounted ? 1 : 0;
        // Names as --list prints them: a terminal acts on no character of them.
        oOut << (bCounted ? "filed   " : "updated ") << oShortcut.Year() << "/" << oShortcut.Month()
             << "/" << oShortcut.Day() << "/" << MJournalText::TabField(oShortcut.FileName())
             << "\n";
    };
    oCapture.FilingFailed = [&](const std::string&) { ++iFailed; };
    oCapture.GetShortcuts();
    const bool bSaved = !oFavorites.Refused() && (!oFavorites.Changed() || oFavorites.Save());

    oOut << Counted(iFiled, "shortcut", "shortcuts") << " filed from "
         << MJournalText::TabField(sRecentFolder) << " ("
         << Counted(iCounted, "new day", "new days") << " of use); "
         << (bSaved ? Counted(oFavorites.Count(), "document", "documents") + " in Favorites.dat"
                    : "Favorites.dat not saved")
         << "\n";
    if (iFailed == 0 && bSaved) {
        return 0;
    }

    std::string sWhat;
    if (iFailed > 0) {
        sWhat = Counted(iFailed, "shortcut", "shortcuts") + " could not be filed";
    }
    if (!bSaved) {
        sWhat += std::string(sWhat.empty() ? "" : " and ") + AppPath() +
                 "/Favorites.dat could not be " + (oFavorites.Refused() ? "read" : "saved");
    }
    // The summary goes to the log as well; when even that fails, the log cannot be written
    // (a full disk) and every error of the run goes to standard error instead.
    const std::string sLog = ErrorReporter().LogFile();
    if (CLogFile(sLog).AppendLine(Clock().Now().ToIsoText() + "\t0\t" + sWhat +
                                  "\tMDayfold.CaptureOnce\t")) {
        oErr << "dayfold: " << MJournalText::TabField(sWhat) << "; see "
             << MJournalText::TabField(sLog) << "\n";
    } else {
        oErr << "dayfold: " << MJournalText::TabField(sWhat) << "; the error log "
             << MJournalText::TabField(sLog) << " cannot be written:\n";
        for (const std::string& sError : oCollector.Errors()) {
            oErr << "dayfold:   " << MJournalText::TabField(sError) << "\n";
        }
    }
    return 1;
}

int CaptureOnce(const std::string& sRecentFolder, std::ostream& oOut,
                const std::function<bool(const std::string& sTargetFile)>& fIsPrivate) {
    return CaptureOnce(sRecentFolder, oOut, std::cerr, fIsPrivate);
}

} // namespace MDayfold
