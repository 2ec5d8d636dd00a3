#include "app/core/CCommandLine.h"

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
           "The data folder is $DAYFOLD_HOME, else $XDG_DATA_HOME/Dayfold.\n";
}
