#include "app/core/CCommandLine.h"

#include "platform/shell/CShellFolders.h"

#include <exception>
#include <filesystem>

CCommandLine::CCommandLine(const std::vector<std::string>& vArguments) {
    for (size_t i = 0; i < vArguments.size() && m_sError.empty(); ++i) {
        const std::string& sArgument = vArguments[i];
        const bool bHasValue = i + 1 < vArguments.size();
        if (sArgument == "--capture-once") {
            m_bCaptureOnce = true;
        } else if (sArgument == "--help" || sArgument == "-h") {
            m_bHelp = true;
        } else if (sArgument == "--version") {
            m_bVersion = true;
        } else if (sArgument.rfind("--recent-folder=", 0) == 0 && sArgument.size() > 16) {
            m_sRecentFolder = sArgument.substr(16);
        } else if (sArgument == "--recent-folder" && bHasValue) {
            m_sRecentFolder = vArguments[++i];
        } else if (sArgument == "--autostart" && bHasValue &&
                   (vArguments[i + 1] == "on" || vArguments[i + 1] == "off")) {
            m_sAutostart = vArguments[++i];
        } else if (sArgument.rfind("--recent-folder", 0) == 0 || sArgument == "--autostart") {
            m_sError = sArgument + " needs a value";
        } else {
            m_sError = "unknown argument: " + sArgument;
        }
    }
}

std::string CCommandLine::Usage() {
    return "Usage: dayfold [--recent-folder DIR] [--capture-once] [--autostart on|off] "
           "[--help] [--version]\n"
           "\n"
           "Keeps a day-by-day journal of the documents you open.\n"
           "\n"
           "  --recent-folder DIR  the folder of shortcuts to file (default: $DAYFOLD_RECENT,\n"
           "                       else the Recent folder in the data folder)\n"
           "  --capture-once       file the Recent folder once, without a window, and exit\n"
           "  --autostart on|off   start Dayfold with the desktop session, or not\n"
           "  --help               show this text\n"
           "  --version            show the version\n"
           "\n"
           "The data folder is $DAYFOLD_HOME, else $XDG_DATA_HOME/Dayfold. DAYFOLD_HOME and\n"
           "DAYFOLD_RECENT take absolute paths; a Recent folder you name must exist.\n";
}

std::optional<CCommandLine::SFolders> CCommandLine::FindFolders(std::string& sProblem) const {
    try {
        if (const std::string sRelative = CShellFolders::RelativeOverride(); !sRelative.empty()) {
            sProblem = sRelative + "; set it to a full path";
            return std::nullopt;
        }
        SFolders oFolders;
        oFolders.sDataFolder = CShellFolders::DataFolder();
        std::error_code ec;
        std::filesystem::create_directories(oFolders.sDataFolder, ec);
        if (const std::string sWhy = CShellFolders::FolderProblem(oFolders.sDataFolder, true);
            !sWhy.empty()) {
            sProblem = "the data folder " + oFolders.sDataFolder + " cannot be used: " + sWhy +
                       " (set DAYFOLD_HOME to a folder you can write)";
            return std::nullopt;
        }

        std::string sNamedBy;
        if (!m_sRecentFolder.empty()) {
            oFolders.sRecentFolder = m_sRecentFolder;
        } else if (CShellFolders::RecentFolderNamed()) {
            oFolders.sRecentFolder = CShellFolders::RecentFolder();
            sNamedBy = " (DAYFOLD_RECENT)";
        } else {
            // The default folder is made here; when that fails, the check below tells why.
            try {
                CShellFolders::Path(CShellFolders::Recent);
            } catch (const std::exception&) {
            }
            oFolders.sRecentFolder = CShellFolders::RecentFolder();
            oFolders.bFedFromDesktop = true;
        }
        if (const std::string sWhy = CShellFolders::FolderProblem(oFolders.sRecentFolder, false);
            !sWhy.empty()) {
            sProblem = "the Recent folder " + oFolders.sRecentFolder + sNamedBy +
                       " cannot be used: " + sWhy;
            return std::nullopt;
        }
        return oFolders;
    } catch (const std::exception& oError) {
        sProblem = oError.what();
        return std::nullopt;
    }
}
