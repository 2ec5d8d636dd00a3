// The program's start and end: MDayfold::Main and its order, one instance per user, the
// welcome box of a first run, the start-up purge, the first filing, the window restored or left
// in the tray, the desktop without a tray, and the ways the program is closed for good.
#include "aboutbox/AboutBox.h"
#include "app/CProgramWorld.h"
#include "app/core/CAssert.h"
#include "app/core/MDayfold.h"
#include "app/repository/CRepository.h"
#include "app/views/CFavorites.h"
#include "app/window/CWindowProgram.h"
#include "app/window/CWindowWorld.h"
#include "platform/controls/CListView.h"
#include "platform/controls/CStatusBar.h"
#include "platform/controls/CTreeView.h"
#include "platform/registry/CFileTypeTable.h"
#include "platform/shell/CFixedClock.h"
#include "platform/shell/CHelp.h"
#include "platform/shell/CHelpWindow.h"
#include "platform/shell/CSingleInstance.h"
#include "support/CRecordingPresenter.h"
#include "support/CTempFolder.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <csignal>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

CDateTime At(int iMonth, int iDay, int iHour = 9) {
    return CDateTime::FromParts(1998, iMonth, iDay, iHour, 30, 0);
}

void RunPosted() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

// A program started as MDayfold::Main starts it, in a temporary home: the test's clock, message
// boxes and file types, its own lock file, and a desktop with or without a tray.
class CStartWorld {
public:
    explicit CStartWorld(bool bTray = true) {
        m_oEnvironment.sAppPath = m_oTemp / "Dayfold";
        m_oEnvironment.sSettingsFile = m_oTemp / "config/Dayfold.reg";
        m_oEnvironment.pFileTypes = &m_oFileTypes;
        m_oEnvironment.pClock = &m_oClock;
        m_oEnvironment.pPresenter = &m_oPresenter;
        m_oEnvironment.sLockFile = m_oTemp / "dayfold.lock";
        fs::create_directories(m_oEnvironment.sAppPath);
        fs::create_directories(m_oTemp / "Recent");
        m_oStart.sRecentFolder = m_oTemp / "Recent";
        m_oStart.pFileTypes = &m_oFileTypes;
        m_oStart.obTrayAvailable = bTray;
    }
    ~CStartWorld() {
        m_pProgram.reset();
        if (MDayfold::GlobalsCreated()) {
            MDayfold::ReleaseGlobals();
        }
    }

    MDayfold::EStart Start() {
        m_pProgram = std::make_unique<CWindowProgram>(m_oEnvironment, m_oStart);
        return m_pProgram->Start();
    }
    // Not a first run: the options are stored.
    void StoreOptions(const std::string& sPurgeAge = "30") {
        m_oTemp.WriteFile("config/Dayfold.reg",
                          "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Quillon]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold]\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\n"
                          "\"Purge Age\"=\"" +
                              sPurgeAge +
                              "\"\n\n"
                              // The temporary folder is private by default.
                              "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Privacy]\n"
                              "\"Folder 1\"=\"/nowhere\"\n");
    }
    std::string Settings() const { return CTempFolder::ReadFile(m_oEnvironment.sSettingsFile); }

    CTempFolder m_oTemp;
    CFixedClock m_oClock{At(3, 15, 10)};
    CRecordingPresenter m_oPresenter;
    CFileTypeTable m_oFileTypes;
    MDayfold::SEnvironment m_oEnvironment;
    FMain::SStart m_oStart;
    std::unique_ptr<CWindowProgram> m_pProgram;
};

