// The main window's commands as the user gives them: menus, the toolbar, the tray icon and the
// lists' own events, with real widgets and an answerer for every message box.
#include "aboutbox/AboutBox.h"
#include "app/core/MDayfold.h"
#include "app/options/FOptions.h"
#include "app/resources/MIcons.h"
#include "app/views/CFavorites.h"
#include "app/window/CWindowWorld.h"
#include "platform/controls/CListView.h"
#include "platform/controls/CStatusBar.h"
#include "platform/controls/CTimer.h"
#include "platform/controls/CToolbarButton.h"
#include "platform/controls/CTrayIcon.h"
#include "platform/controls/CTreeView.h"
#include "platform/shell/CArgumentRecorder.h"
#include "platform/shell/CHelp.h"
#include "platform/shell/CHelpWindow.h"
#include "platform/shell/CShellExecute.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWhatsThis>

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

CDateTime At(int iDay, int iHour = 9, int iMinute = 30) {
    return CDateTime::FromParts(1998, 3, iDay, iHour, iMinute, 0);
}

// Runs fn inside the next modal dialog's own loop, then closes that dialog as Escape would.
void InNextDialog(std::function<void(QWidget&)> fn) {
    QTimer::singleShot(0, [fn] {
        if (QWidget* pDialog = QApplication::activeModalWidget()) {
            fn(*pDialog);
            if (pDialog->isVisible()) {
                pDialog->close();
            }
        }
    });
}

// Lets posted events (the Exit command's close, a deferred unload) run; no waiting.
void RunPosted() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

class Commands : public ::testing::Test {
protected:
    Commands() {
        m_oWorld.World().Clock().SetNow(At(15, 10, 0));
        // Not a first run: no welcome box.
        m_oWorld.SetSetting("Options", "Purge Age", "30");
        m_oWorld.World().Temp().WriteFile("docs/Report.txt", "report");
        chmod(m_oWorld.World().NotepadPath().c_str(), 0755);
    }

    FMain& Main() { return m_oWorld.Main(); }
    CProgramWorld& World() { return m_oWorld.World(); }
    CRecordingPresenter& Boxes() { return World().Presenter(); }
    std::string Day(int iDay) const {
        return m_oWorld.FolderKey("1998/March/" + At(iDay).DayText());
    }
    std::string LastBox() {
        return Boxes().Shown().empty() ? std::string() : Boxes().Shown().back().sText;
    }
    // A document filed on the 15th, selected in the day list; its item key.
    std::string FileAndSelect(const std::string& sName, const std::string& sTarget = "") {
        m_oWorld.OpenDocument(sName, At(15), sTarget);
        m_oWorld.Tick(At(15, 10, 0));
        Main().SelectDate(At(15));
        const std::string sKey = Day(15) + "/" + sName + ".lnk";
        Main().lvwDaily()->SetSelectedKey(sKey);
        return sKey;
    }
    void DoubleClick(CListView& oList, const std::string& sKey) {
        oList.SetSelectedKey(sKey);
        emit oList.DblClick();
    }

    CWindowWorld m_oWorld;
};

TEST_F(Commands, ASuccessfulOpenPutsTheShortcutBackIntoTheRecentFolder) {
    m_oWorld.Load();
    const std::string sKey = FileAndSelect("Report.txt");
    const std::string sRecentCopy = World().RecentFolder() + "/Report.txt.lnk";
    fs::remove(sRecentCopy); // the desktop forgot it

    World().Clock().SetNow(At(20, 8, 0));
    DoubleClick(*Main().lvwDaily(), sKey);
    EXPECT_TRUE(Boxes().Shown().empty()) << LastBox() << World().ErrorLog();
    ASSERT_TRUE(fs::exists(sRecentCopy));
    EXPECT_EQ(CTempFolder::ReadFile(sRecentCopy), CTempFolder::ReadFile(sKey.substr(1)));
    EXPECT_EQ(CProgramWorld::Modified(sRecentCopy), At(20, 8, 0)) << "written now";
    EXPECT_EQ(Main().sbrMain()->SimpleText(), "2 objects");

    m_oWorld.Tick(At(20, 8, 1));
    EXPECT_TRUE(fs::exists(World().DailyPath() + "/1998/March/20/Report.txt.lnk"))
        << "the next poll files it under the day it was opened";
}

