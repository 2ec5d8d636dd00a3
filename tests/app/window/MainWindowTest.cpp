// The main window end to end: shortcuts of the Recent folder filed on timer ticks and shown in
// the tree, the lists, the calendar and the status bar; its settings across restarts; hand-made
// damage in the repository and the settings.
#include "app/core/CWaitCursor.h"
#include "app/core/MDayfold.h"
#include "app/resources/MIcons.h"
#include "app/views/CDaily.h"
#include "app/views/CFavorites.h"
#include "app/window/CCalendar.h"
#include "app/window/CWindowWorld.h"
#include "platform/controls/CImageList.h"
#include "platform/controls/CListView.h"
#include "platform/controls/CMonthCalendar.h"
#include "platform/controls/CStatusBar.h"
#include "platform/controls/CTimer.h"
#include "platform/controls/CToolbarButton.h"
#include "platform/controls/CTrayIcon.h"
#include "platform/controls/CTreeView.h"
#include "platform/controls/MTwips.h"

#include <QAction>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QWindow>

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using ::testing::ElementsAre;

namespace {

CDateTime At(int iDay, int iHour = 9, int iMinute = 30) {
    return CDateTime::FromParts(1998, 3, iDay, iHour, iMinute, 0);
}

bool SameIcon(const QIcon& oIcon, const char* szPath) {
    return oIcon.pixmap(16, 16).toImage() == QIcon(szPath).pixmap(16, 16).toImage();
}

class MainWindow : public ::testing::Test {
protected:
    MainWindow() { m_oWorld.World().Clock().SetNow(At(15, 10, 0)); }

    FMain& Main() { return m_oWorld.Main(); }
    std::string Status() { return Main().sbrMain()->SimpleText(); }