TEST(Startup, MainCreatesTheObjectsInOrderAndAFailedStartCleansUp) {
    CStartWorld oWorld;
    std::vector<std::string> colSteps;
    MDayfold::SWindowSteps oSteps;
    oSteps.ShowSplash = [&] {
        colSteps.push_back(MDayfold::GlobalsCreated() ? "splash!" : "splash");
    };
    oSteps.SetHelpFile = [&] { colSteps.push_back("help"); };
    oSteps.CreateAboutBox = [&] {
        // The event log is open by now: an assertion reaches it.
        MDayfold::Assert().Assert(false, "about box after the event log");
        colSteps.push_back("about box");
    };
    oSteps.LoadMainWindow = [&] {
        colSteps.push_back("window in " + MDayfold::Repository().DailyPath());
        throw std::runtime_error("no window");
    };
    oSteps.ReleaseAboutBox = [&] { colSteps.push_back("release about box"); };
    oSteps.UnloadSplash = [&] {
        colSteps.push_back(MDayfold::GlobalsCreated() ? "unload splash!" : "unload splash");
    };

    EXPECT_EQ(MDayfold::Main(oWorld.m_oEnvironment, oSteps), MDayfold::EStart::Failed);
    EXPECT_THAT(colSteps, ElementsAre("splash", "help", "about box",
                                      "window in " + oWorld.m_oEnvironment.sAppPath + "/Daily",
                                      "release about box", "unload splash"));
    ASSERT_EQ(oWorld.m_oPresenter.Shown().size(), 1u);
    EXPECT_THAT(oWorld.m_oPresenter.Shown()[0].sText,
                HasSubstr("An error occurred starting the program."));
    EXPECT_THAT(CTempFolder::ReadFile(oWorld.m_oEnvironment.sAppPath + "/EventLog.txt"),
                HasSubstr("about box after the event log"));
    EXPECT_THAT(CTempFolder::ReadFile(oWorld.m_oEnvironment.sAppPath + "/ErrorLog.txt"),
                HasSubstr("MDayfold.Main"));
    EXPECT_FALSE(MDayfold::GlobalsCreated()) << "released after the failure";
}

TEST(Startup, ASecondInstanceIsToldAndEndsAtOnce) {
    CStartWorld oWorld;
    oWorld.StoreOptions();
    CSingleInstance oFirst(oWorld.m_oEnvironment.sLockFile);
    ASSERT_EQ(oFirst.Acquire(), CSingleInstance::Acquired);
    EXPECT_EQ(oWorld.Start(), MDayfold::EStart::AlreadyLoaded);
    ASSERT_EQ(oWorld.m_oPresenter.Shown().size(), 1u);
    EXPECT_EQ(oWorld.m_oPresenter.Shown()[0].sText, "Dayfold is already loaded.");
    EXPECT_EQ(oWorld.m_oPresenter.Shown()[0].sCaption, "Dayfold");
    EXPECT_EQ(oWorld.m_oPresenter.Shown()[0].iStyle, MessageBox::Information);
    EXPECT_EQ(oWorld.m_pProgram->Main(), nullptr);
    EXPECT_EQ(oWorld.m_pProgram->Splash(), nullptr) << "not even the splash";
    EXPECT_FALSE(MDayfold::GlobalsCreated());

    // A lock that cannot be made does not keep the program from running; the log says why.
    CStartWorld oNoLock;
    oNoLock.StoreOptions();
    oNoLock.m_oEnvironment.sLockFile = oNoLock.m_oTemp / "missing/dayfold.lock";
    ASSERT_EQ(oNoLock.Start(), MDayfold::EStart::Running);
    EXPECT_THAT(CTempFolder::ReadFile(oNoLock.m_oEnvironment.sAppPath + "/ErrorLog.txt"),
                HasSubstr("missing/dayfold.lock"));
}

