#include "app/CProgramWorld.h"
#include "app/core/MDayfold.h"
#include "app/repository/CCapture.h"
#include "app/repository/CShortcut.h"
#include "app/views/CFavorites.h"
#include "support/MKillTimer.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
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
    // The program shortcuts beside the copies count no more than they did when filed.
    ASSERT_TRUE(fs::exists(m_oWorld.DailyPath() + "/1998/January/05/Notepad.lnk"));
    const std::vector<FavoriteRecord> vDocuments = oRebuilt.GetFavorites();
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
    std::ostringstream oErr;
    EXPECT_EQ(MDayfold::CaptureOnce(m_oWorld.RecentFolder(), oOut, oErr), 0);
    EXPECT_EQ(oOut.str(), "filed   1998/January/05/Report.txt.lnk\n1 shortcut filed from " +
                              m_oWorld.RecentFolder() +
                              " (1 new day of use); 1 document in Favorites.dat\n");
    EXPECT_EQ(oErr.str(), "");
    const std::string sData = CTempFolder::ReadFile(m_oWorld.AppPath() + "/Favorites.dat");
    EXPECT_EQ(sData.rfind("1,#1998-01-05 09:30:00#,\"" + m_oWorld.DailyPath() +
                              "/1998/January/05/Report.txt.lnk\",\"Report.txt\"",
                          0),
              0U)
        << sData;

    std::ostringstream oAgain;
    EXPECT_EQ(MDayfold::CaptureOnce(m_oWorld.RecentFolder(), oAgain, oErr), 0);
    EXPECT_EQ(oAgain.str(), "0 shortcuts filed from " + m_oWorld.RecentFolder() +
                                " (0 new days of use); 1 document in Favorites.dat\n");
}

TEST_F(Capture, CaptureOnceFailsLoudlyWhenFilingOrSavingFails) {
    const std::string sLog = m_oWorld.AppPath() + "/ErrorLog.txt";
    m_oWorld.MakeRecentShortcut("a.txt.lnk", "/home/ann/a.txt", Jan5Morning);
    m_oWorld.MakeRecentShortcut("b.txt.lnk", "/home/ann/b.txt", Jan5Morning);
    m_oWorld.Clock().SetNow(Jan5Noon);
    const auto Run = [&](std::string& sOut, std::string& sErr) {
        std::ostringstream oOut;
        std::ostringstream oErr;
        const int iStatus = MDayfold::CaptureOnce(m_oWorld.RecentFolder(), oOut, oErr);
        sOut = oOut.str();
        sErr = oErr.str();
        return iStatus;
    };
    std::string sOut;
    std::string sErr;

    // A folder stands where a copy goes: one shortcut is not filed.
    fs::create_directories(Daily("1998/January/05/a.txt.lnk"));
    EXPECT_EQ(Run(sOut, sErr), 1);
    EXPECT_EQ(sErr, "dayfold: 1 shortcut could not be filed; see " + sLog + "\n");
    EXPECT_NE(sOut.find("1 document in Favorites.dat"), std::string::npos) << sOut;
    EXPECT_NE(m_oWorld.ErrorLog().find("FMain.ProcessShortcut"), std::string::npos);

    // Favorites.dat cannot be read: it is not saved over.
    fs::remove(Daily("1998/January/05/a.txt.lnk"));
    fs::remove(m_oWorld.AppPath() + "/Favorites.dat");
    fs::create_directories(m_oWorld.AppPath() + "/Favorites.dat");
    EXPECT_EQ(Run(sOut, sErr), 1);
    EXPECT_EQ(sErr, "dayfold: " + m_oWorld.AppPath() + "/Favorites.dat could not be read; see " +
                        sLog + "\n");
    EXPECT_NE(sOut.find("Favorites.dat not saved"), std::string::npos) << sOut;

    // Nor can the log be written: every error of the run goes to standard error.
    fs::remove(sLog);
    fs::create_directories(sLog);
    m_oWorld.MakeRecentShortcut("c.txt.lnk", "/home/ann/c.txt", Jan5Morning);
    fs::create_directories(Daily("1998/January/05/c.txt.lnk"));
    EXPECT_EQ(Run(sOut, sErr), 1);
    EXPECT_EQ(sErr.rfind("dayfold: 1 shortcut could not be filed and " + m_oWorld.AppPath() +
                             "/Favorites.dat could not be read; the error log " + sLog +
                             " cannot be written:\ndayfold:   CFavorites.Read: 75-",
                         0),
              0U)
        << sErr;
    EXPECT_NE(sErr.find("\ndayfold:   FMain.ProcessShortcut: "), std::string::npos) << sErr;
}

