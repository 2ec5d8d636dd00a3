#include "app/CProgramWorld.h"
#include "app/core/MDayfold.h"
#include "app/repository/CShortcut.h"
#include "app/views/CFavorites.h"
#include "app/views/CFavoritesFile.h"
#include "commonlibrary/Library.h"

#include "platform/shell/MFileRead.h"
#include "support/MUnprivileged.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

FavoriteRecord Example() {
    FavoriteRecord oRecord;
    oRecord.DaysAccessed = 3;
    oRecord.LastAccessed = CDateTime::FromParts(1998, 3, 15, 14, 2, 10);
    oRecord.File = "C:\\Data\\Daily\\1998\\March\\15\\Report.txt.lnk";
    oRecord.TargetFileName = "Report.txt";
    oRecord.WorkingDirectory = "c:\\docs";
    oRecord.TargetClass = "Text Document";
    oRecord.IconFile = "C:\\WINDOWS\\NOTEPAD.EXE";
    oRecord.IconIndex = 0;
    return oRecord;
}

const char* const ExampleLine = "3,#1998-03-15 14:02:10#,\"C:\\Data\\Daily\\1998\\March\\15\\"
                                "Report.txt.lnk\",\"Report.txt\",\"c:\\docs\",\"Text Document\","
                                "\"C:\\WINDOWS\\NOTEPAD.EXE\",0\r\n";

std::vector<FavoriteRecord> ParseClean(const std::string& sText) {
    return CFavoritesFile::Parse(sText, [](int iLine, const std::string& sWhy) {
        ADD_FAILURE() << "line " << iLine << ": " << sWhy;
    });
}

TEST(FavoritesFile, WritesTheExampleLineByteForByte) {
    EXPECT_EQ(CFavoritesFile::FormatRecord(Example()), ExampleLine);
    EXPECT_EQ(CFavoritesFile::FormatDate(CDateTime::FromParts(1998, 3, 15)), "#1998-03-15#");
    EXPECT_EQ(CFavoritesFile::FormatDate(CDateTime().AddSeconds(3723)), "#01:02:03#");
}

TEST(FavoritesFile, ReadsWhatItWritesAndWhatOlderFilesHold) {
    FavoriteRecord oHostile = Example();
    oHostile.DaysAccessed = 1;
    oHostile.LastAccessed = CDateTime::FromParts(2026, 12, 8);
    oHostile.TargetFileName = "say \"hi\", \"\"twice\"\".txt";
    oHostile.WorkingDirectory = "/home/ann/a,b/Über \"quoted\"";
    oHostile.TargetClass = "";
    oHostile.IconFile = "\"";
    oHostile.IconIndex = -7;
    // A time on the empty date is written as the time alone.
    FavoriteRecord oTimeOnly = Example();
    oTimeOnly.LastAccessed = CDateTime().AddSeconds(14897);
    const std::string sText = CFavoritesFile::FormatRecord(Example()) +
                              CFavoritesFile::FormatRecord(oHostile) +
                              CFavoritesFile::FormatRecord(oTimeOnly);
    EXPECT_EQ(ParseClean(sText), (std::vector<FavoriteRecord>{Example(), oHostile, oTimeOnly}));

    // An older writer did not double quotes; blanks before values and LF line ends.
    const std::vector<FavoriteRecord> vOld =
        ParseClean("2, #1998-03-15#, \"C:\\a.lnk\",\"say \"hi\" now\",\"c:\\x\",\"\",\"\",1\n\r\n");
    ASSERT_EQ(vOld.size(), 1U);
    EXPECT_EQ(vOld[0].TargetFileName, "say \"hi\" now");
    EXPECT_EQ(vOld[0].LastAccessed, CDateTime::FromParts(1998, 3, 15));
    EXPECT_EQ(vOld[0].IconIndex, 1);
}

