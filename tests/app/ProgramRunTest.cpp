// The dayfold program as a user starts it from a terminal, in a home folder of its own.
#include "platform/shell/CDateTime.h"
#include "support/CTempFolder.h"

#include <algorithm>
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
        // The home lies below the temporary folder, which is private by default: its own
        // "private" folder alone is.
        m_oTemp.WriteFile("config/Quillon/Dayfold.reg",
                          "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Privacy]\n"
                          "\"Folder 1\"=\"" +
                              (m_oTemp / "private") + "\"\n");
    }

    // The desktop's record of the documents sNames (below the temporary folder) used at
    // tUsed.
    void RecordUse(const std::vector<std::string>& vNames, std::time_t tUsed);

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

void ProgramRun::RecordUse(const std::vector<std::string>& vNames, std::time_t tUsed) {
    std::string sBookmarks = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\">\n";
    for (const std::string& sName : vNames) {
        std::string sHref = "file://";
        for (const unsigned char c : m_oTemp.WriteFile(sName, "text")) {
            char acEscape[4];
            std::snprintf(acEscape, sizeof acEscape, "%%%02X", c);
            sHref += (std::isalnum(c) || c == '/' || c == '.' || c == '-') ? std::string(1, c)
                                                                           : acEscape;
        }
        sBookmarks += "  <bookmark href=\"" + sHref + "\" added=\"" + IsoUtc(tUsed) +
                      "\" modified=\"" + IsoUtc(tUsed) + "\" visited=\"" + IsoUtc(tUsed) + "\"/>\n";
    }
    m_oTemp.WriteFile("data/recently-used.xbel", sBookmarks + "</xbel>\n");
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

TEST_F(ProgramRun, CaptureOnceLeavesThePrivateFolderOut) {
    const std::time_t tUsed = std::time(nullptr) - 60;
    RecordUse({"documents/Open.txt", "private/Secret.txt", "private/deeper/Plan.txt"}, tUsed);
    std::string sOutput;
    ASSERT_EQ(Run({"--capture-once"}, sOutput), 0) << sOutput;
    EXPECT_NE(sOutput.find("1 shortcut filed"), std::string::npos) << sOutput;
    EXPECT_EQ(sOutput.find("Secret"), std::string::npos) << sOutput;
    EXPECT_EQ(sOutput.find("Plan"), std::string::npos) << sOutput;
}

TEST_F(ProgramRun, ListAndExportWriteTheJournal) {
    const std::time_t tUsed = std::time(nullptr) - 60;
    RecordUse({"documents/Report, final.txt", "documents/Notes.md"}, tUsed);
    std::string sOutput;
    ASSERT_EQ(Run({"--capture-once"}, sOutput), 0) << sOutput;
    const CDateTime dUsed = CDateTime::FromUnixTime(tUsed);
    char acDay[16];
    std::snprintf(acDay, sizeof acDay, "%04d-%02d-%02d", dUsed.Year(), dUsed.Month(), dUsed.Day());
    char acTime[16];
    std::snprintf(acTime, sizeof acTime, "%02d:%02d:%02d", dUsed.Hour(), dUsed.Minute(),
                  dUsed.Second());
    const std::string sDocuments = m_oTemp / "documents";

    // Today's list, by time and then name, and the same day named.
    std::string sToday;
    ASSERT_EQ(Run({"--list"}, sToday), 0) << sToday;
    const std::vector<std::string> vLines = {std::string(acTime) + "\tNotes.md\t" + sDocuments,
                                             std::string(acTime) + "\tReport, final.txt\t" +
                                                 sDocuments};
    size_t nFrom = 0;
    for (const std::string& sLine : vLines) {
        const size_t nAt = sToday.find(sLine + "\t", nFrom);
        ASSERT_NE(nAt, std::string::npos) << sLine << "\n" << sToday;
        nFrom = nAt + sLine.size();
    }
    EXPECT_EQ(std::count(sToday.begin(), sToday.end(), '\n'), 2) << sToday;
    ASSERT_EQ(Run({"--list", acDay}, sOutput), 0);
    EXPECT_EQ(sOutput, sToday);
    ASSERT_EQ(Run({"--list", "1999-01-01"}, sOutput), 0);
    EXPECT_EQ(sOutput, "");

    ASSERT_EQ(Run({"--export", "csv", "--from", acDay, "--to", acDay}, sOutput), 0) << sOutput;
    EXPECT_EQ(sOutput.rfind("date,time,name,folder,type,target,days_used\r\n", 0), 0U) << sOutput;
    EXPECT_NE(sOutput.find(std::string(acDay) + "," + acTime + ",\"Report, final.txt\"," +
                           sDocuments + ","),
              std::string::npos)
        << sOutput;
    EXPECT_NE(sOutput.find("," + sDocuments + "/Notes.md,1\r\n"), std::string::npos) << sOutput;

    ASSERT_EQ(Run({"--export", "json"}, sOutput), 0) << sOutput;
    EXPECT_EQ(sOutput.rfind("[\n{\"date\":\"" + std::string(acDay) + "\",\"time\":\"", 0), 0U)
        << sOutput;
    EXPECT_NE(sOutput.find("\"name\":\"Report, final.txt\""), std::string::npos) << sOutput;
    EXPECT_NE(sOutput.find("\"days_used\":1}\n]\n"), std::string::npos) << sOutput;

    // A day before the journal: only the header, or an empty array.
    ASSERT_EQ(Run({"--export", "csv", "--to", "1999-01-01"}, sOutput), 0);
    EXPECT_EQ(sOutput, "date,time,name,folder,type,target,days_used\r\n");
    ASSERT_EQ(Run({"--export", "json", "--to", "1999-01-01"}, sOutput), 0);
    EXPECT_EQ(sOutput, "[]\n");
}

TEST_F(ProgramRun, AWrongJournalCommandIsOneLineAndStatusTwo) {
    for (const std::vector<std::string>& vArguments : std::vector<std::vector<std::string>>{
             {"--list", "2024-02-30"},
             {"--export", "xml"},
             {"--export", "csv", "--from", "2024-05-02", "--to", "2024-05-01"},
             {"--export", "json", "--since"}}) {
        std::string sOutput;
        EXPECT_EQ(Run(vArguments, sOutput), 2) << sOutput;
        EXPECT_EQ(std::count(sOutput.begin(), sOutput.end(), '\n'), 1) << sOutput;
        EXPECT_EQ(sOutput.rfind("dayfold: ", 0), 0U) << sOutput;
        EXPECT_NE(sOutput.find(vArguments.back()), std::string::npos) << sOutput;
    }
    // Neither ran: no data folder was made for them.
    EXPECT_FALSE(fs::exists(m_oTemp.Path() / "data/Dayfold"));

    std::string sHelp;
    ASSERT_EQ(Run({"--help"}, sHelp), 0);
    for (const char* szOption :
         {"--list [DATE]", "--export csv|json", "--from DATE", "--to DATE"}) {
        EXPECT_NE(sHelp.find(szOption), std::string::npos) << szOption;
    }
}

} // namespace
