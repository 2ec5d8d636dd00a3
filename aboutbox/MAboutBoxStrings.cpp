#include "aboutbox/MAboutBoxStrings.h"

#include <map>

namespace qlAboutBox::MAboutBoxStrings {

std::string LoadResString(int iId) {
    static const std::map<int, std::string> oTable = {
        {AboutPrefix, "About "},
        {VersionPrefix, "Version: "},
        {OkCaption, "OK"},
        {SystemInfoCaption, "&System Info..."},
        // The product's name, then the command: one sentence, for a translation to reorder.
        {AutostartText, "To start %1 with the desktop, run: %2"},
        {NotStarted, "The system information program could not be started."},
    };
    const auto it = oTable.find(iId);
    return it == oTable.end() ? std::string() : it->second;
}

} // namespace qlAboutBox::MAboutBoxStrings
