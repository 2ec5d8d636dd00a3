#include "app/journal/CJournalIndex.h"
#include "app/journal/CJournalScan.h"
#include "app/journal/CJournalWorld.h"
#include "app/journal/CPrivateFolders.h"
#include "app/repository/CShortcut.h"

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <mutex>

namespace fs = std::filesystem;

namespace {
CDateTime Day(int iDay, int iHour = 10, int iMinute = 0) {
    return CDateTime::FromParts(1998, 3, iDay, iHour, iMinute, 0);
}

std::vector<std::string> Names(const std::vector<SJournalDocument>& vDocuments) {
    std::vector<std::string> vNames;
    for (const SJournalDocument& oDocument : vDocuments) {
        vNames.push_back(oDocument.sName);
    }
    return vNames;
}

SJournalCopy Copy(const std::string& sTarget, const CDateTime& dUsed,
                  const std::string& sType = "Text Document") {
    SJournalCopy oCopy;
    oCopy.sTargetFile = sTarget;
    oCopy.sName = CJournalScan::NameOf(sTarget);
    oCopy.sTargetFileName = CJournalScan::RecordNameOf(sTarget);
    oCopy.sFolder = CJournalScan::FolderOf(sTarget);
    oCopy.sWorkingDirectory = oCopy.sFolder;
    oCopy.sShortcutName = oCopy.sTargetFileName + ".lnk";
    oCopy.sShortcutFile = "/d/" + dUsed.ToIsoText() + "/" + oCopy.sShortcutName;
    oCopy.dDay = dUsed.DatePart();
    oCopy.dModified = dUsed;
    oCopy.sType = sType;
    return oCopy;
}

// A build that waits at its first day folder until the test lets it go on.
class CGate {
public:
    void Arrive() {
        std::unique_lock<std::mutex> oLock(m_oMutex);
        if (m_bArrived) {
            return;
        }
        m_bArrived = true;
        m_oChanged.notify_all();
        m_oChanged.wait(oLock, [this] { return m_bOpen; });
    }
    void WaitForArrival() {
        std::unique_lock<std::mutex> oLock(m_oMutex);
        m_oChanged.wait(oLock, [this] { return m_bArrived; });
    }
    void Open() {
        const std::lock_guard<std::mutex> oLock(m_oMutex);
        m_bOpen = true;
        m_oChanged.notify_all();
    }

private:
    std::mutex m_oMutex;
    std::condition_variable m_oChanged;
    bool m_bArrived = false;
    bool m_bOpen = false;
};

class JournalIndex : public ::testing::Test {
protected:
    CJournalWorld m_oWorld;
    CJournalIndex m_oIndex;
};
} // namespace

TEST_F(JournalIndex, OneEntryPerDocumentWithItsDaysLastUseAndLatestCopy) {
    m_oWorld.File("Report.txt", "/home/ann/Docs/Report.txt", Day(2, 9));
    m_oWorld.File("Report.txt", "/home/ann/Docs/Report.txt", Day(5, 11));
    const std::string sLatest = m_oWorld.File("Report.txt", "/home/ann/Docs/Report.txt", Day(9, 8));
    m_oWorld.File("Notes.txt", "/home/ann/Notes.txt", Day(5, 12));
    // The same document through a shortcut of another name on a day it was used already.
    m_oWorld.PutCopy("Report (copy)", "/home/ann/Docs/Report.txt", Day(5, 7));
    ASSERT_TRUE(fs::exists(fs::path(sLatest).parent_path() / "Notepad.lnk"));

    m_oIndex.BuildNow(m_oWorld.DailyPath());
    EXPECT_TRUE(m_oIndex.Ready());
    EXPECT_EQ(m_oIndex.Count(), 2) << "program shortcuts are no documents";
    const std::vector<SJournalDocument> vReport = m_oIndex.Query("report");
    ASSERT_EQ(vReport.size(), 1U);
    EXPECT_EQ(vReport[0].sName, "Report.txt");
    EXPECT_EQ(vReport[0].sFolder, "/home/ann/Docs");
    EXPECT_EQ(vReport[0].sType, "Text Document");
    EXPECT_EQ(vReport[0].sTargetFile, "/home/ann/Docs/Report.txt");
    EXPECT_EQ(vReport[0].lDaysUsed, 3);
    EXPECT_EQ(vReport[0].dLastUsed, Day(9, 8));
    EXPECT_EQ(vReport[0].sShortcutFile, sLatest);
}