TEST_F(Commands, EachFailureToOpenHasItsOwnAnswerAndCopiesNothingBack) {
    m_oWorld.Load();
    // No program for the type.
    World().Temp().WriteFile("docs/Plan.xyz", "plan");
    DoubleClick(*Main().lvwDaily(), FileAndSelect("Plan.xyz"));
    EXPECT_EQ(LastBox(), "Document of this file type\r\nare no longer associated with a program.");
    EXPECT_EQ(Boxes().Shown().back().iStyle, MessageBox::OkOnly + MessageBox::Information);

    // A program the system cannot run.
    const std::string sBroken = World().Temp().WriteFile("bin/broken", "not a program");
    chmod(sBroken.c_str(), 0755);
    World().FileTypes().SetDefaultValue(".dat", "datfile");
    World().FileTypes().SetDefaultValue("datfile\\shell\\open\\command", sBroken + " %1");
    World().Temp().WriteFile("docs/Data.dat", "data");
    const std::string sData = FileAndSelect("Data.dat");
    fs::remove(World().RecentFolder() + "/Data.dat.lnk");
    DoubleClick(*Main().lvwDaily(), sData);
    EXPECT_EQ(LastBox(), "An operating system error occurred.");
    EXPECT_FALSE(fs::exists(World().RecentFolder() + "/Data.dat.lnk")) << "nothing was opened";

    // The document's folder is gone.
    const std::string sKey = FileAndSelect("Gone.txt", World().Temp() / "moved/Gone.txt");
    Boxes().SetNextAnswer(MessageBox::AnswerNo);
    DoubleClick(*Main().lvwDaily(), sKey);
    EXPECT_EQ(LastBox(),
              "The path " + (World().Temp() / "moved/") + "\r\nwas not found. Remove this link?");
    EXPECT_EQ(Boxes().Shown().back().iStyle, MessageBox::YesNo + MessageBox::Question);
    EXPECT_EQ(Boxes().Shown().back().sCaption, "Dayfold");
    EXPECT_TRUE(Main().lvwDaily()->Contains(sKey)) << "No keeps the link";
    EXPECT_TRUE(fs::exists(sKey.substr(1)));
}

TEST_F(Commands, EnterOpensADocumentOnceWhenItsBoxIsClosedWithEnter) {
    m_oWorld.Load();
    // The document's folder is gone: opening it asks whether to remove the link.
    const std::string sKey = FileAndSelect("Gone.txt", World().Temp() / "moved/Gone.txt");
    QWidget& oList = *Main().lvwDaily()->focusProxy();
    QTest::keyPress(&oList, Qt::Key_Return);
    QTest::keyRelease(&oList, Qt::Key_Return);
    ASSERT_EQ(Boxes().Shown().size(), 1u);
    EXPECT_THAT(LastBox(), HasSubstr("was not found. Remove this link?"));

    // The box closed on Enter's press (answered No); the key's release lands on the list.
    QTest::keyRelease(&oList, Qt::Key_Return);
    EXPECT_EQ(Boxes().Shown().size(), 1u) << "the box must not open again";

    // Enter on the list itself still opens it.
    QTest::keyClick(&oList, Qt::Key_Return);
    EXPECT_EQ(Boxes().Shown().size(), 2u);
    EXPECT_TRUE(Main().lvwDaily()->Contains(sKey));
}