TEST(FavoritesFile, ADamagedLineLosesOnlyItsOwnRecord) {
    const std::string sGood = ExampleLine;
    const std::vector<std::string> vDamaged = {
        "x,#1998-03-15#,\"a\",\"b\",\"c\",\"d\",\"e\",0\r\n",   // not a number
        "1,#1998-02-30#,\"a\",\"b\",\"c\",\"d\",\"e\",0\r\n",   // no such date
        "1,#1998-03-15#,\"a\",\"b\r\n",                         // cut short
        "1,#1998-03-15#,\"a\",\"b\",\"c\",\"d\",\"e\",0,9\r\n", // a ninth field
        "1,#1998-03-15#,\"a\",\"b\",\"c\",\"d\",\"e\r\n",       // open quote at line end
        "1,#1998-03-15,\"a\",\"b\",\"c\",\"d\",\"e\",0\r\n",    // date without its closing #
        "1,#1998-03-15 10:00:00\r\n",                           // date cut off at the line end
    };
    for (const std::string& sBad : vDamaged) {
        std::vector<int> vLines;
        const auto vRecords = CFavoritesFile::Parse(
            sGood + sBad + sGood, [&](int iLine, const std::string&) { vLines.push_back(iLine); });
        EXPECT_EQ(vRecords, (std::vector<FavoriteRecord>{Example(), Example()})) << sBad;
        EXPECT_EQ(vLines, std::vector<int>{2}) << sBad;
    }
    // Lines that end in a carriage return alone, as some editors write them: the damage ends
    // at the line's end all the same.
    std::string sGoodCr = sGood;
    sGoodCr.pop_back();
    const auto vRecords = CFavoritesFile::Parse(sGoodCr + "x,#1998-03-15#,\"a\"\r" + sGoodCr,
                                                [](int, const std::string&) {});
    EXPECT_EQ(vRecords, (std::vector<FavoriteRecord>{Example(), Example()}));
}

TEST(FavoritesFile, DamagedLinesAreNumberedRightWhereverTheyLie) {
    const std::string sGood = ExampleLine;
    const std::string sText = "x\r\n" + sGood + sGood + "1,#1998\r\n\r\n" + sGood + "y\r\nz";
    std::vector<int> vLines;
    const auto vRecords = CFavoritesFile::Parse(
        sText, [&](int iLine, const std::string&) { vLines.push_back(iLine); });
    EXPECT_EQ(vRecords.size(), 3U);
    EXPECT_EQ(vLines, (std::vector<int>{1, 4, 7, 8}));
}

class Favorites : public ::testing::Test {
protected:
    Favorites() {
        m_oFavorites.SetAppPath(m_oWorld.AppPath());
        m_oFavorites.SetDailyFolder("Daily");
    }
    std::string DataFile() const { return m_oWorld.AppPath() + "/Favorites.dat"; }

    CProgramWorld m_oWorld;
    CFavorites m_oFavorites;
};

TEST_F(Favorites, SaveThenReadKeepsRecordsAndOrder) {
    m_oWorld.Temp().WriteFile("Dayfold/Favorites.dat", std::string(ExampleLine) + ExampleLine);
    m_oFavorites.Read();
    ASSERT_EQ(m_oFavorites.Count(), 2);
    fs::remove(DataFile());
    m_oFavorites.Save();
    EXPECT_EQ(CTempFolder::ReadFile(DataFile()), std::string(ExampleLine) + ExampleLine);
    for (const auto& oEntry : fs::directory_iterator(m_oWorld.AppPath())) {
        EXPECT_EQ(oEntry.path().filename().string().find(".tmp"), std::string::npos)
            << "no temporary file is left";
    }
}

TEST_F(Favorites, AnEmptyStoreLeavesTheOldFileAlone) {
    m_oWorld.Temp().WriteFile("Dayfold/Favorites.dat", ExampleLine);
    m_oFavorites.RebuildFavorites(); // an empty repository
    EXPECT_EQ(m_oFavorites.Count(), 0);
    m_oFavorites.Save();
    EXPECT_EQ(CTempFolder::ReadFile(DataFile()), ExampleLine);
}

