// A settings write that fails part-way, or whose every file-system call fails in turn: the
// settings file stays the previous one, whole, the tree in memory matches it, the failure is
// logged, and the same change made again once the fault is gone gives the file that a write
// without the fault gives.
#include "platform/registry/CRegistry.h"

#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CFileTypeTable.h"
#include "platform/shell/CFixedClock.h"
#include "support/CFaultyFileSystem.h"
#include "support/CFolderSnapshot.h"
#include "support/CTempFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const char* const OptionsKey = "\\HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options";

// A settings file with the options and a few window settings, kept 0640 by its
// user, and a registry on it whose log lines are counted.
class CSettingsWorld {
public:
    CSettingsWorld() : m_oClock(CDateTime::FromParts(2024, 3, 9, 14, 5, 7)) {
        m_oReporter.SetClock(&m_oClock);
        m_oReporter.Reported = [this](const CErrorReporter& o) {
            m_vLogged.push_back(std::to_string(o.Number()) + "|" + o.Source() + "|" + o.Message());
        };
        m_sFile = m_oTemp / "config/Quillon/Dayfold.reg";
        {
            CRegistry oRegistry(m_sFile, &m_oTypes, &m_oReporter);
            const std::string sQuillon = "\\HKEY_CURRENT_USER\\Software\\Quillon";
            oRegistry.KeyFromPath("\\HKEY_CURRENT_USER\\Software").SubKeys().Add("Quillon");
            oRegistry.KeyFromPath(sQuillon).SubKeys().Add("Dayfold");
            oRegistry.KeyFromPath(sQuillon).SubKeys().Add("Window");
            oRegistry.KeyFromPath(sQuillon + "\\Dayfold").SubKeys().Add("Options");
            CRegistryValues oValues = oRegistry.KeyFromPath(OptionsKey).Values();
            oValues.Add("Favorites Threshold", "3", 1);
            oValues.Add("Purge Age", "30", 1);
            oValues.Add("Timer Interval", "60", 1);
            CRegistryValues oWindow = oRegistry.KeyFromPath(sQuillon + "\\Window").Values();
            oWindow.Add("Left", "1200", 1);
            oWindow.Add("Title \"quoted\"", "C:\\path\\with\nline", 1);
        }
        chmod(m_sFile.c_str(), 0640);
        m_sBefore = CTempFolder::ReadFile(m_sFile);
        m_vLogged.clear();
        m_pRegistry = std::make_unique<CRegistry>(m_sFile, &m_oTypes, &m_oReporter);
    }

    // The change every run makes.
    void Change() {
        m_pRegistry->KeyFromPath(OptionsKey).Values().Item("Purge Age").SetValue("45");
    }
    std::string PurgeAge() {
        return m_pRegistry->KeyFromPath(OptionsKey).Values().Item("Purge Age").Value();
    }
    CFolderSnapshot Snapshot() const {
        return CFolderSnapshot::Take(m_oTemp.Path().string(), m_oTemp.Path().string(), {}, false,
                                     CFolderSnapshot::SystemTimes);
    }

    CTempFolder m_oTemp;
    CFixedClock m_oClock;
    CErrorReporter m_oReporter;
    CFileTypeTable m_oTypes;
    std::vector<std::string> m_vLogged;
    std::string m_sFile;
    std::string m_sBefore;
    std::unique_ptr<CRegistry> m_pRegistry;
};

// The error a call raised; 0 when none.
int ErrorOf(const std::function<void()>& fnCall) {
    try {
        fnCall();
    } catch (const CRunTimeError& oError) {
        return oError.Number();
    }
    return 0;
}

} // namespace

