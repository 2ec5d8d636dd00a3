// What the program makes about the user's documents is the user's alone whatever the umask,
// and what an earlier run left open to others is closed once.
#include "platform/shell/MPrivateFiles.h"

#include "platform/errors/CErrorReporter.h"
#include "platform/errors/CLogFile.h"
#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CRegistry.h"
#include "platform/registry/CRegistryValues.h"
#include "platform/shell/CAtomicFile.h"
#include "platform/shell/CAutostart.h"
#include "platform/shell/CShellFolders.h"
#include "platform/shell/CSingleInstance.h"
#include "platform/shelllink/CShellLink.h"
#include "support/CScopedEnvironment.h"
#include "support/CScopedUmask.h"
#include "support/CTempFolder.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A temporary home with no base directories yet, and the program's variables cleared.
class PrivateFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_oTemp / "home");
        m_oEnvironment.Set("HOME", m_oTemp / "home");
        m_oEnvironment.Set("XDG_DATA_HOME", m_oTemp / "home/data");
        m_oEnvironment.Set("XDG_CONFIG_HOME", m_oTemp / "home/config");
        m_oEnvironment.Unset("DAYFOLD_HOME");
        m_oEnvironment.Unset("DAYFOLD_RECENT");
    }

    std::string Home(const std::string& sName) const { return m_oTemp / ("home/" + sName); }

    CTempFolder m_oTemp;
    const std::string m_sHome = m_oTemp / "home";
    CScopedEnvironment m_oEnvironment;
};

void MakeFile(const std::string& sPath, mode_t lMode) {
    fs::create_directories(fs::path(sPath).parent_path());
    const int iFd = ::open(sPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(iFd, 0) << sPath;
    ASSERT_EQ(::write(iFd, "x", 1), 1);
    ::close(iFd);
    ASSERT_EQ(::chmod(sPath.c_str(), lMode), 0);
}

} // namespace

TEST_F(PrivateFilesTest, EverythingMadeIsItsUsersAloneWhateverTheUmask) {
    int iRounds = 0;
    for (const mode_t lMask : {mode_t(022), mode_t(0)}) {
        fs::remove_all(Home("data"));
        fs::remove_all(Home("config"));
        const CScopedUmask oUmask(lMask);
        // The Recent folder with the data folder and $XDG_DATA_HOME above it.
        ASSERT_EQ(CShellFolders::Path(CShellFolders::Recent), Home("data/Dayfold/Recent"));
        for (const char* szFolder : {"data", "data/Dayfold", "data/Dayfold/Recent"}) {
            EXPECT_EQ(ModeOf(Home(szFolder)), 0700) << szFolder << " umask " << lMask;
        }
        // The settings file with its folders and $XDG_CONFIG_HOME.
        CRegistry oRegistry(Home("config/Quillon/Dayfold.reg"), nullptr);
        oRegistry.KeyFromPath("\\HKEY_CURRENT_USER\\Software").Values().Add("A", "1", 1);
        for (const char* szFolder : {"config", "config/Quillon"}) {
            EXPECT_EQ(ModeOf(Home(szFolder)), 0700) << szFolder << " umask " << lMask;
        }
        EXPECT_EQ(ModeOf(Home("config/Quillon/Dayfold.reg")), 0600);
        // A log, a file replaced whole, a shortcut, the single-instance lock.
        const std::string sData = Home("data/Dayfold");
        ASSERT_TRUE(CLogFile(sData + "/ErrorLog.txt").AppendLine("first"));
        CAtomicFile::Write(sData + "/Favorites.dat.bak", "record\n");
        CShellLink oLink;
        oLink.SetTargetPath(m_oTemp / "home/Documents/Report.txt");
        oLink.Save(sData + "/Recent/Report.txt.lnk");
        CSingleInstance oInstance(sData + "/dayfold.lock");
        ASSERT_EQ(oInstance.Acquire(), CSingleInstance::Acquired);
        for (const char* szFile :
             {"ErrorLog.txt", "Favorites.dat.bak", "Recent/Report.txt.lnk", "dayfold.lock"}) {
            EXPECT_EQ(ModeOf(sData + "/" + szFile), 0600) << szFile << " umask " << lMask;
        }
        // The autostart entry is the desktop's; the folder made for it is private.
        CAutostart::SetOn(true, "/usr/bin/dayfold");
        EXPECT_EQ(ModeOf(Home("config/autostart")), 0700);
        EXPECT_EQ(ModeOf(CAutostart::EntryPath()), 0644);
        ++iRounds;
    }
    EXPECT_EQ(iRounds, 2);
}