TEST(Startup, AFirstRunWelcomesNoGoesOnAndYesOpensGettingStarted) {
    const std::string sWelcome = "Welcome to Dayfold.\r\n\r\nWe suggest that you review the "
                                 "default settings\r\nby selecting the View|Options menu "
                                 "choice.\r\n\r\nWould you like to view the help file?";
    {
        CStartWorld oWorld;
        ASSERT_EQ(oWorld.Start(), MDayfold::EStart::Running);
        ASSERT_EQ(oWorld.m_oPresenter.Shown().size(), 1u);
        EXPECT_EQ(oWorld.m_oPresenter.Shown()[0].sText, sWelcome);
        EXPECT_EQ(oWorld.m_oPresenter.Shown()[0].iStyle,
                  MessageBox::YesNo + MessageBox::Information);
        EXPECT_EQ(oWorld.m_pProgram->Help()->Window(), nullptr) << "No opens no help";
        EXPECT_TRUE(oWorld.m_pProgram->Main()->isVisible());
        EXPECT_EQ(oWorld.m_pProgram->Splash(), nullptr) << "closed when the window loaded";
        EXPECT_FALSE(oWorld.m_pProgram->AboutBox()->Icon().isNull());
    }
    CStartWorld oWorld;
    oWorld.m_oPresenter.SetNextAnswer(MessageBox::AnswerYes);
    ASSERT_EQ(oWorld.Start(), MDayfold::EStart::Running);
    ASSERT_NE(oWorld.m_pProgram->Help()->Window(), nullptr);
    EXPECT_EQ(oWorld.m_pProgram->Help()->Window()->CurrentUrl().fileName(), "getting-started.html");
    EXPECT_TRUE(oWorld.m_pProgram->Main()->isVisible()) << "the start goes on";
    EXPECT_THAT(oWorld.Settings(), HasSubstr("\"Favorites Threshold\"=\"3\""));

    CStartWorld oSecondRun;
    oSecondRun.StoreOptions();
    ASSERT_EQ(oSecondRun.Start(), MDayfold::EStart::Running);
    EXPECT_TRUE(oSecondRun.m_oPresenter.Shown().empty());
}

TEST(Startup, WhatTheRecentFolderHoldsIsFiledBeforeTheWindowFirstShows) {
    CStartWorld oWorld;
    oWorld.StoreOptions();
    // Shortcuts are made with the library of the application-wide objects.
    MDayfold::CreateGlobals(oWorld.m_oEnvironment);
    const std::string sShortcut = oWorld.m_oStart.sRecentFolder + "/Report.txt.lnk";
    CProgramWorld::MakeShortcut(sShortcut, oWorld.m_oTemp / "Report.txt");
    CProgramWorld::SetModified(sShortcut, At(3, 15));
    MDayfold::ReleaseGlobals();
    // Whether the tree held the day when the window was first shown.
    struct CShowWatch : QObject {
        bool bFiledWhenShown = false;
        std::string sDay;
        bool eventFilter(QObject* pObject, QEvent* pEvent) override {
            if (pEvent->type() == QEvent::Show && pObject->objectName() == "FMain") {
                const auto* pMain = static_cast<FMain*>(pObject);
                bFiledWhenShown = pMain->tvwMain()->Contains(sDay);
            }
            return false;
        }
    } oWatch;
    oWatch.sDay = "K" + oWorld.m_oEnvironment.sAppPath + "/Daily/1998/March/15";
    qApp->installEventFilter(&oWatch);
    ASSERT_EQ(oWorld.Start(), MDayfold::EStart::Running);
    qApp->removeEventFilter(&oWatch);
    EXPECT_TRUE(oWatch.bFiledWhenShown);
    // The first activation went to that day.
    EXPECT_EQ(oWorld.m_pProgram->Main()->tvwMain()->SelectedKey(), oWatch.sDay);
    EXPECT_EQ(oWorld.m_pProgram->Main()->lvwDaily()->Count(), 1);
}

class StartupPurge : public ::testing::Test {
protected:
    StartupPurge() {
        m_oWorld.SetSetting("Options", "Purge Age", "30");
        // Filed in January and on March 14; the January days are old on March 15.
        m_oWorld.World().Clock().SetNow(At(1, 10));
        m_oWorld.Load();
        for (const CDateTime& dDay : {At(1, 10), At(1, 11), At(3, 14)}) {
            m_oWorld.OpenDocument(dDay.Month() == 1 ? "Old.txt" : "New.txt", dDay);
            m_oWorld.Tick(dDay);
        }
        m_oWorld.Unload();
        m_oWorld.World().Clock().SetNow(At(3, 15, 10));
    }
    std::vector<std::string> Stored() {
        CFavorites oStored;
        oStored.SetAppPath(m_oWorld.World().AppPath());
        oStored.SetDailyFolder("Daily");
        oStored.Read();
        std::vector<std::string> colNames;
        for (const FavoriteRecord& oRecord : oStored.GetFavorites()) {
            colNames.push_back(oRecord.TargetFileName + " " + std::to_string(oRecord.DaysAccessed));
        }
        return colNames;
    }
    size_t Questions() { return m_oWorld.World().Presenter().Shown().size(); }

