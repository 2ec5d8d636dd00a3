#include "aboutbox/SystemInformation.h"

#include "aboutbox/CMachineSettings.h"
#include "aboutbox/CSystemInfoPlatform.h"
#include "aboutbox/MErrorTrap.h"
#include "platform/registry/MRegistryText.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace qlAboutBox {

namespace {

constexpr const char* ToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* ToolValue = "PATH";
constexpr const char* LocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* LocationValue = "MSINFO";
constexpr const char* ToolFileName = "MSINFO32.EXE";

// A desktop's system information program.
struct SDesktopTool {
    const char* szDesktops; // the desktop names it belongs to, separated by ':'
    bool bOwnDesktopOnly;   // refuses to run under another desktop
    const char* szProgram;
    std::vector<std::string> colArguments;
};

const std::vector<SDesktopTool>& DesktopTools() {
    static const std::vector<SDesktopTool> colTools = {
        {"KDE", false, "kinfocenter", {}},
        {"GNOME:Unity", true, "gnome-control-center", {"system", "about"}},
        {"X-Cinnamon:Cinnamon", false, "cinnamon-settings", {"info"}},
        {"MATE", false, "mate-system-monitor", {"--show-system-tab"}},
        {"XFCE", false, "xfce4-about", {}},
        {"", false, "hardinfo2", {}},
        {"", false, "hardinfo", {}},
    };
    return colTools;
}

std::vector<std::string> SplitList(const std::string& sList) {
    std::vector<std::string> colParts;
    std::size_t nStart = 0;
    while (nStart <= sList.size()) {
        const std::size_t nEnd = sList.find(':', nStart);
        const std::string sPart =
            sList.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        if (!sPart.empty()) {
            colParts.push_back(sPart);
        }
        if (nEnd == std::string::npos) {
            break;
        }
        nStart = nEnd + 1;
    }
    return colParts;
}

bool BelongsTo(const SDesktopTool& oTool, const std::vector<std::string>& colDesktops) {
    for (const std::string& sOwn : SplitList(oTool.szDesktops)) {
        for (const std::string& sDesktop : colDesktops) {
            if (MRegistryText::SameName(sOwn, sDesktop)) {
                return true;
            }
        }
    }
    return false;
}

bool IsRegularFile(const std::string& sPath) {
    struct stat oStat {};
    return stat(sPath.c_str(), &oStat) == 0 && S_ISREG(oStat.st_mode);
}

bool IsProgram(const std::string& sPath) {
    return IsRegularFile(sPath) && access(sPath.c_str(), X_OK) == 0;
}

std::string FindProgram(const std::string& sName, const std::vector<std::string>& colFolders) {
    for (const std::string& sFolder : colFolders) {
        if (!sFolder.empty() && IsProgram(sFolder + "/" + sName)) {
            return sFolder + "/" + sName;
        }
    }
    return "";
}

std::string WithoutTrailingSeparators(std::string sFolder) {
    while (sFolder.size() > 1 && (sFolder.back() == '/' || sFolder.back() == '\\')) {
        sFolder.pop_back();
    }
    return sFolder;
}

// GNOME before 46 names its About page "info-overview"; later ones put it in the "system"
// panel. The installed panels tell which one this is.
std::vector<std::string> GnomeArguments(const std::string& sProgram,
                                        const std::vector<std::string>& colDefault) {
    const std::string sFolder = sProgram.substr(0, sProgram.find_last_of('/'));
    if (IsRegularFile(sFolder + "/../share/applications/gnome-info-overview-panel.desktop")) {
        return {"info-overview"};
    }
    return colDefault;
}

} // namespace

bool SystemInformation::Enabled() {
    return MErrorTrap::Run<bool>(m_pError, "qlAboutBox.SystemInformation.Enabled", true, [&] {
        m_sPath.clear();
        m_colArguments.clear();
        m_bEnabled = false;
        const CSystemInfoPlatform oPlatform = CSystemInfoPlatform::Current();

        // The location the machine registers, when it registers one.
        const std::optional<std::string> osTool =
            CMachineSettings::ReadString(oPlatform.MachineSettings(), ToolKey, ToolValue);
        if (osTool && !osTool->empty()) {
            m_sPath = *osTool;
            m_bEnabled = true;
            return true;
        }
        const std::optional<std::string> osFolder =
            CMachineSettings::ReadString(oPlatform.MachineSettings(), LocationKey, LocationValue);
        if (osFolder && !osFolder->empty()) {
            const std::string sCandidate =
                WithoutTrailingSeparators(*osFolder) + "/" + ToolFileName;
            if (IsRegularFile(sCandidate)) {
                m_sPath = sCandidate;
                m_bEnabled = true;
                return true;
            }
        }

        // Otherwise the desktop's own program: the current desktop's first.
        const std::vector<std::string> colDesktops = SplitList(oPlatform.CurrentDesktop());
        for (const bool bOwnPass : {true, false}) {
            for (const SDesktopTool& oTool : DesktopTools()) {
                const bool bOwn = BelongsTo(oTool, colDesktops);
                if (bOwnPass ? !bOwn : (bOwn || oTool.bOwnDesktopOnly)) {
                    continue;
                }
                const std::string sProgram =
                    FindProgram(oTool.szProgram, oPlatform.ProgramFolders());
                if (sProgram.empty()) {
                    continue;
                }
                m_sPath = sProgram;
                m_colArguments = std::string(oTool.szProgram) == "gnome-control-center"
                                     ? GnomeArguments(sProgram, oTool.colArguments)
                                     : oTool.colArguments;
                m_bEnabled = true;
                return true;
            }
        }
        return false;
    });
}

std::optional<CRunTimeError> SystemInformation::Display() {
    return MErrorTrap::Run<std::optional<CRunTimeError>>(
        m_pError, "qlAboutBox.SystemInformation.Display", true,
        [&]() -> std::optional<CRunTimeError> {
            if (!m_bEnabled) {
                return std::nullopt;
            }
            const CSystemInfoPlatform oPlatform = CSystemInfoPlatform::Current();
            if (oPlatform.StartDetached() && oPlatform.StartDetached()(m_sPath, m_colArguments)) {
                return std::nullopt;
            }
            const bool bMissing = m_sPath.find('/') != std::string::npos && !IsRegularFile(m_sPath);
            return CRunTimeError::FromErrno(bMissing ? ENOENT : EACCES, m_sPath);
        });
}

} // namespace qlAboutBox
