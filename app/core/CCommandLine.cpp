#include "app/core/CCommandLine.h"

#include "app/journal/MJournalText.h"
#include "platform/shell/CShellFolders.h"
#include "platform/shell/MPrivateFiles.h"

#include <exception>
#include <filesystem>

namespace {
// Whether sArgument is the option sName, alone or with "=".
bool IsOption(const std::string& sArgument, const std::string& sName) {
    return sArgument == sName || sArgument.rfind(sName + "=", 0) == 0;
}
} // namespace

CCommandLine::CCommandLine(const std::vector<std::string>& vArguments) {
    bool bFromOrTo = false;
    for (size_t i = 0; i < vArguments.size() && m_sError.empty(); ++i) {
        const std::string& sArgument = vArguments[i];
        const bool bHasValue = i + 1 < vArguments.size();
        // "--name value" or "--name=value": the value, when sArgument is that option.
        const auto Value = [&](const std::string& sName) -> std::optional<std::string> {
            if (sArgument.size() > sName.size() + 1 && sArgument.rfind(sName + "=", 0) == 0) {
                return sArgument.substr(sName.size() + 1);
            }
            if (sArgument == sName && bHasValue) {
                return vArguments[++i];
            }
            return std::nullopt;
        };
        if (sArgument == "--capture-once") {
            m_bCaptureOnce = true;
        } else if (sArgument == "--help" || sArgument == "-h") {
            m_bHelp = true;
        } else if (sArgument == "--version") {
            m_bVersion = true;
        } else if (const auto oFolder = Value("--recent-folder")) {
            m_sRecentFolder = *oFolder;
        } else if (sArgument == "--autostart" && bHasValue &&
                   (vArguments[i + 1] == "on" || vArguments[i + 1] == "off")) {
            m_sAutostart = vArguments[++i];
        } else if (sArgument == "--list") {
            m_bList = true;
            // The day is optional: a next argument that is no option is it.
            if (bHasValue && vArguments[i + 1].rfind('-', 0) != 0) {
                m_dListDay = DateValue(sArgument, vArguments[++i]);
            }
        } else if (const auto oFormat = Value("--export")) {
            std::string sFormat = *oFormat;
            for (char& c : sFormat) {
                c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            }
            if (sFormat != "csv" && sFormat != "json") {
                m_sError = "--export takes csv or json, not " + *oFormat;
            }
            m_sExportFormat = sFormat;
        } else if (const auto oFrom = Value("--from")) {
            m_dFrom = DateValue("--from", *oFrom);
            bFromOrTo = true;
        } else if (const auto oTo = Value("--to")) {
            m_dTo = DateValue("--to", *oTo);
            bFromOrTo = true;
        } else if (IsOption(sArgument, "--recent-folder") || IsOption(sArgument, "--export") ||
                   IsOption(sArgument, "--from") || IsOption(sArgument, "--to")) {
            m_sError = sArgument + " needs a value";
        } else if (sArgument == "--autostart") {
            m_sError = "--autostart takes on or off";
        } else {
            m_sError = "unknown argument: " + sArgument;
        }
    }
    if (m_sError.empty()) {
        CheckCombination(bFromOrTo);
    }
}

CDateTime CCommandLine::DateValue(const std::string& sOption, const std::string& sText) {
    const std::optional<CDateTime> oDate = MJournalText::ParseIsoDate(sText);
    if (!oDate) {
        m_sError = sOption + ": " + sText + " is not a date as yyyy-mm-dd";
        return CDateTime();
    }
    return *oDate;
}

void CCommandLine::CheckCombination(bool bFromOrTo) {
    const bool bExport = !m_sExportFormat.empty();
    if (int(m_bList) + int(bExport) + int(m_bCaptureOnce) > 1) {
        m_sError = "--list, --export and --capture-once go one at a time";
    } else if (bFromOrTo && !bExport) {
        m_sError = "--from and --to go with --export";
    } else if (!m_dFrom.IsEmpty() && !m_dTo.IsEmpty() && m_dTo < m_dFrom) {
        m_sError = "--from " + MJournalText::IsoDate(m_dFrom) + " is after --to " +
                   MJournalText::IsoDate(m_dTo);
    }
}

std::string CCommandLine::Usage() {
    return "Usage: dayfold [--recent-folder DIR] [--capture-once] [--autostart on|off] "
           "[--help] [--version]\n"
           "       dayfold --list [DATE]\n"
           "       dayfold --export csv|json [--from DATE] [--to DATE]\n"
           "\n"
           "Keeps a day-by-day journal of the documents you open. Without --capture-once it\n"
           "runs in the system tray with its window (one instance per user) and files every\n"
           "document that desktop applications record as opened; Exit, SIGTERM, SIGINT and\n"
           "the end of the desktop session save its settings and end it.\n"
           "\n"
           "  --recent-folder DIR  file the shortcuts (.lnk) of DIR, for example a Windows\n"
           "                       profile's Recent folder, instead of what the desktop\n"
           "                       records (default: $DAYFOLD_RECENT)\n"
           "  --capture-once       file the Recent folder once, without a window, and exit\n"
           "  --autostart on|off   start Dayfold with the desktop session, or not\n"
           "  --list [DATE]        print the documents of a day (default today): time,\n"
           "                       name, folder and type, separated by tabs\n"
           "  --export csv|json    write the journal with the days each document was used\n"
           "  --from DATE          with --export: the first day written (default: the first)\n"
           "  --to DATE            with --export: the last day written (default: the last)\n"
           "  --help               show this text\n"
           "  --version            show the version\n"
           "\n"
           "The data folder is $DAYFOLD_HOME, else $XDG_DATA_HOME/Dayfold. DAYFOLD_HOME and\n"
           "DAYFOLD_RECENT take absolute paths; a Recent folder you name must exist. Dates\n"
           "are written yyyy-mm-dd. Exit status: 0 done, 1 failed, 2 a wrong command line.\n";
}

std::optional<CCommandLine::SFolders> CCommandLine::FindFolders(std::string& sProblem) const {
    try {
        if (const std::string sRelative = CShellFolders::RelativeOverride(); !sRelative.empty()) {
            sProblem = sRelative + "; set it to a full path";
            return std::nullopt;
        }
        SFolders oFolders;
        oFolders.sDataFolder = CShellFolders::DataFolder();
        if (m_bList || !m_sExportFormat.empty()) {
            // The journal is only read: nothing is made, a read-only folder serves, and a
            // missing one holds no day.
            std::error_code ec;
            if (!std::filesystem::exists(oFolders.sDataFolder, ec) && !ec) {
                return oFolders;
            }
            if (const std::string sWhy = CShellFolders::FolderProblem(oFolders.sDataFolder, false);
                !sWhy.empty()) {
                sProblem = "the data folder " + oFolders.sDataFolder + " cannot be read: " + sWhy;
                return std::nullopt;
            }
            return oFolders;
        }
        try {
            MPrivateFiles::MakeFolders(oFolders.sDataFolder);
        } catch (const std::exception&) {
            // The check below tells the user why.
        }
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
