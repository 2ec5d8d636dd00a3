#pragma once

#include <optional>
#include <string>
#include <vector>

// dayfold [--recent-folder DIR] [--capture-once] [--autostart on|off] [--help] [--version]
class CCommandLine {
public:
    // The folders a run works on.
    struct SFolders {
        std::string sDataFolder;
        std::string sRecentFolder;
        // The Recent folder is the program's own (neither --recent-folder nor DAYFOLD_RECENT
        // named one): the desktop's records of opened documents feed it.
        bool bFedFromDesktop = false;
    };

    // Reads the arguments after the program name; Error() tells what was wrong.
    explicit CCommandLine(const std::vector<std::string>& vArguments);

    bool Valid() const { return m_sError.empty(); }
    const std::string& Error() const { return m_sError; }

    const std::string& RecentFolder() const { return m_sRecentFolder; }
    bool CaptureOnce() const { return m_bCaptureOnce; }
    // "on", "off" or empty when not given.
    const std::string& Autostart() const { return m_sAutostart; }
    bool Help() const { return m_bHelp; }
    bool Version() const { return m_bVersion; }

    static std::string Usage();

    // The data folder ($DAYFOLD_HOME, else $XDG_DATA_HOME/Dayfold), made when missing, and the
    // Recent folder (--recent-folder, else $DAYFOLD_RECENT, else <data folder>/Recent, which
    // alone is made when missing). nullopt when one of them cannot be used: sProblem then tells
    // the user which folder and why. Never throws.
    std::optional<SFolders> FindFolders(std::string& sProblem) const;

private:
    std::string m_sRecentFolder;
    std::string m_sAutostart;
    std::string m_sError;
    bool m_bCaptureOnce = false;
    bool m_bHelp = false;
    bool m_bVersion = false;
};
