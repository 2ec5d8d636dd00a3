#pragma once

#include "app/repository/CFiledShortcuts.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <unordered_map>

class CFavorites;
class CShortcutCache;
class CShortcut;

// The capture cycle without a window: lists the Recent folder and files every shortcut that
// is not filed yet into its day folder of the repository. The main window's GetShortcuts and
// ProcessShortcut are these routines. One object serves all the polls of a run: it remembers
// what it found filed and which shortcuts are damaged.
class CCapture {
public:
    std::string ClassName() const { return "CCapture"; }

    // The Recent folder, without a trailing separator.
    const std::string& RecentFolder() const { return m_sRecentFolder; }
    void SetRecentFolder(const std::string& sRecentFolder) { m_sRecentFolder = sRecentFolder; }
    std::int32_t PurgeAge() const { return m_lPurgeAge; }
    void SetPurgeAge(std::int32_t lPurgeAge) { m_lPurgeAge = lPurgeAge; }
    CFavorites* Favorites() const { return m_pFavorites; }
    void SetFavorites(CFavorites* pFavorites) { m_pFavorites = pFavorites; }
    // Set whenever a shortcut is copied into the repository; the owner clears it after it has
    // refreshed its views.
    bool DailyChanged() const { return m_bDailyChanged; }
    void SetDailyChanged(bool bDailyChanged) { m_bDailyChanged = bDailyChanged; }

    // Files every shortcut of the Recent folder that is new or changed. A poll that counted a
    // new day of use saves the Favorites store; a poll that counted nothing writes nothing.
    void GetShortcuts();
    // Files one shortcut; the record then describes the repository copy.
    void ProcessShortcut(CShortcut& oShortcut);

    // Event: a shortcut was copied into the repository (bCounted: a new day of use).
    std::function<void(const CShortcut& oShortcut, bool bCounted)> ShortcutFiled;
    // Event: a shortcut could not be filed, or the Recent folder could not be listed (sFile
    // names it). The failure is logged already.
    std::function<void(const std::string& sFile)> FilingFailed;

private:
    struct SDamaged {
        struct timespec tsModified;
        std::uint64_t llPoll;
    };

    std::string DayFolder(const std::string& sYear, const std::string& sMonth,
                          const std::string& sDay) const;
    bool IsCopyOf(const std::string& sCopy, const CShortcut& oShortcut) const;
    void Failed(const std::string& sFile);

    std::string m_sRecentFolder;
    std::int32_t m_lPurgeAge = 30;
    bool m_bDailyChanged = false;
    bool m_bCounted = false; // a new day of use was counted in this poll
    CFavorites* m_pFavorites = nullptr;
    CShortcutCache* m_pCache = nullptr; // the running poll's
    CFiledShortcuts m_oFiled;
    // Damaged shortcuts of the Recent folder by name, with the last-write time that was
    // logged: each is logged once for the run, and again only when it is rewritten.
    std::unordered_map<std::string, SDamaged> m_colDamaged;
    std::uint64_t m_llPoll = 0;
};
