// Every file-system call of one poll and of one Favorites.dat save is made to fail in turn,
// once per run, with each of ENOSPC, EIO and EACCES. After each run the program goes on, the
// failure is logged (or changed nothing), and once the fault is gone the next poll leaves the
// repository, the store and the settings as a run without the fault leaves them.
#include "app/CProgramWorld.h"
#include "app/core/MDayfold.h"
#include "app/repository/CCapture.h"
#include "app/repository/CShortcut.h"
#include "app/views/CFavorites.h"
#include "app/views/CFavoritesFile.h"
#include "support/CFaultyFileSystem.h"
#include "support/CFolderSnapshot.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const CDateTime Jan5Morning = CDateTime::FromParts(1998, 1, 5, 9, 30, 0);
const CDateTime Jan5Noon = CDateTime::FromParts(1998, 1, 5, 12, 0, 0);
const CDateTime Jan5Evening = CDateTime::FromParts(1998, 1, 5, 18, 45, 0);
const CDateTime Jan6Morning = CDateTime::FromParts(1998, 1, 6, 8, 15, 0);
const CDateTime Jan6Noon = CDateTime::FromParts(1998, 1, 6, 12, 0, 0);

// A program that ran a day: three documents filed on January 5 and saved. Then, when asked,
// one of them is opened again that evening, one on January 6, and a new one on January 6: the
// next poll replaces a copy, makes a day folder with its program shortcut, counts two days
// and saves.
class CRunningProgram {
public:
    explicit CRunningProgram(bool bOpenedSince) {
        m_oFavorites.SetAppPath(m_oWorld.AppPath());
        m_oFavorites.SetDailyFolder("Daily");
        m_oCapture.SetRecentFolder(m_oWorld.RecentFolder());
        m_oCapture.SetFavorites(&m_oFavorites);
        for (const char* pszName : {"Agenda", "Budget", "Contract"}) {
            m_oWorld.MakeRecentShortcut(std::string(pszName) + ".txt.lnk",
                                        "/home/ann/" + std::string(pszName) + ".txt", Jan5Morning);
        }
        m_oFavorites.Read();
        Poll(Jan5Noon);
        if (!bOpenedSince) {
            return;
        }
        CProgramWorld::SetModified(m_oWorld.RecentFolder() + "/Agenda.txt.lnk", Jan5Evening);
        CProgramWorld::SetModified(m_oWorld.RecentFolder() + "/Budget.txt.lnk", Jan6Morning);
        m_oWorld.MakeRecentShortcut("Drawing.txt.lnk", "/home/ann/Drawing.txt", Jan6Morning);
    }

    void Poll(const CDateTime& dNow) {
        m_oWorld.Clock().SetNow(dNow);
        m_oCapture.GetShortcuts();
    }

    // The whole world but the logs.
    CFolderSnapshot Snapshot() const {
        return CFolderSnapshot::Take(
            m_oWorld.Temp().Path().string(), m_oWorld.Temp().Path().string(),
            {"ErrorLog.txt", "EventLog.txt"}, false, CFolderSnapshot::SystemTimes);
    }
    // The records in memory as Favorites.dat would hold them.
    std::string Records() const {
        std::string sText;
        for (const FavoriteRecord& oRecord : m_oFavorites.GetFavorites()) {
            sText += CFavoritesFile::FormatRecord(oRecord);
        }
        const std::string sRoot = m_oWorld.Temp().Path().string();
        for (size_t n = sText.find(sRoot); n != std::string::npos; n = sText.find(sRoot, n)) {
            sText.replace(n, sRoot.size(), "<root>");
        }
        return sText;
    }
    size_t LoggedErrors() const {
        const std::string sLog = m_oWorld.ErrorLog();
        return static_cast<size_t>(std::count(sLog.begin(), sLog.end(), '\n'));
    }

    CProgramWorld m_oWorld;
    CFavorites m_oFavorites;
    CCapture m_oCapture;
};

// What one run with one fault did.
struct SRun {
    CFolderSnapshot oAfterFault; // right after the operation that met the fault
    CFolderSnapshot oAfterNext;  // after the next poll, without the fault
    std::string sRecords;        // the store in memory then
    bool bLogged = false;
    bool bEscaped = false;
    std::string sStruck;
    long lCalls = 0;
};

// What is run with a fault: what prepares it (without fault), the operation, and whether
// documents were opened since the program's first day.
struct SScenario {
    const char* pszWhat;
    bool bOpenedSince;
    std::function<void(CRunningProgram&)> fnPrepare;
    std::function<void(CRunningProgram&)> fnOperation;
    // A fault whose outcome stands for the user as it is (no retry would undo it).
    std::function<bool(const std::string& sStruck, int iErrno)> fnStands;
};