TEST_F(Commands, YesToAMissingDocumentRemovesEveryCopyTheEntryAndEmptyFolders) {
    m_oWorld.Load();
    // The only document of the 12th, of a type without a program: nothing else in its day.
    World().Temp().WriteFile("docs/Old.xyz", "old");
    m_oWorld.OpenDocument("Old.xyz", At(12));
    m_oWorld.Tick(At(15, 10, 0));
    Main().SelectDate(At(12));
    const std::string sKey = Day(12) + "/Old.xyz.lnk";
    ASSERT_TRUE(Main().lvwDaily()->Contains(sKey));
    fs::remove(World().Temp() / "docs/Old.xyz");

    Boxes().SetNextAnswer(MessageBox::AnswerYes);
    DoubleClick(*Main().lvwDaily(), sKey);
    EXPECT_EQ(LastBox(), "The document " + (World().Temp() / "docs/Old.xyz") +
                             "\r\nwas not found. Remove this link?");
    EXPECT_FALSE(fs::exists(sKey.substr(1)));
    EXPECT_FALSE(fs::exists(World().RecentFolder() + "/Old.xyz.lnk"));
    EXPECT_FALSE(Main().lvwDaily()->Contains(sKey));
    EXPECT_FALSE(fs::exists(World().DailyPath() + "/1998")) << "day, month and year were empty";
    EXPECT_FALSE(Main().tvwMain()->Contains(m_oWorld.FolderKey("1998")));
    EXPECT_EQ(World().ErrorLog(), "") << "removing a link is no error";
}

TEST_F(Commands, RemovingADayOfAFavoriteRecountsItsDays) {
    m_oWorld.Load();
    // A type without a program: no program shortcut is filed beside it, and none is counted.
    World().Temp().WriteFile("docs/Plan.xyz", "plan");
    for (int iDay = 12; iDay <= 14; ++iDay) {
        m_oWorld.OpenDocument("Plan.xyz", At(iDay));
        m_oWorld.Tick(At(iDay, 10, 0));
    }
    CListView& oFavorites = *Main().lvwFavorites();
    ASSERT_EQ(oFavorites.Count(), 1);
    // The day list's copy of the 13th is not the one the Favorites list shows.
    const std::string sKey = Day(13) + "/Plan.xyz.lnk";
    Main().SelectDate(At(13));
    fs::rename(World().Temp() / "docs", World().Temp() / "elsewhere");
    fs::create_directories(World().Temp() / "docs");
    Boxes().SetNextAnswer(MessageBox::AnswerYes);
    DoubleClick(*Main().lvwDaily(), sKey);

    EXPECT_EQ(oFavorites.Count(), 0) << "two days of use are below the threshold";
    CFavorites oStored;
    oStored.SetAppPath(World().AppPath());
    oStored.SetDailyFolder("Daily");
    oStored.Read();
    ASSERT_EQ(oStored.Count(), 1);
    EXPECT_EQ(oStored.GetFavorites()[0].DaysAccessed, 2) << "the rebuilt counts were saved";
}

TEST_F(Commands, CloseBoxHidesAndExitFromTheTraySavesEverything) {
    FMain& oMain = m_oWorld.Load();
    m_oWorld.OpenDocument("Report.txt", At(15));
    m_oWorld.Tick(At(15, 10, 0));
    oMain.move(100, 80);
    oMain.resize(700, 450);
    oMain.Actions().pViewFavorites->trigger();
    oMain.Actions().colStyle[2]->trigger();
    oMain.lvwDaily()->SetColumnWidth(3, 2500);
    int iUnloaded = 0;
    QObject::connect(&oMain, &FMain::Unloaded, [&iUnloaded] { ++iUnloaded; });

    EXPECT_FALSE(oMain.close());
    EXPECT_FALSE(oMain.isVisible());
    EXPECT_EQ(m_oWorld.Setting("View", "Data"), "0") << "hiding saves nothing";

    emit oMain.tryMain()->MouseUp(2); // the tray menu, then its Exit
    oMain.Actions().pExit->trigger();
    EXPECT_EQ(iUnloaded, 0) << "the close is posted";
    RunPosted();
    EXPECT_EQ(iUnloaded, 1);
    EXPECT_EQ(m_oWorld.Setting("Window", "Visible"), "False");
    EXPECT_EQ(m_oWorld.Setting("Window", "Left"), std::to_string(100 * 15));
    EXPECT_EQ(m_oWorld.Setting("View", "Data"), "1");
    EXPECT_EQ(m_oWorld.Setting("View", "ListViews"), "2");
    EXPECT_EQ(m_oWorld.Setting("Daily", "Path Width"), "2500");
    EXPECT_EQ(m_oWorld.Setting("Favorites", "Sort Column"), "1");
    EXPECT_THAT(CTempFolder::ReadFile(World().AppPath() + "/Favorites.dat"),
                HasSubstr("Report.txt"));

    FMain& oAgain = m_oWorld.Load();
    EXPECT_FALSE(oAgain.isVisible()) << "it was in the tray";
    EXPECT_EQ(oAgain.ActiveView(), FMain::ViewFavorites);
    EXPECT_EQ(oAgain.lvwDaily()->View(), 2);
    EXPECT_EQ(oAgain.lvwDaily()->ColumnWidth(3), 2500);
    EXPECT_EQ(oAgain.size(), QSize(700, 450));
}

