#include "app/CProgramWorld.h"
#include "app/core/MDayfold.h"
#include "app/repository/CRepository.h"
#include "app/repository/DirectoryWalker.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class Repository : public ::testing::Test {
protected:
    // Makes Daily/<sDay> (e.g. "1998/March/17") with the given files in it.
    std::string MakeDay(const std::string& sDay, std::initializer_list<const char*> lFiles = {}) {
        const std::string sFolder = m_oWorld.DailyPath() + "/" + sDay;
        fs::create_directories(sFolder);
        for (const char* pszName : lFiles) {
            m_oWorld.Temp().WriteFile(fs::relative(sFolder + "/" + pszName, m_oWorld.Temp().Path()),
                                      "x");
        }
        return sFolder;
    }
    bool Exists(const std::string& sDay) const {
        return fs::exists(m_oWorld.DailyPath() + "/" + sDay);
    }

    CProgramWorld m_oWorld;
};

TEST_F(Repository, WalkerReportsParentsBeforeChildrenAndSkipsHiddenNames) {
    MakeDay("1998/March/17", {"a.lnk", ".hidden.lnk"});
    MakeDay("1998/March/.trash");
    MakeDay("1997/May/02", {"b.LNK", "c.txt"});
    std::vector<std::string> vFolders;
    DirectoryWalker oWalker;
    oWalker.ItemFound = [&](const std::string& sPath, const std::string& sName, bool&) {
        vFolders.push_back(fs::relative(sPath + sName, m_oWorld.DailyPath()).string());
    };
    oWalker.WalkDirectoryTree(m_oWorld.DailyPath() + "/", "*.*", DirectoryWalker::ReportFolders);
    EXPECT_EQ(vFolders, (std::vector<std::string>{"1997", "1998", "1997/May", "1997/May/02",
                                                  "1998/March", "1998/March/17"}));

    std::vector<std::string> vFiles;
    oWalker.ItemFound = [&](const std::string&, const std::string& sName, bool&) {
        vFiles.push_back(sName);
    };
    oWalker.WalkDirectoryTree(m_oWorld.DailyPath() + "/", "*.lnk");
    EXPECT_EQ(vFiles, (std::vector<std::string>{"b.LNK", "a.lnk"}));
}

TEST_F(Repository, CancelInANestedFolderEndsTheWholeWalk) {
    MakeDay("1997/May/02", {"a.lnk", "b.lnk"});
    MakeDay("1998/March/17", {"c.lnk"});
    int iFound = 0;
    DirectoryWalker oWalker;
    oWalker.ItemFound = [&](const std::string&, const std::string&, bool& bCancel) {
        ++iFound;
        bCancel = true;
    };
    oWalker.WalkDirectoryTree(m_oWorld.DailyPath() + "/", "*.lnk");
    EXPECT_EQ(iFound, 1);
    // The walker can be used again: the stop request is reset, and the next walk finds all.
    oWalker.ItemFound = [&](const std::string&, const std::string&, bool&) { ++iFound; };
    oWalker.WalkDirectoryTree(m_oWorld.DailyPath() + "/", "*.lnk");
    EXPECT_EQ(iFound, 1 + 3);
}

TEST_F(Repository, PathToDateReadsDayFoldersAndRefusesOthers) {
    EXPECT_EQ(MDayfold::PathToDate(m_oWorld.DailyPath() + "/1998/March/17"),
              CDateTime::FromParts(1998, 3, 17));
    EXPECT_EQ(MDayfold::PathToDate("C:\\Data\\Daily\\1998\\January\\05"),
              CDateTime::FromParts(1998, 1, 5));
    EXPECT_TRUE(MDayfold::PathToDate(m_oWorld.DailyPath() + "/1998/Marzo/17").IsEmpty());
    EXPECT_TRUE(MDayfold::PathToDate(m_oWorld.DailyPath() + "/1998/February/30").IsEmpty());
    EXPECT_TRUE(MDayfold::PathToDate("17").IsEmpty());
    EXPECT_TRUE(MDayfold::PathToDate("").IsEmpty());
    EXPECT_NE(m_oWorld.ErrorLog().find("MDayfold.PathToDate"), std::string::npos);
    EXPECT_NE(m_oWorld.EventLog().find("MDayfold.PathToDate: Path is missing"), std::string::npos);
}