// Runs `dayfold --capture-once` in a child that its own timer kills (SIGKILL) after
// lMicroseconds; true when it ran to its end before that.
bool CaptureOnceKilledAfter(const std::string& sRecentFolder, long lMicroseconds) {
    const pid_t iChild = fork();
    if (iChild < 0) {
        ADD_FAILURE() << "fork";
        return false;
    }
    if (iChild == 0) {
        MKillTimer::ArmInChild(lMicroseconds);
        std::ostringstream oOut;
        std::ostringstream oErr;
        MDayfold::CaptureOnce(sRecentFolder, oOut, oErr);
        _exit(0);
    }
    int iStatus = 0;
    EXPECT_EQ(waitpid(iChild, &iStatus, 0), iChild);
    EXPECT_TRUE(WIFSIGNALED(iStatus) || (WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0));
    return WIFEXITED(iStatus);
}

TEST_F(Capture, FilingKilledAtRandomMomentsLosesNoCountAndCountsNoneTwice) {
    constexpr int Documents = 120;
    std::vector<std::string> vRecent;
    for (int i = 0; i < Documents; ++i) {
        vRecent.push_back(m_oWorld.MakeRecentShortcut("Doc " + std::to_string(i) + ".txt.lnk",
                                                      "/home/ann/Doc " + std::to_string(i) + ".txt",
                                                      Jan5Morning));
    }
    const unsigned int uSeed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(uSeed));
    std::mt19937 oRandom(uSeed);
    // The moments are spread over a span that starts at half the time of the first run (which
    // files the first version whole) and halves whenever a version was filed by its first run:
    // whatever the load of the machine, most runs are cut off in the middle of their work.
    long lSpan = 0;
    int iKilled = 0;
    // Eight days, each opening every document in the morning and half of them again in the
    // evening; each version is filed by runs killed at random moments until one runs to its
    // end.
    for (int iDay = 0; iDay < 8; ++iDay) {
        for (const bool bEvening : {false, true}) {
            const CDateTime dWritten = Jan5Morning.AddDays(iDay).AddSeconds(bEvening ? 36000 : 0);
            for (int i = 0; i < Documents; ++i) {
                if (!bEvening || i % 2 == 0) {
                    CProgramWorld::SetModified(vRecent[static_cast<size_t>(i)],
                                               dWritten.AddSeconds(i));
                }
            }
            m_oWorld.Clock().SetNow(dWritten.AddSeconds(3600));
            for (int iRun = 0; iRun < 40; ++iRun) {
                const long lDelay =
                    lSpan == 0 ? 60000000L : std::uniform_int_distribution<long>(0, lSpan)(oRandom);
                const auto tStart = std::chrono::steady_clock::now();
                if (CaptureOnceKilledAfter(m_oWorld.RecentFolder(), lDelay)) {
                    if (lSpan == 0) {
                        lSpan = std::chrono::duration_cast<std::chrono::microseconds>(
                                    std::chrono::steady_clock::now() - tStart)
                                    .count() /
                                2;
                    } else if (iRun == 0) {
                        lSpan = std::max(lSpan / 2, 100L);
                    }
                    break;
                }
                ++iKilled;
            }
        }
    }
    // The next run, to its end.
    std::ostringstream oOut;
    std::ostringstream oErr;
    ASSERT_EQ(MDayfold::CaptureOnce(m_oWorld.RecentFolder(), oOut, oErr), 0) << oErr.str();

    // Every copy in Daily is counted, once: each document's days are its day folders.
    std::map<std::string, int> colCopies;
    for (const auto& oEntry : fs::recursive_directory_iterator(m_oWorld.DailyPath())) {
        const std::string sName = oEntry.path().filename().string();
        if (sName.rfind("Doc ", 0) == 0) {
            ++colCopies[sName.substr(0, sName.size() - 4)];
        }
    }
    CFavorites oStore;
    oStore.SetAppPath(m_oWorld.AppPath());
    oStore.SetDailyFolder("Daily");
    oStore.Read();
    std::map<std::string, int> colCounted;
    for (const FavoriteRecord& oRecord : oStore.GetFavorites()) {
        if (oRecord.TargetFileName.rfind("Doc ", 0) != 0) {
            continue; // the program, when a rebuild counted it
        }
        EXPECT_EQ(colCounted.count(oRecord.TargetFileName), 0U) << oRecord.TargetFileName;
        colCounted[oRecord.TargetFileName] = oRecord.DaysAccessed;
    }
    EXPECT_EQ(colCounted, colCopies);
    EXPECT_EQ(colCopies.size(), static_cast<size_t>(Documents));
    EXPECT_EQ(colCopies["Doc 7.txt"], 8);
    EXPECT_GE(iKilled, 16) << "runs cut off (last span " << lSpan << " µs)";
}

