#include "app/CProgramWorld.h"
#include "app/repository/CShortcut.h"
#include "app/views/CFavorites.h"
#include "app/views/CFavoritesFile.h"

#include <filesystem>
#include <gtest/gtest.h>
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
    };
    for (const std::string& sBad : vDamaged) {
        std::vector<int> vLines;
        const auto vRecords = CFavoritesFile::Parse(
            sGood + sBad + sGood, [&](int iLine, const std::string&) { vLines.push_back(iLine); });
        EXPECT_EQ(vRecords, (std::vector<FavoriteRecord>{Example(), Example()})) << sBad;
        EXPECT_EQ(vLines, std::vector<int>{2}) << sBad;
    }
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

TEST_F(Favorites, DamagedFileIsKeptAsBackupAtTheNextSave) {
    const std::string sDamaged = std::string(ExampleLine) + "garbage line\r\n" + ExampleLine;
    m_oWorld.Temp().WriteFile("Dayfold/Favorites.dat", sDamaged);
    m_oFavorites.Read();
    EXPECT_EQ(m_oFavorites.Count(), 2);
    EXPECT_NE(m_oWorld.ErrorLog().find("CFavorites.Read"), std::string::npos);
    m_oFavorites.Save();
    EXPECT_EQ(CTempFolder::ReadFile(DataFile() + ".bak"), sDamaged);
    EXPECT_EQ(CTempFolder::ReadFile(DataFile()), std::string(ExampleLine) + ExampleLine);
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

TEST_F(Favorites, AFileThatCannotBeReadIsNeverReplacedByFewerRecords) {
    // A folder where the file should be cannot be read as the file, even by root.
    fs::create_directories(DataFile());
    m_oFavorites.Read();
    EXPECT_NE(m_oWorld.ErrorLog().find("CFavorites.Read"), std::string::npos);
    const std::string sDay = m_oWorld.DailyPath() + "/1998/March/15";
    fs::create_directories(sDay);
    CProgramWorld::MakeShortcut(sDay + "/a.lnk", "/home/ann/a.txt");
    CShortcut oShortcut;
    oShortcut.SetFile(sDay + "/a.lnk");
    m_oFavorites.ProcessShortcut(oShortcut);
    m_oFavorites.Save();
    EXPECT_TRUE(fs::is_directory(DataFile()));
    EXPECT_NE(m_oWorld.ErrorLog().find("CFavorites.Save"), std::string::npos);
}

TEST_F(Favorites, UnwritableFolderKeepsTheOldFile) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    m_oWorld.Temp().WriteFile("Dayfold/Favorites.dat", ExampleLine);
    m_oFavorites.Read();
    fs::permissions(m_oWorld.AppPath(), fs::perms::owner_write, fs::perm_options::remove);
    m_oFavorites.Save();
    fs::permissions(m_oWorld.AppPath(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(CTempFolder::ReadFile(DataFile()), ExampleLine);
    EXPECT_NE(m_oWorld.ErrorLog().find("CFavorites.Save"), std::string::npos);
}

} // namespace