TEST_F(Favorites, ReadWithoutAFileRebuildsFromTheRepository) {
    const std::string sDay = m_oWorld.DailyPath() + "/1998/March/15";
    fs::create_directories(sDay);
    CProgramWorld::MakeShortcut(sDay + "/Report.txt.lnk", "/home/ann/Report.txt");
    m_oFavorites.Read();
    ASSERT_EQ(m_oFavorites.Count(), 1);
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].TargetFileName, "Report.txt");
    EXPECT_FALSE(fs::exists(DataFile())) << "the file appears only when saved";
}

TEST_F(Favorites, DamagedReadsKeepStampedBackupsOfWhichTheLatestFive) {
    std::vector<std::string> vDamaged;
    for (int i = 0; i < 7; ++i) {
        vDamaged.push_back(std::string(ExampleLine) + "garbage " + std::to_string(i) + "\r\n");
        m_oWorld.Temp().WriteFile("Dayfold/Favorites.dat", vDamaged.back());
        m_oWorld.Clock().SetNow(CDateTime::FromParts(1998, 3, 15, 10, i / 2, 0));
        CFavorites oFavorites;
        oFavorites.SetAppPath(m_oWorld.AppPath());
        oFavorites.Read();
        EXPECT_EQ(oFavorites.Count(), 1);
        EXPECT_TRUE(oFavorites.Save());
        EXPECT_EQ(CTempFolder::ReadFile(DataFile()), ExampleLine);
    }
    EXPECT_NE(m_oWorld.ErrorLog().find("line 2 skipped"), std::string::npos);
    // Two damaged reads in one second get two names; only the five latest stay.
    std::vector<std::string> vBackups;
    for (const auto& oEntry : fs::directory_iterator(m_oWorld.AppPath())) {
        if (oEntry.path().filename().string().rfind("Favorites.dat.bak", 0) == 0) {
            vBackups.push_back(oEntry.path().filename().string());
        }
    }
    std::sort(vBackups.begin(), vBackups.end());
    EXPECT_EQ(vBackups, (std::vector<std::string>{"Favorites.dat.bak-19980315-100100",
                                                  "Favorites.dat.bak-19980315-100100-2",
                                                  "Favorites.dat.bak-19980315-100200",
                                                  "Favorites.dat.bak-19980315-100200-2",
                                                  "Favorites.dat.bak-19980315-100300"}));
    EXPECT_EQ(CTempFolder::ReadFile(DataFile() + ".bak-19980315-100100-2"), vDamaged[3]);
    EXPECT_EQ(CTempFolder::ReadFile(DataFile() + ".bak-19980315-100300"), vDamaged[6]);
}

TEST_F(Favorites, AFileOfDamagedLinesIsLoggedInFewLines) {
    std::string sText;
    for (int i = 0; i < 500; ++i) {
        sText += "1,#1998-03-15\r\n";
    }
    m_oWorld.Temp().WriteFile("Dayfold/Favorites.dat", sText + ExampleLine);
    m_oFavorites.Read();
    EXPECT_EQ(m_oFavorites.Count(), 1);
    const std::string sLog = m_oWorld.ErrorLog();
    EXPECT_EQ(std::count(sLog.begin(), sLog.end(), '\n'), 11);
    EXPECT_NE(sLog.find("490 more damaged lines skipped"), std::string::npos);
}

TEST_F(Favorites, ReadRemovesOnlyItsOwnStaleTemporaryFiles) {
    for (const char* pszName :
         {"Favorites.dat.tmp-a1B2c3", "Favorites.dat.tmp-ZZZZZZ", "Favorites.dat.tmp-toolong",
          "Favorites.dat.tmp-12345", "Settings.tmp-a1B2c3", "Favorites.dat"}) {
        m_oWorld.Temp().WriteFile(std::string("Dayfold/") + pszName, ExampleLine);
    }
    m_oFavorites.Read();
    EXPECT_FALSE(fs::exists(DataFile() + ".tmp-a1B2c3"));
    EXPECT_FALSE(fs::exists(DataFile() + ".tmp-ZZZZZZ"));
    EXPECT_TRUE(fs::exists(DataFile() + ".tmp-toolong"));
    EXPECT_TRUE(fs::exists(DataFile() + ".tmp-12345"));
    EXPECT_TRUE(fs::exists(m_oWorld.AppPath() + "/Settings.tmp-a1B2c3"));
    EXPECT_EQ(m_oFavorites.Count(), 1);
}

