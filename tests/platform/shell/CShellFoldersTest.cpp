#include "platform/shell/CShellFolders.h"

#include "platform/errors/CRunTimeError.h"
#include "support/CScopedEnvironment.h"
#include "support/CTempFolder.h"
#include "support/MUnprivileged.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// A home folder of its own, with every variable that steers the lookup cleared.
class ShellFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_sHome = m_oTemp / "home";
        fs::create_directories(m_sHome);
        m_oEnvironment.Set("HOME", m_sHome);
        for (const char* szName :
             {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "DAYFOLD_HOME", "DAYFOLD_RECENT"}) {
            m_oEnvironment.Unset(szName);
        }
    }

    CTempFolder m_oTemp;
    CScopedEnvironment m_oEnvironment;
    std::string m_sHome;
};

TEST_F(ShellFoldersTest, DefaultsLieUnderTheHomeFolder) {
    EXPECT_EQ(CShellFolders::HomeFolder(), m_sHome);
    EXPECT_EQ(CShellFolders::DataHome(), m_sHome + "/.local/share");
    EXPECT_EQ(CShellFolders::ConfigHome(), m_sHome + "/.config");
    EXPECT_EQ(CShellFolders::DataFolder(), m_sHome + "/.local/share/Dayfold");
    EXPECT_EQ(CShellFolders::Path(CShellFolders::Personal), m_sHome + "/Documents");
    EXPECT_EQ(CShellFolders::Path(CShellFolders::Desktop), m_sHome + "/Desktop");
    EXPECT_EQ(CShellFolders::Path(CShellFolders::DesktopDirectory), m_sHome + "/Desktop");
    EXPECT_EQ(CShellFolders::Path(CShellFolders::Templates), m_sHome + "/Templates");
    EXPECT_EQ(CShellFolders::Path(CShellFolders::AppData), m_sHome + "/.local/share");
    EXPECT_EQ(CShellFolders::SystemProgramsFolder(), "/usr/bin");
}