TEST_F(Commands, SuspendAndResumeSwapTheirItemsAndStopAndStartCapture) {
    FMain& oMain = m_oWorld.Load();
    const FMain::SActions& a = oMain.Actions();
    a.pSuspend->trigger();
    EXPECT_FALSE(oMain.tmrMain()->Enabled());
    EXPECT_FALSE(a.pSuspend->isVisible());
    EXPECT_TRUE(a.pResume->isVisible());
    // One action in the program menu and the tray menu: both swap.
    EXPECT_TRUE(oMain.mnuTray()->actions().contains(a.pResume));
    EXPECT_TRUE(oMain.mnuDayfold()->actions().contains(a.pResume));
    const QImage oSuspended = QIcon(MIcons::TraySuspended).pixmap(16).toImage();
    EXPECT_EQ(oMain.tryMain()->TrayIcon().pixmap(16).toImage(), oSuspended);

    m_oWorld.OpenDocument("Report.txt", At(15));
    a.pResume->trigger(); // files at once
    EXPECT_TRUE(oMain.tmrMain()->Enabled());
    EXPECT_TRUE(a.pSuspend->isVisible());
    EXPECT_FALSE(a.pResume->isVisible());
    EXPECT_TRUE(oMain.tvwMain()->Contains(Day(15)));
}

TEST_F(Commands, TheTrayIconTogglesTheWindowAndOffersTheOtherAsDefault) {
    FMain& oMain = m_oWorld.Load();
    ASSERT_TRUE(oMain.isVisible());
    emit oMain.tryMain()->MouseUp(2);
    EXPECT_TRUE(oMain.mnuTray()->isVisible());
    EXPECT_EQ(oMain.mnuTray()->defaultAction(), oMain.Actions().pHide);
    oMain.mnuTray()->close();

    emit oMain.tryMain()->MouseUp(1);
    EXPECT_FALSE(oMain.isVisible());
    EXPECT_TRUE(oMain.Actions().pShow->isVisible());
    emit oMain.tryMain()->MouseUp(2);
    EXPECT_EQ(oMain.mnuTray()->defaultAction(), oMain.Actions().pShow);
    oMain.mnuTray()->close();
    emit oMain.tryMain()->MouseUp(1);
    EXPECT_TRUE(oMain.isVisible());
}

TEST_F(Commands, HelpTopicsMainWindowHelpAndWhatsThis) {
    FMain& oMain = m_oWorld.Load();
    const auto Page = [&] {
        return m_oWorld.Help().Window()->CurrentUrl().fileName().toStdString();
    };
    oMain.Actions().pHelpTopics->trigger();
    EXPECT_EQ(Page(), "index.html");
    oMain.sftToolbar(FMain::ButtonMainWindowHelp)->click();
    EXPECT_EQ(Page(), "main-window-help.html");
    oMain.sftToolbar(FMain::ButtonWhatsThisHelp)->click();
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
    EXPECT_FALSE(oMain.sftToolbar(FMain::ButtonDailyView)->WhatsThisText().empty());
}

