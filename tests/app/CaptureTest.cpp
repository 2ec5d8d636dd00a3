#include "app/CProgramWorld.h"
#include "app/core/MDayfold.h"
#include "app/repository/CCapture.h"
#include "app/repository/CShortcut.h"
#include "app/views/CFavorites.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Capture : public ::testing::Test {
protected:
    Capture() {
        m_oFavorites.SetAppPath(m_oWorld.AppPath());
        m_oFavorites.SetDailyFolder("Daily");
        m_oCapture.SetRecentFolder(m_oWorld.RecentFolder());
        m_oCapture.SetPurgeAge(30);
        m_oCapture.SetFavorites(&m_oFavorites);
        m_oCapture.ShortcutFiled = [this](const CShortcut& oShortcut, bool bCounted) {
            m_vFiled.push_back(oShortcut.FileName() + (bCounted ? " counted" : " updated"));
        };
    }

    std::string Daily(const std::string& sRest) const { return m_oWorld.DailyPath() + "/" + sRest; }
    // Polls at the given moment and returns what was filed.
    std::vector<std::string> Poll(const CDateTime& dNow) {
        m_oWorld.Clock().SetNow(dNow);
        m_vFiled.clear();
        m_oCapture.GetShortcuts();
        return m_vFiled;
    }

    CProgramWorld m_oWorld;
    CFavorites m_oFavorites;
    CCapture m_oCapture;
    std::vector<std::string> m_vFiled;
};

const CDateTime Jan5Morning = CDateTime::FromParts(1998, 1, 5, 9, 30, 0);
const CDateTime Jan5Noon = CDateTime::FromParts(1998, 1, 5, 12, 0, 0);
const CDateTime Jan5Evening = CDateTime::FromParts(1998, 1, 5, 18, 45, 0);
const CDateTime Jan7Morning = CDateTime::FromParts(1998, 1, 7, 8, 0, 0);

TEST_F(Capture, FilingFlowCountsOneDayPerDocumentAndDay) {
    const std::string sRecent =
        m_oWorld.MakeRecentShortcut("Report.txt.lnk", "/home/ann/Docs/Report.txt", Jan5Morning);

    // New document: copied with its time, program shortcut beside it, one day of use.
    EXPECT_EQ(Poll(Jan5Noon), std::vector<std::string>{"Report.txt.lnk counted"});
    const std::string sCopy = Daily("1998/January/05/Report.txt.lnk");
    ASSERT_TRUE(fs::exists(sCopy));
    EXPECT_EQ(CProgramWorld::Modified(sCopy), Jan5Morning);
    EXPECT_TRUE(fs::exists(Daily("1998/January/05/Notepad.lnk")));
    EXPECT_TRUE(m_oCapture.DailyChanged());
    ASSERT_EQ(m_oFavorites.Count(), 1);
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].DaysAccessed, 1);
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].File, sCopy);

    // The copy is current: nothing happens.
    m_oCapture.SetDailyChanged(false);
    EXPECT_TRUE(Poll(Jan5Noon.AddSeconds(60)).empty());
    EXPECT_FALSE(m_oCapture.DailyChanged());

    // Reopened the same day: copied again, no extra day.
    CProgramWorld::SetModified(sRecent, Jan5Evening);
    EXPECT_EQ(Poll(Jan5Evening.AddSeconds(30)), std::vector<std::string>{"Report.txt.lnk updated"});
    EXPECT_EQ(CProgramWorld::Modified(sCopy), Jan5Evening);
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].DaysAccessed, 1);

    // Reopened on a later day: a new day folder and one more day.
    CProgramWorld::SetModified(sRecent, Jan7Morning);
    EXPECT_EQ(Poll(Jan7Morning.AddSeconds(30)), std::vector<std::string>{"Report.txt.lnk counted"});
    EXPECT_TRUE(fs::exists(Daily("1998/January/07/Report.txt.lnk")));
    ASSERT_EQ(m_oFavorites.Count(), 1) << "the document keeps one record";
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].DaysAccessed, 2);
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].LastAccessed, Jan7Morning);
}