TEST_F(Capture, RealShortcutsFiledOnSeveralDaysKeepOneRecordPerDocument) {
    // Shortcuts made by Windows: programs started in a folder not their own, documents on
    // shares that the working folder names by a drive letter, virtual folders without a target
    // path, and two shortcuts to one program (powershell.exe) that are one document.
    const std::map<std::string, int> colDays = {
        {"ez-misc-local-file-env.lnk", 6},
        {"ez-win10-microsoft-windows-operating-system.lnk", 3},
        {"ez-winxp-command-prompt.lnk", 3},
        {"ez-winxp-computer-management.lnk", 3},
        {"lnkparse3-network-info.lnk", 3},
        {"pylnk-mounted-folder1-file1.lnk", 3},
        {"ez-misc-unicodenetworkpath.lnk", 3},
        {"ez-win2012-control-panel-5.lnk", 3},
        {"ez-winvista-control-panel.lnk", 3},
        {"pylnk-uwp-calc.lnk", 3},
        {"ez-win7-chess.lnk", 3},
        {"ez-win10-r3ouuag.lnk", 3},
        {"pylnk-recent1.lnk", 3},
    };
    std::vector<std::string> vRecent;
    for (const char* pszName :
         {"ez-misc-local-file-env.lnk", "ez-win7-windows-powershell-modules.lnk"}) {
        vRecent.push_back(pszName);
    }
    for (const auto& [sName, iDays] : colDays) {
        if (sName != vRecent[0]) {
            vRecent.push_back(sName);
        }
    }
    for (const std::string& sName : vRecent) {
        fs::copy_file(std::string(DAYFOLD_TEST_DATA) + "/lnk-corpus/" + sName,
                      m_oWorld.RecentFolder() + "/" + sName);
    }
    for (int iDay = 0; iDay < 3; ++iDay) {
        for (const std::string& sName : vRecent) {
            CProgramWorld::SetModified(m_oWorld.RecentFolder() + "/" + sName,
                                       Jan5Morning.AddDays(iDay));
        }
        EXPECT_EQ(Poll(Jan5Noon.AddDays(iDay)).size(), vRecent.size());
    }
    const auto Days = [](const std::vector<FavoriteRecord>& vRecords) {
        std::map<std::string, int> colFound;
        for (const FavoriteRecord& oRecord : vRecords) {
            const std::string sName = fs::path(oRecord.File).filename().string();
            EXPECT_EQ(colFound.count(sName), 0U) << sName;
            colFound[sName] = oRecord.DaysAccessed;
        }
        return colFound;
    };
    EXPECT_EQ(Days(m_oFavorites.GetFavorites()), colDays);

    CFavorites oRebuilt;
    oRebuilt.SetAppPath(m_oWorld.AppPath());
    oRebuilt.SetDailyFolder("Daily");
    oRebuilt.RebuildFavorites();
    EXPECT_EQ(Days(oRebuilt.GetFavorites()), colDays);
}

TEST_F(Capture, ProcessShortcutLeavesACurrentCopyAlone) {
    const std::string sRecent =
        m_oWorld.MakeRecentShortcut("Report.txt.lnk", "/home/ann/Report.txt", Jan5Morning);
    Poll(Jan5Noon);
    const std::string sCopy = Daily("1998/January/05/Report.txt.lnk");
    struct stat oBefore {};
    stat(sCopy.c_str(), &oBefore);
    m_oCapture.SetDailyChanged(false);
    m_vFiled.clear();
    CShortcut oShortcut;
    oShortcut.SetFile(sRecent);
    m_oCapture.ProcessShortcut(oShortcut);
    struct stat oAfter {};
    stat(sCopy.c_str(), &oAfter);
    EXPECT_EQ(oAfter.st_ino, oBefore.st_ino) << "not copied again";
    EXPECT_TRUE(m_vFiled.empty());
    EXPECT_FALSE(m_oCapture.DailyChanged());
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].DaysAccessed, 1);
    EXPECT_EQ(oShortcut.File(), sRecent) << "the record still describes the Recent shortcut";
}

