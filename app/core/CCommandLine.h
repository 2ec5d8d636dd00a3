#pragma once

#include <string>
#include <vector>

// dayfold [--recent-folder DIR] [--capture-once] [--autostart on|off] [--help] [--version]
class CCommandLine {
public:
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

private:
    std::string m_sRecentFolder;
    std::string m_sAutostart;
    std::string m_sError;
    bool m_bCaptureOnce = false;
    bool m_bHelp = false;
    bool m_bVersion = false;
};
