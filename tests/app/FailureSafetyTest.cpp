// Writes cut off part-way, saves killed at random moments and a full repository: what was
// saved before is never lost, and nothing is filed or counted twice once there is room again.
#include "app/CProgramWorld.h"
#include "app/core/MDayfold.h"
#include "app/repository/CCapture.h"
#include "app/repository/CShortcut.h"
#include "app/views/CFavorites.h"
#include "app/views/CFavoritesFile.h"
#include "support/CFaultyFileSystem.h"
#include "support/CFolderSnapshot.h"
#include "support/MKillTimer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const CDateTime Jan5Morning = CDateTime::FromParts(1998, 1, 5, 9, 30, 0);
const CDateTime Jan5Noon = CDateTime::FromParts(1998, 1, 5, 12, 0, 0);

class FailureSafety : public ::testing::Test {
protected:
    FailureSafety() {
        m_oFavorites.SetAppPath(m_oWorld.AppPath());
        m_oFavorites.SetDailyFolder("Daily");
        m_oCapture.SetRecentFolder(m_oWorld.RecentFolder());
        m_oCapture.SetFavorites(&m_oFavorites);
        m_oCapture.ShortcutFiled = [this](const CShortcut& oShortcut, bool bCounted) {
            m_vFiled.push_back(oShortcut.FileName() + (bCounted ? " counted" : " updated"));
        };
        m_oCapture.FilingFailed = [this](const std::string& sFile) {
            m_vFailed.push_back(fs::path(sFile).filename().string());
        };
    }

    std::string DataFile() const { return m_oWorld.AppPath() + "/Favorites.dat"; }
    void Poll(const CDateTime& dNow) {
        m_oWorld.Clock().SetNow(dNow);
        m_vFiled.clear();
        m_vFailed.clear();
        m_oCapture.GetShortcuts();
    }
    size_t Occurrences(const std::string& sText, const std::string& sPart) const {
        size_t nCount = 0;
        for (size_t n = sText.find(sPart); n != std::string::npos; n = sText.find(sPart, n + 1)) {
            ++nCount;
        }
        return nCount;
    }
    // The names in the program folder that a cut-off write would leave.
    std::vector<std::string> TemporaryFiles() const {
        std::vector<std::string> vNames;
        for (const auto& oEntry : fs::recursive_directory_iterator(m_oWorld.AppPath())) {
            const std::string sName = oEntry.path().filename().string();
            if (sName.find(".tmp-") != std::string::npos || sName.rfind(".filing-", 0) == 0) {
                vNames.push_back(sName);
            }
        }
        return vNames;
    }

    CProgramWorld m_oWorld;
    CFavorites m_oFavorites;
    CCapture m_oCapture;
    std::vector<std::string> m_vFiled;
    std::vector<std::string> m_vFailed;
};

TEST_F(FailureSafety, FavoritesWriteCutOffAtAnyByteKeepsThePreviousFile) {
    for (const char* pszName : {"Agenda", "Budget", "Contract", "Drawing"}) {
        m_oWorld.MakeRecentShortcut(std::string(pszName) + ".txt.lnk",
                                    "/home/ann/Docs/" + std::string(pszName) + ".txt", Jan5Morning);
    }
    m_oFavorites.Read();
    Poll(Jan5Noon);
    const std::string sOld = CTempFolder::ReadFile(DataFile());
    ASSERT_EQ(std::count(sOld.begin(), sOld.end(), '\n'), 4);
    // One more day of use for the first document, in memory only.
    CShortcut oShortcut;
    oShortcut.SetFile(m_oWorld.DailyPath() + "/1998/January/05/Agenda.txt.lnk");
    m_oFavorites.ProcessShortcut(oShortcut);
    std::string sNew;
    for (const FavoriteRecord& oRecord : m_oFavorites.GetFavorites()) {
        sNew += CFavoritesFile::FormatRecord(oRecord);
    }
    ASSERT_NE(sNew, sOld);

    for (size_t nRoom = 0; nRoom < sNew.size(); ++nRoom) {
        const size_t nLogged = Occurrences(m_oWorld.ErrorLog(), "CFavorites.Save");
        bool bSaved = true;
        {
            CFaultyFileSystem oFiles;
            oFiles.FailWritesAfter(nRoom);
            bSaved = m_oFavorites.Save();
        }
        ASSERT_FALSE(bSaved) << "room for " << nRoom << " of " << sNew.size() << " bytes";
        ASSERT_EQ(CTempFolder::ReadFile(DataFile()), sOld) << nRoom << " bytes";
        ASSERT_EQ(Occurrences(m_oWorld.ErrorLog(), "CFavorites.Save"), nLogged + 1) << nRoom;
        ASSERT_TRUE(TemporaryFiles().empty()) << nRoom;
    }
    EXPECT_NE(m_oWorld.ErrorLog().find("61-Disk full"), std::string::npos);
    CFavorites oReadBack;
    oReadBack.SetAppPath(m_oWorld.AppPath());
    oReadBack.SetDailyFolder("Daily");
    oReadBack.Read();
    ASSERT_EQ(oReadBack.Count(), 4);
    EXPECT_EQ(oReadBack.GetFavorites()[0].DaysAccessed, 1) << "the previous file";

    CFaultyFileSystem oFiles;
    oFiles.FailWritesAfter(sNew.size());
    EXPECT_TRUE(m_oFavorites.Save()) << "room for the whole file";
    EXPECT_EQ(CTempFolder::ReadFile(DataFile()), sNew);
}