TEST_F(Capture, ACopyRemovedByHandIsFiledAgain) {
    m_oWorld.MakeRecentShortcut("a.txt.lnk", "/home/ann/a.txt", Jan5Morning);
    m_oWorld.MakeRecentShortcut("b.txt.lnk", "/home/ann/b.txt", Jan5Morning);
    EXPECT_EQ(Poll(Jan5Noon).size(), 2U);
    EXPECT_TRUE(Poll(Jan5Noon).empty());
    EXPECT_TRUE(Poll(Jan5Noon).empty()) << "known filed";
    fs::remove(Daily("1998/January/05/b.txt.lnk"));
    EXPECT_EQ(Poll(Jan5Noon), std::vector<std::string>{"b.txt.lnk counted"});
    fs::remove_all(Daily("1998"));
    EXPECT_EQ(Poll(Jan5Noon), (std::vector<std::string>{"a.txt.lnk counted", "b.txt.lnk counted"}));
}

TEST_F(Capture, APollSavesTheStoreOnlyWhenItCounted) {
    const std::string sData = m_oWorld.AppPath() + "/Favorites.dat";
    const std::string sRecent =
        m_oWorld.MakeRecentShortcut("a.txt.lnk", "/home/ann/a.txt", Jan5Morning);
    m_oFavorites.Read();
    Poll(Jan5Noon);
    ASSERT_TRUE(fs::exists(sData)) << "saved by the poll that counted";
    struct stat oSaved {};
    stat(sData.c_str(), &oSaved);
    CProgramWorld::SetModified(sRecent, Jan5Evening);
    EXPECT_EQ(Poll(Jan5Evening), std::vector<std::string>{"a.txt.lnk updated"});
    EXPECT_TRUE(Poll(Jan5Evening).empty());
    struct stat oAfter {};
    stat(sData.c_str(), &oAfter);
    EXPECT_EQ(oAfter.st_ino, oSaved.st_ino) << "polls that counted nothing wrote nothing";
    EXPECT_FALSE(fs::exists(sData + ".pending"));
}

TEST_F(Capture, FilingBeforeTheStoreIsReadKeepsTheStoreAndItsCount) {
    // At start-up the Recent folder is filed before Favorites.dat is read.
    const std::string sData = m_oWorld.AppPath() + "/Favorites.dat";
    m_oWorld.MakeRecentShortcut("a.txt.lnk", "/home/ann/a.txt", Jan5Morning);
    m_oFavorites.Read();
    Poll(Jan5Noon);
    m_oWorld.MakeRecentShortcut("b.txt.lnk", "/home/ann/b.txt", Jan5Morning);
    const std::string sSaved = CTempFolder::ReadFile(sData);
    ASSERT_EQ(std::count(sSaved.begin(), sSaved.end(), '\n'), 1);

    CFavorites oStarting;
    oStarting.SetAppPath(m_oWorld.AppPath());
    oStarting.SetDailyFolder("Daily");
    m_oCapture.SetFavorites(&oStarting);
    Poll(Jan5Noon);
    EXPECT_EQ(CTempFolder::ReadFile(sData), sSaved) << "not replaced by the one new record";
    oStarting.Read();
    ASSERT_EQ(oStarting.Count(), 2);
    EXPECT_EQ(oStarting.GetFavorites()[1].TargetFileName, "b.txt");
    const std::string sNow = CTempFolder::ReadFile(sData);
    EXPECT_EQ(std::count(sNow.begin(), sNow.end(), '\n'), 2) << "saved at once";
}

TEST_F(Capture, ADocumentNamedLikeItsProgramKeepsItsCopy) {
    // The program that opens ".txt" files here is itself named "report.txt": its shortcut,
    // Report.txt.lnk, bears the name of the document's own copy.
    const std::string sProgram = m_oWorld.Temp().WriteFile("bin/report.txt", "#!/bin/sh\n");
    m_oWorld.FileTypes().SetDefaultValue("txtfile\\shell\\open\\command", sProgram + " %1");
    m_oWorld.MakeRecentShortcut("Report.txt.lnk", "/home/ann/Report.txt", Jan5Morning);
    EXPECT_EQ(Poll(Jan5Noon), std::vector<std::string>{"Report.txt.lnk counted"});
    CShortcut oCopy;
    oCopy.SetFile(Daily("1998/January/05/Report.txt.lnk"));
    EXPECT_EQ(oCopy.TargetFile(), "/home/ann/Report.txt");
    EXPECT_TRUE(Poll(Jan5Noon.AddSeconds(60)).empty()) << "not filed again as updated";

    // The other way round: the program's shortcut is there first, then the document named
    // like it is opened that day. It is a new day of use and takes the name.
    m_oWorld.MakeRecentShortcut("memo.txt.lnk", "/home/ann/memo.txt", Jan7Morning);
    Poll(Jan7Morning.AddSeconds(10));
    ASSERT_TRUE(fs::exists(Daily("1998/January/07/Report.txt.lnk")));
    CProgramWorld::SetModified(m_oWorld.RecentFolder() + "/Report.txt.lnk",
                               Jan7Morning.AddSeconds(30));
    EXPECT_EQ(Poll(Jan7Morning.AddSeconds(60)), std::vector<std::string>{"Report.txt.lnk counted"});
    oCopy.SetFile(Daily("1998/January/07/Report.txt.lnk"));
    EXPECT_EQ(oCopy.TargetFile(), "/home/ann/Report.txt");
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].DaysAccessed, 2);
}

