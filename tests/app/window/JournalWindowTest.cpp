// The journal in the main window: the search box over every day, the year at a glance and the
// documents that no longer exist, with real widgets and an answerer for every message box.
#include "app/core/MDayfold.h"
#include "app/journal/CMissingDocuments.h"
#include "app/views/CFavorites.h"
#include "app/window/CWindowWorld.h"
#include "platform/controls/CListView.h"
#include "platform/controls/CMonthCalendar.h"
#include "platform/controls/CStatusBar.h"
#include "platform/controls/CTreeView.h"
#include "platform/controls/CYearGrid.h"
#include "platform/shell/CArgumentRecorder.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

CDateTime At(int iDay, int iHour = 9, int iMinute = 30) {
    return CDateTime::FromParts(1998, 3, iDay, iHour, iMinute, 0);
}

class JournalWindow : public ::testing::Test {
protected:
    JournalWindow() {
        m_oWorld.World().Clock().SetNow(At(15, 10, 0));
        m_oWorld.SetSetting("Options", "Purge Age", "30");
        chmod(m_oWorld.World().NotepadPath().c_str(), 0755);
        for (const char* szName : {"Report.txt", "Plan.txt", "Budget.txt", "Gone.txt"}) {
            m_oWorld.World().Temp().WriteFile(std::string("docs/") + szName, szName);
        }
    }