    CWindowWorld m_oWorld;
};

TEST_F(StartupPurge, NoKeepsEveryDayAndIsAskedOnce) {
    ASSERT_THAT(Stored(), ElementsAre("Old.txt 2", "New.txt 1"));
    m_oWorld.World().Presenter().SetNextAnswer(MessageBox::AnswerNo);
    m_oWorld.Load();
    ASSERT_EQ(Questions(), 1u);
    EXPECT_EQ(m_oWorld.World().Presenter().Shown()[0].sText,
              "There are shortcuts to programs and documents\r\nthat you accessed prior to "
              "2/12/1998.\r\n\r\nDo you want to remove these shortcuts from Dayfold?\r\n(The "
              "programs and documents will NOT be deleted.)");
    EXPECT_TRUE(fs::exists(m_oWorld.World().DailyPath() + "/1998/January/10"));
    EXPECT_TRUE(fs::exists(m_oWorld.World().DailyPath() + "/1998/January/11"));
}

TEST_F(StartupPurge, YesRemovesTheOldDaysTheirFoldersAndTheirCounts) {
    m_oWorld.World().Presenter().SetNextAnswer(MessageBox::AnswerYes);
    FMain& oMain = m_oWorld.Load();
    EXPECT_EQ(Questions(), 1u) << "one question for both days";
    EXPECT_FALSE(fs::exists(m_oWorld.World().DailyPath() + "/1998/January"));
    EXPECT_TRUE(fs::exists(m_oWorld.World().DailyPath() + "/1998/March/14"));
    EXPECT_FALSE(oMain.tvwMain()->Contains(m_oWorld.FolderKey("1998/January")));
    // Rebuilt from what is left (the program shortcut beside it is no document) and saved.
    EXPECT_THAT(Stored(), ::testing::UnorderedElementsAre("New.txt 1"));
}

TEST(Startup, OptionsEditedByHandNeverStopTheStart) {
    struct SCase {
        const char* szName;
        const char* szValue;
        std::int32_t lThreshold;
        std::int32_t lPurgeAge;
    };
    for (const SCase& oCase :
         {SCase{"Favorites Threshold", "0", 0, 30}, SCase{"Favorites Threshold", "-3", -3, 30},
          SCase{"Favorites Threshold", "abc", 3, 30}, SCase{"Purge Age", "99999999999", 3, 30},
          SCase{"Purge Age", "2147483647", 3, 2147483647},
          SCase{"Purge Age", "-2147483648", 3, -2147483647 - 1}, SCase{"Purge Age", "0", 3, 0},
          SCase{"Timer Interval", "abc", 3, 30}}) {
        CWindowWorld oWorld;
        oWorld.World().Temp().WriteFile("docs/Report.txt", "report");
        oWorld.OpenDocument("Report.txt", At(3, 14));
        oWorld.SetSetting("Options", oCase.szName, oCase.szValue);
        FMain& oMain = oWorld.Load();
        const std::string sCase = std::string(oCase.szName) + " " + oCase.szValue;
        EXPECT_TRUE(oMain.isVisible()) << sCase;
        EXPECT_EQ(oMain.FavoritesThreshold(), oCase.lThreshold) << sCase;
        EXPECT_EQ(oMain.PurgeAge(), oCase.lPurgeAge) << sCase;
        // An age of 0 days or less leaves nothing young enough to be filed.
        EXPECT_EQ(oMain.tvwMain()->Contains(oWorld.FolderKey("1998/March/14")), oCase.lPurgeAge > 0)
            << sCase;
        EXPECT_EQ(oWorld.Setting("Options", oCase.szName), oCase.szValue) << "left as stored";
    }
}

