// The dayfold executable: reads the command line, finds the data and Recent folders, builds the
// application-wide objects and runs the mode asked for.
#include "app/core/CCommandLine.h"
#include "app/core/MDayfold.h"
#include "app/window/MWindowProgram.h"
#include "platform/registry/CFreedesktopFileTypes.h"
#include "platform/shell/CShellFolders.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {
// The data folder, made when missing; empty with a message when it cannot be used.
std::string UsableDataFolder() {
    const std::string sFolder = CShellFolders::DataFolder();
    std::error_code ec;
    std::filesystem::create_directories(sFolder, ec);
    if (!std::filesystem::is_directory(sFolder) ||
        access(sFolder.c_str(), R_OK | W_OK | X_OK) != 0) {
        std::cerr << "dayfold: the data folder " << sFolder
                  << " cannot be used (set DAYFOLD_HOME to a folder you can write)\n";
        return "";
    }
    return sFolder;
}

std::string RecentFolder(const CCommandLine& oLine) {
    if (!oLine.RecentFolder().empty()) {
        return oLine.RecentFolder();
    }
    try {
        return CShellFolders::Path(CShellFolders::Recent).value_or("");
    } catch (const std::exception& oError) {
        std::cerr << "dayfold: " << oError.what() << "\n";
        return "";
    }
}
} // namespace

int main(int argc, char** argv) {
    const CCommandLine oLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!oLine.Valid()) {
        std::cerr << "dayfold: " << oLine.Error() << "\n\n" << CCommandLine::Usage();
        return 2;
    }
    if (oLine.Help()) {
        std::cout << CCommandLine::Usage();
        return 0;
    }
    if (oLine.Version()) {
        std::cout << "Dayfold " << DAYFOLD_VERSION << "\n";
        return 0;
    }
    if (!oLine.Autostart().empty()) {
        std::cerr << "dayfold: --autostart comes with the window; this build does not set it\n";
        return 2;
    }

    const std::string sAppPath = UsableDataFolder();
    if (sAppPath.empty()) {
        return 1;
    }
    const std::string sRecentFolder = RecentFolder(oLine);
    if (sRecentFolder.empty() || !std::filesystem::is_directory(sRecentFolder)) {
        std::cerr << "dayfold: the Recent folder " << sRecentFolder << " is not a folder\n";
        return 1;
    }

    CFreedesktopFileTypes oFileTypes;
    MDayfold::SEnvironment oEnvironment;
    oEnvironment.sAppPath = sAppPath;
    oEnvironment.sSettingsFile = CShellFolders::ConfigHome() + "/Quillon/Dayfold.reg";
    oEnvironment.pFileTypes = &oFileTypes;
    if (!oLine.CaptureOnce()) {
        // The program's own Recent folder is kept filled from the desktop's records.
        return MWindowProgram::Run(argc, argv, oEnvironment, sRecentFolder,
                                   oLine.RecentFolder().empty() && !std::getenv("DAYFOLD_RECENT"));
    }
    MDayfold::CreateGlobals(oEnvironment);
    const int iResult = MDayfold::CaptureOnce(sRecentFolder, std::cout);
    MDayfold::ReleaseGlobals();
    return iResult;
}