TEST_F(Favorites, IdentityIgnoresCaseAndTheFolderSeparator) {
    const std::string sDay = m_oWorld.DailyPath() + "/1998/March/15";
    fs::create_directories(sDay);
    CProgramWorld::MakeShortcut(sDay + "/a.lnk", "/home/ann/Docs/Report.txt", "/home/ann/Docs/");
    CProgramWorld::MakeShortcut(sDay + "/b.lnk", "/HOME/ANN/DOCS/REPORT.TXT", "/home/ann/Docs");
    CProgramWorld::MakeShortcut(sDay + "/c.lnk", "C:\\Docs\\Memo.txt");
    CProgramWorld::MakeShortcut(sDay + "/d.lnk", "c:\\docs\\memo.TXT", "C:\\Docs");
    m_oFavorites.RebuildFavorites();
    ASSERT_EQ(m_oFavorites.Count(), 2);
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].DaysAccessed, 2);
    EXPECT_EQ(m_oFavorites.GetFavorites()[1].TargetFileName, "Memo.txt");
    EXPECT_EQ(m_oFavorites.GetFavorites()[1].DaysAccessed, 2);
}

TEST_F(Favorites, ARebuildCountsTheDocumentsAndNotTheirProgramsShortcuts) {
    // Two days on which Report.txt was opened with /usr/bin/gedit: filing put the program's
    // shortcut beside each copy, and counted only the document.
    const std::string sDaily = m_oWorld.DailyPath() + "/1998/March/";
    for (const char* pszDay : {"15", "16"}) {
        const std::string sDay = sDaily + pszDay;
        fs::create_directories(sDay);
        CProgramWorld::MakeShortcut(sDay + "/Report.txt.lnk", "/home/ann/Report.txt");
        MDayfold::Library().CreateShellLink(sDay + "/Gedit.lnk", "/usr/bin/gedit", "/usr/bin", "",
                                            "/usr/bin/gedit", 1, qlCommonLibrary::SHOWNORMAL);
    }
    // A document that merely looks like a program's shortcut by name is still a document.
    CProgramWorld::MakeShortcut(sDaily + "16/Make.lnk", "/home/ann/src/make");
    m_oFavorites.RebuildFavorites();
    ASSERT_EQ(m_oFavorites.Count(), 2);
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].TargetFileName, "Report.txt");
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].DaysAccessed, 2);
    EXPECT_EQ(m_oFavorites.GetFavorites()[1].TargetFileName, "make");
}

TEST_F(Favorites, IdentityFoldsLettersBeyondAscii) {
    // Windows writes the working folder in the letter case the user typed it in.
    const std::string sDaily = m_oWorld.DailyPath() + "/1998/March/";
    for (const char* pszDay : {"15", "16", "17"}) {
        fs::create_directories(sDaily + pszDay);
    }
    CProgramWorld::MakeShortcut(sDaily + "15/Plan.txt.lnk", "\\\\SERVER\\ÉTUDES\\Plan.txt",
                                "\\\\server\\études");
    CProgramWorld::MakeShortcut(sDaily + "16/Plan.txt.lnk", "\\\\SERVER\\ÉTUDES\\Plan.txt");
    CProgramWorld::MakeShortcut(sDaily + "17/Plan.txt.lnk", "\\\\server\\études\\PLAN.TXT",
                                "\\\\Server\\Études");
    m_oFavorites.RebuildFavorites();
    ASSERT_EQ(m_oFavorites.Count(), 1);
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].DaysAccessed, 3);
}