TEST_F(Capture, NamesUpToTheFileSystemLimitAndBackslashesAreFiledAsTheyStand) {
    const std::string sLong = std::string(251, 'x') + ".lnk"; // 255 bytes
    m_oWorld.MakeRecentShortcut(sLong, "/home/ann/" + std::string(251, 'x'), Jan5Morning);
    m_oWorld.MakeRecentShortcut("a\\b.txt.lnk", "C:\\Docs\\a\\b.txt", Jan5Morning);
    EXPECT_EQ(Poll(Jan5Noon),
              (std::vector<std::string>{"a\\b.txt.lnk counted", sLong + " counted"}));
    EXPECT_TRUE(fs::exists(Daily("1998/January/05/" + sLong)));
    EXPECT_TRUE(fs::exists(Daily("1998/January/05/a\\b.txt.lnk")));
    EXPECT_FALSE(fs::exists(Daily("1998/January/05/b.txt.lnk")));
    EXPECT_TRUE(fs::exists(Daily("1998/January/05/Notepad.lnk")));
    EXPECT_FALSE(fs::exists(Daily("1998/January/05/a\\Notepad.lnk")));
    EXPECT_EQ(m_oFavorites.GetFavorites()[0].TargetFileName, "b.txt") << "targets split at \\";
    EXPECT_EQ(
        std::distance(fs::directory_iterator(Daily("1998/January/05")), fs::directory_iterator()),
        3)
        << "no temporary copy is left";
    EXPECT_TRUE(Poll(Jan5Noon).empty());
}

TEST_F(Capture, ADamagedShortcutIsLoggedOncePerVersion) {
    const std::string sDamaged = m_oWorld.Temp().WriteFile("Recent/damaged.lnk", "L garbage");
    const auto Logged = [this] {
        const std::string sLog = m_oWorld.ErrorLog();
        size_t nCount = 0;
        for (size_t nPos = sLog.find("damaged.lnk"); nPos != std::string::npos;
             nPos = sLog.find("damaged.lnk", nPos + 1)) {
            ++nCount;
        }
        return nCount;
    };
    CProgramWorld::SetModified(sDamaged, Jan5Morning);
    Poll(Jan5Noon);
    Poll(Jan5Noon.AddSeconds(60));
    Poll(Jan5Noon.AddSeconds(120));
    EXPECT_EQ(Logged(), 1U);
    CProgramWorld::SetModified(sDamaged, Jan5Evening);
    Poll(Jan5Evening.AddSeconds(60));
    Poll(Jan5Evening.AddSeconds(120));
    EXPECT_EQ(Logged(), 2U) << "rewritten and still damaged";
    // Repaired: filed at once.
    fs::remove(sDamaged);
    m_oWorld.MakeRecentShortcut("damaged.lnk", "/home/ann/fixed.txt", Jan5Evening.AddSeconds(90));
    EXPECT_EQ(Poll(Jan5Evening.AddSeconds(180)), std::vector<std::string>{"damaged.lnk counted"});
}

