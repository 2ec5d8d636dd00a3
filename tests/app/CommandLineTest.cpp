#include "app/core/CCommandLine.h"

#include "support/CScopedEnvironment.h"
#include "support/CTempFolder.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(CommandLine, ReadsEveryOption) {
    const CCommandLine oLine(
        {"--recent-folder", "/backup/Recent", "--capture-once", "--autostart", "off", "--version"});
    ASSERT_TRUE(oLine.Valid()) << oLine.Error();
    EXPECT_EQ(oLine.RecentFolder(), "/backup/Recent");
    EXPECT_TRUE(oLine.CaptureOnce());
    EXPECT_EQ(oLine.Autostart(), "off");
    EXPECT_TRUE(oLine.Version());
    EXPECT_FALSE(oLine.Help());
    EXPECT_EQ(CCommandLine({"--recent-folder=/r"}).RecentFolder(), "/r");
}

TEST(CommandLine, RefusesMissingValuesAndUnknownArguments) {
    EXPECT_FALSE(CCommandLine({"--recent-folder"}).Valid());
    EXPECT_FALSE(CCommandLine({"--recent-folder="}).Valid());
    EXPECT_FALSE(CCommandLine({"--autostart", "maybe"}).Valid());
    EXPECT_FALSE(CCommandLine({"--capture"}).Valid());
    EXPECT_TRUE(CCommandLine({}).Valid());
}

// The folders of a run, found from options and environment in a home folder of its own.
class CommandLineFolders : public ::testing::Test {
protected:
    void SetUp() override {
        m_oEnvironment.Set("HOME", m_oTemp / "home");
        m_oEnvironment.Set("XDG_DATA_HOME", m_oTemp / "data");
        m_oEnvironment.Unset("DAYFOLD_HOME");
        m_oEnvironment.Unset("DAYFOLD_RECENT");
        fs::create_symlink("loop", m_oTemp / "loop");
    }

    // The problem told for a run with these arguments, empty when the folders are usable.
    static std::string Problem(const std::vector<std::string>& vArguments) {
        std::string sProblem;
        const auto oFolders = CCommandLine(vArguments).FindFolders(sProblem);
        EXPECT_EQ(oFolders.has_value(), sProblem.empty()) << sProblem;
        return sProblem;
    }

    CTempFolder m_oTemp;
    CScopedEnvironment m_oEnvironment;
};

TEST_F(CommandLineFolders, LinkLoopAnywhereIsRefusedWithTheFolderAndTheReason) {
    const std::string sLoop = m_oTemp / "loop";
    const std::string sReason = std::strerror(ELOOP);

    const std::string sOption = Problem({"--recent-folder", sLoop});
    EXPECT_NE(sOption.find("Recent folder " + sLoop), std::string::npos) << sOption;
    EXPECT_NE(sOption.find(sReason), std::string::npos) << sOption;

    m_oEnvironment.Set("DAYFOLD_RECENT", sLoop);
    const std::string sRecent = Problem({});
    EXPECT_NE(sRecent.find(sLoop + " (DAYFOLD_RECENT)"), std::string::npos) << sRecent;
    EXPECT_NE(sRecent.find(sReason), std::string::npos) << sRecent;

    m_oEnvironment.Unset("DAYFOLD_RECENT");
    m_oEnvironment.Set("DAYFOLD_HOME", sLoop);
    const std::string sHome = Problem({});
    EXPECT_NE(sHome.find("data folder " + sLoop), std::string::npos) << sHome;
    EXPECT_NE(sHome.find(sReason), std::string::npos) << sHome;

    // A loop where the default Recent folder would be made.
    m_oEnvironment.Set("DAYFOLD_HOME", m_oTemp / "program");
    fs::create_directories(m_oTemp / "program");
    fs::create_symlink("Recent", m_oTemp / "program/Recent");
    EXPECT_NE(Problem({}).find(sReason), std::string::npos);
}

TEST_F(CommandLineFolders, NamedRecentFolderMustExistWhileTheDefaultIsMade) {
    const std::string sMissing = m_oTemp / "missing/Recent";
    EXPECT_NE(Problem({"--recent-folder", sMissing}).find(std::strerror(ENOENT)),
              std::string::npos);
    m_oEnvironment.Set("DAYFOLD_RECENT", sMissing);
    const std::string sProblem = Problem({});
    EXPECT_NE(sProblem.find(sMissing + " (DAYFOLD_RECENT) cannot be used"), std::string::npos)
        << sProblem;
    EXPECT_FALSE(fs::exists(m_oTemp / "missing")) << "a named Recent folder is never made";

    // A file is no Recent folder either.
    m_oEnvironment.Set("DAYFOLD_RECENT", m_oTemp.WriteFile("file.lnk", "x"));
    EXPECT_NE(Problem({}).find(std::strerror(ENOTDIR)), std::string::npos);

    m_oEnvironment.Unset("DAYFOLD_RECENT");
    std::string sNone;
    const auto oFolders = CCommandLine({}).FindFolders(sNone);
    ASSERT_TRUE(oFolders) << sNone;
    EXPECT_EQ(oFolders->sDataFolder, m_oTemp / "data/Dayfold");
    EXPECT_EQ(oFolders->sRecentFolder, m_oTemp / "data/Dayfold/Recent");
    EXPECT_TRUE(fs::is_directory(oFolders->sRecentFolder));

    // The option wins over the environment.
    m_oEnvironment.Set("DAYFOLD_RECENT", sMissing);
    const auto oOption = CCommandLine({"--recent-folder", m_oTemp / "data"}).FindFolders(sNone);
    ASSERT_TRUE(oOption) << sNone;
    EXPECT_EQ(oOption->sRecentFolder, m_oTemp / "data");
}

TEST_F(CommandLineFolders, RelativeProgramVariablesAreRefusedByName) {
    m_oEnvironment.Set("DAYFOLD_HOME", "journal");
    const std::string sHome = Problem({});
    EXPECT_NE(sHome.find("DAYFOLD_HOME is set to \"journal\""), std::string::npos) << sHome;
    EXPECT_FALSE(fs::exists(m_oTemp / "data/Dayfold")) << "no folder is made in its place";

    m_oEnvironment.Unset("DAYFOLD_HOME");
    m_oEnvironment.Set("DAYFOLD_RECENT", "./Recent");
    EXPECT_NE(Problem({}).find("DAYFOLD_RECENT is set to \"./Recent\""), std::string::npos);
}

} // namespace
