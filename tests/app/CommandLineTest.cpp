#include "app/core/CCommandLine.h"

#include <gtest/gtest.h>

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

} // namespace