TEST_F(JournalIndex, DaysUsedAgreeWithTheFavoritesStoreForEveryDocument) {
    m_oWorld.File("a.txt", "/home/ann/a.txt", Day(1));
    m_oWorld.File("a.txt", "/home/ann/a.txt", Day(2));
    m_oWorld.File("A.TXT", "/HOME/ANN/A.TXT", Day(3)); // the same document in other letters
    m_oWorld.File("b.txt", "/home/ann/b.txt", Day(3));
    m_oWorld.File("c", "/home/ann/c", Day(4), "/srv/elsewhere"); // known by folder and name
    m_oWorld.File("c", "/home/ann/c", Day(6), "/srv/elsewhere");
    m_oIndex.BuildNow(m_oWorld.DailyPath());
    m_oWorld.Favorites().RebuildFavorites();

    std::map<std::string, int> colIndex;
    for (const SJournalDocument& oDocument : m_oIndex.Query("")) {
        colIndex[oDocument.sName] = oDocument.lDaysUsed;
    }
    std::map<std::string, int> colStore;
    for (const FavoriteRecord& oRecord : m_oWorld.Favorites().GetFavorites()) {
        if (oRecord.TargetFileName != "notepad") { // the store counts the program shortcuts
            colStore[oRecord.TargetFileName] = oRecord.DaysAccessed;
        }
    }
    EXPECT_EQ(colIndex, colStore);
    EXPECT_EQ(colIndex, (std::map<std::string, int>{{"a.txt", 3}, {"b.txt", 1}, {"c", 2}}));
}

TEST_F(JournalIndex, EveryWordMustBeInTheNameFolderOrTypeWithoutRegardToCase) {
    m_oIndex.AddCopy(Copy("/home/ann/Thèse/Études.txt", Day(1)));
    m_oIndex.AddCopy(Copy("/home/ann/Money/budget.ods", Day(2), "Spreadsheet"));
    m_oIndex.AddCopy(Copy("/srv/ΣΟΦΙΑ/final.txt", Day(3)));
    m_oIndex.AddCopy(Copy("C:\\Users\\Ann\\Report.DOC", Day(4), "Word Document"));

    EXPECT_EQ(Names(m_oIndex.Query("ÉTUDES")), std::vector<std::string>{"Études.txt"});
    EXPECT_EQ(Names(m_oIndex.Query("  thÈSE\t études ")), std::vector<std::string>{"Études.txt"});
    EXPECT_EQ(Names(m_oIndex.Query("σοφια")), std::vector<std::string>{"final.txt"})
        << "Greek letters fold too";
    EXPECT_EQ(Names(m_oIndex.Query("spread money")), std::vector<std::string>{"budget.ods"})
        << "one word in the type, one in the folder";
    EXPECT_EQ(Names(m_oIndex.Query("text")), (std::vector<std::string>{"final.txt", "Études.txt"}));
    EXPECT_TRUE(m_oIndex.Query("spread thèse").empty()) << "every word must match";
    EXPECT_TRUE(m_oIndex.Query("txt/home").empty()) << "no match across name and folder";
    EXPECT_TRUE(m_oIndex.Query("ods/home").empty());
    EXPECT_EQ(Names(m_oIndex.Query("users\\ann\\report")), std::vector<std::string>{});
    EXPECT_EQ(Names(m_oIndex.Query("c:\\users\\ann report.doc")),
              std::vector<std::string>{"Report.DOC"});
    EXPECT_EQ(m_oIndex.Query("").size(), 4U) << "no words: every document";
}

TEST_F(JournalIndex, ResultsComeNewestFirstThenByNameAndAreCapped) {
    const CDateTime dStart = CDateTime::FromParts(2020, 1, 1, 8, 0, 0);
    for (int i = 0; i < 600; ++i) {
        m_oIndex.AddCopy(
            Copy("/home/ann/doc" + std::to_string(i) + ".txt", dStart.AddSeconds(i * 60)));
    }
    m_oIndex.AddCopy(Copy("/home/ann/b-same.txt", dStart.AddSeconds(599 * 60)));
    m_oIndex.AddCopy(Copy("/home/ann/a-same.txt", dStart.AddSeconds(599 * 60)));

    const std::vector<SJournalDocument> vAll = m_oIndex.Query("home");
    EXPECT_EQ(m_oIndex.Matches(), 602U);
    ASSERT_EQ(vAll.size(), CJournalIndex::MaxResults);
    EXPECT_EQ(Names({vAll.begin(), vAll.begin() + 4}),
              (std::vector<std::string>{"a-same.txt", "b-same.txt", "doc599.txt", "doc598.txt"}));
    for (size_t i = 1; i < vAll.size(); ++i) {
        EXPECT_GE(vAll[i - 1].dLastUsed, vAll[i].dLastUsed);
    }
    EXPECT_EQ(vAll.back().sName, "doc102.txt");
    EXPECT_EQ(Names(m_oIndex.Query("doc42.")), std::vector<std::string>{"doc42.txt"});
    EXPECT_EQ(m_oIndex.Matches(), 1U);
}