TEST_F(Repository, LatestDayIgnoresFutureYearsAndOddEntries) {
    CRepository& oRepository = MDayfold::Repository();
    EXPECT_TRUE(oRepository.FindLatestDay().IsEmpty()) << "an empty Daily folder";
    MakeDay("1997/December/31");
    MakeDay("1998/January/05");
    MakeDay("1998/March/05");
    MakeDay("1998/March/17");
    MakeDay("1999/January/01");
    m_oWorld.Temp().WriteFile("Dayfold/Daily/1998/March/20", "a file, not a day");
    m_oWorld.Temp().WriteFile("Dayfold/Daily/2000", "a file, not a year");
    MakeDay("1998/March/odd");
    EXPECT_EQ(oRepository.FindLatestDay(), CDateTime::FromParts(1998, 3, 17));

    m_oWorld.Clock().SetNow(CDateTime::FromParts(1997, 12, 31, 23, 0, 0));
    EXPECT_EQ(oRepository.FindLatestDay(), CDateTime::FromParts(1997, 12, 31));

    fs::remove_all(m_oWorld.DailyPath());
    EXPECT_TRUE(oRepository.FindLatestDay().IsEmpty()) << "no Daily folder at all";
}

TEST_F(Repository, PurgeRemovesDaysUpToTheCutOffAfterOneQuestion) {
    // 15 March 1998 10:00 with purge age 30: the cut-off is 12 February 1998 10:00.
    MakeDay("1998/February/11", {"a.lnk", "Notepad.lnk"});
    MakeDay("1998/February/12", {"b.lnk"});
    MakeDay("1998/February/13", {"c.lnk"});
    m_oWorld.Presenter().SetNextAnswer(6);
    CRepository& oRepository = MDayfold::Repository();
    EXPECT_TRUE(oRepository.PurgeOldShortcuts(30));
    EXPECT_FALSE(Exists("1998/February/11"));
    EXPECT_FALSE(Exists("1998/February/12"));
    EXPECT_TRUE(Exists("1998/February/13/c.lnk"));
    ASSERT_EQ(m_oWorld.Presenter().Shown().size(), 1U);
    EXPECT_EQ(m_oWorld.Presenter().Shown()[0].sText,
              "There are shortcuts to programs and documents\r\nthat you accessed prior to "
              "2/12/1998.\r\n\r\nDo you want to remove these shortcuts from Dayfold?\r\n(The "
              "programs and documents will NOT be deleted.)");
    EXPECT_EQ(m_oWorld.Presenter().Shown()[0].sCaption, "Dayfold");
    EXPECT_EQ(m_oWorld.Presenter().Shown()[0].iStyle, 4 + 64);

    // Empty month and year folders go in the later passes.
    EXPECT_FALSE(oRepository.PurgeEmptyFolders());
}

TEST_F(Repository, NoStopsTheWalkAndIsNotAskedAgainThisRun) {
    MakeDay("1997/May/02", {"a.lnk"});
    MakeDay("1998/January/05", {"b.lnk"});
    m_oWorld.Presenter().SetNextAnswer(7);
    CRepository& oRepository = MDayfold::Repository();
    EXPECT_FALSE(oRepository.PurgeOldShortcuts(30));
    EXPECT_TRUE(Exists("1997/May/02/a.lnk"));
    EXPECT_TRUE(Exists("1998/January/05/b.lnk"));
    EXPECT_FALSE(oRepository.PurgeOldShortcuts(30));
    EXPECT_EQ(m_oWorld.Presenter().Shown().size(), 1U);
}

TEST_F(Repository, NothingOldAsksNothing) {
    MakeDay("1998/March/14", {"a.lnk"});
    EXPECT_FALSE(MDayfold::Repository().PurgeOldShortcuts(30));
    EXPECT_TRUE(m_oWorld.Presenter().Shown().empty());
}

