#include "platform/shell/CAutostart.h"

#include "platform/errors/CRunTimeError.h"
#include "platform/registry/CDesktopFile.h"
#include "platform/shell/CAtomicFile.h"
#include "platform/shell/CShellFolders.h"
#include "platform/shell/MPrivateFiles.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {
const std::string EntryName = "dayfold.desktop";
const std::string Group = "Desktop Entry";
// The desktop's autostart entries are readable by all, as the system's are.
constexpr unsigned int EntryMode = 0644;

// The system's autostart entries of the program, in precedence order.
std::vector<std::string> SystemEntries() {
    const char* szDirs = std::getenv("XDG_CONFIG_DIRS");
    std::string sDirs = szDirs != nullptr && *szDirs != '\0' ? szDirs : "/etc/xdg";
    std::vector<std::string> vEntries;
    std::size_t nStart = 0;
    while (nStart <= sDirs.size()) {
        std::size_t nEnd = sDirs.find(':', nStart);
        nEnd = nEnd == std::string::npos ? sDirs.size() : nEnd;
        const std::string sDir = sDirs.substr(nStart, nEnd - nStart);
        if (!sDir.empty() && sDir[0] == '/') {
            vEntries.push_back(sDir + "/autostart/" + EntryName);
        }
        nStart = nEnd + 1;
    }
    return vEntries;
}

// nullopt: no entry at sPath; else whether it starts the program.
std::optional<bool> EntryIsOn(const std::string& sPath) {
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(sPath, ec))) {
        return std::nullopt;
    }
    try {
        const CDesktopFile oEntry = CDesktopFile::Read(sPath);
        return oEntry.Value(Group, "Hidden").value_or("false") != "true" &&
               oEntry.Value(Group, "X-GNOME-Autostart-enabled").value_or("true") != "false";
    } catch (const CRunTimeError&) {
        return false;
    }
}

// A text as a desktop entry's string value holds it.
std::string EscapeValue(const std::string& sText) {
    std::string sOut;
    for (const char c : sText) {
        switch (c) {
        case '\\':
            sOut += "\\\\";
            break;
        case '\n':
            sOut += "\\n";
            break;
        case '\t':
            sOut += "\\t";
            break;
        case '\r':
            sOut += "\\r";
            break;
        default:
            sOut += c;
        }
    }
    return sOut;
}
} // namespace

std::string CAutostart::EntryPath() {
    return CShellFolders::ConfigHome() + "/autostart/" + EntryName;
}

bool CAutostart::IsOn() {
    if (const auto obOn = EntryIsOn(EntryPath())) {
        return *obOn;
    }
    for (const std::string& sEntry : SystemEntries()) {
        if (const auto obOn = EntryIsOn(sEntry)) {
            return *obOn;
        }
    }
    return false;
}

std::string CAutostart::EntryText(const std::string& sProgram) {
    std::string sLiteral;
    for (const char c : sProgram) {
        sLiteral += c;
        if (c == '%') {
            sLiteral += '%'; // not a field code
        }
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Dayfold\n"
           "Comment=Keeps a day-by-day journal of the documents you open\n"
           "Exec=" +
           EscapeValue(CDesktopFile::QuoteExecArgument(sLiteral)) +
           "\n"
           "Icon=dayfold\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

void CAutostart::SetOn(bool bOn, const std::string& sProgram) {
    const std::string sPath = EntryPath();
    const std::filesystem::path oFolder = std::filesystem::path(sPath).parent_path();
    if (bOn) {
        if (sProgram.empty() || sProgram[0] != '/') {
            throw CRunTimeError(RunTimeErrors::InvalidProcedureCall,
                                "The program to start is not an absolute path: " + sProgram);
        }
        // The folders it makes are private (the base-directory rule); the entry is not.
        MPrivateFiles::MakeFolders(oFolder.string());
        CAtomicFile::Write(sPath, EntryText(sProgram), EntryMode);
        return;
    }
    if (unlink(sPath.c_str()) != 0 && errno != ENOENT) {
        throw CRunTimeError::FromErrno(errno, sPath);
    }
    for (const std::string& sEntry : SystemEntries()) {
        if (const auto obOn = EntryIsOn(sEntry)) {
            if (*obOn) {
                MPrivateFiles::MakeFolders(oFolder.string());
                CAtomicFile::Write(sPath,
                                   "[Desktop Entry]\nType=Application\nName=Dayfold\n"
                                   "Hidden=true\n",
                                   EntryMode);
            }
            return;
        }
    }
}

std::string CAutostart::RunningProgram() {
    std::error_code ec;
    const std::filesystem::path oProgram = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : oProgram.string();
}