TEST_F(JournalIndex, FilingsKeepItCurrentAndADayIsCountedOnce) {
    m_oWorld.ShortcutFiled = [this](const CShortcut& oShortcut, bool bCounted) {
        m_oIndex.Add(oShortcut, bCounted);
    };
    m_oWorld.File("Report.txt", "/home/ann/Report.txt", Day(2));
    m_oIndex.BuildNow(m_oWorld.DailyPath());
    m_oWorld.File("Report.txt", "/home/ann/Report.txt", Day(3, 9));
    m_oWorld.File("Report.txt", "/home/ann/Report.txt", Day(3, 15)); // opened again that day
    m_oWorld.File("Plan.txt", "/home/ann/Plan.txt", Day(3, 16));

    const std::vector<SJournalDocument> vDocuments = m_oIndex.Query("");
    ASSERT_EQ(Names(vDocuments), (std::vector<std::string>{"Plan.txt", "Report.txt"}));
    EXPECT_EQ(vDocuments[1].lDaysUsed, 2);
    EXPECT_EQ(vDocuments[1].dLastUsed, Day(3, 15));
    EXPECT_EQ(vDocuments[0].sType, "Text Document");

    // A fresh build of the same repository gives the same answers.
    CJournalIndex oFresh;
    oFresh.BuildNow(m_oWorld.DailyPath());
    const std::vector<SJournalDocument> vFresh = oFresh.Query("");
    ASSERT_EQ(vFresh.size(), vDocuments.size());
    for (size_t i = 0; i < vFresh.size(); ++i) {
        EXPECT_EQ(vFresh[i].sName, vDocuments[i].sName);
        EXPECT_EQ(vFresh[i].lDaysUsed, vDocuments[i].lDaysUsed);
        EXPECT_EQ(vFresh[i].dLastUsed, vDocuments[i].dLastUsed);
        EXPECT_EQ(vFresh[i].sShortcutFile, vDocuments[i].sShortcutFile);
    }
}

TEST_F(JournalIndex, ABackgroundBuildHandsOverAndKeepsWhatWasFiledMeanwhile) {
    m_oWorld.File("Old.txt", "/home/ann/Old.txt", Day(1));
    m_oWorld.File("Report.txt", "/home/ann/Report.txt", Day(2));
    CGate oGate;
    std::atomic<int> iFinished{0};
    std::atomic<int> iDays{0};
    m_oIndex.BuildProgress = [&](const CDateTime&) {
        ++iDays;
        oGate.Arrive();
    };
    m_oIndex.BuildFinished = [&] { ++iFinished; };
    m_oWorld.ShortcutFiled = [this](const CShortcut& oShortcut, bool bCounted) {
        m_oIndex.Add(oShortcut, bCounted);
    };
    m_oIndex.Build(m_oWorld.DailyPath());
    oGate.WaitForArrival();

    // Filed while the build waits at its first day: on a day its listing has not reached yet
    // (so it will see the copy too) and on a day after the ones it listed.
    m_oWorld.File("Report.txt", "/home/ann/Report.txt", Day(2, 18));
    m_oWorld.File("Report.txt", "/home/ann/Report.txt", Day(7));
    EXPECT_TRUE(m_oIndex.Building());
    EXPECT_FALSE(m_oIndex.Ready());
    EXPECT_EQ(Names(m_oIndex.Query("report")), std::vector<std::string>{"Report.txt"})
        << "filings are found before the build is done";

    oGate.Open();
    m_oIndex.Wait();
    EXPECT_FALSE(m_oIndex.Building());
    EXPECT_EQ(iFinished.load(), 1);
    EXPECT_TRUE(m_oIndex.Ready());
    const std::vector<SJournalDocument> vReport = m_oIndex.Query("report");
    ASSERT_EQ(vReport.size(), 1U);
    EXPECT_EQ(vReport[0].lDaysUsed, 2) << "days 2 and 7, each once";
    EXPECT_EQ(vReport[0].dLastUsed, Day(7));
    EXPECT_EQ(vReport[0].sType, "Text Document") << "types are filled in on taking over";
    EXPECT_EQ(Names(m_oIndex.Query("old")), std::vector<std::string>{"Old.txt"});
    EXPECT_EQ(iDays.load(), 2) << "the day filed after the listing is not read";
}

