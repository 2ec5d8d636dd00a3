#include "platform/shell/CShellFolders.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/shell/MPrivateFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string EnvironmentValue(const char* szName) {
    const char* szValue = std::getenv(szName);
    return szValue == nullptr ? std::string() : std::string(szValue);
}

// Drops trailing "/" so that callers can join with "/"; the root folder stays "/".
std::string WithoutTrailingSlash(std::string sPath) {
    while (sPath.size() > 1 && sPath.back() == '/') {
        sPath.pop_back();
    }
    return sPath;
}

// A base directory variable counts only when it holds an absolute path.
std::string AbsoluteFromEnvironment(const char* szName) {
    const std::string sValue = EnvironmentValue(szName);
    if (!sValue.empty() && sValue.front() == '/') {
        return WithoutTrailingSlash(sValue);
    }
    return std::string();
}

std::string JoinPath(const std::string& sFolder, const std::string& sName) {
    if (sFolder == "/") {
        return "/" + sName;
    }
    return sFolder + "/" + sName;
}

// The value of one "XDG_<NAME>_DIR=..." line, with "$HOME" expanded; empty if unusable.
std::string UserDirectoryValue(const std::string& sRawValue, const std::string& sHome) {
    std::string sValue = sRawValue;
    while (!sValue.empty() &&
           (sValue.back() == ' ' || sValue.back() == '\t' || sValue.back() == '\r')) {
        sValue.pop_back();
    }
    if (sValue.size() >= 2 && sValue.front() == '"') {
        // A quoted value ends at the closing quote; a backslash escapes the next character.
        std::string sUnquoted;
        for (std::string::size_type i = 1; i < sValue.size(); ++i) {
            if (sValue[i] == '\\' && i + 1 < sValue.size()) {
                sUnquoted += sValue[++i];
            } else if (sValue[i] == '"') {
                break;
            } else {
                sUnquoted += sValue[i];
            }
        }
        sValue = sUnquoted;
    }
    if (sValue == "$HOME" || sValue.rfind("$HOME/", 0) == 0) {
        sValue = sHome + sValue.substr(5);
    } else if (sValue.empty() || sValue.front() != '/') {
        return std::string();
    }
    return WithoutTrailingSlash(sValue);
}

} // namespace

std::string CShellFolders::HomeFolder() {
    const std::string sHome = EnvironmentValue("HOME");
    if (!sHome.empty()) {
        return WithoutTrailingSlash(sHome);
    }
    if (const passwd* pEntry = ::getpwuid(::getuid());
        pEntry != nullptr && pEntry->pw_dir != nullptr && pEntry->pw_dir[0] != '\0') {
        return WithoutTrailingSlash(pEntry->pw_dir);
    }
    return "/";
}

std::string CShellFolders::DataHome() {
    const std::string sDataHome = AbsoluteFromEnvironment("XDG_DATA_HOME");
    return sDataHome.empty() ? JoinPath(HomeFolder(), ".local/share") : sDataHome;
}

std::string CShellFolders::ConfigHome() {
    const std::string sConfigHome = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
    return sConfigHome.empty() ? JoinPath(HomeFolder(), ".config") : sConfigHome;
}

std::string CShellFolders::DataFolder() {
    const std::string sDataFolder = AbsoluteFromEnvironment("DAYFOLD_HOME");
    return sDataFolder.empty() ? JoinPath(DataHome(), "Dayfold") : sDataFolder;
}

std::string CShellFolders::RecentFolder() {
    const std::string sRecent = AbsoluteFromEnvironment("DAYFOLD_RECENT");
    return sRecent.empty() ? JoinPath(DataFolder(), "Recent") : sRecent;
}

bool CShellFolders::RecentFolderNamed() {
    return !AbsoluteFromEnvironment("DAYFOLD_RECENT").empty();
}

std::string CShellFolders::RelativeOverride() {
    for (const char* szName : {"DAYFOLD_HOME", "DAYFOLD_RECENT"}) {
        const std::string sValue = EnvironmentValue(szName);
        if (!sValue.empty() && sValue.front() != '/') {
            return std::string(szName) + " is set to \"" + sValue +
                   "\", which is not an absolute path";
        }
    }
    return std::string();
}

std::string CShellFolders::FolderProblem(const std::string& sPath, bool bWritable) {
    if (sPath.empty()) {
        return std::strerror(ENOENT);
    }
    struct stat oStat {};
    if (::stat(sPath.c_str(), &oStat) != 0) {
        return std::strerror(errno);
    }
    if (!S_ISDIR(oStat.st_mode)) {
        return std::strerror(ENOTDIR);
    }
    if (::access(sPath.c_str(), bWritable ? (R_OK | W_OK | X_OK) : (R_OK | X_OK)) != 0) {
        return std::strerror(errno);
    }
    return std::string();
}

std::string CShellFolders::UserDirectory(const std::string& sName,
                                         const std::string& sDefaultName) {
    const std::string sHome = HomeFolder();
    std::string sFound;
    std::ifstream oFile(JoinPath(ConfigHome(), "user-dirs.dirs"));
    const std::string sKey = "XDG_" + sName + "_DIR";
    std::string sLine;
    while (std::getline(oFile, sLine)) {
        std::string::size_type iStart = sLine.find_first_not_of(" \t");
        if (iStart == std::string::npos || sLine[iStart] == '#') {
            continue;
        }
        const std::string::size_type iEquals = sLine.find('=', iStart);
        if (iEquals == std::string::npos) {
            continue;
        }
        std::string sLineKey = sLine.substr(iStart, iEquals - iStart);
        while (!sLineKey.empty() && (sLineKey.back() == ' ' || sLineKey.back() == '\t')) {
            sLineKey.pop_back();
        }
        if (sLineKey != sKey) {
            continue;
        }
        std::string sRawValue = sLine.substr(iEquals + 1);
        sRawValue.erase(0, sRawValue.find_first_not_of(" \t"));
        // The last usable entry wins, as when the file is sourced by a shell.
        if (std::string sValue = UserDirectoryValue(sRawValue, sHome); !sValue.empty()) {
            sFound = sValue;
        }
    }
    return sFound.empty() ? JoinPath(sHome, sDefaultName) : sFound;
}

std::optional<std::string> CShellFolders::Path(std::int32_t lFolderId) {
    switch (lFolderId) {
    case Desktop:
    case DesktopDirectory:
        return UserDirectory("DESKTOP", "Desktop");
    case Personal:
        return UserDirectory("DOCUMENTS", "Documents");
    case Templates:
        return UserDirectory("TEMPLATES", "Templates");
    case Recent: {
        const std::string sRecent = RecentFolder();
        MPrivateFiles::MakeFolders(sRecent);
        return sRecent;
    }
    case AppData:
        return DataHome();
    case Programs:
    case StartMenu:
        return JoinPath(DataHome(), "applications");
    case Startup:
        return JoinPath(ConfigHome(), "autostart");
    case Fonts:
        return JoinPath(DataHome(), "fonts");
    case CommonStartMenu:
    case CommonPrograms:
        return std::string("/usr/share/applications");
    case CommonStartup:
        return std::string("/etc/xdg/autostart");
    default:
        // Virtual folders and those with no counterpart here: favourites, send-to, the
        // network and printer neighbourhoods, the all-users desktop.
        return std::nullopt;
    }
}
