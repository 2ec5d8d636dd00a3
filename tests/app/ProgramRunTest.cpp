// The dayfold program as a user starts it from a terminal, in a home folder of its own.
#include "app/resources/MResources.h"
#include "platform/shell/CDateTime.h"
#include "support/CFolderSnapshot.h"
#include "support/CScopedUmask.h"
#include "support/CTempFolder.h"
#include "support/MUnprivileged.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <gtest/gtest.h>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
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
    // printed in sOutput (standard error too, unless psErrors takes it). sUmask: the umask it
    // runs with, when given.
    int Run(const std::vector<std::string>& vArguments, std::string& sOutput,
            std::string* psErrors = nullptr, const std::string& sUmask = "") {
        const std::string sErrors = m_oTemp / ("stderr-" + std::to_string(getpid()) + ".txt");
        std::string sCommand = (sUmask.empty() ? "" : "umask " + sUmask + "; ") +
                               "env -i PATH=/usr/bin:/bin HOME='" + (m_oTemp / "home") +
                               "' XDG_DATA_HOME='" + (m_oTemp / "data") + "' XDG_CONFIG_HOME='" +
                               (m_oTemp / "config") + "' '" DAYFOLD_PROGRAM "'";
        for (const std::string& sArgument : vArguments) {
            sCommand += " '" + sArgument + "'";
        }
        sCommand += psErrors == nullptr ? " 2>&1" : " 2>'" + sErrors + "'";
        FILE* pPipe = popen(sCommand.c_str(), "r");
        std::array<char, 4096> acBuffer{};
        sOutput.clear();
        while (const size_t nRead = fread(acBuffer.data(), 1, acBuffer.size(), pPipe)) {
            sOutput.append(acBuffer.data(), nRead);
        }
        const int iStatus = pclose(pPipe);
        if (psErrors != nullptr) {
            *psErrors = CTempFolder::ReadFile(sErrors);
            fs::remove(sErrors);
        }
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

// The entries below sFolder (itself included) that group or others may read, write or enter,
// with their modes; links are not followed.
std::vector<std::string> OpenToOthers(const fs::path& oFolder) {
    std::vector<std::string> vOpen;
    const auto Check = [&vOpen](const fs::path& oPath) {
        const int iMode = ModeOf(oPath.string(), true);
        if (iMode >= 0 && !fs::is_symlink(oPath) && (iMode & 077) != 0) {
            char acMode[8];
            std::snprintf(acMode, sizeof acMode, "%04o", iMode);
            vOpen.push_back(oPath.string() + " " + acMode);
        }
    };
    Check(oFolder);
    for (const auto& oEntry : fs::recursive_directory_iterator(oFolder)) {
        Check(oEntry.path());
    }
    return vOpen;
}

// What a folder holds, by relative path: whether each is a folder, and its bytes.
std::map<std::string, std::pair<bool, std::string>> Contents(const std::string& sFolder) {
    std::map<std::string, std::pair<bool, std::string>> colContents;
    const CFolderSnapshot oSnapshot = CFolderSnapshot::Take(sFolder);
    for (const auto& [sPath, oItem] : oSnapshot.Items()) {
        colContents[sPath] = {oItem.bFolder, oItem.sBytes};
    }
    return colContents;
}

// Gives sFolder and what lies below it to the user that MUnprivileged runs checks as, and
// lets that user read it but write nothing in it.
void MakeReadOnlyForTheUnprivileged(const fs::path& oFolder) {
    uid_t iUser = geteuid();
    gid_t iGroup = getegid();
    if (iUser == 0) {
        const passwd* pNobody = getpwnam("nobody");
        iUser = pNobody != nullptr ? pNobody->pw_uid : 65534;
        iGroup = pNobody != nullptr ? pNobody->pw_gid : 65534;
    }
    std::vector<fs::path> vPaths = {oFolder};
    for (const auto& oEntry : fs::recursive_directory_iterator(oFolder)) {
        vPaths.push_back(oEntry.path());
    }
    for (const fs::path& oPath : vPaths) {
        ASSERT_EQ(lchown(oPath.c_str(), iUser, iGroup), 0) << oPath;
        if (!fs::is_symlink(oPath)) {
            ASSERT_EQ(chmod(oPath.c_str(), fs::is_directory(oPath) ? 0500 : 0400), 0) << oPath;
        }
    }
}

TEST_F(ProgramRun, EverythingTheJournalKeepsIsTheUsersAloneUnderUmask022) {
    // What an earlier version left open: the settings folder, and a journal with a day.
    ASSERT_EQ(chmod((m_oTemp / "config/Quillon").c_str(), 0755), 0);
    ASSERT_EQ(chmod((m_oTemp / "config/Quillon/Dayfold.reg").c_str(), 0644), 0);
    const std::string sData = m_oTemp / "data/Dayfold";
    m_oTemp.WriteFile("data/Dayfold/Daily/2024/May/02/Old.txt.lnk", "not read");
    m_oTemp.WriteFile("data/Dayfold/EventLog.txt", "an old line\n");
    for (const char* szPath :
         {"", "/Daily", "/Daily/2024", "/Daily/2024/May", "/Daily/2024/May/02"}) {
        ASSERT_EQ(chmod((sData + szPath).c_str(), 0755), 0);
    }
    ASSERT_EQ(chmod((sData + "/Daily/2024/May/02/Old.txt.lnk").c_str(), 0644), 0);
    ASSERT_EQ(chmod((sData + "/EventLog.txt").c_str(), 0664), 0);

    RecordUse({"documents/Report.txt"}, std::time(nullptr) - 60);
    std::string sOutput;
    ASSERT_EQ(Run({"--capture-once"}, sOutput, nullptr, "022"), 0) << sOutput;
    ASSERT_NE(sOutput.find("1 shortcut filed"), std::string::npos) << sOutput;
    // What was open is closed; what was made is the user's alone.
    for (const char* szFolder : {"", "/Daily", "/Daily/2024", "/Daily/2024/May/02", "/Recent"}) {
        EXPECT_EQ(ModeOf(sData + szFolder), 0700) << szFolder;
    }
    for (const char* szFile : {"/Daily/2024/May/02/Old.txt.lnk", "/EventLog.txt",
                               "/Recent/Report.txt.lnk", "/ErrorLog.txt"}) {
        EXPECT_EQ(ModeOf(sData + szFile), 0600) << szFile;
    }
    EXPECT_EQ(OpenToOthers(m_oTemp.Path() / "config/Quillon"), std::vector<std::string>{});
    EXPECT_EQ(ModeOf(m_oTemp / "config/Quillon/Dayfold.reg"), 0600);
}

TEST_F(ProgramRun, UnknownPrivateFoldersStopCaptureOnceWithOneLineAndTheFileIsKept) {
    RecordUse({"documents/Open.txt"}, std::time(nullptr) - 60);
    const std::string sSettings = m_oTemp / "config/Quillon/Dayfold.reg";
    const std::string sGood = CTempFolder::ReadFile(sSettings);
    const std::string sMessage = "dayfold: " + MResources::LoadResString(190) + " " +
                                 MResources::LoadResString(191) + " " + sSettings + "\n";
    const std::string sData = m_oTemp / "data/Dayfold";
    // Nothing journalled: no day, no shortcut fed into Recent.
    const auto NothingJournalled = [&] {
        std::error_code ec;
        return (!fs::exists(sData + "/Daily", ec) || fs::is_empty(sData + "/Daily", ec)) &&
               (!fs::exists(sData + "/Recent", ec) || fs::is_empty(sData + "/Recent", ec));
    };

    // A file its user may not read, first: the program runs as a user whom that stops.
    MUnprivileged::OpenToAll(m_oTemp.Path());
    ASSERT_EQ(chmod(sSettings.c_str(), 0), 0);
    EXPECT_EQ(MUnprivileged::Run([&] {
                  std::string sOut;
                  std::string sErr;
                  const int iStatus = Run({"--capture-once"}, sOut, &sErr);
                  if (iStatus != 1 || sErr != sMessage || !sOut.empty()) {
                      std::fprintf(stderr, "status %d\nout: %s\nerr: %s\n", iStatus, sOut.c_str(),
                                   sErr.c_str());
                      return 1;
                  }
                  return NothingJournalled() ? 0 : 2;
              }),
              0);
    ASSERT_EQ(chmod(sSettings.c_str(), 0600), 0);
    EXPECT_EQ(CTempFolder::ReadFile(sSettings), sGood);

    // The first line damaged; a private folder written without quotes; over its size cap; a
    // folder in its place.
    const std::vector<std::pair<std::string, std::function<void()>>> vDamages = {
        {"first line", [&] { m_oTemp.WriteFile("config/Quillon/Dayfold.reg", sGood.substr(1)); }},
        {"unquoted folder",
         [&] {
             m_oTemp.WriteFile("config/Quillon/Dayfold.reg",
                               sGood + "\"Folder 2\"=" + (m_oTemp / "documents") + "\n");
         }},
        {"over its cap",
         [&] {
             m_oTemp.WriteFile("config/Quillon/Dayfold.reg", sGood);
             fs::resize_file(sSettings, 5u << 20);
         }},
        {"a folder", [&] { fs::create_directories(sSettings); }}};
    int iDamages = 0;
    for (const auto& [sWhat, fDamage] : vDamages) {
        fs::remove_all(sSettings);
        fDamage();
        const auto oBefore = Contents(m_oTemp / "config");
        std::string sOut;
        std::string sErr;
        EXPECT_EQ(Run({"--capture-once"}, sOut, &sErr), 1) << sWhat << "\n" << sOut << sErr;
        EXPECT_EQ(sErr, sMessage) << sWhat;
        EXPECT_TRUE(NothingJournalled()) << sWhat;
        // Closed to others maybe, but as it was.
        EXPECT_EQ(Contents(m_oTemp / "config"), oBefore) << sWhat;
        ++iDamages;
    }
    EXPECT_EQ(iDamages, 4);

    // Repaired, the same run files the document.
    fs::remove_all(sSettings);
    m_oTemp.WriteFile("config/Quillon/Dayfold.reg", sGood);
    std::string sOut;
    EXPECT_EQ(Run({"--capture-once"}, sOut), 0) << sOut;
    EXPECT_FALSE(NothingJournalled());
}

TEST_F(ProgramRun, ListAndExportReadAJournalTheyMayNotWriteAndLeaveItAsItIs) {
    const std::time_t tUsed = std::time(nullptr) - 60;
    const std::string sData = m_oTemp / "data/Dayfold";
    // No journal yet: nothing to print, and nothing made for it.
    std::string sOutput;
    ASSERT_EQ(Run({"--list"}, sOutput), 0) << sOutput;
    EXPECT_EQ(sOutput, "");
    EXPECT_FALSE(fs::exists(sData));

    RecordUse({"documents/Report.txt"}, tUsed);
    ASSERT_EQ(Run({"--capture-once"}, sOutput), 0) << sOutput;
    const CDateTime dUsed = CDateTime::FromUnixTime(tUsed);
    char acDay[16];
    std::snprintf(acDay, sizeof acDay, "%04d-%02d-%02d", dUsed.Year(), dUsed.Month(), dUsed.Day());
    MUnprivileged::OpenToAll(m_oTemp.Path());
    MakeReadOnlyForTheUnprivileged(sData);
    const CFolderSnapshot oBefore = CFolderSnapshot::Take(sData);
    EXPECT_EQ(
        MUnprivileged::Run([&] {
            int iCheck = 0;
            for (const std::vector<std::string>& vArguments :
                 std::vector<std::vector<std::string>>{{"--list", acDay},
                                                       {"--export", "csv"},
                                                       {"--export", "json", "--from", acDay}}) {
                ++iCheck;
                std::string sOut;
                std::string sErr;
                const int iStatus = Run(vArguments, sOut, &sErr);
                if (iStatus != 0 || !sErr.empty() || sOut.find("Report.txt") == std::string::npos) {
                    std::fprintf(stderr, "%s: status %d\nout: %s\nerr: %s\n", vArguments[0].c_str(),
                                 iStatus, sOut.c_str(), sErr.c_str());
                    return iCheck;
                }
            }
            return 0;
        }),
        0);
    EXPECT_EQ(CFolderSnapshot::Take(sData).Difference(oBefore), "");
    MUnprivileged::OpenToAll(sData); // for the test's own clean-up
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
