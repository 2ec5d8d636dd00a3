// The dayfold program as a user starts it from a terminal, in a home folder of its own.
#include "platform/shell/CDateTime.h"
#include "support/CTempFolder.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* szFolder : {"home", "data", "config", "documents"}) {
            fs::create_directories(m_oTemp / szFolder);
        }
    }

    // Runs dayfold with the arguments in the temporary home; the exit status, and what it
    // printed in sOutput.
    int Run(const std::vector<std::string>& vArguments, std::string& sOutput) {
        std::string sCommand = "env -i PATH=/usr/bin:/bin HOME='" + (m_oTemp / "home") +
                               "' XDG_DATA_HOME='" + (m_oTemp / "data") + "' XDG_CONFIG_HOME='" +
                               (m_oTemp / "config") + "' '" DAYFOLD_PROGRAM "'";
        for (const std::string& sArgument : vArguments) {
            sCommand += " '" + sArgument + "'";
        }
        sCommand += " 2>&1";
        FILE* pPipe = popen(sCommand.c_str(), "r");
        std::array<char, 4096> acBuffer{};
        sOutput.clear();
        while (const size_t nRead = fread(acBuffer.data(), 1, acBuffer.size(), pPipe)) {
            sOutput.append(acBuffer.data(), nRead);
        }
        const int iStatus = pclose(pPipe);
        return WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : -1;
    }

    CTempFolder m_oTemp;
};

std::string IsoUtc(std::time_t tTime) {
    char acText[32];
    std::tm oTime{};
    gmtime_r(&tTime, &oTime);
    std::strftime(acText, sizeof acText, "%Y-%m-%dT%H:%M:%S.123456Z", &oTime);
    return acText;
}

TEST_F(ProgramRun, CaptureOnceFilesWhatTheDesktopRecordedToday) {
    const std::time_t tUsed = std::time(nullptr) - 60;
    std::string sBookmarks = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<xbel version=\"1.0\" "
                             "xmlns:bookmark=\"http://www.freedesktop.org/standards/"
                             "desktop-bookmarks\">\n";
    const std::vector<std::string> vDocuments = {"Report one.txt", "Budget.ods", "Notes.md",
                                                 "Café menu.pdf", "Plan.odt"};
    for (const std::string& sName : vDocuments) {
        const std::string sPath = m_oTemp.WriteFile("documents/" + sName, "text");
        std::string sHref = "file://";
        for (const unsigned char c : sPath) {
            char acEscape[4];
            std::snprintf(acEscape, sizeof acEscape, "%%%02X", c);
            sHref += (std::isalnum(c) || c == '/' || c == '.' || c == '-') ? std::string(1, c)
                                                                           : acEscape;
        }
        sBookmarks += "  <bookmark href=\"" + sHref + "\" added=\"" + IsoUtc(tUsed) +
                      "\" modified=\"" + IsoUtc(tUsed) + "\" visited=\"" + IsoUtc(tUsed) + "\"/>\n";
    }
    sBookmarks += "</xbel>\n";
    m_oTemp.WriteFile("data/recently-used.xbel", sBookmarks);

    std::string sOutput;
    ASSERT_EQ(Run({"--capture-once"}, sOutput), 0) << sOutput;
    const CDateTime dToday = CDateTime::FromUnixTime(tUsed);
    const fs::path oDay = m_oTemp.Path() / "data/Dayfold/Daily" / dToday.YearText() /
                          dToday.MonthName() / dToday.DayText();
    for (const std::string& sName : vDocuments) {
        EXPECT_TRUE(fs::exists(oDay / (sName + ".lnk"))) << sName << "\n" << sOutput;
    }
    EXPECT_NE(sOutput.find("5 shortcuts filed"), std::string::npos) << sOutput;
}

TEST_F(ProgramRun, NamedRecentFolderIsNotFedFromTheDesktop) {
    m_oTemp.WriteFile("documents/a.txt", "text");
    m_oTemp.WriteFile("data/recently-used.xbel", "<xbel version=\"1.0\"><bookmark href=\"file://" +
                                                     (m_oTemp / "documents/a.txt") + "\" added=\"" +
                                                     IsoUtc(std::time(nullptr)) + "\"/></xbel>\n");
    fs::create_directories(m_oTemp.Path() / "windows-recent");
    std::string sOutput;
    ASSERT_EQ(Run({"--capture-once", "--recent-folder", m_oTemp / "windows-recent"}, sOutput), 0)
        << sOutput;
    EXPECT_TRUE(fs::is_empty(m_oTemp.Path() / "windows-recent"));
    EXPECT_NE(sOutput.find("0 shortcuts filed"), std::string::npos) << sOutput;
}

TEST_F(ProgramRun, AutostartWritesAndRemovesTheSessionEntry) {
    const fs::path oEntry = m_oTemp.Path() / "config/autostart/dayfold.desktop";
    std::string sOutput;
    ASSERT_EQ(Run({"--autostart", "on"}, sOutput), 0) << sOutput;
    ASSERT_TRUE(fs::exists(oEntry));
    EXPECT_NE(CTempFolder::ReadFile(oEntry.string()).find(fs::canonical(DAYFOLD_PROGRAM).string()),
              std::string::npos);
    ASSERT_EQ(Run({"--autostart", "off"}, sOutput), 0) << sOutput;
    EXPECT_FALSE(fs::exists(oEntry));
}

} // namespace