TEST_F(Commands, TheFolderButtonsKeepTheirWhatsThisWhenTheyAreEnabled) {
    FMain& oMain = m_oWorld.Load();
    const auto Topic = [&](int iTopic) {
        return m_oWorld.Help().WhatsThisText(iTopic).toStdString();
    };
    ASSERT_FALSE(Topic(19).empty());
    ASSERT_NE(Topic(19), Topic(20));
    CToolbarButton& oExplore = *oMain.sftToolbar(FMain::ButtonExploreFolder);
    CToolbarButton& oOpen = *oMain.sftToolbar(FMain::ButtonOpenFolder);

    // A click on a document enables them, loading the day again disables them.
    const std::string sKey = FileAndSelect("Report.txt");
    emit oMain.lvwDaily()->ItemClick(sKey);
    ASSERT_TRUE(oExplore.Enabled());
    EXPECT_EQ(oExplore.WhatsThisText(), Topic(19));
    EXPECT_EQ(oOpen.WhatsThisText(), Topic(20));
    oMain.SelectDate(At(15));
    ASSERT_FALSE(oOpen.Enabled());
    EXPECT_EQ(oExplore.WhatsThisText(), Topic(19));
    EXPECT_EQ(oOpen.WhatsThisText(), Topic(20));
    EXPECT_EQ(oExplore.WhatsThisHelpID(), 19);
    EXPECT_EQ(oMain.sftToolbar(FMain::ButtonMainWindowHelp)->WhatsThisText(), Topic(4));
}

TEST_F(Commands, TheOnlinePageOpensInTheDefaultBrowserOrTheFailureIsTold) {
    FMain& oMain = m_oWorld.Load();
    oMain.Actions().pOnline->trigger();
    EXPECT_EQ(LastBox(),
              std::string("An error occurred loading a Web page.\n\nNo web browser could be "
                          "started for ") +
                  FMain::OnlineAddress);

    CArgumentRecorder oBrowser(World().Temp(), "browser");
    World().FileTypes().SetDefaultValue("x-scheme-handler/https\\shell\\open\\command",
                                        "\"" + oBrowser.Program() + "\" %u");
    const size_t nBoxes = Boxes().Shown().size();
    oMain.Actions().pOnline->trigger();
    const std::vector<std::string> colArguments = oBrowser.Wait();
    ASSERT_EQ(colArguments.size(), 2u);
    EXPECT_EQ(colArguments[1], FMain::OnlineAddress);
    EXPECT_EQ(Boxes().Shown().size(), nBoxes);
}

TEST_F(Commands, AboutShowsTheVersionOfTheProgram) {
    FMain& oMain = m_oWorld.Load();
    std::string sVersion;
    InNextDialog([&](QWidget& oDialog) {
        for (const QLabel* pLabel : oDialog.findChildren<QLabel*>()) {
            if (pLabel->text().startsWith("Version: ")) {
                sVersion = pLabel->text().toStdString();
            }
        }
    });
    oMain.Actions().pAbout->trigger();
    EXPECT_EQ(sVersion, "Version: " DAYFOLD_PROJECT_VERSION);
    EXPECT_FALSE(m_oWorld.AboutBox().Icon().isNull()) << "the window's icon";
}

TEST_F(Commands, OptionsFromTheViewMenuApplyAThresholdAtOnce) {
    FMain& oMain = m_oWorld.Load();
    m_oWorld.OpenDocument("Report.txt", At(15));
    m_oWorld.Tick(At(15, 10, 0));
    ASSERT_EQ(oMain.lvwFavorites()->Count(), 0);
    InNextDialog([](QWidget& oDialog) {
        FOptions& oOptions = dynamic_cast<FOptions&>(oDialog);
        oOptions.txtOptions(FOptions::RowFavoritesThreshold)->setText("1");
        oOptions.cmdOptions_Click(0); // OK
    });
    oMain.Actions().pOptions->trigger();
    EXPECT_EQ(oMain.FavoritesThreshold(), 1);
    EXPECT_EQ(oMain.lvwFavorites()->Count(), 1);
    EXPECT_EQ(m_oWorld.Setting("Options", "Favorites Threshold"), "1");
}

