// The window's side of privacy: private folders at each tick, the options' removal of a
// folder's documents, and "Suspend for 1 hour" ended by the clock or by Resume.
#include "app/core/MDayfold.h"
#include "app/journal/CPrivateFolders.h"
#include "app/journal/CSuspension.h"
#include "app/resources/MIcons.h"
#include "app/resources/MResources.h"
#include "app/views/CFavorites.h"
#include "app/window/CWindowWorld.h"
#include "platform/controls/CTrayIcon.h"
#include "platform/errors/CMessagePresenter.h"

#include <QAction>
#include <QMenu>

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

CDateTime At(int iDay, int iHour, int iMinute, int iSecond = 0) {
    return CDateTime::FromParts(1998, 3, iDay, iHour, iMinute, iSecond);
}

bool SameIcon(const QIcon& oIcon, const char* szPath) {
    return oIcon.pixmap(16, 16).toImage() == QIcon(szPath).pixmap(16, 16).toImage();
}

class PrivacyWindow : public ::testing::Test {
protected:
    PrivacyWindow() { m_oWorld.World().Clock().SetNow(At(15, 14, 0)); }

    std::string Day15(const std::string& sName) {
        return m_oWorld.World().DailyPath() + "/1998/March/15/" + sName;
    }
    std::string Private(const std::string& sName) {
        return m_oWorld.World().Temp() / ("private/" + sName);
    }
    // Whether the action is offered in the tray menu.
    static bool Offered(const FMain& oMain, QAction* pAction) {
        return oMain.mnuTray()->actions().contains(pAction) && pAction->isVisible();
    }

    CWindowWorld m_oWorld;
};

TEST_F(PrivacyWindow, DocumentsOfAPrivateFolderAreNotFiledUntilTheFolderLeavesTheList) {
    FMain& oMain = m_oWorld.Load();
    m_oWorld.OpenDocument("Secret.txt", At(15, 14, 1), Private("Secret.txt"));
    m_oWorld.OpenDocument("Open.txt", At(15, 14, 1));
    m_oWorld.Tick(At(15, 14, 2));
    EXPECT_TRUE(fs::exists(Day15("Open.txt.lnk")));
    EXPECT_FALSE(fs::exists(Day15("Secret.txt.lnk")));
    EXPECT_EQ(oMain.Favorites()->Count(), 1);

    // The options' OK stores a list without the folder; the next tick files the document.
    CPrivateFolders oFolders;
    oFolders.SetFolders({});
    ASSERT_TRUE(oFolders.SaveValues());
    oMain.ApplyPrivacyChanges({});
    m_oWorld.Tick(At(15, 14, 3));
    EXPECT_TRUE(fs::exists(Day15("Secret.txt.lnk")));
    EXPECT_EQ(oMain.Favorites()->Count(), 2);
}

