// The dayfold program on a desktop as a new user runs it: started in a home folder of its own
// (under Xvfb when the machine has it, else on the offscreen platform), it files what the
// desktop recorded before its window shows, and SIGTERM closes it the way logging off does.
#include "platform/shell/CDateTime.h"
#include "support/CTempFolder.h"

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A generous limit for a start on a loaded machine: waiting ends as soon as the event comes.
constexpr int LimitMilliseconds = 90000;

std::string IsoUtc(std::time_t tTime) {
    char acText[32];
    std::tm oTime{};
    gmtime_r(&tTime, &oTime);
    std::strftime(acText, sizeof acText, "%Y-%m-%dT%H:%M:%S.123456Z", &oTime);
    return acText;
}

std::string FileUri(const std::string& sPath) {
    std::string sUri = "file://";
    for (const unsigned char c : sPath) {
        char acEscape[4];
        std::snprintf(acEscape, sizeof acEscape, "%%%02X", c);
        sUri +=
            (std::isalnum(c) || c == '/' || c == '.' || c == '-') ? std::string(1, c) : acEscape;
    }
    return sUri;
}

bool OnPath(const std::string& sProgram) {
    for (const char* szFolder : {"/usr/bin", "/bin", "/usr/local/bin"}) {
        if (access((std::string(szFolder) + "/" + sProgram).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

// Blocks until the file's folder reports a change and the file holds sText, or the limit.
bool WaitForText(const fs::path& oFile, const std::string& sText) {
    const int iNotify = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    inotify_add_watch(iNotify, oFile.parent_path().c_str(),
                      IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE);
    bool bFound = false;
    const std::time_t tLimit = std::time(nullptr) + LimitMilliseconds / 1000;
    while (!bFound && std::time(nullptr) < tLimit) {
        bFound = fs::exists(oFile) &&
                 CTempFolder::ReadFile(oFile.string()).find(sText) != std::string::npos;
        if (!bFound) {
            pollfd oPoll{iNotify, POLLIN, 0};
            poll(&oPoll, 1, 1000);
            std::array<char, 4096> acEvents{};
            while (read(iNotify, acEvents.data(), acEvents.size()) > 0) {
            }
        }
    }
    close(iNotify);
    return bFound;
}

// Waits for the child to end (its process descriptor becomes readable); its exit status, or -1
// after the limit (the child is then killed).
int WaitForExit(pid_t pid) {
    const int iProcess = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    pollfd oPoll{iProcess, POLLIN, 0};
    const bool bEnded = iProcess < 0 || poll(&oPoll, 1, LimitMilliseconds) > 0;
    if (iProcess >= 0) {
        close(iProcess);
    }
    if (!bEnded) {
        kill(pid, SIGKILL);
    }
    int iStatus = 0;
    waitpid(pid, &iStatus, 0);
    return bEnded && WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : -1;
}

TEST(DesktopRun, FilesTheDesktopsRecordsBeforeShowingAndSavesOnSigterm) {
    CTempFolder oTemp;
    for (const char* szFolder : {"home", "data", "config/Quillon", "documents"}) {
        fs::create_directories(oTemp / szFolder);
    }
    fs::create_directories(oTemp / "runtime");
    chmod((oTemp / "runtime").c_str(), 0700);
    // Not a first run (no welcome box to answer), and stored hidden: without a tray it shows.
    oTemp.WriteFile("config/Quillon/Dayfold.reg",
                    "Windows Registry Editor Version 5.00\n\n"
                    "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Options]\n"
                    "\"Purge Age\"=\"30\"\n\n"
                    "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Window]\n"
                    "\"Visible\"=\"False\"\n\n"
                    // The documents lie in the temporary folder, which is private by default.
                    "[HKEY_CURRENT_USER\\Software\\Quillon\\Dayfold\\Privacy]\n"
                    "\"Folder 1\"=\"/nowhere\"\n");
    const std::time_t tUsed = std::time(nullptr) - 60;
    const std::vector<std::string> vDocuments = {"Report one.txt", "Budget.ods", "Notes.md",
                                                 "Café menu.pdf", "Plan.odt"};
    std::string sBookmarks = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\">\n";
    for (const std::string& sName : vDocuments) {
        sBookmarks += "  <bookmark href=\"" + FileUri(oTemp.WriteFile("documents/" + sName, "x")) +
                      "\" added=\"" + IsoUtc(tUsed) + "\" modified=\"" + IsoUtc(tUsed) +
                      "\" visited=\"" + IsoUtc(tUsed) + "\"/>\n";
    }
    oTemp.WriteFile("data/recently-used.xbel", sBookmarks + "</xbel>\n");

    const bool bXvfb = OnPath("xvfb-run") && OnPath("xauth");
    const std::string sPidFile = oTemp / "dayfold.pid";
    std::vector<std::string> vEnvironment = {
        "PATH=/usr/bin:/bin", "HOME=" + (oTemp / "home"), "XDG_DATA_HOME=" + (oTemp / "data"),
        "XDG_CONFIG_HOME=" + (oTemp / "config"), "XDG_RUNTIME_DIR=" + (oTemp / "runtime")};
    if (!bXvfb) {
        vEnvironment.push_back("QT_QPA_PLATFORM=offscreen");
    }
    // The shell only notes its process number and becomes dayfold.
    const std::string sStart = "echo $$ > '" + sPidFile + "'; exec '" DAYFOLD_PROGRAM "'";
    std::vector<std::string> vArguments = {"/bin/sh", "-c", sStart};
    if (bXvfb) {
        vArguments.insert(vArguments.begin(),
                          {"/usr/bin/xvfb-run", "-a", "-s", "-screen 0 1280x800x24"});
    }
    std::vector<char*> vArgv;
    std::vector<char*> vEnvp;
    for (std::string& s : vArguments) {
        vArgv.push_back(s.data());
    }
    for (std::string& s : vEnvironment) {
        vEnvp.push_back(s.data());
    }
    vArgv.push_back(nullptr);
    vEnvp.push_back(nullptr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int iNull = open("/dev/null", O_WRONLY);
        dup2(iNull, 1);
        dup2(iNull, 2);
        execve(vArgv[0], vArgv.data(), vEnvp.data());
        _exit(127);
    }

    // The View group is made after the first filing, just before the window shows.
    const fs::path oSettings = oTemp.Path() / "config/Quillon/Dayfold.reg";
    const bool bStarted = WaitForText(oSettings, "Dayfold\\View]");
    const CDateTime dToday = CDateTime::FromUnixTime(tUsed);
    const fs::path oDay = oTemp.Path() / "data/Dayfold/Daily" / dToday.YearText() /
                          dToday.MonthName() / dToday.DayText();
    for (const std::string& sName : vDocuments) {
        EXPECT_TRUE(fs::exists(oDay / (sName + ".lnk"))) << sName;
    }

    pid_t pidDayfold = 0;
    if (FILE* pFile = std::fopen(sPidFile.c_str(), "r")) {
        if (std::fscanf(pFile, "%d", &pidDayfold) != 1) {
            pidDayfold = 0;
        }
        std::fclose(pFile);
    }
    ASSERT_TRUE(bStarted && pidDayfold > 0) << (bXvfb ? "under Xvfb" : "offscreen");
    kill(pidDayfold, SIGTERM);
    EXPECT_EQ(WaitForExit(pid), 0);

    const std::string sSaved = CTempFolder::ReadFile(oSettings.string());
    EXPECT_NE(sSaved.find("\"Visible\"=\"True\""), std::string::npos) << sSaved;
    EXPECT_NE(sSaved.find("\"ListViews\"=\"3\""), std::string::npos) << sSaved;
    const std::string sFavorites =
        CTempFolder::ReadFile((oTemp.Path() / "data/Dayfold/Favorites.dat").string());
    for (const std::string& sName : vDocuments) {
        EXPECT_NE(sFavorites.find(sName), std::string::npos) << sName;
    }
}

} // namespace