TEST_F(Commands, TheFolderCommandsAndOpenActOnTheActiveViewsDocument) {
    CArgumentRecorder oFiles(World().Temp(), "files");
    World().FileTypes().SetDefaultValue("inode/directory\\shell\\open\\command",
                                        "\"" + oFiles.Program() + "\" %f");
    FMain& oMain = m_oWorld.Load();
    World().FileTypes().SetDefaultValue(".md", "mdfile");
    World().Temp().WriteFile("elsewhere/Notes.md", "notes");
    World().Temp().WriteFile("docs/Report.txt", "report");
    for (int iDay = 12; iDay <= 14; ++iDay) {
        m_oWorld.OpenDocument("Notes.md", At(iDay), World().Temp() / "elsewhere/Notes.md");
        m_oWorld.Tick(At(iDay, 10, 0));
    }
    const std::string sReport = FileAndSelect("Report.txt");

    oMain.Actions().pViewFavorites->trigger();
    EXPECT_FALSE(oMain.Actions().pOpenFolder->isEnabled()) << "no favorite is selected yet";
    CListView& oFavorites = *oMain.lvwFavorites();
    ASSERT_EQ(oFavorites.Count(), 1);
    oFavorites.SetSelectedKey(oFavorites.KeyAt(1));
    emit oFavorites.ItemClick(oFavorites.KeyAt(1));
    ASSERT_TRUE(oMain.sftToolbar(FMain::ButtonOpenFolder)->Enabled());
    oMain.sftToolbar(FMain::ButtonOpenFolder)->click();
    const std::vector<std::string> colArguments = oFiles.Wait();
    ASSERT_EQ(colArguments.size(), 2u);
    EXPECT_EQ(colArguments[1], World().Temp() / "elsewhere") << "the favorite's folder";

    // The list menu's Open opens the favorite, not the day list's selection.
    fs::remove(World().Temp() / "elsewhere/Notes.md");
    oMain.Actions().pListOpen->trigger();
    EXPECT_THAT(LastBox(), HasSubstr("elsewhere/Notes.md\r\nwas not found"));
    EXPECT_TRUE(oMain.lvwDaily()->Contains(sReport));
}

TEST_F(Commands, ThePurgeMenuOfADayRemovesItAndRecountsTheFavorites) {
    FMain& oMain = m_oWorld.Load();
    for (int iDay = 12; iDay <= 14; ++iDay) {
        m_oWorld.OpenDocument("Report.txt", At(iDay));
        m_oWorld.Tick(At(iDay, 10, 0));
    }
    ASSERT_EQ(oMain.lvwFavorites()->Count(), 1);
    // A right-click on a month opens nothing; on a day, the menu for that day.
    emit oMain.tvwMain()->MouseUp(2, 0, 100, 100, m_oWorld.FolderKey("1998/March"));
    EXPECT_FALSE(oMain.mnuTree()->isVisible());
    emit oMain.tvwMain()->MouseUp(2, 0, 100, 100, Day(13));
    EXPECT_TRUE(oMain.mnuTree()->isVisible());
    EXPECT_EQ(oMain.tvwMain()->SelectedKey(), Day(13));
    EXPECT_EQ(oMain.lvwDaily()->Count(), 2) << "the day is shown";
    oMain.mnuTree()->close();

    oMain.Actions().pPurge->trigger();
    EXPECT_FALSE(fs::exists(Day(13).substr(1)));
    EXPECT_FALSE(oMain.tvwMain()->Contains(Day(13)));
    EXPECT_TRUE(oMain.tvwMain()->Contains(Day(12)));
    EXPECT_EQ(oMain.lvwFavorites()->Count(), 0) << "two days left";
    EXPECT_EQ(oMain.sbrMain()->SimpleText(), "0 objects");
    EXPECT_TRUE(Boxes().Shown().empty()) << "no question for one day: " << LastBox();
}

TEST_F(Commands, TheListMenuOpensAtTheClickAndOnlyWithASelection) {
    FMain& oMain = m_oWorld.Load();
    CListView& oList = *oMain.lvwDaily();
    emit oList.MouseUp(2, 0, 300, 300);
    EXPECT_FALSE(oMain.mnuListView()->isVisible());
    FileAndSelect("Report.txt");
    emit oList.MouseUp(2, 0, 300, 300);
    EXPECT_TRUE(oMain.mnuListView()->isVisible());
    oMain.mnuListView()->close();
}

} // namespace