TEST_F(PrivacyWindow, UnknownPrivateFoldersAreToldOnceFileNothingAndTheFileOutlivesExit) {
    CProgramWorld& oProgram = m_oWorld.World();
    const std::string sOptions = "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\n"
                                 "\"Favorites Threshold\"=\"3\"\n\"Purge Age\"=\"30\"\n"
                                 "\"Timer Interval\"=\"60\"\n";
    const std::string sPrivacy = "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Privacy]\n";
    // The private folder's value lost its quotes; then the whole file its first line.
    const std::vector<std::string> vDamaged = {
        "Windows Registry Editor Version 5.00\n\n" + sOptions + sPrivacy +
            "\"Folder 1\"=" + Private("") + "\n",
        "Windows Registry Editor Version 5.0\n\n" + sOptions + sPrivacy + "\"Folder 1\"=\"" +
            Private("") + "\"\n"};
    int iDay = 15;
    for (const std::string& sDamaged : vDamaged) {
        const auto Day = [&](const std::string& sName) {
            return oProgram.DailyPath() + "/1998/March/" + std::to_string(iDay) + "/" + sName;
        };
        oProgram.Temp().WriteFile("config/Quillon/Dayfold.reg", sDamaged);
        oProgram.RestartGlobals();
        const size_t nShownBefore = oProgram.Presenter().Shown().size();
        FMain& oMain = m_oWorld.Load();
        // One box, and no welcome as if this were a first run.
        ASSERT_EQ(oProgram.Presenter().Shown().size(), nShownBefore + 1) << sDamaged;
        const CRecordingPresenter::SShown& oBox = oProgram.Presenter().Shown().back();
        EXPECT_EQ(oBox.sText, MResources::LoadResString(190) + "\r\n\r\n" +
                                  MResources::LoadResString(191) + "\r\n\r\n" +
                                  oProgram.SettingsFile());
        EXPECT_EQ(oBox.sCaption, "Dayfold");
        EXPECT_EQ(oBox.iStyle, MessageBox::OkOnly + MessageBox::Exclamation);

        m_oWorld.OpenDocument("Open.txt", At(iDay, 14, 1));
        m_oWorld.OpenDocument("Secret.txt", At(iDay, 14, 1), Private("Secret.txt"));
        m_oWorld.Tick(At(iDay, 14, 2));
        EXPECT_FALSE(fs::exists(Day("Open.txt.lnk")));
        EXPECT_FALSE(fs::exists(Day("Secret.txt.lnk")));
        // The folders read again (the options' OK): still unknown, and not told again.
        oMain.ApplyPrivacyChanges({});
        m_oWorld.Tick(At(iDay, 14, 3));
        EXPECT_FALSE(fs::exists(Day("Open.txt.lnk")));
        EXPECT_EQ(oProgram.Presenter().Shown().size(), nShownBefore + 1);

        // Exit saves the window, the views and the lists: none of it goes over the file.
        m_oWorld.Unload();
        EXPECT_EQ(CTempFolder::ReadFile(oProgram.SettingsFile()), sDamaged);
        EXPECT_EQ(oProgram.Presenter().Shown().size(), nShownBefore + 1)
            << oProgram.Presenter().Shown().back().sText;
        ++iDay;
    }
    EXPECT_EQ(iDay, 17);
}

TEST_F(PrivacyWindow, ANewPrivateFolderTakesItsDocumentsOutOfTheJournalWhenAsked) {
    FMain& oMain = m_oWorld.Load();
    const std::string sDocs = m_oWorld.World().Temp() / "docs";
    m_oWorld.OpenDocument("Plan.txt", At(15, 14, 1));
    m_oWorld.OpenDocument("Kept.txt", At(15, 14, 1), m_oWorld.World().Temp() / "other/Kept.txt");
    m_oWorld.Tick(At(15, 14, 2));
    ASSERT_TRUE(fs::exists(Day15("Plan.txt.lnk")));
    ASSERT_EQ(oMain.Favorites()->Count(), 2);

    CPrivateFolders oFolders;
    oFolders.SetFolders({sDocs});
    ASSERT_TRUE(oFolders.SaveValues());
    oMain.ApplyPrivacyChanges({sDocs});
    EXPECT_FALSE(fs::exists(Day15("Plan.txt.lnk")));
    EXPECT_TRUE(fs::exists(Day15("Kept.txt.lnk")));
    // Counted again from the repository, which no longer holds it.
    bool bKept = false;
    for (const auto& oRecord : oMain.Favorites()->GetFavorites()) {
        EXPECT_EQ(oRecord.File.find("Plan.txt"), std::string::npos) << oRecord.File;
        bKept = bKept || oRecord.File == Day15("Kept.txt.lnk");
    }
    EXPECT_TRUE(bKept);
    const std::string sStore = CTempFolder::ReadFile(m_oWorld.World().AppPath() + "/Favorites.dat");
    EXPECT_EQ(sStore.find("Plan.txt"), std::string::npos) << "and saved";
    EXPECT_NE(sStore.find("Kept.txt"), std::string::npos);
    // Used again, it stays out.
    m_oWorld.OpenDocument("Plan.txt", At(15, 14, 5));
    m_oWorld.Tick(At(15, 14, 6));
    EXPECT_FALSE(fs::exists(Day15("Plan.txt.lnk")));
}