TEST(Startup, WithoutATrayTheWindowStaysReachable) {
    CWindowWorld oWorld;
    oWorld.SetSetting("Options", "Purge Age", "30");
    oWorld.SetSetting("Window", "Visible", "False");
    CRecordingPresenter& oBoxes = oWorld.World().Presenter();
    FMain& oMain = oWorld.Load(false);
    EXPECT_TRUE(oMain.isVisible()) << "a window stored hidden starts shown";
    // The note stands beside the count, for as long as the window is open.
    EXPECT_EQ(oMain.sbrMain()->NoteText(), "This desktop has no system tray: Dayfold stays in "
                                           "its window, and closing it exits Dayfold.");
    EXPECT_EQ(oMain.sbrMain()->SimpleText(), "0 objects");
    EXPECT_TRUE(oMain.sbrMain()->currentMessage().isEmpty()) << "nothing covers the count";

    // The close box and Hide ask; No keeps the window as it is.
    EXPECT_FALSE(oMain.close());
    ASSERT_EQ(oBoxes.Shown().size(), 1u);
    EXPECT_THAT(oBoxes.Shown()[0].sText, HasSubstr("Do you want to exit Dayfold?"));
    EXPECT_TRUE(oMain.isVisible());
    oMain.Actions().pHide->trigger();
    EXPECT_EQ(oBoxes.Shown().size(), 2u);
    EXPECT_TRUE(oMain.isVisible());
    EXPECT_FALSE(oMain.isMinimized());

    // Yes to Hide exits, and exiting saves.
    int iUnloaded = 0;
    QObject::connect(&oMain, &FMain::Unloaded, [&iUnloaded] { ++iUnloaded; });
    oMain.SetListView(1);
    oBoxes.SetNextAnswer(MessageBox::AnswerYes);
    oMain.Actions().pHide->trigger();
    RunPosted();
    EXPECT_EQ(iUnloaded, 1);
    EXPECT_EQ(oWorld.Setting("View", "ListViews"), "1");
    EXPECT_EQ(oWorld.Setting("Window", "Visible"), "True");
}

// A termination signal or the session's end while the window is hidden, and while a dialog of
// the window is open: the dialog ends as if cancelled, and the window unloads and saves.
TEST(Startup, TerminationSignalsAndTheSessionsEndCloseAndSaveEverything) {
    CStartWorld oWorld;
    oWorld.StoreOptions();
    ASSERT_EQ(oWorld.Start(), MDayfold::EStart::Running);
    FMain& oMain = *oWorld.m_pProgram->Main();
    int iUnloaded = 0;
    QObject::connect(&oMain, &FMain::Unloaded, [&iUnloaded] { ++iUnloaded; });
    oMain.SetListView(0);
    oMain.SetVisible(false);

    std::raise(SIGTERM);
    for (int i = 0; i < 20 && iUnloaded == 0; ++i) {
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(iUnloaded, 1);
    EXPECT_THAT(oWorld.Settings(), HasSubstr("\"ListViews\"=\"0\""));
    EXPECT_THAT(oWorld.Settings(), HasSubstr("\"Visible\"=\"False\""));
    RunPosted();

    CStartWorld oAgain;
    oAgain.StoreOptions();
    ASSERT_EQ(oAgain.Start(), MDayfold::EStart::Running);
    FMain& oNext = *oAgain.m_pProgram->Main();
    int iNextUnloaded = 0;
    QObject::connect(&oNext, &FMain::Unloaded, [&iNextUnloaded] { ++iNextUnloaded; });
    bool bDialogWasOpen = false;
    QTimer::singleShot(0, [&] {
        bDialogWasOpen = QApplication::activeModalWidget() != nullptr;
        oAgain.m_pProgram->EndSession(FMain::UnloadAppWindows);
    });
    oNext.Actions().pOptions->trigger(); // returns when the dialog was closed
    EXPECT_TRUE(bDialogWasOpen);
    EXPECT_EQ(iNextUnloaded, 0) << "not inside the dialog's loop";
    RunPosted();
    EXPECT_EQ(iNextUnloaded, 1);
    EXPECT_EQ(oNext.TimerInterval(), 60) << "the dialog was cancelled";
}

} // namespace
