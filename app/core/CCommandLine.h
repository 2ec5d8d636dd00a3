#pragma once

#include "platform/shell/CDateTime.h"

#include <optional>
#include <string>
#include <vector>

// dayfold [--recent-folder DIR] [--capture-once] [--autostart on|off] [--help] [--version]
// dayfold --list [DATE]
// dayfold --export csv|json [--from DATE] [--to DATE]
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
    // --list: the day to list (the empty date: today).
    bool List() const { return m_bList; }
    const CDateTime& ListDay() const { return m_dListDay; }
    // --export: "csv" or "json" (as written, in small letters), empty when not given; the
    // first and last day (the empty date: that end is open).
    const std::string& ExportFormat() const { return m_sExportFormat; }
    const CDateTime& From() const { return m_dFrom; }
    const CDateTime& To() const { return m_dTo; }

    static std::string Usage();

    // The data folder ($DAYFOLD_HOME, else $XDG_DATA_HOME/Dayfold), made when missing, and the
    // Recent folder (--recent-folder, else $DAYFOLD_RECENT, else <data folder>/Recent, which
    // alone is made when missing); the folders made are private to the user (0700). nullopt
    // when one of them cannot be used: sProblem then tells the user which folder and why.
    // --list and --export read the journal only: their data folder needs only to be readable
    // (missing, it holds no day) and nothing is made; their Recent folder is neither looked
    // for nor checked. Never throws.
    std::optional<SFolders> FindFolders(std::string& sProblem) const;

private:
    // The date of an option's value; an empty date with m_sError set when it is none.
    CDateTime DateValue(const std::string& sOption, const std::string& sText);
    // The checks that span options, once all are read.
    void CheckCombination(bool bFromOrTo);

    std::string m_sRecentFolder;
    std::string m_sExportFormat;
    CDateTime m_dListDay;
    CDateTime m_dFrom;
    CDateTime m_dTo;
    bool m_bList = false;
    std::string m_sAutostart;
    std::string m_sError;
    bool m_bCaptureOnce = false;
    bool m_bHelp = false;
    bool m_bVersion = false;
};