    FMain& Main() { return m_oWorld.Main(); }
    CProgramWorld& World() { return m_oWorld.World(); }
    CRecordingPresenter& Boxes() { return World().Presenter(); }
    std::string LastBox() {
        return Boxes().Shown().empty() ? std::string() : Boxes().Shown().back().sText;
    }
    std::string Day(int iDay) const {
        return m_oWorld.FolderKey("1998/March/" + At(iDay).DayText());
    }
    std::string Copy(int iDay, const std::string& sName) const {
        return Day(iDay) + "/" + sName + ".lnk";
    }
    // Files the documents on the day, as a tick of that day does.
    void File(int iDay, std::initializer_list<const char*> colNames) {
        for (const char* szName : colNames) {
            m_oWorld.OpenDocument(szName, At(iDay));
        }
        m_oWorld.Tick(At(iDay, 10, 0));
    }
    // The index read in the background is taken over, as the window's loop would.
    void JournalRead() {
        Main().Journal().Wait();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // Types into the search box; the pause in the typing is over at once.
    void Search(const QString& sText) {
        Main().txtSearch()->setText(sText);
        if (Main().tmrSearch()->isActive()) {
            Main().tmrSearch_Timer();
        }
    }

    CWindowWorld m_oWorld;
};

TEST_F(JournalWindow, TypingFindsTheDocumentsOfEveryDayAndEnterOpensTheChosenOne) {
    // Budget is filed by the load's own filing and read by the background build; the rest are
    // filings of the session.
    m_oWorld.OpenDocument("Budget.txt", At(11));
    m_oWorld.Load();
    File(11, {"Report.txt"});
    File(12, {"Plan.txt"});
    File(13, {"Report.txt"});
    JournalRead();
    Main().SelectDate(At(13));
    CListView& oResults = *Main().lvwSearch();

    Main().txtSearch()->setText("pla");
    EXPECT_TRUE(Main().tmrSearch()->isActive()) << "the search waits for a pause in the typing";
    EXPECT_FALSE(Main().SearchShown());
    Main().tmrSearch_Timer();
    ASSERT_TRUE(Main().SearchShown());
    EXPECT_FALSE(Main().picDaily()->isVisibleTo(&Main()));
    EXPECT_EQ(CWindowWorld::Keys(oResults), std::vector<std::string>{Copy(12, "Plan.txt")})
        << "a day other than the one selected";
    EXPECT_EQ(oResults.SubItem(Copy(12, "Plan.txt"), 2), World().Temp() / "docs");
    EXPECT_EQ(Main().sbrMain()->SimpleText(), "1 objects");

    // By folder: every document, the latest use first, each once with its days.
    Search("DOCS");
    EXPECT_EQ(CWindowWorld::Keys(oResults),
              (std::vector<std::string>{Copy(13, "Report.txt"), Copy(12, "Plan.txt"),
                                        Copy(11, "Budget.txt")}));
    EXPECT_EQ(oResults.SubItem(Copy(13, "Report.txt"), 3), "    2");
    EXPECT_EQ(oResults.SubItem(Copy(13, "Report.txt"), 4), "1998/03/13 09:30");

    Search("nothing like it");
    EXPECT_EQ(oResults.Count(), 0);
    EXPECT_TRUE(Main().lblSearchEmpty()->isVisibleTo(&Main()));
    EXPECT_EQ(Main().lblSearchEmpty()->text(), "No documents match \"nothing like it\".");

    // Enter in the box opens the first result through the lists' own path: the shortcut goes
    // back into the Recent folder, written now.
    Search("budget");
    const std::string sRecentCopy = World().RecentFolder() + "/Budget.txt.lnk";
    fs::remove(sRecentCopy);
    World().Clock().SetNow(At(20, 8, 0));
    QTest::keyClick(Main().txtSearch(), Qt::Key_Return);
    EXPECT_TRUE(Boxes().Shown().empty()) << LastBox() << World().ErrorLog();
    ASSERT_TRUE(fs::exists(sRecentCopy));
    EXPECT_EQ(CProgramWorld::Modified(sRecentCopy), At(20, 8, 0));
    EXPECT_EQ(oResults.SelectedKey(), Copy(11, "Budget.txt"));
}

TEST_F(JournalWindow, AFilingDuringTheSessionAppearsAndClearingReturnsToTheViewShown) {
    m_oWorld.OpenDocument("Report.txt", At(12));
    m_oWorld.Load();
    JournalRead();
    Main().Actions().pViewFavorites->trigger();
    Search("report");
    CListView& oResults = *Main().lvwSearch();
    ASSERT_EQ(oResults.Count(), 1);
    EXPECT_FALSE(Main().picFavorites()->isVisibleTo(&Main()));

    // A report filed by a poll of the session shows at once, newest first.
    World().Temp().WriteFile("docs/Report 2.txt", "second");
    m_oWorld.OpenDocument("Report 2.txt", At(15, 9, 55));
    m_oWorld.Tick(At(15, 10, 0));
    EXPECT_EQ(CWindowWorld::Keys(oResults),
              (std::vector<std::string>{Copy(15, "Report 2.txt"), Copy(12, "Report.txt")}));

    // Escape empties the box: the Favorites view comes back, and so does its status.
    QTest::keyClick(Main().txtSearch(), Qt::Key_Escape);
    EXPECT_EQ(Main().txtSearch()->text(), "");
    EXPECT_FALSE(Main().SearchShown());
    EXPECT_TRUE(Main().picFavorites()->isVisibleTo(&Main()));
    EXPECT_FALSE(Main().picDaily()->isVisibleTo(&Main()));
    EXPECT_EQ(Main().ActiveView(), FMain::ViewFavorites);

    // Choosing a view from the menu leaves a search too.
    Search("report");
    ASSERT_TRUE(Main().SearchShown());
    Main().Actions().pViewDaily->trigger();
    EXPECT_FALSE(Main().SearchShown());
    EXPECT_EQ(Main().txtSearch()->text(), "");
    EXPECT_TRUE(Main().picDaily()->isVisibleTo(&Main()));
}

TEST_F(JournalWindow, TheListMenuAndTheFolderCommandsActOnTheChosenResult) {
    CArgumentRecorder oFiles(World().Temp(), "files");
    World().FileTypes().SetDefaultValue("inode/directory\\shell\\open\\command",
                                        "\"" + oFiles.Program() + "\" %f");
    FMain& oMain = m_oWorld.Load();
    World().Temp().WriteFile("elsewhere/Plan.txt", "plan");
    m_oWorld.OpenDocument("Plan.txt", At(12), World().Temp() / "elsewhere/Plan.txt");
    m_oWorld.Tick(At(12, 10, 0));
    File(13, {"Report.txt"});
    oMain.SelectDate(At(13));
    oMain.lvwDaily()->SetSelectedKey(Copy(13, "Report.txt"));
    JournalRead();

    Search("plan");
    CListView& oResults = *oMain.lvwSearch();
    emit oResults.MouseUp(2, 0, 300, 300);
    EXPECT_FALSE(oMain.mnuListView()->isVisible()) << "no result chosen yet";
    EXPECT_FALSE(oMain.Actions().pOpenFolder->isEnabled());
    oResults.SetSelectedKey(Copy(12, "Plan.txt"));
    emit oResults.ItemClick(Copy(12, "Plan.txt"));
    EXPECT_TRUE(oMain.Actions().pOpenFolder->isEnabled());
    emit oResults.MouseUp(2, 0, 300, 300);
    EXPECT_TRUE(oMain.mnuListView()->isVisible());
    oMain.mnuListView()->close();

    oMain.Actions().pOpenFolder->trigger();
    const std::vector<std::string> colArguments = oFiles.Wait();
    ASSERT_EQ(colArguments.size(), 2u);
    EXPECT_EQ(colArguments[1], World().Temp() / "elsewhere") << "the result's folder";

    // Open in the list menu opens the result, not the day list's document.
    fs::remove(World().Temp() / "elsewhere/Plan.txt");
    oMain.Actions().pListOpen->trigger();
    EXPECT_NE(LastBox().find("elsewhere/Plan.txt\r\nwas not found"), std::string::npos)
        << LastBox();
}

TEST_F(JournalWindow, ThePurgeOfADayIsGoneFromTheResultsOnceTheJournalIsReadAgain) {
    m_oWorld.Load();
    File(12, {"Plan.txt"});
    File(13, {"Report.txt"});
    JournalRead();
    Search("txt");
    ASSERT_EQ(Main().lvwSearch()->Count(), 2);
    Main().PurgeDay(Day(12));
    JournalRead();
    EXPECT_EQ(CWindowWorld::Keys(*Main().lvwSearch()),
              std::vector<std::string>{Copy(13, "Report.txt")});
}

TEST_F(JournalWindow, TheYearCountsEachDayTellsItAndAClickShowsThatDay) {
    FMain& oMain = m_oWorld.Load();
    File(2, {"Plan.txt"});
    File(12, {"Report.txt", "Budget.txt", "Plan.txt"});
    File(14, {"Report.txt"});
    World().Clock().SetNow(At(15, 10, 0));
    oMain.SelectDate(At(14));
    oMain.Actions().pYear->trigger();
    ASSERT_TRUE(oMain.frmYear()->isVisible());
    CYearGrid& oGrid = *oMain.grdYear();
    EXPECT_EQ(oGrid.LastDay(), QDate(1998, 3, 15)) << "up to today";
    EXPECT_EQ(oGrid.FirstDay(), QDate(1997, 3, 16)) << "twelve months";
    EXPECT_EQ(oGrid.Count(QDate(1998, 3, 12)), 3) << "program shortcuts are not counted";
    EXPECT_EQ(oGrid.Count(QDate(1998, 3, 14)), 1);
    EXPECT_EQ(oGrid.Count(QDate(1998, 3, 13)), 0);
    EXPECT_EQ(oGrid.Level(QDate(1998, 3, 12)), CYearGrid::Levels - 1);
    EXPECT_EQ(CYearGrid::ToolTipText(QDate(1998, 3, 12), oGrid.Count(QDate(1998, 3, 12))),
              "3 documents on Thursday, March 12, 1998");
    EXPECT_EQ(oMain.lblYearTotal()->text(),
              "5 documents filed on 3 days in the last twelve months.");

    // A poll that files something redraws the year on show.
    World().Clock().SetNow(At(15, 11, 0));
    File(15, {"Budget.txt"});
    EXPECT_EQ(oGrid.Count(QDate(1998, 3, 15)), 1);

    // From the Favorites view and a search, a click on the 12th shows its day.
    oMain.Actions().pViewFavorites->trigger();
    Search("plan");
    QTest::mouseClick(&oGrid, Qt::LeftButton, {}, oGrid.CellRect(QDate(1998, 3, 12)).center());
    EXPECT_EQ(oMain.ActiveView(), FMain::ViewDaily);
    EXPECT_FALSE(oMain.SearchShown());
    EXPECT_EQ(oMain.tvwMain()->SelectedKey(), Day(12));
    EXPECT_EQ(oMain.calMain()->Value().DatePart(), At(12).DatePart());
    for (const char* szName : {"Report.txt", "Budget.txt", "Plan.txt"}) {
        EXPECT_TRUE(oMain.lvwDaily()->Contains(Copy(12, szName))) << szName;
    }

    // A day without documents: the calendar goes there and the list says so.
    QTest::mouseClick(&oGrid, Qt::LeftButton, {}, oGrid.CellRect(QDate(1998, 3, 13)).center());
    EXPECT_EQ(oMain.calMain()->Value().DatePart(), At(13).DatePart());
    EXPECT_EQ(oMain.lvwDaily()->Count(), 0);
    EXPECT_EQ(oMain.lblDailyEmpty()->text(), "No documents were opened on March 13, 1998.");
}

TEST_F(JournalWindow, MissingDocumentsAreGreyedInEveryList) {
    FMain& oMain = m_oWorld.Load();
    File(12, {"Gone.txt"});
    File(13, {"Gone.txt"});
    File(14, {"Gone.txt", "Report.txt"});
    fs::remove(World().Temp() / "docs/Gone.txt");
    JournalRead();
    oMain.SelectDate(At(14));
    EXPECT_TRUE(oMain.lvwDaily()->ItemGreyed(Copy(14, "Gone.txt")));
    EXPECT_FALSE(oMain.lvwDaily()->ItemGreyed(Copy(14, "Report.txt")));
    ASSERT_EQ(oMain.lvwFavorites()->Count(), 1);
    EXPECT_TRUE(oMain.lvwFavorites()->ItemGreyed(oMain.lvwFavorites()->KeyAt(1)));
    Search("txt");
    EXPECT_TRUE(oMain.lvwSearch()->ItemGreyed(Copy(14, "Gone.txt")));
    EXPECT_FALSE(oMain.lvwSearch()->ItemGreyed(Copy(14, "Report.txt")));
}

TEST_F(JournalWindow, RemoveMissingLinksAsksOnceAndRemovesOnlyTheMissingOnesCopies) {
    FMain& oMain = m_oWorld.Load();
    File(12, {"Gone.txt", "Plan.txt"});
    File(13, {"Gone.txt", "Plan.txt"});
    File(14, {"Gone.txt", "Plan.txt", "Report.txt"});
    JournalRead();
    // Nothing is missing yet: the user is told, nothing is asked.
    oMain.Actions().pRemoveMissing->trigger();
    EXPECT_EQ(LastBox(), "No links to missing documents were found.");
    EXPECT_EQ(Boxes().Shown().back().iStyle, MessageBox::OkOnly + MessageBox::Information);

    fs::remove(World().Temp() / "docs/Gone.txt");
    ASSERT_EQ(oMain.lvwFavorites()->Count(), 2);
    Boxes().SetNextAnswer(MessageBox::AnswerNo);
    oMain.Actions().pRemoveMissing->trigger();
    EXPECT_EQ(LastBox(), "Remove the links of 1 document that no longer exists?")
        << "one document, though used on three days";
    EXPECT_EQ(Boxes().Shown().back().iStyle, MessageBox::YesNo + MessageBox::Question);
    for (int iDay : {12, 13, 14}) {
        EXPECT_TRUE(fs::exists(Copy(iDay, "Gone.txt").substr(1))) << "No keeps everything";
    }
    EXPECT_EQ(oMain.lvwFavorites()->Count(), 2);

    const size_t nShown = Boxes().Shown().size();
    Boxes().SetNextAnswer(MessageBox::AnswerYes);
    oMain.Actions().pRemoveMissing->trigger();
    EXPECT_EQ(Boxes().Shown().size(), nShown + 1) << "asked once";
    for (int iDay : {12, 13, 14}) {
        EXPECT_FALSE(fs::exists(Copy(iDay, "Gone.txt").substr(1)));
        EXPECT_TRUE(fs::exists(Copy(iDay, "Plan.txt").substr(1)));
    }
    EXPECT_TRUE(fs::exists(Copy(14, "Report.txt").substr(1)));
    EXPECT_FALSE(fs::exists(World().RecentFolder() + "/Gone.txt.lnk"))
        << "else the next poll files it again";
    EXPECT_TRUE(fs::exists(World().RecentFolder() + "/Plan.txt.lnk"));
    m_oWorld.Tick(At(15, 11, 0));
    EXPECT_FALSE(fs::exists(Copy(14, "Gone.txt").substr(1)));
    const std::vector<std::string> colFavorites = CWindowWorld::Column(*oMain.lvwFavorites(), 0);
    EXPECT_EQ(std::count(colFavorites.begin(), colFavorites.end(), "Gone.txt"), 0);
    EXPECT_EQ(std::count(colFavorites.begin(), colFavorites.end(), "Plan.txt"), 1);
    CFavorites oStored;
    oStored.SetAppPath(World().AppPath());
    oStored.SetDailyFolder("Daily");
    oStored.Read();
    for (const FavoriteRecord& oRecord : oStored.GetFavorites()) {
        EXPECT_NE(oRecord.TargetFileName, "Gone.txt") << "the saved store forgot it";
    }
    Search("gone");
    EXPECT_EQ(oMain.lvwSearch()->Count(), 0) << "nor does the search find it";
    JournalRead();
    Search("gon");
    EXPECT_EQ(oMain.lvwSearch()->Count(), 0);
    EXPECT_EQ(World().ErrorLog(), "");
}

} // namespace
