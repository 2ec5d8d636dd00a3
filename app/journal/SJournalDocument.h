#pragma once

#include "platform/shell/CDateTime.h"

#include <cstdint>
#include <string>

// One document of the journal as a search or a look-up hands it out.
struct SJournalDocument {
    std::string sName;         // the document's file name (the shortcut's without ".lnk" when
                               // the shortcut names no target)
    std::string sFolder;       // the folder it lies in
    std::string sType;         // its type's description ("" when unknown)
    std::string sTargetFile;   // its full path
    std::string sShortcutFile; // the repository copy of its latest use
    std::int32_t lDaysUsed = 0;
    CDateTime dLastUsed;
};