TEST(SettingsFaults, WriteCutOffAtAnyByteKeepsThePreviousFile) {
    CSettingsWorld oWorld;
    CSettingsWorld oReference;
    oReference.Change();
    const std::string sAfter = CTempFolder::ReadFile(oReference.m_sFile);
    ASSERT_GT(sAfter.size(), 300U);
    for (size_t nRoom = 0; nRoom < sAfter.size(); ++nRoom) {
        int iError = 0;
        {
            CFaultyFileSystem oFiles;
            oFiles.FailWritesAfter(nRoom);
            iError = ErrorOf([&] { oWorld.Change(); });
        }
        ASSERT_EQ(iError, RunTimeErrors::PathFileAccessError) << nRoom;
        ASSERT_EQ(CTempFolder::ReadFile(oWorld.m_sFile), oWorld.m_sBefore) << nRoom;
        ASSERT_EQ(oWorld.PurgeAge(), "30") << "the tree stays as the file is";
        ASSERT_EQ(oWorld.m_vLogged.size(), nRoom + 1);
        ASSERT_NE(oWorld.m_vLogged.back().find("61-Disk full"), std::string::npos)
            << oWorld.m_vLogged.back();
        ASSERT_EQ(std::distance(fs::directory_iterator(oWorld.m_oTemp / "config/Quillon"),
                                fs::directory_iterator()),
                  1)
            << "no temporary file is left";
    }
    CFaultyFileSystem oFiles;
    oFiles.FailWritesAfter(sAfter.size());
    EXPECT_EQ(ErrorOf([&] { oWorld.Change(); }), 0);
    EXPECT_EQ(oWorld.Snapshot().Difference(oReference.Snapshot()), "");
}

TEST(SettingsFaults, EveryFailedCallOfASettingsWriteIsSurvived) {
    CSettingsWorld oReference;
    long lCalls = 0;
    {
        CFaultyFileSystem oFiles;
        oReference.Change();
        lCalls = oFiles.Calls();
    }
    ASSERT_TRUE(oReference.m_vLogged.empty());
    ASSERT_GT(lCalls, 5);
    const CFolderSnapshot oExpected = oReference.Snapshot();
    int iInjected = 0;
    int iSurvived = 0;
    for (long lCall = 1; lCall <= lCalls; ++lCall) {
        for (const int iErrno : {ENOSPC, EIO, EACCES}) {
            CSettingsWorld oWorld;
            const CFolderSnapshot oBefore = oWorld.Snapshot();
            int iError = 0;
            std::string sStruck;
            {
                CFaultyFileSystem oFiles;
                oFiles.FailCall(lCall, iErrno);
                iError = ErrorOf([&] { oWorld.Change(); });
                sStruck = oFiles.StruckCall();
            }
            if (sStruck.empty()) {
                continue;
            }
            ++iInjected;
            // Either written whole, or failed: logged, raised, the old file and tree kept.
            const CFolderSnapshot oAfter = oWorld.Snapshot();
            const bool bWritten = iError == 0 && oAfter == oExpected && oWorld.PurgeAge() == "45";
            const bool bKept = iError == RunTimeErrors::PathFileAccessError && oAfter == oBefore &&
                               oWorld.PurgeAge() == "30" && oWorld.m_vLogged.size() == 1;
            // The change made again without the fault.
            const int iAgain = ErrorOf([&] { oWorld.Change(); });
            const bool bSurvived =
                (bWritten || bKept) && iAgain == 0 && oWorld.Snapshot() == oExpected;
            iSurvived += bSurvived ? 1 : 0;
            EXPECT_TRUE(bSurvived)
                << "call " << lCall << " (" << sStruck << ") failing with " << std::strerror(iErrno)
                << ": error " << iError << ", " << oWorld.m_vLogged.size() << " logged\n"
                << oAfter.Difference(bKept ? oBefore : oExpected)
                << oWorld.Snapshot().Difference(oExpected);
        }
    }
    std::printf("settings write: %ld calls, %d faults injected, %d survived\n", lCalls, iInjected,
                iSurvived);
    ::testing::Test::RecordProperty("settings write injected", iInjected);
    ::testing::Test::RecordProperty("settings write survived", iSurvived);
    EXPECT_GE(iInjected, 3 * static_cast<int>(lCalls) - 3);
}
