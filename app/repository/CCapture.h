#pragma once

#include <cstdint>
#include <functional>
#include <string>

class CFavorites;
class CShortcut;

// The capture cycle without a window: lists the Recent folder and files every shortcut that
// is not filed yet into its day folder of the repository. The main window's GetShortcuts and
// ProcessShortcut are these routines.
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

    // Files every shortcut of the Recent folder that is new or changed.
    void GetShortcuts();
    // Files one shortcut; the record then describes the repository copy.
    void ProcessShortcut(CShortcut& oShortcut);

    // Event: a shortcut was copied into the repository (bCounted: a new day of use).
    std::function<void(const CShortcut& oShortcut, bool bCounted)> ShortcutFiled;

private:
    std::string DayFolder(const std::string& sYear, const std::string& sMonth,
                          const std::string& sDay) const;

    std::string m_sRecentFolder;
    std::int32_t m_lPurgeAge = 30;
    bool m_bDailyChanged = false;
    CFavorites* m_pFavorites = nullptr;
};
