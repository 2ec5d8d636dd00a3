#pragma once

#include "platform/shell/CDateTime.h"

#include <string>

// One document copy of the repository as the journal reads it: the shortcut in its day folder
// and the document it points to.
struct SJournalCopy {
    std::string sShortcutFile;     // full path of the copy
    std::string sShortcutName;     // its file name (Report.txt.lnk)
    CDateTime dDay;                // the date of its day folder
    CDateTime dModified;           // its last-write time: when the document was last used that day
    std::string sTargetFile;       // the document's full path as the shortcut gives it
    std::string sName;             // the document's name, as shown (CJournalScan::DocumentName)
    std::string sTargetFileName;   // the target's name as the shortcut record splits it
    std::string sWorkingDirectory; // as the shortcut record gives it (Favorites identity)
    std::string sFolder;           // the folder the document lies in (see CJournalScan::FolderOf)
    std::string sType;             // the type's description; filled on the owner's thread
};