TEST_F(PrivateFilesTest, WhatExistsKeepsItsModeExceptALockLeftOpen) {
    const CScopedUmask oUmask(022);
    MakeFile(Home("log.txt"), 0640);
    const int iFd = MPrivateFiles::OpenOrCreate(Home("log.txt"), O_WRONLY | O_APPEND);
    ASSERT_GE(iFd, 0);
    ASSERT_EQ(::write(iFd, "y", 1), 1);
    ::close(iFd);
    EXPECT_EQ(CTempFolder::ReadFile(Home("log.txt")), "xy");
    EXPECT_EQ(ModeOf(Home("log.txt")), 0640);

    fs::create_directories(Home("shared"));
    ::chmod(Home("shared").c_str(), 0755);
    MPrivateFiles::MakeFolders(Home("shared/new"));
    EXPECT_EQ(ModeOf(Home("shared")), 0755);
    EXPECT_EQ(ModeOf(Home("shared/new")), 0700);

    // A level that is a file: 76, naming it, and nothing is made below it.
    try {
        MPrivateFiles::MakeFolders(Home("log.txt/below"));
        ADD_FAILURE() << "a file where a folder should be was passed";
    } catch (const CRunTimeError& oError) {
        EXPECT_EQ(oError.Number(), RunTimeErrors::PathNotFound);
        EXPECT_NE(oError.Description().find(Home("log.txt")), std::string::npos);
    }

    // The lock of an earlier version, readable by all, is the user's alone once taken.
    MakeFile(Home("dayfold.lock"), 0644);
    CSingleInstance oInstance(Home("dayfold.lock"));
    ASSERT_EQ(oInstance.Acquire(), CSingleInstance::Acquired);
    EXPECT_EQ(ModeOf(Home("dayfold.lock")), 0600);
}

TEST_F(PrivateFilesTest, AnOpenTreeIsClosedOnceFolderLastAndNoLinkIsFollowed) {
    const std::string sData = Home("data/Dayfold");
    fs::create_directories(sData + "/Daily/2024/May/02");
    for (const char* szFolder : {"", "/Daily", "/Daily/2024", "/Daily/2024/May"}) {
        ::chmod((sData + szFolder).c_str(), 0755);
    }
    ::chmod((sData + "/Daily/2024/May/02").c_str(), 0775);
    MakeFile(sData + "/Daily/2024/May/02/Report.txt.lnk", 0644);
    MakeFile(sData + "/Favorites.dat", 0664);
    MakeFile(sData + "/Kept.txt", 0444); // made read-only by its user: it stays so
    // Links out of the tree lead to what is not the program's.
    MakeFile(Home("Documents/Open.txt"), 0644);
    ::chmod(Home("Documents").c_str(), 0755);
    fs::create_symlink(Home("Documents"), sData + "/Recent");
    fs::create_symlink(Home("Documents/Open.txt"), sData + "/Open.txt");

    // The data folder named through a link of its own is walked all the same.
    fs::create_symlink(sData, Home("Dayfold"));
    EXPECT_EQ(MPrivateFiles::Tighten(Home("Dayfold"), m_sHome), std::vector<std::string>{});
    EXPECT_EQ(ModeOf(sData), 0700);
    for (const char* szFolder :
         {"/Daily", "/Daily/2024", "/Daily/2024/May", "/Daily/2024/May/02"}) {
        EXPECT_EQ(ModeOf(sData + szFolder), 0700) << szFolder;
    }
    EXPECT_EQ(ModeOf(sData + "/Daily/2024/May/02/Report.txt.lnk"), 0600);
    EXPECT_EQ(ModeOf(sData + "/Favorites.dat"), 0600);
    EXPECT_EQ(ModeOf(sData + "/Kept.txt"), 0400);
    EXPECT_EQ(ModeOf(Home("Documents")), 0755);
    EXPECT_EQ(ModeOf(Home("Documents/Open.txt")), 0644);

    // Closed, it is not walked again: a file opened by hand later stays as it is.
    ::chmod((sData + "/Favorites.dat").c_str(), 0644);
    EXPECT_EQ(MPrivateFiles::Tighten(sData, m_sHome), std::vector<std::string>{});
    EXPECT_EQ(ModeOf(sData + "/Favorites.dat"), 0644);

    // Never the home folder, nor a folder that holds it.
    ::chmod(m_sHome.c_str(), 0755);
    ::chmod(m_oTemp.Path().c_str(), 0755);
    EXPECT_EQ(MPrivateFiles::Tighten(m_sHome, m_sHome), std::vector<std::string>{});
    EXPECT_EQ(MPrivateFiles::Tighten(m_oTemp.Path().string(), m_sHome), std::vector<std::string>{});
    EXPECT_EQ(ModeOf(m_sHome), 0755);
    EXPECT_EQ(ModeOf(m_oTemp.Path().string()), 0755);
    EXPECT_EQ(ModeOf(Home("Documents/Open.txt")), 0644);
    // A missing folder has nothing to close.
    EXPECT_EQ(MPrivateFiles::Tighten(Home("none"), m_sHome), std::vector<std::string>{});
}