TEST_F(Repository, PurgeDayDeletesOnlyInsideTheRepository) {
    const std::string sOutside = m_oWorld.Temp().WriteFile("Elsewhere/17/keep.lnk", "x");
    MDayfold::Repository().PurgeDay(m_oWorld.Temp() / "Elsewhere/17");
    MDayfold::Repository().PurgeDay(m_oWorld.DailyPath() + "/../../Elsewhere/17");
    EXPECT_TRUE(fs::exists(sOutside));
    EXPECT_NE(m_oWorld.ErrorLog().find("CRepository.PurgeDay"), std::string::npos);

    // A sub-folder inside a day is not deleted, so the day folder stays too.
    const std::string sDay = MakeDay("1998/March/17", {"a.lnk"});
    fs::create_directories(sDay + "/nested");
    m_oWorld.Temp().WriteFile("Dayfold/Daily/1998/March/17/nested/keep.txt", "x");
    MDayfold::Repository().PurgeDay(sDay);
    EXPECT_FALSE(fs::exists(sDay + "/a.lnk"));
    EXPECT_TRUE(fs::exists(sDay + "/nested/keep.txt"));
}

TEST_F(Repository, CensusRemovesEmptyDaysMonthsAndYearsOnly) {
    MakeDay("1997/May/02");                     // empty day: day, month and year go
    MakeDay("1998/March/17", {"a.lnk"});        // stays
    MakeDay("1998/March/18", {"notes.txt"});    // no shortcut but not empty: stays
    MakeDay("1998/April");                      // month without days goes
    MakeDay("12");                              // a day-like folder under Daily goes
    MakeDay("1998/odd-but-full/05", {"b.lnk"}); // stays
    EXPECT_TRUE(MDayfold::Repository().PurgeEmptyFolders());
    EXPECT_FALSE(Exists("1997"));
    EXPECT_FALSE(Exists("1998/April"));
    EXPECT_FALSE(Exists("12"));
    EXPECT_TRUE(Exists("1998/March/17/a.lnk"));
    EXPECT_TRUE(Exists("1998/March/18/notes.txt"));
    EXPECT_TRUE(Exists("1998/odd-but-full/05/b.lnk"));
    // The failed removal of the day with a foreign file was logged; the rest went on.
    EXPECT_NE(m_oWorld.ErrorLog().find("CRepository.PurgeEmptyFolders"), std::string::npos);
    EXPECT_FALSE(MDayfold::Repository().PurgeEmptyFolders()) << "nothing more to remove";
}

TEST_F(Repository, CensusRemovesCopiesCutOffAndFoldsTheShortcutEnding) {
    MakeDay("1998/March/17", {".filing-a1B2c3"});          // only a copy cut off: goes
    MakeDay("1998/March/18", {"a.lnk", ".filing-Zz9Yy8"}); // the day stays, the copy goes
    MakeDay("1998/March/19", {".filing-other"});           // not ours: the day stays
    MakeDay("1998/March/20", {"Report.ln\u212a"});         // ends in ".lnk" when folded
    EXPECT_TRUE(MDayfold::Repository().PurgeEmptyFolders());
    EXPECT_FALSE(Exists("1998/March/17"));
    EXPECT_TRUE(Exists("1998/March/18/a.lnk"));
    EXPECT_FALSE(Exists("1998/March/18/.filing-Zz9Yy8"));
    EXPECT_TRUE(Exists("1998/March/19/.filing-other"));
    EXPECT_TRUE(Exists("1998/March/20"));
    const std::string sLog = m_oWorld.ErrorLog();
    EXPECT_EQ(sLog.find("March/20"), std::string::npos) << "counted as a shortcut: " << sLog;
    EXPECT_NE(sLog.find("March/19"), std::string::npos) << "not removable, and logged";
}

TEST_F(Repository, CensusSurvivesFilesWhereFoldersBelong) {
    m_oWorld.Temp().WriteFile("Dayfold/Daily/1998", "a file named like a year");
    m_oWorld.Temp().WriteFile("Dayfold/Daily/stray.lnk", "a shortcut outside any day");
    MakeDay("1999/June/01", {"a.lnk"});
    EXPECT_FALSE(MDayfold::Repository().PurgeEmptyFolders());
    EXPECT_TRUE(Exists("1998"));
    EXPECT_TRUE(Exists("1999/June/01/a.lnk"));
}

} // namespace
