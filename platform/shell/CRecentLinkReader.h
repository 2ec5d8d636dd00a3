#pragma once

#include <optional>
#include <string>

// The document of one link entry of the desktop's RecentDocuments folder: a desktop entry of
// Type=Link whose URL (or URL[$e], where "$HOME", "${NAME}" and "$NAME" stand for the
// environment's values and "$$" for a "$") names a file: URL or an absolute path.
class CRecentLinkReader {
public:
    enum class EResult { Document, NotLocal, Damaged };

    // Document: sPath is set. NotLocal: the entry names something else than a local file (a
    // web page, another host), which is not a fault. Damaged: sProblem says what is wrong.
    static EResult Read(const std::string& sText, const std::string& sHome, std::string& sPath,
                        std::string& sProblem);

    // sValue with "$$", "$NAME" and "${NAME}" expanded ("HOME" is sHome, other names come from
    // the environment, an unset one is empty); nullopt for "$(" (a command, never run) or an
    // unclosed "${".
    static std::optional<std::string> ExpandVariables(const std::string& sValue,
                                                      const std::string& sHome);
};
