#include "app/journal/CDayCounts.h"
#include "app/journal/CJournalScan.h"
#include "app/journal/CJournalWorld.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace fs = std::filesystem;

namespace {
CDateTime At(int iMonth, int iDay, int iHour = 10) {
    return CDateTime::FromParts(1998, iMonth, iDay, iHour, 0, 0);
}
} // namespace

TEST(DayCounts, ProgramShortcutNamesAreTheCapitalisedProgramNames) {
    for (const char* psz : {"Notepad.exe.lnk", "Gedit.lnk", "Libreoffice.lnk", "Xdg-open.lnk",
                            "7z.lnk", "Gedit.LNK"}) {
        EXPECT_TRUE(CDayCounts::IsProgramShortcutName(psz)) << psz;
    }
    for (const char* psz :
         {"Report.txt.lnk", "report.lnk", "README.lnk", "Notepad.Exe.lnk", "gedit.lnk",
          "Photo.JPG.lnk", "Budget 2024.ods.lnk", ".lnk", "Winword.EXE.lnk"}) {
        EXPECT_FALSE(CDayCounts::IsProgramShortcutName(psz)) << psz;
    }
    // The names the capture gives program shortcuts pass the rule.
    for (const char* psz : {"/usr/bin/gedit", "C:\\WINDOWS\\NOTEPAD.EXE", "/opt/App/bin/MyApp"}) {
        const std::string sName = CJournalScan::ProgramName(CJournalScan::NameOf(psz)) + ".lnk";
        EXPECT_TRUE(CDayCounts::IsProgramShortcutName(sName)) << sName;
    }
}

TEST(DayCounts, CountsTheDocumentsOfEachDayNotTheProgramShortcutsBesideThem) {
    CJournalWorld oWorld;
    for (const char* psz : {"Report.txt", "notes.txt", "Budget.TXT", "README"}) {
        oWorld.File(psz, std::string("/home/ann/") + psz, At(3, 2));
    }
    oWorld.File("Plan.txt", "/home/ann/Plan.txt", At(3, 4));
    const std::string sDay2 = oWorld.DayFolder(At(3, 2));
    ASSERT_TRUE(fs::exists(sDay2 + "/Notepad.lnk"));
    // Names alone decide: a Windows program shortcut, a file of another kind, a filing's
    // temporary copy, a folder.
    oWorld.Temp().WriteFile("Dayfold/Daily/1998/March/02/Winword.exe.lnk", "");
    oWorld.Temp().WriteFile("Dayfold/Daily/1998/March/02/Report.txt", "");
    oWorld.Temp().WriteFile("Dayfold/Daily/1998/March/02/.filing-a1B2c3", "");
    fs::create_directories(sDay2 + "/Sub.lnk");
    // A day of program shortcuts only had a document once.
    oWorld.Temp().WriteFile("Dayfold/Daily/1998/March/06/Gedit.lnk", "");

    CDayCounts oCounts(oWorld.DailyPath());
    oCounts.Count(At(3, 1, 23), At(3, 7, 1));
    EXPECT_EQ(oCounts.From(), At(3, 1, 0));
    EXPECT_EQ(oCounts.Counts(), (std::vector<std::int32_t>{0, 4, 0, 1, 0, 1, 0}));
    EXPECT_EQ(oCounts.Item(At(3, 2)), 4);
    EXPECT_EQ(oCounts.Item(At(3, 8)), 0);
    EXPECT_EQ(oCounts.Maximum(), 4);
    EXPECT_EQ(oCounts.Total(), 6);

    // The listing agrees with what reading every shortcut finds.
    std::map<std::int32_t, int> colRead;
    CJournalScan oScan(oWorld.DailyPath());
    oScan.CopyFound = [&](const SJournalCopy& oCopy) {
        ++colRead[CJournalScan::DayNumber(oCopy.dDay)];
    };
    oScan.Scan();
    EXPECT_EQ(colRead[CJournalScan::DayNumber(At(3, 2))], 4);
    EXPECT_EQ(colRead[CJournalScan::DayNumber(At(3, 4))], 1);
}

TEST(DayCounts, OnlyDaysOfTheSpanAndOfTheRepositoryLayoutCount) {
    CJournalWorld oWorld;
    oWorld.PutCopy("Last of February.txt", "/a/x.txt", At(2, 28));
    oWorld.PutCopy("First of March.txt", "/a/y.txt", At(3, 1));
    oWorld.PutCopy("Next year.txt", "/a/z.txt", CDateTime::FromParts(1999, 1, 1, 9, 0, 0));
    // Not days of the repository: a month in another language, a day the month does not have,
    // a three-digit day.
    oWorld.Temp().WriteFile("Dayfold/Daily/1998/Mars/02/a.txt.lnk", "");
    oWorld.Temp().WriteFile("Dayfold/Daily/1998/February/30/a.txt.lnk", "");
    oWorld.Temp().WriteFile("Dayfold/Daily/1998/March/002/a.txt.lnk", "");

    CDayCounts oCounts(oWorld.DailyPath());
    oCounts.Count(At(2, 27), At(3, 2));
    EXPECT_EQ(oCounts.Counts(), (std::vector<std::int32_t>{0, 1, 1, 0}));
    oCounts.Count(CDateTime::FromParts(1998, 12, 31), CDateTime::FromParts(1999, 1, 1));
    EXPECT_EQ(oCounts.Counts(), (std::vector<std::int32_t>{0, 1}));
    oCounts.Count(At(3, 2), At(3, 1));
    EXPECT_TRUE(oCounts.Counts().empty());
    EXPECT_EQ(oCounts.Item(At(3, 1)), 0);

    CDayCounts oNoRepository(oWorld.AppPath() + "/Nowhere");
    oNoRepository.Count(At(1, 1), At(12, 31));
    EXPECT_EQ(oNoRepository.Counts().size(), 365U);
    EXPECT_EQ(oNoRepository.Total(), 0);
}

TEST(DayCounts, CountingAgainSeesEveryChangeOfADayFolder) {
    CJournalWorld oWorld;
    oWorld.PutCopy("a.txt", "/a/a.txt", At(3, 2));
    oWorld.PutCopy("b.txt", "/a/b.txt", At(3, 2));
    oWorld.PutCopy("c.txt", "/a/c.txt", At(3, 3));
    CDayCounts oCounts(oWorld.DailyPath());
    oCounts.Count(At(3, 1), At(3, 4));
    EXPECT_EQ(oCounts.Counts(), (std::vector<std::int32_t>{0, 2, 1, 0}));

    oWorld.PutCopy("d.txt", "/a/d.txt", At(3, 2));
    fs::remove(oWorld.DayFolder(At(3, 3)) + "/c.txt.lnk");
    oWorld.PutCopy("e.txt", "/a/e.txt", At(3, 4));
    oCounts.Count(At(3, 1), At(3, 4));
    EXPECT_EQ(oCounts.Counts(), (std::vector<std::int32_t>{0, 3, 0, 1}));

    // A day folder removed and made again holds what the new one holds.
    fs::remove_all(oWorld.DayFolder(At(3, 2)));
    oWorld.PutCopy("f.txt", "/a/f.txt", At(3, 2));
    oCounts.Count(At(3, 1), At(3, 4));
    EXPECT_EQ(oCounts.Counts(), (std::vector<std::int32_t>{0, 1, 0, 1}));
}
