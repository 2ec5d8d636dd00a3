#include "app/journal/CJournalWorld.h"

#include "app/repository/CShortcut.h"

#include <filesystem>

CJournalWorld::CJournalWorld() {
    m_oFavorites.SetAppPath(AppPath());
    m_oFavorites.SetDailyFolder("Daily");
    m_oCapture.SetRecentFolder(RecentFolder());
    m_oCapture.SetFavorites(&m_oFavorites);
    // Years of journal are filed here: nothing is too old.
    m_oCapture.SetPurgeAge(100000);
    m_oCapture.ShortcutFiled = [this](const CShortcut& oShortcut, bool bCounted) {
        if (ShortcutFiled) {
            ShortcutFiled(oShortcut, bCounted);
        }
    };
}

std::string CJournalWorld::DayFolder(const CDateTime& dDay) const {
    const std::string sFolder =
        DailyPath() + "/" + dDay.YearText() + "/" + dDay.MonthName() + "/" + dDay.DayText();
    std::filesystem::create_directories(sFolder);
    return sFolder;
}

std::string CJournalWorld::File(const std::string& sName, const std::string& sTarget,
                                const CDateTime& dUsed, const std::string& sWorkingDirectory) {
    const std::string sRecent =
        MakeRecentShortcut(sName + ".lnk", sTarget, dUsed, sWorkingDirectory);
    Clock().SetNow(dUsed.AddSeconds(60));
    m_oCapture.GetShortcuts();
    std::filesystem::remove(sRecent);
    const std::string sCopy = DailyPath() + "/" + dUsed.YearText() + "/" + dUsed.MonthName() + "/" +
                              dUsed.DayText() + "/" + sName + ".lnk";
    return std::filesystem::exists(sCopy) ? sCopy : "";
}

std::string CJournalWorld::PutCopy(const std::string& sName, const std::string& sTarget,
                                   const CDateTime& dUsed, const std::string& sWorkingDirectory) {
    const std::string sCopy = DayFolder(dUsed) + "/" + sName + ".lnk";
    MakeShortcut(sCopy, sTarget, sWorkingDirectory);
    SetModified(sCopy, dUsed);
    return sCopy;
}