TEST_F(PrivacyWindow, SuspendForAnHourFilesNothingUntilTheHourIsOver) {
    FMain& oMain = m_oWorld.Load();
    const FMain::SActions& a = oMain.Actions();
    EXPECT_TRUE(oMain.mnuDayfold()->actions().contains(a.pSuspendHour));
    ASSERT_TRUE(Offered(oMain, a.pSuspendHour));
    m_oWorld.World().Clock().SetNow(At(15, 14, 42));
    a.pSuspendHour->trigger();
    EXPECT_EQ(oMain.tryMain()->TrayTip(), "Dayfold - suspended until 15:42");
    EXPECT_TRUE(SameIcon(oMain.tryMain()->TrayIcon(), MIcons::TraySuspended));
    EXPECT_TRUE(Offered(oMain, a.pResume));
    EXPECT_FALSE(Offered(oMain, a.pSuspend));
    EXPECT_FALSE(Offered(oMain, a.pSuspendHour));

    m_oWorld.OpenDocument("During.txt", At(15, 14, 50));
    for (const CDateTime& dTick : {At(15, 14, 51), At(15, 15, 30), At(15, 15, 41, 59)}) {
        m_oWorld.Tick(dTick);
        EXPECT_FALSE(fs::exists(Day15("During.txt.lnk"))) << dTick.ToIsoText();
        EXPECT_TRUE(SameIcon(oMain.tryMain()->TrayIcon(), MIcons::TraySuspended));
    }
    // The first tick after the hour ends it and files.
    m_oWorld.Tick(At(15, 15, 42));
    EXPECT_TRUE(fs::exists(Day15("During.txt.lnk")));
    EXPECT_EQ(oMain.tryMain()->TrayTip(), "Dayfold");
    EXPECT_TRUE(SameIcon(oMain.tryMain()->TrayIcon(), MIcons::TrayIdle));
    EXPECT_TRUE(Offered(oMain, a.pSuspendHour));
    EXPECT_FALSE(Offered(oMain, a.pResume));
    EXPECT_FALSE(oMain.Suspension().Suspended());
}

TEST_F(PrivacyWindow, ResumeEndsTheHourEarlyAndSuspendStillStopsTheTimer) {
    FMain& oMain = m_oWorld.Load();
    const FMain::SActions& a = oMain.Actions();
    a.pSuspendHour->trigger();
    m_oWorld.OpenDocument("Early.txt", At(15, 14, 5));
    m_oWorld.Tick(At(15, 14, 10));
    EXPECT_FALSE(fs::exists(Day15("Early.txt.lnk")));
    m_oWorld.World().Clock().SetNow(At(15, 14, 11));
    a.pResume->trigger();
    EXPECT_TRUE(fs::exists(Day15("Early.txt.lnk"))) << "Resume looks at once";
    EXPECT_FALSE(oMain.Suspension().Suspended());
    EXPECT_EQ(oMain.tryMain()->TrayTip(), "Dayfold");
    m_oWorld.OpenDocument("Next.txt", At(15, 14, 12));
    m_oWorld.Tick(At(15, 14, 13));
    EXPECT_TRUE(fs::exists(Day15("Next.txt.lnk")));

    // The plain Suspend is as it was: the timer stops until Resume, with no hour.
    a.pSuspend->trigger();
    EXPECT_FALSE(Offered(oMain, a.pSuspendHour));
    EXPECT_EQ(oMain.tryMain()->TrayTip(), "Dayfold");
    EXPECT_FALSE(oMain.Suspension().Suspended());
}

} // namespace
