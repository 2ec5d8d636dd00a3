#include "platform/shell/CAutostart.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CDesktopFile.h"
#include "support/CScopedEnvironment.h"
#include "support/CTempFolder.h"
#include "support/MUnprivileged.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_oEnvironment.Set("HOME", m_oTemp / "home");
        m_oEnvironment.Set("XDG_CONFIG_HOME", m_oTemp / "home/config");
        m_oEnvironment.Set("XDG_CONFIG_DIRS", m_oTemp / "etc-xdg");
    }
    std::string Entry() const { return m_oTemp / "home/config/autostart/dayfold.desktop"; }

    CTempFolder m_oTemp;
    CScopedEnvironment m_oEnvironment;
};

TEST_F(AutostartTest, OnWritesAnEntryThatStartsTheProgramAndOffRemovesIt) {
    EXPECT_EQ(CAutostart::EntryPath(), Entry());
    EXPECT_FALSE(CAutostart::IsOn());
    const std::string sProgram = "/opt/My \"Apps\"/100%\\day fold";
    CAutostart::SetOn(true, sProgram);
    EXPECT_TRUE(CAutostart::IsOn());

    // Read back as the desktop reads it: one argument, the program's own path.
    const CDesktopFile oEntry = CDesktopFile::Read(Entry());
    EXPECT_EQ(oEntry.Value("Desktop Entry", "Type"), "Application");
    EXPECT_EQ(oEntry.Value("Desktop Entry", "X-GNOME-Autostart-enabled"), "true");
    const auto ovWords =
        CDesktopFile::SplitExec(CDesktopFile::Unescape(*oEntry.Value("Desktop Entry", "Exec")));
    ASSERT_TRUE(ovWords);
    EXPECT_EQ(*ovWords, (std::vector<std::string>{"/opt/My \"Apps\"/100%%\\day fold"}))
        << "%% is the literal % of an Exec line";

    CAutostart::SetOn(true, "/usr/bin/dayfold");
    EXPECT_NE(CTempFolder::ReadFile(Entry()).find("Exec=/usr/bin/dayfold\n"), std::string::npos);
    CAutostart::SetOn(false, "");
    EXPECT_FALSE(fs::exists(Entry()));
    EXPECT_FALSE(CAutostart::IsOn());
    CAutostart::SetOn(false, "");
    EXPECT_THROW(CAutostart::SetOn(true, "relative/dayfold"), CRunTimeError);
}

TEST_F(AutostartTest, TheUsersEntryDecidesOverTheSystemsAndOffHidesASystemEntry) {
    m_oTemp.WriteFile("etc-xdg/autostart/dayfold.desktop",
                      "[Desktop Entry]\nType=Application\nExec=/usr/bin/dayfold\n");
    EXPECT_TRUE(CAutostart::IsOn());
    CAutostart::SetOn(false, "");
    EXPECT_FALSE(CAutostart::IsOn());
    EXPECT_TRUE(fs::exists(m_oTemp / "etc-xdg/autostart/dayfold.desktop"));
    EXPECT_NE(CTempFolder::ReadFile(Entry()).find("Hidden=true"), std::string::npos);
    CAutostart::SetOn(true, "/usr/bin/dayfold");
    EXPECT_TRUE(CAutostart::IsOn());

    m_oTemp.WriteFile(
        "home/config/autostart/dayfold.desktop",
        "[Desktop Entry]\nType=Application\nExec=x\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_FALSE(CAutostart::IsOn()) << "switched off in the desktop's own settings";
    fs::remove(Entry());
    fs::create_directory(Entry());
    EXPECT_FALSE(CAutostart::IsOn()) << "an entry that cannot be read";
}

TEST_F(AutostartTest, AnEntryThatCannotBeWrittenOrRemovedIsAnError) {
    CAutostart::SetOn(true, "/usr/bin/dayfold");
    MUnprivileged::OpenToAll(m_oTemp.Path().string());
    chmod((m_oTemp / "home/config/autostart").c_str(), 0555);
    const int iResult = MUnprivileged::Run([&] {
        try {
            CAutostart::SetOn(false, "");
            return 1;
        } catch (const CRunTimeError&) {
        }
        try {
            CAutostart::SetOn(true, "/usr/bin/other");
            return 2;
        } catch (const CRunTimeError&) {
        }
        return CAutostart::IsOn() ? 0 : 3;
    });
    EXPECT_EQ(iResult, 0);
    EXPECT_NE(CTempFolder::ReadFile(Entry()).find("Exec=/usr/bin/dayfold\n"), std::string::npos);
}

TEST(Autostart, TheRunningProgramIsAnAbsolutePathOfAnExistingFile) {
    const std::string sProgram = CAutostart::RunningProgram();
    ASSERT_FALSE(sProgram.empty());
    EXPECT_EQ(sProgram[0], '/');
    EXPECT_EQ(access(sProgram.c_str(), X_OK), 0);
}

} // namespace