// A Favorites.dat of lRecords records whose days are all iDays.
std::string StoreText(const std::string& sAppPath, int iRecords, int iDays) {
    std::string sText;
    for (int i = 0; i < iRecords; ++i) {
        FavoriteRecord oRecord;
        oRecord.DaysAccessed = iDays;
        oRecord.LastAccessed = Jan5Morning.AddSeconds(i);
        oRecord.File = sAppPath + "/Daily/1998/January/05/Document " + std::to_string(i) + ".lnk";
        oRecord.TargetFileName = "Document " + std::to_string(i) + ".odt";
        oRecord.WorkingDirectory = "/home/ann/Projects/Project " + std::to_string(i % 40);
        oRecord.TargetClass = "OpenDocument Text";
        oRecord.IconFile = "/usr/share/icons/hicolor/48x48/apps/writer.png";
        oRecord.IconIndex = i % 3;
        sText += CFavoritesFile::FormatRecord(oRecord);
    }
    return sText;
}

TEST_F(FailureSafety, SaveKilledAtRandomMomentsLeavesTheOldOrTheNewFileWhole) {
    constexpr int Records = 2000;
    constexpr int Kills = 200;
    // Two stores of the same documents that differ in every line, saved in turn to one file.
    const std::string sOther = m_oWorld.Temp() / "Other";
    fs::create_directories(sOther);
    const std::string sTextA = StoreText(m_oWorld.AppPath(), Records, 3);
    const std::string sTextB = StoreText(m_oWorld.AppPath(), Records, 4);
    m_oWorld.Temp().WriteFile("Other/Favorites.dat", sTextB);
    m_oWorld.Temp().WriteFile("Dayfold/Favorites.dat", sTextA);
    CFavorites& oStoreA = m_oFavorites;
    oStoreA.Read();
    CFavorites oStoreB;
    oStoreB.SetAppPath(sOther);
    oStoreB.SetDailyFolder("Daily");
    oStoreB.Read();
    oStoreB.SetAppPath(m_oWorld.AppPath());
    ASSERT_EQ(oStoreA.Count(), Records);
    ASSERT_EQ(oStoreB.Count(), Records);

    // Killed within the first few saves of each run, wherever they stand then.
    const auto tStart = std::chrono::steady_clock::now();
    ASSERT_TRUE(oStoreB.Save() && oStoreA.Save());
    const long lTwoSaves = static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                                 std::chrono::steady_clock::now() - tStart)
                                                 .count());
    const long lSpan = std::max(200L, lTwoSaves * 3 / 2);
    const unsigned int uSeed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(uSeed));
    std::mt19937 oRandom(uSeed);
    int iOld = 0;
    int iNew = 0;
    for (int iKill = 0; iKill < Kills; ++iKill) {
        const long lDelay = std::uniform_int_distribution<long>(0, lSpan)(oRandom);
        const pid_t iChild = fork();
        ASSERT_GE(iChild, 0);
        if (iChild == 0) {
            MKillTimer::ArmInChild(lDelay);
            for (int i = 0; i < 1000; ++i) {
                (i % 2 == 0 ? oStoreB : oStoreA).Save();
            }
            _exit(3);
        }
        int iStatus = 0;
        ASSERT_EQ(waitpid(iChild, &iStatus, 0), iChild);
        ASSERT_TRUE(WIFSIGNALED(iStatus) && WTERMSIG(iStatus) == SIGKILL) << iStatus;
        const std::string sText = CTempFolder::ReadFile(DataFile());
        ASSERT_TRUE(sText == sTextA || sText == sTextB)
            << "kill " << iKill << " after " << lDelay << " µs left " << sText.size() << " bytes";
        (sText == sTextA ? iOld : iNew) += 1;
    }
    EXPECT_GT(iOld, 0);
    EXPECT_GT(iNew, 0);
    // What reads it back gets every record, and clears what the killed saves left behind.
    CFavorites oReadBack;
    oReadBack.SetAppPath(m_oWorld.AppPath());
    oReadBack.SetDailyFolder("Daily");
    oReadBack.Read();
    EXPECT_EQ(oReadBack.Count(), Records);
    EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(FailureSafety, AFullRepositoryIsLoggedAndFiledOnceThereIsRoomAgain) {
    for (const char* pszName : {"Agenda", "Budget", "Contract"}) {
        m_oWorld.MakeRecentShortcut(std::string(pszName) + ".txt.lnk",
                                    "/home/ann/Docs/" + std::string(pszName) + ".txt", Jan5Morning);
    }
    fs::create_directories(m_oWorld.RecentFolder() + "/Sub folder");
    m_oWorld.Temp().WriteFile("Recent/notes.txt", "not a shortcut");
    const CFolderSnapshot oRecent =
        CFolderSnapshot::Take(m_oWorld.RecentFolder(), "", {}, /*bChangeTimes*/ true);
    m_oFavorites.Read();
    {
        CFaultyFileSystem oFiles;
        oFiles.SetFullFolder(m_oWorld.DailyPath());
        Poll(Jan5Noon);
        EXPECT_TRUE(m_vFiled.empty());
        EXPECT_EQ(m_vFailed, (std::vector<std::string>{"Agenda.txt.lnk", "Budget.txt.lnk",
                                                       "Contract.txt.lnk"}));
        EXPECT_EQ(Occurrences(m_oWorld.ErrorLog(), "61-Disk full"), 3U) << m_oWorld.ErrorLog();
        EXPECT_EQ(m_oFavorites.Count(), 0);
        // Room again: the next poll files what was missed, each once.
        oFiles.SetFullFolder("");
        Poll(Jan5Noon.AddSeconds(60));
        EXPECT_EQ(m_vFiled,
                  (std::vector<std::string>{"Agenda.txt.lnk counted", "Budget.txt.lnk counted",
                                            "Contract.txt.lnk counted"}));
        for (const std::string& sChanged : oFiles.ChangedPaths()) {
            EXPECT_NE(sChanged.rfind(m_oWorld.RecentFolder(), 0), 0U) << sChanged;
        }
    }
    EXPECT_TRUE(m_vFailed.empty());
    Poll(Jan5Noon.AddSeconds(120));
    EXPECT_TRUE(m_vFiled.empty());
    CFavorites oReadBack;
    oReadBack.SetAppPath(m_oWorld.AppPath());
    oReadBack.SetDailyFolder("Daily");
    oReadBack.Read();
    ASSERT_EQ(oReadBack.Count(), 3);
    for (const FavoriteRecord& oRecord : oReadBack.GetFavorites()) {
        EXPECT_EQ(oRecord.DaysAccessed, 1) << oRecord.TargetFileName;
    }
    EXPECT_TRUE(fs::exists(m_oWorld.DailyPath() + "/1998/January/05/Notepad.lnk"));
    EXPECT_FALSE(fs::exists(DataFile() + ".pending"));
    EXPECT_TRUE(TemporaryFiles().empty());
    // The Recent folder: the same names, bytes and times as before, nothing written to it.
    EXPECT_EQ(CFolderSnapshot::Take(m_oWorld.RecentFolder(), "", {}, true).Difference(oRecent), "");
}

} // namespace