TEST_F(Capture, ShortcutsOlderThanThePurgeAgeAreNeverFiled) {
    m_oWorld.MakeRecentShortcut("old.txt.lnk", "/home/ann/old.txt",
                                Jan5Noon.AddDays(-30).AddSeconds(-1));
    m_oWorld.MakeRecentShortcut("recent.txt.lnk", "/home/ann/recent.txt",
                                Jan5Noon.AddDays(-30).AddSeconds(1));
    EXPECT_EQ(Poll(Jan5Noon), std::vector<std::string>{"recent.txt.lnk counted"});
    EXPECT_FALSE(fs::exists(Daily("1997/December/06/old.txt.lnk")));
}

TEST_F(Capture, EmptyRecentFolderChangesNothing) {
    EXPECT_TRUE(Poll(Jan5Noon).empty());
    EXPECT_FALSE(m_oCapture.DailyChanged());
    EXPECT_EQ(m_oFavorites.Count(), 0);
}

TEST_F(Capture, BadShortcutsAreSkippedOneByOne) {
    m_oWorld.Temp().WriteFile("Recent/damaged.lnk", std::string("L\0\0\0garbage", 11));
    m_oWorld.Temp().WriteFile("Recent/notes.txt", "not a shortcut at all");
    fs::create_directories(m_oWorld.RecentFolder() + "/folder.lnk");
    const std::vector<std::string> vNames = {"a, b.txt.lnk", "say \"hi\".txt.lnk",
                                             "Übersicht März.txt.lnk", ".hidden.lnk"};
    for (const std::string& sName : vNames) {
        m_oWorld.MakeRecentShortcut(sName, "/home/ann/" + sName.substr(0, sName.size() - 4),
                                    Jan5Morning);
    }
    CProgramWorld::SetModified(
        m_oWorld.Temp().WriteFile("Recent/damaged.lnk", std::string("L\0\0\0garbage", 11)),
        Jan5Morning);
    const std::vector<std::string> vFiled = Poll(Jan5Noon);
    EXPECT_EQ(vFiled,
              (std::vector<std::string>{"a, b.txt.lnk counted", "say \"hi\".txt.lnk counted",
                                        "Übersicht März.txt.lnk counted"}));
    EXPECT_FALSE(fs::exists(Daily("1998/January/05/damaged.lnk")));
    EXPECT_NE(m_oWorld.ErrorLog().find("CShortcut.File"), std::string::npos);
    EXPECT_EQ(m_oFavorites.Count(), 3);
}

TEST_F(Capture, ACopyThatCannotBeMadeSkipsOnlyThatShortcut) {
    m_oWorld.MakeRecentShortcut("a.txt.lnk", "/home/ann/a.txt", Jan5Morning);
    m_oWorld.MakeRecentShortcut("b.txt.lnk", "/home/ann/b.txt", Jan5Morning);
    // A folder stands where the copy of a.txt.lnk would go.
    fs::create_directories(Daily("1998/January/05/a.txt.lnk"));
    EXPECT_EQ(Poll(Jan5Noon), std::vector<std::string>{"b.txt.lnk counted"});
    EXPECT_NE(m_oWorld.ErrorLog().find("FMain.ProcessShortcut"), std::string::npos);
    EXPECT_EQ(m_oFavorites.Count(), 1);
    EXPECT_TRUE(fs::is_directory(Daily("1998/January/05/a.txt.lnk"))) << "nothing overwritten";
}

TEST_F(Capture, VanishedDailyFolderIsMadeAgain) {
    m_oWorld.MakeRecentShortcut("a.txt.lnk", "/home/ann/a.txt", Jan5Morning);
    fs::remove_all(m_oWorld.DailyPath());
    EXPECT_EQ(Poll(Jan5Noon), std::vector<std::string>{"a.txt.lnk counted"});
    EXPECT_TRUE(fs::exists(Daily("1998/January/05/a.txt.lnk")));
}

