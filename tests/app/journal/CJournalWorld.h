#pragma once

#include "app/CProgramWorld.h"
#include "app/repository/CCapture.h"
#include "app/views/CFavorites.h"

#include <functional>
#include <string>

class CShortcut;

// A program world whose repository the tests fill: by the capture cycle itself (a shortcut in
// the Recent folder filed at a time the test chooses, with the program shortcut beside it), or
// by putting a copy straight into its day folder.
class CJournalWorld : public CProgramWorld {
public:
    CJournalWorld();

    // The day folder of dDay, made when missing.
    std::string DayFolder(const CDateTime& dDay) const;
    // Files a shortcut named sName (".lnk" is added) to sTarget, used at dUsed, as one poll
    // does a minute later; returns the copy's path ("" when nothing was filed).
    std::string File(const std::string& sName, const std::string& sTarget, const CDateTime& dUsed,
                     const std::string& sWorkingDirectory = "");
    // Puts a copy of a shortcut to sTarget straight into the day folder of dUsed.
    std::string PutCopy(const std::string& sName, const std::string& sTarget,
                        const CDateTime& dUsed, const std::string& sWorkingDirectory = "");

    CFavorites& Favorites() { return m_oFavorites; }
    // Raised for every filing, as the capture's event.
    std::function<void(const CShortcut& oShortcut, bool bCounted)> ShortcutFiled;

private:
    CFavorites m_oFavorites;
    CCapture m_oCapture;
};