    CWindowWorld m_oWorld;
};

TEST_F(MainWindow, ATickFilesNewShortcutsIntoTheTreeAndTheDayList) {
    FMain& oMain = m_oWorld.Load();
    EXPECT_EQ(oMain.tvwMain()->Count(), 1); // the Daily root only
    EXPECT_EQ(oMain.tvwMain()->NodeText(m_oWorld.FolderKey("")), "Daily");

    const std::string sDocs = m_oWorld.World().Temp() / "docs";
    m_oWorld.OpenDocument("Report.txt", At(15, 9, 5));
    m_oWorld.OpenDocument("Letter.txt", At(15, 9, 41));
    m_oWorld.Tick(At(15, 10, 0));

    CTreeView& oTree = *oMain.tvwMain();
    const std::string sDay = m_oWorld.FolderKey("1998/March/15");
    ASSERT_TRUE(oTree.Contains(sDay));
    EXPECT_EQ(oTree.ParentKey(sDay), m_oWorld.FolderKey("1998/March"));
    EXPECT_EQ(oTree.ParentKey(m_oWorld.FolderKey("1998/March")), m_oWorld.FolderKey("1998"));
    EXPECT_EQ(oTree.ParentKey(m_oWorld.FolderKey("1998")), m_oWorld.FolderKey(""));
    EXPECT_EQ(oTree.NodeImage(m_oWorld.FolderKey("1998")), 2);
    EXPECT_EQ(oTree.NodeImage(sDay), 4);

    oMain.SelectDate(At(15));
    CListView& oList = *oMain.lvwDaily();
    oList.SetSortKey(0);
    // Beside the documents, the shortcut to the program that opens them.
    EXPECT_THAT(
        CWindowWorld::Keys(oList),
        ElementsAre(sDay + "/Letter.txt.lnk", sDay + "/Notepad.lnk", sDay + "/Report.txt.lnk"));
    const std::string sReport = sDay + "/Report.txt.lnk";
    EXPECT_EQ(oList.ItemText(sReport), "Report.txt");
    EXPECT_EQ(oList.SubItem(sReport, 1), "Text Document");
    EXPECT_EQ(oList.SubItem(sReport, 2), sDocs);
    EXPECT_EQ(oList.SubItem(sReport, 3), "09:05");
    std::unique_ptr<CWaitCursor> pNone;
    oMain.RefreshStatusBar(pNone);
    EXPECT_EQ(Status(), "3 objects");
}

TEST_F(MainWindow, ADocumentBecomesAFavoriteOnItsThirdDay) {
    FMain& oMain = m_oWorld.Load();
    for (int iDay = 15; iDay <= 17; ++iDay) {
        m_oWorld.OpenDocument("Report.txt", At(iDay));
        m_oWorld.Tick(At(iDay, 10, 0));
        EXPECT_EQ(oMain.lvwFavorites()->Count(), iDay == 17 ? 1 : 0) << "day " << iDay;
    }
    const std::string sKey = "K" + m_oWorld.World().DailyPath() + "/1998/March/15/Report.txt.lnk";
    CListView& oFavorites = *oMain.lvwFavorites();
    ASSERT_TRUE(oFavorites.Contains(sKey));
    EXPECT_EQ(oFavorites.ItemText(sKey), "Report.txt");
    EXPECT_EQ(oFavorites.SubItem(sKey, 1), "Text Document");
    EXPECT_EQ(oFavorites.SubItem(sKey, 3), "    3");
    EXPECT_EQ(oFavorites.SubItem(sKey, 4), "1998/03/17 09:30");

    oMain.SetActiveView(FMain::ViewFavorites);
    std::unique_ptr<CWaitCursor> pNone;
    oMain.RefreshStatusBar(pNone);
    EXPECT_EQ(Status(), "1 objects");
}

TEST_F(MainWindow, APollThatFilesNothingRebuildsNoView) {
    FMain& oMain = m_oWorld.Load();
    m_oWorld.OpenDocument("Report.txt", At(15));
    m_oWorld.Tick(At(15, 10, 0));
    const int iDaily = oMain.DailyRebuilds();
    const int iFavorites = oMain.FavoritesRebuilds();
    ASSERT_GT(iDaily, 0);

    m_oWorld.Tick(At(15, 10, 1)); // the same shortcut, already filed
    m_oWorld.Tick(At(15, 10, 2));
    EXPECT_EQ(oMain.DailyRebuilds(), iDaily);
    EXPECT_EQ(oMain.FavoritesRebuilds(), iFavorites);

    m_oWorld.OpenDocument("Letter.txt", At(15, 10, 2));
    m_oWorld.Tick(At(15, 10, 3));
    EXPECT_EQ(oMain.DailyRebuilds(), iDaily + 1);
}

TEST_F(MainWindow, AStartThatFilesDoesNotRebuildAgainOnTheFirstTick) {
    m_oWorld.OpenDocument("Report.txt", At(15));
    FMain& oMain = m_oWorld.Load();
    EXPECT_TRUE(oMain.tvwMain()->Contains(m_oWorld.FolderKey("1998/March/15")));
    const int iDaily = oMain.DailyRebuilds();
    m_oWorld.Tick(At(15, 10, 1));
    EXPECT_EQ(oMain.DailyRebuilds(), iDaily);
}

TEST_F(MainWindow, APollKeepsTheSelectedDayDocumentAndSort) {
    FMain& oMain = m_oWorld.Load();
    m_oWorld.OpenDocument("Report.txt", At(15, 9, 0));
    m_oWorld.OpenDocument("Letter.txt", At(15, 9, 1));
    m_oWorld.Tick(At(15, 10, 0));
    const std::string sDay = m_oWorld.FolderKey("1998/March/15");
    oMain.SelectDate(At(15));
    CListView& oList = *oMain.lvwDaily();
    emit oList.ColumnClick(1);
    emit oList.ColumnClick(1); // by name, descending
    oList.SetSelectedKey(sDay + "/Letter.txt.lnk");

    m_oWorld.OpenDocument("Memo.txt", At(15, 10, 30));
    m_oWorld.Tick(At(15, 11, 0));

    EXPECT_EQ(oMain.tvwMain()->SelectedKey(), sDay);
    EXPECT_EQ(oList.SelectedKey(), sDay + "/Letter.txt.lnk");
    EXPECT_EQ(oList.SortKey(), 0);
    EXPECT_EQ(oList.SortOrder(), CListView::Descending);
    EXPECT_THAT(CWindowWorld::Column(oList, 0),
                ElementsAre("Report.txt", "Notepad", "Memo.txt", "Letter.txt"));
}

TEST_F(MainWindow, APollShowsBusyThenIdleAndAFailedOneStillRearmsTheTimer) {
    FMain& oMain = m_oWorld.Load();
    EXPECT_TRUE(SameIcon(oMain.tryMain()->TrayIcon(), MIcons::TrayIdle));
    EXPECT_TRUE(oMain.tmrMain()->Enabled());

    // The Recent folder is gone: the poll cannot list it.
    fs::remove_all(m_oWorld.World().RecentFolder());
    m_oWorld.Tick(At(15, 10, 1));
    EXPECT_TRUE(oMain.tmrMain()->Enabled());
    EXPECT_TRUE(SameIcon(oMain.tryMain()->TrayIcon(), MIcons::TrayIdle));
    EXPECT_EQ(Status(), "0 objects");

    // It comes back and capture goes on.
    fs::create_directories(m_oWorld.World().RecentFolder());
    m_oWorld.OpenDocument("Report.txt", At(15, 10, 1));
    m_oWorld.Tick(At(15, 10, 2));
    EXPECT_TRUE(oMain.tvwMain()->Contains(m_oWorld.FolderKey("1998/March/15")));
}

TEST_F(MainWindow, TheTimerIntervalIsKeptWithinOneToSixtySeconds) {
    struct SCase {
        const char* szStored;
        std::int32_t lExpected;
    };
    for (const SCase& oCase : {SCase{"0", 1000}, SCase{"-7", 1000}, SCase{"61", 60000},
                               SCase{"99999999999", 60000}, SCase{"5", 5000}}) {
        m_oWorld.SetSetting("Options", "Timer Interval", oCase.szStored);
        FMain& oMain = m_oWorld.Load();
        EXPECT_EQ(oMain.tmrMain()->Interval(), oCase.lExpected) << oCase.szStored;
        EXPECT_TRUE(oMain.tmrMain()->IsRunning()) << oCase.szStored;
    }
}

TEST_F(MainWindow, TheCalendarMarksDaysWithFoldersAndAnEmptyDateEmptiesTheList) {
    m_oWorld.OpenDocument("Report.txt", At(3));
    m_oWorld.OpenDocument("Letter.txt", At(12));
    FMain& oMain = m_oWorld.Load(); // files them, shows, and moves to the latest day
    CMonthCalendar& oCalendar = *oMain.calMain();
    EXPECT_EQ(oCalendar.Value(), At(12).DatePart());
    for (int iDay = 1; iDay <= 31; ++iDay) {
        EXPECT_EQ(oCalendar.Highlight(iDay), iDay == 3 || iDay == 12) << "day " << iDay;
    }
    EXPECT_EQ(oMain.tvwMain()->SelectedKey(), m_oWorld.FolderKey("1998/March/12"));
    EXPECT_EQ(oMain.lvwDaily()->Count(), 2); // the document and its program
    EXPECT_EQ(Status(), "2 objects");

    oCalendar.SetValue(At(13)); // no folder for that day
    EXPECT_EQ(oMain.lvwDaily()->Count(), 0);
    EXPECT_EQ(oMain.tvwMain()->SelectedKey(), "");
    EXPECT_EQ(Status(), "0 objects");
    EXPECT_TRUE(oMain.lblDailyEmpty()->isVisibleTo(&oMain));
    EXPECT_EQ(oMain.lblDailyEmpty()->text(), "No documents were opened on March 13, 1998.");

    // A new day filed in the month on show is marked at once.
    m_oWorld.OpenDocument("Memo.txt", At(15, 10, 5));
    m_oWorld.Tick(At(15, 10, 6));
    EXPECT_TRUE(oCalendar.Highlight(15));
}

TEST_F(MainWindow, ClickingADayMovesTheCalendarWithoutLoadingTheListTwice) {
    FMain& oMain = m_oWorld.Load();
    m_oWorld.OpenDocument("Report.txt", At(3));
    m_oWorld.Tick(At(15, 10, 0));
    const std::string sDay = m_oWorld.FolderKey("1998/March/03");
    int iDateChanges = 0;
    QObject::connect(oMain.calMain(), &CMonthCalendar::DateChange,
                     [&iDateChanges](CDateTime, CDateTime) { ++iDateChanges; });

    oMain.tvwMain()->SetSelectedKey(sDay);
    oMain.m_oDaily_TreeViewNodeClick(sDay);
    EXPECT_EQ(iDateChanges, 1);
    EXPECT_EQ(oMain.calMain()->Value(), At(3).DatePart());
    EXPECT_EQ(oMain.lvwDaily()->Count(), 2);
    EXPECT_EQ(Status(), "2 objects");

    // A month with children empties the list.
    oMain.m_oDaily_TreeViewNodeClick(m_oWorld.FolderKey("1998/March"));
    EXPECT_EQ(oMain.lvwDaily()->Count(), 0);
    EXPECT_EQ(Status(), "0 objects");
}

TEST_F(MainWindow, ColumnSortingIsSavedInTheDailyAndFavoritesGroups) {
    FMain& oMain = m_oWorld.Load();
    EXPECT_EQ(oMain.lvwDaily()->SortKey(), 1); // the design: by type
    EXPECT_EQ(m_oWorld.Setting("Daily", "Sort Column"), "1");
    emit oMain.lvwDaily()->ColumnClick(3);
    emit oMain.lvwDaily()->ColumnClick(3); // by path, descending
    emit oMain.lvwFavorites()->ColumnClick(4);

    FMain& oAgain = m_oWorld.Restart();
    EXPECT_EQ(m_oWorld.Setting("Daily", "Sort Column"), "2");
    EXPECT_EQ(m_oWorld.Setting("Daily", "Sort Order"), "1");
    EXPECT_EQ(m_oWorld.Setting("Favorites", "Sort Column"), "3");
    EXPECT_EQ(m_oWorld.Setting("Favorites", "Sort Order"), "0");
    EXPECT_EQ(oAgain.lvwDaily()->SortKey(), 2);
    EXPECT_EQ(oAgain.lvwDaily()->SortOrder(), CListView::Descending);
    EXPECT_EQ(oAgain.lvwFavorites()->SortKey(), 3);
}

TEST_F(MainWindow, BoundsStateViewAndStyleSurviveARestart) {
    FMain& oMain = m_oWorld.Load();
    // First run: the design defaults are written.
    EXPECT_EQ(m_oWorld.Setting("Window", "Visible"), "True");
    EXPECT_EQ(m_oWorld.Setting("Window", "Window State"), "0");
    EXPECT_EQ(m_oWorld.Setting("View", "Data"), "0");
    EXPECT_EQ(m_oWorld.Setting("View", "ListViews"), "3");

    oMain.move(120, 90);
    oMain.resize(640, 420);
    oMain.SetActiveView(FMain::ViewFavorites);
    oMain.SetListView(1);
    m_oWorld.Unload();
    EXPECT_EQ(m_oWorld.Setting("Window", "Left"), std::to_string(120 * 15));
    EXPECT_EQ(m_oWorld.Setting("Window", "Width"), std::to_string(640 * 15));

    FMain& oAgain = m_oWorld.Load();
    EXPECT_EQ(oAgain.pos(), QPoint(120, 90));
    EXPECT_EQ(oAgain.size(), QSize(640, 420));
    EXPECT_EQ(oAgain.ActiveView(), FMain::ViewFavorites);
    EXPECT_TRUE(oAgain.picFavorites()->isVisibleTo(&oAgain));
    EXPECT_FALSE(oAgain.picDaily()->isVisibleTo(&oAgain));
    EXPECT_EQ(oAgain.lvwDaily()->View(), 1);
    EXPECT_EQ(oAgain.lvwFavorites()->View(), 1);
    EXPECT_TRUE(oAgain.Actions().colStyle[1]->isChecked());
    EXPECT_FALSE(oAgain.sftToolbar(FMain::ButtonSmallIconView)->Enabled());

    // A maximised window keeps its last normal bounds.
    oAgain.setWindowState(Qt::WindowMaximized);
    m_oWorld.Unload();
    EXPECT_EQ(m_oWorld.Setting("Window", "Window State"), "2");
    EXPECT_EQ(m_oWorld.Setting("Window", "Width"), std::to_string(640 * 15));
}

TEST_F(MainWindow, AStoredHiddenWindowStartsInTheTray) {
    m_oWorld.SetSetting("Window", "Visible", "False");
    FMain& oMain = m_oWorld.Load();
    EXPECT_FALSE(oMain.isVisible());
    EXPECT_TRUE(oMain.Actions().pShow->isVisible());
    EXPECT_FALSE(oMain.Actions().pHide->isVisible());

    // Without a tray the window never hides, or nothing could bring it back.
    FMain& oNoTray = m_oWorld.Restart(false);
    EXPECT_TRUE(oNoTray.isVisible());
}

TEST_F(MainWindow, MinimisingAndClosingHideToTheTray) {
    FMain& oMain = m_oWorld.Load();
    ASSERT_TRUE(oMain.isVisible());
    QWindow& oNative = *oMain.windowHandle();
    oMain.setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(oMain.isVisible());
    EXPECT_FALSE(oNative.isVisible());
    EXPECT_FALSE(oMain.isMinimized()); // the next show is not minimised
    EXPECT_TRUE(oMain.Actions().pShow->isVisible());
    // On X11 a native window taken out of the minimised state is mapped again: hidden, it is
    // left as it was until it is shown.
    EXPECT_TRUE(oNative.windowStates().testFlag(Qt::WindowMinimized));

    oMain.Actions().pShow->trigger();
    EXPECT_TRUE(oMain.isVisible());
    EXPECT_TRUE(oNative.isVisible());
    EXPECT_EQ(oNative.windowStates() & ~Qt::WindowActive, Qt::WindowNoState);
    EXPECT_FALSE(oMain.isMinimized());
    EXPECT_TRUE(oMain.Actions().pHide->isVisible());

    // A maximised window comes back maximised; the close box hides it.
    oMain.setWindowState(Qt::WindowMaximized);
    oMain.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
    EXPECT_FALSE(oMain.isVisible());
    emit oMain.tryMain()->MouseUp(1);
    EXPECT_TRUE(oMain.isVisible());
    EXPECT_TRUE(oMain.isMaximized());
    EXPECT_EQ(oNative.windowStates() & ~Qt::WindowActive, Qt::WindowMaximized);
    EXPECT_FALSE(oMain.close());
    EXPECT_FALSE(oMain.isVisible());
}

TEST_F(MainWindow, AnEmptyFavoritesListSaysWhatItWaitsForAndWhereToChangeIt) {
    const auto Note = [this] {
        Main().Actions().pViewFavorites->trigger();
        QLabel& oNote = *Main().lblFavoritesEmpty();
        return oNote.isVisible() ? oNote.text().toStdString() : std::string();
    };
    m_oWorld.SetSetting("Options", "Favorites Threshold", "1");
    m_oWorld.Load();
    EXPECT_EQ(Note(), "No document has been used yet.\nDocuments are listed here once they reach "
                      "the Favorites Threshold, now 1 day.\nTo change the threshold, choose "
                      "Options on the View menu.");

    m_oWorld.SetSetting("Options", "Favorites Threshold", "3");
    m_oWorld.Restart();
    EXPECT_EQ(Note(), "No document has been used on 3 different days yet.\nDocuments are listed "
                      "here once they reach the Favorites Threshold, now 3 days.\nTo change the "
                      "threshold, choose Options on the View menu.");
    QLabel& oNote = *Main().lblFavoritesEmpty();
    EXPECT_GE(oNote.height(), oNote.heightForWidth(oNote.width())) << "no line is cut off";

    for (int iDay = 12; iDay <= 14; ++iDay) {
        m_oWorld.OpenDocument("Report.txt", At(iDay));
        m_oWorld.Tick(At(iDay, 10, 0));
    }
    ASSERT_EQ(Main().lvwFavorites()->Count(), 1);
    EXPECT_EQ(Note(), "");

    // A higher threshold empties the list again, and the note names it.
    m_oWorld.SetSetting("Options", "Favorites Threshold", "5");
    m_oWorld.Restart();
    EXPECT_THAT(Note(),
                ::testing::StartsWith("No document has been used on 5 different days yet."));
}

TEST_F(MainWindow, WithoutATrayClosingUnloadsAndSaves) {
    FMain& oMain = m_oWorld.Load(false);
    oMain.SetListView(2);
    int iUnloaded = 0;
    QObject::connect(&oMain, &FMain::Unloaded, [&iUnloaded] { ++iUnloaded; });
    oMain.setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(oMain.isVisible()); // minimised, not hidden: nothing could bring it back
    m_oWorld.World().Presenter().SetNextAnswer(MessageBox::AnswerYes); // exit Dayfold?
    EXPECT_TRUE(oMain.close());
    EXPECT_EQ(iUnloaded, 1);
    EXPECT_EQ(m_oWorld.Setting("View", "ListViews"), "2");
}

TEST_F(MainWindow, AWindowStoredOffEveryScreenComesBack) {
    m_oWorld.SetSetting("Window", "Left", "-450000");
    m_oWorld.SetSetting("Window", "Top", "900000");
    FMain& oMain = m_oWorld.Load();
    const QRect oScreen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(oScreen.contains(QRect(oMain.pos(), QSize(40, 20))))
        << oMain.pos().x() << "," << oMain.pos().y();
}

TEST_F(MainWindow, HandEditedSettingsKeepTheirDesignValues) {
    m_oWorld.SetSetting("Daily", "Name Width", "abc");
    m_oWorld.SetSetting("Daily", "Type Width", "-5");
    m_oWorld.SetSetting("Daily", "Path Width", "99999");
    m_oWorld.SetSetting("Daily", "Modified Width", "2000");
    m_oWorld.SetSetting("Daily", "Sort Column", "9");
    m_oWorld.SetSetting("Favorites", "Sort Order", "7");
    m_oWorld.SetSetting("View", "Data", "5");
    m_oWorld.SetSetting("View", "ListViews", "x");
    m_oWorld.SetSetting("Window", "Width", "-20");
    FMain& oMain = m_oWorld.Load();
    CListView& oList = *oMain.lvwDaily();
    EXPECT_EQ(oList.ColumnWidth(1), 2880);
    EXPECT_EQ(oList.ColumnWidth(2), 1440);
    EXPECT_EQ(oList.ColumnWidth(3), 2880);
    EXPECT_EQ(oList.ColumnWidth(4), 2000);
    EXPECT_EQ(oList.SortKey(), 1);
    EXPECT_EQ(oMain.lvwFavorites()->SortOrder(), 0);
    EXPECT_EQ(oMain.ActiveView(), FMain::ViewDaily);
    EXPECT_TRUE(oMain.picDaily()->isVisibleTo(&oMain));
    EXPECT_EQ(oList.View(), CListView::StyleDetails);
    EXPECT_GE(oMain.width(), 200);
}

TEST_F(MainWindow, AHandEditedRepositoryShowsWhatItCan) {
    const std::string sDaily = m_oWorld.World().DailyPath();
    fs::create_directories(sDaily + "/1998/March/15");
    fs::create_directories(sDaily + "/1998/Spring/02"); // a foreign month
    m_oWorld.World().Temp().WriteFile("Dayfold/Daily/1998/March/16", "a file, not a day");
    m_oWorld.World().Temp().WriteFile("Dayfold/Daily/1998/March/15/notes.txt", "no shortcut");
    m_oWorld.World().Temp().WriteFile("Dayfold/Daily/1998/March/15/Broken.txt.lnk", "garbage");
    CProgramWorld::MakeShortcut(sDaily + "/1998/March/15/Good.txt.lnk",
                                m_oWorld.World().Temp() / "docs/Good.txt");

    FMain& oMain = m_oWorld.Load();
    // Start-up prunes empty folders; one made later shows until the next start.
    fs::create_directories(sDaily + "/1997");
    oMain.RefreshDaily();
    CTreeView& oTree = *oMain.tvwMain();
    EXPECT_TRUE(oTree.Contains(m_oWorld.FolderKey("1997")));
    EXPECT_FALSE(oTree.Contains(m_oWorld.FolderKey("1998/Spring")));
    EXPECT_TRUE(oTree.Contains(m_oWorld.FolderKey("1998/March/16")));
    EXPECT_EQ(oTree.ChildKey(m_oWorld.FolderKey(""), 1), m_oWorld.FolderKey("1997"));

    // The first activation went to the latest real day folder.
    EXPECT_EQ(oMain.calMain()->Value(), At(15).DatePart());
    EXPECT_TRUE(oMain.calMain()->Highlight(15));
    EXPECT_TRUE(oMain.calMain()->Highlight(16));

    oMain.SelectDate(At(15));
    EXPECT_THAT(CWindowWorld::Column(*oMain.lvwDaily(), 0),
                ::testing::UnorderedElementsAre("Broken.txt", "Good.txt"));
    oMain.m_oDaily_TreeViewNodeClick(m_oWorld.FolderKey("1997")); // an empty year
    EXPECT_EQ(oMain.lvwDaily()->Count(), 0);
}

TEST_F(MainWindow, OneIconPerDocumentDrawnOncePerType) {
    FMain& oMain = m_oWorld.Load();
    const std::string sDocs = m_oWorld.World().Temp() / "docs";
    m_oWorld.OpenDocument("a.txt", At(15, 9, 0));
    m_oWorld.OpenDocument("b.txt", At(15, 9, 1));
    m_oWorld.OpenDocument("c.png", At(15, 9, 2));
    m_oWorld.World().MakeRecentShortcut("a again.lnk", sDocs + "/a.txt", At(15, 9, 3), sDocs);
    m_oWorld.Tick(At(15, 10, 0));
    const int iDrawn = oMain.FileIcons().DrawCount();

    oMain.SelectDate(At(15));
    CListView& oList = *oMain.lvwDaily();
    const std::string sDay = m_oWorld.FolderKey("1998/March/15");
    EXPECT_EQ(oList.ItemIcon(sDay + "/a.txt.lnk"), oList.ItemIcon(sDay + "/a again.lnk"));
    EXPECT_NE(oList.ItemIcon(sDay + "/a.txt.lnk"), oList.ItemIcon(sDay + "/b.txt.lnk"));
    // The generic document, three documents and the program filed beside them.
    EXPECT_EQ(oMain.imlMain(1)->Count(), 5);
    EXPECT_EQ(oMain.imlMain(2)->Count(), 5);
    EXPECT_EQ(oMain.imlMain(1)->Find("K" + sDocs + "/c.png"), oList.ItemIcon(sDay + "/c.png.lnk"));
    // Drawn once per type: text, image and the program's.
    EXPECT_EQ(oMain.FileIcons().DrawCount(), iDrawn + 3);
    EXPECT_EQ(oMain.DailyImageListIndex("x.lnk", ""), 1);

    // Another day starts the cache afresh.
    oMain.SelectDate(At(14));
    EXPECT_EQ(oMain.imlMain(1)->Count(), 1);
}

TEST_F(MainWindow, MenusHaveTheirCaptionsInOrderAndShareTheirCommands) {
    FMain& oMain = m_oWorld.Load();
    const auto Captions = [](const QMenu* pMenu) {
        std::vector<std::string> colCaptions;
        for (const QAction* pAction : pMenu->actions()) {
            colCaptions.push_back(pAction->isSeparator() ? "-" : pAction->text().toStdString());
        }
        return colCaptions;
    };
    EXPECT_THAT(Captions(oMain.mnuDayfold()),
                ElementsAre("S&uspend", "Suspend for 1 h&our", "&Resume", "&Hide", "-", "E&xit"));
    EXPECT_THAT(Captions(oMain.mnuView()),
                ElementsAre("D&aily", "&Favorites", "&Year at a Glance", "-", "Lar&ge Icons",
                            "S&mall Icons", "&List", "&Details", "-", "Arrange &Icons", "-",
                            "&Options"));
    EXPECT_THAT(Captions(oMain.mnuViewArrange()),
                ElementsAre("by &Name", "by &Type", "-", "&Auto Arrange"));
    EXPECT_THAT(
        Captions(oMain.mnuTools()),
        ElementsAre("&Explore", "&Open", "-", "&Rebuild Favorites", "Re&move Missing Links"));
    EXPECT_THAT(
        Captions(oMain.mnuHelp()),
        ElementsAre("&Dayfold Help Topics", "-", "&QuillonSoft Online", "-", "&About Dayfold"));
    EXPECT_THAT(Captions(oMain.mnuListView()),
                ElementsAre("&Open", "-", "&View", "-", "Arrange &Icons"));
    EXPECT_THAT(Captions(oMain.mnuTray()),
                ElementsAre("&Show", "&Hide", "S&uspend", "Suspend for 1 h&our", "&Resume", "-",
                            "&About Dayfold", "-", "E&xit"));
    EXPECT_FALSE(oMain.Actions().pResume->isVisible());
}

TEST_F(MainWindow, AutoArrangeFromEitherMenuSwitchesBothListsOnAndOff) {
    FMain& oMain = m_oWorld.Load();
    QAction& oAuto = *oMain.Actions().pAutoArrange;
    // One action in both arrange submenus: one check mark.
    ASSERT_TRUE(oMain.mnuViewArrange()->actions().contains(&oAuto));
    ASSERT_TRUE(
        oMain.mnuListView()->findChild<QMenu*>("mnuListArrange")->actions().contains(&oAuto));
    EXPECT_FALSE(oAuto.isChecked());

    oAuto.trigger(); // as the menu item does
    EXPECT_TRUE(oAuto.isChecked());
    EXPECT_EQ(oMain.lvwDaily()->Arrange(), CListView::ArrangeTop);
    EXPECT_EQ(oMain.lvwFavorites()->Arrange(), CListView::ArrangeTop);

    oAuto.trigger();
    EXPECT_FALSE(oAuto.isChecked());
    EXPECT_EQ(oMain.lvwDaily()->Arrange(), CListView::ArrangeNone);
    EXPECT_EQ(oMain.lvwFavorites()->Arrange(), CListView::ArrangeNone);

    // The routine itself switches too, and the mark follows.
    oMain.ArrangeIcons(3);
    EXPECT_TRUE(oAuto.isChecked());
    EXPECT_EQ(oMain.lvwFavorites()->Arrange(), CListView::ArrangeTop);
}

TEST_F(MainWindow, TheActiveViewAndStyleKeepMenusAndButtonsInStep) {
    FMain& oMain = m_oWorld.Load();
    const FMain::SActions& a = oMain.Actions();
    EXPECT_TRUE(a.pViewDaily->isChecked());
    EXPECT_FALSE(oMain.sftToolbar(FMain::ButtonDailyView)->Enabled());
    EXPECT_TRUE(oMain.sftToolbar(FMain::ButtonFavoritesView)->Enabled());
    EXPECT_FALSE(oMain.sftToolbar(FMain::ButtonExploreFolder)->Enabled());

    oMain.SetActiveView(FMain::ViewFavorites);
    EXPECT_EQ(oMain.windowTitle(), "Dayfold - Favorites");
    EXPECT_TRUE(a.pViewFavorites->isChecked());
    EXPECT_FALSE(a.pViewDaily->isChecked());
    EXPECT_FALSE(oMain.sftToolbar(FMain::ButtonFavoritesView)->Enabled());
    EXPECT_TRUE(oMain.sftToolbar(FMain::ButtonDailyView)->Enabled());

    // The folder buttons follow the folder commands.
    oMain.SetExploreOpen(true);
    EXPECT_TRUE(oMain.sftToolbar(FMain::ButtonExploreFolder)->Enabled());
    EXPECT_TRUE(oMain.sftToolbar(FMain::ButtonOpenFolder)->Enabled());

    oMain.SetListView(0);
    EXPECT_TRUE(a.colStyle[0]->isChecked());
    EXPECT_FALSE(a.colStyle[3]->isChecked());
    EXPECT_FALSE(oMain.sftToolbar(FMain::ButtonLargeIconView)->Enabled());
    EXPECT_TRUE(oMain.sftToolbar(FMain::ButtonDetailView)->Enabled());

    oMain.SetActive(false);
    EXPECT_FALSE(oMain.tmrMain()->Enabled());
    EXPECT_TRUE(SameIcon(oMain.tryMain()->TrayIcon(), MIcons::TraySuspended));
    EXPECT_TRUE(a.pResume->isVisible());
    EXPECT_FALSE(a.pSuspend->isVisible());
    oMain.SetActive(true);
    EXPECT_TRUE(oMain.tmrMain()->Enabled());
    EXPECT_TRUE(SameIcon(oMain.tryMain()->TrayIcon(), MIcons::TrayIdle));
}

TEST_F(MainWindow, ResizingLaysTheViewsOutInTheClientArea) {
    FMain& oMain = m_oWorld.Load();
    oMain.resize(700, 500);
    const std::int32_t lClientWidth = MTwips::FromPixels(oMain.centralWidget()->width());
    EXPECT_EQ(MTwips::Width(*oMain.picDaily()), lClientWidth - 30);
    EXPECT_EQ(MTwips::Width(*oMain.picFavorites()), lClientWidth - 30);
    // The day list reaches 30 twips past the container's right edge.
    EXPECT_EQ(oMain.lvwDaily()->Left() + oMain.lvwDaily()->Width(),
              MTwips::Width(*oMain.picDaily()) + 30);
    EXPECT_EQ(oMain.lvwFavorites()->Width(), MTwips::Width(*oMain.picFavorites()));
}

} // namespace