// Private folders: the capture asks about each new shortcut's document before anything is
// written, and passes over a private one until it is used again or the list changes.
TEST_F(Capture, APrivateDocumentIsNeitherFiledNorCountedNorReadAgainUntilTheListChanges) {
    std::vector<std::string> vAsked;
    const auto IsPrivate = [&vAsked](const std::string& sTarget) {
        vAsked.push_back(sTarget);
        return sTarget.rfind("/home/ann/Private/", 0) == 0;
    };
    m_oCapture.SetPrivateFolders(IsPrivate);
    const std::string sSecret =
        m_oWorld.MakeRecentShortcut("Secret.txt.lnk", "/home/ann/Private/Secret.txt", Jan5Morning);
    m_oWorld.MakeRecentShortcut("Open.txt.lnk", "/home/ann/Docs/Open.txt", Jan5Morning);

    EXPECT_EQ(Poll(Jan5Noon), std::vector<std::string>{"Open.txt.lnk counted"});
    EXPECT_FALSE(fs::exists(Daily("1998/January/05/Secret.txt.lnk")));
    ASSERT_EQ(m_oFavorites.Count(), 1);
    const std::string sStore = CTempFolder::ReadFile(m_oWorld.AppPath() + "/Favorites.dat");
    EXPECT_EQ(sStore.find("Secret"), std::string::npos) << sStore;
    const std::string sPending = m_oWorld.AppPath() + "/Favorites.dat.pending";
    if (fs::exists(sPending)) {
        EXPECT_EQ(CTempFolder::ReadFile(sPending).find("Secret"), std::string::npos);
    }
    EXPECT_EQ(vAsked.size(), 2U);

    // The same shortcut again: not even read.
    vAsked.clear();
    EXPECT_TRUE(Poll(Jan5Noon.AddSeconds(60)).empty());
    EXPECT_TRUE(vAsked.empty());
    // Used again: read again, and still passed over.
    CProgramWorld::SetModified(sSecret, Jan5Evening);
    EXPECT_TRUE(Poll(Jan5Evening.AddSeconds(30)).empty());
    EXPECT_EQ(vAsked, std::vector<std::string>{"/home/ann/Private/Secret.txt"});

    // The folder leaves the list: the next poll files the document, once.
    m_oCapture.SetPrivateFolders(nullptr);
    EXPECT_EQ(Poll(Jan5Evening.AddSeconds(90)), std::vector<std::string>{"Secret.txt.lnk counted"});
    EXPECT_TRUE(fs::exists(Daily("1998/January/05/Secret.txt.lnk")));
    EXPECT_EQ(m_oFavorites.Count(), 2);
    EXPECT_TRUE(Poll(Jan5Evening.AddSeconds(150)).empty());
}

TEST_F(Capture, CaptureOncePrintsNamesATerminalDoesNotActOn) {
    // BEL, an ESC sequence that would colour the terminal, and the one-character CSI of C1.
    m_oWorld.MakeRecentShortcut("Bell\a\x1b[31mRed\xc2\x9b"
                                "2J.txt.lnk",
                                "/home/ann/Docs/x.txt", Jan5Morning);
    m_oWorld.Clock().SetNow(Jan5Noon);
    std::ostringstream oOut;
    std::ostringstream oErr;
    EXPECT_EQ(MDayfold::CaptureOnce(m_oWorld.RecentFolder(), oOut, oErr), 0) << oErr.str();
    EXPECT_EQ(oOut.str().substr(0, oOut.str().find('\n') + 1),
              "filed   1998/January/05/Bell\\x07\\x1b[31mRed\\x9b2J.txt.lnk\n");
    EXPECT_EQ(oOut.str().find_first_of("\a\x1b"), std::string::npos) << oOut.str();
    EXPECT_TRUE(fs::exists(Daily("1998/January/05/Bell\a\x1b[31mRed\xc2\x9b"
                                 "2J.txt.lnk")))
        << "the file keeps its name";
}

TEST_F(Capture, CaptureOncePassesOverPrivateDocuments) {
    m_oWorld.MakeRecentShortcut("Secret.txt.lnk", "/home/ann/Private/Secret.txt", Jan5Morning);
    m_oWorld.MakeRecentShortcut("Open.txt.lnk", "/home/ann/Docs/Open.txt", Jan5Morning);
    m_oWorld.Clock().SetNow(Jan5Noon);
    std::ostringstream oOut;
    std::ostringstream oErr;
    EXPECT_EQ(MDayfold::CaptureOnce(m_oWorld.RecentFolder(), oOut, oErr,
                                    [](const std::string& sTarget) {
                                        return sTarget.find("/Private/") != std::string::npos;
                                    }),
              0);
    EXPECT_EQ(oOut.str(), "filed   1998/January/05/Open.txt.lnk\n1 shortcut filed from " +
                              m_oWorld.RecentFolder() +
                              " (1 new day of use); 1 document in Favorites.dat\n");
    EXPECT_FALSE(fs::exists(Daily("1998/January/05/Secret.txt.lnk")));
}

} // namespace