TEST_F(Capture, RecentFolderIsOnlyRead) {
    const std::string sRecent =
        m_oWorld.MakeRecentShortcut("a.txt.lnk", "/home/ann/a.txt", Jan5Morning);
    Poll(Jan5Noon);
    EXPECT_EQ(CProgramWorld::Modified(sRecent), Jan5Morning);
    EXPECT_EQ(
        std::distance(fs::directory_iterator(m_oWorld.RecentFolder()), fs::directory_iterator()),
        1);
}

TEST_F(Capture, RebuildGivesTheCountsOfTheFilingFlow) {
    const std::string sReport =
        m_oWorld.MakeRecentShortcut("Report.txt.lnk", "/home/ann/Docs/Report.txt", Jan5Morning);
    m_oWorld.MakeRecentShortcut("Memo.txt.lnk", "/home/ann/Memo.txt", Jan5Morning, "/home/ann");
    Poll(Jan5Noon);
    CProgramWorld::SetModified(sReport, Jan7Morning);
    Poll(Jan7Morning.AddSeconds(30));
    const std::vector<FavoriteRecord> vFiled = m_oFavorites.GetFavorites();

    CFavorites oRebuilt;
    oRebuilt.SetAppPath(m_oWorld.AppPath());
    oRebuilt.SetDailyFolder("Daily");
    oRebuilt.RebuildFavorites();
    // The rebuild also counts the program shortcuts beside the documents.
    std::vector<FavoriteRecord> vDocuments;
    int iProgramDays = 0;
    for (const FavoriteRecord& oRecord : oRebuilt.GetFavorites()) {
        if (oRecord.TargetFileName == "notepad") {
            iProgramDays = oRecord.DaysAccessed;
        } else {
            vDocuments.push_back(oRecord);
        }
    }
    EXPECT_EQ(iProgramDays, 2);
    ASSERT_EQ(vDocuments.size(), vFiled.size());
    for (const FavoriteRecord& oFiled : vFiled) {
        const auto it = std::find_if(vDocuments.begin(), vDocuments.end(), [&](const auto& o) {
            return o.TargetFileName == oFiled.TargetFileName;
        });
        ASSERT_NE(it, vDocuments.end()) << oFiled.TargetFileName;
        EXPECT_EQ(it->DaysAccessed, oFiled.DaysAccessed);
        EXPECT_EQ(it->LastAccessed, oFiled.LastAccessed);
        EXPECT_EQ(it->WorkingDirectory, oFiled.WorkingDirectory);
    }
}

TEST_F(Capture, CaptureOnceFilesSavesAndSummarises) {
    m_oWorld.MakeRecentShortcut("Report.txt.lnk", "/home/ann/Docs/Report.txt", Jan5Morning);
    m_oWorld.Clock().SetNow(Jan5Noon);
    std::ostringstream oOut;
    EXPECT_EQ(MDayfold::CaptureOnce(m_oWorld.RecentFolder(), oOut), 0);
    EXPECT_EQ(oOut.str(), "filed   1998/January/05/Report.txt.lnk\n1 shortcut filed from " +
                              m_oWorld.RecentFolder() +
                              " (1 new day of use); 1 documents in Favorites.dat\n");
    const std::string sData = CTempFolder::ReadFile(m_oWorld.AppPath() + "/Favorites.dat");
    EXPECT_EQ(sData.rfind("1,#1998-01-05 09:30:00#,\"" + m_oWorld.DailyPath() +
                              "/1998/January/05/Report.txt.lnk\",\"Report.txt\"",
                          0),
              0U)
        << sData;

    std::ostringstream oAgain;
    EXPECT_EQ(MDayfold::CaptureOnce(m_oWorld.RecentFolder(), oAgain), 0);
    EXPECT_EQ(oAgain.str(), "0 shortcuts filed from " + m_oWorld.RecentFolder() +
                                " (0 new days of use); 1 documents in Favorites.dat\n");
}

} // namespace