TEST_F(ShellFoldersTest, TrailingSlashesAndRelativeBaseDirectoriesAreIgnored) {
    m_oEnvironment.Set("HOME", m_sHome + "//");
    m_oEnvironment.Set("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(CShellFolders::HomeFolder(), m_sHome);
    EXPECT_EQ(CShellFolders::DataHome(), m_sHome + "/.local/share");
    m_oEnvironment.Set("XDG_DATA_HOME", m_oTemp / "data/");
    EXPECT_EQ(CShellFolders::DataHome(), m_oTemp / "data");
    EXPECT_EQ(CShellFolders::DataFolder(), m_oTemp / "data/Dayfold");
}

TEST_F(ShellFoldersTest, RecentFolderFollowsTheOverridesAndIsCreated) {
    m_oEnvironment.Set("XDG_DATA_HOME", m_oTemp / "data");
    const auto osDefault = CShellFolders::Path(CShellFolders::Recent);
    ASSERT_TRUE(osDefault);
    EXPECT_EQ(*osDefault, m_oTemp / "data/Dayfold/Recent");
    EXPECT_TRUE(fs::is_directory(*osDefault));

    m_oEnvironment.Set("DAYFOLD_HOME", m_oTemp / "program");
    EXPECT_EQ(CShellFolders::DataFolder(), m_oTemp / "program");
    EXPECT_EQ(CShellFolders::Path(CShellFolders::Recent), m_oTemp / "program/Recent");
    EXPECT_TRUE(fs::is_directory(m_oTemp / "program/Recent"));

    m_oEnvironment.Set("DAYFOLD_RECENT", m_oTemp / "feed/deep/Recent/");
    EXPECT_EQ(CShellFolders::Path(CShellFolders::Recent), m_oTemp / "feed/deep/Recent");
    EXPECT_TRUE(fs::is_directory(m_oTemp / "feed/deep/Recent"));
}

TEST_F(ShellFoldersTest, RecentFolderBlockedByAFileOrALoopRaises) {
    fs::create_symlink("loop", m_oTemp / "loop");
    m_oEnvironment.Set("DAYFOLD_HOME", m_oTemp / "loop");
    EXPECT_THROW(CShellFolders::Path(CShellFolders::Recent), CRunTimeError);

    m_oTemp.WriteFile("blocked", "not a folder");
    m_oEnvironment.Set("DAYFOLD_HOME", m_oTemp / "blocked");
    try {
        CShellFolders::Path(CShellFolders::Recent);
        FAIL() << "a file in the way of the Recent folder must raise";
    } catch (const CRunTimeError& oError) {
        EXPECT_EQ(oError.Number(), RunTimeErrors::PathNotFound);
    }
}

TEST_F(ShellFoldersTest, FolderProblemTellsTheSystemsReason) {
    fs::create_symlink("loop", m_oTemp / "loop");
    EXPECT_EQ(CShellFolders::FolderProblem(m_oTemp / "loop", false), std::strerror(ELOOP));
    EXPECT_EQ(CShellFolders::FolderProblem(m_oTemp / "none", false), std::strerror(ENOENT));
    EXPECT_EQ(CShellFolders::FolderProblem(m_oTemp.WriteFile("f", "x"), false),
              std::strerror(ENOTDIR));
    EXPECT_EQ(CShellFolders::FolderProblem(m_sHome, true), "");
    fs::create_directory_symlink(m_sHome, m_oTemp / "link");
    EXPECT_EQ(CShellFolders::FolderProblem(m_oTemp / "link", true), "");

    // Permissions do not stop root: a folder that may not be written is tried unprivileged.
    fs::create_directories(m_oTemp / "shut");
    MUnprivileged::OpenToAll(m_oTemp.Path());
    fs::permissions(m_oTemp / "shut", fs::perms::owner_read | fs::perms::owner_exec |
                                          fs::perms::others_read | fs::perms::others_exec);
    const std::string sShut = m_oTemp / "shut";
    EXPECT_EQ(MUnprivileged::Run([&] {
                  return (CShellFolders::FolderProblem(sShut, false).empty() &&
                          CShellFolders::FolderProblem(sShut, true) == std::strerror(EACCES))
                             ? 0
                             : 1;
              }),
              0);
}

TEST_F(ShellFoldersTest, RelativeProgramVariablesAreTold) {
    EXPECT_EQ(CShellFolders::RelativeOverride(), "");
    m_oEnvironment.Set("DAYFOLD_RECENT", "rel");
    EXPECT_EQ(CShellFolders::RelativeOverride(),
              "DAYFOLD_RECENT is set to \"rel\", which is not an absolute path");
    EXPECT_FALSE(CShellFolders::RecentFolderNamed());
    m_oEnvironment.Set("DAYFOLD_HOME", "data");
    EXPECT_EQ(CShellFolders::RelativeOverride().rfind("DAYFOLD_HOME", 0), 0u);
    EXPECT_EQ(CShellFolders::DataFolder(), m_sHome + "/.local/share/Dayfold");
}

TEST_F(ShellFoldersTest, UserDirectoriesAreReadFromUserDirsFile) {
    m_oEnvironment.Set("XDG_CONFIG_HOME", m_oTemp / "config");
    m_oTemp.WriteFile("config/user-dirs.dirs", "# written by the desktop\n"
                                               "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                               "  XDG_DOCUMENTS_DIR = \"/srv/docs/\"\n"
                                               "XDG_TEMPLATES_DIR=\"relative/ignored\"\n"
                                               "XDG_MUSIC_DIR=\"$HOME/Musik\"\r\n");
    EXPECT_EQ(CShellFolders::Path(CShellFolders::Desktop), m_sHome + "/Schreibtisch");
    EXPECT_EQ(CShellFolders::Path(CShellFolders::Personal), "/srv/docs");
    EXPECT_EQ(CShellFolders::Path(CShellFolders::Templates), m_sHome + "/Templates");
    EXPECT_EQ(CShellFolders::UserDirectory("MUSIC", "Music"), m_sHome + "/Musik");
    EXPECT_EQ(CShellFolders::UserDirectory("VIDEOS", "Videos"), m_sHome + "/Videos");
}

TEST_F(ShellFoldersTest, HomeItselfAsUserDirectory) {
    m_oEnvironment.Set("XDG_CONFIG_HOME", m_oTemp / "config");
    m_oTemp.WriteFile("config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/\"\n");
    EXPECT_EQ(CShellFolders::Path(CShellFolders::Desktop), m_sHome);
}

TEST_F(ShellFoldersTest, VirtualAndUnknownFoldersHaveNoPath) {
    for (const std::int32_t lId :
         {CShellFolders::Drives, CShellFolders::Network, CShellFolders::Printers,
          CShellFolders::Controls, CShellFolders::BitBucket, CShellFolders::NetHood,
          CShellFolders::PrintHood}) {
        EXPECT_FALSE(CShellFolders::Path(lId)) << lId;
    }
    EXPECT_FALSE(CShellFolders::Path(-1));
    EXPECT_FALSE(CShellFolders::Path(12));
    EXPECT_FALSE(CShellFolders::Path(70000));
}

TEST_F(ShellFoldersTest, NoAnswerEndsWithSlash) {
    m_oEnvironment.Set("XDG_CONFIG_HOME", m_oTemp / "config/");
    m_oEnvironment.Set("DAYFOLD_HOME", m_oTemp / "program/");
    for (std::int32_t lId = 0; lId <= 27; ++lId) {
        if (const auto osPath = CShellFolders::Path(lId)) {
            ASSERT_FALSE(osPath->empty()) << lId;
            EXPECT_EQ(osPath->front(), '/') << lId;
            EXPECT_NE(osPath->back(), '/') << lId;
        }
    }
}

} // namespace
