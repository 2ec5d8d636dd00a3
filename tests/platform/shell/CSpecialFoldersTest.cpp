#include "platform/shell/CSpecialFolders.h"

#include "platform/errors/CRunTimeError.h"
#include "support/CScopedEnvironment.h"
#include "support/CTempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// A home folder of its own, with every variable that steers the lookup cleared.
class SpecialFoldersTest : public ::testing::Test {
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

TEST_F(SpecialFoldersTest, DefaultsLieUnderTheHomeFolder) {
    EXPECT_EQ(CSpecialFolders::HomeFolder(), m_sHome);
    EXPECT_EQ(CSpecialFolders::DataHome(), m_sHome + "/.local/share");
    EXPECT_EQ(CSpecialFolders::ConfigHome(), m_sHome + "/.config");
    EXPECT_EQ(CSpecialFolders::DataFolder(), m_sHome + "/.local/share/Dayfold");
    EXPECT_EQ(CSpecialFolders::Path(CSpecialFolders::Personal), m_sHome + "/Documents");
    EXPECT_EQ(CSpecialFolders::Path(CSpecialFolders::Desktop), m_sHome + "/Desktop");
    EXPECT_EQ(CSpecialFolders::Path(CSpecialFolders::DesktopDirectory), m_sHome + "/Desktop");
    EXPECT_EQ(CSpecialFolders::Path(CSpecialFolders::Templates), m_sHome + "/Templates");
    EXPECT_EQ(CSpecialFolders::Path(CSpecialFolders::AppData), m_sHome + "/.local/share");
    EXPECT_EQ(CSpecialFolders::SystemProgramsFolder(), "/usr/bin");
}

TEST_F(SpecialFoldersTest, TrailingSlashesAndRelativeBaseDirectoriesAreIgnored) {
    m_oEnvironment.Set("HOME", m_sHome + "//");
    m_oEnvironment.Set("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(CSpecialFolders::HomeFolder(), m_sHome);
    EXPECT_EQ(CSpecialFolders::DataHome(), m_sHome + "/.local/share");
    m_oEnvironment.Set("XDG_DATA_HOME", m_oTemp / "data/");
    EXPECT_EQ(CSpecialFolders::DataHome(), m_oTemp / "data");
    EXPECT_EQ(CSpecialFolders::DataFolder(), m_oTemp / "data/Dayfold");
}

TEST_F(SpecialFoldersTest, RecentFolderFollowsTheOverridesAndIsCreated) {
    m_oEnvironment.Set("XDG_DATA_HOME", m_oTemp / "data");
    const auto osDefault = CSpecialFolders::Path(CSpecialFolders::Recent);
    ASSERT_TRUE(osDefault);
    EXPECT_EQ(*osDefault, m_oTemp / "data/Dayfold/Recent");
    EXPECT_TRUE(fs::is_directory(*osDefault));

    m_oEnvironment.Set("DAYFOLD_HOME", m_oTemp / "program");
    EXPECT_EQ(CSpecialFolders::DataFolder(), m_oTemp / "program");
    EXPECT_EQ(CSpecialFolders::Path(CSpecialFolders::Recent), m_oTemp / "program/Recent");
    EXPECT_TRUE(fs::is_directory(m_oTemp / "program/Recent"));

    m_oEnvironment.Set("DAYFOLD_RECENT", m_oTemp / "feed/deep/Recent/");
    EXPECT_EQ(CSpecialFolders::Path(CSpecialFolders::Recent), m_oTemp / "feed/deep/Recent");
    EXPECT_TRUE(fs::is_directory(m_oTemp / "feed/deep/Recent"));
}

TEST_F(SpecialFoldersTest, RecentFolderBlockedByAFileRaises) {
    m_oTemp.WriteFile("blocked", "not a folder");
    m_oEnvironment.Set("DAYFOLD_RECENT", m_oTemp / "blocked/Recent");
    try {
        CSpecialFolders::Path(CSpecialFolders::Recent);
        FAIL() << "a file in the way of the Recent folder must raise";
    } catch (const CRunTimeError& oError) {
        EXPECT_EQ(oError.Number(), RunTimeErrors::PathNotFound);
    }
}

TEST_F(SpecialFoldersTest, UserDirectoriesAreReadFromUserDirsFile) {
    m_oEnvironment.Set("XDG_CONFIG_HOME", m_oTemp / "config");
    m_oTemp.WriteFile("config/user-dirs.dirs", "# written by the desktop\n"
                                               "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                               "  XDG_DOCUMENTS_DIR = \"/srv/docs/\"\n"
                                               "XDG_TEMPLATES_DIR=\"relative/ignored\"\n"
                                               "XDG_MUSIC_DIR=\"$HOME/Musik\"\r\n");
    EXPECT_EQ(CSpecialFolders::Path(CSpecialFolders::Desktop), m_sHome + "/Schreibtisch");
    EXPECT_EQ(CSpecialFolders::Path(CSpecialFolders::Personal), "/srv/docs");
    EXPECT_EQ(CSpecialFolders::Path(CSpecialFolders::Templates), m_sHome + "/Templates");
    EXPECT_EQ(CSpecialFolders::UserDirectory("MUSIC", "Music"), m_sHome + "/Musik");
    EXPECT_EQ(CSpecialFolders::UserDirectory("VIDEOS", "Videos"), m_sHome + "/Videos");
}

TEST_F(SpecialFoldersTest, HomeItselfAsUserDirectory) {
    m_oEnvironment.Set("XDG_CONFIG_HOME", m_oTemp / "config");
    m_oTemp.WriteFile("config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/\"\n");
    EXPECT_EQ(CSpecialFolders::Path(CSpecialFolders::Desktop), m_sHome);
}

TEST_F(SpecialFoldersTest, VirtualAndUnknownFoldersHaveNoPath) {
    for (const std::int32_t lId :
         {CSpecialFolders::Drives, CSpecialFolders::Network, CSpecialFolders::Printers,
          CSpecialFolders::Controls, CSpecialFolders::BitBucket, CSpecialFolders::NetHood,
          CSpecialFolders::PrintHood}) {
        EXPECT_FALSE(CSpecialFolders::Path(lId)) << lId;
    }
    EXPECT_FALSE(CSpecialFolders::Path(-1));
    EXPECT_FALSE(CSpecialFolders::Path(12));
    EXPECT_FALSE(CSpecialFolders::Path(70000));
}

TEST_F(SpecialFoldersTest, NoAnswerEndsWithSlash) {
    m_oEnvironment.Set("XDG_CONFIG_HOME", m_oTemp / "config/");
    m_oEnvironment.Set("DAYFOLD_HOME", m_oTemp / "program/");
    for (std::int32_t lId = 0; lId <= 27; ++lId) {
        if (const auto osPath = CSpecialFolders::Path(lId)) {
            ASSERT_FALSE(osPath->empty()) << lId;
            EXPECT_EQ(osPath->front(), '/') << lId;
            EXPECT_NE(osPath->back(), '/') << lId;
        }
    }
}

} // namespace
