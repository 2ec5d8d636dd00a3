#include "aboutbox/SystemInformation.h"
#include "aboutbox/CMachineSettings.h"
#include "tests/aboutbox/CAboutBoxWorld.h"

#include <gtest/gtest.h>

using qlAboutBox::CMachineSettings;
using qlAboutBox::SystemInformation;

namespace {

constexpr const char* ToolKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n";
constexpr const char* LocationKey =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n";

using Arguments = std::vector<std::string>;

TEST(SystemInformationTest, RegisteredProgramComesFirst) {
    CAboutBoxWorld oWorld;
    oWorld.MakeProgram("bin/kinfocenter");
    oWorld.WriteMachineSettings(std::string(ToolKey) + "\"PATH\"=\"/opt/sysinfo/sysinfo\"\n");
    SystemInformation oInfo;
    EXPECT_TRUE(oInfo.Enabled());
    EXPECT_EQ(oInfo.Path(), "/opt/sysinfo/sysinfo");
    EXPECT_TRUE(oInfo.Arguments().empty());

    EXPECT_EQ(oInfo.Display(), std::nullopt);
    ASSERT_EQ(oWorld.Starts().size(), 1u);
    EXPECT_EQ(oWorld.Starts()[0].sProgram, "/opt/sysinfo/sysinfo");
}

TEST(SystemInformationTest, RegisteredFolderCountsOnlyWithTheProgramInIt) {
    CAboutBoxWorld oWorld;
    const std::string sFolder = oWorld.Temp() / "msinfo";
    std::filesystem::create_directories(sFolder);
    oWorld.WriteMachineSettings(std::string(LocationKey) + "\"MSINFO\"=\"" + sFolder + "/\"\n");
    SystemInformation oInfo;
    EXPECT_FALSE(oInfo.Enabled());
    EXPECT_EQ(oInfo.Path(), "");

    oWorld.MakeProgram("msinfo/MSINFO32.EXE");
    EXPECT_TRUE(oInfo.Enabled());
    EXPECT_EQ(oInfo.Path(), sFolder + "/MSINFO32.EXE");

    // A folder entry without its program leaves the desktop's program to be found.
    std::filesystem::remove(sFolder + "/MSINFO32.EXE");
    const std::string sDesktopProgram = oWorld.MakeProgram("bin/hardinfo");
    EXPECT_TRUE(oInfo.Enabled());
    EXPECT_EQ(oInfo.Path(), sDesktopProgram);
}

TEST(SystemInformationTest, MachineSettingsReadOnlyMachineStringValues) {
    CAboutBoxWorld oWorld;
    const std::string sFile = oWorld.MachineSettingsPath();
    const auto Read = [&] {
        return CMachineSettings::ReadString(sFile, "software\\microsoft\\shared tools\\msinfo",
                                            "path");
    };
    // No file, an empty value, a number, and keys of the user instead of the machine.
    EXPECT_EQ(Read(), std::nullopt);
    oWorld.WriteMachineSettings(
        "[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n\"PATH\"=\"/user\"\n");
    EXPECT_EQ(Read(), std::nullopt);
    oWorld.WriteMachineSettings(std::string(ToolKey) + "\"PATH\"=dword:0000001f\n");
    EXPECT_EQ(Read(), std::nullopt);

    // Names without regard to case; values of kinds the settings reader refuses, with their
    // continuation lines, and other roots do not spoil the rest; CR LF line ends.
    oWorld.WriteMachineSettings(
        "[HKEY_USERS\\.DEFAULT]\r\n\"Odd\"=hex(2):25,00,\\\r\n  00,00\r\n\r\n"
        "[hkey_local_machine\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\r\n"
        "\"Blob\"=hex:01,02,\\\r\n  03,04\r\n"
        "\"Pa\\\"th\"=\"quoted\"\r\n"
        "\"PATH\"=\"/usr/bin/kinfocenter\"\r\n");
    EXPECT_EQ(Read(), std::optional<std::string>("/usr/bin/kinfocenter"));

    // A damaged file is no registration at all: the desktop's program is found instead.
    oWorld.WriteMachineSettings(std::string(ToolKey) + "\"PATH\"=\"/opt/x\n");
    EXPECT_EQ(Read(), std::nullopt);
    oWorld.MakeProgram("bin/kinfocenter");
    SystemInformation oInfo;
    EXPECT_TRUE(oInfo.Enabled());
    EXPECT_EQ(oInfo.Path(), oWorld.ProgramFolder() + "/kinfocenter");
}

TEST(SystemInformationTest, DesktopProgramOfTheCurrentDesktopFirst) {
    CAboutBoxWorld oWorld;
    const std::string sKde = oWorld.MakeProgram("bin/kinfocenter");
    const std::string sGnome = oWorld.MakeProgram("bin/gnome-control-center");
    const std::string sMate = oWorld.MakeProgram("bin/mate-system-monitor");
    SystemInformation oInfo;
    const auto Found = [&](const std::string& sDesktop) {
        oWorld.Platform().SetCurrentDesktop(sDesktop);
        oWorld.Apply();
        return oInfo.Enabled() ? std::make_pair(oInfo.Path(), oInfo.Arguments())
                               : std::make_pair(std::string(), Arguments());
    };
    EXPECT_EQ(Found("ubuntu:GNOME"), std::make_pair(sGnome, Arguments{"system", "about"}));
    EXPECT_EQ(Found("MATE"), std::make_pair(sMate, Arguments{"--show-system-tab"}));
    EXPECT_EQ(Found("KDE"), std::make_pair(sKde, Arguments{}));
    // Elsewhere, the first that runs on any desktop; GNOME's refuses other desktops.
    EXPECT_EQ(Found("XFCE"), std::make_pair(sKde, Arguments{}));
    std::filesystem::remove(sKde);
    std::filesystem::remove(sMate);
    EXPECT_EQ(Found("XFCE"), std::make_pair(std::string(), Arguments{}));
    EXPECT_EQ(Found(""), std::make_pair(std::string(), Arguments{}));
    EXPECT_EQ(Found("gnome"), std::make_pair(sGnome, Arguments{"system", "about"}));
}

TEST(SystemInformationTest, OlderGnomeOpensItsInfoPanel) {
    CAboutBoxWorld oWorld;
    const std::string sGnome = oWorld.MakeProgram("usr/bin/gnome-control-center");
    oWorld.Temp().WriteFile("usr/share/applications/gnome-info-overview-panel.desktop", "");
    oWorld.Platform().SetProgramFolders({oWorld.Temp() / "usr/bin"});
    oWorld.Platform().SetCurrentDesktop("GNOME");
    oWorld.Apply();
    SystemInformation oInfo;
    ASSERT_TRUE(oInfo.Enabled());
    EXPECT_EQ(oInfo.Path(), sGnome);
    EXPECT_EQ(oInfo.Arguments(), Arguments{"info-overview"});
}

TEST(SystemInformationTest, OnlyExecutableProgramsCount) {
    CAboutBoxWorld oWorld;
    oWorld.MakeProgram("bin/kinfocenter", false);
    std::filesystem::create_directories(oWorld.ProgramFolder() + "/hardinfo");
    SystemInformation oInfo;
    EXPECT_FALSE(oInfo.Enabled());
    // Nothing found: nothing to start and nothing to report.
    EXPECT_EQ(oInfo.Display(), std::nullopt);
    EXPECT_TRUE(oWorld.Starts().empty());

    const std::string sHardinfo = oWorld.MakeProgram("other/hardinfo");
    oWorld.Platform().SetProgramFolders({"", oWorld.ProgramFolder(), oWorld.Temp() / "other"});
    oWorld.Apply();
    EXPECT_TRUE(oInfo.Enabled());
    EXPECT_EQ(oInfo.Path(), sHardinfo);
}

TEST(SystemInformationTest, FailedStartIsReturnedForTheCaller) {
    CAboutBoxWorld oWorld;
    oWorld.WriteMachineSettings(std::string(ToolKey) + "\"PATH\"=\"" +
                                (oWorld.Temp() / "gone/sysinfo") + "\"\n");
    oWorld.SetStartSucceeds(false);
    SystemInformation oInfo;
    ASSERT_TRUE(oInfo.Enabled());
    const std::optional<CRunTimeError> oFailure = oInfo.Display();
    ASSERT_TRUE(oFailure.has_value());
    EXPECT_EQ(oFailure->Number(), 53);
    EXPECT_EQ(oFailure->Description(), "File not found: " + (oWorld.Temp() / "gone/sysinfo"));
    EXPECT_EQ(oWorld.ErrorLog(), "");
}

} // namespace