// Runs the operation on a running program, with the lCall-th file-system call failing with
// iErrno (0: no fault), then the next poll a minute later.
SRun RunWithFault(const SScenario& oScenario, long lCall, int iErrno) {
    CRunningProgram oProgram(oScenario.bOpenedSince);
    if (oScenario.fnPrepare) {
        oScenario.fnPrepare(oProgram);
    }
    SRun oRun;
    const size_t nLogged = oProgram.LoggedErrors();
    {
        CFaultyFileSystem oFiles;
        oFiles.SetRecording(false);
        if (lCall > 0) {
            oFiles.FailCall(lCall, iErrno);
        }
        try {
            oScenario.fnOperation(oProgram);
        } catch (...) {
            oRun.bEscaped = true;
        }
        oRun.sStruck = oFiles.StruckCall();
        oRun.lCalls = oFiles.Calls();
    }
    oRun.bLogged = oProgram.LoggedErrors() > nLogged;
    oRun.oAfterFault = oProgram.Snapshot();
    oProgram.Poll(Jan6Noon.AddSeconds(60));
    oRun.oAfterNext = oProgram.Snapshot();
    oRun.sRecords = oProgram.Records();
    return oRun;
}

// Every call of the operation failed in turn with each error; returns the number of faults
// injected and adds a failure for each that was not survived.
int InjectEveryFault(const SScenario& oScenario) {
    const char* pszWhat = oScenario.pszWhat;
    const SRun oReference = RunWithFault(oScenario, 0, 0);
    EXPECT_FALSE(oReference.bLogged) << "the operation fails without a fault";
    EXPECT_GT(oReference.lCalls, 5) << "the operation goes through the file system in use";
    int iInjected = 0;
    int iSurvived = 0;
    int iHarmless = 0;
    int iStands = 0;
    for (long lCall = 1; lCall <= oReference.lCalls; ++lCall) {
        for (const int iErrno : {ENOSPC, EIO, EACCES}) {
            const SRun oRun = RunWithFault(oScenario, lCall, iErrno);
            if (oRun.sStruck.empty()) {
                continue; // the run made fewer calls than the reference
            }
            ++iInjected;
            const bool bHarmless = oRun.oAfterFault == oReference.oAfterFault;
            const bool bSurvived = !oRun.bEscaped && (oRun.bLogged || bHarmless) &&
                                   oRun.oAfterNext == oReference.oAfterNext &&
                                   oRun.sRecords == oReference.sRecords;
            iSurvived += bSurvived ? 1 : 0;
            iHarmless += bHarmless ? 1 : 0;
            if (!bSurvived && !oRun.bEscaped && oRun.bLogged == bHarmless && oScenario.fnStands &&
                oScenario.fnStands(oRun.sStruck, iErrno)) {
                ++iStands;
                continue;
            }
            EXPECT_TRUE(bSurvived)
                << pszWhat << ": call " << lCall << " (" << oRun.sStruck << ") failing with "
                << std::strerror(iErrno) << (oRun.bEscaped ? "; an error escaped" : "")
                << (!oRun.bLogged && !bHarmless ? "; it changed the outcome unlogged" : "") << "\n"
                << oRun.oAfterNext.Difference(oReference.oAfterNext)
                << (oRun.sRecords != oReference.sRecords
                        ? "records:\n" + oRun.sRecords + "instead of\n" + oReference.sRecords
                        : "");
        }
    }
    std::printf("%s: %ld calls, %d faults injected, %d survived (%d without effect), %d whose "
                "outcome stands\n",
                pszWhat, oReference.lCalls, iInjected, iSurvived, iHarmless, iStands);
    ::testing::Test::RecordProperty(std::string(pszWhat) + " injected", iInjected);
    ::testing::Test::RecordProperty(std::string(pszWhat) + " survived", iSurvived);
    return iInjected;
}

TEST(FaultInjection, EveryFailedCallOfAPollIsSurvived) {
    // A program that the user may not look at is no program for that user: the document is
    // filed without a shortcut to it, as it would be on every later day.
    const int iInjected = InjectEveryFault(
        {"poll", true, nullptr, [](CRunningProgram& oProgram) { oProgram.Poll(Jan6Noon); },
         [](const std::string& sStruck, int iErrno) {
             return iErrno == EACCES && sStruck.rfind("Stat ", 0) == 0 && sStruck.size() > 12 &&
                    sStruck.compare(sStruck.size() - 12, 12, "/bin/notepad") == 0;
         }});
    EXPECT_GT(iInjected, 300);
}

TEST(FaultInjection, EveryFailedCallOfAFavoritesSaveIsSurvived) {
    // A day of use counted and not saved yet; the next poll finds nothing new to file.
    const int iInjected = InjectEveryFault(
        {"Favorites.dat save", false,
         [](CRunningProgram& oProgram) {
             CShortcut oShortcut;
             oShortcut.SetFile(oProgram.m_oWorld.DailyPath() + "/1998/January/05/Agenda.txt.lnk");
             oProgram.m_oFavorites.ProcessShortcut(oShortcut);
         },
         [](CRunningProgram& oProgram) { oProgram.m_oFavorites.Save(); }, nullptr});
    EXPECT_GT(iInjected, 20);
}

} // namespace