TEST_F(Favorites, CountsNotedButNotSavedAreCountedOnceByTheNextRead) {
    m_oWorld.Temp().WriteFile("Dayfold/Favorites.dat", ExampleLine);
    const std::string sDay = m_oWorld.DailyPath() + "/1998/March/15";
    fs::create_directories(sDay);
    const CDateTime dMorning = CDateTime::FromParts(1998, 3, 15, 9, 0, 0);
    const CDateTime dEvening = CDateTime::FromParts(1998, 3, 15, 18, 0, 0);
    const auto NewStore = [this] {
        auto pFavorites = std::make_unique<CFavorites>();
        pFavorites->SetAppPath(m_oWorld.AppPath());
        pFavorites->SetDailyFolder("Daily");
        pFavorites->Read();
        return pFavorites;
    };
    const auto Days = [](const CFavorites& oFavorites, const std::string& sName) {
        for (const FavoriteRecord& oRecord : oFavorites.GetFavorites()) {
            if (oRecord.TargetFileName == sName) {
                return oRecord.DaysAccessed;
            }
        }
        return 0;
    };

    // A run notes three copies and ends before its save: a.txt was copied (and copied again
    // that evening), b.txt never was, and the place of Notepad.lnk holds another file.
    m_oFavorites.Read();
    ASSERT_TRUE(m_oFavorites.NoteFiling(sDay + "/a.txt.lnk", dMorning.ToUnixTime(), true));
    ASSERT_TRUE(m_oFavorites.NoteFiling(sDay + "/b.txt.lnk", dMorning.ToUnixTime(), true));
    ASSERT_TRUE(m_oFavorites.NoteFiling(sDay + "/Notepad.lnk", dMorning.ToUnixTime(), true));
    ASSERT_TRUE(m_oFavorites.NoteFiling(sDay + "/a.txt.lnk", dEvening.ToUnixTime(), false));
    CProgramWorld::MakeShortcut(sDay + "/a.txt.lnk", "/home/ann/a.txt");
    CProgramWorld::SetModified(sDay + "/a.txt.lnk", dEvening);
    CProgramWorld::MakeShortcut(sDay + "/Notepad.lnk", m_oWorld.NotepadPath());

    const auto pNext = NewStore();
    EXPECT_EQ(pNext->Count(), 2);
    EXPECT_EQ(Days(*pNext, "a.txt"), 1);
    EXPECT_EQ(pNext->GetFavorites()[1].LastAccessed, dEvening);
    EXPECT_FALSE(fs::exists(DataFile() + ".pending")) << "saved at once";
    EXPECT_EQ(Days(*NewStore(), "a.txt"), 1) << "counted once";

    // A run that ends between its save and the removal of its notes counts nothing twice.
    const auto pRun = NewStore();
    ASSERT_TRUE(pRun->NoteFiling(sDay + "/c.txt.lnk", dMorning.ToUnixTime(), true));
    CProgramWorld::MakeShortcut(sDay + "/c.txt.lnk", "/home/ann/c.txt");
    CProgramWorld::SetModified(sDay + "/c.txt.lnk", dMorning);
    CShortcut oShortcut;
    oShortcut.SetFile(sDay + "/c.txt.lnk");
    pRun->ProcessShortcut(oShortcut);
    fs::copy_file(DataFile() + ".pending", m_oWorld.Temp() / "pending");
    ASSERT_TRUE(pRun->Save());
    fs::copy_file(m_oWorld.Temp() / "pending", DataFile() + ".pending");
    const auto pAfter = NewStore();
    EXPECT_EQ(Days(*pAfter, "c.txt"), 1);
    EXPECT_EQ(pAfter->Count(), 3);
    EXPECT_FALSE(fs::exists(DataFile() + ".pending")) << "dropped as out of date";
}