TEST_F(JournalIndex, ACancelledBuildHandsNothingOverAndTheIndexStillAnswers) {
    m_oWorld.File("Old.txt", "/home/ann/Old.txt", Day(1));
    m_oWorld.File("Other.txt", "/home/ann/Other.txt", Day(2));
    CGate oGate;
    std::atomic<int> iFinished{0};
    m_oIndex.BuildProgress = [&](const CDateTime&) { oGate.Arrive(); };
    m_oIndex.BuildFinished = [&] { ++iFinished; };
    m_oIndex.Build(m_oWorld.DailyPath());
    oGate.WaitForArrival();
    m_oIndex.AddCopy(Copy("/home/ann/New.txt", Day(3)));
    m_oIndex.Cancel();
    oGate.Open();
    m_oIndex.Wait();

    EXPECT_FALSE(m_oIndex.Building());
    EXPECT_FALSE(m_oIndex.Ready());
    EXPECT_EQ(iFinished.load(), 0);
    EXPECT_EQ(Names(m_oIndex.Query("")), std::vector<std::string>{"New.txt"});

    // A build started again runs to the end and hands over.
    m_oIndex.BuildProgress = nullptr;
    m_oIndex.Build(m_oWorld.DailyPath());
    m_oIndex.Wait();
    EXPECT_TRUE(m_oIndex.Ready());
    EXPECT_EQ(m_oIndex.Count(), 2);

    // An index that goes while its build runs stops the build and waits for it.
    for (int i = 0; i < 20; ++i) {
        CJournalIndex oShortLived;
        oShortLived.Build(m_oWorld.DailyPath());
    }
}

TEST_F(JournalIndex, RemovedDocumentsStayOutOfABuildThatHadReadThem) {
    m_oWorld.File("Secret.txt", "/home/ann/Private/Secret.txt", Day(1));
    m_oWorld.File("Public.txt", "/home/ann/Public.txt", Day(1));
    m_oWorld.File("Later.txt", "/home/ann/Later.txt", Day(2));
    CGate oGate;
    bool bFirst = true;
    m_oIndex.BuildProgress = [&](const CDateTime&) {
        if (!bFirst) {
            oGate.Arrive(); // the first day has been read
        }
        bFirst = false;
    };
    m_oIndex.Build(m_oWorld.DailyPath());
    oGate.WaitForArrival();
    m_oIndex.RemoveDocuments([](const std::string& sTarget) {
        return CPrivateFolders::IsInside(sTarget, "/home/ann/Private");
    });
    oGate.Open();
    m_oIndex.Wait();
    EXPECT_EQ(Names(m_oIndex.Query("")), (std::vector<std::string>{"Later.txt", "Public.txt"}));
    EXPECT_EQ(m_oIndex.Count(), 2);

    // The same document filed again comes back as new.
    m_oIndex.AddCopy(Copy("/home/ann/Private/Secret.txt", Day(4)));
    const std::vector<SJournalDocument> vSecret = m_oIndex.Query("secret");
    ASSERT_EQ(vSecret.size(), 1U);
    EXPECT_EQ(vSecret[0].lDaysUsed, 1);
}

TEST_F(JournalIndex, CorpusShortcutsAreOneEntryPerDocumentAsTheStoreCountsThem) {
    std::vector<std::string> vCorpus;
    for (const auto& oEntry : fs::directory_iterator(DAYFOLD_TEST_DATA "/lnk-corpus")) {
        if (oEntry.path().extension() == ".lnk") {
            vCorpus.push_back(oEntry.path().string());
        }
    }
    ASSERT_GT(vCorpus.size(), 40U);
    for (const int iDay : {2, 3}) {
        const std::string sFolder = m_oWorld.DayFolder(Day(iDay));
        for (const std::string& sFile : vCorpus) {
            fs::copy_file(sFile, sFolder + "/" + fs::path(sFile).filename().string());
        }
    }
    m_oIndex.BuildNow(m_oWorld.DailyPath());
    CFavorites oOneDay;
    oOneDay.SetAppPath(m_oWorld.AppPath());
    oOneDay.SetDailyFolder("Daily");
    fs::remove_all(m_oWorld.DayFolder(Day(3)));
    oOneDay.RebuildFavorites();

    EXPECT_EQ(m_oIndex.Count(), oOneDay.Count());
    std::multiset<std::string> colStore;
    for (const FavoriteRecord& oRecord : oOneDay.GetFavorites()) {
        colStore.insert(oRecord.TargetFileName.empty() ? fs::path(oRecord.File).stem().string()
                                                       : oRecord.TargetFileName);
    }
    std::multiset<std::string> colIndex;
    for (const SJournalDocument& oDocument : m_oIndex.Query("")) {
        colIndex.insert(oDocument.sName);
        EXPECT_EQ(oDocument.lDaysUsed, 2) << oDocument.sName;
    }
    EXPECT_EQ(colIndex, colStore);
    EXPECT_NE(m_oWorld.ErrorLog().find("CJournalIndex.Build"), std::string::npos)
        << "the damaged corpus shortcut is logged";
}
