#pragma once

#include "app/core/MDayfold.h"

#include <string>

// The program with its window: the desktop application, the application-wide objects with
// message boxes on the screen, the help, and the main window until it closes.
namespace MWindowProgram {

// sRecentFolder: the Recent folder; bFeedRecentFolder: it is the program's own, kept filled
// from the desktop's records of opened documents. Returns the process exit code.
int Run(int iArgc, char** apArgv, MDayfold::SEnvironment oEnvironment,
        const std::string& sRecentFolder, bool bFeedRecentFolder);

} // namespace MWindowProgram