TEST_F(Favorites, LastAccessedOnlyMovesForward) {
    const std::string sLate = m_oWorld.DailyPath() + "/1998/March/15";
    const std::string sEarly = m_oWorld.DailyPath() + "/1998/March/16";
    fs::create_directories(sLate);
    fs::create_directories(sEarly);
    CProgramWorld::MakeShortcut(sLate + "/a.lnk", "/home/ann/a.txt");
    CProgramWorld::MakeShortcut(sEarly + "/a.lnk", "/home/ann/a.txt");
    CProgramWorld::SetModified(sLate + "/a.lnk", CDateTime::FromParts(1998, 3, 15, 18, 0, 0));
    CProgramWorld::SetModified(sEarly + "/a.lnk", CDateTime::FromParts(1998, 3, 15, 8, 0, 0));
    m_oFavorites.RebuildFavorites();
    const FavoriteRecord oRecord = m_oFavorites.GetFavorites()[0];
    EXPECT_EQ(oRecord.DaysAccessed, 2);
    EXPECT_EQ(oRecord.LastAccessed, CDateTime::FromParts(1998, 3, 15, 18, 0, 0));
}

TEST_F(Favorites, AFileThatIsRefusedIsLoggedAndNeverReplaced) {
    const std::string sDay = m_oWorld.DailyPath() + "/1998/March/15";
    fs::create_directories(sDay);
    CProgramWorld::MakeShortcut(sDay + "/a.lnk", "/home/ann/a.txt");
    const auto SaveOver = [&](const std::string& sWhy) {
        CFavorites oFavorites;
        oFavorites.SetAppPath(m_oWorld.AppPath());
        oFavorites.SetDailyFolder("Daily");
        oFavorites.Read();
        EXPECT_TRUE(oFavorites.Refused()) << sWhy;
        CShortcut oShortcut;
        oShortcut.SetFile(sDay + "/a.lnk");
        oFavorites.ProcessShortcut(oShortcut);
        EXPECT_FALSE(oFavorites.Save()) << sWhy;
    };

    // A folder, a device and a file past the cap: none is read, none is replaced.
    fs::create_directories(DataFile());
    SaveOver("a folder");
    EXPECT_TRUE(fs::is_directory(DataFile()));
    fs::remove(DataFile());
    fs::create_symlink("/dev/zero", DataFile());
    SaveOver("a device");
    EXPECT_EQ(fs::read_symlink(DataFile()), "/dev/zero");
    fs::remove(DataFile());
    { std::ofstream(DataFile()) << ExampleLine; }
    fs::resize_file(DataFile(), MFileRead::FavoritesFileCap + 1); // sparse: no disk used
    SaveOver("a huge file");
    EXPECT_EQ(fs::file_size(DataFile()), MFileRead::FavoritesFileCap + 1);

    const std::string sLog = m_oWorld.ErrorLog();
    EXPECT_NE(sLog.find("Favorites.dat is not a regular file\tCFavorites.Read"), std::string::npos)
        << sLog;
    EXPECT_NE(sLog.find("Favorites.dat is larger than"), std::string::npos);
    EXPECT_NE(sLog.find("could not be read, so it is not replaced\tCFavorites.Save"),
              std::string::npos);
}

TEST_F(Favorites, UnwritableFolderKeepsTheOldFile) {
    m_oWorld.Temp().WriteFile("Dayfold/Favorites.dat", ExampleLine);
    m_oWorld.Temp().WriteFile("Dayfold/ErrorLog.txt", "");
    m_oFavorites.Read();
    MUnprivileged::OpenToAll(m_oWorld.Temp().Path());
    fs::permissions(m_oWorld.AppPath(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    // Saved by a user who may not write into the folder (as root, the check drops its rights).
    const int iResult = MUnprivileged::Run([this] {
        const std::string sDay = m_oWorld.DailyPath() + "/1998/March/15";
        CShortcut oShortcut;
        oShortcut.SetFile(sDay + "/a.lnk");
        m_oFavorites.ProcessShortcut(oShortcut);
        return m_oFavorites.Save() ? 1 : 0;
    });
    EXPECT_EQ(iResult, 0);
    EXPECT_EQ(CTempFolder::ReadFile(DataFile()), ExampleLine);
    EXPECT_NE(m_oWorld.ErrorLog().find("CFavorites.Save"), std::string::npos);
    for (const auto& oEntry : fs::directory_iterator(m_oWorld.AppPath())) {
        EXPECT_EQ(oEntry.path().filename().string().find(".tmp"), std::string::npos)
            << "no temporary file is left";
    }
}

} // namespace
